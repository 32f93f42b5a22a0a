#include "platform/LocalFile.h"

#include "kb/FileIO.h"

#include <QFile>

#include <algorithm>

#include <cerrno>
#include <unistd.h>

namespace platform {

bool ReadLocalFile(const QString& path, qint64 limit, QByteArray& bytes, bool* whole) {
    bytes.clear();
    if (whole != nullptr) {
        *whole = false;
    }
    if (path.isEmpty() || limit < 0) {
        return false;
    }
    // The type is taken from what was opened, not from the name, so nothing can be swapped
    // in between; a pipe or a device is refused without waiting.
    std::int64_t size = 0;
    const kb::FileDescriptor fd = kb::OpenRegularFile(QFile::encodeName(path).toStdString(), size);
    if (!fd.IsOpen()) {
        return false;
    }
    // One byte beyond the limit tells whether the file goes on.
    const qint64 wanted = limit + 1;
    bytes.resize(static_cast<qsizetype>(std::min<qint64>(wanted, size + 1)));
    qint64 got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got >= wanted) {
                break;
            }
            // The file grew since fstat.
            bytes.resize(static_cast<qsizetype>(std::min<qint64>(wanted, got * 2 + 4096)));
        }
        const ssize_t n = kb::FileDescriptor::ReadSome(fd.Get(), bytes.data() + got,
                                                       static_cast<size_t>(bytes.size() - got));
        if (n < 0) {
            bytes.clear();
            return false;
        }
        if (n == 0) {
            break;
        }
        got += n;
    }
    if (whole != nullptr) {
        *whole = got <= limit;
    }
    bytes.resize(static_cast<qsizetype>(std::min(got, limit)));
    return true;
}

} // namespace platform
