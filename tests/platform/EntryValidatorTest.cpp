#include "platform/EntryValidator.h"

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
