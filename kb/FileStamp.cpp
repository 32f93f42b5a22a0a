#include "kb/FileStamp.h"

#include "kb/Digest.h"
#include "kb/FileDescriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace kb {

namespace {

// Where a file lies, its size and its time: a stamp without its digest.
FileStamp FromStatus(const struct stat& st) {
    FileStamp stamp;
    stamp.exists = true;
    stamp.regular = S_ISREG(st.st_mode);
    stamp.device = static_cast<std::uint64_t>(st.st_dev);
    stamp.inode = static_cast<std::uint64_t>(st.st_ino);
    stamp.size = static_cast<std::int64_t>(st.st_size);
    stamp.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 +
                       static_cast<std::int64_t>(st.st_mtim.tv_nsec);
    return stamp;
}

} // namespace

FileStamp FileStamp::OfOpenFile(int fd, std::int64_t digestLimit) {
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        return {};
    }
    FileStamp stamp = FromStatus(st);
    if (!stamp.regular || stamp.size > digestLimit) {
        return stamp;
    }
    // A sparse file's holes are passed over, not read: a hostile file of gigabytes of
    // nothing is stamped at once. The descriptor's own offset is left as it was.
    Digest digest;
    std::string buffer(std::size_t{1} << 20, '\0');
    const off_t own = ::lseek(fd, 0, SEEK_CUR);
    const auto end = static_cast<off_t>(stamp.size);
    off_t at = 0;
    bool failed = false;
    while (!failed) {
        if (at < end) {
            const off_t data = ::lseek(fd, at, SEEK_DATA);
            const off_t next = data >= 0 ? data : errno == ENXIO ? end : at;
            if (next > at) {
                digest.AddHole(static_cast<std::uint64_t>(next - at));
                at = next;
            }
        }
        off_t hole = at < end ? ::lseek(fd, at, SEEK_HOLE) : -1;
        if (hole <= at) {
            hole = std::numeric_limits<off_t>::max(); // no holes known: read to the end
        }
        // The data up to the next hole; past the end, whatever the file grew by.
        while (at < hole) {
            const auto want = static_cast<std::size_t>(
                std::min<off_t>(static_cast<off_t>(buffer.size()), hole - at));
            const ssize_t n = FileDescriptor::ReadSome(fd, buffer.data(), want, at);
            if (n < 0) {
                failed = true; // no digest: it can never match another stamp's
                break;
            }
            if (n == 0) {
                break;
            }
            digest.Add(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
            at += n;
        }
        if (at < hole || at >= end) {
            break; // the end of the file
        }
    }
    if (own >= 0) {
        ::lseek(fd, own, SEEK_SET);
    }
    if (failed) {
        return stamp;
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
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.IsOpen()) {
        return OfOpenFile(fd.Get(), digestLimit);
    }
    // There, but not to be read by this user: its place and time still tell.
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? FromStatus(st) : FileStamp{};
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
