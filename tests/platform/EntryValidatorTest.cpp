#include "platform/EntryValidator.h"
#include "platform/ScriptedBackend.h"

#include <QCoreApplication>

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using platform::EntryValidator;

namespace {

struct Row {
    const char* input;
    bool upperCase;
    int maxLength;
    const char* expected; // nullptr: refused
};

} // namespace

// Every rule the files need from a text box, typed or pasted alike.
TEST(EntryValidator, AppliesTheTextRules) {
    const QString fiftyFive(55, u'a');
    const Row rows[] = {
        {"a,b", false, 0, "a\u00b8b"},
        {",,", false, 0, "\u00b8\u00b8"},
        {"cats and dogs", false, 0, "cats and dogs"},
        {"cats, dogs", true, 55, "CATS\u00b8 DOGS"},
        {"r2 d2 \u00e9t\u00e9", true, 55, "R2 D2 \u00c9T\u00c9"},
        {"\u00ff", true, 0, "\u0178"},             // capital lies in 0x80-0x9F
        {"\u00b5\u00df", true, 0, "\u00b5\u00df"}, // capitals the files cannot hold
        {"\u20ac5 \u2018q\u2019", false, 0, "\u20ac5 \u2018q\u2019"},
        {"\t tab", false, 0, "\t tab"},
        {"arrow \u2192", false, 0, nullptr},
        {"\xf0\x9f\x98\x80", false, 0, nullptr},
        {"\u0100", true, 55, nullptr},
        // A line break would end the item early and break the file's lines.
        {"nodesc\nhtm", false, 0, nullptr},
        {"PET\r\nONE", true, 55, nullptr},
        {"page\r", false, 0, nullptr},
    };
    for (const Row& row : rows) {
        EntryValidator validator(nullptr, row.upperCase, row.maxLength);
        QString text = QString::fromUtf8(row.input);
        int pos = 0;
        const auto state = validator.validate(text, pos);
        if (row.expected == nullptr) {
            EXPECT_EQ(state, QValidator::Invalid) << row.input;
        } else {
            EXPECT_EQ(state, QValidator::Acceptable) << row.input;
            EXPECT_EQ(text, QString::fromUtf8(row.expected)) << row.input;
        }
    }
    EntryValidator bounded(nullptr, true, 55);
    QString text = fiftyFive;
    int pos = 0;
    EXPECT_EQ(bounded.validate(text, pos), QValidator::Acceptable);
    text += u'b';
    EXPECT_EQ(bounded.validate(text, pos), QValidator::Invalid);
}

TEST(EntryValidator, WorksOnKeysAndPasteInALineEdit) {
    QLineEdit box;
    box.setValidator(new EntryValidator(&box, true, 10));
    QTest::keyClicks(&box, QStringLiteral("ab,c"));
    EXPECT_EQ(box.text(), QStringLiteral("AB\u00b8C"));
    box.insert(QStringLiteral("d,e")); // what a paste does
    EXPECT_EQ(box.text(), QStringLiteral("AB\u00b8CD\u00b8E"));
    box.insert(QStringLiteral("\u2192"));
    EXPECT_EQ(box.text(), QStringLiteral("AB\u00b8CD\u00b8E"));
    box.insert(QStringLiteral("f\ng"));
    EXPECT_EQ(box.text(), QStringLiteral("AB\u00b8CD\u00b8E"));
    QTest::keyClicks(&box, QStringLiteral("xyzw"));
    EXPECT_EQ(box.text(), QStringLiteral("AB\u00b8CD\u00b8EXYZ"));
    // Text set by the program is shown as it is.
    box.setText(QStringLiteral("stored, as is"));
    EXPECT_EQ(box.text(), QStringLiteral("stored, as is"));
}

// A bounded box takes text whole or not at all, however long: its own limit would cut a
// paste silently. A key pressed in a full box is simply not taken; a longer paste is said.
TEST(EntryValidator, ABoundedBoxRefusesALongerPasteWholeAndSaysSo) {
    platform::ScriptedBackend scripted;
    QLineEdit box;
    box.setValidator(new EntryValidator(&box, false, 32767));
    box.insert(QString(32767, u'a'));
    EXPECT_EQ(box.text().size(), 32767);
    QTest::keyClicks(&box, QStringLiteral("b"));
    QCoreApplication::processEvents();
    EXPECT_EQ(box.text(), QString(32767, u'a'));
    EXPECT_TRUE(scripted.MessageBoxes().empty());

    box.clear();
    box.insert(QString(32768, u'c'));
    QCoreApplication::processEvents();
    EXPECT_EQ(box.text(), QString()) << "the paste was cut instead of refused";
    ASSERT_EQ(scripted.MessageTexts(), QStringList{EntryValidator::TooLongText(32767)});

    // Stored text is shown as it is, without a word.
    box.setText(QString(40000, u'd'));
    QCoreApplication::processEvents();
    EXPECT_EQ(box.text().size(), 40000);
    EXPECT_EQ(scripted.MessageBoxes().size(), 1u);
}
