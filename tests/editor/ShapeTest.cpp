#include "HalvetFixture.h"

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

const QString kDataWarning =
    QStringLiteral("WARNING: A data file created with the current question set already \n\r"
                   "exists.  The records in this data file will be updated with a neutral \n\r"
                   "response by Halvet.  You should use Drosk to update all existing \n\r"
                   "records with a response for this new question.  Do you still want \n\r"
                   "to insert a new question ?");

} // namespace

class ShapeTest : public HalvetTest {
protected:
    // Loads a set of n questions and shows question number q.
    void LoadAt(int n, const std::map<int, Pairs>& relies, int q) {
        WriteSet(Path("set.qst"), n, relies);
        MakeMain();
        Load(Path("set.qst"));
        for (int k = 1; k < q; ++k)
            Click("NextBtn");
        ASSERT_EQ(QuestionNo(), QString::number(q));
    }
    void Answered(const char* item, Answer answer) {
        m_Script.QueueAnswer(answer);
        Trigger(item);
    }
    void Show(int q) {
        Click("FirstBtn");
        for (int k = 1; k < q; ++k)
            Click("NextBtn");
    }
    QString KE() { return Box(QStringLiteral("KEQuestion"))->text(); }
};

TEST_F(ShapeTest, InsertingRenumbersTheLaterReliances) {
    LoadAt(5, {{4, {{2, 1}, {3, 2}}}}, 3);
    Answered("InsertMenu", Answer::No);
    EXPECT_EQ(KE(), QStringLiteral("KE 3"));
    Answered("InsertMenu", Answer::Yes);
    ASSERT_EQ(m_Script.MessageBoxes().size(), 2u);
    const auto& box = m_Script.MessageBoxes()[1];
    EXPECT_EQ(box.text, QStringLiteral("Confirm Question Insertion"));
    EXPECT_EQ(box.buttons, Buttons::YesNo);
    EXPECT_EQ(box.icon, Icon::Question);
    EXPECT_EQ(box.title, QStringLiteral("Confirmation Required"));

    EXPECT_EQ(QuestionNo(), QStringLiteral("3"));
    EXPECT_EQ(KE(), QString());
    EXPECT_EQ(VisibleOptions(), 2);
    Click("LastBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("6"));
    Click("PrevBtn");
    EXPECT_EQ(KE(), QStringLiteral("KE 4"));
    EXPECT_EQ(ShownPairs(), QStringList({"2/1", "4/2"}));
}

TEST_F(ShapeTest, DeletingRenumbersOrIsRefusedWhileRelliedOn) {
    LoadAt(5, {{4, {{2, 1}, {3, 1}}}, {5, {{4, 3}}}}, 3);
    Answered("DeleteMenu", Answer::Yes);
    ASSERT_EQ(m_Script.MessageBoxes().size(), 2u);
    EXPECT_EQ(m_Script.MessageBoxes()[0].text, QStringLiteral("Confirm Question Deletion"));
    EXPECT_EQ(m_Script.MessageBoxes()[0].title, QStringLiteral("Confirmation Required"));
    const auto& refusal = m_Script.MessageBoxes()[1];
    EXPECT_EQ(refusal.text, QStringLiteral("Question 4 has a reliance on this one. You\n"
                                           "must resolve this before deleting this question"));
    EXPECT_EQ(refusal.title, QStringLiteral("Cannot Delete"));
    EXPECT_EQ(refusal.icon, Icon::Exclamation);
    EXPECT_EQ(KE(), QStringLiteral("KE 3"));
    Click("LastBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("5"));

    // Without the pair on question 3 the deletion goes ahead.
    m_Main.reset();
    LoadAt(5, {{4, {{2, 1}}}, {5, {{4, 3}}}}, 3);
    Answered("DeleteMenu", Answer::Yes);
    EXPECT_EQ(QuestionNo(), QStringLiteral("3"));
    EXPECT_EQ(KE(), QStringLiteral("KE 4"));
    EXPECT_EQ(ShownPairs(), QStringList{"2/1"});
    Click("NextBtn");
    EXPECT_EQ(KE(), QStringLiteral("KE 5"));
    EXPECT_EQ(ShownPairs(), QStringList{"3/3"});
    Click("LastBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("4"));
}

TEST_F(ShapeTest, DeletingTheLastQuestionShiftsTheDataFileByItsNumber) {
    WriteData(Path("set.dat"), 5);
    LoadAt(5, {}, 5);
    Answered("DeleteMenu", Answer::Yes);
    EXPECT_EQ(QuestionNo(), QStringLiteral("4"));
    EXPECT_EQ(KE(), QStringLiteral("KE 4"));
    Show(2);
    Answered("DeleteMenu", Answer::Yes);
    SaveWithNotice();
    EXPECT_EQ(DataOrigins(Path("set.dat")), QStringList({"1", "3", "4"}));
}

TEST_F(ShapeTest, DeletingTheOnlyQuestionEmptiesItAndLeavesTheDataFile) {
    WriteData(Path("set.dat"), 1);
    const QByteArray before = ReadBytes(Path("set.dat"));
    LoadAt(1, {}, 1);
    Answered("DeleteMenu", Answer::Yes);
    EXPECT_EQ(QuestionNo(), QStringLiteral("1"));
    EXPECT_EQ(KE(), QString());
    EXPECT_EQ(Option(0)->text(), QString());
    EXPECT_EQ(VisibleOptions(), 2);
    Fill(QStringLiteral("K"), QStringLiteral("U"), {QStringLiteral("a"), QStringLiteral("b")});
    SaveWithNotice();
    EXPECT_EQ(ReadBytes(Path("set.dat")), before);
}

TEST_F(ShapeTest, QuestionsAppendedBeyondTheDataFileLeaveItAlone) {
    WriteData(Path("set.dat"), 3);
    LoadAt(3, {}, 3);
    for (int k = 4; k <= 5; ++k) {
        Click("NextBtn");
        Fill(QStringLiteral("KE %1").arg(k), QStringLiteral("U"),
             {QStringLiteral("a"), QStringLiteral("b")});
    }
    Answered("InsertMenu", Answer::Yes);
    EXPECT_EQ(m_Script.MessageBoxes().back().text, kDataWarning);
    EXPECT_EQ(m_Script.MessageBoxes().back().icon, Icon::Exclamation);
    Answered("DeleteMenu", Answer::Yes);
    EXPECT_EQ(KE(), QStringLiteral("KE 5"));
    Answered("DeleteMenu", Answer::Yes); // question 5, beyond the file's three
    SaveWithNotice();
    EXPECT_EQ(DataOrigins(Path("set.dat")), QStringList({"1", "2", "3"}));

    Show(2);
    Answered("InsertMenu", Answer::Yes);
    Fill(QStringLiteral("New"), QStringLiteral("New"), {QStringLiteral("a"), QStringLiteral("b")});
    SaveWithNotice();
    EXPECT_EQ(DataOrigins(Path("set.dat")), QStringList({"1", "0", "2", "3"}));
    const QList<QByteArray> lines = ReadBytes(Path("set.dat")).split('\n');
    EXPECT_EQ(lines[2], QByteArray("Question 2=0\xB8"
                                   "0\xB8"
                                   "0\xB8"
                                   "0\xB8"
                                   "0\xB8"
                                   "0\xB8"
                                   "0\xB8"
                                   "0\xB8"
                                   "0\xB8\r"));
}

TEST_F(ShapeTest, NewSetDropsTheSetItsFileAndItsDataFile) {
    WriteData(Path("set.dat"), 3);
    LoadAt(3, {}, 2);
    Answered("QuestionsMenuNew", Answer::No);
    EXPECT_EQ(KE(), QStringLiteral("KE 2"));
    const auto& box = m_Script.MessageBoxes()[0];
    EXPECT_EQ(box.text, QStringLiteral("Are You Sure ?  Any \nunsaved data will be lost"));
    EXPECT_EQ(box.title, QStringLiteral("New Qs"));
    EXPECT_EQ(box.icon, Icon::Question);

    Answered("QuestionsMenuNew", Answer::Yes);
    EXPECT_EQ(QuestionNo(), QStringLiteral("1"));
    EXPECT_EQ(KE(), QString());
    Click("LastBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("1"));
    Fill(QStringLiteral("K"), QStringLiteral("U"), {QStringLiteral("a"), QStringLiteral("b")});
    Answered("InsertMenu", Answer::Yes);
    EXPECT_EQ(m_Script.MessageBoxes().back().text, QStringLiteral("Confirm Question Insertion"));
    Answered("DeleteMenu", Answer::Yes);
    m_Script.QueueFileName(QString());
    Click("SaveQuestionsBtn");
    ASSERT_EQ(m_Script.FileDialogs().size(), 2u);
    EXPECT_EQ(m_Script.FileDialogs()[1].startName, QString());
}
