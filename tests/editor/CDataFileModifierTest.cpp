#include "editor/CDataFileModifier.h"

#include "CoreTestFiles.h"
#include "kb/DataFileReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using editor::CDataFileModifier;
using editortest::Fixture;
using editortest::Slurp;

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
    EXPECT_EQ(m.GetDataFileName(), m_Path);
    EXPECT_FALSE(m.IsModified());
    m.InsertQuestion(2);
    EXPECT_TRUE(m.IsModified());
    ASSERT_TRUE(m.Save());
    EXPECT_EQ(Slurp(m_Path), Fixture("insert2_expected.dat"));
    // Saving again with nothing further changed writes the same text.
    ASSERT_TRUE(m.Save());
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
    EXPECT_FALSE(m.IsModified());
    ASSERT_TRUE(m.Save());
    EXPECT_EQ(Slurp(m_Path), original) << "nothing changed, nothing written";

    m.DeleteQuestion(1);
    ASSERT_TRUE(m.Save());
    EXPECT_EQ(Slurp(m_Path), Fixture("delete1_expected.dat"));
}

TEST_F(CDataFileModifierTest, InsertBeforeTheLastQuestion) {
    CDataFileModifier m;
    ASSERT_TRUE(m.Init(m_Path));
    m.InsertQuestion(3);
    ASSERT_TRUE(m.Save());
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

// Lines the file should not hold: passed over on reading, the rest normalised on writing.
TEST_F(CDataFileModifierTest, UntidyFile) {
    const std::string S = "\xB8";
    const std::string lv =
        "1" + S + "2" + S + "3" + S + "4" + S + "5" + S + "6" + S + "7" + S + "8" + S + "9" + S;
    ASSERT_TRUE(kb::WriteFileAtomically(
        m_Path, "Question 1=stray\nRecordDescription=stray\n"   // before any record
                "[A, B]\nRecordDescription=a.htm, with comma\n" // description first
                "Question 3=" +
                    lv + "\nQuestion 0=" + lv +
                    "\n" // no line for 1 and 2
                    "junk line\nQuestion x=" +
                    lv +
                    "\n\n"
                    "]broken[\nQuestion 5=" +
                    lv +
                    "\n" // block of no record
                    "[C]\rQuestion 1=" +
                    lv + "\rQuestion 2=\r")); // no description
    CDataFileModifier m;
    ASSERT_TRUE(m.Init(m_Path));
    m.DeleteQuestion(2);
    ASSERT_TRUE(m.Save());
    const std::string n = CDataFileModifier::kNeutralResponse;
    EXPECT_EQ(Slurp(m_Path), "[A, B]\r\nQuestion 1=" + n + "\r\nQuestion 2=" + lv +
                                 "\r\nRecordDescription=a.htm, with comma\r\n\r\n"
                                 "[C]\r\nQuestion 1=" +
                                 lv + "\r\nQuestion 2=" + n +
                                 "\r\nRecordDescription=nodesc.htm\r\n\r\n");
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
    ASSERT_TRUE(m.Save());
    const std::string bytes = Slurp(m_Path);
    EXPECT_NE(bytes.find("Question 239=239\r\nQuestion 240=" + CDataFileModifier::kNeutralResponse +
                         "\r\nQuestion 241=240\r\n"),
              std::string::npos);
    EXPECT_NE(bytes.find("Question 251=250\r\nRecordDescription=r\r\n\r\n"), std::string::npos);
}

TEST_F(CDataFileModifierTest, FailuresLoseNothing) {
    CDataFileModifier none;
    EXPECT_FALSE(none.Init(m_Dir.File("missing.dat")));
    EXPECT_EQ(none.GetDataFileName(), "");
    none.InsertQuestion(1);
    EXPECT_FALSE(none.IsModified());
    EXPECT_TRUE(none.Save());

    // A failed write reports false and leaves the old file.
    const std::string original = Slurp(m_Path);
    CDataFileModifier m;
    ASSERT_TRUE(m.Init(m_Path));
    m.DeleteQuestion(1);
    if (::geteuid() != 0) { // root may write a read-only file
        ::chmod(m_Path.c_str(), 0444);
        EXPECT_FALSE(m.Save());
        EXPECT_EQ(Slurp(m_Path), original);
        ::chmod(m_Path.c_str(), 0644);
    }
    std::filesystem::rename(m_Path, m_Path + ".kept");
    std::filesystem::create_directory(m_Path);
    EXPECT_FALSE(m.Save()) << "a folder where the file was";
    EXPECT_EQ(Slurp(m_Path + ".kept"), original);
}

} // namespace
