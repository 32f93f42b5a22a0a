#pragma once

#include <string>
#include <string_view>

namespace kb {

// Replaces a file whole or not at all: the bytes go to a temporary file in the same
// folder, which Commit flushes and renames over the target. Until then the target is
// untouched; an object destroyed without a successful Commit removes its temporary file.
// An existing target keeps its permissions; a read-only one is not replaced. A target
// reached through symbolic links is the file they end at (created if missing), and the
// links stay. A write beyond the file-size limit fails instead of ending the program.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::string& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // False once anything has failed; later calls then do nothing.
    bool Write(std::string_view bytes);
    bool Commit();

private:
    std::string m_Path;
    std::string m_Temp;
    int m_Fd = -1;
    bool m_Ok = false;
};

} // namespace kb
