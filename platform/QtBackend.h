#pragma once

#include "platform/Platform.h"

#include <QUrl>

namespace platform {

// The real desktop: Qt's message box and file dialog, the desktop's default handler for
// pages (with the program's own page window where the desktop cannot show a local web
// page), and our help viewer.
class QtBackend : public Backend {
public:
    Answer MessageBox(const QString& text, Buttons buttons, Icon icon,
                      const QString& title) override;
    QString OpenFileName(QWidget* owner, const QString& filter, const QString& startName) override;
    QString SaveFileName(QWidget* owner, const QString& filter, const QString& startName) override;
    bool ShellOpen(const QString& target) override;
    void ShowHelp(const QString& helpFile, HelpCommand command) override;

    // "Questions(*.qst)|*.qst" -> "Questions (*.qst)"; pairs become ";;"-separated entries.
    static QString QtFilter(const QString& filter);
    // The address ShellOpen hands to the desktop for a target, or an empty QUrl when the
    // target must not be opened: a missing file, a program or script, or an address of
    // a kind that could start one.
    static QUrl UrlFor(const QString& target);
    // Whether a local file may go to its default application: a folder, or a regular file
    // that can be looked into at once (never a named pipe, terminal or device); never one
    // that the desktop would run (scripts, launchers, binaries by name, type or content),
    // nor one with the execute bit unless it is a web page (.htm, .html).
    static bool MayOpenFile(const QString& path);
};

} // namespace platform
