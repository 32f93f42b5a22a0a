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

} // namespace

// Large data files hold millions of items, so this looks at eight bytes at a time.
std::size_t ItemReader::FindItemEnd(std::string_view bytes, std::size_t p) {
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

bool ItemReader::CutItem(std::string_view bytes, std::size_t pos, bool more, Cut& cut) {
    const std::size_t size = bytes.size();
    std::size_t p = pos;
    while (p < size && bytes[p] == ' ') {
        ++p;
    }
    std::size_t end = size;
    bool dropped = false;
    if (p < size && bytes[p] == '"') {
        std::size_t close = p + 1;
        while (close < size && bytes[close] != '"' && !IsLineEnd(bytes[close])) {
            ++close;
        }
        cut.item = bytes.substr(p + 1, close - p - 1);
        end = close < size && bytes[close] == '"' ? close + 1 : close;
        const std::size_t after = end;
        end = FindItemEnd(bytes, end);
        dropped = bytes.substr(after, end - after).find_first_not_of(' ') != std::string_view::npos;
    } else {
        end = FindItemEnd(bytes, p);
        cut.item = bytes.substr(p, end - p);
    }
    if (more && (end >= size || (bytes[end] == '\r' && end + 1 == size))) {
        return false;
    }
    cut.end = end;
    cut.dropped = dropped;
    cut.afterComma = end < size && bytes[end] == ',';
    if (end >= size) {
        cut.next = size;
    } else if (bytes[end] == '\r' && end + 1 < size && bytes[end + 1] == '\n') {
        cut.next = end + 2;
    } else {
        cut.next = end + 1;
    }
    return true;
}

bool ItemReader::Next(std::string_view& item) {
    if (m_Pos >= m_Bytes.size()) {
        if (m_AfterComma) {
            m_AfterComma = false;
            m_Dropped = false;
            item = {};
            return true;
        }
        return false;
    }
    Cut cut;
    CutItem(m_Bytes, m_Pos, false, cut);
    item = cut.item;
    m_Pos = cut.next;
    m_AfterComma = cut.afterComma;
    m_Dropped = cut.dropped;
    return true;
}

} // namespace kb
