#include "HalvetFixture.h"

#include <QTest>

using platform::Answer;
using platform::Icon;

namespace {
const QString kSep = QStringLiteral("\u00b8");
}

TEST_F(HalvetTest, StartsWithOneNewQuestion) {
    MakeMain();
    EXPECT_EQ(Label("PrognameLabel")->text(), QStringLiteral("Corvane Question Editor"));
    EXPECT_EQ(Label("VersionLabel")->text(), QStringLiteral("Version 4.1.0"));
    EXPECT_EQ(QuestionNo(), QStringLiteral("1"));
    EXPECT_EQ(VisibleOptions(), 2);
    EXPECT_FALSE(Label("OptNo(2)")->isVisible());
    EXPECT_TRUE(ShownPairs().isEmpty());
    EXPECT_TRUE(Button("QImportance(0)")->isChecked());
    EXPECT_TRUE(Button("KEType(1)")->isChecked());
    EXPECT_TRUE(Button("UserType(0)")->isChecked());
}

// Every edit reaches the question: it is shown again after leaving it and coming back.
TEST_F(HalvetTest, EditsGoIntoTheQuestionWithCommasTurnedIntoSeparators) {
    MakeMain();
    Fill(QStringLiteral("Size,big"), QStringLiteral("Yours,please"),
         {QStringLiteral("Small,ish"), QStringLiteral("Large"), QStringLiteral("Huge,r")});
    Click("KEType(0)");
    Click("UserType(1)");
    Click("QImportance(2)");
    Click("NextBtn");
    ASSERT_EQ(QuestionNo(), QStringLiteral("2"));
    Click("PrevBtn");
    EXPECT_EQ(Box("KEQuestion")->text(), "Size" + kSep + "big");
    EXPECT_EQ(Box("UserQuestion")->text(), "Yours" + kSep + "please");
    EXPECT_EQ(Option(2)->text(), "Huge" + kSep + "r");
    EXPECT_EQ(VisibleOptions(), 3);
    EXPECT_TRUE(Button("KEType(0)")->isChecked());
    EXPECT_TRUE(Button("UserType(1)")->isChecked());
    EXPECT_TRUE(Button("QImportance(2)")->isChecked());
}

TEST_F(HalvetTest, TextBoxesTakeAtMost120TypedCharactersButShowLongerStoredText) {
    MakeMain();
    Type(Box("KEQuestion"), QString(130, u'k'));
    EXPECT_EQ(Box("KEQuestion")->text().size(), 120);
    Type(Option(0), QStringLiteral("x\u2192y"));
    EXPECT_EQ(Option(0)->text(), QStringLiteral("xy"));

    // A stored wording of 150 characters is shown whole and can still be shortened.
    auto q = std::make_shared<kb::CQuestion>();
    q->SetKEQ(std::string(150, 'w'));
    q->AddOption("a");
    q->AddOption("b");
    ASSERT_TRUE(editor::QuestionFileWriter().Save({q}, Path("long.qst").toStdString()));
    Load(Path("long.qst"));
    EXPECT_EQ(Box("KEQuestion")->text().size(), 150);
    QTest::keyClick(Box("KEQuestion"), Qt::Key_End); // shown from its start
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
    EXPECT_TRUE(Button("UserType(0)")->isChecked());
    Click("NextBtn"); // complete only if the copy reached the question
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
    for (int i = 0; i < 7; ++i)
        Trigger("OptionsMenuRemove");
    EXPECT_EQ(VisibleOptions(), 2);
    Trigger("OptionsMenuAdd");
    EXPECT_EQ(Option(2)->text(), QString()); // the removed text went with its option

    // Ctrl+A adds an option even from a text box, which would take it as "select all".
    m_Main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_Main.get()));
    Option(0)->setFocus();
    QTest::keyClick(Option(0), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(VisibleOptions(), 4);
    QTest::keyClick(Option(0), Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(VisibleOptions(), 3);
}

TEST_F(HalvetTest, NextRefusesAnIncompleteQuestionAndAppendsAtTheEnd) {
    MakeMain();
    Click("PrevBtn");
    Type(Box("KEQuestion"), QStringLiteral("Only the KE wording"));
    Click("NextBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("1"));
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u);
    EXPECT_EQ(m_Script.MessageBoxes()[0].text, QStringLiteral("Complete this Question first"));
    EXPECT_EQ(m_Script.MessageBoxes()[0].icon, Icon::Exclamation);
    EXPECT_EQ(m_Script.MessageBoxes()[0].title, QStringLiteral("Halvet"));

    Fill(QString(), QStringLiteral("User"), {QStringLiteral("a"), QStringLiteral("b")});
    Click("NextBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("2"));
    EXPECT_EQ(VisibleOptions(), 2);
    Click("NextBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("2"));
    Click("FirstBtn");
    Click("NextBtn"); // question 2 exists: shown, not appended
    Click("LastBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("2"));
}

TEST_F(HalvetTest, HelpPageGoesThroughThePageDialogAndHelpMenuToTheViewer) {
    MakeMain();
    QString shown;
    testsupport::WhenModal([&shown](QDialog* dialog) {
        auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("URL"));
        shown = box->text();
        box->clear();
        QTest::keyClicks(box, QStringLiteral("  pets.htm "));
        dialog->findChild<QAbstractButton*>(QStringLiteral("OKBtn"))->click();
    });
    Trigger("QuestionsMenuHelp");
    EXPECT_EQ(shown, QStringLiteral("nohelp.htm"));
    Fill(QStringLiteral("K"), QStringLiteral("U"), {QStringLiteral("a"), QStringLiteral("b")});
    m_Script.QueueFileName(Path("help.qst"));
    SaveWithNotice();
    const kb::QuestionArray saved = ReadBack(Path("help.qst"));
    ASSERT_EQ(saved.size(), 1u) << "the set was not saved";
    EXPECT_EQ(saved[0]->GetQHelp(), "pets.htm");

    Trigger("HelpMenuContents");
    Trigger("HelpMenuSearch");
    ASSERT_EQ(m_Script.HelpCalls().size(), 2u);
    EXPECT_EQ(m_Script.HelpCalls()[1].helpFile, QStringLiteral(".\\Halvet.HLP"));
    EXPECT_EQ(m_Script.HelpCalls()[1].command, platform::HelpCommand::KeywordSearch);
}

// The set's own pages are previewed from beside it, wherever Halvet was started.
TEST_F(HalvetTest, PageDialogPreviewsPagesBesideTheLoadedSet) {
    WriteSet(Path("kb.qst"), 1);
    WriteBytes(Path("pets.htm"), "<p>pets</p>");
    MakeMain();
    const auto browse = [this] {
        testsupport::WhenModal([](QDialog* dialog) {
            dialog->findChild<QLineEdit*>(QStringLiteral("URL"))
                ->setText(QStringLiteral("pets.htm"));
            dialog->findChild<QAbstractButton*>(QStringLiteral("BrowseBtn"))->click();
            dialog->findChild<QAbstractButton*>(QStringLiteral("CancelBtn"))->click();
        });
        Trigger("QuestionsMenuHelp");
    };
    Load(Path("kb.qst"));
    browse();
    m_Script.QueueAnswer(Answer::Yes);
    Trigger("QuestionsMenuNew");
    browse();
    EXPECT_EQ(m_Script.OpenedPages(), QStringList({Path("pets.htm"), QStringLiteral("pets.htm")}));
}

TEST_F(HalvetTest, LeavingAsksAndNoKeepsEverything) {
    MakeMain();
    Type(Box("KEQuestion"), QStringLiteral("kept"));
    m_Script.QueueAnswer(Answer::No);
    Click("QuitBtn");
    EXPECT_TRUE(m_Main->isVisible());
    EXPECT_EQ(Box("KEQuestion")->text(), QStringLiteral("kept"));
    EXPECT_EQ(m_Script.MessageTexts(), QStringList{QStringLiteral(" Are You Sure ")});
    EXPECT_EQ(m_Script.MessageBoxes()[0].title, QStringLiteral("Quit Program"));
    m_Script.QueueAnswer(Answer::Yes);
    Trigger("QuestionsMenuQuit");
    EXPECT_FALSE(m_Main->isVisible());
}
