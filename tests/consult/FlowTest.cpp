#include "MirelFixture.h"
#include "tests/support/DefaultLocale.h"

#include <QTest>

// flow.qst: 1 multiple (A, B, C); 2 needs 1B; 3 needs 2 Yes; 4 needs 1A or 1C; 5 multiple,
// always asked; 6 names a question and an option that do not exist; 7 needs 1A and 1C;
// 8 needs 7 Yes.

namespace {

const QString kNotAsked = QStringLiteral(" [This question was NOT asked/answered] ");

} // namespace

TEST_F(MirelTest, NextPassesOverAChainAndClearsWhatItPasses) {
    MakeMain();
    Load(Data("flow.qst"));
    Step(1, 1); // 1B Perhaps
    Click("NextBtn");
    ASSERT_EQ(QuestionNo(), QStringLiteral("2"));
    Check(0)->click();
    Click("NextBtn");
    ASSERT_EQ(QuestionNo(), QStringLiteral("3"));
    Check(0)->click();

    // Back to 1: B to Neutral, A to Perhaps. 2 is no longer met, and 3, which relies on
    // 2, sees 2 cleared in the same scan.
    Click("FirstBtn");
    EXPECT_EQ(Slider(1)->value(), 5);
    Step(1, -1);
    Step(0, 1);
    Click("NextBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("4"));
    EXPECT_EQ(Label("theQuestion")->text(), QStringLiteral("Q4 needs Q1 A or C"));
    EXPECT_FALSE(Button("NextBtn")->isEnabled());

    Click("AnalysisBtn");
    const QStringList lines = Explain();
    EXPECT_EQ(Explained(lines, 2), QStringList(kNotAsked));
    EXPECT_EQ(Explained(lines, 3), QStringList(kNotAsked));
    EXPECT_EQ(Explained(lines, 1).mid(0, 3),
              QStringList({QStringLiteral("--- A [MAYBE]"), QStringLiteral("--- B [NEUTRAL]"),
                           QStringLiteral("--- C [NEUTRAL]")}));
}

TEST_F(MirelTest, NextWithNothingLeftToAskShowsTheResults) {
    MakeMain();
    Load(Data("flow.qst"));
    Step(0, 1); // 1A only: 7 needs 1C too, so 6, 7 and 8 are passed over after 5
    Click("NextBtn");
    Check(0)->click();
    Click("NextBtn");
    ASSERT_EQ(QuestionNo(), QStringLiteral("5"));
    Step(3, 1);
    Click("NextBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("5"));
    ASSERT_NE(List(), nullptr);
    EXPECT_TRUE(List()->isVisible());
    EXPECT_EQ(Get<QLabel>(List(), QStringLiteral("pageLabel"))->text(),
              QStringLiteral("Page 1 of 1"));
    const QStringList lines = Explain();
    for (int q : {6, 7, 8})
        EXPECT_EQ(Explained(lines, q), QStringList(kNotAsked)) << q;
}

TEST_F(MirelTest, NextOnTheLastQuestionAnalysesAndKeepsItShown) {
    MakeMain();
    Load(Data("flow.qst"));
    Step(0, 1);
    Step(2, 1);
    Click("NextBtn");
    ASSERT_EQ(QuestionNo(), QStringLiteral("4"));
    Check(0)->click();
    Click("NextBtn");
    Step(0, 1);
    Click("NextBtn"); // 6 names nothing that exists: never met
    ASSERT_EQ(QuestionNo(), QStringLiteral("7"));
    Check(0)->click();
    Click("NextBtn");
    ASSERT_EQ(QuestionNo(), QStringLiteral("8"));
    Check(1)->click();
    Item("NextQuestionMenu")->trigger();
    EXPECT_EQ(QuestionNo(), QStringLiteral("8"));
    EXPECT_TRUE(List()->isVisible());
    EXPECT_FALSE(Check(0)->isChecked());
    EXPECT_FALSE(Check(1)->isChecked()); // shown off, stored unchanged:
    const QStringList lines = Explain();
    EXPECT_EQ(Explained(lines, 8).mid(0, 2),
              QStringList({QStringLiteral("--- Yes [NO]"), QStringLiteral("--- No [YES]")}));
    EXPECT_EQ(Explained(lines, 6), QStringList(kNotAsked));
}

TEST_F(MirelTest, LastGoesToTheLastAnsweredQuestion) {
    MakeMain();
    Load(Data("flow.qst"));
    Click("LastBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("1"));
    Step(0, 1);
    Click("NextBtn");
    Check(0)->click(); // question 4
    Click("NextBtn");
    ASSERT_EQ(QuestionNo(), QStringLiteral("5"));
    Click("FirstBtn");
    Item("LastQuestionMenu")->trigger();
    EXPECT_EQ(QuestionNo(), QStringLiteral("4"));
    EXPECT_TRUE(Check(0)->isChecked());
    EXPECT_TRUE(Button("NextBtn")->isEnabled());
}

TEST_F(MirelTest, NewQueryClearsEveryAnswer) {
    MakeMain();
    Load(Data("worked.qst"));
    Check(1)->click();
    Click("NextBtn");
    Step(0, 2);
    Click("AnalysisBtn");
    ASSERT_NE(Get<QLabel>(List(), QStringLiteral("RecScore(0)"))->text(), QStringLiteral("0.00%"));

    Item("NewQueryActionsMenu")->trigger();
    EXPECT_EQ(QuestionNo(), QStringLiteral("1"));
    EXPECT_FALSE(Check(1)->isChecked());
    EXPECT_FALSE(Button("NextBtn")->isEnabled());
    Item("ShowAnalysisActionsMenu")->trigger();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Get<QLabel>(List(), QStringLiteral("RecScore(%1)").arg(i))->text(),
                  QStringLiteral("0.00%"));
    const QStringList lines = Explain();
    for (int q = 1; q <= 4; ++q)
        EXPECT_EQ(Explained(lines, q), QStringList(kNotAsked)) << q;
}

TEST_F(MirelTest, ExplainingTheWorkedExample) {
    AnswerTheWorkedExamplesFirstTwo();
    Click("NextBtn");
    Step(0, 2);
    Step(1, 1);
    Step(2, -2);
    Click("NextBtn");
    ASSERT_EQ(QuestionNo(), QStringLiteral("4"));
    Click("AnalysisBtn");

    EXPECT_EQ(List()->windowTitle(), QStringLiteral("Corvane (Records)"));
    EXPECT_EQ(RecordNames().mid(0, 4), QStringList({QStringLiteral("R1"), QStringLiteral("R3"),
                                                    QStringLiteral("R2"), QString()}));
    EXPECT_EQ(Get<QLabel>(List(), QStringLiteral("RecScore(0)"))->text(), QStringLiteral("87.96%"));
    EXPECT_EQ(Get<QLabel>(List(), QStringLiteral("RecScore(1)"))->text(), QStringLiteral("37.04%"));
    EXPECT_EQ(Get<QLabel>(List(), QStringLiteral("RecScore(2)"))->text(), QStringLiteral("11.11%"));

    const QStringList expected = {
        QStringLiteral("[Question 1] [Importance = NORMAL] "),
        QStringLiteral("Which size? [Type = Single] "),
        QStringLiteral("--- Small [NO]"),
        QStringLiteral("--- Medium [YES]"),
        QStringLiteral("--- Large [NO]"),
        QStringLiteral("Resultant Score = 10.00 From a MAX of 10.00"),
        QStringLiteral(" "),
        QStringLiteral("[Question 2] [Importance = HIGH] "),
        QStringLiteral("Which colours? [Type = Multiple] "),
        QStringLiteral("--- Red [YES]"),
        QStringLiteral("--- Green [MAYBE]"),
        QStringLiteral("--- Blue [NO]"),
        QStringLiteral("Resultant Score = 16.67 From a MAX of 20.00"),
        QStringLiteral(" "),
        QStringLiteral("[Question 3] [Importance = MEDIUM] "),
        QStringLiteral("Which shape? [Type = Multiple] "),
        QStringLiteral("--- Oval [YES]"),
        QStringLiteral("--- Square [MAYBE]"),
        QStringLiteral("--- Flat [NO]"),
        QStringLiteral("--- Long [NEUTRAL]"),
        QStringLiteral("Resultant Score = 7.50 From a MAX of 15.00"),
        QStringLiteral(" "),
        QStringLiteral("[Question 4] [Importance = NORMAL] "),
        QStringLiteral("Which finish? [Type = Single] "),
        QStringLiteral(" [This question was NOT asked/answered] "),
        QStringLiteral(" "),
    };
    EXPECT_EQ(Explain(), expected);
    EXPECT_EQ(m_Main->ExplanationWindow()->windowTitle(), QStringLiteral("Selected Record = R1"));

    // R2, at position 3, earned -10 on the High question.
    QTest::mouseClick(Get<QLabel>(List(), QStringLiteral("RecName(2)")), Qt::LeftButton);
    EXPECT_EQ(List()->SelectedRec(), 2);
    const QStringList r2 = Explain();
    EXPECT_EQ(r2[12], QStringLiteral("Resultant Score = -10.00 From a MAX of 20.00"));
    EXPECT_EQ(m_Main->ExplanationWindow()->windowTitle(), QStringLiteral("Selected Record = R2"));
}

// Percentages and scores are written with the decimal separator of the user's locale.
TEST_F(MirelTest, NumbersAreShownInTheUsersLocale) {
    const testsupport::DefaultLocale german(QLocale(QLocale::German, QLocale::Germany));
    AnswerTheWorkedExamplesFirstTwo();
    Click("AnalysisBtn");
    EXPECT_EQ(Get<QLabel>(List(), QStringLiteral("RecScore(0)"))->text(), QStringLiteral("94,44%"));
    const QStringList r1 = Explain();
    EXPECT_EQ(Explained(r1, 1).last(),
              QStringLiteral("Resultant Score = 10,00 From a MAX of 10,00"));
    EXPECT_EQ(Explained(r1, 2).last(),
              QStringLiteral("Resultant Score = 16,67 From a MAX of 20,00"));
    QTest::mouseClick(Get<QLabel>(List(), QStringLiteral("RecName(2)")), Qt::LeftButton);
    const QStringList r2 = Explain();
    EXPECT_EQ(Explained(r2, 2).last(),
              QStringLiteral("Resultant Score = -10,00 From a MAX of 20,00"));

    // A locale whose separator is the point shows it so.
    const testsupport::DefaultLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
    Click("AnalysisBtn");
    EXPECT_EQ(Get<QLabel>(List(), QStringLiteral("RecScore(0)"))->text(), QStringLiteral("94.44%"));
}
