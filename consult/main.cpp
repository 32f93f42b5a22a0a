// Mirel, the consultation program: the splash for three seconds, then the main window.

#include "consult/Main.h"
#include "dialogs/Intro.h"
#include "platform/ProgramInfo.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::SetProgram(QStringLiteral("Mirel"), QStringLiteral("Corvane User Interface"));

    consult::Main main;
    dialogs::Intro intro(&main);
    main.SetSplash(&intro);
    intro.show();
    return QApplication::exec();
}
