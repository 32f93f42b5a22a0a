#include "kb/KnowledgeBaseLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace kb {

namespace {

constexpr int kOpenFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;

// Opens the lock file for a save, making it where there is none yet. Opened for writing
// where it can be, since NFS takes an exclusive lock only on such a file; one another user
// made and keeps to themselves is still good for a lock here when it can be read.
int OpenForSave(const std::string& path, bool& made) {
    made = false;
    for (int tries = 0; tries < 10; ++tries) {
        int fd = ::open(path.c_str(), O_RDWR | kOpenFlags);
        if (fd >= 0 || errno != ENOENT) {
            if (fd < 0 && errno == EACCES) {
                fd = ::open(path.c_str(), O_RDONLY | kOpenFlags);
                if (fd < 0) {
                    errno = EACCES;
                }
            }
            return fd;
        }
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | kOpenFlags, 0666);
        if (fd >= 0) {
            // Every user of a shared folder must be able to open it for writing, whatever
            // the umask of the one who happened to save first.
            ::fchmod(fd, 0666);
            return fd;
        }
        if (errno != EEXIST) {
            made = true; // it could not be made: the folder is at fault
            return -1;
        }
    }
    errno = EEXIST;
    return -1;
}

} // namespace

KnowledgeBaseLock::KnowledgeBaseLock(const std::string& file, Mode mode,
                                     std::chrono::milliseconds wait) {
    const auto slash = file.rfind('/');
    m_Path = (slash == std::string::npos ? std::string() : file.substr(0, slash + 1)) + kFileName;
    if (mode == Mode::Load) {
        m_Fd = ::open(m_Path.c_str(), O_RDONLY | kOpenFlags);
        if (m_Fd < 0) {
            m_Held = true; // nothing to share: the reader checks that no save crossed it
            return;
        }
    } else {
        bool folderAtFault = false;
        m_Fd = OpenForSave(m_Path, folderAtFault);
        if (m_Fd < 0) {
            Fail(folderAtFault ? Problem::Folder : Problem::LockFile, errno);
            return;
        }
    }
    // Never a pipe or a device in its place: only a regular file can be locked without
    // waiting on something else.
    struct stat st {};
    if (::fstat(m_Fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        Release();
        if (mode == Mode::Load) {
            m_Held = true;
            return;
        }
        Fail(Problem::LockFile, EINVAL);
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(m_Fd, (mode == Mode::Save ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0) {
            m_Held = true;
            m_Locked = true;
            return;
        }
        if (errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOSYS) {
            m_Held = true; // nothing to lock with here
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            Fail(Problem::LockFile, errno);
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            Fail(Problem::Busy, EWOULDBLOCK);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

KnowledgeBaseLock::~KnowledgeBaseLock() {
    Release();
}

bool KnowledgeBaseLock::Fail(Problem problem, int error) {
    Release();
    m_Problem = problem;
    m_Error = error != 0 ? error : EIO;
    return false;
}

void KnowledgeBaseLock::Release() {
    if (m_Fd >= 0) {
        ::close(m_Fd); // closing the only descriptor lets the lock go
        m_Fd = -1;
    }
    m_Held = false;
    m_Locked = false;
}

} // namespace kb
