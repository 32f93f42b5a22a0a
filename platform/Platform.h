#pragma once

// The programs' one door to the desktop: message boxes, the common file dialog, opening
// a page with the system's default handler and the help viewer. Everything goes through
// the current Backend, so a test can put a scripted one in its place (ScriptedBackend).

#include <QString>

class QWidget;

namespace platform {

// YesNoDefaultNo: Yes and No with No as the answer Enter gives, for a question whose Yes
// would overwrite or lose data.
enum class Buttons { OK, YesNo, YesNoDefaultNo };
enum class Icon { None, Critical, Exclamation, Information, Question };
enum class Answer { OK, Yes, No };
enum class HelpCommand { Contents, KeywordSearch };

// The filter every file dialog of the programs uses.
inline const QString kQuestionFilter = QStringLiteral("Questions(*.qst)|*.qst");

class Backend {
public:
    virtual ~Backend() = default;
    virtual Answer MessageBox(const QString& text, Buttons buttons, Icon icon,
                              const QString& title) = 0;
    // "" when the user cancels. filter is in the "Text(*.ext)|*.ext" form.
    virtual QString OpenFileName(QWidget* owner, const QString& filter,
                                 const QString& startName) = 0;
    // Asks nothing about overwriting: the programs ask their own question.
    virtual QString SaveFileName(QWidget* owner, const QString& filter,
                                 const QString& startName) = 0;
    // Opens a web address as a page or a file with its default application. Never runs
    // a program or passes the target through a shell. False when it could not.
    virtual bool ShellOpen(const QString& target) = 0;
    virtual void ShowHelp(const QString& helpFile, HelpCommand command) = 0;
};

// The backend in use: the Qt one unless a test installed another.
Backend& CurrentBackend();
// Installs a backend (not owned); nullptr brings back the Qt one.
void SetBackend(Backend* backend);

// Shortcuts to the current backend. A message's text reaches it abridged (ShownText.h).
Answer MessageBox(const QString& text, Buttons buttons, Icon icon, const QString& title);
QString OpenFileName(QWidget* owner, const QString& filter, const QString& startName);
QString SaveFileName(QWidget* owner, const QString& filter, const QString& startName);
bool ShellOpen(const QString& target);
void ShowHelp(const QString& helpFile, HelpCommand command);

} // namespace platform
