#include "kb/AtomicFileWriter.h"
#include "kb/DataFileWriter.h"
#include "kb/FileIO.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/resource.h>
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

// A link whose file does not exist yet (a knowledge base moved, or not yet made) is saved
// through: the file it names is created and the link stays a link.
TEST(AtomicFileWriter, ADanglingLinkIsSavedThroughToItsTarget) {
    kbtest::ScratchDir dir;
    fs::create_directory(dir.File("real"));
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

    // Links that lead round in a circle name no file: refused, nothing made.
    fs::create_symlink("loop2.dat", dir.File("loop1.dat"));
    fs::create_symlink("loop1.dat", dir.File("loop2.dat"));
    EXPECT_FALSE(kb::WriteFileAtomically(dir.File("loop1.dat"), "x"));
    EXPECT_EQ(EntriesIn(dir.Path()).size(), 6u);
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

} // namespace
