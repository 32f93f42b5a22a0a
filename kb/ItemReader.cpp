#include "kb/ItemReader.h"

#include <bit>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kb {

namespace {

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

bool EndsItem(char c) {
    return c == ',' || IsLineEnd(c);
}

// Marks (top bit of each byte) the bytes of word equal to c; the lowest mark is exact.
std::uint64_t BytesEqual(std::uint64_t word, char c) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
    const std::uint64_t v = word ^ (kOnes * static_cast<unsigned char>(c));
    return (v - kOnes) & ~v & kHighs;
}

// The position of the first comma or line end at or after p, or size. Large data files
// hold millions of items, so this looks at eight bytes at a time.
std::size_t FindItemEnd(std::string_view bytes, std::size_t p) {
    const std::size_t size = bytes.size();
#if defined(__SSE2__)
    // Sixteen at a time where the processor has it (every x86-64 does).
    const __m128i comma = _mm_set1_epi8(',');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (p + 16 <= size) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + p));
        const __m128i hits = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(v, comma), _mm_cmpeq_epi8(v, cr)), _mm_cmpeq_epi8(v, lf));
        const auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
        if (mask != 0) {
            return p + static_cast<std::size_t>(std::countr_zero(mask));
        }
        p += 16;
    }
#endif
    if constexpr (std::endian::native == std::endian::little) {
        while (p + 8 <= size) {
            std::uint64_t word = 0;
            std::memcpy(&word, bytes.data() + p, 8);
            const std::uint64_t marks =
                BytesEqual(word, ',') | BytesEqual(word, '\r') | BytesEqual(word, '\n');
            if (marks != 0) {
                return p + static_cast<std::size_t>(std::countr_zero(marks)) / 8;
            }
            p += 8;
        }
    }
    while (p < size && !EndsItem(bytes[p])) {
        ++p;
    }
    return p;
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
    const std::size_t end = FindItemEnd(m_Bytes, p);
    item = m_Bytes.substr(p, end - p);
    m_Pos = ConsumeTo(end);
    return true;
}

} // namespace kb
