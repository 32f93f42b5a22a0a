#pragma once

#include <chrono>
#include <string>

namespace kb {

// The one lock that every program writing a question set or a data file holds from its
// last look at the files on disk through the moment its new files take their place, so two
// saves never cross. It is an advisory lock (flock) on a small file of its own in the
// knowledge base's folder, ".corvane.lock": the question set and the data file cannot carry
// it themselves, since every save puts a new file in their place. flock works on local file
// systems and is carried to the server on NFS; a file system that has no locks at all
// (ENOLCK, EOPNOTSUPP) is saved to without one rather than not at all.
class KnowledgeBaseLock {
public:
    static constexpr const char* kFileName = ".corvane.lock";

    // A save holds it alone; a load shares it with other loads, so that it never reads a
    // question set and a data file from two different saves.
    enum class Mode { Save, Load };

    // Takes the lock of the folder that holds file, waiting for it at most wait.
    explicit KnowledgeBaseLock(const std::string& file, Mode mode = Mode::Save,
                               std::chrono::milliseconds wait = std::chrono::seconds(5));
    ~KnowledgeBaseLock();
    KnowledgeBaseLock(const KnowledgeBaseLock&) = delete;
    KnowledgeBaseLock& operator=(const KnowledgeBaseLock&) = delete;

    // Whether the save may go on: the lock is held, or the file system has none to take.
    bool Held() const { return m_Held; }
    // Another program held it for the whole wait.
    bool Busy() const { return m_Busy; }
    // Why it could not be taken otherwise (an errno), 0 when it was.
    int Error() const { return m_Error; }
    void Release();

private:
    int m_Fd = -1;
    bool m_Held = false;
    bool m_Busy = false;
    int m_Error = 0;
};

} // namespace kb
