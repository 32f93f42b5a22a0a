#include "kb/Cp1252.h"
#include "kb/DataFileReader.h"
#include "kb/DataFileWriter.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using kb::DataFileCanKeep;
using kb::RecordText;
using kbtest::B;

namespace {

class DataFileKeepTest : public ::testing::Test {
protected:
    void SetUp() override { kb::g_NumQuestions = 1; }
    void TearDown() override { kb::g_NumQuestions = 0; }

    kb::RecordArray Read(const std::string& bytes) {
        // A fresh file each time: emptying one with data in it waits for the disk.
        // append, not "k" + ...: GCC 12 at -O3 warns falsely (-Wrestrict) on the latter.
        m_Path = m_Dir.File(std::string("k").append(std::to_string(++m_Files)) + ".dat");
        kbtest::Spit(m_Path, bytes);
        kb::RecordArray records;
        m_Reader.Read(m_Path, records);
        return records;
    }
    std::vector<std::string> Names(const kb::RecordArray& records) {
        std::vector<std::string> names;
        for (const auto& record : records)
            names.push_back(record->GetName());
        return names;
    }
    std::int16_t FirstLevel(const kb::CRecord& record) {
        const kb::CResponses* responses = nullptr;
        record.GetResponses(0, responses);
        return responses->GetResponse(0);
    }

    kbtest::ScratchDir m_Dir;
    std::string m_Path = m_Dir.File("k.dat");
    int m_Files = 0;
    kb::DataFileReader m_Reader;
};

// One record block as the writer lays it out, from raw bytes, whatever they hold.
std::string Block(const std::string& name, const std::string& page, int level = 0) {
    return "[" + name + "]\r\nQuestion 1=" + std::to_string(level) +
           B("¸0¸0¸0¸0¸0¸0¸0¸0¸\r\nRecordDescription=") + page + "\r\n\r\n";
}

// A name cut in two, the way a name holding a comma once came back, loses its record
// and must not hand its lines to the record before it; both halves are counted.
TEST_F(DataFileKeepTest, HalfHeadersArePassedOverWithTheirLines) {
    const auto records =
        Read(Block("A", "a.htm", 5) + Block("B, C", "bc.htm", -5) + Block("D", "d.htm", 10));
    EXPECT_EQ(Names(records), (std::vector<std::string>{"A", "D"}));
    EXPECT_EQ(FirstLevel(*records[0]), 5);
    EXPECT_EQ(records[0]->GetDescription(), "a.htm");
    EXPECT_EQ(m_Reader.SkippedItems(), 4); // "[B", "C]", its question and its page

    for (const char* half : {"[E", "E]", "x]y"}) {
        SCOPED_TRACE(half);
        const auto two = Read(Block("A", "a.htm", 5) + half + "\r\n" +
                              B("Question 1=9¸9¸9¸9¸9¸9¸9¸9¸9¸\r\nRecordDescription=e\r\n"));
        ASSERT_EQ(Names(two), (std::vector<std::string>{"A"}));
        EXPECT_EQ(FirstLevel(*two[0]), 5);
        EXPECT_EQ(two[0]->GetDescription(), "a.htm");
        EXPECT_EQ(m_Reader.SkippedItems(), 3);
    }
}

// Pages written before kept a lone bracket, and still read as they stand.
TEST_F(DataFileKeepTest, APageWithOneKindOfBracketIsStillAPage) {
    const auto records = Read(Block("A", "http://x/a[1.htm") + Block("B", "b]"));
    ASSERT_EQ(Names(records), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(records[0]->GetDescription(), "http://x/a[1.htm");
    EXPECT_EQ(records[1]->GetDescription(), "b]");
    EXPECT_EQ(m_Reader.SkippedItems(), 0);
}

// Whatever a later save would drop is counted, so the program warns before it.
TEST_F(DataFileKeepTest, TextBelongingToNoRecordIsCounted) {
    Read("notes before\r\n" + Block("A", "a,b.htm") + B("Question 1=1¸2¸3¸4¸5¸6¸7¸8¸9¸,tail\r\n"));
    EXPECT_EQ(m_Reader.RecordCount(), 1);
    // The notes, "b.htm", "tail", and the block's own line for question 1, which the second
    // one replaces.
    EXPECT_EQ(m_Reader.SkippedItems(), 4);

    Read(Block("A", "a.htm") + "   \r\n,\r\n   ,  \r\n");
    EXPECT_EQ(m_Reader.SkippedItems(), 0); // blanks and empty items hold nothing
}

// A file that held anything but gave no record was not read whole, even when nothing in
// it was malformed; an empty or missing file was.
TEST_F(DataFileKeepTest, ANonEmptyFileWithoutRecordsIsNotReadWhole) {
    const std::pair<const char*, long> cases[] = {
        {"just a note\r\n", 1}, {"\r\n\r\n", 1}, {" , ,", 1}, {"", 0}};
    for (const auto& [bytes, skipped] : cases) {
        EXPECT_TRUE(Read(bytes).empty());
        EXPECT_EQ(m_Reader.SkippedItems(), skipped) << '"' << bytes << '"';
    }
    kb::RecordArray records;
    m_Reader.Read(m_Dir.File("missing.dat"), records);
    EXPECT_EQ(m_Reader.SkippedItems(), 0);
    // Something is there but it cannot be read as a file.
    std::filesystem::create_directory(m_Dir.File("folder.dat"));
    m_Reader.Read(m_Dir.File("folder.dat"), records);
    EXPECT_EQ(m_Reader.SkippedItems(), 1);
}

// The rule is the reader's own: for every byte value, at the start, in the middle and at
// the end of a name or a page, the text is said to be kept exactly when a file holding it
// reads back as that same text of that same record, with the record after it whole.
TEST_F(DataFileKeepTest, KeptExactlyWhenItReadsBackForEveryByte) {
    std::vector<std::string> texts;
    for (int b = 0; b < 256; ++b) {
        const std::string c(1, static_cast<char>(b));
        for (const std::string& text : {c, "A" + c + "Z", "A" + c, c + "Z"})
            texts.push_back(text);
    }
    for (const char* pair : {"A[Z]", "A]Z[", "[]", "][", "[[", "]]", "\"A\"", "  A  "})
        texts.emplace_back(pair);

    kb::RecordArray allKept;
    std::string allBytes;
    for (const RecordText kind : {RecordText::Name, RecordText::Page}) {
        for (const std::string& bytes : texts) {
            const std::string text = kb::Cp1252ToUtf8(bytes);
            const bool isName = kind == RecordText::Name;
            const std::string file = isName ? Block(bytes, "p.htm", 5) + Block("NEXT", "n.htm", 7)
                                            : Block("R", bytes, 5) + Block("NEXT", "n.htm", 7);
            const auto records = Read(file);
            const bool readsBack =
                m_Reader.SkippedItems() == 0 &&
                Names(records) ==
                    std::vector<std::string>{isName ? text : std::string("R"), "NEXT"} &&
                records[0]->GetDescription() == (isName ? "p.htm" : text) &&
                FirstLevel(*records[0]) == 5 && FirstLevel(*records[1]) == 7 &&
                records[1]->GetDescription() == "n.htm";
            const bool canKeep = DataFileCanKeep(kind, text);
            EXPECT_EQ(canKeep, readsBack)
                << (isName ? "name" : "page") << " with bytes " << ::testing::PrintToString(bytes);
            if (canKeep && readsBack) {
                allKept.insert(allKept.end(), records.begin(), records.end());
                allBytes += file;
            }
        }
    }
    // What is kept, the writer writes in just those bytes.
    ASSERT_TRUE(kb::DataFileWriter().Save(allKept, m_Dir.File("w.dat")));
    EXPECT_EQ(kbtest::Slurp(m_Dir.File("w.dat")), allBytes);
    EXPECT_GT(allKept.size(),
              2 * 1900u); // the rule refuses only the few marks the reader splits on
    EXPECT_FALSE(DataFileCanKeep(RecordText::Name, "\u03A9MEGA")); // not in the code page
    EXPECT_FALSE(DataFileCanKeep(RecordText::Page, "bad\xC3"));    // not valid text
}

// The writer refuses a record whose text would read back as something else, before the
// file is touched, and leaves no temporary file.
TEST_F(DataFileKeepTest, WriterRefusesTextTheFileCannotKeep) {
    const std::string old = Block("OLD", "old.htm");
    kbtest::Spit(m_Path, old);
    for (const auto& [name, page] : std::vector<std::pair<std::string, std::string>>{
             {"B, C", "b.htm"}, {"B]", "b.htm"}, {"B", "a,b"}, {"B", "[x]"}, {"B\nC", "b"}}) {
        auto good = std::make_shared<kb::CRecord>();
        auto bad = std::make_shared<kb::CRecord>();
        bad->SetName(name);
        bad->SetDescription(page);
        EXPECT_FALSE(kb::DataFileWriter().Save({good, bad}, m_Path)) << name << " / " << page;
        EXPECT_EQ(kbtest::Slurp(m_Path), old);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_Dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

} // namespace
