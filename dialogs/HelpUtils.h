#pragma once

#include <QString>

namespace dialogs {

// Opens a program's help file (".\Mirel.hlp" and the like) in the help viewer, at its
// contents page or at its keyword index with an empty keyword. Nothing is reported back:
// the viewer says itself when the file is missing.
void ShowHelpContents(const QString& HelpFile);
void ShowHelpSearch(const QString& HelpFile);

} // namespace dialogs
