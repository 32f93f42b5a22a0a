#include "dialogs/RecordDlg.h"
#include "platform/ProgramInfo.h"
#include "platform/ScriptedBackend.h"
#include "tests/support/ModalDriver.h"

#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using dialogs::RecordDlg;
using testsupport::Control;
using testsupport::ExecWithDeadline;
using testsupport::WhenModal;

namespace {

struct Outcome {
    bool okPressed;
    QString name;
    QString shown; // the box just before OK
};

// Shows the dialog, types keys (and pastes paste), then presses OK.
Outcome TypeAndOK(RecordDlg& dialog, const QString& keys, const QString& paste = {}) {
    Outcome outcome{};
    WhenModal([&](QDialog* d) {
        auto* box = Control<QLineEdit>(d, "RecordName");
        testsupport::TypeKeys(box, keys);
        if (!paste.isEmpty()) {
            box->insert(paste);
        }
        outcome.shown = box->text();
        QTest::mouseClick(Control<QPushButton>(d, "OKBtn"), Qt::LeftButton);
    });
    ExecWithDeadline(dialog);
    outcome.okPressed = dialog.OKPressed();
    outcome.name = dialog.GetRecordName();
    return outcome;
}

} // namespace

// The keystroke rules: upper case, comma to the separator sign, 55 characters.
TEST(RecordDlg, KeystrokeRulesApplyToTypedAndPastedText) {
    platform::ScriptedBackend scripted;
    RecordDlg dialog;
    const struct {
        const char* keys;
        const char* paste;
        const char* name;
    } rows[] = {
        {"siamese cat 2", "", "SIAMESE CAT 2"},
        {"cats,dogs", "", "CATS\u00b8DOGS"},
        {"  persian  blue  ", "", "PERSIAN  BLUE"},
        {"big ", "maine coon, long", "BIG MAINE COON\u00b8 LONG"},
        {"caf\u00e9 ", "na\u00efve \u2192 x", "CAF\u00c9"}, // a paste the files cannot hold
    };
    for (const auto& row : rows) {
        const Outcome outcome =
            TypeAndOK(dialog, QString::fromUtf8(row.keys), QString::fromUtf8(row.paste));
        EXPECT_TRUE(outcome.okPressed) << row.keys;
        EXPECT_EQ(outcome.name, QString::fromUtf8(row.name)) << row.keys;
    }

    const Outcome tooLong = TypeAndOK(dialog, QString(60, u'x'));
    EXPECT_EQ(tooLong.shown, QString(55, u'X'));
    EXPECT_EQ(tooLong.name.size(), 55);
    EXPECT_TRUE(scripted.MessageBoxes().empty());
}

TEST(RecordDlg, RefusesBlankNamesAndResetsOnEveryShow) {
    platform::ScriptedBackend scripted;
    platform::SetProgram(QStringLiteral("Drosk"), QStringLiteral("Corvane Knowledge Acquisition"));
    RecordDlg dialog;

    EXPECT_TRUE(TypeAndOK(dialog, QStringLiteral("first")).okPressed);

    // Shown again: empty box, OKPressed False; then a blank name is refused.
    QString boxAtStart = QStringLiteral("unset");
    bool pressedAtStart = true;
    QString boxAfterRefusal = QStringLiteral("unset");
    bool openAfterRefusal = false;
    WhenModal([&](QDialog* d) {
        auto* box = Control<QLineEdit>(d, "RecordName");
        boxAtStart = box->text();
        pressedAtStart = dialog.OKPressed();
        QTest::keyClicks(box, QStringLiteral("   "));
        QTest::mouseClick(Control<QPushButton>(d, "OKBtn"), Qt::LeftButton);
        boxAfterRefusal = box->text();
        openAfterRefusal = d->isVisible();
        QTest::mouseClick(Control<QPushButton>(d, "CancelBtn"), Qt::LeftButton);
    });
    ExecWithDeadline(dialog);
    EXPECT_EQ(boxAtStart, QString());
    EXPECT_FALSE(pressedAtStart);
    EXPECT_EQ(boxAfterRefusal, QString());
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_FALSE(dialog.OKPressed());
    EXPECT_EQ(dialog.GetRecordName(), QString());
    ASSERT_EQ(scripted.MessageBoxes().size(), 1U);
    EXPECT_EQ(scripted.MessageBoxes()[0].text, QStringLiteral("Invalid Record Name"));
    EXPECT_EQ(scripted.MessageBoxes()[0].icon, platform::Icon::Exclamation);
    EXPECT_EQ(scripted.MessageBoxes()[0].title, QStringLiteral("Drosk"));

    // Closed by Escape: no name.
    WhenModal([](QDialog* d) {
        QTest::keyClicks(Control<QLineEdit>(d, "RecordName"), QStringLiteral("abc"));
        QTest::keyClick(d, Qt::Key_Escape);
    });
    ExecWithDeadline(dialog);
    EXPECT_FALSE(dialog.OKPressed());
    EXPECT_EQ(dialog.GetRecordName(), QString());
}

TEST(RecordDlg, KeepsThePlaceOfItsFirstShowing) {
    platform::ScriptedBackend scripted;
    RecordDlg dialog;
    QPoint first;
    WhenModal([&](QDialog* d) {
        first = d->pos();
        d->move(first + QPoint(40, 30));
        QTest::mouseClick(Control<QPushButton>(d, "CancelBtn"), Qt::LeftButton);
    });
    ExecWithDeadline(dialog);
    QPoint second;
    WhenModal([&](QDialog* d) {
        second = d->pos();
        QTest::mouseClick(Control<QPushButton>(d, "CancelBtn"), Qt::LeftButton);
    });
    ExecWithDeadline(dialog);
    EXPECT_EQ(second, first + QPoint(40, 30));
}
