#include "kb/Utilities.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

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

bool FileExists(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::path(path), ec) || ec) {
        return false;
    }
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        return false;
    }
    std::fclose(f);
    return true;
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
