#pragma once

#include "tests/support/ScratchDir.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <unistd.h>

// Fixture files and scratch folders for the knowledge base tests.
namespace kbtest {

inline std::string Fixture(const std::string& name) {
    return std::string(CORVANE_TEST_DATA) + "/kb/" + name;
}

inline std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void Spit(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// File bytes written readably: every "¸" becomes the separator byte 0xB8.
inline std::string B(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i).starts_with("\u00B8")) {
            bytes += '\xB8';
            ++i;
        } else {
            bytes += text[i];
        }
    }
    return bytes;
}

using testsupport::ScratchDir;

} // namespace kbtest
