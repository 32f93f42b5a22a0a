#pragma once

#include <QString>

class QTextStream;

namespace dialogs {

// Opens a program's help file (".\Mirel.hlp" and the like) in the help viewer, at its
// contents page or at its keyword index with an empty keyword. Nothing is reported back:
// the viewer says itself when the file is missing.
void ShowHelpContents(const QString& HelpFile);
void ShowHelpSearch(const QString& HelpFile);

// The command-line switch with which a program only reports where it finds its files
// and ends; an installation is checked with it.
inline const QString kFindFilesSwitch = QStringLiteral("--find-files");
// Writes, one line each, where the program finds its help file, the default pages and
// the home page, or that it does not. 0 when every one was found, otherwise 1.
int ReportProgramFiles(const QString& HelpFile, QTextStream& out);

} // namespace dialogs
