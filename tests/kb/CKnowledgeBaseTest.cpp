// The one way the programs open and save a knowledge base: what each program is asked
// before it saves, the lock a save holds and a load shares, stamps of the bytes read, a
// knowledge base reached through links, and loads crossed or refused while others save.
// Halvet's renumbering saves and saves cut short are tested in tests/editor.

#include "kb/CKnowledgeBase.h"

#include "kb/DataFileWriter.h"
#include "kb/FileIO.h"
#include "kb/KnowledgeBaseLock.h"
#include "kb/SaveJournal.h"
#include "tests/support/AcquisitionSession.h"
#include "tests/support/Asker.h"
#include "tests/support/HalfSaved.h"
#include "tests/support/KnowledgeBaseFiles.h"
#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Outcome = kb::CKnowledgeBase::Outcome;
using Program = kb::CKnowledgeBase::Program;
using Question = kb::CKnowledgeBase::Question;
using Step = kb::CKnowledgeBase::Step;
using Which = kb::CKnowledgeBase::Which;
using testsupport::AcquisitionSession;
using namespace std::chrono_literals;

std::string Slurp(const std::string& path) {
    std::string bytes;
    kb::ReadWholeFile(path, bytes);
    return bytes;
}

std::vector<std::string> Wordings(int count, int first = 1) {
    std::vector<std::string> wordings;
    for (int i = 0; i < count; ++i) {
        wordings.push_back(testsupport::Tagged('Q', first + i));
    }
    return wordings;
}

std::vector<int> Tags(int count, int first = 1) {
    std::vector<int> tags;
    for (int i = 0; i < count; ++i) {
        tags.push_back(first + i);
    }
    return tags;
}

// Writes a knowledge base as another program would, without the lock: a set of count
// questions and records answering them (no data file for none).
void WriteKnowledgeBase(const std::string& set, int count, const std::vector<int>& records,
                        int first = 1) {
    ASSERT_TRUE(
        kb::WriteFileAtomically(set, testsupport::QuestionSetBytes(Wordings(count, first))));
    if (records.empty()) {
        fs::remove(kb::DataFileNameFor(set));
        return;
    }
    ASSERT_TRUE(kb::DataFileWriter().Save(testsupport::Records(records, Tags(count, first)),
                                          kb::DataFileNameFor(set)));
}

// What the files say when record r answers each question tagged t as the test wrote it.
testsupport::Meaning Expected(const std::vector<int>& records, int count, int first = 1) {
    testsupport::Meaning meaning;
    for (const int r : records) {
        for (const int t : Tags(count, first)) {
            meaning[testsupport::Tagged('R', r)][testsupport::Tagged('Q', t)] = {t, r, 0};
        }
    }
    return meaning;
}

using testsupport::Asker;

class CKnowledgeBaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Set = m_Dir.File("pets.qst");
        m_Data = m_Dir.File("pets.dat");
        m_CountBefore = kb::g_NumQuestions;
    }
    void TearDown() override {
        kb::CKnowledgeBase::SetStepHook({});
        kb::g_NumQuestions = m_CountBefore;
    }

    testsupport::ScratchDir m_Dir;
    std::string m_Set;
    std::string m_Data;
    std::int16_t m_CountBefore = 0;
};

// A save asks before losing what another program saved; having asked, it asks again only
// about what changed after the question, and it writes the records it holds. With no
// record and no data file there is nothing to do.
TEST_F(CKnowledgeBaseTest, DroskAsksAboutChangesOnDiskOnceEach) {
    WriteKnowledgeBase(m_Set, 3, {});
    fs::remove(m_Data);
    AcquisitionSession drosk;
    ASSERT_EQ(drosk.Load(m_Set), Outcome::Done);
    EXPECT_EQ(kb::g_NumQuestions, 3);
    Asker asker;
    EXPECT_EQ(drosk.Save({}, asker.Ask()), Outcome::Done);
    EXPECT_FALSE(fs::exists(m_Data));
    EXPECT_TRUE(asker.asked.empty());

    ASSERT_TRUE(kb::WriteFileAtomically(m_Data, "another program's records"));
    EXPECT_EQ(drosk.Save(testsupport::Records({1}, Tags(3)), asker.Ask()), Outcome::Declined);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_TRUE(asker.asked[0].dataFileChanged);
    EXPECT_FALSE(asker.asked[0].questionSetChanged);
    EXPECT_EQ(asker.asked[0].dataFile, m_Data);
    EXPECT_EQ(Slurp(m_Data), "another program's records");

    // Changed again while the question was open: asked again, about that.
    int asked = 0;
    const auto outcome =
        drosk.Save(testsupport::Records({1}, Tags(3)), [&](const Question& question) {
            if (++asked == 1) {
                EXPECT_TRUE(kb::WriteFileAtomically(m_Set, "a set, changed meanwhile"));
            } else {
                EXPECT_TRUE(question.questionSetChanged);
                EXPECT_FALSE(question.dataFileChanged) << "agreed to already";
            }
            return asked < 5;
        });
    EXPECT_EQ(outcome, Outcome::Done);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(Slurp(m_Data).substr(0, 4), "[R1]");

    // Its own save is no change: the next save asks nothing.
    asker.asked.clear();
    EXPECT_EQ(drosk.Save(testsupport::Records({2}, Tags(3)), asker.Ask()), Outcome::Done);
    EXPECT_EQ(drosk.Save({}, asker.Ask()), Outcome::Done);
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_FALSE(fs::exists(m_Data));
}

// A data file read only in part is not replaced unasked; once the user agreed, or after a
// save, it is whole.
TEST_F(CKnowledgeBaseTest, APartlyReadFileIsReplacedOnlyAfterAsking) {
    WriteKnowledgeBase(m_Set, 3, {});
    ASSERT_TRUE(kb::WriteFileAtomically(m_Data, "[R1]\r\nnot a line of ours\r\n"));
    AcquisitionSession drosk;
    ASSERT_EQ(drosk.Load(m_Set), Outcome::Done);
    EXPECT_GT(drosk.contents.skippedItems, 0);
    Asker asker;
    EXPECT_EQ(drosk.Save({}, asker.Ask()), Outcome::Declined);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_TRUE(asker.asked[0].dataFilePartlyRead);
    EXPECT_TRUE(fs::exists(m_Data));
    asker.yes = true;
    EXPECT_EQ(drosk.Save(testsupport::Records({1}, Tags(3)), asker.Ask()), Outcome::Done);
    asker.yes = false;
    EXPECT_EQ(drosk.Save(testsupport::Records({1}, Tags(3)), asker.Ask()), Outcome::Done);
    EXPECT_EQ(asker.asked.size(), 2u);
}

// A file whose bytes did not change has not changed: touched, or written again with the
// same bytes, it asks nothing.
TEST_F(CKnowledgeBaseTest, AFileWithTheSameBytesHasNotChanged) {
    WriteKnowledgeBase(m_Set, 3, {1});
    AcquisitionSession drosk;
    ASSERT_EQ(drosk.Load(m_Set), Outcome::Done);
    const struct timespec later[2] = {{0, UTIME_NOW}, {0, UTIME_NOW}};
    ASSERT_EQ(::utimensat(AT_FDCWD, m_Data.c_str(), later, 0), 0);
    ASSERT_TRUE(kb::WriteFileAtomically(m_Set, Slurp(m_Set)));
    Asker asker;
    EXPECT_EQ(drosk.Save(testsupport::Records({1, 2}, Tags(3)), asker.Ask()), Outcome::Done);
    EXPECT_TRUE(asker.asked.empty());
}

// While a save writes, no other program's save or load can come between; while it asks
// the user, it holds no lock, so no other program waits on its question.
TEST_F(CKnowledgeBaseTest, TheLockIsHeldWhileWritingAndNotWhileAsking) {
    WriteKnowledgeBase(m_Set, 3, {1});
    AcquisitionSession drosk;
    ASSERT_EQ(drosk.Load(m_Set), Outcome::Done);
    ASSERT_TRUE(kb::WriteFileAtomically(m_Data, Slurp(m_Data) + "[R9]\r\n"));

    int probes = 0;
    kb::CKnowledgeBase::SetStepHook([&](Step step) {
        if (step != Step::Sealed) {
            return;
        }
        ++probes;
        const kb::KnowledgeBaseLock save(m_Set, kb::KnowledgeBaseLock::Mode::Save, 0ms);
        EXPECT_TRUE(save.Busy()) << "another save came between the check and the write";
        const kb::KnowledgeBaseLock load(m_Set, kb::KnowledgeBaseLock::Mode::Load, 0ms);
        EXPECT_TRUE(load.Busy()) << "a load could read the files half saved";
    });
    const auto yes = testsupport::YesAtMost(1);
    const auto outcome = drosk.Save(testsupport::Records({1}, Tags(3)), [&](const Question& q) {
        const kb::KnowledgeBaseLock other(m_Set, kb::KnowledgeBaseLock::Mode::Save, 0ms);
        EXPECT_TRUE(other.Held()) << "the lock was held while the user was asked";
        return yes(q);
    });
    EXPECT_EQ(outcome, Outcome::Done);
    EXPECT_EQ(probes, 1);
}

// While another program saves, a save waits; too long, and it writes nothing and says so.
// A load that cannot share the lock says so too, reads nothing and keeps what was open.
TEST_F(CKnowledgeBaseTest, BusyWhileAnotherProgramSaves) {
    WriteKnowledgeBase(m_Set, 3, {1});
    AcquisitionSession drosk;
    ASSERT_EQ(drosk.Load(m_Set), Outcome::Done);
    const std::string other = m_Dir.File("other.qst");
    WriteKnowledgeBase(other, 2, {1, 2});
    drosk.base.SetLockWait(50ms);
    const std::string data = Slurp(m_Data);
    const kb::KnowledgeBaseLock saving(m_Set);
    ASSERT_TRUE(saving.Locked());
    EXPECT_EQ(drosk.Save(testsupport::Records({2}, Tags(3)), testsupport::YesAtMost(3)),
              Outcome::Busy);
    EXPECT_EQ(Slurp(m_Data), data);

    kb::CKnowledgeBase::Contents contents;
    contents.questions = testsupport::Questions({"kept"});
    EXPECT_EQ(drosk.base.Open(other, contents), Outcome::Busy);
    EXPECT_EQ(drosk.base.LastFailure().why, "Another program is saving this knowledge base.");
    ASSERT_EQ(contents.questions.size(), 1u) << "nothing was read";
    EXPECT_EQ(drosk.base.QuestionSetPath(), m_Set) << "the knowledge base open stays";
    EXPECT_EQ(kb::g_NumQuestions, 3);
}

// A data file that cannot be deleted is reported with its reason.
TEST_F(CKnowledgeBaseTest, ADataFileThatCannotBeDeletedSaysWhy) {
    WriteKnowledgeBase(m_Set, 3, {});
    fs::remove(m_Data);
    fs::create_directory(m_Data); // not a file: no program can delete it as one
    AcquisitionSession drosk;
    ASSERT_EQ(drosk.Load(m_Set), Outcome::Done);
    EXPECT_FALSE(drosk.contents.dataFileReadable);
    const auto yes = testsupport::YesAtMost(1);
    EXPECT_EQ(drosk.Save({}, [&yes](const Question& q) { return q.dataFilePartlyRead && yes(q); }),
              Outcome::Failed);
    EXPECT_EQ(drosk.base.LastFailure().file, Which::DataFile);
    EXPECT_EQ(drosk.base.LastFailure().path, m_Data);
    EXPECT_EQ(drosk.base.LastFailure().why, "Is a directory.");
    EXPECT_TRUE(fs::is_directory(m_Data));
}

// A load that a save crosses reads again: in a folder that never had a lock file the load
// takes none, so another program's save may land between its reads of the two files. What
// it loads, and the stamps it keeps, are of one pair: the one read last.
TEST_F(CKnowledgeBaseTest, ALoadCrossedByASaveReadsOnePair) {
    WriteKnowledgeBase(m_Set, 3, {1, 2});
    ASSERT_FALSE(fs::exists(m_Dir.File(kb::KnowledgeBaseLock::kFileName)));
    for (const Program program : {Program::Consultation, Program::Acquisition}) {
        SCOPED_TRACE(static_cast<int>(program));
        WriteKnowledgeBase(m_Set, 3, {1, 2});
        bool crossed = false;
        kb::CKnowledgeBase::SetStepHook([&](Step step) {
            if (step == Step::QuestionSetRead && !crossed) {
                crossed = true; // another program saves four questions over new records
                WriteKnowledgeBase(m_Set, 4, {1, 2, 3}, 11);
            }
        });
        kb::CKnowledgeBase base(program);
        kb::CKnowledgeBase::Contents contents;
        ASSERT_EQ(base.Open(m_Set, contents), Outcome::Done);
        kb::CKnowledgeBase::SetStepHook({});
        EXPECT_TRUE(crossed);
        EXPECT_EQ(testsupport::MeaningOf(contents), Expected({1, 2, 3}, 4, 11));
        EXPECT_EQ(kb::g_NumQuestions, 4);
        if (program == Program::Acquisition) {
            kb::CKnowledgeBase::Plan plan;
            plan.data = kb::CKnowledgeBase::Plan::Data::Write;
            plan.records = &contents.records;
            Asker asker;
            EXPECT_EQ(base.Save(plan, asker.Ask()), Outcome::Done);
            EXPECT_TRUE(asker.asked.empty()) << "the stamps are of the pair it read";
        }
    }
}

// Mirel never mends: while a save of two files holds the lock it waits, and says another
// program is saving; once that save is cut short it refuses the knowledge base, changing
// nothing, until Halvet or Drosk completes it.
TEST_F(CKnowledgeBaseTest, MirelRefusesAKnowledgeBaseHalfSaved) {
    WriteKnowledgeBase(m_Set, 3, {1, 2});
    int stopped[2];
    ASSERT_EQ(::pipe(stopped), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        static int s_Told;
        s_Told = stopped[1];
        kb::CKnowledgeBase::SetStepHook([](Step step) {
            if (step == Step::Placed) {
                const char byte = 'p';
                [[maybe_unused]] const auto n = ::write(s_Told, &byte, 1);
                ::pause(); // until killed, holding the lock, half way
            }
        });
        kb::CKnowledgeBase halvet(Program::Editor);
        kb::CKnowledgeBase::Contents contents;
        halvet.Open(m_Set, contents);
        const kb::RecordArray records = testsupport::Records({1, 2}, Tags(4, 11));
        kb::CKnowledgeBase::Plan plan;
        plan.questionSet = testsupport::QuestionSetBytes(Wordings(4, 11));
        plan.data = kb::CKnowledgeBase::Plan::Data::Write;
        plan.records = &records;
        halvet.Save(plan, testsupport::YesAtMost(3));
        ::_exit(2);
    }
    ::close(stopped[1]);
    char byte = 0;
    ASSERT_EQ(::read(stopped[0], &byte, 1), 1) << "the save never got half way";
    ::close(stopped[0]);

    kb::CKnowledgeBase mirel(Program::Consultation);
    mirel.SetLockWait(100ms);
    kb::CKnowledgeBase::Contents contents;
    EXPECT_EQ(mirel.Open(m_Set, contents), Outcome::Busy);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);

    const std::string set = Slurp(m_Set);
    const std::string data = Slurp(m_Data);
    EXPECT_EQ(mirel.Open(m_Set, contents), Outcome::HalfSaved);
    EXPECT_TRUE(contents.questions.empty());
    EXPECT_EQ(Slurp(m_Set), set);
    EXPECT_EQ(Slurp(m_Data), data);
    EXPECT_TRUE(fs::exists(m_Dir.File(kb::SaveJournal::kFileName)));

    AcquisitionSession drosk;
    ASSERT_EQ(drosk.Load(m_Set), Outcome::Done);
    EXPECT_EQ(drosk.base.LastMending(), kb::CKnowledgeBase::Mending::Completed);
    EXPECT_EQ(testsupport::MeaningOf(drosk.contents), Expected({1, 2}, 4, 11));
    ASSERT_EQ(mirel.Open(m_Set, contents), Outcome::Done);
    EXPECT_EQ(testsupport::MeaningOf(contents), Expected({1, 2}, 4, 11));
}

// A save cut short is also found by the next save: it is completed first, and what it
// changed is then asked about as any change on disk is.
TEST_F(CKnowledgeBaseTest, ASaveCompletesASaveCutShortBeforeItLooks) {
    WriteKnowledgeBase(m_Set, 3, {1});
    AcquisitionSession drosk;
    ASSERT_EQ(drosk.Load(m_Set), Outcome::Done);
    ASSERT_TRUE(testsupport::LeaveHalfSaved(m_Set, Wordings(4, 11), {1, 2}, Tags(4, 11)));
    Asker asker;
    EXPECT_EQ(drosk.Save(testsupport::Records({1}, Tags(3)), asker.Ask()), Outcome::Declined);
    EXPECT_EQ(drosk.base.LastMending(), kb::CKnowledgeBase::Mending::Completed);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_TRUE(asker.asked[0].questionSetChanged);
    EXPECT_TRUE(asker.asked[0].dataFileChanged);
    EXPECT_EQ(testsupport::ReadKnowledgeBase(m_Set).meaning, Expected({1, 2}, 4, 11));
}

// Drosk's save of its one file killed at each step: the data file is the old or the new
// one, whole, and nothing of the save is left once Drosk opens the knowledge base again.
TEST_F(CKnowledgeBaseTest, ADroskSaveCutShortLeavesOneDataFile) {
    for (const Step step : {Step::Sealed, Step::Placed}) {
        SCOPED_TRACE(static_cast<int>(step));
        WriteKnowledgeBase(m_Set, 3, {1});
        const pid_t child = ::fork();
        if (child == 0) {
            static Step s_Step;
            s_Step = step;
            kb::CKnowledgeBase::SetStepHook([](Step reached) {
                if (reached == s_Step) {
                    ::raise(SIGKILL);
                }
            });
            AcquisitionSession drosk;
            drosk.Load(m_Set);
            drosk.Save(testsupport::Records({1, 2}, Tags(3)), testsupport::YesAtMost(3));
            ::_exit(2);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the save never got there";
        AcquisitionSession drosk;
        ASSERT_EQ(drosk.Load(m_Set), Outcome::Done);
        EXPECT_EQ(testsupport::MeaningOf(drosk.contents),
                  step == Step::Sealed ? Expected({1}, 3) : Expected({1, 2}, 3));
        EXPECT_EQ(drosk.base.LastMending(), step == Step::Sealed
                                                ? kb::CKnowledgeBase::Mending::Dropped
                                                : kb::CKnowledgeBase::Mending::None);
        std::vector<std::string> entries;
        for (const auto& e : fs::directory_iterator(m_Dir.Path())) {
            entries.push_back(e.path().filename().string());
        }
        std::sort(entries.begin(), entries.end());
        EXPECT_EQ(entries, (std::vector<std::string>{".corvane.lock", "pets.dat", "pets.qst"}));
    }
}

// A knowledge base is known by the file its question set really is: opened through a link
// from another folder, it is the real set, with the data file and the lock beside it, so
// programs that reach it by two paths exclude each other.
TEST_F(CKnowledgeBaseTest, EveryPathToAKnowledgeBaseMeetsTheSameFiles) {
    fs::create_directory(m_Dir.File("real"));
    fs::create_directory(m_Dir.File("links"));
    const std::string real = m_Dir.File("real/pets.qst");
    WriteKnowledgeBase(real, 3, {1, 2});
    const std::string link = m_Dir.File("links/pets.qst");
    fs::create_symlink("../real/pets.qst", link);
    fs::create_symlink("pets.qst", m_Dir.File("links/chain.qst"));

    for (const std::string& path : {link, m_Dir.File("links/chain.qst")}) {
        AcquisitionSession drosk;
        ASSERT_EQ(drosk.Load(path), Outcome::Done);
        EXPECT_EQ(drosk.base.QuestionSetPath(), real);
        EXPECT_EQ(drosk.base.DataFilePath(), m_Dir.File("real/pets.dat"));
        EXPECT_EQ(testsupport::MeaningOf(drosk.contents), Expected({1, 2}, 3));
    }
    EXPECT_FALSE(fs::exists(m_Dir.File("links/pets.dat")));

    AcquisitionSession byLink;
    AcquisitionSession byFile;
    ASSERT_EQ(byLink.Load(link), Outcome::Done);
    ASSERT_EQ(byFile.Load(real), Outcome::Done);
    byFile.base.SetLockWait(0ms);
    Outcome crossing = Outcome::Done;
    bool crossed = false;
    kb::CKnowledgeBase::SetStepHook([&](Step step) {
        if (step == Step::Sealed && !crossed) {
            crossed = true;
            crossing = byFile.Save(testsupport::Records({3}, Tags(3)), testsupport::YesAtMost(3));
        }
    });
    EXPECT_EQ(byLink.Save(testsupport::Records({1, 2, 4}, Tags(3)), testsupport::YesAtMost(3)),
              Outcome::Done);
    EXPECT_EQ(crossing, Outcome::Busy) << "the two paths took two locks";
    EXPECT_FALSE(fs::exists(m_Dir.File("links/.corvane.lock")));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(testsupport::ReadKnowledgeBase(real).meaning, Expected({1, 2, 4}, 3));
}

// A data file that is a link leading out of the folder: one that names nothing is never
// created, and the message names the link; one that names a file is named, as the file
// that would be written, before anything is written to it.
TEST_F(CKnowledgeBaseTest, ADataFileLinkOutOfTheFolderIsNamedFirst) {
    fs::create_directory(m_Dir.File("kb"));
    fs::create_directory(m_Dir.File("outside"));
    const std::string set = m_Dir.File("kb/x.qst");
    const std::string data = m_Dir.File("kb/x.dat");
    const std::string outside = m_Dir.File("outside/new.txt");
    ASSERT_TRUE(kb::WriteFileAtomically(set, testsupport::QuestionSetBytes(Wordings(3))));
    fs::create_symlink("../outside/new.txt", data);

    AcquisitionSession drosk;
    ASSERT_EQ(drosk.Load(set), Outcome::Done);
    Asker asker;
    asker.yes = true;
    EXPECT_EQ(drosk.Save(testsupport::Records({1}, Tags(3)), asker.Ask()), Outcome::Failed);
    EXPECT_EQ(drosk.base.LastFailure().file, Which::DataFile);
    EXPECT_EQ(drosk.base.LastFailure().path, data);
    EXPECT_NE(drosk.base.LastFailure().why.find(outside), std::string::npos);
    EXPECT_FALSE(fs::exists(outside));

    ASSERT_TRUE(kb::WriteFileAtomically(outside, "a stranger's file"));
    asker.yes = false;
    EXPECT_EQ(drosk.Save(testsupport::Records({1}, Tags(3)), asker.Ask()), Outcome::Declined);
    ASSERT_FALSE(asker.asked.empty());
    EXPECT_TRUE(asker.asked.back().dataFileElsewhere);
    EXPECT_EQ(asker.asked.back().dataFile, outside);
    EXPECT_EQ(Slurp(outside), "a stranger's file");
    EXPECT_EQ(drosk.base.DataFileTarget(), outside);
}

// Runs act in a child process as an ordinary user (nobody), as another user of a shared
// folder would; its exit code is act's. Only root can become another user.
int AsAnotherUser(const std::function<int()>& act) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
            ::_exit(99);
        }
        ::_exit(act());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The lock file serves every user of a shared folder whatever the umask of the one who
// made it; one that cannot be opened, and a folder that cannot be written, are named in
// the failure with the reason.
TEST_F(CKnowledgeBaseTest, TheLockFileAndTheFolderAreNamedWhenTheyStopASave) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to act as another user";
    }
    fs::permissions(m_Dir.Path(), fs::perms::all);
    WriteKnowledgeBase(m_Set, 3, {1});
    fs::permissions(m_Data, fs::perms::all);
    const mode_t mask = ::umask(077);
    {
        AcquisitionSession drosk;
        ASSERT_EQ(drosk.Load(m_Set), Outcome::Done);
        EXPECT_EQ(drosk.Save(testsupport::Records({1}, Tags(3)), testsupport::YesAtMost(3)),
                  Outcome::Done);
    }
    ::umask(mask);
    const std::string lock = m_Dir.File(kb::KnowledgeBaseLock::kFileName);
    struct stat st {};
    ASSERT_EQ(::stat(lock.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666u);
    fs::permissions(m_Data, fs::perms::all);
    fs::permissions(m_Set, fs::perms::all);
    // Another user's Save Records: 0 when it saved, 1 when it failed naming the file
    // and the reason given, 2 when it failed otherwise.
    const auto saveAsNobody = [this](Which file = Which::DataFile, std::string path = {},
                                     std::string why = {}) {
        return [=, this] {
            AcquisitionSession drosk;
            if (drosk.Load(m_Set) != Outcome::Done) {
                return 3;
            }
            const auto outcome =
                drosk.Save(testsupport::Records({2}, Tags(3)), testsupport::YesAtMost(3));
            const auto& failure = drosk.base.LastFailure();
            if (outcome == Outcome::Done) {
                return 0;
            }
            return failure.file == file && failure.path == path &&
                           failure.why.find(why) != std::string::npos
                       ? 1
                       : 2;
        };
    };
    EXPECT_EQ(AsAnotherUser(saveAsNobody()), 0)
        << "another user could not save with the lock file made under umask 077";

    fs::permissions(lock, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(AsAnotherUser(saveAsNobody(Which::LockFile, lock, "Permission denied")), 1);

    fs::remove(lock);
    fs::permissions(m_Dir.Path(), fs::perms::owner_all | fs::perms::group_read |
                                      fs::perms::group_exec | fs::perms::others_read |
                                      fs::perms::others_exec);
    EXPECT_EQ(AsAnotherUser(
                  saveAsNobody(Which::Folder, m_Dir.Path().string() + "/", "Permission denied")),
              1);
}

// Stamping and opening never wait on a named pipe put in a file's place.
TEST_F(CKnowledgeBaseTest, APipeInAFilesPlaceIsNeverWaitedOn) {
    WriteKnowledgeBase(m_Set, 3, {});
    fs::remove(m_Data);
    ASSERT_EQ(::mkfifo(m_Data.c_str(), 0600), 0);
    auto done = std::async(std::launch::async, [&] {
        const kb::FileStamp stamp = kb::FileStamp::Of(m_Data);
        AcquisitionSession drosk;
        const auto outcome = drosk.Load(m_Set);
        return stamp.exists && !stamp.regular && outcome == Outcome::Done &&
               drosk.contents.skippedItems > 0 && !kb::FileExists(m_Data);
    });
    const bool waited = done.wait_for(5s) != std::future_status::ready;
    if (waited) {
        ::close(::open(m_Data.c_str(), O_WRONLY | O_NONBLOCK)); // lets the reader go
    }
    EXPECT_FALSE(waited) << "waited on the pipe";
    EXPECT_TRUE(done.get());
}

} // namespace
