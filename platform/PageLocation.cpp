#include "platform/PageLocation.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

namespace {

QString& TheQuestionSetFolder() {
    static QString folder;
    return folder;
}

} // namespace

void SetQuestionSetFile(const QString& path) {
    TheQuestionSetFolder() = path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
}

QString QuestionSetFolder() {
    return TheQuestionSetFolder();
}

QString FindFileInFolder(const QString& folder, const QString& relative) {
    if (relative.isEmpty()) {
        return {};
    }
    QDir dir(folder);
    const QFileInfo exact(dir.filePath(relative));
    if (exact.isFile()) {
        return exact.absoluteFilePath();
    }
    // Knowledge bases and their pages often come from systems that ignore case: each part
    // of the name is taken as written when it is there, else in any case.
    const QStringList parts = QDir::cleanPath(relative).split(u'/', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        const QFileInfo asWritten(dir.filePath(parts[i]));
        QString found;
        if (last ? asWritten.isFile() : asWritten.isDir()) {
            found = parts[i];
        } else {
            const QStringList entries = dir.entryList(
                (last ? QDir::Files : QDir::Dirs | QDir::NoDotAndDotDot) | QDir::Hidden);
            for (const QString& entry : entries) {
                if (entry.compare(parts[i], Qt::CaseInsensitive) == 0) {
                    found = entry;
                    break;
                }
            }
        }
        if (found.isEmpty()) {
            return {};
        }
        if (last) {
            return dir.absoluteFilePath(found);
        }
        dir.setPath(dir.filePath(found));
    }
    return {};
}

QString ResolvePage(const QString& page) {
    const QString folder = QuestionSetFolder();
    if (page.isEmpty() || folder.isEmpty() || QFileInfo(page).isAbsolute() ||
        QFileInfo::exists(page)) {
        return page;
    }
    const QFileInfo beside(QDir(folder).filePath(page));
    if (beside.exists()) {
        return QDir::toNativeSeparators(beside.absoluteFilePath());
    }
    // A page named in another case than its file, as on the system the knowledge base was
    // made on.
    const QString inAnyCase = FindFileInFolder(folder, page);
    return inAnyCase.isEmpty() ? page : QDir::toNativeSeparators(inAnyCase);
}

} // namespace platform
