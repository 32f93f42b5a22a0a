// Mirel worked from the keyboard alone: the option buttons as one Tab stop whichever rows
// a question shows, Enter on a focused button, and a whole consultation of the sample.

#include "tests/support/Keyboard.h"
#include "MirelFixture.h"

#include <QApplication>
#include <QTest>

using testsupport::Focused;
using testsupport::FocusName;
using testsupport::Press;
using testsupport::TabTo;
using testsupport::TabUntil;

class MirelKeysTest : public MirelTest {
protected:
    static QString Sample() { return QStringLiteral(CORVANE_TEST_DATA "/../../examples/pets.qst"); }

    void ShowActive() {
        MakeMain();
        m_Main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_Main.get()));
    }
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

// Enter, on the main keyboard or the keypad, presses the focused button as Space does.
TEST_F(MirelKeysTest, EnterPressesTheFocusedButton) {
    ShowActive();
    Button(QStringLiteral("LoadQuestions"))->setFocus();
    Press(Qt::Key_Return);
    EXPECT_EQ(m_Script.FileDialogs().size(), 1u) << "Load Questions opens the file dialog";
    Button(QStringLiteral("ExitBtn"))->setFocus();
    QTest::keyClick(Focused(), Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u) << "Exit Program asks first";
    ExpectQuitQuestion(m_Script.MessageBoxes()[0]);
}
