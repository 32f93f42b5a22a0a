#pragma once

#include <chrono>
#include <string>

namespace kb {

// The one lock of a knowledge base's folder, which every save holds from its last look at
// the files on disk until its new files are in place, and every load shares while it
// reads, so two saves never cross and a load never reads a half-saved pair. It is an
// advisory lock (flock) on a small file of its own in the folder, ".corvane.lock": the
// question set and the data file cannot carry it themselves, since every save puts a new
// file in their place. flock works on local file systems and is carried to the server on
// NFS; a file system that has no locks at all (ENOLCK, EOPNOTSUPP) is saved to without one
// rather than not at all.
class KnowledgeBaseLock {
public:
    static constexpr const char* kFileName = ".corvane.lock";

    // A save holds it alone; a load shares it with other loads. A load never makes the
    // lock file (Mirel writes nothing): where there is none, or it cannot be opened, a load
    // goes on without it and its reader checks instead that no save crossed it.
    enum class Mode { Save, Load };
    enum class Problem {
        None,
        Busy,     // another program held it for the whole wait
        Folder,   // no lock file could be made in the folder (Error says why)
        LockFile, // the lock file is there but could not be opened or locked
    };

    // Takes the lock of the folder that holds file, waiting for it at most wait.
    explicit KnowledgeBaseLock(const std::string& file, Mode mode = Mode::Save,
                               std::chrono::milliseconds wait = std::chrono::seconds(5));
    ~KnowledgeBaseLock();
    KnowledgeBaseLock(const KnowledgeBaseLock&) = delete;
    KnowledgeBaseLock& operator=(const KnowledgeBaseLock&) = delete;

    // Whether the work may go on: the lock is held, or there is none to take.
    bool Held() const { return m_Held; }
    // Whether a lock is really held (not for a load without a lock file to share, nor on a
    // file system without locks).
    bool Locked() const { return m_Locked; }
    bool Busy() const { return m_Problem == Problem::Busy; }
    Problem GetProblem() const { return m_Problem; }
    // Why it could not be taken (an errno), 0 when it was.
    int Error() const { return m_Error; }
    // The lock file, to name it in a message.
    const std::string& Path() const { return m_Path; }
    void Release();

private:
    bool Fail(Problem problem, int error);

    std::string m_Path;
    int m_Fd = -1;
    bool m_Held = false;
    bool m_Locked = false;
    Problem m_Problem = Problem::None;
    int m_Error = 0;
};

} // namespace kb
