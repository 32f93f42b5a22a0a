#include "kb/Utilities.h"

#include "kb/FileIO.h"

#include <cstdint>
#include <unistd.h>

namespace kb {

std::string TrimSpaces(std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        text.clear();
        return text;
    }
    const auto last = text.find_last_not_of(' ');
    text = text.substr(first, last - first + 1);
    return text;
}

bool AllBlanks(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

bool FileExists(const std::string& path) {
    // Opened first and checked after, without waiting: a check of the path before opening
    // it could be answered by a regular file and the open by a pipe put in its place.
    std::int64_t size = 0;
    return !path.empty() && OpenRegularFile(path, size).IsOpen();
}

std::string StripExtension(const std::string& name) {
    const auto dot = name.rfind('.');
    if (dot == std::string::npos) {
        return name;
    }
    return name.substr(0, dot);
}

std::string DataFileNameFor(const std::string& questionFile) {
    return StripExtension(questionFile) + ".dat";
}

} // namespace kb
