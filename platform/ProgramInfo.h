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
// The program's folder joined with a file name by the native separator.
QString InProgramFolder(const QString& fileName);
// The product home page shipped beside the programs, as a target for ShellOpen.
QString HomePage();

// Puts the program's folder elsewhere (tests use a folder of their own); "" returns to
// the executable's folder.
void SetProgramFolder(const QString& folder);

} // namespace platform
