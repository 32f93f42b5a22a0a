#include "kb/ItemReader.h"

namespace kb {

namespace {
bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}
} // namespace

// Steps past the delimiter at end (a comma or a line end), if any.
std::size_t ItemReader::ConsumeTo(std::size_t end) {
    m_AfterComma = false;
    if (end >= m_Bytes.size()) {
        return m_Bytes.size();
    }
    if (m_Bytes[end] == ',') {
        m_AfterComma = true;
        return end + 1;
    }
    if (m_Bytes[end] == '\r' && end + 1 < m_Bytes.size() && m_Bytes[end + 1] == '\n') {
        return end + 2;
    }
    return end + 1;
}

bool ItemReader::Next(std::string_view& item) {
    const std::size_t size = m_Bytes.size();
    if (m_Pos >= size) {
        if (m_AfterComma) {
            m_AfterComma = false;
            item = {};
            return true;
        }
        return false;
    }
    std::size_t p = m_Pos;
    while (p < size && m_Bytes[p] == ' ') {
        ++p;
    }
    if (p < size && m_Bytes[p] == '"') {
        std::size_t close = p + 1;
        while (close < size && m_Bytes[close] != '"' && !IsLineEnd(m_Bytes[close])) {
            ++close;
        }
        item = m_Bytes.substr(p + 1, close - p - 1);
        std::size_t end = close < size && m_Bytes[close] == '"' ? close + 1 : close;
        while (end < size && m_Bytes[end] != ',' && !IsLineEnd(m_Bytes[end])) {
            ++end;
        }
        m_Pos = ConsumeTo(end);
        return true;
    }
    std::size_t end = p;
    while (end < size && m_Bytes[end] != ',' && !IsLineEnd(m_Bytes[end])) {
        ++end;
    }
    item = m_Bytes.substr(p, end - p);
    m_Pos = ConsumeTo(end);
    return true;
}

} // namespace kb
