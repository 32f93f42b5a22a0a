#pragma once

#include <QString>

namespace platform {

// Who is running: each program sets this once at start, before any window opens.
void SetProgram(const QString& title, const QString& productName);
// "Halvet", "Drosk" or "Mirel": the title of message boxes that have none of their own.
QString ProgramTitle();
// "Corvane Question Editor", "Corvane Knowledge Acquisition" or "Corvane User Interface".
QString ProductName();
// "Version 4.1.0", from the build's version numbers.
QString VersionText();
// The folder the program's executable lies in, without a trailing separator.
QString ProgramFolder();
// Where an installed program keeps its help files and pages: share/corvane beside the
// folder of the installed programs, without a trailing separator.
QString InstalledFilesFolder();
// A file that belongs with the program (a help file, a default page): looked up in the
// program's folder and then in the installed files folder, its name matched without
// regard to case. Its path, "" when neither holds it.
QString FindProgramFile(const QString& fileName);
// FindProgramFile's answer or, when the file is in neither folder, the program's folder
// joined with the name as written by the native separator.
QString InProgramFolder(const QString& fileName);
// The product home page shipped with the programs, as a target for ShellOpen.
QString HomePage();

// Puts the program's folder elsewhere (tests use a folder of their own); "" returns to
// the executable's folder.
void SetProgramFolder(const QString& folder);

} // namespace platform
