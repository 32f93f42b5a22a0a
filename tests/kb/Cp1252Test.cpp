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

// The code page's own table for 0x80 to 0x9F, written out here rather than taken from the
// code: a consistent slip in the code (two neighbours swapped) survives every round trip
// and would only show as the wrong character in a text written on Windows.
TEST(Cp1252, HighBytesAreTheCodePagesOwnCharacters) {
    const char32_t table[32] = {
        0x20AC, // 80 euro sign
        0x0081, // 81 undefined, kept as itself
        0x201A, // 82 single low-9 quotation mark
        0x0192, // 83 f with hook
        0x201E, // 84 double low-9 quotation mark
        0x2026, // 85 horizontal ellipsis
        0x2020, // 86 dagger
        0x2021, // 87 double dagger
        0x02C6, // 88 modifier circumflex accent
        0x2030, // 89 per mille sign
        0x0160, // 8A S with caron
        0x2039, // 8B single left-pointing angle quotation mark
        0x0152, // 8C ligature OE
        0x008D, // 8D undefined
        0x017D, // 8E Z with caron
        0x008F, // 8F undefined
        0x0090, // 90 undefined
        0x2018, // 91 left single quotation mark
        0x2019, // 92 right single quotation mark
        0x201C, // 93 left double quotation mark
        0x201D, // 94 right double quotation mark
        0x2022, // 95 bullet
        0x2013, // 96 en dash
        0x2014, // 97 em dash
        0x02DC, // 98 small tilde
        0x2122, // 99 trade mark sign
        0x0161, // 9A s with caron
        0x203A, // 9B single right-pointing angle quotation mark
        0x0153, // 9C ligature oe
        0x009D, // 9D undefined
        0x017E, // 9E z with caron
        0x0178, // 9F Y with diaeresis
    };
    // Latin-1 above, so every byte of the code page is checked against a character.
    for (int b = 0x80; b <= 0xFF; ++b) {
        const char32_t cp = b < 0xA0 ? table[b - 0x80] : static_cast<char32_t>(b);
        std::string utf8;
        if (cp < 0x800) {
            utf8 = {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F))};
        } else {
            utf8 = {static_cast<char>(0xE0 | (cp >> 12)),
                    static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                    static_cast<char>(0x80 | (cp & 0x3F))};
        }
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(kb::Cp1252ToUtf8(byte), utf8) << std::hex << b;
        std::string back;
        EXPECT_TRUE(kb::Utf8ToCp1252(utf8, back) && back == byte) << std::hex << b;
        EXPECT_TRUE(kb::IsCp1252Encodable(cp)) << std::hex << b;
    }
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
