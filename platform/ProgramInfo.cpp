#include "platform/ProgramInfo.h"

#include "platform/PageLocation.h"

#include <QCoreApplication>
#include <QDir>

namespace platform {

namespace {

struct Info {
    QString title;
    QString productName;
    QString folder;
};

Info& TheInfo() {
    static Info info;
    return info;
}

} // namespace

void SetProgram(const QString& title, const QString& productName) {
    TheInfo().title = title;
    TheInfo().productName = productName;
}

QString ProgramTitle() {
    return TheInfo().title.isEmpty() ? QCoreApplication::applicationName() : TheInfo().title;
}

QString ProductName() {
    return TheInfo().productName;
}

QString VersionText() {
    return QStringLiteral("Version %1.%2.%3")
        .arg(CORVANE_VERSION_MAJOR)
        .arg(CORVANE_VERSION_MINOR)
        .arg(CORVANE_VERSION_PATCH);
}

QString ProgramFolder() {
    QString folder = TheInfo().folder;
    if (folder.isEmpty()) {
        folder = QCoreApplication::instance() != nullptr ? QCoreApplication::applicationDirPath()
                                                         : QDir::currentPath();
    }
    while (folder.size() > 1 && folder.endsWith(u'/')) {
        folder.chop(1);
    }
    return QDir::toNativeSeparators(folder);
}

QString InstalledFilesFolder() {
    return QDir::toNativeSeparators(QDir::cleanPath(QDir::fromNativeSeparators(ProgramFolder()) +
                                                    QStringLiteral("/" CORVANE_INSTALLED_FILES)));
}

QString FindProgramFile(const QString& fileName) {
    for (const QString& folder : {ProgramFolder(), InstalledFilesFolder()}) {
        const QString found = FindFileInFolder(QDir::fromNativeSeparators(folder), fileName);
        if (!found.isEmpty()) {
            return QDir::toNativeSeparators(found);
        }
    }
    return {};
}

QString InProgramFolder(const QString& fileName) {
    const QString found = FindProgramFile(fileName);
    return found.isEmpty() ? ProgramFolder() + QDir::separator() + fileName : found;
}

QString HomePage() {
    return InProgramFolder(QStringLiteral("corvane-home.htm"));
}

void SetProgramFolder(const QString& folder) {
    TheInfo().folder = folder;
}

} // namespace platform
