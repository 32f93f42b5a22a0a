#include "kb/ItemReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Items(std::string_view bytes) {
    kb::ItemReader reader(bytes);
    std::vector<std::string> items;
    std::string_view item;
    while (reader.Next(item)) {
        items.emplace_back(item);
        if (items.size() > 1000) {
            ADD_FAILURE() << "reader does not end";
            break;
        }
    }
    return items;
}

// The item rules both readers rely on.
struct ItemCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> items;
};

class ItemRules : public ::testing::TestWithParam<ItemCase> {};

TEST_P(ItemRules, SplitsAsTheFilesAreRead) {
    EXPECT_EQ(Items(GetParam().bytes), GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(
    ItemReader, ItemRules,
    ::testing::Values(
        ItemCase{"Empty", "", {}}, ItemCase{"OneLineCrLf", "abc\r\n", {"abc"}},
        ItemCase{"LastLineWithoutEnd", "abc\r\ndef", {"abc", "def"}},
        ItemCase{"LfOnly", "a\nb\n", {"a", "b"}}, ItemCase{"CrOnly", "a\rb\r", {"a", "b"}},
        ItemCase{"EmptyLineIsOneItem", "a\r\n\r\nb\r\n", {"a", "", "b"}},
        ItemCase{"EmptyLinesLfAndCr", "\n\r", {"", ""}},
        ItemCase{"CommaSplits", "a,b\r\n", {"a", "b"}},
        ItemCase{"CommaAtLineEnd", "a,\r\nb", {"a", "", "b"}},
        ItemCase{"CommaAtFileEnd", "a,", {"a", ""}}, ItemCase{"TwoCommas", ",,", {"", "", ""}},
        ItemCase{"LeadingBlanksSkippedTrailingKept", "   a b  \r\n", {"a b  "}},
        ItemCase{"BlankLineIsEmptyItem", "   \r\nx", {"", "x"}},
        ItemCase{"BlanksAfterComma", "a,  b", {"a", "b"}},
        ItemCase{"TabIsNotSkipped", "\ta", {"\ta"}},
        ItemCase{"QuotedHoldsComma", "\"a,b\"\r\nc", {"a,b", "c"}},
        ItemCase{"QuotedAfterBlanks", "  \" x \",y", {" x ", "y"}},
        ItemCase{"TextAfterClosingQuoteDropped", "\"a\"bc,d", {"a", "d"}},
        ItemCase{"UnclosedQuoteEndsAtLineEnd", "\"abc\r\nd", {"abc", "d"}},
        ItemCase{"QuoteInsideItemIsText", "a\"b\"", {"a\"b\""}},
        ItemCase{"SeparatorAndHighBytesAreText", "1\xB8-2\xB8\xE9\r\n", {"1\xB8-2\xB8\xE9"}},
        ItemCase{"LongLineCrossesWordBoundaries",
                 "Question 12=-10\xB8-10\xB8-10\xB8,x\r\n",
                 {"Question 12=-10\xB8-10\xB8-10\xB8", "x"}},
        ItemCase{"NulBytesAreText", std::string("a\0b\nc", 5), {std::string("a\0b", 3), "c"}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
