// Halvet's saves of a question set with the data file beside it, through the knowledge base
// component as its window uses it: renumbering, questions about files changed on disk, two
// files as one step, and saves that cross in two processes.

#include "CoreTestFiles.h"
#include "EditorSession.h"
#include "editor/ArrayManager.h"
#include "kb/AtomicFileWriter.h"
#include "kb/DataFileWriter.h"
#include "kb/KnowledgeBaseLock.h"
#include "tests/support/AcquisitionSession.h"
#include "tests/support/Asker.h"
#include "tests/support/KnowledgeBaseFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using editortest::EditorSession;
using Outcome = kb::CKnowledgeBase::Outcome;
using Question = kb::CKnowledgeBase::Question;
using editortest::Slurp;
using testsupport::Answer;
using testsupport::Meaning;
using testsupport::ReadKnowledgeBase;
using namespace std::chrono_literals;

std::string Wording(int tag) {
    return testsupport::Tagged('Q', tag);
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
            meaning[testsupport::Tagged('R', r)][Wording(t)] =
                answered.contains(t) ? Answer{t, r} : Answer{};
        }
    }
    return meaning;
}

using testsupport::Asker;

class HalvetSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Set = m_Dir.File("pets.qst");
        m_Data = m_Dir.File("pets.dat");
    }
    void TearDown() override { kb::AtomicFileWriter::SetSyncFunction(nullptr); }

    // A set of three questions saved by a Halvet, then records for them saved by a Drosk.
    void SaveSetAndRecords(const std::vector<int>& records) {
        EditorSession first;
        ASSERT_EQ(first.Save(testsupport::Questions(Wordings({1, 2, 3})), m_Set,
                             [](const auto&) { return false; }),
                  Outcome::Done);
        DroskSaves(records, {1, 2, 3});
    }
    // Drosk's save of records answering the questions tagged tags, as Drosk writes it.
    void DroskSaves(const std::vector<int>& records, const std::vector<int>& tags) {
        ASSERT_TRUE(kb::DataFileWriter().Save(testsupport::Records(records, tags), m_Data));
    }
    // A set of the questions tagged tags, loaded by a Halvet.
    kb::QuestionArray LoadedSet(EditorSession& halvet, const std::vector<int>& tags) {
        EXPECT_EQ(halvet.Load(m_Set), Outcome::Done);
        return testsupport::Questions(Wordings(tags));
    }
    void Insert(EditorSession& halvet, kb::QuestionArray& set, int at, int tag) {
        editor::ArrayManager::InsertNewQuestion(set, static_cast<std::int16_t>(at - 1));
        set[static_cast<std::size_t>(at - 1)] = testsupport::Question(Wording(tag));
        halvet.modifier.InsertQuestion(static_cast<std::int16_t>(at));
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
TEST_F(HalvetSaveTest, ADataFileMadeAfterTheSetWasSavedIsRenumbered) {
    EditorSession halvet;
    kb::QuestionArray set = testsupport::Questions(Wordings({1, 2, 3}));
    Asker asker;
    ASSERT_EQ(halvet.Save(set, m_Set, asker.Ask()), Outcome::Done);
    DroskSaves({1, 2}, {1, 2, 3});
    Insert(halvet, set, 1, 4);

    const std::string dataBefore = Slurp(m_Data);
    const std::string setBefore = Slurp(m_Set);
    EXPECT_EQ(halvet.Save(set, m_Set, asker.Ask()), Outcome::Declined);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_TRUE(asker.asked[0].dataFileChanged);
    EXPECT_FALSE(asker.asked[0].questionSetChanged);
    EXPECT_EQ(Slurp(m_Data), dataBefore);
    EXPECT_EQ(Slurp(m_Set), setBefore);
    EXPECT_TRUE(halvet.modifier.IsModified()) << "No keeps the change for a later save";

    asker.answers = {false, true};
    ASSERT_EQ(halvet.Save(set, m_Set, asker.Ask()), Outcome::Done);
    const auto read = ReadKnowledgeBase(m_Set);
    EXPECT_EQ(read.wordings, Wordings({4, 1, 2, 3}));
    EXPECT_EQ(read.meaning, Expected({1, 2}, {4, 1, 2, 3}, {1, 2, 3}));
    EXPECT_EQ(read.skipped, 0);

    // Saved again with nothing further changed: nothing asked, nothing moves.
    ASSERT_EQ(halvet.Save(set, m_Set, asker.Ask()), Outcome::Done);
    EXPECT_EQ(asker.asked.size(), 2u);
    EXPECT_EQ(ReadKnowledgeBase(m_Set).meaning, read.meaning);
}

// Two Halvets on one set: the second, saving its stale questions, is asked and saves
// nothing on No; its changes are kept.
TEST_F(HalvetSaveTest, TwoEditorsOnOneSet) {
    SaveSetAndRecords({1, 2});
    EditorSession first;
    EditorSession second;
    kb::QuestionArray firstSet = LoadedSet(first, {1, 2, 3});
    kb::QuestionArray secondSet = LoadedSet(second, {1, 2, 3});
    Asker asker;
    Insert(first, firstSet, 1, 4);
    ASSERT_EQ(first.Save(firstSet, m_Set, asker.Ask()), Outcome::Done);
    EXPECT_TRUE(asker.asked.empty());
    const std::string setSaved = Slurp(m_Set);
    const std::string dataSaved = Slurp(m_Data);

    Insert(second, secondSet, 2, 5);
    EXPECT_EQ(second.Save(secondSet, m_Set, asker.Ask()), Outcome::Declined);
    ASSERT_EQ(asker.asked.size(), 1u);
    // Both files changed on disk, and the question names both.
    EXPECT_TRUE(asker.asked[0].questionSetChanged);
    EXPECT_TRUE(asker.asked[0].dataFileChanged);
    EXPECT_TRUE(asker.asked[0].recordsMayMove);
    EXPECT_EQ(asker.asked[0].questionSet, m_Set);
    EXPECT_EQ(asker.asked[0].dataFile, m_Data);
    EXPECT_EQ(Slurp(m_Set), setSaved);
    EXPECT_EQ(Slurp(m_Data), dataSaved);
    EXPECT_TRUE(second.modifier.IsModified());
    EXPECT_EQ(ReadKnowledgeBase(m_Set).meaning, Expected({1, 2}, {4, 1, 2, 3}, {1, 2, 3}));
}

// The second Halvet only rewords a question, so it would not renumber the data file; the
// first inserted a question and renumbered it. Saving the rewording puts every record's
// answers on other questions, and the question says so, naming the data file.
TEST_F(HalvetSaveTest, SavingOverAnotherSetWarnsThatAnswersMove) {
    SaveSetAndRecords({1, 2});
    EditorSession first;
    EditorSession second;
    kb::QuestionArray firstSet = LoadedSet(first, {1, 2, 3});
    kb::QuestionArray secondSet = LoadedSet(second, {1, 2, 3});
    Insert(first, firstSet, 1, 4);
    ASSERT_EQ(first.Save(firstSet, m_Set, [](const auto&) { return false; }), Outcome::Done);

    secondSet[1] = testsupport::Question("Q2, reworded");
    Asker asker;
    EXPECT_EQ(second.Save(secondSet, m_Set, asker.Ask()), Outcome::Declined);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_TRUE(asker.asked[0].questionSetChanged);
    EXPECT_FALSE(asker.asked[0].dataFileChanged) << "this save does not renumber it";
    EXPECT_TRUE(asker.asked[0].recordsMayMove);
    EXPECT_EQ(asker.asked[0].dataFile, m_Data);
    EXPECT_EQ(ReadKnowledgeBase(m_Set).meaning, Expected({1, 2}, {4, 1, 2, 3}, {1, 2, 3}));
}

// A Halvet's own saves are no change on disk: insertions saved one after another renumber
// the data file each time without a question.
TEST_F(HalvetSaveTest, RenumberingSavesInARowAskNothing) {
    SaveSetAndRecords({1, 2});
    EditorSession halvet;
    kb::QuestionArray set = LoadedSet(halvet, {1, 2, 3});
    Asker asker;
    Insert(halvet, set, 1, 4);
    ASSERT_EQ(halvet.Save(set, m_Set, asker.Ask()), Outcome::Done);
    Insert(halvet, set, 3, 5);
    ASSERT_EQ(halvet.Save(set, m_Set, asker.Ask()), Outcome::Done);
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_EQ(ReadKnowledgeBase(m_Set).meaning, Expected({1, 2}, {4, 1, 5, 2, 3}, {1, 2, 3}));
}

// Neither file takes its place unless both can: a data file that cannot be written, or one
// that cannot be flushed, leaves both as they were and keeps the changes.
TEST_F(HalvetSaveTest, NeitherFileIsReplacedUnlessBothCanBe) {
    SaveSetAndRecords({1, 2});
    EditorSession halvet;
    kb::QuestionArray set = LoadedSet(halvet, {1, 2, 3});
    Insert(halvet, set, 2, 4);
    const std::string setBefore = Slurp(m_Set);
    const std::string dataBefore = Slurp(m_Data);
    const auto entriesBefore = Entries();
    Asker asker;

    std::filesystem::permissions(m_Data, std::filesystem::perms::owner_read);
    ASSERT_EQ(halvet.Save(set, m_Set, asker.Ask()), Outcome::Failed);
    EXPECT_EQ(halvet.base.LastFailure().file, kb::CKnowledgeBase::Which::DataFile);
    EXPECT_EQ(halvet.base.LastFailure().path, m_Data);
    EXPECT_NE(halvet.base.LastFailure().why.find("Permission denied"), std::string::npos);
    EXPECT_EQ(Slurp(m_Set), setBefore);
    EXPECT_EQ(Slurp(m_Data), dataBefore);
    std::filesystem::permissions(m_Data, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::owner_write);

    // The data file's flush fails after the question set was flushed: neither takes its
    // place, and nothing is left behind.
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
    ASSERT_EQ(halvet.Save(set, m_Set, asker.Ask()), Outcome::Failed);
    kb::AtomicFileWriter::SetSyncFunction(nullptr);
    EXPECT_EQ(fileSyncs, 2);
    EXPECT_EQ(halvet.base.LastFailure().file, kb::CKnowledgeBase::Which::DataFile);
    EXPECT_NE(halvet.base.LastFailure().why.find("No space left"), std::string::npos);
    EXPECT_EQ(Slurp(m_Set), setBefore) << "the question set is not replaced alone";
    EXPECT_EQ(Slurp(m_Data), dataBefore);
    EXPECT_EQ(Entries(), entriesBefore) << "nothing left behind";
    EXPECT_TRUE(asker.asked.empty());

    // A question set that cannot be written leaves the data file too.
    std::filesystem::permissions(m_Set, std::filesystem::perms::owner_read);
    ASSERT_EQ(halvet.Save(set, m_Set, asker.Ask()), Outcome::Failed);
    EXPECT_EQ(halvet.base.LastFailure().file, kb::CKnowledgeBase::Which::QuestionSet);
    EXPECT_EQ(Slurp(m_Data), dataBefore);
    std::filesystem::permissions(m_Set, std::filesystem::perms::owner_read |
                                            std::filesystem::perms::owner_write);

    ASSERT_EQ(halvet.Save(set, m_Set, asker.Ask()), Outcome::Done);
    EXPECT_EQ(ReadKnowledgeBase(m_Set).meaning, Expected({1, 2}, {1, 4, 2, 3}, {1, 2, 3}));
}

// A set saved to another file leaves that file's data file alone: its records were made
// for the set that was there. The changes are done with, since the set on disk is new.
TEST_F(HalvetSaveTest, ASetSavedElsewhereLeavesThatDataFileAlone) {
    SaveSetAndRecords({1});
    const std::string other = m_Dir.File("other.qst");
    ASSERT_TRUE(kb::WriteFileAtomically(m_Dir.File("other.dat"), Slurp(m_Data)));
    EditorSession halvet;
    kb::QuestionArray set = LoadedSet(halvet, {1, 2, 3});
    Insert(halvet, set, 1, 4);
    Asker asker;
    ASSERT_EQ(halvet.Save(set, other, asker.Ask()), Outcome::Done);
    EXPECT_EQ(Slurp(m_Dir.File("other.dat")), Slurp(m_Data));
    EXPECT_FALSE(halvet.modifier.IsModified());
    EXPECT_EQ(halvet.base.QuestionSetPath(), other);
    EXPECT_TRUE(asker.asked.empty());
}

// While another program saves, a save waits; when it must wait too long it says so and
// writes nothing.
TEST_F(HalvetSaveTest, ASaveThatCannotTakeTheLockWritesNothing) {
    EditorSession halvet;
    halvet.base.SetLockWait(50ms);
    const kb::KnowledgeBaseLock other(m_Set);
    ASSERT_TRUE(other.Held());
    Asker asker;
    EXPECT_EQ(halvet.Save(testsupport::Questions(Wordings({1})), m_Set, asker.Ask()),
              Outcome::Busy);
    EXPECT_FALSE(std::filesystem::exists(m_Set));
}

// Saves that cross, in two processes: one program's save holds the lock from its last look
// at the files to its rename, so the other's comes after it and sees what it wrote.
class CrossingSaves : public HalvetSaveTest {
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
    EditorSession halvet;
    kb::QuestionArray set = LoadedSet(halvet, {1, 2, 3});
    testsupport::AcquisitionSession drosk;
    ASSERT_EQ(drosk.Load(m_Set), Outcome::Done);

    const pid_t child = SlowSaveInChild([&] {
        return drosk.Save(testsupport::Records({1, 2}, {1, 2, 3}),
                          [](const auto&) { return false; }) == Outcome::Done;
    });
    Insert(halvet, set, 1, 4);
    Asker asker;
    asker.answers = {true};
    const auto outcome = halvet.Save(set, m_Set, asker.Ask());
    ASSERT_EQ(Finished(child), 0) << "Drosk's save went through";
    ASSERT_EQ(outcome, Outcome::Done);
    ASSERT_EQ(asker.asked.size(), 1u) << "Halvet saw the data file Drosk wrote";
    EXPECT_EQ(ReadKnowledgeBase(m_Set).meaning, Expected({1, 2}, {4, 1, 2, 3}, {1, 2, 3}));
}

TEST_F(CrossingSaves, DrosksSaveWaitsForHalvetsAndSeesItsQuestions) {
    SaveSetAndRecords({1});
    EditorSession halvet;
    kb::QuestionArray set = LoadedSet(halvet, {1, 2, 3});
    testsupport::AcquisitionSession drosk;
    ASSERT_EQ(drosk.Load(m_Set), Outcome::Done);

    Insert(halvet, set, 1, 4);
    const pid_t child = SlowSaveInChild([&] {
        return halvet.Save(set, m_Set, [](const auto&) { return false; }) == Outcome::Done;
    });
    int asked = 0;
    const auto outcome =
        drosk.Save(testsupport::Records({1, 2}, {1, 2, 3}), [&](const Question& question) {
            ++asked;
            EXPECT_TRUE(question.questionSetChanged);
            return false;
        });
    ASSERT_EQ(Finished(child), 0) << "Halvet's save went through";
    EXPECT_EQ(outcome, Outcome::Declined);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ReadKnowledgeBase(m_Set).meaning, Expected({1}, {4, 1, 2, 3}, {1, 2, 3}));
}

// A save of both files killed at each step of its commit (a crash, a power cut, kill -9),
// in a child process, and then the knowledge base opened by each program. Halvet and Drosk
// find what was cut short and leave a pair from one save or the other, saying what they
// did; Mirel, which writes nothing, refuses a pair that may be mismatched and changes
// nothing. Never are the new questions served over the old records.
class SaveCutShort : public HalvetSaveTest {
protected:
    using Step = kb::CKnowledgeBase::Step;
    using Program = kb::CKnowledgeBase::Program;
    using Mending = kb::CKnowledgeBase::Mending;

    // Halvet inserts a question before the first and saves; the child dies at the
    // placed-th time it reaches step. False when the save never reached it.
    bool KillHalvetsSaveAt(Step step, int placed) {
        const pid_t child = ::fork();
        if (child == 0) {
            static Step s_Step;
            static int s_Left;
            s_Step = step;
            s_Left = placed;
            kb::CKnowledgeBase::SetStepHook([](Step reached) {
                if (reached == s_Step && --s_Left == 0) {
                    ::raise(SIGKILL);
                }
            });
            EditorSession halvet;
            kb::QuestionArray set;
            halvet.Load(m_Set, &set);
            editor::ArrayManager::InsertNewQuestion(set, 0);
            set[0] = testsupport::Question(Wording(4));
            halvet.modifier.InsertQuestion(1);
            halvet.Save(set, m_Set, testsupport::YesAtMost(3));
            ::_exit(2);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }

    // What a program loaded: its questions' wordings and its records' answers by them.
    struct Loaded {
        kb::CKnowledgeBase::Outcome outcome;
        Mending mending;
        std::vector<std::string> wordings;
        Meaning meaning;
    };
    Loaded OpenWith(Program program) {
        kb::CKnowledgeBase base(program);
        kb::CKnowledgeBase::Contents contents;
        const std::int16_t count = kb::g_NumQuestions;
        Loaded loaded{base.Open(m_Set, contents), base.LastMending(), {}, {}};
        kb::g_NumQuestions = count;
        for (const auto& q : contents.questions) {
            loaded.wordings.push_back(q->GetKEQ());
        }
        loaded.meaning = testsupport::MeaningOf(contents);
        return loaded;
    }
};

TEST_F(SaveCutShort, EveryProgramOpensAPairFromOneSave) {
    struct Case {
        const char* name;
        Step step;
        int placed;
        bool newPair;      // the pair the save was making, once mended
        Mending mending;   // what Halvet and Drosk did
        bool mirelRefuses; // the files may not belong together until mended
    };
    const Case cases[] = {
        {"new files flushed", Step::Sealed, 1, false, Mending::Dropped, false},
        {"journal written", Step::Noted, 1, true, Mending::Completed, true},
        {"question set in place", Step::Placed, 1, true, Mending::Completed, true},
        {"data file in place", Step::Placed, 2, true, Mending::Completed, true},
        {"journal removed", Step::Finished, 1, true, Mending::None, false},
    };
    const Meaning before = Expected({1, 2}, {1, 2, 3}, {1, 2, 3});
    const Meaning after = Expected({1, 2}, {4, 1, 2, 3}, {1, 2, 3});
    for (const Case& c : cases) {
        for (const Program program :
             {Program::Editor, Program::Acquisition, Program::Consultation}) {
            SCOPED_TRACE(std::string("killed after: ") + c.name + ", opened by program " +
                         std::to_string(static_cast<int>(program)));
            std::filesystem::remove_all(m_Dir.Path());
            std::filesystem::create_directory(m_Dir.Path());
            SaveSetAndRecords({1, 2});
            ASSERT_TRUE(KillHalvetsSaveAt(c.step, c.placed)) << "the save never got there";
            const auto entriesKilled = Entries();
            const std::string setKilled = Slurp(m_Set);
            const std::string dataKilled = Slurp(m_Data);

            const Loaded loaded = OpenWith(program);
            if (program == Program::Consultation && c.mirelRefuses) {
                EXPECT_EQ(loaded.outcome, Outcome::HalfSaved);
                EXPECT_EQ(Entries(), entriesKilled) << "Mirel changes nothing";
                EXPECT_EQ(Slurp(m_Set), setKilled);
                EXPECT_EQ(Slurp(m_Data), dataKilled);
                continue;
            }
            ASSERT_EQ(loaded.outcome, Outcome::Done);
            const auto wordings = c.newPair ? Wordings({4, 1, 2, 3}) : Wordings({1, 2, 3});
            EXPECT_EQ(loaded.wordings, wordings);
            if (program != Program::Editor) {
                EXPECT_EQ(loaded.meaning, c.newPair ? after : before);
            }
            const auto onDisk = ReadKnowledgeBase(m_Set);
            EXPECT_EQ(onDisk.wordings, wordings);
            if (program != Program::Consultation) {
                EXPECT_EQ(loaded.mending, c.mending);
                EXPECT_EQ(onDisk.meaning, c.newPair ? after : before);
                EXPECT_EQ(Entries(),
                          (std::vector<std::string>{".corvane.lock", "pets.dat", "pets.qst"}))
                    << "nothing of the save cut short is left";
            }
        }
    }
}

} // namespace
