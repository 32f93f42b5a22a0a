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

bool PathIsThere(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

FileDescriptor OpenRegularFile(const std::string& path, std::int64_t& size) {
    // O_NONBLOCK: opening a named pipe would otherwise wait for a writer (a frozen window);
    // the fstat below refuses it. Reading a regular file is not affected.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat st {};
    if (!fd.IsOpen() || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return {};
    }
    size = static_cast<std::int64_t>(st.st_size);
    return fd;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    std::int64_t size = 0;
    const FileDescriptor fd = OpenRegularFile(path, size);
    if (!fd.IsOpen()) {
        return false;
    }
    // Read straight into the string; it grows only if the file grew meanwhile.
    std::size_t got = 0;
    bytes.resize(static_cast<std::size_t>(size) + 1);
    for (;;) {
        if (got == bytes.size()) {
            bytes.resize(bytes.size() * 2);
        }
        const ssize_t n =
            FileDescriptor::ReadSome(fd.Get(), bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            bytes.clear();
            return false;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
    AtomicFileWriter writer(path);
    return writer.Write(bytes) && writer.Commit();
}

} // namespace kb
