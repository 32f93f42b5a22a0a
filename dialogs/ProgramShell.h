#pragma once

// What the three programs' main windows share around their own work: the question's help
// page, the home page, the About window and leaving the program.

#include <QString>
#include <memory>

class QWidget;

namespace dialogs {

class About;

// The page Refer Help opens for a question's help entry: "NOHELP.HTM" in any case is the
// default page shipped with the program (found whatever the case of its file name); a
// relative file name missing from the current folder is taken from beside the question
// set when it lies there; anything else is handed over unchanged.
QString QuestionHelpTarget(const QString& page);
void OpenQuestionHelp(const QString& page);

void OpenHomePage();

// Creates the About window on first use. With a modalParent it is shown modally over it;
// without, as a window of its own brought to the front.
void ShowAbout(std::unique_ptr<About>& about, QWidget* modalParent = nullptr);

// Asks " Are You Sure " / "Quit Program"; true only for Yes.
bool ConfirmQuit();

// Ends the program even while a help viewer window is still open. Only from within the
// running event loop: called outside it, exit() would make every later exec() in the
// process return at once.
void EndProgram();

} // namespace dialogs
