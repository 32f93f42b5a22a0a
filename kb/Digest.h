#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace kb {

// A digest of a stream of bytes that does not depend on how the stream is cut into
// pieces: eight bytes at a time through one multiply, so a large data file is digested at
// about the speed it is read.
class Digest {
public:
    void Add(std::string_view bytes) {
        m_Length += bytes.size();
        while (!bytes.empty()) {
            if (m_Held == 0 && bytes.size() >= 8) {
                std::uint64_t word = 0;
                std::memcpy(&word, bytes.data(), 8);
                Mix(word);
                bytes.remove_prefix(8);
                continue;
            }
            const std::size_t take = std::min<std::size_t>(8 - m_Held, bytes.size());
            std::memcpy(m_Tail + m_Held, bytes.data(), take);
            m_Held += take;
            bytes.remove_prefix(take);
            if (m_Held == 8) {
                std::uint64_t word = 0;
                std::memcpy(&word, m_Tail, 8);
                Mix(word);
                m_Held = 0;
            }
        }
    }
    // A hole of length bytes in a sparse file: it reads as NUL bytes, but is known as a hole
    // without reading it, so it is mixed in as one token.
    void AddHole(std::uint64_t length) {
        m_Length += length;
        Mix(0xA0761D6478BD642FULL ^ length);
    }
    std::uint64_t Value() const {
        std::uint64_t word = 0;
        std::memcpy(&word, m_Tail, m_Held);
        std::uint64_t h = m_Hash ^ word ^ (m_Length * 0xC2B2AE3D27D4EB4FULL);
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDULL;
        h ^= h >> 33;
        return h;
    }

private:
    void Mix(std::uint64_t word) {
        m_Hash = (m_Hash ^ word) * 0x9E3779B97F4A7C15ULL;
        m_Hash ^= m_Hash >> 29;
    }

    std::uint64_t m_Hash = 0x243F6A8885A308D3ULL;
    std::uint64_t m_Length = 0;
    unsigned char m_Tail[8] = {};
    std::size_t m_Held = 0;
};

} // namespace kb
