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

// "Cannot Display: " and a page name of about two megabytes, as a data file can hold.
const QString kLong = QStringLiteral("Cannot Display: https://example.org/") +
                      QString(2 << 20, u'a') + QStringLiteral("/dog.htm");

} // namespace

// A megabyte of one name kept a message box laying it out for many seconds. Each line of
// a message keeps its start and its end; short lines, and the lines around a long one,
// stay whole; endless lines end in an ellipsis; no character made of two is halved.
TEST(ShownText, MessagesKeepAReadableLengthOfEveryLine) {
    const QString text = QStringLiteral("Changed on disk:\n") + kLong + QStringLiteral("\nSave?");
    const QStringList lines = AbridgeMessage(text).split(u'\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("Changed on disk:"));
    EXPECT_EQ(lines[1].size(), kMessageLineLimit);
    EXPECT_TRUE(lines[1].startsWith(u"Cannot Display: https://example.org/aaa"));
    EXPECT_TRUE(lines[1].endsWith(u"aaa/dog.htm"));
    EXPECT_EQ(lines[1].count(QChar(0x2026)), 1);
    EXPECT_EQ(lines[2], QStringLiteral("Save?"));
    const QString exact(kMessageLineLimit, u'x');
    EXPECT_EQ(AbridgeMessage(exact), exact);

    const QStringList kept = AbridgeMessage(QStringLiteral("line\n").repeated(100000)).split(u'\n');
    EXPECT_EQ(kept.size(), kMessageLineCount);
    EXPECT_EQ(kept.back(), QString(QChar(0x2026)));

    // Every cut, at the head's end and at the tail's start, on either side of a pair.
    const QString faces = QString::fromUtf8("\xF0\x9F\x98\x80").repeated(1000);
    for (const QString& text : {faces, QStringLiteral("x") + faces, faces + QStringLiteral("x")}) {
        for (qsizetype limit = 3; limit < 40; ++limit)
            EXPECT_TRUE(AbridgeText(text, limit).isValidUtf16())
                << limit << " " << text.left(1).toStdString();
        EXPECT_TRUE(AbridgeText(text, kMessageLineLimit).isValidUtf16());
    }
}

// The cut is made where every message passes, so no window of any program can be frozen
// by one: the scripted backend and Qt's message box both get the abridged text.
TEST(ShownText, EveryMessageBoxShowsTheAbridgedText) {
    {
        ScriptedBackend scripted;
        MessageBox(kLong, Buttons::OK, Icon::Information, QStringLiteral("Invalid"));
        EXPECT_EQ(scripted.MessageTexts(), QStringList(AbridgeMessage(kLong)));
    }
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->text();
        box->done(QMessageBox::Ok);
    });
    MessageBox(kLong, Buttons::OK, Icon::Information, QStringLiteral("Invalid"));
    EXPECT_EQ(shown, AbridgeMessage(kLong));
}
