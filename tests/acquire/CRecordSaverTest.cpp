#include "acquire/CRecordSaver.h"

#include "kb/DataFileWriter.h"
#include "kb/FileIO.h"
#include "kb/KnowledgeBaseLock.h"
#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace {

using acquire::CRecordSaver;
using Outcome = CRecordSaver::Outcome;
using namespace std::chrono_literals;

kb::RecordArray OneRecord(const std::string& name) {
    kb::g_NumQuestions = 2;
    auto record = std::make_shared<kb::CRecord>();
    record->SetName(name);
    kb::g_NumQuestions = 0;
    return {record};
}

std::string Slurp(const std::string& path) {
    std::string bytes;
    kb::ReadWholeFile(path, bytes);
    return bytes;
}

class CRecordSaverTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Set = m_Dir.File("pets.qst");
        m_Data = m_Dir.File("pets.dat");
        ASSERT_TRUE(kb::WriteFileAtomically(m_Set, "a set"));
    }
    CRecordSaver::Ask Answer(bool yes) {
        return [this, yes](const CRecordSaver::Reasons& reasons) {
            m_Asked.push_back(reasons);
            return yes;
        };
    }

    testsupport::ScratchDir m_Dir;
    std::string m_Set;
    std::string m_Data;
    std::vector<CRecordSaver::Reasons> m_Asked;
};

// A save asks before losing what another program saved; having asked, it asks again only
// about what changed after the question, and it writes the records it holds.
TEST_F(CRecordSaverTest, AsksAboutChangesOnDiskOnceEach) {
    CRecordSaver drosk;
    drosk.Loaded(m_Set, true);
    EXPECT_EQ(drosk.Save({}, 0, Answer(true)), Outcome::Nothing) << "no records, no file";
    EXPECT_TRUE(m_Asked.empty());

    ASSERT_TRUE(kb::WriteFileAtomically(m_Data, "another program's records"));
    EXPECT_EQ(drosk.Save(OneRecord("CAT"), 1, Answer(false)), Outcome::Declined);
    ASSERT_EQ(m_Asked.size(), 1u);
    EXPECT_TRUE(m_Asked[0].dataFile);
    EXPECT_FALSE(m_Asked[0].questionSet);
    EXPECT_EQ(Slurp(m_Data), "another program's records");

    // Changed again while the question was open: asked again.
    m_Asked.clear();
    int asked = 0;
    const auto outcome = drosk.Save(OneRecord("CAT"), 1, [&](const CRecordSaver::Reasons&) {
        if (++asked == 1) {
            EXPECT_TRUE(kb::WriteFileAtomically(m_Set, "a set, changed meanwhile"));
        }
        return true;
    });
    EXPECT_EQ(outcome, Outcome::Saved);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(Slurp(m_Data).substr(0, 5), "[CAT]");

    // Its own save is no change: the next save asks nothing.
    EXPECT_EQ(drosk.Save(OneRecord("DOG"), 1, Answer(false)), Outcome::Saved);
    EXPECT_TRUE(m_Asked.empty());
    EXPECT_EQ(drosk.Save({}, 0, Answer(false)), Outcome::Deleted);
    EXPECT_FALSE(std::filesystem::exists(m_Data));
}

// A data file read only in part is not replaced unasked; once the user agreed, or after
// a save, it is whole.
TEST_F(CRecordSaverTest, APartlyReadFileIsReplacedOnlyAfterAsking) {
    ASSERT_TRUE(kb::WriteFileAtomically(m_Data, "[CAT]\r\nnot a line of ours\r\n"));
    CRecordSaver drosk;
    drosk.Loaded(m_Set, false);
    EXPECT_EQ(drosk.Save({}, 0, Answer(false)), Outcome::Declined);
    ASSERT_EQ(m_Asked.size(), 1u);
    EXPECT_TRUE(m_Asked[0].partlyRead);
    EXPECT_TRUE(std::filesystem::exists(m_Data));
    EXPECT_EQ(drosk.Save(OneRecord("CAT"), 1, Answer(true)), Outcome::Saved);
    EXPECT_EQ(drosk.Save(OneRecord("CAT"), 1, Answer(false)), Outcome::Saved);
    EXPECT_EQ(m_Asked.size(), 2u);
}

// While another program saves, Drosk waits; too long, and it writes nothing and says so.
TEST_F(CRecordSaverTest, BusyWhileAnotherProgramSaves) {
    CRecordSaver drosk;
    drosk.Loaded(m_Set, true);
    drosk.SetLockWait(50ms);
    const kb::KnowledgeBaseLock other(m_Set);
    ASSERT_TRUE(other.Held());
    EXPECT_EQ(drosk.Save(OneRecord("CAT"), 1, Answer(true)), Outcome::Busy);
    EXPECT_FALSE(std::filesystem::exists(m_Data));
}

} // namespace
