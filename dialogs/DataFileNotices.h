#pragma once

#include <QString>

namespace dialogs {

// The warning after a data file was read only in part: its path, and for a program that
// can save the records, that a save would drop what was passed over.
QString PartlyReadText(const QString& dataFile, bool programSaves);
void ShowPartlyReadNotice(const QString& dataFile, bool programSaves);

} // namespace dialogs
