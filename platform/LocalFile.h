#pragma once

// Looking into local files that a knowledge base names (help pages, description pages and
// what they refer to) without ever waiting: a named pipe, a terminal or a device would
// otherwise block the window that asked, for good.

#include <QByteArray>
#include <QString>

namespace platform {

// Reads at most limit bytes from the start of the file at path into bytes. False, with
// bytes empty, unless path names a regular file (through any symbolic links) that could
// be opened and read at once. whole, when given, says whether the file ended within the
// limit.
bool ReadLocalFile(const QString& path, qint64 limit, QByteArray& bytes, bool* whole = nullptr);

} // namespace platform
