#include "kb/AtomicFileWriter.h"

#include "kb/FileIO.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace kb {

namespace {

std::atomic<AtomicFileWriter::SyncFunction> g_Sync{nullptr};

int Sync(int fd) {
    const AtomicFileWriter::SyncFunction sync = g_Sync.load();
    return sync != nullptr ? sync(fd) : ::fsync(fd);
}

// A write beyond the file-size limit would otherwise end the program by SIGXFSZ in the
// middle of a save, leaving the temporary file behind; ignored, the write fails with
// EFBIG and the save reports it. A handler the program set itself is left alone.
void IgnoreFileSizeSignal() {
    struct sigaction current {};
    if (::sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        ::sigemptyset(&ignore.sa_mask);
        ::sigaction(SIGXFSZ, &ignore, nullptr);
    }
}

// A name beside the target that says whose it is: ".pets.dat.cv-" and six random letters,
// the target's name cut short where the whole would pass the longest name a folder allows.
constexpr std::size_t kLongestName = 255;
constexpr std::string_view kMark = ".cv-";
constexpr std::size_t kRandom = 6;

std::string TemporaryName(const std::string& folder, const std::string& path) {
    std::string name = path.substr(folder.size());
    name.resize(std::min(name.size(), kLongestName - 1 - kMark.size() - kRandom));
    unsigned char noise[kRandom] = {};
    if (::getrandom(noise, sizeof noise, 0) != static_cast<ssize_t>(sizeof noise)) {
        for (std::size_t i = 0; i < kRandom; ++i) {
            noise[i] = static_cast<unsigned char>(std::rand());
        }
    }
    constexpr std::string_view kLetters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string random;
    for (const unsigned char c : noise) {
        random += kLetters[c % kLetters.size()];
    }
    return folder + "." + name + std::string(kMark) + random;
}

bool ProcFdAvailable() {
    static const bool available = ::access("/proc/self/fd", X_OK) == 0;
    return available;
}

} // namespace

std::string AtomicFileWriter::TemporaryPrefix(const std::string& targetName) {
    // Built with append: GCC 12 at -O3 warns falsely of an overlap on a literal plus a string.
    std::string prefix(".");
    prefix.append(targetName, 0, kLongestName - 1 - kMark.size() - kRandom);
    prefix.append(kMark);
    return prefix;
}

void AtomicFileWriter::SetSyncFunction(SyncFunction sync) {
    g_Sync.store(sync);
}

AtomicFileWriter::AtomicFileWriter(const std::string& path) {
    IgnoreFileSizeSignal();
    if (path.empty()) {
        Fail(ENOENT);
        return;
    }
    bool dangling = false;
    m_Path = FollowLinks(path, dangling);
    if (m_Path.empty()) {
        Fail(ELOOP);
        return;
    }
    if (dangling) {
        Fail(ENOENT);
        return;
    }
    const auto slash = m_Path.rfind('/');
    m_Folder = slash == std::string::npos ? std::string() : m_Path.substr(0, slash + 1);
    struct stat target {};
    const bool targetExists = ::stat(m_Path.c_str(), &target) == 0;
    if (targetExists && !S_ISREG(target.st_mode)) {
        Fail(S_ISDIR(target.st_mode) ? EISDIR : EINVAL);
        return;
    }
    // A read-only file stays read-only, as it would on a direct write; for a program run
    // as root too, which the permission check alone would let through.
    if (targetExists && ((target.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
                         ::access(m_Path.c_str(), W_OK) != 0)) {
        Fail(EACCES);
        return;
    }
    const mode_t mode = targetExists ? (target.st_mode & 07777) : [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    // Unnamed until Commit, where the file system and /proc allow it: a save that never
    // finishes leaves nothing in the user's folder.
    if (ProcFdAvailable()) {
        const std::string folder = m_Folder.empty() ? std::string(".") : m_Folder;
        m_Fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    }
    if (m_Fd < 0) {
        for (int tries = 0; tries < 100 && m_Fd < 0; ++tries) {
            m_Temp = TemporaryName(m_Folder, m_Path);
            m_Fd = ::open(m_Temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (m_Fd < 0 && errno != EEXIST) {
                break;
            }
        }
        if (m_Fd < 0) {
            m_Temp.clear();
            Fail(errno);
            return;
        }
    }
    m_Ok = true;
    if (::fchmod(m_Fd, mode) != 0) {
        Fail(errno);
    }
}

AtomicFileWriter::~AtomicFileWriter() {
    if (m_Fd >= 0) {
        ::close(m_Fd);
    }
    if (!m_Temp.empty()) {
        ::unlink(m_Temp.c_str());
    }
}

bool AtomicFileWriter::Fail(int error) {
    if (m_Error == 0) {
        m_Error = error != 0 ? error : EIO;
    }
    m_Ok = false;
    return false;
}

bool AtomicFileWriter::Write(std::string_view bytes) {
    if (m_Ok) {
        m_Digest.Add(bytes);
        m_Size += static_cast<std::int64_t>(bytes.size());
    }
    while (m_Ok && !bytes.empty()) {
        const ssize_t n = ::write(m_Fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno != EINTR) {
                Fail(errno);
            }
            continue;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return m_Ok;
}

// The bytes reach the disk before the file takes the target's place, so a crash never
// leaves the target holding a file whose bytes were still on their way.
bool AtomicFileWriter::Seal() {
    if (m_Sealed) {
        return m_Ok;
    }
    if (!m_Ok || m_Committed) {
        return false;
    }
    // Stamped to the nanosecond, whatever steps the file system's clock keeps, so that a
    // program that stamped the file before tells this version apart.
    struct timespec now[2] = {{0, UTIME_OMIT}, {}};
    ::clock_gettime(CLOCK_REALTIME, &now[1]);
    ::futimens(m_Fd, now);
    if (Sync(m_Fd) != 0) {
        return Fail(errno);
    }
    if (m_Temp.empty() && !GiveTemporaryAName()) {
        return false;
    }
    const int closed = ::close(m_Fd);
    m_Fd = -1;
    m_Sealed = true;
    return closed == 0 || Fail(errno);
}

bool AtomicFileWriter::GiveTemporaryAName() {
    const std::string self = "/proc/self/fd/" + std::to_string(m_Fd);
    for (int tries = 0; tries < 100; ++tries) {
        const std::string name = TemporaryName(m_Folder, m_Path);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            m_Temp = name;
            return true;
        }
        if (errno != EEXIST) {
            return Fail(errno);
        }
    }
    return Fail(EEXIST);
}

void AtomicFileWriter::SyncFolder(const std::string& folder) {
    // Makes the new names in it durable; some file systems cannot flush a folder, which is
    // no reason to call a save failed.
    const FileDescriptor fd(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.IsOpen()) {
        Sync(fd.Get());
    }
}

void AtomicFileWriter::Placed() {
    if (m_Sealed && m_Ok) {
        m_Temp.clear();
        m_Committed = true;
    }
}

bool AtomicFileWriter::Commit() {
    if (!Seal() || m_Committed) {
        return false;
    }
    if (::rename(m_Temp.c_str(), m_Path.c_str()) != 0) {
        return Fail(errno);
    }
    m_Temp.clear(); // it is the target now
    m_Committed = true;
    SyncFolder(m_Folder);
    return true;
}

} // namespace kb
