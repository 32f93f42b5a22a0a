#include "DroskFixture.h"

namespace {

const Levels kThirdOfFour{-10, -10, 10, -10, -10, -10, -10, -10, -10};

} // namespace

// Answering: every click and slider move of the knowledge engineer goes into the chosen
// record at once; what the program shows never changes it.

TEST_F(DroskTest, SingleChoiceClickHoldsTenOnTheOptionAndMinusTenElsewhere) {
    const QString set = WriteSet(QStringLiteral("s.qst"), {{"Which?", 0, {"A", "B", "C", "D"}}});
    MakeMain();
    Load(set);
    NewRecord(QStringLiteral("r"));
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(Check(i)->isVisible()) << i;
        EXPECT_FALSE(Check(i)->isChecked()) << i;
        EXPECT_FALSE(Slider(i)->isVisible()) << i;
        EXPECT_FALSE(Ind(i)->isVisible()) << i;
    }
    EXPECT_FALSE(Check(4)->isVisible());
    EXPECT_EQ(Held(0, 1), kNeutral);
    Check(0)->click();
    Check(2)->click();
    EXPECT_EQ(Held(0, 1), kThirdOfFour);
    EXPECT_FALSE(Check(0)->isChecked());
}

TEST_F(DroskTest, SlidersWriteTheirLevelAndShowItsWord) {
    const QString set = WriteSet(QStringLiteral("m.qst"), {{"How well?", 1, {"A", "B", "C"}}});
    MakeMain();
    Load(set);
    NewRecord(QStringLiteral("r"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Slider(i)->isVisible());
        EXPECT_EQ(Slider(i)->value(), 0);
        EXPECT_EQ(Ind(i)->text(), QStringLiteral("Neutral"));
    }
    EXPECT_FALSE(Slider(3)->isVisible());
    EXPECT_FALSE(Check(0)->isVisible());

    // Each level's word and colour, stepping down from Yes to No.
    const struct {
        int value;
        const char* word;
        QColor colour;
    } levels[] = {{10, "Yes", QColor(0xC0, 0, 0)},
                  {5, "Perhaps", QColor(0, 0, 0xC0)},
                  {0, "Neutral", QColor(0, 0x80, 0)},
                  {-5, "Unlikely", QColor(0, 0, 0xC0)},
                  {-10, "No", QColor(0, 0, 0)}};
    Step(1, 2);
    for (const auto& level : levels) {
        SCOPED_TRACE(level.word);
        EXPECT_EQ(Ind(1)->text(), QString::fromLatin1(level.word));
        EXPECT_EQ(Ind(1)->palette().color(QPalette::WindowText), level.colour);
        EXPECT_EQ(Held(0, 1)[1], level.value);
        Step(1, -1);
    }

    // A drag counts when it ends; a value between the levels is kept and shown as "No".
    Drag(2, 3);
    EXPECT_EQ(Ind(2)->text(), QStringLiteral("No"));
    EXPECT_EQ(Ind(2)->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    EXPECT_EQ(Held(0, 1), Levels({0, -10, 3, 0, 0, 0, 0, 0, 0}));
    Click("FirstBtn");
    EXPECT_EQ(Slider(2)->value(), 3);
    EXPECT_EQ(Ind(2)->text(), QStringLiteral("No"));
}

// Keyboard only: the sliders are tab stops after the navigation buttons, and each key
// that moves one writes its level into the record.
TEST_F(DroskTest, SlidersAnswerFromTheKeyboard) {
    const QString set = WriteSet(QStringLiteral("k.qst"), {{"How well?", 1, {"A", "B"}}});
    MakeMain();
    Load(set);
    NewRecord(QStringLiteral("r"));
    m_Main->activateWindow(); // back from the record-name dialog
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_Main.get()));
    Button("LastBtn")->setFocus();
    QCoreApplication::processEvents(); // let the window's activation settle
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), Slider(0));
    QTest::keyClick(Slider(0), Qt::Key_Right);
    EXPECT_EQ(Ind(0)->text(), QStringLiteral("Perhaps"));
    QTest::keyClick(Slider(0), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), Slider(1));
    QTest::keyClick(Slider(1), Qt::Key_Home);
    QTest::keyClick(Slider(1), Qt::Key_PageDown);
    EXPECT_EQ(Held(0, 1), Levels({5, -5, 0, 0, 0, 0, 0, 0, 0}));
    QTest::keyClick(Slider(1), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Button("LoadRecord"));
}

TEST_F(DroskTest, ValuesSetByTheProgramAreNotAnswers) {
    const QString set = WriteSet(QStringLiteral("p.qst"),
                                 {{"Which?", 0, {"A", "B"}}, {"How well?", 1, {"A", "B"}}});
    MakeMain();
    Load(set);
    NewRecord(QStringLiteral("r"));
    Check(1)->setChecked(true);
    EXPECT_EQ(Held(0, 1), kNeutral);
    Click("NextBtn");
    Slider(0)->setValue(10);
    EXPECT_EQ(Held(0, 2), kNeutral);
    EXPECT_EQ(Ind(0)->text(), QStringLiteral("Neutral"));
}

TEST_F(DroskTest, StoredResponsesAreShownAndOnlyMovedSlidersChange) {
    const QString set =
        WriteSet(QStringLiteral("odd.qst"),
                 {{"Which?", 0, {"A", "B", "C", "D", "E"}}, {"How well?", 1, {"A", "B", "C"}}});
    // Question 1 holds 10 twice; question 2 holds levels the slider cannot show.
    WriteFile(QStringLiteral("odd.dat"), "[ODD]\r\n" +
                                             QuestionLine(1, {0, 10, 0, 0, 10, 0, 0, 0, 0}) +
                                             QuestionLine(2, {20, -30, 3, 0, 0, 0, 0, 0, 0}) +
                                             "RecordDescription=nodesc.htm\r\n\r\n");
    MakeMain();
    Load(set);
    EXPECT_EQ(Held(0, 1), Levels({0, 10, 0, 0, 10, 0, 0, 0, 0}));
    LoadRecord(QStringLiteral("ODD"));
    // The first option at 10 is chosen, as a click would choose it.
    EXPECT_TRUE(Check(1)->isChecked());
    EXPECT_FALSE(Check(4)->isChecked());
    EXPECT_EQ(Held(0, 1), Levels({-10, 10, -10, -10, -10, -10, -10, -10, -10}));

    Click("NextBtn");
    EXPECT_EQ(Slider(0)->value(), 10);
    EXPECT_EQ(Slider(1)->value(), -10);
    EXPECT_EQ(Slider(2)->value(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Ind(i)->text(), QStringLiteral("No")) << i;
    EXPECT_EQ(Held(0, 2), Levels({20, -30, 3, 0, 0, 0, 0, 0, 0}));
    Step(0, 1);   // already at the end: not a move
    Drag(1, -10); // let go where it was
    EXPECT_EQ(Held(0, 2), Levels({20, -30, 3, 0, 0, 0, 0, 0, 0}));
    Step(0, -1);
    EXPECT_EQ(Held(0, 2), Levels({5, -30, 3, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Ind(0)->text(), QStringLiteral("Perhaps"));
}

// Navigation: First and Last go straight there; Next follows the reliances on the
// record's own responses and clears what it passes over.

TEST_F(DroskTest, NextPassesOverQuestionsTheRecordRulesOutAndClearsThem) {
    // 2 needs 1A; 3 needs 2 Yes (so goes with 2); 4 is always asked; 5 needs 1B or 4B.
    const QString set = WriteSet(QStringLiteral("chain.qst"),
                                 {{"Q1 single", 0, {"A", "B"}},
                                  {"Q2 needs 1A", 1, {"Yes", "No"}, {{1, 1}}},
                                  {"Q3 needs 2 Yes", 0, {"A", "B"}, {{2, 1}}},
                                  {"Q4 free", 1, {"A", "B"}},
                                  {"Q5 needs 1B or 4B", 1, {"A", "B"}, {{1, 2}, {4, 2}}, 1}});
    MakeMain();
    Load(set);
    NewRecord(QStringLiteral("r"));
    Check(0)->click(); // 1A
    Click("NextBtn");
    ASSERT_EQ(QuestionNo(), QStringLiteral("2"));
    Step(0, 2); // 2 Yes
    Click("NextBtn");
    ASSERT_EQ(Wording(), QStringLiteral("Q3 needs 2 Yes"));
    Check(1)->click();
    EXPECT_FALSE(Check(0)->isChecked());

    // Back to 1 and choose B: 2 is not met, nor 3, which relies on the cleared 2.
    Click("FirstBtn");
    EXPECT_TRUE(Check(0)->isChecked());
    Check(1)->click();
    Item("NextQuestionMenu")->trigger();
    EXPECT_EQ(QuestionNo(), QStringLiteral("4"));
    EXPECT_EQ(Wording(), QStringLiteral("Q4 free"));
    EXPECT_EQ(Held(0, 2), kNeutral);
    EXPECT_EQ(Held(0, 3), kNeutral);

    // 5 needs 1B or 4B: 1B is enough.
    Click("NextBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("5"));
    Step(1, 1);
    Click("NextBtn"); // the last question: nothing happens
    EXPECT_EQ(QuestionNo(), QStringLiteral("5"));
    EXPECT_EQ(Held(0, 5)[1], 5);
}

TEST_F(DroskTest, RelianceOfAnyPairOnAMultipleChoiceNeedsPerhapsOrYes) {
    const QString set = WriteSet(QStringLiteral("any.qst"),
                                 {{"Q1 multiple", 1, {"A", "B"}},
                                  {"Q2 needs 1A or 1B", 1, {"X", "Y"}, {{1, 1}, {1, 2}}, 1}});
    MakeMain();
    Load(set);
    NewRecord(QStringLiteral("r"));
    struct Case {
        int a;
        int b;
        bool asked;
    };
    for (const Case c : {Case{0, 0, false}, Case{-1, 0, false}, Case{0, 1, true}, Case{0, 2, true},
                         Case{1, -2, true}}) {
        SCOPED_TRACE(testing::Message() << c.a << " " << c.b);
        Click("FirstBtn");
        Drag(0, 5 * c.a);
        Drag(1, 5 * c.b);
        Click("NextBtn");
        EXPECT_EQ(QuestionNo(), c.asked ? QStringLiteral("2") : QStringLiteral("1"));
    }
}

TEST_F(DroskTest, NextWithNothingLaterMetClearsTheRestAndStays) {
    const QString set =
        WriteSet(QStringLiteral("stay.qst"), {{"Q1", 0, {"A", "B"}},
                                              {"Q2 needs 1A", 1, {"X", "Y"}, {{1, 1}}},
                                              {"Q3 needs 1A", 1, {"X", "Y"}, {{1, 1}}}});
    MakeMain();
    Load(set);
    NewRecord(QStringLiteral("r"));
    Click("LastBtn"); // Last tests no reliance
    EXPECT_EQ(QuestionNo(), QStringLiteral("3"));
    Step(0, 2);
    Click("FirstBtn");
    Check(1)->click();
    Click("NextBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("1"));
    EXPECT_TRUE(Check(1)->isChecked());
    EXPECT_EQ(Held(0, 1), Levels({-10, 10, -10, -10, -10, -10, -10, -10, -10}));
    EXPECT_EQ(Held(0, 3), kNeutral);
}

TEST_F(DroskTest, LastKeepsTheQuestionsBetweenAndOneQuestionSetsStayPut) {
    const QString set = WriteSet(
        QStringLiteral("last.qst"),
        {{"Q1", 1, {"A", "B"}}, {"Q2", 1, {"X", "Y"}}, {"Q3 needs 2X", 0, {"X", "Y"}, {{2, 1}}}});
    const QString one = WriteSet(QStringLiteral("one.qst"), {{"Only", 0, {"A", "B"}}});
    MakeMain();
    Load(set);
    NewRecord(QStringLiteral("r"));
    Click("NextBtn");
    Step(1, -1);
    Item("LastQuestionMenu")->trigger();
    EXPECT_EQ(Wording(), QStringLiteral("Q3 needs 2X"));
    EXPECT_EQ(Held(0, 2)[1], -5);
    Item("FirstQuestionMenu")->trigger();
    EXPECT_EQ(QuestionNo(), QStringLiteral("1"));

    Load(one);
    NewRecord(QStringLiteral("r"));
    Check(0)->click();
    for (const char* command : {"NextBtn", "LastBtn", "FirstBtn"}) {
        Click(command);
        EXPECT_EQ(QuestionNo(), QStringLiteral("1")) << command;
        EXPECT_TRUE(Check(0)->isChecked()) << command;
    }
}
