#include "kb/WholeNumber.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

// How numbers in both files become 16-bit whole numbers.
TEST(WholeNumber, ConvertsOrRefuses) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"0", 0},
        {"-10", -10},
        {"+5", 5},
        {"  7  ", 7},
        {"007", 7},
        {"32767", 32767},
        {"-32768", -32768},
        {"2.5", 2}, // a half goes to the even neighbour
        {"3.5", 4},
        {"-2.5", -2},
        {"-3.5", -4},
        {"2.51", 3},
        {"2.500001", 3},
        {"2.4999", 2},
        {"0.5", 0},
        {".5", 0},
        {"1.", 1},
        {"32767.4", 32767},
        {"32767.5", std::nullopt},
        {"-32768.5", -32768},
        {"32768", std::nullopt},
        {"-32769", std::nullopt},
        {"99999999999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"-", std::nullopt},
        {".", std::nullopt},
        {"1 2", std::nullopt},
        {"1e2", std::nullopt},
        {"abc", std::nullopt},
        {"5x", std::nullopt},
        {"\t5", std::nullopt},
        {"--5", std::nullopt},
        {"1.2.3", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        std::int16_t value = 1234;
        const bool ok = kb::ToWholeNumber(text, value);
        EXPECT_EQ(ok, expected.has_value()) << '"' << text << '"';
        EXPECT_EQ(value, expected.value_or(1234)) << '"' << text << '"';
    }
}

} // namespace
