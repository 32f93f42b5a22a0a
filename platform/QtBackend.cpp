#include "platform/QtBackend.h"

#include "platform/HelpViewer.h"
#include "platform/LocalFile.h"
#include "platform/PageViewer.h"
#include "platform/ProgramInfo.h"

#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace platform {

namespace {

QMessageBox::Icon QtIcon(Icon icon) {
    switch (icon) {
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The start of a file that is looked into: enough for the content rules of the MIME
// database and for the marks of scripts and binaries.
constexpr qint64 kHeadBytes = 16384;

// How long after it was started the page opener's failure still means that the page was
// not shown. The opener may run for as long as the browser it started stays open; an
// error it reports when that browser ends later says nothing about showing the page.
constexpr qint64 kOpenerVerdictMs = 10000;

// Kinds of file that a desktop runs rather than shows, by name, type or content (head:
// the start of the file).
bool IsRunnableKind(const QFileInfo& info, const QByteArray& head) {
    static const QStringList suffixes = {
        QStringLiteral("appimage"), QStringLiteral("bash"),   QStringLiteral("bat"),
        QStringLiteral("bin"),      QStringLiteral("cmd"),    QStringLiteral("com"),
        QStringLiteral("csh"),      QStringLiteral("deb"),    QStringLiteral("desktop"),
        QStringLiteral("exe"),      QStringLiteral("jar"),    QStringLiteral("js"),
        QStringLiteral("ksh"),      QStringLiteral("lnk"),    QStringLiteral("msi"),
        QStringLiteral("pl"),       QStringLiteral("ps1"),    QStringLiteral("py"),
        QStringLiteral("pyc"),      QStringLiteral("rb"),     QStringLiteral("rpm"),
        QStringLiteral("run"),      QStringLiteral("scr"),    QStringLiteral("sh"),
        QStringLiteral("so"),       QStringLiteral("vbs"),    QStringLiteral("wsf"),
        QStringLiteral("zsh"),      QStringLiteral("command")};
    if (suffixes.contains(info.suffix().toLower())) {
        return true;
    }
    static const QStringList mimeTypes = {QStringLiteral("application/x-executable"),
                                          QStringLiteral("application/x-sharedlib"),
                                          QStringLiteral("application/x-pie-executable"),
                                          QStringLiteral("application/x-shellscript"),
                                          QStringLiteral("application/x-desktop"),
                                          QStringLiteral("application/x-ms-dos-executable"),
                                          QStringLiteral("application/x-msdownload"),
                                          QStringLiteral("application/x-java-archive"),
                                          QStringLiteral("text/x-python"),
                                          QStringLiteral("application/x-perl"),
                                          QStringLiteral("application/x-ruby"),
                                          QStringLiteral("application/javascript")};
    // The head already read, not the file again: it could be something else by now.
    const QMimeType mime = QMimeDatabase().mimeTypeForFileNameAndData(info.fileName(), head);
    for (const QString& name : mimeTypes) {
        if (mime.inherits(name)) {
            return true;
        }
    }
    // Content decides too: a script or binary can carry any name.
    return head.startsWith("#!") ||
           head.startsWith(QByteArray("\x7f"
                                      "ELF",
                                      4)) ||
           head.startsWith("MZ");
}

bool IsWebPageName(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == u"htm" || suffix == u"html";
}

// A local web page goes to the desktop's page opener, started directly (never through a
// shell) with the address as its one argument, and watched without waiting for it. Where
// there is no opener, or it reports soon that it could not show the page (it has no
// program for pages, or none of those it knows is installed), the page is shown in the
// program's own window instead.
bool OpenLocalPage(const QUrl& url) {
    const QString path = url.toLocalFile();
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        return PageViewer::Instance().ShowPage(path);
    }
    // No parent: a process object destroyed with the program would end the opener, and
    // perhaps the browser waiting in it.
    auto* process = new QProcess();
    process->setProgram(opener);
    process->setArguments({QString::fromLatin1(url.toEncoded())});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QElapsedTimer clock;
    clock.start();
    QObject::connect(process, &QProcess::finished, process,
                     [process, path, clock](int exitCode, QProcess::ExitStatus status) {
                         if ((status != QProcess::NormalExit || exitCode != 0) &&
                             clock.elapsed() < kOpenerVerdictMs) {
                             PageViewer::Instance().ShowPage(path);
                         }
                         process->deleteLater();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, path](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             PageViewer::Instance().ShowPage(path);
                             process->deleteLater();
                         }
                     });
    process->start();
    return true;
}

} // namespace

Answer QtBackend::MessageBox(const QString& text, Buttons buttons, Icon icon,
                             const QString& title) {
    QMessageBox box(QtIcon(icon), title.isEmpty() ? ProgramTitle() : title, text,
                    QMessageBox::NoButton, QApplication::activeWindow());
    // Texts carry typed names and pages read from files: never markup.
    box.setTextFormat(Qt::PlainText);
    if (buttons == Buttons::YesNo || buttons == Buttons::YesNoDefaultNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(buttons == Buttons::YesNo ? QMessageBox::Yes : QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Answer::OK;
}

QString QtBackend::OpenFileName(QWidget* owner, const QString& filter, const QString& startName) {
    return QFileDialog::getOpenFileName(owner, QStringLiteral("Open"), startName, QtFilter(filter));
}

QString QtBackend::SaveFileName(QWidget* owner, const QString& filter, const QString& startName) {
    return QFileDialog::getSaveFileName(owner, QStringLiteral("Save As"), startName,
                                        QtFilter(filter), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

bool QtBackend::ShellOpen(const QString& target) {
    const QUrl url = UrlFor(target);
    if (!url.isValid()) {
        return false;
    }
    if (url.isLocalFile() && IsWebPageName(url.toLocalFile()) &&
        !QFileInfo(url.toLocalFile()).isDir()) {
        return OpenLocalPage(url);
    }
    return QDesktopServices::openUrl(url);
}

void QtBackend::ShowHelp(const QString& helpFile, HelpCommand command) {
    HelpViewer::Instance().Open(helpFile, command);
}

QString QtBackend::QtFilter(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts.at(i).trimmed();
        const QString patterns = parts.at(i + 1).split(u';', Qt::SkipEmptyParts).join(u' ');
        // Qt reads the patterns from the last parentheses of the entry.
        if (description.endsWith(u')') && description.contains(u'(')) {
            description = description.left(description.lastIndexOf(u'(')).trimmed();
        }
        entries << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    if (entries.isEmpty() && !filter.isEmpty()) {
        return filter;
    }
    return entries.join(QStringLiteral(";;"));
}

QUrl QtBackend::UrlFor(const QString& target) {
    const QString trimmed = target.trimmed();
    if (trimmed.isEmpty()) {
        return {};
    }
    // A scheme has two letters or more; "C:\x" is a drive letter, not an address.
    static const QRegularExpression schemePattern(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]+):"));
    const QRegularExpressionMatch scheme = schemePattern.match(trimmed);
    if (scheme.hasMatch()) {
        const QString name = scheme.captured(1).toLower();
        if (name == u"http" || name == u"https" || name == u"ftp" || name == u"mailto") {
            const QUrl url(trimmed, QUrl::TolerantMode);
            return url.isValid() ? url : QUrl();
        }
        if (name == u"file") {
            const QUrl url(trimmed, QUrl::TolerantMode);
            return url.isLocalFile() && MayOpenFile(url.toLocalFile()) ? url : QUrl();
        }
        // Any other kind of address may hand the text to a program that runs it.
        return {};
    }
    if (MayOpenFile(target)) {
        return QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
    }
    // The desktop shell treats "www.…" as a web address when no such file exists.
    if (trimmed.startsWith(QStringLiteral("www."), Qt::CaseInsensitive) &&
        !QFileInfo::exists(target)) {
        const QUrl url(QStringLiteral("http://") + trimmed, QUrl::TolerantMode);
        return url.isValid() ? url : QUrl();
    }
    return {};
}

bool QtBackend::MayOpenFile(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir()) {
        return true;
    }
    // Looked into without ever waiting: only a regular file that can be read is a page. A
    // named pipe, a terminal or a device is not (the look would block, or never end).
    QByteArray head;
    if (!ReadLocalFile(path, kHeadBytes, head)) {
        return false;
    }
    // The browser shows a web page and never runs it, so its mode does not matter: pages
    // on mounted Windows drives usually carry the execute bit.
    return (IsWebPageName(path) || !info.isExecutable()) && !IsRunnableKind(info, head);
}

} // namespace platform
