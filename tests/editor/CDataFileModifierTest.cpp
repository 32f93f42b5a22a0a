#include "editor/CDataFileModifier.h"

#include "CoreTestFiles.h"
#include "kb/DataFileReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using editor::CDataFileModifier;
using editortest::Fixture;
using editortest::Slurp;

// A record whose line for question k holds the level k in its first slot.
std::string Record(const std::string& name, int questions, const std::string& end = "\r\n") {
    std::string block = "[" + name + "]" + end;
    for (int k = 1; k <= questions; ++k) {
        block += "Question " + std::to_string(k) + "=" + std::to_string(k);
        for (int slot = 0; slot < 9; ++slot) {
            block += slot == 0 ? "\xB8" : "0\xB8";
        }
        block += end;
    }
    return block + "RecordDescription=" + name + ".htm" + end + end;
}

// What the data file reader takes from the file: per record, the first level of each
// question (0 for a neutral or missing line).
std::vector<std::vector<int>> ReadFirstLevels(const std::string& path, int questions) {
    kb::g_NumQuestions = static_cast<std::int16_t>(questions);
    kb::RecordArray recs;
    kb::DataFileReader reader;
    reader.Read(path, recs);
    std::vector<std::vector<int>> levels;
    for (const auto& rec : recs) {
        levels.emplace_back();
        for (std::int16_t q = 0; q < questions; ++q) {
            const kb::CResponses* r = nullptr;
            rec->GetResponses(q, r);
            levels.back().push_back(r->GetResponse(0));
        }
    }
    return levels;
}

class CDataFileModifierTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Path = m_Dir.File("set.dat");
        ASSERT_TRUE(kb::WriteFileAtomically(m_Path, Fixture("three_questions.dat")));
    }
    void TearDown() override { kb::g_NumQuestions = 0; }

    editortest::ScratchDir m_Dir;
    std::string m_Path;
};

TEST_F(CDataFileModifierTest, InsertShiftsEveryRecordAndReadsBackWhole) {
    CDataFileModifier m;
    ASSERT_TRUE(m.Init(m_Path));
    EXPECT_FALSE(m.IsModified());
    m.InsertQuestion(2);
    EXPECT_TRUE(m.IsModified());
    ASSERT_TRUE(m.Save(m_Path));
    EXPECT_EQ(Slurp(m_Path), Fixture("insert2_expected.dat"));
    // Saving again with nothing further changed writes the same text.
    ASSERT_TRUE(m.Save(m_Path));
    EXPECT_EQ(Slurp(m_Path), Fixture("insert2_expected.dat"));

    kb::g_NumQuestions = 4;
    kb::RecordArray recs;
    kb::DataFileReader reader;
    reader.Read(m_Path, recs);
    ASSERT_EQ(reader.RecordCount(), 2);
    // Only what follows the comma of DOG's page, which the fixture holds as it stands.
    EXPECT_EQ(reader.SkippedItems(), 1);
    const kb::CResponses* r = nullptr;
    recs[0]->GetResponses(2, r); // former question 2
    EXPECT_EQ(r->GetResponse(0), 5);
    recs[1]->GetResponses(1, r); // the inserted one
    for (std::int16_t k = 0; k < 9; ++k) {
        EXPECT_EQ(r->GetResponse(k), 0);
    }
}

TEST_F(CDataFileModifierTest, DeleteAndNumbersOutsideTheFile) {
    const std::string original = Slurp(m_Path);
    CDataFileModifier m;
    ASSERT_TRUE(m.Init(m_Path));
    m.InsertQuestion(4);
    m.DeleteQuestion(4);
    m.InsertQuestion(0);
    m.DeleteQuestion(-1);
    ASSERT_TRUE(m.Save(m_Path));
    EXPECT_EQ(Slurp(m_Path), original) << "nothing changed in the file's questions";
    EXPECT_FALSE(m.IsModified());

    m.DeleteQuestion(1);
    ASSERT_TRUE(m.Save(m_Path));
    EXPECT_EQ(Slurp(m_Path), Fixture("delete1_expected.dat"));
}

TEST_F(CDataFileModifierTest, InsertBeforeTheLastQuestion) {
    CDataFileModifier m;
    ASSERT_TRUE(m.Init(m_Path));
    m.InsertQuestion(3);
    ASSERT_TRUE(m.Save(m_Path));
    const std::string bytes = Slurp(m_Path);
    const std::string n = CDataFileModifier::kNeutralResponse;
    EXPECT_NE(bytes.find("Question 3=" + n +
                         "\r\nQuestion 4=10\xB8"
                         "10\xB8-5\xB8"),
              std::string::npos);
    EXPECT_NE(bytes.find("Question 3=" + n +
                         "\r\nQuestion 4=0\xB8"
                         "0\xB8"),
              std::string::npos);
}

// Lines the file should not hold stay as they are, byte for byte: only the line of the
// deleted question goes. "[A, B]" reads as two broken headers, so its block is no record.
TEST_F(CDataFileModifierTest, UntidyFile) {
    const std::string S = "\xB8";
    const std::string lv =
        "1" + S + "2" + S + "3" + S + "4" + S + "5" + S + "6" + S + "7" + S + "8" + S + "9" + S;
    const std::string untidy = "Question 1=stray\nRecordDescription=stray\n" // before any record
                               "[A, B]\nRecordDescription=a.htm, with comma\n"
                               "Question 3=" +
                               lv + "\nQuestion 0=" + lv +
                               "\n"
                               "junk line\nQuestion x=" +
                               lv +
                               "\n\n"
                               "]broken[\nQuestion 5=" +
                               lv +
                               "\n" // block of no record
                               "[C]\rQuestion 1=" +
                               lv + "\r";
    ASSERT_TRUE(kb::WriteFileAtomically(m_Path, untidy + "Question 2=\r")); // no description
    CDataFileModifier m;
    ASSERT_TRUE(m.Init(m_Path));
    m.DeleteQuestion(2);
    ASSERT_TRUE(m.Save(m_Path));
    EXPECT_EQ(Slurp(m_Path), untidy);
}

TEST_F(CDataFileModifierTest, ManyQuestions) {
    std::string file = "[R]\r\n";
    for (int q = 1; q <= 250; ++q) {
        file += "Question " + std::to_string(q) + "=" + std::to_string(q) + "\r\n";
    }
    ASSERT_TRUE(kb::WriteFileAtomically(m_Path, file + "RecordDescription=r\r\n\r\n"));
    CDataFileModifier m;
    ASSERT_TRUE(m.Init(m_Path));
    m.InsertQuestion(240);
    ASSERT_TRUE(m.Save(m_Path));
    const std::string bytes = Slurp(m_Path);
    EXPECT_NE(bytes.find("Question 239=239\r\nQuestion 240=" + CDataFileModifier::kNeutralResponse +
                         "\r\nQuestion 241=240\r\n"),
              std::string::npos);
    EXPECT_NE(bytes.find("Question 251=250\r\nRecordDescription=r\r\n\r\n"), std::string::npos);
}

TEST_F(CDataFileModifierTest, FailuresLoseNothing) {
    CDataFileModifier none;
    EXPECT_FALSE(none.Init(m_Dir.File("missing.dat")));
    none.InsertQuestion(1);
    EXPECT_TRUE(none.IsModified()) << "noted whatever the data file's state";

    // A failed write reports false and leaves the old file; the change keeps waiting. A
    // read-only file is refused for root too.
    const std::string original = Slurp(m_Path);
    CDataFileModifier m;
    ASSERT_TRUE(m.Init(m_Path));
    m.DeleteQuestion(1);
    ::chmod(m_Path.c_str(), 0444);
    EXPECT_FALSE(m.Save(m_Path));
    EXPECT_EQ(m.GetLastProblem(), CDataFileModifier::Problem::Unwritable);
    EXPECT_EQ(m.GetLastError(), EACCES);
    EXPECT_EQ(Slurp(m_Path), original);
    EXPECT_TRUE(m.IsModified());
    ::chmod(m_Path.c_str(), 0644);

    std::filesystem::rename(m_Path, m_Path + ".kept");
    std::filesystem::create_directory(m_Path);
    EXPECT_FALSE(m.Save(m_Path)) << "a folder where the file was";
    EXPECT_EQ(Slurp(m_Path + ".kept"), original);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_Dir.Path()),
                            std::filesystem::directory_iterator()),
              2)
        << "no temporary file left behind";
}

// Records the acquisition program saved while the editor had the file open survive the
// editor's save, and its change of an answer too.
TEST_F(CDataFileModifierTest, RecordsSavedMeanwhileAreKept) {
    ASSERT_TRUE(kb::WriteFileAtomically(m_Path, Record("A", 3) + Record("B", 3)));
    CDataFileModifier m;
    ASSERT_TRUE(m.Init(m_Path));
    m.InsertQuestion(2);
    std::string changed = Record("A", 3) + Record("B", 3) + Record("C", 3);
    changed.replace(changed.find("Question 3=3"), 12, "Question 3=7");
    ASSERT_TRUE(kb::WriteFileAtomically(m_Path, changed));
    ASSERT_TRUE(m.Save(m_Path));
    EXPECT_EQ(ReadFirstLevels(m_Path, 4),
              (std::vector<std::vector<int>>{{1, 0, 2, 7}, {1, 0, 2, 3}, {1, 0, 2, 3}}));
}

// A file gone by the time of the save is not made anew; the change waits and is made once
// the file is back (once only, however often the save was tried).
TEST_F(CDataFileModifierTest, VanishedFileIsNotMadeAnew) {
    const std::string original = Slurp(m_Path);
    CDataFileModifier m;
    ASSERT_TRUE(m.Init(m_Path));
    m.DeleteQuestion(1);
    ASSERT_TRUE(std::filesystem::remove(m_Path));
    EXPECT_FALSE(m.Save(m_Path));
    EXPECT_FALSE(m.Save(m_Path));
    EXPECT_EQ(m.GetLastProblem(), CDataFileModifier::Problem::Unreadable);
    EXPECT_FALSE(std::filesystem::exists(m_Path));
    EXPECT_TRUE(m.IsModified());
    ASSERT_TRUE(kb::WriteFileAtomically(m_Path, original));
    ASSERT_TRUE(m.Save(m_Path));
    EXPECT_EQ(m.GetLastProblem(), CDataFileModifier::Problem::None);
    EXPECT_FALSE(m.IsModified());
    EXPECT_EQ(Slurp(m_Path), Fixture("delete1_expected.dat"));
}

// A stray question line far beyond the set, or below 1, is kept once and not moved; no
// record is padded with lines it did not have.
TEST_F(CDataFileModifierTest, NumbersOutsideTheSetStayAsTheyAre) {
    const std::string stray = "Question 32767=1\xB8\r\nQuestion -4=2\xB8\r\nQuestion 0=3\xB8\r\n";
    std::string file = Record("A", 3) + Record("B", 2);
    file.insert(file.find("RecordDescription=A"), stray);
    ASSERT_TRUE(kb::WriteFileAtomically(m_Path, file));
    CDataFileModifier m;
    ASSERT_TRUE(m.Init(m_Path));
    m.InsertQuestion(1);
    ASSERT_TRUE(m.Save(m_Path));
    const std::string bytes = Slurp(m_Path);
    EXPECT_LT(bytes.size(), file.size() + 100);
    EXPECT_NE(bytes.find("Question 4=3\xB8"), std::string::npos);
    EXPECT_NE(bytes.find(stray), std::string::npos);
    EXPECT_EQ(bytes.find(stray), bytes.rfind(stray));
    EXPECT_EQ(bytes.find("Question 4=", bytes.find("[B]")), std::string::npos) << "no padding";
    EXPECT_EQ(ReadFirstLevels(m_Path, 4),
              (std::vector<std::vector<int>>{{0, 1, 2, 3}, {0, 1, 2, 0}}));

    // A line beyond the set's questions (here 3 of them) is not the set's: it stays put.
    file = Record("A", 3);
    file.insert(file.find("RecordDescription="), "Question 500=5\xB8\r\n");
    ASSERT_TRUE(kb::WriteFileAtomically(m_Path, file));
    ASSERT_TRUE(m.Init(m_Path));
    m.InsertQuestion(2);
    m.DeleteQuestion(4);
    ASSERT_TRUE(m.Save(m_Path));
    EXPECT_NE(Slurp(m_Path).find("Question 500=5\xB8\r\n"), std::string::npos);
    EXPECT_EQ(ReadFirstLevels(m_Path, 3), (std::vector<std::vector<int>>{{1, 0, 2}}));
}

// A question number of five digits beyond 16 bits is no question of the file's: its line
// stays as it is, unmoved, and never counts as the question its low 16 bits would name.
TEST_F(CDataFileModifierTest, NumbersBeyondSixteenBitsStayAsTheyAre) {
    for (const std::string number : {"65537", "65538", "99999"}) {
        SCOPED_TRACE(number);
        const std::string wide = "Question " + number + "=7\xB8\r\n";
        std::string file = Record("A", 2);
        file.insert(file.find("RecordDescription=A"), wide);
        ASSERT_TRUE(kb::WriteFileAtomically(m_Path, file));
        CDataFileModifier m;
        ASSERT_TRUE(m.Init(m_Path));
        m.InsertQuestion(1);
        ASSERT_TRUE(m.Save(m_Path));
        const std::string bytes = Slurp(m_Path);
        EXPECT_NE(bytes.find(wide), std::string::npos) << bytes;
        EXPECT_EQ(ReadFirstLevels(m_Path, 3), (std::vector<std::vector<int>>{{0, 1, 2}}));
    }
}

// An inserted neutral line that follows a record's last line, when that line has no line
// end (the end of the file), starts a line of its own.
TEST_F(CDataFileModifierTest, AnInsertedLineAfterALastLineWithoutItsEndStandsAlone) {
    for (const std::string end : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(::testing::PrintToString(end));
        const auto levels = [](int first) {
            std::string text = std::to_string(first) + "\xB8";
            for (int slot = 1; slot < 9; ++slot) {
                text += "0\xB8";
            }
            return text;
        };
        // B lacks question 2, so its inserted line goes after its one line, the file's last.
        const std::string a =
            "[A]" + end + "Question 1=" + levels(1) + end + "Question 2=" + levels(2) + end;
        ASSERT_TRUE(kb::WriteFileAtomically(m_Path, a + "[B]" + end + "Question 1=" + levels(4)));
        CDataFileModifier m;
        m.InsertQuestion(2);
        ASSERT_TRUE(m.Save(m_Path));
        const std::string bytes = Slurp(m_Path);
        EXPECT_NE(bytes.find("[B]" + end + "Question 1=" + levels(4) + end +
                             "Question 2=" + CDataFileModifier::kNeutralResponse),
                  std::string::npos)
            << ::testing::PrintToString(bytes);
        EXPECT_EQ(ReadFirstLevels(m_Path, 3),
                  (std::vector<std::vector<int>>{{1, 0, 2}, {4, 0, 0}}));
    }
}

// The file goes back as it was written: its line ends, blanks, duplicated lines and lines
// no reader takes, except for the numbers of the lines that move. Inserted lines end as
// the file's lines do.
TEST_F(CDataFileModifierTest, LinesGoBackAsTheyWere) {
    const std::string file = "note before any record\n"
                             "[A]\n"
                             "Question 1=1\xB8\n"
                             "  Question  2 =2\xB8\n"
                             "Question 2=9\xB8\n"
                             "whatever this is\n"
                             "RecordDescription=a.htm\n"
                             "[B\n"
                             "Question 1=4\xB8\n"
                             "[C]\n"
                             "Question 2=6\xB8";
    ASSERT_TRUE(kb::WriteFileAtomically(m_Path, file));
    CDataFileModifier m;
    ASSERT_TRUE(m.Init(m_Path));
    m.InsertQuestion(2);
    ASSERT_TRUE(m.Save(m_Path));
    const std::string n = CDataFileModifier::kNeutralResponse;
    EXPECT_EQ(Slurp(m_Path), "note before any record\n"
                             "[A]\n"
                             "Question 1=1\xB8\n"
                             "Question 2=" +
                                 n +
                                 "\n"
                                 "  Question 3=2\xB8\n"
                                 "Question 3=9\xB8\n"
                                 "whatever this is\n"
                                 "RecordDescription=a.htm\n"
                                 "[B\n" // a broken header: its block is no record's
                                 "Question 1=4\xB8\n"
                                 "[C]\n"
                                 "Question 2=" +
                                 n +
                                 "\n"
                                 "Question 3=6\xB8");
}

// Inserted lines end as the lines of their record do: CR LF, LF or CR, each record its own.
TEST_F(CDataFileModifierTest, InsertedLinesEndAsTheirRecordsLines) {
    const std::string n = CDataFileModifier::kNeutralResponse;
    for (const std::string end : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(::testing::PrintToString(end));
        // B lacks question 2, so its inserted line goes after its question lines.
        ASSERT_TRUE(kb::WriteFileAtomically(m_Path, Record("A", 2, end) + Record("B", 1, end)));
        CDataFileModifier m;
        m.InsertQuestion(2);
        ASSERT_TRUE(m.Save(m_Path));
        const std::string bytes = Slurp(m_Path);
        EXPECT_NE(bytes.find("Question 2=" + n + end + "Question 3=2"), std::string::npos);
        EXPECT_NE(bytes.find("Question 2=" + n + end + "RecordDescription=B"), std::string::npos);
        const std::string other = end == "\r\n" ? "" : end == "\n" ? "\r" : "\n";
        if (!other.empty()) {
            EXPECT_EQ(bytes.find(other), std::string::npos);
        }
    }

    // A record written with LF in a file of CR LF keeps to LF, and the other to CR LF.
    ASSERT_TRUE(kb::WriteFileAtomically(m_Path, Record("A", 2, "\n") + Record("B", 2)));
    CDataFileModifier m;
    m.InsertQuestion(1);
    ASSERT_TRUE(m.Save(m_Path));
    const std::string bytes = Slurp(m_Path);
    EXPECT_NE(bytes.find("[A]\nQuestion 1=" + n + "\nQuestion 2=1"), std::string::npos);
    EXPECT_NE(bytes.find("[B]\r\nQuestion 1=" + n + "\r\nQuestion 2=1"), std::string::npos);
}

// A set of three questions whose data file holds five question lines per record: inserting
// question 2 moves every line from 2 up to the file's highest, so each record's answers stay
// with their questions and no record holds two lines of one number.
TEST_F(CDataFileModifierTest, InsertMovesEveryLineUpToTheFilesHighest) {
    ASSERT_TRUE(kb::WriteFileAtomically(m_Path, Record("A", 5) + Record("B", 5)));
    CDataFileModifier m;
    ASSERT_TRUE(m.Init(m_Path));
    m.InsertQuestion(2);
    ASSERT_TRUE(m.Save(m_Path));
    EXPECT_EQ(ReadFirstLevels(m_Path, 4),
              (std::vector<std::vector<int>>{{1, 0, 2, 3}, {1, 0, 2, 3}}));
    // Read with all six numbers: every line is taken once (a second line of one question
    // would count as passed over).
    kb::g_NumQuestions = 6;
    kb::RecordArray recs;
    kb::DataFileReader reader;
    reader.Read(m_Path, recs);
    EXPECT_EQ(reader.SkippedItems(), 0);
    EXPECT_EQ(ReadFirstLevels(m_Path, 6),
              (std::vector<std::vector<int>>{{1, 0, 2, 3, 4, 5}, {1, 0, 2, 3, 4, 5}}));
}

// A page holding one bracket (which the acquisition program accepts), or a question line
// with one after its levels, is a description or question line to the reader, wherever it
// stands in the record; the modifier takes it so too and renumbers the whole record.
TEST_F(CDataFileModifierTest, ALoneBracketMakesNoHeader) {
    const std::string tenth = "Question 2=2\xB8" + CDataFileModifier::kNeutralResponse.substr(2);
    for (const std::string& line : std::vector<std::string>{"RecordDescription=pg[2.htm",
                                                            "RecordDescription=b]", tenth + "5]"}) {
        SCOPED_TRACE(line);
        std::string a = Record("A", 2);
        a.insert(a.find("Question 1="), line + "\r\n");
        ASSERT_TRUE(kb::WriteFileAtomically(m_Path, a + Record("B", 2)));
        CDataFileModifier m;
        ASSERT_TRUE(m.Init(m_Path));
        EXPECT_EQ(m.GetFirstUnshiftableLine(), 0);
        m.InsertQuestion(1);
        ASSERT_TRUE(m.Save(m_Path));
        EXPECT_EQ(ReadFirstLevels(m_Path, 3),
                  (std::vector<std::vector<int>>{{0, 1, 2}, {0, 1, 2}}));
    }
}

// A line of several items cannot be renumbered safely: it is named on loading, and a save
// that would have to move it is refused whole.
TEST_F(CDataFileModifierTest, LineOfSeveralItems) {
    std::string file = Record("A", 3);
    file.replace(file.find("\r\nQuestion 2="), 2, ",");
    ASSERT_TRUE(kb::WriteFileAtomically(m_Path, file));
    CDataFileModifier m;
    ASSERT_TRUE(m.Init(m_Path));
    EXPECT_EQ(m.GetFirstUnshiftableLine(), 2);
    m.InsertQuestion(3);
    ASSERT_TRUE(m.Save(m_Path)) << "the line need not move";
    EXPECT_EQ(ReadFirstLevels(m_Path, 4), (std::vector<std::vector<int>>{{1, 2, 0, 3}}));

    const std::string before = Slurp(m_Path);
    m.DeleteQuestion(1);
    EXPECT_FALSE(m.Save(m_Path));
    EXPECT_EQ(m.GetLastProblem(), CDataFileModifier::Problem::Unshiftable);
    EXPECT_EQ(m.GetFirstUnshiftableLine(), 2);
    EXPECT_EQ(Slurp(m_Path), before);
    EXPECT_TRUE(m.IsModified());

    // A description holding a comma is no such line.
    ASSERT_TRUE(kb::WriteFileAtomically(m_Path, Fixture("three_questions.dat")));
    ASSERT_TRUE(m.Init(m_Path));
    EXPECT_EQ(m.GetFirstUnshiftableLine(), 0);
}

// A line of any length, one without a line end among them, costs no more memory than a
// short one: it goes back byte for byte, and the records around it are renumbered as the
// reader reads them. An item too long for the reader ends its record here as there.
TEST_F(CDataFileModifierTest, LinesOfAnyLengthGoBackAsTheyWere) {
    std::string items;
    while (items.size() < (std::size_t{3} << 20)) {
        items += "some text,";
    }
    const std::string tooLong(kb::DataFileReader::kMaxItemBytes + 1, 'x');
    const std::string huge(std::size_t{3} << 20, '\0');
    struct Case {
        const char* what;
        std::string file;
        std::vector<std::vector<int>> after; // first levels, question 1 inserted
    };
    const Case cases[] = {
        {"a long line of short items in a record",
         Record("A", 2) + items + "\r\n" + Record("B", 2),
         {{0, 1, 2}, {0, 1, 2}}},
        {"a long line before the first record", items + "\r\n" + Record("A", 2), {{0, 1, 2}}},
        {"a file that ends in a long line without a line end", Record("A", 2) + items, {{0, 1, 2}}},
        {"an item too long, and the record's lines after it",
         Record("A", 1) + tooLong + "\r\n" + Record("B", 2).substr(4),
         {{0, 1, 0}}},
        {"no line end at all after a record", Record("A", 2) + huge, {{0, 1, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(kb::WriteFileAtomically(m_Path, c.file));
        CDataFileModifier m;
        ASSERT_TRUE(m.Init(m_Path));
        m.InsertQuestion(1);
        ASSERT_TRUE(m.Save(m_Path));
        const std::string saved = Slurp(m_Path);
        EXPECT_EQ(ReadFirstLevels(m_Path, 3), c.after);
        // Every byte of the file is still there, in its order, only the question lines of
        // the records around the long line renumbered.
        const std::string longPart = c.file.find(items) != std::string::npos  ? items
                                     : c.file.find(huge) != std::string::npos ? huge
                                                                              : tooLong;
        EXPECT_NE(saved.find(longPart), std::string::npos);
        EXPECT_LT(saved.size() - c.file.size(), 200u);
    }

    // A long line of a record holding a question that would move is refused.
    ASSERT_TRUE(kb::WriteFileAtomically(m_Path, Record("A", 2) + items + "Question 2=5\xB8\r\n"));
    CDataFileModifier m;
    ASSERT_TRUE(m.Init(m_Path));
    EXPECT_EQ(m.GetFirstUnshiftableLine(), 6);
    m.InsertQuestion(1);
    EXPECT_FALSE(m.Save(m_Path));
    EXPECT_EQ(m.GetLastProblem(), CDataFileModifier::Problem::Unshiftable);
    EXPECT_EQ(m.GetFirstUnshiftableLine(), 6);
}

// Any run of insertions and deletions, saved at once or after each step, gives what the
// same changes give to a list of the questions.
TEST_F(CDataFileModifierTest, EditsComposeLikeTheQuestionList) {
    std::mt19937 gen(7);
    for (int run = 0; run < 40; ++run) {
        const int start = 1 + run % 6;
        ASSERT_TRUE(kb::WriteFileAtomically(m_Path, Record("A", start) + Record("B", start)));
        std::vector<int> model; // the first level each question's line holds
        for (int k = 1; k <= start; ++k) {
            model.push_back(k);
        }
        CDataFileModifier m;
        ASSERT_TRUE(m.Init(m_Path));
        const bool saveEachStep = run % 2 == 1;
        for (int step = 0; step < 6; ++step) {
            const int count = static_cast<int>(model.size());
            const int q = std::uniform_int_distribution<int>(1, count)(gen);
            // The editor empties the only question rather than delete it.
            if (count == 1 || gen() % 2 == 0) {
                m.InsertQuestion(static_cast<std::int16_t>(q));
                model.insert(model.begin() + q - 1, 0);
            } else {
                m.DeleteQuestion(static_cast<std::int16_t>(q));
                model.erase(model.begin() + q - 1);
            }
            if (saveEachStep) {
                ASSERT_TRUE(m.Save(m_Path));
            }
        }
        ASSERT_TRUE(m.Save(m_Path));
        const auto levels = ReadFirstLevels(m_Path, static_cast<int>(model.size()));
        ASSERT_EQ(levels.size(), 2u);
        EXPECT_EQ(levels[0], model) << "run " << run;
        EXPECT_EQ(levels[1], model) << "run " << run;
    }
}

// The same on untidy files (stray and duplicated numbers, quoted lines, lines of several
// items, junk, mixed line ends): what the reader takes from the saved file is what the
// changes give to what it took before, unless the save was refused.
TEST_F(CDataFileModifierTest, UntidyFilesReadBackAsTheChangesSay) {
    constexpr int kQuestions = 20;
    const auto read = [this] {
        auto levels = ReadFirstLevels(m_Path, kQuestions);
        kb::g_NumQuestions = 0;
        return levels;
    };
    std::mt19937 gen(5);
    const char* junk[] = {",", "x", " ", "\"", "=", "Question ", "RecordDescription=", "\xB8"};
    const char* ends[] = {"\r\n", "\n", "\r"};
    int checked = 0;
    for (int run = 0; run < 1500; ++run) {
        std::string file;
        const int lines = static_cast<int>(gen() % 30);
        for (int i = 0; i < lines; ++i) {
            const auto kind = gen() % 10;
            if (kind < 2) {
                file += "[R" + std::to_string(i) + "]";
            } else if (kind < 7) {
                file += std::string(gen() % 5 == 0 ? " \"" : "") + "Question " +
                        std::to_string(static_cast<int>(gen() % 8) - 1) + "=" +
                        std::to_string(i + 1) + "\xB8" +
                        CDataFileModifier::kNeutralResponse.substr(2);
                file += gen() % 8 == 0 ? ",Question 2=1\xB8" : "";
            } else if (kind == 7) {
                file += gen() % 3 == 0 ? "RecordDescription=x,y" : "RecordDescription=x";
            } else {
                for (auto k = gen() % 4; k > 0; --k) {
                    file += junk[gen() % 8];
                }
            }
            file += i + 1 < lines || gen() % 2 == 0 ? ends[gen() % 3] : "";
        }
        ASSERT_TRUE(kb::WriteFileAtomically(m_Path, file));
        auto model = read();
        CDataFileModifier m;
        ASSERT_TRUE(m.Init(m_Path));
        bool saved = true;
        for (int step = 0; step < 4; ++step) {
            const int q = 1 + static_cast<int>(gen() % 7);
            const bool insert = gen() % 2 == 0;
            if (insert) {
                m.InsertQuestion(static_cast<std::int16_t>(q));
            } else {
                m.DeleteQuestion(static_cast<std::int16_t>(q));
            }
            for (auto& levels : model) {
                if (insert) {
                    levels.insert(levels.begin() + q - 1, 0);
                    levels.pop_back();
                } else {
                    levels.erase(levels.begin() + q - 1);
                    levels.push_back(0);
                }
            }
            saved = saved && (run % 2 == 0 || m.Save(m_Path));
        }
        if (!saved || !m.Save(m_Path)) {
            EXPECT_EQ(m.GetLastProblem(), CDataFileModifier::Problem::Unshiftable);
            continue;
        }
        ASSERT_EQ(read(), model) << "run " << run;
        ++checked;
    }
    EXPECT_GT(checked, 500);
}

} // namespace

namespace {

// The data file changing while Halvet's save reads it: another program's save lands between
// two pieces. The save reads the file again and keeps what was written meanwhile; a file
// that never holds still is left as the other program wrote it, and the changes wait.
TEST_F(CDataFileModifierTest, AFileChangedWhileItIsReadIsReadAgain) {
    ASSERT_TRUE(kb::WriteFileAtomically(m_Path, Record("A", 3) + Record("B", 3)));
    CDataFileModifier m;
    m.InsertQuestion(2);
    int pieces = 0;
    m.SetPieceHook([&] {
        if (++pieces == 1) {
            ASSERT_TRUE(
                kb::WriteFileAtomically(m_Path, Record("A", 3) + Record("B", 3) + Record("C", 3)));
        }
    });
    ASSERT_TRUE(m.Save(m_Path));
    EXPECT_GT(pieces, 2) << "read again";
    EXPECT_EQ(ReadFirstLevels(m_Path, 4),
              (std::vector<std::vector<int>>{{1, 0, 2, 3}, {1, 0, 2, 3}, {1, 0, 2, 3}}));

    int writes = 0;
    std::string last;
    m.InsertQuestion(1);
    m.SetPieceHook([&] {
        last = Record("A", 4) + Record(std::string("W").append(std::to_string(++writes)), 4);
        ASSERT_TRUE(kb::WriteFileAtomically(m_Path, last));
    });
    EXPECT_FALSE(m.Save(m_Path));
    EXPECT_EQ(m.GetLastProblem(), CDataFileModifier::Problem::Changing);
    EXPECT_EQ(Slurp(m_Path), last) << "what the other program wrote stays";
    EXPECT_TRUE(m.IsModified());
    m.SetPieceHook({});
    ASSERT_TRUE(m.Save(m_Path));
    EXPECT_EQ(ReadFirstLevels(m_Path, 5)[1], (std::vector<int>{0, 1, 2, 3, 4}));
}

} // namespace
