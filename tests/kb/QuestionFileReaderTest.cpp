#include "kb/QuestionFileReader.h"

#include "TestFiles.h"
#include "kb/CRecord.h"

#include <gtest/gtest.h>

using kb::QuestionArray;
using kb::QuestionFileReader;
using kbtest::Fixture;

namespace {

class QuestionFileReaderTest : public ::testing::Test {
protected:
    void SetUp() override { kb::g_NumQuestions = 0; }
    void TearDown() override { kb::g_NumQuestions = 0; }

    // Reads a question set written into a scratch file.
    bool ReadBytes(const std::string& bytes, QuestionArray& questions) {
        const auto path = m_Dir.File("set.qst");
        kbtest::Spit(path, bytes);
        return m_Reader.Read(path, questions);
    }

    kbtest::ScratchDir m_Dir;
    QuestionFileReader m_Reader;
};

void ExpectExampleQuestion(const kb::CQuestion& q) {
    EXPECT_EQ(q.GetKEQ(), "Which colour is the animal?");
    EXPECT_EQ(q.GetUserQ(), "What colour is it?");
    EXPECT_EQ(q.GetKEType(), 0);
    EXPECT_EQ(q.GetUserType(), 0);
    ASSERT_EQ(q.GetNumOptions(), 3);
    EXPECT_EQ(q.GetOption(0), "Black");
    EXPECT_EQ(q.GetOption(1), "White");
    EXPECT_EQ(q.GetOption(2), "Ginger");
    EXPECT_EQ(q.m_Dependencies.GetType(), 1);
    ASSERT_EQ(q.m_Dependencies.GetNumDependencies(), 2);
    std::int16_t dq = 0;
    std::int16_t opt = 0;
    q.m_Dependencies.GetDependency(0, dq, opt);
    EXPECT_EQ(dq, 1);
    EXPECT_EQ(opt, 3);
    q.m_Dependencies.GetDependency(1, dq, opt);
    EXPECT_EQ(dq, 2);
    EXPECT_EQ(opt, 1);
    EXPECT_EQ(q.GetQHelp(), "nohelp.htm");
    EXPECT_EQ(q.GetImportance(), 1.5);
}

TEST_F(QuestionFileReaderTest, ReadsTheExampleBlockWithEveryLineEnd) {
    for (const char* name : {"example.qst", "example_lf.qst", "example_cr.qst"}) {
        SCOPED_TRACE(name);
        kb::g_NumQuestions = 0;
        QuestionArray questions;
        ASSERT_TRUE(m_Reader.Read(Fixture(name), questions));
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_EQ(m_Reader.QuestionCount(), 1);
        EXPECT_EQ(kb::g_NumQuestions, 1);
        ExpectExampleQuestion(*questions[0]);
    }
}

TEST_F(QuestionFileReaderTest, TrailingEmptyLineIsAnItemLeftOver) {
    QuestionArray questions;
    EXPECT_FALSE(m_Reader.Read(Fixture("example_extra_line.qst"), questions));
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(m_Reader.QuestionCount(), 1);
    EXPECT_EQ(kb::g_NumQuestions, 1);
    ExpectExampleQuestion(*questions[0]);
}

TEST_F(QuestionFileReaderTest, HighBytesAndSeparatorDecodeToUtf8) {
    QuestionArray questions;
    ASSERT_TRUE(m_Reader.Read(Fixture("two_questions.qst"), questions));
    ASSERT_EQ(questions.size(), 2u);
    const auto& q = *questions[1];
    EXPECT_EQ(q.GetKEQ(), "Café or thé € 5¸50?");
    EXPECT_EQ(q.GetUserQ(), "Which drink…");
    EXPECT_EQ(q.GetKEType(), 1);
    EXPECT_EQ(q.GetUserType(), 1);
    ASSERT_EQ(q.GetNumOptions(), 3);
    EXPECT_EQ(q.GetOption(1), "Thé¸vert");
    EXPECT_EQ(q.GetOption(2), "\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(q.GetQHelp(), "http://example.org/café.htm");
    EXPECT_EQ(q.GetImportance(), 2.0);
    EXPECT_EQ(q.m_Dependencies.GetType(), 0);
    EXPECT_TRUE(q.m_Dependencies.IsDependentQ(1));
}

} // namespace
