#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kb {

// One version of a file on disk, to notice that another program changed or replaced it
// since it was read or written: where it lies (device and inode), its size, its
// modification time in nanoseconds and, for a file of up to kDigestLimit bytes, a digest
// of its bytes. An inode number is soon given to the next new file and many file systems
// keep times in coarse steps, so two saves in quick succession can leave the first three
// alike: our writers set the time to the nanosecond, and the digest tells the usual small
// knowledge base apart on any file system. Paths through a symbolic link give the file
// linked to.
struct FileStamp {
    static constexpr std::int64_t kDigestLimit = std::int64_t{16} << 20;

    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::uint64_t digest = 0;

    static FileStamp Of(const std::string& path);
    bool operator==(const FileStamp&) const = default;
};

// Opens a regular file for reading without ever waiting (a named pipe or a device in its
// place is refused at once) and gives its size; -1 when it cannot. The caller closes it.
int OpenRegularFile(const std::string& path, std::int64_t& size);

// Reads a whole file into bytes. False when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Reads a file in pieces that each end at a line end (the last piece may not), handing
// them to consume in order; a large file is never held whole. False when it cannot be
// opened or read.
bool ReadFileByLines(const std::string& path, const std::function<void(std::string_view)>& consume,
                     std::size_t pieceSize = std::size_t{4} << 20);

// Replaces the file at path with bytes, or leaves it as it was. The bytes go to a
// temporary file in the same folder, which is renamed over the target only once it was
// written and flushed completely; an existing target keeps its permissions.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

} // namespace kb
