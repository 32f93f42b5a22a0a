#pragma once

// Where the files a knowledge base names are found. A page is a web address or a file
// name; a relative file name means the current folder first and then the folder of the
// loaded question set, where a knowledge base keeps its own pages.

#include <QString>

namespace platform {

// Remembers the question set the program works on ("" for none).
void SetQuestionSetFile(const QString& path);
// The absolute folder of that question set, "" when there is none.
QString QuestionSetFolder();

// The file `relative` (a name, or a path below the folder) in folder: the exact name, or
// else a file whose name, or a folder on the way to it, differs only in case. Its absolute
// path, "" when there is none.
QString FindFileInFolder(const QString& folder, const QString& relative);

// The target to open for a page: a relative file name that is not found from the current
// folder but lies beside the question set, as written or else in another case, becomes that
// file's path; anything else comes back unchanged.
QString ResolvePage(const QString& page);

} // namespace platform
