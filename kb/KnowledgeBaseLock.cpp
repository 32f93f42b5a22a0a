#include "kb/KnowledgeBaseLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace kb {

KnowledgeBaseLock::KnowledgeBaseLock(const std::string& file, Mode mode,
                                     std::chrono::milliseconds wait) {
    const auto slash = file.rfind('/');
    const std::string lockFile =
        (slash == std::string::npos ? std::string() : file.substr(0, slash + 1)) + kFileName;
    if (mode == Mode::Load) {
        // A load never makes the file: Mirel writes nothing into a knowledge base's folder.
        // Without it no save has ever been made here under the lock.
        m_Fd = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    } else {
        // Opened for writing where it can be, since NFS takes an exclusive lock only on such
        // a file; a lock file another user made is still good for a lock here.
        m_Fd =
            ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
        if (m_Fd < 0 && errno == EACCES) {
            m_Fd = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        }
    }
    if (m_Fd < 0) {
        m_Error = errno;
        m_Held = mode == Mode::Load && errno == ENOENT;
        return;
    }
    // Never a pipe or a device in its place: only a regular file can be locked without
    // waiting on something else.
    struct stat st {};
    if (::fstat(m_Fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        m_Error = EINVAL;
        Release();
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(m_Fd, (mode == Mode::Save ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0) {
            m_Held = true;
            return;
        }
        if (errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOSYS) {
            m_Held = true; // nothing to lock with here
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            m_Error = errno;
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            m_Busy = true;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

KnowledgeBaseLock::~KnowledgeBaseLock() {
    Release();
}

void KnowledgeBaseLock::Release() {
    if (m_Fd >= 0) {
        ::close(m_Fd); // closing the only descriptor lets the lock go
        m_Fd = -1;
    }
    m_Held = false;
}

} // namespace kb
