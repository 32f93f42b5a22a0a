// Mirel worked from the keyboard alone: the option buttons as one Tab stop whichever rows
// a question shows, and a whole consultation of the sample.

#include "tests/support/Keyboard.h"
#include "MirelFixture.h"

#include <QApplication>
#include <QTest>

using testsupport::Focused;
using testsupport::FocusName;
using testsupport::Press;
using testsupport::TabUntil;

class MirelKeysTest : public MirelTest {
protected:
    static QString Sample() { return QStringLiteral(CORVANE_TEST_DATA "/../../examples/pets.qst"); }

    // A click on the round button itself (the row has no caption to click).
    void ClickOption(int row) {
        QTest::mouseClick(Check(row), Qt::LeftButton, {}, QPoint(7, Check(row)->height() / 2));
        ASSERT_TRUE(Check(row)->isChecked());
        ASSERT_EQ(Focused(), Check(row));
    }
    // The option button Tab reaches from the navigation buttons, or nullptr.
    QWidget* TabToOptions(QStringList* passed) {
        Button(QStringLiteral("LastBtn"))->setFocus();
        return TabUntil(
            [](QWidget* w) { return w && w->objectName().startsWith(QLatin1String("m_checks(")); },
            passed, false, 20);
    }
};

// Choosing option 3 twice by mouse put the option buttons' one Tab stop on row 3; question
// 4 shows two rows, and Tab must still reach them.
TEST_F(MirelKeysTest, TabReachesTheOptionButtonsWhicheverRowsAreShown) {
    ShowActive();
    Load(Sample());
    ClickOption(2);
    Click("NextBtn");
    ClickOption(2);
    Click("NextBtn");
    Step(0, 1); // question 3 is answered with a slider
    Click("NextBtn");
    ASSERT_EQ(QuestionNo(), QStringLiteral("4"));

    QStringList passed;
    EXPECT_EQ(TabToOptions(&passed), Check(0))
        << "none chosen: Tab lands on the first option; Tab went "
        << passed.join(u' ').toStdString();
    Press(Qt::Key_Down);
    EXPECT_EQ(Focused(), Check(1)) << FocusName().toStdString();
    Press(Qt::Key_Space);
    EXPECT_TRUE(Check(1)->isChecked());
    EXPECT_TRUE(Button(QStringLiteral("NextBtn"))->isEnabled());

    // Back on question 1, Tab lands on the option chosen there.
    Click("FirstBtn");
    passed.clear();
    EXPECT_EQ(TabToOptions(&passed), Check(2)) << passed.join(u' ').toStdString();
    Press(Qt::Key_Up);
    EXPECT_EQ(Focused(), Check(1));
    EXPECT_TRUE(Check(1)->isChecked()) << "an arrow from the chosen option chooses the next";
}

// A whole consultation of the sample, from Load to the explanation of the third record,
// with the keyboard alone: each key goes to the widget with the focus, and Enter presses
// the focused button.
TEST_F(MirelKeysTest, ConsultationOfTheSampleWithTheKeyboardAlone) {
    ShowActive();
    QCoreApplication::processEvents(); // let the window's activation settle
    ASSERT_EQ(FocusName(), QStringLiteral("LoadQuestions"));
    m_Script.QueueFileName(Sample()); // the file dialog: the sample's path, then Enter
    Press(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(QuestionNo(), QStringLiteral("1"));
    Press(Qt::Key_Backtab); // from Load Questions back into the answer rows

    // Per question: into the answers (Tab from Last >>, where the focus is after Next),
    // the answer, then back to Next > and Enter. Down moves within the option buttons,
    // Space chooses, Right raises the first slider to Perhaps.
    const struct {
        const char* question;
        std::vector<Qt::Key> answer;
    } road[] = {
        {"1", {Qt::Key_Down, Qt::Key_Down, Qt::Key_Space}}, // a large garden
        {"2", {Qt::Key_Down, Qt::Key_Down, Qt::Key_Space}}, // several hours
        {"3", {Qt::Key_Right}},                             // walks: perhaps
        {"4", {Qt::Key_Down, Qt::Key_Space}},               // no allergies
        {"5", {Qt::Key_Right}},
        {"6", {Qt::Key_Space}}, // asked: there is a garden
        {"7", {Qt::Key_Space}}, // asked: walks and hours
        {"8", {Qt::Key_Right}},
        {"9", {Qt::Key_Space}},
        {"11", {Qt::Key_Space}}, // 10 passed over: no flat
        {"12", {Qt::Key_Space}}, // asked: a mammal
    };
    bool first = true;
    for (const auto& step : road) {
        SCOPED_TRACE(step.question);
        ASSERT_EQ(QuestionNo(), QString::fromLatin1(step.question));
        if (!first) {
            ASSERT_EQ(FocusName(), QStringLiteral("LastBtn"));
            Press(Qt::Key_Tab);
        }
        first = false;
        ASSERT_TRUE(FocusName() == QStringLiteral("m_checks(0)") ||
                    FocusName() == QStringLiteral("m_Sliders(0)"))
            << FocusName().toStdString();
        for (const Qt::Key key : step.answer)
            Press(key);
        Press(Qt::Key_Backtab);
        Press(Qt::Key_Backtab);
        ASSERT_EQ(FocusName(), QStringLiteral("NextBtn"));
        Press(Qt::Key_Return);
    }

    // Next on the last question shows the record list, its first row focused and chosen.
    ASSERT_NE(List(), nullptr);
    ASSERT_TRUE(List()->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowActive(List()));
    ASSERT_EQ(FocusName(), QStringLiteral("RecName(0)"));
    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    EXPECT_EQ(List()->SelectedRec(), 2);
    for (int i = 0; i < 4; ++i) // Page <<, Page >>, Describe, Explain
        Press(Qt::Key_Tab);
    ASSERT_EQ(FocusName(), QStringLiteral("Explain"));
    const QString third = RecordNames()[2];
    Press(Qt::Key_Return);
    ASSERT_NE(m_Main->ExplanationWindow(), nullptr);
    EXPECT_TRUE(m_Main->ExplanationWindow()->isVisible());
    EXPECT_EQ(m_Main->ExplanationWindow()->windowTitle(),
              QStringLiteral("Selected Record = ") + third);
}
