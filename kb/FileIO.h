#pragma once

#include <string>
#include <string_view>

namespace kb {

// Reads a whole file into bytes. False when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces the file at path with bytes, or leaves it as it was. The bytes go to a
// temporary file in the same folder, which is renamed over the target only once it was
// written and flushed completely; an existing target keeps its permissions.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

} // namespace kb
