#include "dialogs/ProgramShell.h"
#include "dialogs/About.h"
#include "platform/ProgramInfo.h"
#include "platform/QtBackend.h"
#include "platform/ScriptedBackend.h"
#include "tests/support/ModalDriver.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using platform::Answer;
using testsupport::Control;
using testsupport::WhenModal;

// The default page is found in any case and only under its own name.
TEST(ProgramShell, NoHelpPageInAnyCaseComesFromTheProgramFolder) {
    platform::SetProgramFolder(QStringLiteral("/srv/corvane"));
    struct Row {
        QString page;
        QString target;
    };
    const Row rows[] = {
        {QStringLiteral("NOHELP.HTM"), platform::InProgramFolder(QStringLiteral("NOHELP.HTM"))},
        {QStringLiteral("nohelp.htm"), platform::InProgramFolder(QStringLiteral("nohelp.htm"))},
        {QStringLiteral("NoHelp.Htm"), platform::InProgramFolder(QStringLiteral("NoHelp.Htm"))},
        {QStringLiteral("pages/nohelp.htm"), QStringLiteral("pages/nohelp.htm")},
        {QStringLiteral("nohelp.html"), QStringLiteral("nohelp.html")},
        {QStringLiteral(" nohelp.htm"), QStringLiteral(" nohelp.htm")},
        {QStringLiteral("https://example.org/cat.htm"),
         QStringLiteral("https://example.org/cat.htm")},
        {QString(), QString()},
    };
    for (const Row& row : rows)
        EXPECT_EQ(dialogs::QuestionHelpTarget(row.page), row.target) << row.page.toStdString();

    platform::ScriptedBackend scripted;
    dialogs::OpenQuestionHelp(QStringLiteral("NoHelp.htm"));
    dialogs::OpenHomePage();
    EXPECT_EQ(scripted.OpenedPages(),
              QStringList(
                  {platform::InProgramFolder(QStringLiteral("NoHelp.htm")), platform::HomePage()}));
    platform::SetProgramFolder(QString());
}

// The default pages ship beside every program (and this test program): whatever case a
// question set gives the name, the page handed over exists and would go to the browser.
TEST(ProgramShell, DefaultHelpPageInAnyCaseReallyOpens) {
    platform::ScriptedBackend scripted;
    for (const QString& page :
         {QStringLiteral("NoHelp.HTM"), QStringLiteral("NOHELP.HTM"), QStringLiteral("nohelp.htm")})
        dialogs::OpenQuestionHelp(page);
    ASSERT_EQ(scripted.OpenedPages().size(), 3u);
    for (const QString& opened : scripted.OpenedPages()) {
        EXPECT_TRUE(QFileInfo(opened).isFile()) << opened.toStdString();
        EXPECT_TRUE(platform::QtBackend::UrlFor(opened).isLocalFile()) << opened.toStdString();
    }
}

TEST(ProgramShell, QuitIsConfirmedOnlyByYes) {
    platform::ScriptedBackend scripted;
    scripted.QueueAnswer(Answer::No);
    scripted.QueueAnswer(Answer::Yes);
    EXPECT_FALSE(dialogs::ConfirmQuit());
    EXPECT_TRUE(dialogs::ConfirmQuit());
    ASSERT_EQ(scripted.MessageBoxes().size(), 2u);
    EXPECT_EQ(scripted.MessageBoxes()[0].text, QStringLiteral(" Are You Sure "));
    EXPECT_EQ(scripted.MessageBoxes()[0].title, QStringLiteral("Quit Program"));
    EXPECT_EQ(scripted.MessageBoxes()[0].buttons, platform::Buttons::YesNo);
    EXPECT_EQ(scripted.MessageBoxes()[0].icon, platform::Icon::Question);
}

// Outside the event loop ending the program must leave no mark on later loops; inside it,
// it ends the loop.
TEST(ProgramShell, EndProgramActsOnlyWithinTheRunningLoop) {
    dialogs::EndProgram();
    QEventLoop later;
    QTimer::singleShot(0, &later, [&later] { later.exit(7); });
    EXPECT_EQ(later.exec(), 7);

    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [] { QCoreApplication::exit(9); });
    deadline.start(testsupport::kDeadlineMs);
    QTimer::singleShot(0, [] { dialogs::EndProgram(); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
}

TEST(ProgramShell, AboutIsMadeOnceModelessOrModal) {
    platform::ScriptedBackend scripted;
    std::unique_ptr<dialogs::About> modeless;
    dialogs::ShowAbout(modeless);
    ASSERT_NE(modeless, nullptr);
    dialogs::About* first = modeless.get();
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->isModal());
    dialogs::ShowAbout(modeless);
    EXPECT_EQ(modeless.get(), first);

    QWidget owner;
    std::unique_ptr<dialogs::About> modal;
    bool wasModal = false;
    WhenModal([&](QDialog* d) {
        wasModal = d->isModal() && d->parentWidget() == &owner;
        Control<QPushButton>(d, "AboutOK")->click();
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&modal] {
        ADD_FAILURE() << "About was still open at the deadline";
        if (modal)
            modal->hide();
    });
    deadline.start(testsupport::kDeadlineMs);
    dialogs::ShowAbout(modal, &owner);
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(modal->isVisible());
}
