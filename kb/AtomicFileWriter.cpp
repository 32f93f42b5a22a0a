#include "kb/AtomicFileWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kb {

AtomicFileWriter::AtomicFileWriter(const std::string& path) : m_Path(path) {
    if (path.empty()) {
        return;
    }
    // Renaming over a symbolic link would replace the link and leave the file it names
    // unchanged: write beside that file instead.
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            m_Path = real;
            std::free(real);
        }
    }
    struct stat target {};
    const bool targetExists = ::stat(m_Path.c_str(), &target) == 0;
    if (targetExists && !S_ISREG(target.st_mode)) {
        return;
    }
    if (targetExists && ::access(m_Path.c_str(), W_OK) != 0) {
        return; // a read-only file stays read-only, as it would on a direct write
    }
    m_Temp = m_Path + ".XXXXXX";
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
