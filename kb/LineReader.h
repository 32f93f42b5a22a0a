#pragma once

#include <cstddef>
#include <string_view>

namespace kb {

// Splits raw file bytes into whole lines (CR LF, LF or CR ends a line; a comma does
// not). A last line without a line end counts when it is not empty.
class LineReader {
public:
    explicit LineReader(std::string_view bytes) : m_Bytes(bytes) {}

    // False at the end of the bytes. The line is a view into the bytes, without its end.
    bool Next(std::string_view& line);

private:
    std::string_view m_Bytes;
    std::size_t m_Pos = 0;
};

} // namespace kb
