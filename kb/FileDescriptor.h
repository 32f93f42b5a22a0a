#pragma once

#include <cstddef>
#include <cstdint>
#include <sys/types.h>

namespace kb {

// An open file descriptor that is closed when the object goes, and the one way the
// readers read one: a read that an interrupting signal does not cut short or fail.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : m_Fd(fd) {}
    ~FileDescriptor() { Reset(); }
    FileDescriptor(FileDescriptor&& other) noexcept : m_Fd(other.Release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return m_Fd; }
    bool IsOpen() const { return m_Fd >= 0; }
    // Gives the descriptor up without closing it.
    int Release();
    // Closes the descriptor held, if any, and holds fd.
    void Reset(int fd = -1);

    // Reads at most size bytes from fd into buffer: at offset at (leaving fd's own offset
    // alone), or from fd's offset when at is negative. The bytes read, 0 at the end of the
    // file, -1 with errno on failure; never cut short by a signal.
    static ssize_t ReadSome(int fd, char* buffer, std::size_t size, std::int64_t at = -1);

private:
    int m_Fd = -1;
};

} // namespace kb
