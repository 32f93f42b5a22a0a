#pragma once

#include "kb/FileIO.h"

#include <filesystem>
#include <string>
#include <unistd.h>

// Fixture files and a scratch folder for the editor's file tests.
namespace editortest {

inline std::string Fixture(const std::string& name) {
    std::string bytes;
    kb::ReadWholeFile(std::string(CORVANE_TEST_DATA) + "/core/" + name, bytes);
    return bytes;
}

inline std::string Slurp(const std::string& path) {
    std::string bytes;
    kb::ReadWholeFile(path, bytes);
    return bytes;
}

class ScratchDir {
public:
    ScratchDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "corvane-editor-XXXXXX").string();
        m_Path = ::mkdtemp(pattern.data());
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_Path, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string File(const std::string& name) const { return (m_Path / name).string(); }

private:
    std::filesystem::path m_Path;
};

} // namespace editortest
