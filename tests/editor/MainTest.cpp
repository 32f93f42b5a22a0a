#include "HalvetFixture.h"

#include <QCloseEvent>
#include <QTest>

using platform::Answer;
using platform::Buttons;
using platform::HelpCommand;
using platform::Icon;

namespace {
const QString kSep = QStringLiteral("\u00b8");
}

TEST_F(HalvetTest, StartsWithOneNewQuestion) {
    MakeMain();
    EXPECT_EQ(m_Main->windowTitle(), QStringLiteral("Corvane Question Editor"));
    EXPECT_EQ(Label("PrognameLabel")->text(), QStringLiteral("Corvane Question Editor"));
    EXPECT_EQ(Label("VersionLabel")->text(), QStringLiteral("Version 4.1.0"));
    EXPECT_EQ(QuestionNo(), QStringLiteral("1"));
    EXPECT_EQ(VisibleOptions(), 2);
    EXPECT_TRUE(Label("OptNo(1)")->isVisible());
    EXPECT_FALSE(Label("OptNo(2)")->isVisible());
    EXPECT_TRUE(ShownPairs().isEmpty());
    EXPECT_TRUE(Button("QImportance(0)")->isChecked());
    EXPECT_TRUE(Button("KEType(1)")->isChecked());
    EXPECT_TRUE(Button("UserType(0)")->isChecked());
}

// Every edit reaches the question: shown again after leaving it and coming back.
TEST_F(HalvetTest, EditsGoIntoTheQuestionWithCommasTurnedIntoSeparators) {
    MakeMain();
    Fill(QStringLiteral("Size,big"), QStringLiteral("Your size,please"),
         {QStringLiteral("Small,ish"), QStringLiteral("Large"), QStringLiteral("Huge,r")});
    Click("KEType(0)");
    Click("UserType(1)");
    Click("QImportance(2)");
    Click("NextBtn");
    ASSERT_EQ(QuestionNo(), QStringLiteral("2"));
    EXPECT_EQ(Box("KEQuestion")->text(), QString());
    Click("PrevBtn");
    EXPECT_EQ(Box("KEQuestion")->text(), QStringLiteral("Size") + kSep + QStringLiteral("big"));
    EXPECT_EQ(Box("UserQuestion")->text(), QStringLiteral("Your size") + kSep + "please");
    EXPECT_EQ(Option(0)->text(), QStringLiteral("Small") + kSep + "ish");
    EXPECT_EQ(Option(2)->text(), QStringLiteral("Huge") + kSep + "r");
    EXPECT_EQ(VisibleOptions(), 3);
    EXPECT_TRUE(Button("KEType(0)")->isChecked());
    EXPECT_TRUE(Button("UserType(1)")->isChecked());
    EXPECT_TRUE(Button("QImportance(2)")->isChecked());
    Click("QImportance(1)");
    Click("LastBtn");
    Click("FirstBtn");
    EXPECT_TRUE(Button("QImportance(1)")->isChecked());
}

TEST_F(HalvetTest, TextBoxesTakeAtMost120TypedCharactersButShowLongerStoredText) {
    MakeMain();
    Type(Box("KEQuestion"), QString(130, u'k'));
    EXPECT_EQ(Box("KEQuestion")->text().size(), 120);
    Type(Option(0), QStringLiteral("x\u2192y"));
    EXPECT_EQ(Option(0)->text(), QStringLiteral("xy"));

    // A stored wording of 150 characters is shown whole and can still be shortened.
    QByteArray block = QByteArray(150, 'w') + "\r\nMultiple\r\nU\r\nSingle\r\nA\r\nB\r\n";
    for (int i = 0; i < 7; ++i)
        block += "Null\r\n";
    block += " 1\r\n 0\xB8"
             "0\xB8"
             "0\xB8"
             "0\xB8"
             "0\xB8"
             "0\xB8"
             "0\xB8"
             "0\xB8"
             "0\xB8"
             "AND\r\n 0\xB8"
             "0\xB8"
             "0\xB8"
             "0\xB8"
             "0\xB8"
             "0\xB8"
             "0\xB8"
             "0\xB8"
             "0\xB8"
             "\r\nnohelp.htm\r\n 1\r\n";
    WriteBytes(Path("long.qst"), block);
    Load(Path("long.qst"));
    EXPECT_EQ(Box("KEQuestion")->text().size(), 150);
    QTest::keyClick(Box("KEQuestion"), Qt::Key_Backspace);
    Type(Box("KEQuestion"), QStringLiteral("zz"));
    EXPECT_EQ(Box("KEQuestion")->text(), QString(149, u'w') + u'z');
}

TEST_F(HalvetTest, CopyTakesOnlyTheWording) {
    MakeMain();
    Type(Box("UserQuestion"), QStringLiteral("old"));
    Click("Copy"); // an empty wording empties the end user's
    EXPECT_EQ(Box("UserQuestion")->text(), QString());
    Fill(QStringLiteral("Which?"), QString(), {QStringLiteral("a"), QStringLiteral("b")});
    Click("Copy");
    EXPECT_EQ(Box("UserQuestion")->text(), QStringLiteral("Which?"));
    EXPECT_TRUE(Button("UserType(0)")->isChecked());
    Click("NextBtn"); // complete only if the copy reached the question
    EXPECT_EQ(QuestionNo(), QStringLiteral("2"));
    Click("PrevBtn");
    EXPECT_EQ(Box("UserQuestion")->text(), QStringLiteral("Which?"));
}

TEST_F(HalvetTest, OptionsStayBetweenTwoAndNine) {
    MakeMain();
    Trigger("OptionsMenuRemove");
    EXPECT_EQ(VisibleOptions(), 2);
    for (int i = 0; i < 8; ++i)
        Trigger("OptionsMenuAdd");
    EXPECT_EQ(VisibleOptions(), 9);
    Type(Option(2), QStringLiteral("third"));
    for (int i = 0; i < 6; ++i)
        Trigger("OptionsMenuRemove");
    EXPECT_EQ(VisibleOptions(), 3);
    Trigger("OptionsMenuRemove");
    EXPECT_EQ(VisibleOptions(), 2);
    Trigger("OptionsMenuAdd");
    EXPECT_EQ(Option(2)->text(), QString()); // the removed text went with its option
    EXPECT_EQ(Control<QAction>("OptionsMenuAdd")->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+A")));
    EXPECT_EQ(Control<QAction>("OptionsMenuRemove")->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+R")));
}

TEST_F(HalvetTest, NextRefusesAnIncompleteQuestionAndAppendsAtTheEnd) {
    MakeMain();
    Click("PrevBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("1"));
    Type(Box("KEQuestion"), QStringLiteral("Only the KE wording"));
    Click("NextBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("1"));
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u);
    const auto& box = m_Script.MessageBoxes()[0];
    EXPECT_EQ(box.text, QStringLiteral("Complete this Question first"));
    EXPECT_EQ(box.icon, Icon::Exclamation);
    EXPECT_EQ(box.buttons, Buttons::OK);
    EXPECT_EQ(box.title, QStringLiteral("Halvet"));

    Fill(QString(), QStringLiteral("User"), {QStringLiteral("a"), QStringLiteral("b")});
    Click("NextBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("2"));
    EXPECT_EQ(VisibleOptions(), 2);
    EXPECT_EQ(Option(0)->text(), QString());
    Click("NextBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("2"));
    EXPECT_EQ(m_Script.MessageBoxes().size(), 2u);
    Click("FirstBtn");
    Click("NextBtn"); // question 2 exists: shown, not appended
    Click("LastBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("2"));
}

TEST_F(HalvetTest, HelpPageIsSetThroughThePageDialog) {
    MakeMain();
    QString shown;
    testing_support::WhenModal([&shown](QDialog* dialog) {
        auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("URL"));
        shown = box->text();
        box->clear();
        QTest::keyClicks(box, QStringLiteral("  pets.htm "));
        dialog->findChild<QAbstractButton*>(QStringLiteral("OKBtn"))->click();
    });
    Click("AddHelpBtn");
    EXPECT_EQ(shown, QStringLiteral("nohelp.htm"));

    testing_support::WhenModal([&shown](QDialog* dialog) {
        shown = dialog->findChild<QLineEdit*>(QStringLiteral("URL"))->text();
        dialog->findChild<QAbstractButton*>(QStringLiteral("CancelBtn"))->click();
    });
    Trigger("QuestionsMenuHelp");
    EXPECT_EQ(shown, QStringLiteral("pets.htm"));

    Fill(QStringLiteral("K"), QStringLiteral("U"), {QStringLiteral("a"), QStringLiteral("b")});
    m_Script.QueueFileName(Path("help.qst"));
    SaveWithNotice();
    EXPECT_EQ(ReadBack(Path("help.qst"))[0]->GetQHelp(), "pets.htm");
}

TEST_F(HalvetTest, HelpMenuOpensTheHelpFileAndHomePage) {
    MakeMain();
    Trigger("HelpMenuContents");
    Trigger("HelpMenuSearch");
    Trigger("HelpMenuHomepage");
    ASSERT_EQ(m_Script.HelpCalls().size(), 2u);
    EXPECT_EQ(m_Script.HelpCalls()[0].helpFile, QStringLiteral(".\\Halvet.HLP"));
    EXPECT_EQ(m_Script.HelpCalls()[0].command, HelpCommand::Contents);
    EXPECT_EQ(m_Script.HelpCalls()[1].command, HelpCommand::KeywordSearch);
    EXPECT_EQ(m_Script.OpenedPages(), QStringList{platform::HomePage()});
}

TEST_F(HalvetTest, LeavingAsksAndNoKeepsEverything) {
    MakeMain();
    Type(Box("KEQuestion"), QStringLiteral("kept"));
    m_Script.QueueAnswer(Answer::No);
    Click("QuitBtn");
    EXPECT_TRUE(m_Main->isVisible());
    EXPECT_EQ(Box("KEQuestion")->text(), QStringLiteral("kept"));
    m_Script.QueueAnswer(Answer::No);
    Trigger("QuestionsMenuQuit");
    EXPECT_TRUE(m_Main->isVisible());
    ASSERT_EQ(m_Script.MessageBoxes().size(), 2u);
    const auto& box = m_Script.MessageBoxes()[0];
    EXPECT_EQ(box.text, QStringLiteral(" Are You Sure "));
    EXPECT_EQ(box.buttons, Buttons::YesNo);
    EXPECT_EQ(box.icon, Icon::Question);
    EXPECT_EQ(box.title, QStringLiteral("Quit Program"));

    m_Script.QueueAnswer(Answer::Yes);
    Trigger("QuestionsMenuQuit");
    EXPECT_FALSE(m_Main->isVisible());
}
