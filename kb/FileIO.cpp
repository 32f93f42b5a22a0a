#include "kb/FileIO.h"

#include "kb/AtomicFileWriter.h"

#include <algorithm>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kb {

std::string FollowLinks(const std::string& path, bool& dangling) {
    dangling = false;
    std::string at = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(at.c_str(), &st) != 0) {
            dangling = hops > 0 && errno == ENOENT;
            return at;
        }
        if (!S_ISLNK(st.st_mode)) {
            return at;
        }
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 0) + 256, '\0');
        const ssize_t n = ::readlink(at.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<std::size_t>(n) >= target.size()) {
            return {};
        }
        target.resize(static_cast<std::size_t>(n));
        if (!target.starts_with('/')) {
            const auto slash = at.rfind('/');
            target =
                (slash == std::string::npos ? std::string() : at.substr(0, slash + 1)) + target;
        }
        at = std::move(target);
    }
    return {};
}

int OpenRegularFile(const std::string& path, std::int64_t& size) {
    // O_NONBLOCK: opening a named pipe would otherwise wait for a writer (a frozen window);
    // the fstat below refuses it. Reading a regular file is not affected.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    size = static_cast<std::int64_t>(st.st_size);
    return fd;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    std::int64_t size = 0;
    const int fd = OpenRegularFile(path, size);
    if (fd < 0) {
        return false;
    }
    // Read straight into the string; it grows only if the file grew meanwhile.
    std::size_t got = 0;
    bytes.resize(static_cast<std::size_t>(size) + 1);
    for (;;) {
        if (got == bytes.size()) {
            bytes.resize(bytes.size() * 2);
        }
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            ::close(fd);
            bytes.clear();
            return false;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(got);
    return true;
}

// Reads path in pieces that end at a line end, so that items and lines never straddle
// two pieces, and hands each piece to consume. The file's bytes are never all in memory.
bool ReadFileByLines(const std::string& path, const std::function<void(std::string_view)>& consume,
                     std::size_t pieceSize) {
    std::int64_t size = 0;
    const int fd = OpenRegularFile(path, size);
    if (fd < 0) {
        return false;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    return ReadFileByLines(fd, consume, pieceSize);
}

bool ReadFileByLines(int fd, const std::function<void(std::string_view)>& consume,
                     std::size_t pieceSize) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::lseek(fd, 0, SEEK_SET) != 0) {
        return false;
    }
    const auto size = static_cast<std::int64_t>(st.st_size);
    // A small file gets a buffer of its own size, not a whole piece.
    const auto fileSize = static_cast<std::size_t>(size);
    const std::size_t piece =
        std::clamp<std::size_t>(fileSize + 1, 1, std::max<std::size_t>(pieceSize, 1));
    std::string buffer;
    std::size_t held = 0; // bytes of an unfinished line carried over from the last read
    for (;;) {
        if (buffer.size() < held + piece) {
            buffer.resize(held + piece);
        }
        const ssize_t n = ::read(fd, buffer.data() + held, buffer.size() - held);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        const std::size_t size = held + static_cast<std::size_t>(n);
        if (n == 0) {
            if (size > 0) {
                consume(std::string_view(buffer.data(), size));
            }
            return true;
        }
        // Cut after the last complete line end; a CR at the very end may be the first
        // half of a CR LF, so it waits for the next piece.
        // The bytes held over hold no line end but perhaps a last CR, so only the new
        // bytes and that CR are searched: one long line costs no more than many short ones.
        const std::size_t floor = held > 0 ? held - 1 : 0;
        std::size_t cut = buffer[size - 1] == '\r' ? size - 1 : size;
        while (cut > floor && buffer[cut - 1] != '\n' && buffer[cut - 1] != '\r') {
            --cut;
        }
        if (cut == floor) {
            cut = 0;
        }
        if (cut > 0) {
            consume(std::string_view(buffer.data(), cut));
            std::copy(buffer.begin() + static_cast<std::ptrdiff_t>(cut),
                      buffer.begin() + static_cast<std::ptrdiff_t>(size), buffer.begin());
        }
        held = size - cut;
    }
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
    AtomicFileWriter writer(path);
    return writer.Write(bytes) && writer.Commit();
}

} // namespace kb
