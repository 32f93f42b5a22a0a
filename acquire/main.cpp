// Drosk, the knowledge acquisition program: straight onto its main window.

#include "acquire/Main.h"
#include "platform/ProgramInfo.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::SetProgram(QStringLiteral("Drosk"), QStringLiteral("Corvane Knowledge Acquisition"));
    acquire::Main main;
    main.show();
    return QApplication::exec();
}
