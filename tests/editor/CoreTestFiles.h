#pragma once

#include "kb/FileIO.h"

#include "tests/support/ScratchDir.h"

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

using testsupport::ScratchDir;

} // namespace editortest
