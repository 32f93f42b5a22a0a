#pragma once

#include <cstdint>
#include <string_view>

namespace kb {

// Converts the text of a number in a question set or data file to a 16-bit whole number:
// blanks around it are ignored, a sign may lead, and a fraction is rounded to the
// nearest whole number, a half to the even neighbour ("2.5" gives 2, "3.5" gives 4).
// False, with value unchanged, for anything that is not such a number (the empty text
// included) or whose rounded value lies outside -32768 to 32767.
bool ToWholeNumber(std::string_view text, std::int16_t& value);
// The same; exact tells whether the number was whole as written (false when a fraction
// other than zeros was rounded away).
bool ToWholeNumber(std::string_view text, std::int16_t& value, bool& exact);

} // namespace kb
