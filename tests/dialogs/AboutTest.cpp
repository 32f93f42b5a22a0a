#include "dialogs/About.h"
#include "dialogs/HelpUtils.h"
#include "platform/ProgramInfo.h"
#include "platform/ScriptedBackend.h"
#include "tests/support/ModalDriver.h"

#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

using dialogs::About;
using testsupport::Control;
using testsupport::ExecWithDeadline;
using testsupport::WhenModal;

TEST(About, NamesTheProgramAndKeepsItsPlace) {
    platform::ScriptedBackend scripted;
    platform::SetProgram(QStringLiteral("Mirel"), QStringLiteral("Corvane User Interface"));
    About about;

    // Modeless: show returns at once and the window stays up.
    about.show();
    ASSERT_TRUE(about.isVisible());
    EXPECT_FALSE(about.isModal());
    EXPECT_EQ(Control<QLabel>(&about, "VersionLabel")->text(), QStringLiteral("Version 4.1.0"));
    EXPECT_EQ(Control<QLabel>(&about, "DescriptionLabel")->text(),
              QStringLiteral("Corvane User Interface"));
    EXPECT_EQ(
        Control<QLabel>(&about, "Label5")->text(),
        QStringLiteral("ease.   The system uses its inference  engine  (fuzzy logic)  to find"));

    const QPoint moved = about.pos() + QPoint(70, -20);
    about.move(moved);
    QTest::mouseClick(Control<QPushButton>(&about, "AboutOK"), Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());

    // Modal the second time: same texts, same place.
    QPoint placeWhileModal;
    WhenModal([&](QDialog* d) {
        placeWhileModal = d->pos();
        QTest::mouseClick(Control<QPushButton>(d, "AboutOK"), Qt::LeftButton);
    });
    ExecWithDeadline(about);
    EXPECT_EQ(placeWhileModal, moved);
    EXPECT_EQ(Control<QLabel>(&about, "VersionLabel")->text(), QStringLiteral("Version 4.1.0"));
}

TEST(About, LinkOpensTheHomePage) {
    platform::ScriptedBackend scripted;
    scripted.QueueShellResult(false); // a failure shows nothing
    About about;
    about.show();
    auto* link = Control<QLabel>(&about, "Label6");
    EXPECT_EQ(link->cursor().shape(), Qt::UpArrowCursor);
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(scripted.OpenedPages(), QStringList({platform::HomePage()}));
    EXPECT_TRUE(scripted.MessageBoxes().empty());
    EXPECT_TRUE(about.isVisible());
}

TEST(HelpUtils, AskTheViewerForContentsOrAnEmptyKeywordSearch) {
    platform::ScriptedBackend scripted;
    dialogs::ShowHelpSearch(QStringLiteral(".\\Drosk.HLP"));
    dialogs::ShowHelpSearch(QStringLiteral(".\\Drosk.HLP"));
    dialogs::ShowHelpContents(QStringLiteral(".\\Mirel.hlp"));
    ASSERT_EQ(scripted.HelpCalls().size(), 3U);
    EXPECT_EQ(scripted.HelpCalls()[0].command, platform::HelpCommand::KeywordSearch);
    EXPECT_EQ(scripted.HelpCalls()[1].command, platform::HelpCommand::KeywordSearch);
    EXPECT_EQ(scripted.HelpCalls()[1].helpFile, QStringLiteral(".\\Drosk.HLP"));
    EXPECT_EQ(scripted.HelpCalls()[2].command, platform::HelpCommand::Contents);
    EXPECT_EQ(scripted.HelpCalls()[2].helpFile, QStringLiteral(".\\Mirel.hlp"));
}
