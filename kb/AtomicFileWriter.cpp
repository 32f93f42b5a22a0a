#include "kb/AtomicFileWriter.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kb {

namespace {

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

// The path a save to path must replace: path itself, or the file its chain of symbolic
// links ends at, whether that exists yet or not (renaming over a link would replace the
// link and leave the file it names unchanged). "" for a chain that loops.
std::string FollowLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            return path;
        }
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 0) + 256, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<std::size_t>(n) >= target.size()) {
            return {};
        }
        target.resize(static_cast<std::size_t>(n));
        if (!target.starts_with('/')) {
            const auto slash = path.rfind('/');
            target =
                (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + target;
        }
        path = std::move(target);
    }
    return {};
}

// The folder part of path, with its final "/", or "" for a bare name.
std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

AtomicFileWriter::AtomicFileWriter(const std::string& path) {
    IgnoreFileSizeSignal();
    if (path.empty()) {
        return;
    }
    m_Path = FollowLinks(path);
    if (m_Path.empty()) {
        return;
    }
    struct stat target {};
    const bool targetExists = ::stat(m_Path.c_str(), &target) == 0;
    if (targetExists && !S_ISREG(target.st_mode)) {
        return;
    }
    if (targetExists && ::access(m_Path.c_str(), W_OK) != 0) {
        return; // a read-only file stays read-only, as it would on a direct write
    }
    // A short name of its own, so that a target whose name is near the longest a folder
    // allows can still be saved.
    m_Temp = FolderOf(m_Path) + ".cv.XXXXXX";
    m_Fd = ::mkstemp(m_Temp.data());
    if (m_Fd < 0) {
        m_Temp.clear();
        return;
    }
    const mode_t mode = targetExists ? (target.st_mode & 07777) : [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    m_Ok = ::fchmod(m_Fd, mode) == 0;
}

AtomicFileWriter::~AtomicFileWriter() {
    if (m_Fd >= 0) {
        ::close(m_Fd);
    }
    if (!m_Temp.empty()) {
        ::unlink(m_Temp.c_str());
    }
}

bool AtomicFileWriter::Write(std::string_view bytes) {
    while (m_Ok && !bytes.empty()) {
        const ssize_t n = ::write(m_Fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno != EINTR) {
                m_Ok = false;
            }
            continue;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return m_Ok;
}

bool AtomicFileWriter::Commit() {
    if (!m_Ok) {
        return false;
    }
    m_Ok = ::fsync(m_Fd) == 0;
    m_Ok = (::close(m_Fd) == 0) && m_Ok;
    m_Fd = -1;
    if (m_Ok && ::rename(m_Temp.c_str(), m_Path.c_str()) == 0) {
        m_Temp.clear(); // it is the target now
        return true;
    }
    m_Ok = false;
    return false;
}

} // namespace kb
