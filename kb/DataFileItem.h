#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kb {

// What one item of a data file is. The first test that matches decides, in this order: an
// item holding both "[" and "]" is a header (broken when the "]" comes first); one holding
// "RecordDescription=" a description; one holding "Question " a question line; one holding
// just one of the brackets half a header (a name cut at a comma or a line end); anything
// else is other text. The data file reader and the editor's data-file modifier both ask
// ClassifyDataFileItem, so they cannot disagree about an item.
struct DataFileItem {
    enum class Kind : std::uint8_t {
        Header,
        BrokenHeader,
        Description,
        Question,
        HalfHeader,
        Other
    };

    Kind Type = Kind::Other;
    // A header, description or question line with text of its own that the reader does not
    // take (before its "[" or key, or other than blanks after its "]"): a save by the
    // acquisition program would not write it again.
    bool DropsText = false;
    // Question: HasNumber when a whole number stands between "Question " and the item's
    // first "=", and Number is it.
    bool HasNumber = false;
    std::int16_t Number = 0;
    // Question: where the number's text starts and where the item's first "=" stands
    // (npos when there is none).
    std::size_t NumberAt = 0;
    std::size_t EqualsAt = std::string_view::npos;
    // Header: the name, between the first "[" and the first "]". Description: the page,
    // after the item's first "=". Question with a number: the levels, after that "=".
    std::string_view Text;
};

DataFileItem ClassifyDataFileItem(std::string_view item);

} // namespace kb
