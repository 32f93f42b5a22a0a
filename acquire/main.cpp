// Drosk, the knowledge acquisition program: straight onto its main window.

#include "acquire/Main.h"
#include "dialogs/HelpUtils.h"
#include "platform/ProgramInfo.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::SetProgram(QStringLiteral("Drosk"), QStringLiteral("Corvane Knowledge Acquisition"));
    if (QApplication::arguments().contains(dialogs::kFindFilesSwitch)) {
        QTextStream out(stdout);
        return dialogs::ReportProgramFiles(QStringLiteral(".\\Drosk.HLP"), out);
    }
    acquire::Main main;
    main.show();
    return QApplication::exec();
}
