#include "kb/ItemStream.h"

#include "TestFiles.h"
#include "kb/ItemReader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using Status = kb::ItemStream::Status;

std::vector<std::string> WholeItems(std::string_view bytes) {
    kb::ItemReader reader(bytes);
    std::vector<std::string> items;
    std::string_view item;
    while (reader.Next(item)) {
        items.emplace_back(item);
    }
    return items;
}

// The items of a file read as a stream, and how the stream ended.
Status StreamItems(const std::string& path, std::size_t maxItem, std::size_t piece,
                   std::vector<std::string>& items) {
    kb::ItemStream stream(maxItem, piece);
    if (!stream.Open(path)) {
        return Status::Unreadable;
    }
    std::string_view item;
    for (;;) {
        const Status status = stream.Next(item);
        if (status != Status::Item) {
            return status;
        }
        items.emplace_back(item);
    }
}

// Pieces cut anywhere (inside a CR LF, right after a comma, inside quotes) give the items
// of the whole bytes.
TEST(ItemStream, AnyPieceSizeGivesTheItemsOfTheWholeFile) {
    kbtest::ScratchDir dir;
    const std::string path = dir.File("items");
    std::mt19937 gen(20240611);
    const std::string alphabet = "ab \",\r\n\r\n\xB8";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<std::size_t> length(0, 60);
    for (int round = 0; round < 400; ++round) {
        std::string bytes;
        for (std::size_t i = length(gen); i > 0; --i) {
            bytes += alphabet[pick(gen)];
        }
        kbtest::Spit(path, bytes);
        const auto expected = WholeItems(bytes);
        for (std::size_t piece : {1, 2, 3, 7, 64}) {
            std::vector<std::string> items;
            EXPECT_EQ(StreamItems(path, 1000, piece, items), Status::End);
            EXPECT_EQ(items, expected) << testing::PrintToString(bytes) << " piece " << piece;
        }
    }
}

// The bound counts an item from its start to its comma or line end, whatever the pieces.
TEST(ItemStream, ItemLongerThanTheBoundStopsTheStream) {
    kbtest::ScratchDir dir;
    const std::string path = dir.File("items");
    struct Case {
        std::string bytes;
        Status status;
    };
    const Case cases[] = {
        {"12345678\r\nx", Status::End},  {"123456789\r\nx", Status::TooLong},
        {"    5678,x", Status::End},     {"     6789,x", Status::TooLong},
        {"\"234567\"\r\n", Status::End}, {"\"2345678\"\r\n", Status::TooLong},
        {"\"2\"45678\n", Status::End},   {"\"2\"456789\n", Status::TooLong},
        {"ok\r\n12345678", Status::End}, {"ok\r\n123456789", Status::TooLong},
        {"12345678\r", Status::End},     {"1\r\n\r\n,,12345678\r\n", Status::End},
    };
    for (const Case& c : cases) {
        kbtest::Spit(path, c.bytes);
        for (std::size_t piece : {1, 4, 9, 100}) {
            std::vector<std::string> items;
            EXPECT_EQ(StreamItems(path, 8, piece, items), c.status)
                << testing::PrintToString(c.bytes) << " piece " << piece;
            if (c.status == Status::End) {
                EXPECT_EQ(items, WholeItems(c.bytes));
            }
        }
    }
}

TEST(ItemStream, RewindReadsTheSameItemsAgainAndCountsEveryByte) {
    kbtest::ScratchDir dir;
    const std::string path = dir.File("items");
    const std::string bytes = "one,two\r\nthree\r\n";
    kbtest::Spit(path, bytes);
    kb::ItemStream stream(100, 4);
    ASSERT_TRUE(stream.Open(path));
    std::string_view item;
    std::vector<std::string> first;
    std::vector<std::string> second;
    while (stream.Next(item) == Status::Item) {
        first.emplace_back(item);
    }
    ASSERT_TRUE(stream.Rewind());
    while (stream.Next(item) == Status::Item) {
        second.emplace_back(item);
    }
    EXPECT_EQ(first, WholeItems(bytes));
    EXPECT_EQ(second, first);
    EXPECT_EQ(stream.BytesRead(), 2 * bytes.size());

    kb::ItemStream none(100);
    EXPECT_FALSE(none.Open(dir.File("missing")));
    EXPECT_FALSE(none.Open(dir.Path().string()));
    EXPECT_EQ(none.Next(item), Status::Unreadable);
}

} // namespace
