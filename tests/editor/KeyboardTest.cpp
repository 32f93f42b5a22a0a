// Halvet from the keyboard: Tab lands on the chosen option of each option group.

#include "tests/support/Keyboard.h"
#include "HalvetFixture.h"

using testsupport::Focused;
using testsupport::FocusName;
using testsupport::Press;
using testsupport::TabUntil;

class HalvetKeysTest : public HalvetTest {
protected:
    static QString Sample() { return QStringLiteral(CORVANE_TEST_DATA "/../../examples/pets.qst"); }

    // The member of group (its controls are named group(i)) that Tab reaches from start.
    QString TabIntoGroup(QWidget* start, const char* group) {
        start->setFocus();
        const QString prefix = QString::fromLatin1(group) + u'(';
        QWidget* found =
            TabUntil([&prefix](QWidget* w) { return w && w->objectName().startsWith(prefix); },
                     nullptr, false, 30);
        return found ? found->objectName() : QStringLiteral("(never reached)");
    }
};

TEST_F(HalvetKeysTest, TabLandsOnTheChosenOptionOfEachGroup) {
    ShowActive();
    Load(Sample()); // question 1: Multiple for the engineer, Single for the user, High
    EXPECT_EQ(TabIntoGroup(Box(QStringLiteral("KEQuestion")), "KEType"),
              QStringLiteral("KEType(1)"));
    EXPECT_EQ(TabIntoGroup(Box(QStringLiteral("UserQuestion")), "UserType"),
              QStringLiteral("UserType(0)"));
    EXPECT_EQ(TabIntoGroup(Button(QStringLiteral("QuitBtn")), "QImportance"),
              QStringLiteral("QImportance(2)"));

    // The arrows choose within the group, and what they choose goes into the question.
    Press(Qt::Key_Left);
    EXPECT_EQ(FocusName(), QStringLiteral("QImportance(1)"));
    EXPECT_TRUE(Control<QRadioButton>(QStringLiteral("QImportance(1)"))->isChecked());

    // Question 5: Single for the engineer, Multiple for the user, Normal.
    for (int i = 0; i < 4; ++i)
        Click("NextBtn");
    ASSERT_EQ(QuestionNo(), QStringLiteral("5"));
    EXPECT_EQ(TabIntoGroup(Box(QStringLiteral("KEQuestion")), "KEType"),
              QStringLiteral("KEType(0)"));
    EXPECT_EQ(TabIntoGroup(Box(QStringLiteral("UserQuestion")), "UserType"),
              QStringLiteral("UserType(1)"));
    EXPECT_EQ(TabIntoGroup(Button(QStringLiteral("QuitBtn")), "QImportance"),
              QStringLiteral("QImportance(0)"));
    Click("FirstBtn");
    EXPECT_EQ(TabIntoGroup(Button(QStringLiteral("QuitBtn")), "QImportance"),
              QStringLiteral("QImportance(1)"))
        << "the importance chosen by the arrow stays with question 1";
}

// Enter, on the main keyboard or the keypad, presses the focused button as Space does.
TEST_F(HalvetKeysTest, EnterPressesTheFocusedButton) {
    ShowActive();
    Button(QStringLiteral("LoadQuestionsBtn"))->setFocus();
    Press(Qt::Key_Return);
    EXPECT_EQ(m_Script.FileDialogs().size(), 1u) << "Load Questions opens the file dialog";
    Button(QStringLiteral("QuitBtn"))->setFocus();
    QTest::keyClick(Focused(), Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u) << "Quit Corvane asks first";
    ExpectQuitQuestion(m_Script.MessageBoxes()[0]);
}
