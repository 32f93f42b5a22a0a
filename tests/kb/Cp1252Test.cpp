#include "kb/Cp1252.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1252, EveryByteSurvivesDecodeAndEncode) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    std::string back;
    ASSERT_TRUE(kb::Utf8ToCp1252(kb::Cp1252ToUtf8(all), back));
    EXPECT_EQ(back, all);
}

TEST(Cp1252, KnownCharacters) {
    EXPECT_EQ(kb::Cp1252ToUtf8("\xB8"), "¸");
    EXPECT_EQ(kb::Cp1252ToUtf8("\x80"), "€");
    EXPECT_EQ(kb::Cp1252ToUtf8("\x9F"), "Ÿ");
    EXPECT_EQ(kb::Cp1252ToUtf8("\x81\x9D"), "\u0081\u009D");
    EXPECT_EQ(kb::Cp1252ToUtf8("caf\xE9"), "café");
    std::string out;
    ASSERT_TRUE(kb::Utf8ToCp1252("‘quoted’ …", out));
    EXPECT_EQ(out, "\x91quoted\x92 \x85");
    EXPECT_TRUE(kb::IsCp1252Encodable(U'€'));
    EXPECT_FALSE(kb::IsCp1252Encodable(U'Ω'));
    EXPECT_FALSE(kb::IsCp1252Encodable(0x80)); // the byte 0x80 is the euro sign
}

// Text that cannot become Windows-1252 bytes must be refused, never replaced.
TEST(Cp1252, RefusesWhatCannotBeWritten) {
    const char* cases[] = {
        "Ω",                // not in the code page
        "\xF0\x9F\x98\x80", // emoji
        "\xC3",             // cut short
        "\x80",             // stray continuation byte
        "\xC0\xAC",         // overlong comma
        "\xE0\x80\xAC",     // overlong comma
        "\xF0\x80\x80\xAC", // overlong comma
        "\xED\xA0\x80",     // surrogate
        "\xF8\x88\x80\x80\x80",
        "a\xC3(b",
    };
    for (const char* text : cases) {
        std::string out;
        EXPECT_FALSE(kb::Utf8ToCp1252(text, out)) << testing::PrintToString(std::string(text));
    }
}

} // namespace
