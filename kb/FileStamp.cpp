#include "kb/FileStamp.h"

#include "kb/Digest.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace kb {

FileStamp FileStamp::OfOpenFile(int fd, std::int64_t digestLimit) {
    FileStamp stamp;
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        return stamp;
    }
    stamp.exists = true;
    stamp.regular = S_ISREG(st.st_mode);
    stamp.device = static_cast<std::uint64_t>(st.st_dev);
    stamp.inode = static_cast<std::uint64_t>(st.st_ino);
    stamp.size = static_cast<std::int64_t>(st.st_size);
    stamp.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 +
                       static_cast<std::int64_t>(st.st_mtim.tv_nsec);
    if (!stamp.regular || stamp.size > digestLimit) {
        return stamp;
    }
    Digest digest;
    std::string buffer(std::size_t{1} << 20, '\0');
    off_t at = 0;
    for (;;) {
        const ssize_t n = ::pread(fd, buffer.data(), buffer.size(), at);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return stamp; // no digest: it can never match another stamp's
        }
        if (n == 0) {
            break;
        }
        digest.Add(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
        at += n;
    }
    // The bytes digested are the file's size now, which may have grown meanwhile.
    stamp.size = static_cast<std::int64_t>(at);
    stamp.digest = digest.Value();
    stamp.digested = true;
    return stamp;
}

FileStamp FileStamp::Of(const std::string& path, std::int64_t digestLimit) {
    if (path.empty()) {
        return {};
    }
    // Opened without blocking, so a pipe in the file's place is never waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        FileStamp stamp;
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0) {
            // There, but not to be read by this user: its place and time still tell.
            stamp.exists = true;
            stamp.regular = S_ISREG(st.st_mode);
            stamp.device = static_cast<std::uint64_t>(st.st_dev);
            stamp.inode = static_cast<std::uint64_t>(st.st_ino);
            stamp.size = static_cast<std::int64_t>(st.st_size);
            stamp.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 +
                               static_cast<std::int64_t>(st.st_mtim.tv_nsec);
        }
        return stamp;
    }
    const FileStamp stamp = OfOpenFile(fd, digestLimit);
    ::close(fd);
    return stamp;
}

bool FileStamp::SameBytes(const FileStamp& other) const {
    if (!exists || !other.exists) {
        return exists == other.exists;
    }
    if (regular != other.regular || size != other.size) {
        return false;
    }
    if (digested && other.digested) {
        return digest == other.digest;
    }
    // Without both digests only the same version is known to hold the same bytes.
    return device == other.device && inode == other.inode && modifiedNs == other.modifiedNs;
}

} // namespace kb
