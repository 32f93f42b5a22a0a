#pragma once

#include "kb/FileDescriptor.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kb {

// The path a symbolic link chain from path ends at: path itself when it is no link,
// whether or not it exists; "" for a chain that loops or cannot be read. dangling is set
// when path is a link whose chain ends at nothing.
std::string FollowLinks(const std::string& path, bool& dangling);

// Whether anything is at path, a link that names nothing included.
bool PathIsThere(const std::string& path);

// Opens a regular file for reading without ever waiting (a named pipe or a device in its
// place is refused at once, being opened first and checked after) and gives its size; not
// open when it cannot be.
FileDescriptor OpenRegularFile(const std::string& path, std::int64_t& size);

// Reads a whole file into bytes. False when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces the file at path with bytes, or leaves it as it was. The bytes go to a
// temporary file in the same folder, which is renamed over the target only once it was
// written and flushed completely; an existing target keeps its permissions.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

} // namespace kb
