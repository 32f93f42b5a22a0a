#include "kb/FileIO.h"
#include "kb/FileStamp.h"
#include "kb/Utilities.h"

#include "kb/AtomicFileWriter.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::size_t EntriesIn(const fs::path& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(FileIO, ReadWholeFileTakesEveryByte) {
    kbtest::ScratchDir dir;
    const std::string bytes("a\0\r\n\xB8\xFF", 6);
    kbtest::Spit(dir.File("f"), bytes);
    std::string read;
    ASSERT_TRUE(kb::ReadWholeFile(dir.File("f"), read));
    EXPECT_EQ(read, bytes);
    kbtest::Spit(dir.File("empty"), "");
    ASSERT_TRUE(kb::ReadWholeFile(dir.File("empty"), read));
    EXPECT_EQ(read, "");
    EXPECT_FALSE(kb::ReadWholeFile(dir.File("missing"), read));
    EXPECT_FALSE(kb::ReadWholeFile(dir.Path().string(), read));
}

// A named pipe chosen as a question set or data file must be refused, not waited on: opening
// it for reading would block until some other program opened it for writing.
TEST(FileIO, ReadersRefuseANamedPipeAtOnce) {
    kbtest::ScratchDir dir;
    const std::string pipe = dir.File("set.qst");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const bool onlyLook : {false, true}) {
        auto reading = std::async(std::launch::async, [&pipe, onlyLook] {
            std::string read;
            return onlyLook ? kb::FileExists(pipe) : kb::ReadWholeFile(pipe, read);
        });
        if (reading.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
            // Free the blocked reader so that the test can end.
            const int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0)
                ::close(writer);
            ADD_FAILURE() << "reading a named pipe blocked";
        }
        EXPECT_FALSE(reading.get());
    }
}

TEST(FileIO, WriteReplacesTheFileAndLeavesNoTemporary) {
    kbtest::ScratchDir dir;
    const auto path = dir.File("out.dat");
    ASSERT_TRUE(kb::WriteFileAtomically(path, "first"));
    ASSERT_TRUE(kb::WriteFileAtomically(path, "second\r\n"));
    EXPECT_EQ(kbtest::Slurp(path), "second\r\n");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

TEST(FileIO, WriteKeepsTheTargetsPermissions) {
    kbtest::ScratchDir dir;
    const auto path = dir.File("out.dat");
    kbtest::Spit(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(kb::WriteFileAtomically(path, "new"));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// A file reached through a symbolic link (a knowledge base kept elsewhere) is itself
// replaced; the link stays a link.
TEST(FileIO, WriteThroughALinkReplacesTheFileLinkedTo) {
    kbtest::ScratchDir dir;
    fs::create_directory(dir.File("real"));
    const std::string target = dir.File("real/set.qst");
    kbtest::Spit(target, "old");
    fs::create_symlink(target, dir.File("set.qst"));
    ASSERT_TRUE(kb::WriteFileAtomically(dir.File("set.qst"), "new"));
    EXPECT_TRUE(fs::is_symlink(dir.File("set.qst")));
    EXPECT_EQ(kbtest::Slurp(target), "new");
    EXPECT_EQ(EntriesIn(dir.File("real")), 1u);
}

TEST(FileIO, FailedWriteLeavesNothingBehind) {
    kbtest::ScratchDir dir;
    EXPECT_FALSE(kb::WriteFileAtomically(dir.File("no/such/folder.dat"), "x"));
    EXPECT_FALSE(kb::WriteFileAtomically("", "x"));
    fs::create_directory(dir.File("folder"));
    EXPECT_FALSE(kb::WriteFileAtomically(dir.File("folder"), "x"));
    EXPECT_TRUE(fs::is_directory(dir.File("folder")));
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

} // namespace

TEST(FileIO, AtomicWriterLeavesTheTargetUntilCommit) {
    kbtest::ScratchDir dir;
    const auto path = dir.File("out.dat");
    ASSERT_TRUE(kb::WriteFileAtomically(path, "old"));
    {
        kb::AtomicFileWriter writer(path);
        ASSERT_TRUE(writer.Write("new "));
        ASSERT_TRUE(writer.Write("bytes"));
        EXPECT_EQ(kbtest::Slurp(path), "old");
    } // abandoned: no commit
    EXPECT_EQ(kbtest::Slurp(path), "old");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);

    kb::AtomicFileWriter writer(path);
    ASSERT_TRUE(writer.Write("new "));
    ASSERT_TRUE(writer.Write("bytes"));
    ASSERT_TRUE(writer.Commit());
    EXPECT_EQ(kbtest::Slurp(path), "new bytes");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

// Another program's save is told apart even when the file system gives the new file the
// old one's inode and time (inode numbers are soon reused, and times kept in coarse steps):
// by the bytes for a file of usual size, by a time to the nanosecond that our saves set.
TEST(FileIO, AStampTellsTwoVersionsApartWhenInodeSizeAndTimeAgree) {
    kbtest::ScratchDir dir;
    const auto path = dir.File("pets.qst");
    kbtest::Spit(path, "first");
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    const kb::FileStamp first = kb::FileStamp::Of(path);
    kbtest::Spit(path, "other"); // same inode, same size
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    const kb::FileStamp second = kb::FileStamp::Of(path);
    EXPECT_EQ(second.inode, first.inode);
    EXPECT_EQ(second.modifiedNs, first.modifiedNs);
    EXPECT_NE(second, first);
    EXPECT_EQ(kb::FileStamp::Of(path), second) << "the same version, the same stamp";

    // A save sets the time to the nanosecond.
    ASSERT_TRUE(kb::WriteFileAtomically(path, "third"));
    const kb::FileStamp third = kb::FileStamp::Of(path);
    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    EXPECT_LE(now - third.modifiedNs, 5'000'000'000);
    EXPECT_FALSE(kb::FileStamp::Of(dir.File("missing")).exists);
}

// A sparse file's holes are stamped without being read: the stamp still tells a change of
// its data, and leaves the descriptor's offset where it was.
TEST(FileIO, ASparseFileIsStampedByItsDataAndItsHoles) {
    kbtest::ScratchDir dir;
    const auto path = dir.File("sparse.dat");
    const auto write = [&path](off_t at, const std::string& bytes) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), at), static_cast<ssize_t>(bytes.size()));
        ::close(fd);
    };
    write(0, "[CAT]");
    write(off_t{64} << 20, "tail");
    const kb::FileStamp first = kb::FileStamp::Of(path);
    EXPECT_TRUE(first.digested);
    EXPECT_EQ(first.size, (std::int64_t{64} << 20) + 4);
    EXPECT_TRUE(kb::FileStamp::Of(path).SameBytes(first));

    const int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::lseek(fd, 3, SEEK_SET), 3);
    EXPECT_TRUE(kb::FileStamp::OfOpenFile(fd).SameBytes(first));
    EXPECT_EQ(::lseek(fd, 0, SEEK_CUR), 3) << "the descriptor's offset moved";
    ::close(fd);

    write(off_t{64} << 20, "TAIL");
    const kb::FileStamp changed = kb::FileStamp::Of(path);
    EXPECT_FALSE(changed.SameBytes(first));
}
