#include "kb/Utilities.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

namespace {

TEST(Utilities, TrimSpacesTrimsTheCallersTextAndOnlyBlanks) {
    std::string text = "  a b  ";
    EXPECT_EQ(kb::TrimSpaces(text), "a b");
    EXPECT_EQ(text, "a b");
    std::string tab = "\ta ";
    EXPECT_EQ(kb::TrimSpaces(tab), "\ta");
    std::string blanks = "   ";
    EXPECT_EQ(kb::TrimSpaces(blanks), "");
    std::string empty;
    EXPECT_EQ(kb::TrimSpaces(empty), "");
}

TEST(Utilities, FileExistsOnlyForReadableFiles) {
    kbtest::ScratchDir dir;
    const auto file = dir.File("a.qst");
    kbtest::Spit(file, "x");
    EXPECT_TRUE(kb::FileExists(file));
    EXPECT_FALSE(kb::FileExists(dir.Path().string()));
    EXPECT_FALSE(kb::FileExists(dir.File("missing.qst")));
    EXPECT_FALSE(kb::FileExists(""));
}

TEST(Utilities, StripExtensionCutsAtTheLastPointOfTheWholeText) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\kb\\cats.qst", "C:\\kb\\cats"},
        {"cats", "cats"},
        {"a.b.c", "a.b"},
        {"C:\\my.kb\\cats", "C:\\my"},
        {"name.", "name"},
        {"", ""},
        {"/home/u/kb/cats.qst", "/home/u/kb/cats"},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(kb::StripExtension(in), out) << in;
    }
    EXPECT_EQ(kb::DataFileNameFor("/kb/cats.qst"), "/kb/cats.dat");
    EXPECT_EQ(kb::DataFileNameFor("/kb/cats"), "/kb/cats.dat");
}

} // namespace
