#include "kb/LineReader.h"

namespace kb {

bool LineReader::Next(std::string_view& line) {
    const std::size_t size = m_Bytes.size();
    if (m_Pos >= size) {
        return false;
    }
    std::size_t end = m_Pos;
    while (end < size && m_Bytes[end] != '\r' && m_Bytes[end] != '\n') {
        ++end;
    }
    line = m_Bytes.substr(m_Pos, end - m_Pos);
    if (end < size && m_Bytes[end] == '\r' && end + 1 < size && m_Bytes[end + 1] == '\n') {
        m_Pos = end + 2;
    } else {
        m_Pos = end + 1;
    }
    return true;
}

} // namespace kb
