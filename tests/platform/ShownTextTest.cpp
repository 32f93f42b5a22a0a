#include "platform/ShownText.h"
#include "platform/Platform.h"
#include "platform/ScriptedBackend.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

using namespace platform;

namespace {

const QChar kEllipsis(0x2026);

// "Cannot Display: " and a page name of about two megabytes, as a data file can hold.
QString LongMessage() {
    return QStringLiteral("Cannot Display: https://example.org/") + QString(2 << 20, u'a') +
           QStringLiteral("/dog.htm");
}

} // namespace

// A message names pages, records and paths that come from files; a megabyte of one kept
// the message box laying it out for many seconds. Each line shows its start and its end.
TEST(ShownText, MessagesKeepAReadableLengthOfEveryLine) {
    const QString shown = AbridgeMessage(LongMessage());
    EXPECT_LE(shown.size(), kMessageLineLimit);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Cannot Display: https://example.org/aaa")));
    EXPECT_TRUE(shown.endsWith(QStringLiteral("aaa/dog.htm")));
    EXPECT_EQ(shown.count(kEllipsis), 1);

    // Short lines, line breaks and a line of exactly the limit stay as they are.
    const QString exact(kMessageLineLimit, u'x');
    for (const QString& text : {QString(), QStringLiteral(" Are You Sure "),
                                QStringLiteral("Changed on disk:\n/kb/pets.qst\nSave?"), exact})
        EXPECT_EQ(AbridgeMessage(text), text);

    // Every line on its own: the lines around a long one are whole.
    const QString lines = AbridgeMessage(QStringLiteral("The data file:\n") + LongMessage() +
                                         QStringLiteral("\nSave Records anyway?"));
    EXPECT_TRUE(lines.startsWith(QStringLiteral("The data file:\nCannot Display: ")));
    EXPECT_TRUE(lines.endsWith(QStringLiteral("/dog.htm\nSave Records anyway?")));

    // Endless lines: the first ones, then an ellipsis.
    QString many;
    for (int i = 0; i < 100000; ++i)
        many += QStringLiteral("line %1\n").arg(i);
    const QStringList kept = AbridgeMessage(many).split(u'\n');
    EXPECT_EQ(kept.size(), kMessageLineCount);
    EXPECT_EQ(kept.front(), QStringLiteral("line 0"));
    EXPECT_EQ(kept.back(), QString(kEllipsis));

    // Never half a character made of two.
    QString faces;
    for (int i = 0; i < 1000; ++i)
        faces += QString::fromUtf8("\xF0\x9F\x98\x80");
    for (int limit : {kMessageLineLimit, qsizetype{10}, qsizetype{11}}) {
        const QString cut = AbridgeText(faces, limit);
        EXPECT_TRUE(cut.isValidUtf16()) << limit;
        EXPECT_LE(cut.size(), limit);
    }
}

// The cut is made where every message passes, so no window of any program can be frozen
// by one.
TEST(ShownText, EveryMessageBoxShowsTheAbridgedText) {
    {
        ScriptedBackend scripted;
        MessageBox(LongMessage(), Buttons::OK, Icon::Information, QStringLiteral("Invalid"));
        ASSERT_EQ(scripted.MessageTexts().size(), 1);
        EXPECT_EQ(scripted.MessageTexts().front(), AbridgeMessage(LongMessage()));
    }
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->text();
        box->done(QMessageBox::Ok);
    });
    MessageBox(LongMessage(), Buttons::OK, Icon::Information, QStringLiteral("Invalid"));
    EXPECT_EQ(shown, AbridgeMessage(LongMessage()));
}
