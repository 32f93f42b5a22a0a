#pragma once

#include <string>
#include <string_view>

namespace kb {

// Replaces a file whole or not at all. The bytes go to a temporary file in the target's
// folder: an unnamed one where the file system allows it, so a save killed part way leaves
// nothing behind, else one named after the target (".pets.dat.cv-XXXXXX"). Commit flushes
// it, gives it its place under the target's name and flushes the folder. Until then the
// target is untouched; an object destroyed without a successful Commit removes its
// temporary file. An existing target keeps its permissions; a read-only one (no write
// permission for anyone, or none for this user) is not replaced. A target reached through
// symbolic links is the file they end at (created if missing), and the links stay. A write
// beyond the file-size limit fails instead of ending the program.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::string& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // False once anything has failed; later calls then do nothing.
    bool Write(std::string_view bytes);
    // Puts the new file in place of the target.
    bool Commit();
    // Puts the new file in place but keeps the version it replaced aside until the writer
    // is destroyed, so that Undo can put it back: a save of two files that fails on the
    // second puts the first back as it was.
    bool CommitUndoable();
    // After CommitUndoable: the target as it was before (no file, if there was none).
    bool Undo();

    // The errno of the first failure (0 while nothing failed), to say why in a message.
    int Error() const { return m_Error; }

    // What the writer calls to make bytes durable: the file's before it takes the target's
    // place, the folder's after. Tests watch it through this seam; nullptr restores fsync.
    using SyncFunction = int (*)(int fd);
    static void SetSyncFunction(SyncFunction sync);

private:
    bool Fail(int error);
    bool Flush();
    bool GiveTemporaryAName();
    void SyncFolder() const;

    std::string m_Path;   // the target, its links followed
    std::string m_Folder; // the target's folder, with its final "/", or "" for the current one
    std::string m_Temp;   // the temporary file's name, once it has one
    std::string m_Old;    // after CommitUndoable: where the replaced version waits
    int m_Fd = -1;
    bool m_Ok = false;
    bool m_TargetExisted = false;
    bool m_Committed = false;
    int m_Error = 0;
};

} // namespace kb
