#include "platform/ProgramInfo.h"

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

QString InProgramFolder(const QString& fileName) {
    return ProgramFolder() + QDir::separator() + fileName;
}

QString HomePage() {
    return InProgramFolder(QStringLiteral("corvane-home.htm"));
}

void SetProgramFolder(const QString& folder) {
    TheInfo().folder = folder;
}

} // namespace platform
