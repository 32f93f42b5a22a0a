#include "kb/AtomicFileWriter.h"
#include "kb/DataFileWriter.h"
#include "kb/FileIO.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> EntriesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Runs save in a child process under a file-size limit of limit bytes, as a fresh program
// would meet it (the signal at its default). The child's exit code is 0 when save returned
// false, 1 when it returned true; a child the signal ended never exits at all.
int SaveUnderSizeLimit(rlim_t limit, const std::function<bool()>& save) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_DFL);
        const rlimit small{limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &small) != 0)
            ::_exit(2);
        ::_exit(save() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFSIGNALED(status))
        return -WTERMSIG(status);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1000;
}

// A save beyond the file-size limit fails and reports it; the old file stays whole and no
// temporary file is left beside it.
TEST(AtomicFileWriter, AWriteBeyondTheSizeLimitFailsCleanly) {
    kbtest::ScratchDir dir;
    const auto path = dir.File("big.dat");
    kbtest::Spit(path, "old");
    const std::string tooBig(64 * 1024, 'x');
    EXPECT_EQ(SaveUnderSizeLimit(4096, [&] { return kb::WriteFileAtomically(path, tooBig); }), 0);
    EXPECT_EQ(kbtest::Slurp(path), "old");
    EXPECT_EQ(EntriesIn(dir.Path()), std::vector<std::string>{"big.dat"});

    // The data file writer, which writes in pieces, likewise.
    kb::g_NumQuestions = 200;
    kb::RecordArray records;
    for (int i = 0; i < 20; ++i)
        records.push_back(std::make_shared<kb::CRecord>());
    kb::g_NumQuestions = 0;
    EXPECT_EQ(
        SaveUnderSizeLimit(16 * 1024, [&] { return kb::DataFileWriter().Save(records, path); }), 0);
    EXPECT_EQ(kbtest::Slurp(path), "old");
    EXPECT_EQ(EntriesIn(dir.Path()), std::vector<std::string>{"big.dat"});
    // Within the limit the same save succeeds.
    EXPECT_EQ(SaveUnderSizeLimit(4096, [&] { return kb::WriteFileAtomically(path, "new"); }), 1);
    EXPECT_EQ(kbtest::Slurp(path), "new");
}

// A save through links writes the file they end at, and the links stay links. A link
// whose file does not exist (a knowledge base unpacked from elsewhere, whose data file
// names a place outside it) is refused: no file is made where the user never chose.
TEST(AtomicFileWriter, ALinkIsSavedThroughOnlyToAFileThatIsThere) {
    kbtest::ScratchDir dir;
    fs::create_directory(dir.File("real"));
    kbtest::Spit(dir.File("real/abs.dat"), "old");
    kbtest::Spit(dir.File("real/rel.dat"), "old");
    fs::create_symlink(dir.File("real/abs.dat"), dir.File("abs.dat"));
    fs::create_symlink("real/rel.dat", dir.File("rel.dat"));
    fs::create_symlink("rel.dat", dir.File("chain.dat")); // chain -> rel -> real/rel.dat
    ASSERT_TRUE(kb::WriteFileAtomically(dir.File("abs.dat"), "absolute"));
    ASSERT_TRUE(kb::WriteFileAtomically(dir.File("chain.dat"), "chained"));
    for (const char* link : {"abs.dat", "rel.dat", "chain.dat"})
        EXPECT_TRUE(fs::is_symlink(dir.File(link))) << link;
    EXPECT_EQ(kbtest::Slurp(dir.File("real/abs.dat")), "absolute");
    EXPECT_EQ(kbtest::Slurp(dir.File("real/rel.dat")), "chained");
    EXPECT_EQ(EntriesIn(dir.File("real")), (std::vector<std::string>{"abs.dat", "rel.dat"}));

    fs::create_directory(dir.File("outside"));
    fs::create_symlink("outside/new.txt", dir.File("out.dat"));
    fs::create_symlink("real/missing.dat", dir.File("missing.dat"));
    for (const char* link : {"out.dat", "missing.dat"}) {
        kb::AtomicFileWriter writer(dir.File(link));
        EXPECT_FALSE(writer.Write("x") && writer.Commit()) << link;
        EXPECT_EQ(writer.Error(), ENOENT) << link;
    }
    EXPECT_TRUE(EntriesIn(dir.File("outside")).empty());
    EXPECT_EQ(EntriesIn(dir.File("real")), (std::vector<std::string>{"abs.dat", "rel.dat"}));

    // Links that lead round in a circle name no file: refused, nothing made.
    fs::create_symlink("loop2.dat", dir.File("loop1.dat"));
    fs::create_symlink("loop1.dat", dir.File("loop2.dat"));
    EXPECT_FALSE(kb::WriteFileAtomically(dir.File("loop1.dat"), "x"));
    EXPECT_EQ(EntriesIn(dir.Path()).size(), 9u);
}

// The temporary name does not grow with the target's, so the longest names a folder
// allows save too.
TEST(AtomicFileWriter, NamesUpToTheLongestAllowedSave) {
    kbtest::ScratchDir dir;
    for (const std::size_t length : {std::size_t{255}, std::size_t{250}, std::size_t{5}}) {
        const std::string name = std::string(length - 4, 'n') + ".dat";
        const auto path = dir.File(name);
        ASSERT_TRUE(kb::WriteFileAtomically(path, "first")) << length;
        ASSERT_TRUE(kb::WriteFileAtomically(path, "second")) << length;
        EXPECT_EQ(kbtest::Slurp(path), "second");
        EXPECT_EQ(EntriesIn(dir.Path()), std::vector<std::string>{name});
        fs::remove(path);
    }
    EXPECT_FALSE(kb::WriteFileAtomically(dir.File(std::string(256, 'n')), "x"));
    EXPECT_TRUE(EntriesIn(dir.Path()).empty());
}

// A save killed part way (a crash, kill -9, power loss) leaves nothing in the user's
// folder: the new file has no name until it takes the target's.
TEST(AtomicFileWriter, ASaveKilledPartWayLeavesNothingBehind) {
    kbtest::ScratchDir dir;
    const auto path = dir.File("pets.dat");
    kbtest::Spit(path, "old");
    const pid_t child = ::fork();
    if (child == 0) {
        kb::AtomicFileWriter writer(path);
        writer.Write(std::string(1 << 20, 'x'));
        ::raise(SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(kbtest::Slurp(path), "old");
    EXPECT_EQ(EntriesIn(dir.Path()), std::vector<std::string>{"pets.dat"});
}

// A save of two files seals both before either takes its place: a sealed file is whole and
// flushed under its temporary name beside the target, which it has not touched; a writer
// dropped after sealing takes it away again, and one told that its file was put in place
// leaves it.
TEST(AtomicFileWriter, ASealedFileWaitsBesideTheTarget) {
    kbtest::ScratchDir dir;
    const auto path = dir.File("pets.qst");
    kbtest::Spit(path, "old");
    {
        kb::AtomicFileWriter writer(path);
        ASSERT_TRUE(writer.Write("new"));
        ASSERT_TRUE(writer.Seal());
        EXPECT_EQ(kbtest::Slurp(path), "old");
        const std::string waiting = fs::path(writer.TemporaryPath()).filename().string();
        EXPECT_TRUE(waiting.starts_with(kb::AtomicFileWriter::TemporaryPrefix("pets.qst")))
            << waiting;
        EXPECT_EQ(kbtest::Slurp(writer.TemporaryPath()), "new");
        EXPECT_EQ(writer.WrittenSize(), 3);
    }
    EXPECT_EQ(EntriesIn(dir.Path()), std::vector<std::string>{"pets.qst"});
    {
        kb::AtomicFileWriter writer(path);
        ASSERT_TRUE(writer.Write("moved"));
        ASSERT_TRUE(writer.Seal());
        ASSERT_EQ(::rename(writer.TemporaryPath().c_str(), path.c_str()), 0);
        writer.Placed();
    }
    EXPECT_EQ(kbtest::Slurp(path), "moved");
    EXPECT_EQ(EntriesIn(dir.Path()), std::vector<std::string>{"pets.qst"});
    kb::AtomicFileWriter writer(path);
    ASSERT_TRUE(writer.Write("committed"));
    ASSERT_TRUE(writer.Seal());
    ASSERT_TRUE(writer.Commit());
    EXPECT_EQ(kbtest::Slurp(path), "committed");
    EXPECT_EQ(EntriesIn(dir.Path()), std::vector<std::string>{"pets.qst"});
}

// What the sync seam saw: whether it flushed a folder, and what the target held then.
struct SyncSeen {
    bool folder;
    std::string target;
};
std::vector<SyncSeen> g_Syncs;
std::string g_Target;

// The bytes reach the disk before the new file takes the target's place, and its name
// after: a crash never leaves the target naming a file whose bytes were still on their way.
TEST(AtomicFileWriter, TheFileIsFlushedBeforeItsRenameAndTheFolderAfter) {
    kbtest::ScratchDir dir;
    g_Target = dir.File("pets.dat");
    kbtest::Spit(g_Target, "old");
    g_Syncs.clear();
    kb::AtomicFileWriter::SetSyncFunction([](int fd) {
        struct stat st {};
        ::fstat(fd, &st);
        g_Syncs.push_back({S_ISDIR(st.st_mode), kbtest::Slurp(g_Target)});
        return ::fsync(fd);
    });
    const bool saved = kb::WriteFileAtomically(g_Target, "new");
    kb::AtomicFileWriter::SetSyncFunction(nullptr);
    ASSERT_TRUE(saved);
    ASSERT_EQ(g_Syncs.size(), 2u);
    EXPECT_FALSE(g_Syncs[0].folder);
    EXPECT_EQ(g_Syncs[0].target, "old") << "the file is flushed before it takes its place";
    EXPECT_TRUE(g_Syncs[1].folder);
    EXPECT_EQ(g_Syncs[1].target, "new") << "the folder is flushed after";

    // A flush that fails fails the save, and the target stays.
    kb::AtomicFileWriter::SetSyncFunction([](int) {
        errno = EIO;
        return -1;
    });
    kb::AtomicFileWriter writer(g_Target);
    EXPECT_TRUE(writer.Write("newer"));
    EXPECT_FALSE(writer.Commit());
    EXPECT_EQ(writer.Error(), EIO);
    kb::AtomicFileWriter::SetSyncFunction(nullptr);
    EXPECT_EQ(kbtest::Slurp(g_Target), "new");
}

// A read-only file stays as it is, also for a program run as root (as CI runs), which
// the permission check alone lets write anything.
TEST(AtomicFileWriter, AReadOnlyFileIsNotReplaced) {
    kbtest::ScratchDir dir;
    const auto path = dir.File("pets.dat");
    kbtest::Spit(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    kb::AtomicFileWriter writer(path);
    EXPECT_FALSE(writer.Write("new"));
    EXPECT_FALSE(writer.Commit());
    EXPECT_EQ(writer.Error(), EACCES);
    EXPECT_EQ(kbtest::Slurp(path), "old");
    EXPECT_EQ(EntriesIn(dir.Path()), std::vector<std::string>{"pets.dat"});
}

} // namespace
