#include "fuzz/FuzzFiles.h"
#include "fuzz/Harnesses.h"

#include "kb/CRecord.h"
#include "kb/DataFileReader.h"
#include "kb/DataFileWriter.h"
#include "kb/QuestionFileReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

namespace {

std::string Bytes(std::string_view s) {
    return std::string(s);
}

class FuzzFilesTest : public ::testing::Test {
protected:
    void TearDown() override { kb::g_NumQuestions = 0; }
};

// The fixed set stands in for a question set in most data file inputs: if it did not read
// whole, those inputs would be fuzzed against a half-read set and the seeds' question
// lines beyond it would all be passed over.
TEST_F(FuzzFilesTest, FixedQuestionSetReadsWholeAndSizesRecords) {
    const std::string path = fuzz::WriteScratchFile("fixed-test.qst", fuzz::FixedQuestionSet());
    kb::QuestionArray questions;
    kb::QuestionFileReader reader;
    ASSERT_TRUE(reader.Read(path, questions));
    EXPECT_EQ(reader.QuestionCount(), fuzz::kFixedQuestions);
    EXPECT_EQ(fuzz::LoadQuestionSet({}), fuzz::kFixedQuestions);

    // A data file written for that many questions reads back with nothing passed over.
    kb::RecordArray records{std::make_shared<kb::CRecord>()};
    records.front()->SetName("CAT");
    const std::string dat = fuzz::ScratchPath("fixed-test.dat");
    ASSERT_TRUE(kb::DataFileWriter().Save(records, dat));
    kb::RecordArray back;
    kb::DataFileReader dataReader;
    dataReader.Read(dat, back);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(dataReader.SkippedItems(), 0);
}

// A question set from the input replaces the fixed one, and one that cannot be read
// leaves no count behind from the input before.
TEST_F(FuzzFilesTest, LoadQuestionSetStartsFromNoCount) {
    const std::string& fixed = fuzz::FixedQuestionSet();
    const std::string oneQuestion = fixed.substr(0, fixed.find("Question 2\r\n"));
    EXPECT_EQ(fuzz::LoadQuestionSet(oneQuestion), 1);
    EXPECT_EQ(fuzz::LoadQuestionSet("only a few items\r\n"), 0);
    EXPECT_EQ(kb::g_NumQuestions, 0);
}

TEST(SplitSetAndData, MarkLineSeparatesSetFromDataFile) {
    // CR LF set, LF mark: the set keeps its own line end, the mark line goes.
    auto parts = fuzz::SplitSetAndData("q1\r\nq2\r\n----data----\n[A]\r\n");
    EXPECT_EQ(Bytes(parts.QuestionSet), "q1\r\nq2\r\n");
    EXPECT_EQ(Bytes(parts.DataFile), "[A]\r\n");

    // Only the first mark splits; a later one is data.
    parts = fuzz::SplitSetAndData("q\n----data----\n----data----\nx");
    EXPECT_EQ(Bytes(parts.QuestionSet), "q\n");
    EXPECT_EQ(Bytes(parts.DataFile), "----data----\nx");

    // No mark (one at the very start has no line before it): all of it is the data file.
    for (const std::string_view input :
         {std::string_view("[A]\r\n"), std::string_view("----data----\n[A]\r\n")}) {
        parts = fuzz::SplitSetAndData(input);
        EXPECT_TRUE(parts.QuestionSet.empty());
        EXPECT_EQ(Bytes(parts.DataFile), Bytes(input));
    }
}

TEST(ScratchFiles, OneFilePerNameRewrittenEachTime) {
    const std::string first = fuzz::WriteScratchFile("same.dat", "long first text");
    const std::string second = fuzz::WriteScratchFile("same.dat", "short");
    EXPECT_EQ(first, second);
    EXPECT_EQ(fuzz::ReadBack(second), "short");
    EXPECT_EQ(std::filesystem::path(first).parent_path(),
              std::filesystem::path(fuzz::ScratchPath("other")).parent_path());
}

// Every harness takes any input, the empty one too, and the names match the folders
// under tests/data/fuzz and the programs scripts/fuzz runs.
TEST_F(FuzzFilesTest, EveryHarnessTakesEmptyAndPlainInputs) {
    std::set<std::string_view> names;
    for (const auto& harness : fuzz::AllHarnesses()) {
        names.insert(harness.Name);
        EXPECT_EQ(harness.Entry(nullptr, 0), 0) << harness.Name;
        const std::string plain = "[A]\r\nQuestion 1=1\xB8\r\n";
        EXPECT_EQ(harness.Entry(reinterpret_cast<const std::uint8_t*>(plain.data()), plain.size()),
                  0)
            << harness.Name;
    }
    EXPECT_EQ(names, (std::set<std::string_view>{"question_file", "data_file", "round_trip",
                                                 "modifier", "ini_file"}));
}

// A broken property ends the process with the harness's name and what broke, so that
// libFuzzer keeps the input and the regression runner's test fails.
TEST(FailDeathTest, AbortsNamingHarnessAndFault) {
    EXPECT_DEATH(fuzz::Fail("round_trip", "2 records saved, 1 read back"),
                 "round_trip: 2 records saved, 1 read back");
}

} // namespace
