#include "kb/ItemStream.h"

#include "kb/FileIO.h"
#include "kb/ItemReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kb {

ItemStream::ItemStream(std::size_t maxItemBytes, std::size_t pieceSize, Overlong overlong)
    : m_MaxItemBytes(maxItemBytes), m_PieceSize(std::max<std::size_t>(pieceSize, 1)),
      m_Overlong(overlong) {}

ItemStream::~ItemStream() {
    Close();
}

void ItemStream::Close() {
    m_Owned.Reset();
    m_Fd = -1;
}

bool ItemStream::Open(const std::string& path) {
    Close();
    std::int64_t size = 0;
    m_Owned = OpenRegularFile(path, size);
    return m_Owned.IsOpen() && Use(m_Owned.Get(), size);
}

bool ItemStream::Attach(int fd) {
    Close();
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        return false;
    }
    return Use(fd, static_cast<std::int64_t>(st.st_size));
}

bool ItemStream::Use(int fd, std::int64_t size) {
    m_Fd = fd;
    // A small file gets a buffer of about its own size, not a whole piece.
    m_PieceSize = std::clamp<std::size_t>(static_cast<std::size_t>(size) + 1, 1, m_PieceSize);
    m_BytesRead = 0;
    return Rewind();
}

bool ItemStream::Rewind() {
    m_Pos = 0;
    m_Filled = 0;
    m_Offset = 0;
    m_AtEnd = false;
    m_AfterComma = false;
    m_Dropped = false;
    return m_Fd >= 0;
}

// Keeps the unfinished item and reads the next piece after it.
bool ItemStream::Fill() {
    if (m_Fd < 0) {
        return false;
    }
    if (m_Pos > 0) {
        std::memmove(m_Buffer.data(), m_Buffer.data() + m_Pos, m_Filled - m_Pos);
        m_Filled -= m_Pos;
        m_Pos = 0;
    }
    if (m_Buffer.size() < m_Filled + m_PieceSize) {
        m_Buffer.resize(m_Filled + m_PieceSize);
    }
    // Read at the stream's own offset: the offset of a descriptor the caller lent us stays
    // its own.
    const ssize_t n =
        FileDescriptor::ReadSome(m_Fd, m_Buffer.data() + m_Filled, m_Buffer.size() - m_Filled,
                                 static_cast<std::int64_t>(m_Offset));
    if (n < 0) {
        return false;
    }
    m_AtEnd = n == 0;
    m_Filled += static_cast<std::size_t>(n);
    m_Offset += static_cast<std::uint64_t>(n);
    m_BytesRead += static_cast<std::uint64_t>(n);
    return true;
}

void ItemStream::MoveTo(std::size_t pos) {
    if (m_Tap && pos > m_Pos) {
        m_Tap(std::string_view(m_Buffer.data() + m_Pos, pos - m_Pos));
    }
    m_Pos = pos;
}

// A hole in a sparse file reads as NUL bytes, which neither end an item nor its quoted
// part: an item being passed over goes on over the whole hole, so it need not be read.
void ItemStream::SkipHole() {
    const off_t here = static_cast<off_t>(m_Offset);
    const off_t own = ::lseek(m_Fd, 0, SEEK_CUR); // a lent descriptor keeps its offset
    const off_t data = ::lseek(m_Fd, here, SEEK_DATA);
    off_t next = data;
    if (data < 0 && errno == ENXIO) {
        struct stat st {};
        next = ::fstat(m_Fd, &st) == 0 ? st.st_size : here; // a hole to the end
    }
    if (own >= 0) {
        ::lseek(m_Fd, own, SEEK_SET);
    }
    if (next > here) {
        m_Offset = static_cast<std::uint64_t>(next);
    }
}

// Moves past the item that starts at m_Pos by the item rules, looking at each byte once and
// keeping none of them: blanks, then a quoted part up to its closing quote or a line end,
// then the rest up to a comma or a line end.
ItemStream::Status ItemStream::PassOver() {
    enum class Phase { Blanks, Quoted, Rest } phase = Phase::Blanks;
    std::size_t p = m_Pos;
    for (;;) {
        while (p < m_Filled) {
            const char* bytes = m_Buffer.data();
            if (phase == Phase::Blanks) {
                if (bytes[p] == ' ') {
                    ++p;
                    continue;
                }
                phase = bytes[p] == '"' ? Phase::Quoted : Phase::Rest;
                p += phase == Phase::Quoted ? 1 : 0;
                continue;
            }
            if (phase == Phase::Quoted) {
                const std::size_t left = m_Filled - p;
                const void* quote = std::memchr(bytes + p, '"', left);
                const std::size_t upTo =
                    quote == nullptr
                        ? left
                        : static_cast<std::size_t>(static_cast<const char*>(quote) - (bytes + p));
                const void* lf = std::memchr(bytes + p, '\n', upTo);
                const void* cr = std::memchr(bytes + p, '\r', upTo);
                if (lf != nullptr || cr != nullptr) {
                    // A line end before the closing quote ends the item there.
                    const char* first = lf == nullptr   ? static_cast<const char*>(cr)
                                        : cr == nullptr ? static_cast<const char*>(lf)
                                                        : std::min(static_cast<const char*>(lf),
                                                                   static_cast<const char*>(cr));
                    p = static_cast<std::size_t>(first - bytes);
                    phase = Phase::Rest;
                    continue;
                }
                p += upTo;
                if (quote != nullptr) {
                    ++p;
                    phase = Phase::Rest;
                }
                continue;
            }
            p = ItemReader::FindItemEnd(std::string_view(bytes, m_Filled), p);
            if (p == m_Filled) {
                break;
            }
            if (bytes[p] == '\r' && p + 1 == m_Filled && !m_AtEnd) {
                break; // a LF may follow in the next piece
            }
            m_AfterComma = bytes[p] == ',';
            MoveTo(p + (bytes[p] == '\r' && p + 1 < m_Filled && bytes[p + 1] == '\n' ? 2 : 1));
            return Status::Skipped;
        }
        if (m_AtEnd) {
            MoveTo(m_Filled);
            m_AfterComma = false;
            return Status::Skipped;
        }
        // Nothing before p is needed again.
        MoveTo(p);
        if (phase != Phase::Blanks && !m_Tap) {
            SkipHole();
        }
        if (!Fill()) {
            return Status::Unreadable;
        }
        p = m_Pos;
    }
}

ItemStream::Status ItemStream::Next(std::string_view& item) {
    m_Dropped = false;
    for (;;) {
        if (m_Pos < m_Filled) {
            const std::string_view held(m_Buffer.data(), m_Filled);
            ItemReader::Cut cut;
            if (ItemReader::CutItem(held, m_Pos, !m_AtEnd, cut)) {
                if (cut.end - m_Pos > m_MaxItemBytes) {
                    if (m_Overlong == Overlong::Stop) {
                        return Status::TooLong;
                    }
                    MoveTo(cut.next);
                    m_AfterComma = cut.afterComma;
                    return Status::Skipped;
                }
                item = cut.item;
                MoveTo(cut.next);
                m_AfterComma = cut.afterComma;
                m_Dropped = cut.dropped;
                return Status::Item;
            }
            // Its end is not in the buffer yet; a CR held back for a LF may be one byte over.
            if (m_Filled - m_Pos > m_MaxItemBytes + 1) {
                return m_Overlong == Overlong::Stop ? Status::TooLong : PassOver();
            }
        } else if (m_AtEnd) {
            if (m_AfterComma) {
                m_AfterComma = false;
                item = {};
                return Status::Item;
            }
            return Status::End;
        }
        if (!Fill()) {
            return Status::Unreadable;
        }
    }
}

} // namespace kb
