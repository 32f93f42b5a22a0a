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

ItemStream::ItemStream(std::size_t maxItemBytes, std::size_t pieceSize)
    : m_MaxItemBytes(maxItemBytes), m_PieceSize(std::max<std::size_t>(pieceSize, 1)) {}

ItemStream::~ItemStream() {
    if (m_Fd >= 0) {
        ::close(m_Fd);
    }
}

bool ItemStream::Open(const std::string& path) {
    std::int64_t size = 0;
    const int fd = OpenRegularFile(path, size);
    if (fd < 0) {
        return false;
    }
    const bool opened = Open(fd);
    ::close(fd);
    return opened;
}

bool ItemStream::Open(int fd) {
    if (m_Fd >= 0) {
        ::close(m_Fd);
        m_Fd = -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        return false;
    }
    m_Fd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (m_Fd < 0) {
        return false;
    }
    const auto size = static_cast<std::int64_t>(st.st_size);
    // A small file gets a buffer of about its own size, not a whole piece.
    m_PieceSize = std::clamp<std::size_t>(static_cast<std::size_t>(size) + 1, 1, m_PieceSize);
    m_BytesRead = 0;
    return Rewind();
}

bool ItemStream::Rewind() {
    m_Pos = 0;
    m_Filled = 0;
    m_AtEnd = false;
    m_AfterComma = false;
    return m_Fd >= 0 && ::lseek(m_Fd, 0, SEEK_SET) == 0;
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
    for (;;) {
        const ssize_t n = ::read(m_Fd, m_Buffer.data() + m_Filled, m_Buffer.size() - m_Filled);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        m_AtEnd = n == 0;
        m_Filled += static_cast<std::size_t>(n);
        m_BytesRead += static_cast<std::uint64_t>(n);
        return true;
    }
}

ItemStream::Status ItemStream::Next(std::string_view& item) {
    for (;;) {
        if (m_Pos < m_Filled) {
            const std::string_view held(m_Buffer.data(), m_Filled);
            ItemReader::Cut cut;
            if (ItemReader::CutItem(held, m_Pos, !m_AtEnd, cut)) {
                if (cut.end - m_Pos > m_MaxItemBytes) {
                    return Status::TooLong;
                }
                item = cut.item;
                m_Pos = cut.next;
                m_AfterComma = cut.afterComma;
                return Status::Item;
            }
            // Its end is not in the buffer yet; a CR held back for a LF may be one byte over.
            if (m_Filled - m_Pos > m_MaxItemBytes + 1) {
                return Status::TooLong;
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
