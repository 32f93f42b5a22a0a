#include "kb/DataFileItem.h"
#include "kb/DataFileReader.h"
#include "kb/DataFileWriter.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <unistd.h>

using kb::DataFileReader;
using kb::DataFileWriter;
using kb::RecordArray;
using kbtest::Fixture;

namespace {

class DataFileTest : public ::testing::Test {
protected:
    void SetUp() override { kb::g_NumQuestions = 2; }
    void TearDown() override { kb::g_NumQuestions = 0; }

    std::vector<std::int16_t> Levels(const kb::CRecord& record, std::int16_t q) {
        const kb::CResponses* responses = nullptr;
        record.GetResponses(q, responses);
        std::vector<std::int16_t> levels;
        for (std::int16_t slot = 0; slot < 9; ++slot) {
            levels.push_back(responses->GetResponse(slot));
        }
        return levels;
    }

    kbtest::ScratchDir m_Dir;
    DataFileReader m_Reader;
    DataFileWriter m_Writer;
};

TEST_F(DataFileTest, ReadsTheCatExampleWithEveryLineEnd) {
    for (const char* name : {"cat.dat", "cat_lf.dat", "cat_cr.dat"}) {
        SCOPED_TRACE(name);
        RecordArray records;
        m_Reader.Read(Fixture(name), records);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(m_Reader.RecordCount(), 1);
        EXPECT_EQ(m_Reader.SkippedItems(), 0);
        EXPECT_EQ(records[0]->GetName(), "CAT");
        EXPECT_EQ(records[0]->GetDescription(), "nodesc.htm");
        EXPECT_EQ(Levels(*records[0], 0),
                  (std::vector<std::int16_t>{-10, -10, 10, -10, -10, -10, -10, -10, -10}));
        EXPECT_EQ(Levels(*records[0], 1), (std::vector<std::int16_t>{5, -10, 0, 0, 0, 0, 0, 0, 0}));
    }
}

TEST_F(DataFileTest, WritesTheCatExampleByteForByte) {
    auto cat = std::make_shared<kb::CRecord>();
    cat->SetName("CAT");
    kb::CResponses* r = nullptr;
    cat->GetResponses(0, r);
    for (std::int16_t slot = 0; slot < 9; ++slot) {
        r->SetResponse(slot, slot == 2 ? 10 : -10);
    }
    cat->GetResponses(1, r);
    r->SetResponse(0, 5);
    r->SetResponse(1, -10);
    const auto path = m_Dir.File("cat.dat");
    ASSERT_TRUE(m_Writer.Save({cat}, path));
    EXPECT_EQ(kbtest::Slurp(path), kbtest::Slurp(Fixture("cat.dat")));
}

TEST_F(DataFileTest, ReadThenWriteGivesTheSameBytes) {
    for (const auto& [name, questions] : std::vector<std::pair<std::string, std::int16_t>>{
             {"cat.dat", 2}, {"two_records.dat", 3}}) {
        SCOPED_TRACE(name);
        kb::g_NumQuestions = questions;
        RecordArray records;
        m_Reader.Read(Fixture(name), records);
        const auto path = m_Dir.File("out.dat");
        ASSERT_TRUE(m_Writer.Save(records, path));
        EXPECT_EQ(kbtest::Slurp(path), kbtest::Slurp(Fixture(name)));
    }
}

} // namespace

namespace {

TEST_F(DataFileTest, LfAndCrFilesAreWrittenBackWithCrLf) {
    for (const char* name : {"cat_lf.dat", "cat_cr.dat"}) {
        RecordArray records;
        m_Reader.Read(Fixture(name), records);
        const auto path = m_Dir.File("out.dat");
        ASSERT_TRUE(m_Writer.Save(records, path));
        EXPECT_EQ(kbtest::Slurp(path), kbtest::Slurp(Fixture("cat.dat"))) << name;
    }
}

TEST_F(DataFileTest, HighBytesInNamesAndPagesDecode) {
    kb::g_NumQuestions = 3;
    RecordArray records;
    m_Reader.Read(Fixture("two_records.dat"), records);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0]->GetName(), "CAFÉ¸NOIR €");
    EXPECT_EQ(records[0]->GetDescription(), "C:\\pages\\café\u009D¸.htm");
    EXPECT_EQ(Levels(*records[0], 1),
              (std::vector<std::int16_t>{-5, 5, 0, 10, -10, 0, 0, 0, 32767}));
    EXPECT_EQ(Levels(*records[0], 2)[8], -32768);
    EXPECT_EQ(records[1]->GetName(), "DOG");
}

TEST_F(DataFileTest, MalformedItemsArePassedOverAndCounted) {
    RecordArray records;
    m_Reader.Read(Fixture("malformed.dat"), records);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(m_Reader.RecordCount(), 2);
    // "some other line" belongs to no record; TWO's question 2 has two values too many.
    EXPECT_EQ(m_Reader.SkippedItems(), 14);

    EXPECT_EQ(records[0]->GetName(), "ONE");
    EXPECT_EQ(records[0]->GetDescription(), "one.htm");
    EXPECT_EQ(Levels(*records[0], 0), (std::vector<std::int16_t>{5, -5, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Levels(*records[0], 1), std::vector<std::int16_t>(9, 0));

    // The lines after the broken header do not touch record ONE.
    EXPECT_EQ(records[1]->GetName(), "TWO");
    EXPECT_EQ(records[1]->GetDescription(), "two.htm");
    EXPECT_EQ(Levels(*records[1], 0),
              (std::vector<std::int16_t>{-10, 10, 10, 10, 10, 10, 10, 10, 10}));
    EXPECT_EQ(Levels(*records[1], 1), (std::vector<std::int16_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

// Text the reader reads past but a save would not write again is counted, so the programs
// warn before it is lost; what the reader accepts (lines in any order, a line for a
// question twice, the later one kept) is still read as before. Blanks hold nothing.
TEST_F(DataFileTest, DroppedTextIsCounted) {
    const std::string q1 = kbtest::B("Question 1=5¸0¸0¸0¸0¸0¸0¸0¸0¸");
    const std::string q1b = kbtest::B("Question 1=7¸0¸0¸0¸0¸0¸0¸0¸0¸");
    const std::string page = "RecordDescription=a.htm";
    struct Case {
        const char* what;
        std::string bytes;
        long skipped;
        std::string name;
        std::int16_t first;
        std::string page;
    };
    const Case cases[] = {
        {"blanks after the name and the levels", "[CAT]   \r\n" + q1 + "  \r\n" + page, 0, "CAT", 5,
         "a.htm"},
        {"text after the name", "[CAT] and more\r\n" + q1 + "\r\n" + page, 1, "CAT", 5, "a.htm"},
        {"text before the name", "x[CAT]\r\n" + q1 + "\r\n" + page, 1, "CAT", 5, "a.htm"},
        {"a tenth level", "[CAT]\r\n" + q1 + "10\xB8\r\n" + page, 1, "CAT", 5, "a.htm"},
        {"text before the question key", "[CAT]\r\nx" + q1 + "\r\n" + page, 1, "CAT", 5, "a.htm"},
        {"two lines for one question", "[CAT]\r\n" + q1 + "\r\n" + q1b + "\r\n" + page, 1, "CAT", 7,
         "a.htm"},
        {"two descriptions", "[CAT]\r\n" + q1 + "\r\n" + page + "\r\nRecordDescription=b.htm", 1,
         "CAT", 5, "b.htm"},
        {"text before the description key", "[CAT]\r\n" + q1 + "\r\nsee " + page, 1, "CAT", 5,
         "a.htm"},
        {"a level with a fraction", "[CAT]\r\n" + kbtest::B("Question 1=5.5¸0¸0¸0¸0¸0¸0¸0¸0¸"), 1,
         "CAT", 6, "nodesc.htm"},
        {"a level with zeros after the point",
         "[CAT]\r\n" + kbtest::B("Question 1= 5.00 ¸0¸0¸0¸0¸0¸0¸0¸0¸"), 0, "CAT", 5, "nodesc.htm"},
        {"quoted items", "\"[CAT]\"\r\n\"" + page + "\"  ", 0, "CAT", 0, "a.htm"},
        {"text after a quoted name", "\"[CAT]\"EXTRA\r\n" + page, 1, "CAT", 0, "a.htm"},
        {"text after a quoted page", "[CAT]\r\n\"" + page + "\"MORE", 1, "CAT", 0, "a.htm"},
        {"text after a quoted empty item", "[CAT]\r\n\"\"x", 1, "CAT", 0, "nodesc.htm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto path = m_Dir.File("dropped.dat");
        kbtest::Spit(path, c.bytes);
        RecordArray records;
        m_Reader.Read(path, records);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(m_Reader.SkippedItems(), c.skipped);
        EXPECT_EQ(records[0]->GetName(), c.name);
        EXPECT_EQ(Levels(*records[0], 0)[0], c.first);
        EXPECT_EQ(records[0]->GetDescription(), c.page);
    }

    // One question line for each of two records is no repeat.
    const auto path = m_Dir.File("two.dat");
    kbtest::Spit(path, "[A]\r\n" + q1 + "\r\n[B]\r\n" + q1b + "\r\n");
    RecordArray records;
    m_Reader.Read(path, records);
    EXPECT_EQ(m_Reader.SkippedItems(), 0);
}

// The one rule both the reader and the editor's modifier follow: the first test that
// matches decides, the header test first and half a header last.
TEST(DataFileItemTest, TheFirstTestThatMatchesDecides) {
    using Kind = kb::DataFileItem::Kind;
    const std::pair<std::string, Kind> cases[] = {
        {"[CAT]", Kind::Header},
        {"RecordDescription=[x]", Kind::Header},
        {"Question 1=[x]", Kind::Header},
        {"]CAT[", Kind::BrokenHeader},
        {"RecordDescription=pg[2.htm", Kind::Description},
        {"RecordDescription=b]", Kind::Description},
        {"Question 1=RecordDescription=x", Kind::Description},
        {"Question 1=1]", Kind::Question},
        {"x Question 1=1", Kind::Question},
        {"Question x=1", Kind::Question},
        {"[CAT", Kind::HalfHeader},
        {"CAT]", Kind::HalfHeader},
        {"Question1=1", Kind::Other},
        {"", Kind::Other},
    };
    for (const auto& [item, kind] : cases) {
        EXPECT_EQ(kb::ClassifyDataFileItem(item).Type, kind) << item;
    }
    const auto header = kb::ClassifyDataFileItem("[A[B]C]");
    EXPECT_EQ(header.Text, "A[B");
    EXPECT_TRUE(header.DropsText);
    const auto question = kb::ClassifyDataFileItem("Question  12 =1");
    EXPECT_TRUE(question.HasNumber);
    EXPECT_EQ(question.Number, 12);
    EXPECT_EQ(question.Text, "1");
    EXPECT_FALSE(question.DropsText);
    EXPECT_FALSE(kb::ClassifyDataFileItem("Question 1 1").HasNumber);
    EXPECT_FALSE(kb::ClassifyDataFileItem("a=Question 1").HasNumber); // "=" before the number
    EXPECT_EQ(kb::ClassifyDataFileItem("a=b RecordDescription=c").Text, "b RecordDescription=c");
}

// One bound for every text: the longest name or page a text box holds reads back; a longer
// one, or any item longer than the longest line the acquisition program writes, is passed
// over unread and counted, and a record cannot take lines that follow an item passed over
// (it may have been a header).
TEST_F(DataFileTest, TextsAndItemsAreBounded) {
    const std::size_t bound = DataFileReader::kMaxTextBytes;
    const std::string q1 = kbtest::B("Question 1=5¸0¸0¸0¸0¸0¸0¸0¸0¸\r\n");
    const std::string q2 = kbtest::B("Question 2=7¸0¸0¸0¸0¸0¸0¸0¸0¸\r\n");
    const auto read = [&](const std::string& bytes, RecordArray& records) {
        kbtest::Spit(m_Dir.File("long.dat"), bytes);
        m_Reader.Read(m_Dir.File("long.dat"), records);
    };

    RecordArray records;
    const std::string name(bound, 'N');
    const std::string page(bound, 'p');
    read("[" + name + "]\r\n" + q1 + "RecordDescription=" + page + "\r\n\r\n", records);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(m_Reader.SkippedItems(), 0);
    EXPECT_EQ(records[0]->GetName(), name);
    EXPECT_EQ(records[0]->GetDescription(), page);

    // A name one byte longer: the header and its lines are passed over, and a page one byte
    // longer is passed over.
    read("[A]\r\n" + q1 + "[" + name + "N]\r\n" + q2 + "[B]\r\n" + q2 +
             "RecordDescription=" + page + "p\r\n",
         records);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(m_Reader.SkippedItems(), 3);
    EXPECT_EQ(records[0]->GetName(), "A");
    EXPECT_EQ(Levels(*records[0], 1)[0], 0) << "the long record's line went to the one before";
    EXPECT_EQ(records[1]->GetName(), "B");
    EXPECT_EQ(records[1]->GetDescription(), "nodesc.htm");
    EXPECT_EQ(Levels(*records[1], 1)[0], 7);

    // A long item of any kind, quoted or not, across any line end or none.
    const std::string junk(3 * bound, '\0');
    for (const std::string& item : {junk, "\"" + junk + ",\"", "[" + junk + "]", "  " + junk}) {
        read("[A]\r\n" + q1 + item + "\r\n" + q2 + "[B]\r\n" + q2, records);
        ASSERT_EQ(records.size(), 2u);
        EXPECT_EQ(m_Reader.SkippedItems(), 2); // the item, and A's line after it
        EXPECT_EQ(Levels(*records[0], 0)[0], 5);
        EXPECT_EQ(Levels(*records[0], 1)[0], 0);
        EXPECT_EQ(records[1]->GetName(), "B");
        EXPECT_EQ(Levels(*records[1], 1)[0], 7);
    }
    read("[A]\r\n" + q1 + junk, records);
    EXPECT_EQ(records.size(), 1u);
    EXPECT_EQ(m_Reader.SkippedItems(), 1);

    // A sparse file: the item runs on over the hole, and what follows it is read.
    const std::string path = m_Dir.File("sparse.dat");
    kbtest::Spit(path, "[A]\r\n" + q1 + "\"quoted");
    const std::string after = ", in the quotes\" and after them\r\n[B]\r\n" + q2;
    {
        std::ofstream out(path, std::ios::binary | std::ios::in | std::ios::out);
        out.seekp(std::streamoff{64} << 20);
        out.write(after.data(), static_cast<std::streamsize>(after.size()));
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::lseek(fd, 3, SEEK_SET), 3);
    m_Reader.Read(fd, records);
    EXPECT_EQ(::lseek(fd, 0, SEEK_CUR), 3);
    ::close(fd);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(m_Reader.SkippedItems(), 1);
    EXPECT_EQ(records[1]->GetName(), "B");
    EXPECT_EQ(Levels(*records[1], 1)[0], 7);
}

// Each program will hand the reader the file it opened: it reads from the file's start and
// leaves the descriptor to the caller.
TEST_F(DataFileTest, ReadsAnOpenFileFromItsStart) {
    const int fd = ::open(Fixture("cat.dat").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::lseek(fd, 7, SEEK_SET), 7);
    RecordArray records;
    m_Reader.Read(fd, records);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]->GetName(), "CAT");
    EXPECT_EQ(m_Reader.SkippedItems(), 0);
    EXPECT_EQ(::lseek(fd, 0, SEEK_CUR), 7);
    EXPECT_EQ(::close(fd), 0) << "the reader closed the caller's file";
}

TEST_F(DataFileTest, EmptyMissingAndHeaderlessFilesGiveNoRecords) {
    kbtest::Spit(m_Dir.File("empty.dat"), "");
    kbtest::Spit(m_Dir.File("junk.dat"), "no header here\r\n\r\nQuestion=,,,\r\n");
    for (const char* name : {"empty.dat", "junk.dat", "missing.dat"}) {
        RecordArray records{std::make_shared<kb::CRecord>()};
        m_Reader.Read(m_Dir.File(name), records);
        EXPECT_TRUE(records.empty()) << name;
        EXPECT_EQ(m_Reader.RecordCount(), 0) << name;
    }
    EXPECT_EQ(m_Reader.SkippedItems(), 0);
}

TEST_F(DataFileTest, WithoutAQuestionSetNothingIsMadeAndNothingThrows) {
    kb::g_NumQuestions = 0;
    RecordArray records;
    m_Reader.Read(Fixture("cat.dat"), records);
    EXPECT_TRUE(records.empty());
    EXPECT_EQ(m_Reader.RecordCount(), 0);
    EXPECT_EQ(m_Reader.SkippedItems(), 4); // the header, two questions, the description
}

TEST_F(DataFileTest, RecordsBeyondTheLimitAreSkippedWithTheirLines) {
    kb::g_NumQuestions = 1;
    std::string bytes;
    for (int i = 0; i < 40000; ++i) {
        bytes += "[R" + std::to_string(i) + "]\r\n" +
                 kbtest::B("Question 1=1¸2¸3¸4¸5¸6¸7¸8¸9¸\r\nRecordDescription=d.htm\r\n\r\n");
    }
    kbtest::Spit(m_Dir.File("many.dat"), bytes);
    RecordArray records;
    m_Reader.Read(m_Dir.File("many.dat"), records);
    ASSERT_EQ(records.size(), 32767u);
    EXPECT_EQ(m_Reader.RecordCount(), 32767);
    EXPECT_EQ(m_Reader.SkippedItems(), (40000 - 32767) * 3);
    EXPECT_EQ(records.back()->GetName(), "R32766");
    EXPECT_EQ(Levels(*records.back(), 0)[8], 9);
}

TEST_F(DataFileTest, WritesEveryBlockWithAllNineLevels) {
    kb::g_NumQuestions = 3;
    RecordArray records{std::make_shared<kb::CRecord>(), std::make_shared<kb::CRecord>()};
    records[0]->SetName("A");
    records[1]->SetName("B");
    records[1]->SetDescription("");
    kb::CResponses* r = nullptr;
    records[1]->GetResponses(2, r);
    r->SetResponse(0, -5);
    r->SetResponse(8, 1000);
    const auto path = m_Dir.File("out.dat");
    ASSERT_TRUE(m_Writer.Save(records, path));
    EXPECT_EQ(kbtest::Slurp(path), kbtest::Slurp(Fixture("three_questions.dat")));
}

// Every failure leaves the file that was there as it was.
TEST_F(DataFileTest, FailedSaveLeavesTheOldFile) {
    const auto path = m_Dir.File("keep.dat");
    const std::string old = kbtest::Slurp(Fixture("cat.dat"));
    kbtest::Spit(path, old);

    auto good = std::make_shared<kb::CRecord>();
    auto unwritable = std::make_shared<kb::CRecord>();
    unwritable->SetName("ΩMEGA");
    auto badPage = std::make_shared<kb::CRecord>();
    badPage->SetDescription("page\xC3");
    kb::g_NumQuestions = 1;
    auto smaller = std::make_shared<kb::CRecord>();
    kb::g_NumQuestions = 2;

    const std::pair<const char*, RecordArray> cases[] = {
        {"no records", {}},
        {"empty slot first", {nullptr}},
        {"empty slot later", {good, nullptr}},
        {"name not in the code page", {good, unwritable}},
        {"page not valid text", {badPage}},
        {"record with fewer questions", {good, smaller}},
    };
    for (const auto& [what, records] : cases) {
        EXPECT_FALSE(m_Writer.Save(records, path)) << what;
        EXPECT_EQ(kbtest::Slurp(path), old) << what;
    }
    EXPECT_FALSE(m_Writer.Save({good}, m_Dir.File("no/folder/x.dat")));
}

// A question number of five digits beyond 16 bits names no question of the set: its line
// is passed over and counted, never taken for the question its low 16 bits would name
// (65537 for 1), whose answers a save would then write back as its own.
TEST_F(DataFileTest, AQuestionNumberBeyondSixteenBitsIsPassedOver) {
    const auto path = m_Dir.File("wide.dat");
    for (const char* number : {"65537", "65538", "99999", "131073"}) {
        SCOPED_TRACE(number);
        kbtest::Spit(path, kbtest::B("[A]\r\nQuestion 1=1¸0¸0¸0¸0¸0¸0¸0¸0¸\r\n"
                                     "Question 2=2¸0¸0¸0¸0¸0¸0¸0¸0¸\r\nQuestion ") +
                               number +
                               kbtest::B("=7¸7¸7¸7¸7¸7¸7¸7¸7¸\r\nRecordDescription=a.htm\r\n"));
        RecordArray records;
        m_Reader.Read(path, records);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(Levels(*records[0], 0), (std::vector<std::int16_t>{1, 0, 0, 0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(Levels(*records[0], 1), (std::vector<std::int16_t>{2, 0, 0, 0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(m_Reader.SkippedItems(), 1);
    }
}

} // namespace
