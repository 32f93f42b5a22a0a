#include "kb/ItemStream.h"

#include "TestFiles.h"
#include "kb/ItemReader.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <random>
#include <string>
#include <unistd.h>
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

// Passed over, an item longer than the bound costs the stream nothing to hold, and the
// items after it come as the whole bytes give them; the tap sees every byte once.
TEST(ItemStream, ItemLongerThanTheBoundIsPassedOverWhenAsked) {
    kbtest::ScratchDir dir;
    const std::string path = dir.File("items");
    std::mt19937 gen(20240612);
    const std::vector<std::string> parts = {
        "a", " ", "\"", ",", "\r", "\n", "\r\n", std::string(23, 'x'), std::string(9, ' ')};
    std::uniform_int_distribution<std::size_t> pick(0, parts.size() - 1);
    constexpr std::size_t kBound = 12;
    for (int round = 0; round < 400; ++round) {
        std::string bytes;
        for (int i = 0; i < 30; ++i) {
            bytes += parts[pick(gen)];
        }
        kbtest::Spit(path, bytes);
        // What a reader of the whole bytes takes: every item, or a mark for one too long.
        std::vector<std::string> expected;
        std::vector<bool> expectedGoesOn;
        for (std::size_t pos = 0; pos < bytes.size();) {
            kb::ItemReader::Cut cut;
            kb::ItemReader::CutItem(bytes, pos, false, cut);
            expected.push_back(cut.end - pos > kBound ? "<skipped>" : std::string(cut.item));
            expectedGoesOn.push_back(cut.afterComma);
            pos = cut.next;
            if (pos == bytes.size() && cut.afterComma) {
                expected.emplace_back();
                expectedGoesOn.push_back(false);
            }
        }
        for (std::size_t piece : {1, 2, 5, 64}) {
            kb::ItemStream stream(kBound, piece, kb::ItemStream::Overlong::Skip);
            std::string tapped;
            stream.SetTap([&tapped](std::string_view raw) { tapped += raw; });
            ASSERT_TRUE(stream.Open(path));
            std::vector<std::string> items;
            std::vector<bool> goesOn;
            std::string_view item;
            Status status = Status::Item;
            while ((status = stream.Next(item)) == Status::Item || status == Status::Skipped) {
                items.push_back(status == Status::Skipped ? "<skipped>" : std::string(item));
                goesOn.push_back(stream.LineGoesOn());
                ASSERT_LT(items.size(), 1000u) << "the stream does not end";
            }
            const std::string trace =
                testing::PrintToString(bytes) + " piece " + std::to_string(piece);
            EXPECT_EQ(status, Status::End) << trace;
            EXPECT_EQ(items, expected) << trace;
            EXPECT_EQ(goesOn, expectedGoesOn) << trace;
            EXPECT_EQ(tapped, bytes) << trace;
        }
    }
}

// Text after a closing quote is left out of the item, and the stream says so.
TEST(ItemStream, SaysWhenTextAfterAClosingQuoteIsLeftOut) {
    kbtest::ScratchDir dir;
    const std::string path = dir.File("items");
    kbtest::Spit(path, "\"[CAT]\"EXTRA,\"a\"  ,\"b\"\r\nplain\"x\",\"open\r\n");
    kb::ItemStream stream(100);
    ASSERT_TRUE(stream.Open(path));
    std::vector<std::pair<std::string, bool>> items;
    std::string_view item;
    while (stream.Next(item) == Status::Item) {
        items.emplace_back(item, stream.DroppedText());
    }
    EXPECT_EQ(
        items,
        (std::vector<std::pair<std::string, bool>>{
            {"[CAT]", true}, {"a", false}, {"b", false}, {"plain\"x\"", false}, {"open", false}}));
}

// A file handed over open is read from its start, and stays open where it was.
TEST(ItemStream, AnOpenFileIsReadFromItsStartAndLeftAsItWas) {
    kbtest::ScratchDir dir;
    const std::string path = dir.File("items");
    kbtest::Spit(path, "one,two\r\n");
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::lseek(fd, 5, SEEK_SET), 5);
    {
        kb::ItemStream stream(100);
        ASSERT_TRUE(stream.Attach(fd));
        std::string_view item;
        ASSERT_EQ(stream.Next(item), Status::Item);
        EXPECT_EQ(item, "one");
    }
    EXPECT_EQ(::lseek(fd, 0, SEEK_CUR), 5) << "the offset is the caller's";
    EXPECT_EQ(::fcntl(fd, F_GETFD), FD_CLOEXEC) << "the caller closes it";
    ::close(fd);
    kb::ItemStream none(100);
    EXPECT_FALSE(none.Attach(-1));
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
