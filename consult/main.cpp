// Mirel, the consultation program: the splash for three seconds, then the main window.

#include "consult/Main.h"
#include "dialogs/HelpUtils.h"
#include "dialogs/Intro.h"
#include "platform/ProgramInfo.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::SetProgram(QStringLiteral("Mirel"), QStringLiteral("Corvane User Interface"));
    if (QApplication::arguments().contains(dialogs::kFindFilesSwitch)) {
        QTextStream out(stdout);
        return dialogs::ReportProgramFiles(QStringLiteral(".\\Mirel.hlp"), out);
    }

    dialogs::Intro* splash = nullptr;
    dialogs::Intro intro([&splash] {
        auto* main = new consult::Main;
        main->SetSplash(splash);
        return main;
    });
    splash = &intro;
    intro.show();
    return QApplication::exec();
}
