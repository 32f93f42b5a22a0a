#include "kb/FileDescriptor.h"

#include <cerrno>
#include <unistd.h>

namespace kb {

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        Reset(other.Release());
    }
    return *this;
}

int FileDescriptor::Release() {
    const int fd = m_Fd;
    m_Fd = -1;
    return fd;
}

void FileDescriptor::Reset(int fd) {
    if (m_Fd >= 0 && m_Fd != fd) {
        ::close(m_Fd);
    }
    m_Fd = fd;
}

ssize_t FileDescriptor::ReadSome(int fd, char* buffer, std::size_t size, std::int64_t at) {
    for (;;) {
        const ssize_t n =
            at >= 0 ? ::pread(fd, buffer, size, static_cast<off_t>(at)) : ::read(fd, buffer, size);
        if (n >= 0 || errno != EINTR) {
            return n;
        }
    }
}

} // namespace kb
