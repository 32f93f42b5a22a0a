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
    const QDir dir(folder);
    const QFileInfo exact(dir.filePath(relative));
    if (exact.isFile()) {
        return exact.absoluteFilePath();
    }
    // Knowledge bases and their pages often come from systems that ignore case.
    const QFileInfo wanted(relative);
    const QDir parent(dir.filePath(wanted.path()));
    const QStringList entries = parent.entryList(QDir::Files | QDir::Hidden);
    for (const QString& entry : entries) {
        if (entry.compare(wanted.fileName(), Qt::CaseInsensitive) == 0) {
            return parent.absoluteFilePath(entry);
        }
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
    return beside.exists() ? QDir::toNativeSeparators(beside.absoluteFilePath()) : page;
}

} // namespace platform
