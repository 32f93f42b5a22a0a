#include "kb/KnowledgeBaseLock.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using kb::KnowledgeBaseLock;
using Mode = KnowledgeBaseLock::Mode;
using namespace std::chrono_literals;

// Another program, in a child process, holding the folder's lock in mode until it reads a
// byte from the pipe it is given; it says it holds it by writing one back.
class OtherProgram {
public:
    OtherProgram(const std::string& file, Mode mode) {
        int toChild[2];
        int toParent[2];
        if (::pipe(toChild) != 0 || ::pipe(toParent) != 0) {
            return;
        }
        m_Pid = ::fork();
        if (m_Pid == 0) {
            ::close(toChild[1]);
            ::close(toParent[0]);
            const KnowledgeBaseLock lock(file, mode, 0ms);
            const char held = lock.Held() ? 'y' : 'n';
            char go = 0;
            const bool talked =
                ::write(toParent[1], &held, 1) == 1 && ::read(toChild[0], &go, 1) == 1;
            ::_exit(talked ? 0 : 1);
        }
        ::close(toChild[0]);
        ::close(toParent[1]);
        m_Go = toChild[1];
        char held = 0;
        m_Held = ::read(toParent[0], &held, 1) == 1 && held == 'y';
        ::close(toParent[0]);
    }
    ~OtherProgram() { Finish(); }
    bool Held() const { return m_Held; }
    void Finish() {
        if (m_Pid > 0) {
            const char go = 'g';
            [[maybe_unused]] const auto sent = ::write(m_Go, &go, 1);
            ::close(m_Go);
            ::waitpid(m_Pid, nullptr, 0);
            m_Pid = -1;
        }
    }

private:
    pid_t m_Pid = -1;
    int m_Go = -1;
    bool m_Held = false;
};

// A save waits for another program's save, and gives up after its wait; loads share the
// lock with each other but not with a save. A load never makes the lock file.
TEST(KnowledgeBaseLock, SavesExcludeEachOtherAndLoads) {
    kbtest::ScratchDir dir;
    const auto set = dir.File("pets.qst");
    {
        const KnowledgeBaseLock load(set, Mode::Load, 0ms);
        EXPECT_TRUE(load.Held());
        EXPECT_FALSE(std::filesystem::exists(dir.File(KnowledgeBaseLock::kFileName)));
    }
    {
        OtherProgram other(set, Mode::Save);
        ASSERT_TRUE(other.Held());
        const KnowledgeBaseLock save(set, Mode::Save, 100ms);
        EXPECT_FALSE(save.Held());
        EXPECT_TRUE(save.Busy());
        const KnowledgeBaseLock load(set, Mode::Load, 100ms);
        EXPECT_FALSE(load.Held()) << "a load never sees half a save";
        other.Finish();
        const KnowledgeBaseLock after(set, Mode::Save, 100ms);
        EXPECT_TRUE(after.Held());
    }
    {
        OtherProgram reader(set, Mode::Load);
        ASSERT_TRUE(reader.Held());
        EXPECT_TRUE(KnowledgeBaseLock(set, Mode::Load, 0ms).Held());
        EXPECT_TRUE(KnowledgeBaseLock(set, Mode::Save, 100ms).Busy());
    }
}

// Something other than a regular file in the lock's place is refused at once, never waited
// on; a folder that cannot be written in says why.
TEST(KnowledgeBaseLock, APipeInItsPlaceIsRefusedAtOnce) {
    kbtest::ScratchDir dir;
    ASSERT_EQ(::mkfifo(dir.File(KnowledgeBaseLock::kFileName).c_str(), 0644), 0);
    const KnowledgeBaseLock save(dir.File("pets.qst"), Mode::Save, 0ms);
    EXPECT_FALSE(save.Held());
    EXPECT_FALSE(save.Busy());
    const KnowledgeBaseLock missing(dir.File("no such folder/pets.qst"), Mode::Save, 0ms);
    EXPECT_FALSE(missing.Held());
    EXPECT_EQ(missing.Error(), ENOENT);
}

} // namespace
