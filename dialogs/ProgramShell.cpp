#include "dialogs/ProgramShell.h"

#include "dialogs/About.h"
#include "platform/FormUtilities.h"
#include "platform/PageLocation.h"
#include "platform/Platform.h"
#include "platform/ProgramInfo.h"

#include <QCoreApplication>
#include <QThread>

namespace dialogs {

QString QuestionHelpTarget(const QString& page) {
    if (page.toUpper() == QStringLiteral("NOHELP.HTM"))
        return platform::InProgramFolder(page);
    return platform::ResolvePage(page);
}

void OpenQuestionHelp(const QString& page) {
    platform::OpenDocument(QuestionHelpTarget(page));
}

void OpenHomePage() {
    platform::OpenDocument(platform::HomePage());
}

void ShowAbout(std::unique_ptr<About>& about, QWidget* modalParent) {
    if (!about)
        about = std::make_unique<About>(modalParent);
    if (modalParent) {
        about->exec();
        return;
    }
    about->show();
    about->raise();
    about->activateWindow();
}

bool ConfirmQuit() {
    return platform::MessageBox(QStringLiteral(" Are You Sure "), platform::Buttons::YesNo,
                                platform::Icon::Question,
                                QStringLiteral("Quit Program")) == platform::Answer::Yes;
}

void EndProgram() {
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(0);
}

} // namespace dialogs
