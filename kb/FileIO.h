#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kb {

// The path a symbolic link chain from path ends at: path itself when it is no link,
// whether or not it exists; "" for a chain that loops or cannot be read. dangling is set
// when path is a link whose chain ends at nothing.
std::string FollowLinks(const std::string& path, bool& dangling);

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
// The same from an open regular file, from its start; the caller keeps and closes fd.
bool ReadFileByLines(int fd, const std::function<void(std::string_view)>& consume,
                     std::size_t pieceSize = std::size_t{4} << 20);

// Replaces the file at path with bytes, or leaves it as it was. The bytes go to a
// temporary file in the same folder, which is renamed over the target only once it was
// written and flushed completely; an existing target keeps its permissions.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

} // namespace kb
