// Halvet, the question editor: the splash for three seconds, then the main window.

#include "editor/Main.h"
#include "dialogs/HelpUtils.h"
#include "dialogs/Intro.h"
#include "platform/ProgramInfo.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::SetProgram(QStringLiteral("Halvet"), QStringLiteral("Corvane Question Editor"));
    if (QApplication::arguments().contains(dialogs::kFindFilesSwitch)) {
        QTextStream out(stdout);
        return dialogs::ReportProgramFiles(QStringLiteral(".\\Halvet.HLP"), out);
    }

    dialogs::Intro* splash = nullptr;
    dialogs::Intro intro([&splash] {
        auto* main = new editor::Main;
        main->SetSplash(splash);
        return main;
    });
    splash = &intro;
    intro.show();
    return QApplication::exec();
}
