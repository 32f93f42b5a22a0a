#pragma once

#include <cstdint>
#include <string>

namespace kb {

// One version of a file on disk, to notice that another program changed or replaced it
// since it was read or written: where it lies (device and inode), its size, its
// modification time in nanoseconds and a digest of its bytes. Whether a file changed is a
// question of its bytes (SameBytes): a file touched, or written again with the same bytes,
// has not changed. A stamp taken from an open file describes the very bytes that were read
// through it, whatever happened to the path meanwhile.
struct FileStamp {
    // Digest every byte, whatever the file's size.
    static constexpr std::int64_t kWholeFile = INT64_MAX;

    bool exists = false;
    bool regular = false;
    bool digested = false; // the digest covers every byte of the file
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::uint64_t digest = 0;

    // The file at path, opened without waiting (a named pipe is stamped at once, and has no
    // digest); paths through a symbolic link give the file linked to. A file larger than
    // digestLimit is stamped without a digest.
    static FileStamp Of(const std::string& path, std::int64_t digestLimit = kWholeFile);
    // The file open at fd, read from its start without moving the descriptor's offset.
    static FileStamp OfOpenFile(int fd, std::int64_t digestLimit = kWholeFile);

    // The same bytes: both absent, or both there with the same size and digest.
    bool SameBytes(const FileStamp& other) const;
    // The same version in the same place.
    bool operator==(const FileStamp&) const = default;
};

} // namespace kb
