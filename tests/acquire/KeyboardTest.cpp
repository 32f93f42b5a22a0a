// Drosk from the keyboard: the option buttons stay one Tab stop whichever rows a question
// shows, and menu shortcuts act while the record-name box has the focus.

#include "tests/support/Keyboard.h"
#include "DroskFixture.h"

using testsupport::Focused;
using testsupport::FocusName;
using testsupport::Press;
using testsupport::TabUntil;

class DroskKeysTest : public DroskTest {
protected:
    static QString Sample() { return QStringLiteral(CORVANE_TEST_DATA "/../../examples/pets.qst"); }
};

// Question 11 of the sample has five options, question 12 two: after option 5 was clicked
// on 11, Tab must still reach 12's options.
TEST_F(DroskKeysTest, TabReachesTheOptionButtonsWhicheverRowsAreShown) {
    ShowActive();
    Load(Sample());
    LoadRecord(QStringLiteral("DOG"));
    for (int i = 0; i < 12 && QuestionNo() != QStringLiteral("11"); ++i)
        Click("NextBtn");
    ASSERT_EQ(QuestionNo(), QStringLiteral("11"));
    QTest::mouseClick(Check(4), Qt::LeftButton, {}, QPoint(7, Check(4)->height() / 2));
    ASSERT_TRUE(Check(4)->isChecked());
    Click("LastBtn");
    ASSERT_EQ(QuestionNo(), QStringLiteral("12"));

    // DOG holds option 2 for question 12: Tab lands there.
    ASSERT_TRUE(Check(1)->isChecked());
    Button(QStringLiteral("LastBtn"))->setFocus();
    QStringList passed;
    EXPECT_EQ(
        TabUntil(
            [](QWidget* w) { return w && w->objectName().startsWith(QLatin1String("m_checks(")); },
            &passed, false, 20),
        Check(1))
        << passed.join(u' ').toStdString();
    Press(Qt::Key_Up);
    EXPECT_EQ(Focused(), Check(0)) << FocusName().toStdString();
    EXPECT_EQ(Held(0, 12)[0], 10) // DOG is the first record
        << "the arrow chose option 1 for the record";
}

// Enter, on the main keyboard or the keypad, presses the focused button as Space does.
TEST_F(DroskKeysTest, EnterPressesTheFocusedButton) {
    ShowActive();
    Button(QStringLiteral("LoadQuestions"))->setFocus();
    Press(Qt::Key_Return);
    EXPECT_EQ(m_Script.FileDialogs().size(), 1u) << "Load Questions opens the file dialog";
    Button(QStringLiteral("ExitBtn"))->setFocus();
    QTest::keyClick(Focused(), Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u) << "Exit Program asks first";
    ExpectQuitQuestion(m_Script.MessageBoxes()[0]);
}

// The record-name box has the focus at start and after every name typed; the menus'
// shortcuts come first all the same, as Ctrl+X for Exit.
TEST_F(DroskKeysTest, MenuShortcutsComeBeforeTheNameBox) {
    ShowActive();
    QWidget* box = Focused();
    ASSERT_TRUE(box == NameBox() || box == NameBox()->lineEdit()) << FocusName().toStdString();
    Press(Qt::Key_X, Qt::ControlModifier);
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u) << "Ctrl+X at start-up asks to leave";
    ExpectQuitQuestion(m_Script.MessageBoxes()[0]);

    QTest::keyClicks(Focused(), QStringLiteral("CAT"));
    Press(Qt::Key_A, Qt::ControlModifier); // the box's own: no menu item has it
    ASSERT_EQ(NameBox()->lineEdit()->selectedText(), QStringLiteral("CAT"));
    Press(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(m_Script.MessageBoxes().size(), 2u) << "Ctrl+X with the name selected asks too";
    EXPECT_EQ(NameBox()->currentText(), QStringLiteral("CAT")) << "and cuts nothing";
    Press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(m_Script.FileDialogs().size(), 1u);
}
