#pragma once

#include "kb/Digest.h"

#include <cstdint>
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
// symbolic links is the file they end at, and the links stay; a link that names nothing is
// refused (ENOENT) rather than followed to create a file where the user never chose. A
// write beyond the file-size limit fails instead of ending the program.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::string& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // False once anything has failed; later calls then do nothing.
    bool Write(std::string_view bytes);
    // Flushes the new file and gives it its temporary name beside the target
    // (TemporaryPath), without touching the target: a save of two files seals both before
    // either takes its place. Commit seals first if this was not done.
    bool Seal();
    // Puts the new file in place of the target.
    bool Commit();
    // After Seal: the new file was put in place by another hand (a save's journal), so the
    // writer no longer owns a temporary file.
    void Placed();

    // The target, its links followed.
    const std::string& TargetPath() const { return m_Path; }
    // After Seal: where the new file waits for its Commit.
    const std::string& TemporaryPath() const { return m_Temp; }
    // The name a temporary file beside a target of this name starts with, to tell the
    // files of a save that never finished.
    static std::string TemporaryPrefix(const std::string& targetName);

    // The digest and size of every byte written, to stamp the new file without reading it.
    std::uint64_t WrittenDigest() const { return m_Digest.Value(); }
    std::int64_t WrittenSize() const { return m_Size; }

    // The errno of the first failure (0 while nothing failed), to say why in a message.
    int Error() const { return m_Error; }

    // What the writer calls to make bytes durable: the file's before it takes the target's
    // place, the folder's after. Tests watch it through this seam; nullptr restores fsync.
    using SyncFunction = int (*)(int fd);
    static void SetSyncFunction(SyncFunction sync);
    // Flushes a folder ("" for the current one, else ending in "/"), so the names made in
    // it last; through the same seam.
    static void SyncFolder(const std::string& folder);

private:
    bool Fail(int error);
    bool GiveTemporaryAName();

    std::string m_Path;   // the target, its links followed
    std::string m_Folder; // the target's folder, with its final "/", or "" for the current one
    std::string m_Temp;   // the temporary file's name, once it has one
    int m_Fd = -1;
    bool m_Ok = false;
    bool m_Sealed = false;
    bool m_Committed = false;
    int m_Error = 0;
    Digest m_Digest;
    std::int64_t m_Size = 0;
};

} // namespace kb
