#include "dialogs/URLDlg.h"
#include "platform/PageLocation.h"
#include "platform/ProgramInfo.h"
#include "platform/ScriptedBackend.h"
#include "tests/support/ModalDriver.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using dialogs::URLDlg;
using testsupport::Control;
using testsupport::ExecWithDeadline;
using testsupport::WhenModal;

namespace {

struct Outcome {
    bool okPressed;
    QString url;
};

// Initialise, show modally, let act work the controls, then read the result.
Outcome RunDialog(URLDlg& dialog, const QString& start, std::function<void(QDialog*)> act) {
    dialog.Initialise(start);
    WhenModal(std::move(act));
    ExecWithDeadline(dialog);
    return {dialog.OKPressed(), dialog.GetURL()};
}

void Type(QDialog* dialog, const QString& keys) {
    QTest::keyClicks(Control<QLineEdit>(dialog, "URL"), keys);
}

void Click(QDialog* dialog, const char* button) {
    QTest::mouseClick(Control<QPushButton>(dialog, button), Qt::LeftButton);
}

} // namespace

TEST(URLDlg, ProtocolGivesTheTrimmedEntryOnlyAfterOK) {
    platform::ScriptedBackend scripted;
    URLDlg dialog;
    const QString start = QStringLiteral("nohelp.htm");

    Outcome cancelled = RunDialog(dialog, start, [](QDialog* d) { Click(d, "CancelBtn"); });
    EXPECT_FALSE(cancelled.okPressed);
    EXPECT_EQ(cancelled.url, QString());

    Outcome unchanged = RunDialog(dialog, start, [](QDialog* d) { Click(d, "OKBtn"); });
    EXPECT_TRUE(unchanged.okPressed);
    EXPECT_EQ(unchanged.url, start);

    // Reopening: OKPressed is False again while the dialog is open.
    bool pressedWhileOpen = true;
    Outcome trimmed = RunDialog(dialog, start, [&](QDialog* d) {
        pressedWhileOpen = dialog.OKPressed();
        Control<QLineEdit>(d, "URL")->clear();
        Type(d, QStringLiteral("  cats.htm  "));
        Click(d, "OKBtn");
    });
    EXPECT_FALSE(pressedWhileOpen);
    EXPECT_TRUE(trimmed.okPressed);
    EXPECT_EQ(trimmed.url, QStringLiteral("cats.htm"));

    // Commas become the separator sign, typed or pasted; Enter is OK.
    Outcome commas = RunDialog(dialog, QString(), [](QDialog* d) {
        Type(d, QStringLiteral("a,b"));
        Control<QLineEdit>(d, "URL")->insert(QStringLiteral(",c,"));
        QTest::keyClick(Control<QLineEdit>(d, "URL"), Qt::Key_Return);
    });
    EXPECT_TRUE(commas.okPressed);
    EXPECT_EQ(commas.url, QStringLiteral("a\u00b8b\u00b8c\u00b8"));

    Outcome escaped =
        RunDialog(dialog, start, [](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); });
    EXPECT_FALSE(escaped.okPressed);
    EXPECT_TRUE(scripted.MessageBoxes().empty());
}

TEST(URLDlg, RefusesBlankEntriesAndStaysOpen) {
    platform::ScriptedBackend scripted;
    platform::SetProgram(QStringLiteral("Halvet"), QStringLiteral("Corvane Question Editor"));
    URLDlg dialog;

    for (const QString& blank : {QString(), QStringLiteral("   ")}) {
        scripted.Clear();
        QString boxAfterRefusal = QStringLiteral("unset");
        bool openAfterRefusal = false;
        Outcome outcome = RunDialog(dialog, blank, [&](QDialog* d) {
            Click(d, "OKBtn");
            boxAfterRefusal = Control<QLineEdit>(d, "URL")->text();
            openAfterRefusal = d->isVisible();
            // Only the blank counts as blank; a tab (pasted: the key moves focus) is valid.
            Control<QLineEdit>(d, "URL")->insert(QStringLiteral("\t"));
            Click(d, "OKBtn");
        });
        ASSERT_EQ(scripted.MessageBoxes().size(), 1U);
        const auto& box = scripted.MessageBoxes().front();
        EXPECT_EQ(box.text, QStringLiteral("Invalid Entry"));
        EXPECT_EQ(box.buttons, platform::Buttons::OK);
        EXPECT_EQ(box.icon, platform::Icon::Exclamation);
        EXPECT_EQ(box.title, QStringLiteral("Halvet"));
        EXPECT_EQ(boxAfterRefusal, QString());
        EXPECT_TRUE(openAfterRefusal);
        EXPECT_TRUE(outcome.okPressed);
        EXPECT_EQ(outcome.url, QStringLiteral("\t"));
    }
}

TEST(URLDlg, BrowsePreviewsWithoutChangingAnything) {
    platform::ScriptedBackend scripted;
    QTemporaryDir program;
    QFile page(program.filePath(QStringLiteral("cats.htm")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.close();
    platform::SetProgramFolder(program.path());

    URLDlg dialog;
    QStringList boxes;
    bool stayedOpen = true;
    Outcome outcome = RunDialog(dialog, QString(), [&](QDialog* d) {
        auto* box = Control<QLineEdit>(d, "URL");
        Click(d, "BrowseBtn"); // empty: the home page
        Type(d, QStringLiteral("cats.htm"));
        Click(d, "BrowseBtn"); // lies in the program's folder
        box->setText(QStringLiteral("https://example.org/dogs"));
        Click(d, "BrowseBtn"); // anything else, unchanged
        box->setText(QStringLiteral(" cats.htm"));
        Click(d, "BrowseBtn"); // untrimmed: no such file in the folder
        boxes << box->text();
        stayedOpen = stayedOpen && d->isVisible();
        Click(d, "CancelBtn");
    });
    EXPECT_EQ(
        scripted.OpenedPages(),
        QStringList({platform::HomePage(),
                     QDir::toNativeSeparators(program.filePath(QStringLiteral("cats.htm"))),
                     QStringLiteral("https://example.org/dogs"), QStringLiteral(" cats.htm")}));
    EXPECT_EQ(boxes, QStringList({QStringLiteral(" cats.htm")}));
    EXPECT_TRUE(stayedOpen);
    EXPECT_FALSE(outcome.okPressed);
    platform::SetProgramFolder({});
}

TEST(URLDlg, BrowseFindsTheDefaultPageInAnyCaseAndPagesBesideTheQuestionSet) {
    platform::ScriptedBackend scripted;
    QTemporaryDir program;
    QTemporaryDir kb;
    for (const QString& path :
         {program.filePath(QStringLiteral("nodesc.htm")), kb.filePath(QStringLiteral("dog.htm"))}) {
        QFile page(path);
        ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    }
    platform::SetProgramFolder(program.path());
    platform::SetQuestionSetFile(kb.filePath(QStringLiteral("pets.qst")));

    URLDlg dialog;
    RunDialog(dialog, QStringLiteral("NODESC.HTM"), [&](QDialog* d) {
        Click(d, "BrowseBtn");
        Control<QLineEdit>(d, "URL")->setText(QStringLiteral("dog.htm"));
        Click(d, "BrowseBtn");
        Click(d, "CancelBtn");
    });
    EXPECT_EQ(scripted.OpenedPages(), QStringList({program.filePath(QStringLiteral("nodesc.htm")),
                                                   kb.filePath(QStringLiteral("dog.htm"))}));
    platform::SetQuestionSetFile({});
    platform::SetProgramFolder({});
}

// The box holds a page as long as the files hold, the most a line edit holds: such a page
// comes back whole after OK. A longer paste is refused whole, never cut, and said so.
TEST(URLDlg, HoldsThePagesTheFilesHoldAndSaysWhenAPasteIsLonger) {
    platform::ScriptedBackend scripted;
    URLDlg dialog;
    QString page = QStringLiteral("https://example.org/");
    while (page.size() < 32767 - 7)
        page += QStringLiteral("p");
    page += QStringLiteral("dog.htm");
    ASSERT_EQ(page.size(), 32767);

    Outcome unchanged = RunDialog(dialog, page, [](QDialog* d) { Click(d, "OKBtn"); });
    EXPECT_TRUE(unchanged.okPressed);
    EXPECT_EQ(unchanged.url, page);
    EXPECT_TRUE(scripted.MessageBoxes().empty());

    Outcome pasted = RunDialog(dialog, QStringLiteral("start"), [](QDialog* d) {
        Control<QLineEdit>(d, "URL")->insert(QString(40000, u'x')); // what a paste does
        QCoreApplication::processEvents();
        Click(d, "OKBtn");
    });
    EXPECT_EQ(pasted.url, QStringLiteral("start"));
    ASSERT_EQ(scripted.MessageBoxes().size(), 1u);
    EXPECT_EQ(scripted.MessageBoxes()[0].text,
              QStringLiteral("This box holds at most 32767 characters: the text was too long "
                             "and was not taken."));
}
