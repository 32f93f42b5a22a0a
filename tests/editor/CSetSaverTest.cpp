#include "editor/CSetSaver.h"

#include "CoreTestFiles.h"
#include "KnowledgeBaseFiles.h"
#include "acquire/CRecordSaver.h"
#include "editor/ArrayManager.h"
#include "kb/AtomicFileWriter.h"
#include "kb/DataFileWriter.h"
#include "kb/KnowledgeBaseLock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using editor::CSetSaver;
using editortest::Answer;
using editortest::Meaning;
using editortest::ReadKnowledgeBase;
using editortest::Slurp;
using namespace std::chrono_literals;

std::string Wording(int tag) {
    return editortest::Tagged('Q', tag);
}

std::vector<std::string> Wordings(const std::vector<int>& tags) {
    std::vector<std::string> wordings;
    for (const int t : tags) {
        wordings.push_back(Wording(t));
    }
    return wordings;
}

// What the files should say: every record answers each question of the set with its own
// levels, and a question inserted after the records were written neutrally.
Meaning Expected(const std::vector<int>& records, const std::vector<int>& set,
                 const std::set<int>& answered) {
    Meaning meaning;
    for (const int r : records) {
        for (const int t : set) {
            meaning[editortest::Tagged('R', r)][Wording(t)] =
                answered.contains(t) ? Answer{t, r} : Answer{};
        }
    }
    return meaning;
}

// Asks are counted, and answered from a script.
struct Asker {
    std::vector<bool> answers;
    std::vector<CSetSaver::Changes> asked;
    CSetSaver::Ask Ask() {
        return [this](const CSetSaver::Changes& c) {
            asked.push_back(c);
            const bool yes = asked.size() <= answers.size() && answers[asked.size() - 1];
            return yes;
        };
    }
};

class CSetSaverTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Set = m_Dir.File("pets.qst");
        m_Data = m_Dir.File("pets.dat");
    }
    void TearDown() override { kb::AtomicFileWriter::SetSyncFunction(nullptr); }

    // A set of three questions saved by a Halvet, then records for them saved by a Drosk.
    void SaveSetAndRecords(const std::vector<int>& records) {
        CSetSaver first;
        first.NewSet();
        ASSERT_EQ(first.Save(editortest::Questions(Wordings({1, 2, 3})), m_Set,
                             [](const auto&) { return false; }),
                  CSetSaver::Outcome::Saved);
        DroskSaves(records, {1, 2, 3});
    }
    // Drosk's save of records answering the questions tagged tags, as Drosk writes it.
    void DroskSaves(const std::vector<int>& records, const std::vector<int>& tags) {
        ASSERT_TRUE(kb::DataFileWriter().Save(editortest::Records(records, tags), m_Data));
    }
    // A set of the questions tagged tags, loaded by a Halvet.
    kb::QuestionArray LoadedSet(CSetSaver& saver, const std::vector<int>& tags) {
        saver.Loaded(m_Set);
        return editortest::Questions(Wordings(tags));
    }
    void Insert(CSetSaver& saver, kb::QuestionArray& set, int at, int tag) {
        editor::ArrayManager::InsertNewQuestion(set, static_cast<std::int16_t>(at - 1));
        set[static_cast<std::size_t>(at - 1)] = editortest::Question(Wording(tag));
        saver.Modifier().InsertQuestion(static_cast<std::int16_t>(at));
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(m_Dir.Path())) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    editortest::ScratchDir m_Dir;
    std::string m_Set;
    std::string m_Data;
};

// The most ordinary flow: a set saved before it had a data file, records entered and saved
// by Drosk, then a question inserted before the first. The data file that appeared is
// renumbered, once the user agreed to save over a data file that changed since.
TEST_F(CSetSaverTest, ADataFileMadeAfterTheSetWasSavedIsRenumbered) {
    CSetSaver halvet;
    halvet.NewSet();
    kb::QuestionArray set = editortest::Questions(Wordings({1, 2, 3}));
    Asker asker;
    ASSERT_EQ(halvet.Save(set, m_Set, asker.Ask()), CSetSaver::Outcome::Saved);
    DroskSaves({1, 2}, {1, 2, 3});
    Insert(halvet, set, 1, 4);

    const std::string dataBefore = Slurp(m_Data);
    const std::string setBefore = Slurp(m_Set);
    EXPECT_EQ(halvet.Save(set, m_Set, asker.Ask()), CSetSaver::Outcome::Declined);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_TRUE(asker.asked[0].dataFile);
    EXPECT_FALSE(asker.asked[0].questionSet);
    EXPECT_EQ(Slurp(m_Data), dataBefore);
    EXPECT_EQ(Slurp(m_Set), setBefore);
    EXPECT_TRUE(halvet.Modifier().IsModified()) << "No keeps the change for a later save";

    asker.answers = {false, true};
    ASSERT_EQ(halvet.Save(set, m_Set, asker.Ask()), CSetSaver::Outcome::Saved);
    const auto read = ReadKnowledgeBase(m_Set);
    EXPECT_EQ(read.wordings, Wordings({4, 1, 2, 3}));
    EXPECT_EQ(read.meaning, Expected({1, 2}, {4, 1, 2, 3}, {1, 2, 3}));
    EXPECT_EQ(read.skipped, 0);

    // Saved again with nothing further changed: nothing asked, nothing moves.
    ASSERT_EQ(halvet.Save(set, m_Set, asker.Ask()), CSetSaver::Outcome::Saved);
    EXPECT_EQ(asker.asked.size(), 2u);
    EXPECT_EQ(ReadKnowledgeBase(m_Set).meaning, read.meaning);
}

// Two Halvets on one set: the second, saving its stale questions, is asked and saves
// nothing on No; its changes are kept.
TEST_F(CSetSaverTest, TwoEditorsOnOneSet) {
    SaveSetAndRecords({1, 2});
    CSetSaver first;
    CSetSaver second;
    kb::QuestionArray firstSet = LoadedSet(first, {1, 2, 3});
    kb::QuestionArray secondSet = LoadedSet(second, {1, 2, 3});
    Asker asker;
    Insert(first, firstSet, 1, 4);
    ASSERT_EQ(first.Save(firstSet, m_Set, asker.Ask()), CSetSaver::Outcome::Saved);
    EXPECT_TRUE(asker.asked.empty());
    const std::string setSaved = Slurp(m_Set);
    const std::string dataSaved = Slurp(m_Data);

    Insert(second, secondSet, 2, 5);
    EXPECT_EQ(second.Save(secondSet, m_Set, asker.Ask()), CSetSaver::Outcome::Declined);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_TRUE(asker.asked[0].questionSet);
    EXPECT_TRUE(asker.asked[0].dataFile);
    EXPECT_EQ(Slurp(m_Set), setSaved);
    EXPECT_EQ(Slurp(m_Data), dataSaved);
    EXPECT_TRUE(second.Modifier().IsModified());
    EXPECT_EQ(ReadKnowledgeBase(m_Set).meaning, Expected({1, 2}, {4, 1, 2, 3}, {1, 2, 3}));
}

// Neither file takes its place unless both can: a data file that cannot be written, or a
// failure between the two commits, leaves both as they were and keeps the changes.
TEST_F(CSetSaverTest, NeitherFileIsReplacedUnlessBothCanBe) {
    SaveSetAndRecords({1, 2});
    CSetSaver halvet;
    kb::QuestionArray set = LoadedSet(halvet, {1, 2, 3});
    Insert(halvet, set, 2, 4);
    const std::string setBefore = Slurp(m_Set);
    const std::string dataBefore = Slurp(m_Data);
    const auto entriesBefore = Entries();
    Asker asker;

    std::filesystem::permissions(m_Data, std::filesystem::perms::owner_read);
    ASSERT_EQ(halvet.Save(set, m_Set, asker.Ask()), CSetSaver::Outcome::Failed);
    EXPECT_EQ(halvet.LastFailure().file, CSetSaver::Which::DataFile);
    EXPECT_EQ(halvet.LastFailure().path, m_Data);
    EXPECT_NE(halvet.LastFailure().why.find("Permission denied"), std::string::npos);
    EXPECT_EQ(Slurp(m_Set), setBefore);
    EXPECT_EQ(Slurp(m_Data), dataBefore);
    std::filesystem::permissions(m_Data, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::owner_write);

    // The data file's flush fails after the question set took its place: it is put back.
    static int fileSyncs = 0;
    fileSyncs = 0;
    kb::AtomicFileWriter::SetSyncFunction([](int fd) {
        struct stat st {};
        ::fstat(fd, &st);
        if (S_ISREG(st.st_mode) && ++fileSyncs == 2) {
            errno = ENOSPC;
            return -1;
        }
        return ::fsync(fd);
    });
    ASSERT_EQ(halvet.Save(set, m_Set, asker.Ask()), CSetSaver::Outcome::Failed);
    kb::AtomicFileWriter::SetSyncFunction(nullptr);
    EXPECT_EQ(fileSyncs, 2);
    EXPECT_EQ(halvet.LastFailure().file, CSetSaver::Which::DataFile);
    EXPECT_NE(halvet.LastFailure().why.find("No space left"), std::string::npos);
    EXPECT_EQ(Slurp(m_Set), setBefore) << "the question set is put back";
    EXPECT_EQ(Slurp(m_Data), dataBefore);
    EXPECT_EQ(Entries(), entriesBefore) << "nothing left behind";
    EXPECT_TRUE(asker.asked.empty());

    // A question set that cannot be written leaves the data file too.
    std::filesystem::permissions(m_Set, std::filesystem::perms::owner_read);
    ASSERT_EQ(halvet.Save(set, m_Set, asker.Ask()), CSetSaver::Outcome::Failed);
    EXPECT_EQ(halvet.LastFailure().file, CSetSaver::Which::QuestionSet);
    EXPECT_EQ(Slurp(m_Data), dataBefore);
    std::filesystem::permissions(m_Set, std::filesystem::perms::owner_read |
                                            std::filesystem::perms::owner_write);

    ASSERT_EQ(halvet.Save(set, m_Set, asker.Ask()), CSetSaver::Outcome::Saved);
    EXPECT_EQ(ReadKnowledgeBase(m_Set).meaning, Expected({1, 2}, {1, 4, 2, 3}, {1, 2, 3}));
}

// A set saved to another file leaves that file's data file alone: its records were made
// for the set that was there. The changes are done with, since the set on disk is new.
TEST_F(CSetSaverTest, ASetSavedElsewhereLeavesThatDataFileAlone) {
    SaveSetAndRecords({1});
    const std::string other = m_Dir.File("other.qst");
    ASSERT_TRUE(kb::WriteFileAtomically(m_Dir.File("other.dat"), Slurp(m_Data)));
    CSetSaver halvet;
    kb::QuestionArray set = LoadedSet(halvet, {1, 2, 3});
    Insert(halvet, set, 1, 4);
    Asker asker;
    ASSERT_EQ(halvet.Save(set, other, asker.Ask()), CSetSaver::Outcome::Saved);
    EXPECT_EQ(Slurp(m_Dir.File("other.dat")), Slurp(m_Data));
    EXPECT_FALSE(halvet.Modifier().IsModified());
    EXPECT_EQ(halvet.Base(), other);
    EXPECT_TRUE(asker.asked.empty());
}

// While another program saves, a save waits; when it must wait too long it says so and
// writes nothing.
TEST_F(CSetSaverTest, ASaveThatCannotTakeTheLockWritesNothing) {
    CSetSaver halvet;
    halvet.NewSet();
    halvet.SetLockWait(50ms);
    const kb::KnowledgeBaseLock other(m_Set);
    ASSERT_TRUE(other.Held());
    Asker asker;
    EXPECT_EQ(halvet.Save(editortest::Questions(Wordings({1})), m_Set, asker.Ask()),
              CSetSaver::Outcome::Busy);
    EXPECT_FALSE(std::filesystem::exists(m_Set));
}

// Saves that cross, in two processes: one program's save holds the lock from its last look
// at the files to its rename, so the other's comes after it and sees what it wrote.
class CrossingSaves : public CSetSaverTest {
protected:
    // Runs save in a child process whose first flush of a file (inside its save, after its
    // checks) waits until the parent was told and a little more; returns once told.
    pid_t SlowSaveInChild(const std::function<bool()>& save) {
        int told[2];
        if (::pipe(told) != 0) {
            return -1;
        }
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(told[0]);
            s_Told = told[1];
            kb::AtomicFileWriter::SetSyncFunction([](int fd) {
                if (s_Told >= 0) {
                    const char byte = 't';
                    [[maybe_unused]] const auto n = ::write(s_Told, &byte, 1);
                    ::close(s_Told);
                    s_Told = -1;
                    std::this_thread::sleep_for(300ms);
                }
                return ::fsync(fd);
            });
            ::_exit(save() ? 0 : 1);
        }
        ::close(told[1]);
        char byte = 0;
        [[maybe_unused]] const auto n = ::read(told[0], &byte, 1);
        ::close(told[0]);
        return child;
    }
    static int Finished(pid_t child) {
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    static inline int s_Told = -1;
};

TEST_F(CrossingSaves, HalvetsSaveWaitsForDrosksAndRenumbersWhatItWrote) {
    SaveSetAndRecords({1});
    CSetSaver halvet;
    kb::QuestionArray set = LoadedSet(halvet, {1, 2, 3});
    acquire::CRecordSaver drosk;
    drosk.Loaded(m_Set, true);

    const pid_t child = SlowSaveInChild([&] {
        return drosk.Save(editortest::Records({1, 2}, {1, 2, 3}), 2, [](const auto&) {
            return false;
        }) == acquire::CRecordSaver::Outcome::Saved;
    });
    Insert(halvet, set, 1, 4);
    Asker asker;
    asker.answers = {true};
    const auto outcome = halvet.Save(set, m_Set, asker.Ask());
    ASSERT_EQ(Finished(child), 0) << "Drosk's save went through";
    ASSERT_EQ(outcome, CSetSaver::Outcome::Saved);
    ASSERT_EQ(asker.asked.size(), 1u) << "Halvet saw the data file Drosk wrote";
    EXPECT_EQ(ReadKnowledgeBase(m_Set).meaning, Expected({1, 2}, {4, 1, 2, 3}, {1, 2, 3}));
}

TEST_F(CrossingSaves, DrosksSaveWaitsForHalvetsAndSeesItsQuestions) {
    SaveSetAndRecords({1});
    CSetSaver halvet;
    kb::QuestionArray set = LoadedSet(halvet, {1, 2, 3});
    acquire::CRecordSaver drosk;
    drosk.Loaded(m_Set, true);

    Insert(halvet, set, 1, 4);
    const pid_t child = SlowSaveInChild([&] {
        return halvet.Save(set, m_Set, [](const auto&) { return false; }) ==
               CSetSaver::Outcome::Saved;
    });
    int asked = 0;
    const auto outcome = drosk.Save(editortest::Records({1, 2}, {1, 2, 3}), 2,
                                    [&](const acquire::CRecordSaver::Reasons& reasons) {
                                        ++asked;
                                        EXPECT_TRUE(reasons.questionSet);
                                        return false;
                                    });
    ASSERT_EQ(Finished(child), 0) << "Halvet's save went through";
    EXPECT_EQ(outcome, acquire::CRecordSaver::Outcome::Declined);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ReadKnowledgeBase(m_Set).meaning, Expected({1}, {4, 1, 2, 3}, {1, 2, 3}));
}

} // namespace
