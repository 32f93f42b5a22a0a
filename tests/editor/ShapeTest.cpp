#include "HalvetFixture.h"

using platform::Answer;
using platform::Icon;

class ShapeTest : public HalvetTest {
protected:
    // Loads a set of n questions (and a data file of dataQuestions, if any) and shows
    // question number q.
    void LoadAt(int n, const std::map<int, Pairs>& relies, int q, int dataQuestions = 0) {
        WriteSet(Path("set.qst"), n, relies);
        if (dataQuestions > 0)
            WriteData(Path("set.dat"), dataQuestions);
        m_Main.reset();
        MakeMain();
        Load(Path("set.qst"));
        Show(q);
    }
    void Show(int q) {
        Click("FirstBtn");
        for (int k = 1; k < q; ++k)
            Click("NextBtn");
    }
    void Answered(const char* item, Answer answer) {
        m_Script.QueueAnswer(answer);
        Trigger(item);
    }
    QString KE() { return Box(QStringLiteral("KEQuestion"))->text(); }
};

TEST_F(ShapeTest, InsertingRenumbersTheLaterReliances) {
    LoadAt(5, {{4, {{2, 1}, {3, 2}}}}, 3);
    Answered("InsertMenu", Answer::No);
    EXPECT_EQ(KE(), QStringLiteral("KE 3"));
    Answered("InsertMenu", Answer::Yes);
    EXPECT_EQ(m_Script.MessageTexts().last(), QStringLiteral("Confirm Question Insertion"));
    EXPECT_EQ(m_Script.MessageBoxes().back().icon, Icon::Question);
    EXPECT_EQ(m_Script.MessageBoxes().back().title, QStringLiteral("Confirmation Required"));
    EXPECT_EQ(QuestionNo(), QStringLiteral("3"));
    EXPECT_EQ(KE(), QString());
    EXPECT_EQ(VisibleOptions(), 2);
    Click("LastBtn");
    Click("PrevBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("5"));
    EXPECT_EQ(ShownPairs(), QStringList({"2/1", "4/2"}));
}

// A question set file holds at most 1820 questions: neither Insert nor Next on the last
// question makes another, and both say why.
TEST_F(ShapeTest, NoQuestionBeyondTheMostAQuestionSetHolds) {
    const int most = kb::QuestionFileReader::kMaxQuestions;
    const QString why = QStringLiteral(
        "A question set holds at most 1820 questions: delete a question before adding another");
    LoadAt(most, {}, 1);
    Click("LastBtn");
    Click("NextBtn");
    EXPECT_EQ(QuestionNo(), QString::number(most));
    EXPECT_EQ(m_Script.MessageTexts(), QStringList{why});
    EXPECT_EQ(m_Script.MessageBoxes().back().icon, Icon::Exclamation);
    EXPECT_EQ(m_Script.MessageBoxes().back().title, QStringLiteral("Halvet"));

    // Refused before the confirmation is asked, wherever the question shown is.
    for (const char* button : {"LastBtn", "FirstBtn"}) {
        Click(button);
        Trigger("InsertMenu");
        EXPECT_EQ(m_Script.MessageTexts().last(), why) << button;
    }
    EXPECT_EQ(m_Script.MessageTexts().size(), 3);
    EXPECT_EQ(KE(), QStringLiteral("KE 1"));
    Click("LastBtn");
    EXPECT_EQ(KE(), QStringLiteral("KE %1").arg(most));

    // One question fewer, and Next appends one again.
    Answered("DeleteMenu", Answer::Yes);
    Click("NextBtn");
    EXPECT_EQ(QuestionNo(), QString::number(most));
    EXPECT_EQ(KE(), QString());
    EXPECT_EQ(m_Script.MessageTexts().size(), 4);
}

TEST_F(ShapeTest, DeletingRenumbersOrIsRefusedWhileReliedOn) {
    LoadAt(5, {{4, {{2, 1}, {3, 1}}}, {5, {{4, 3}}}}, 3);
    Answered("DeleteMenu", Answer::Yes);
    EXPECT_EQ(m_Script.MessageTexts(),
              QStringList({QStringLiteral("Confirm Question Deletion"),
                           QStringLiteral("Question 4 has a reliance on this one. You\n"
                                          "must resolve this before deleting this question")}));
    EXPECT_EQ(m_Script.MessageBoxes()[1].title, QStringLiteral("Cannot Delete"));
    EXPECT_EQ(KE(), QStringLiteral("KE 3"));

    LoadAt(5, {{4, {{2, 1}}}, {5, {{4, 3}}}}, 3);
    Answered("DeleteMenu", Answer::Yes);
    EXPECT_EQ(KE(), QStringLiteral("KE 4"));
    EXPECT_EQ(ShownPairs(), QStringList{"2/1"});
    Click("NextBtn");
    EXPECT_EQ(KE(), QStringLiteral("KE 5"));
    EXPECT_EQ(ShownPairs(), QStringList{"3/3"});
}

TEST_F(ShapeTest, DeletingTheLastOrOnlyQuestion) {
    LoadAt(5, {}, 5, 5);
    Answered("DeleteMenu", Answer::Yes);
    EXPECT_EQ(QuestionNo(), QStringLiteral("4"));
    EXPECT_EQ(KE(), QStringLiteral("KE 4"));
    SaveWithNotice();
    EXPECT_EQ(DataOrigins(Path("set.dat")), QStringList({"1", "2", "3", "4"}));

    // The only question is emptied, and the data file is not told.
    LoadAt(1, {}, 1, 1);
    const QByteArray before = ReadBytes(Path("set.dat"));
    Answered("DeleteMenu", Answer::Yes);
    EXPECT_EQ(KE(), QString());
    EXPECT_EQ(VisibleOptions(), 2);
    Fill(QStringLiteral("K"), QStringLiteral("U"), {QStringLiteral("a"), QStringLiteral("b")});
    SaveWithNotice();
    EXPECT_EQ(ReadBytes(Path("set.dat")), before);
}

TEST_F(ShapeTest, QuestionsAppendedBeyondTheDataFileLeaveItAlone) {
    LoadAt(3, {}, 3, 3);
    for (int k = 4; k <= 5; ++k) {
        Click("NextBtn");
        Fill(QStringLiteral("KE %1").arg(k), QStringLiteral("U"),
             {QStringLiteral("a"), QStringLiteral("b")});
    }
    Answered("InsertMenu", Answer::Yes);
    EXPECT_EQ(
        m_Script.MessageTexts().last(),
        QStringLiteral("WARNING: A data file created with the current question set already \n"
                       "exists.  The records in this data file will be updated with a neutral \n"
                       "response by Halvet.  You should use Drosk to update all existing \n"
                       "records with a response for this new question.  Do you still want \n"
                       "to insert a new question ?"));
    EXPECT_EQ(m_Script.MessageBoxes().back().icon, Icon::Exclamation);
    Answered("DeleteMenu", Answer::Yes);
    Answered("DeleteMenu", Answer::Yes); // question 5, beyond the file's three
    SaveWithNotice();
    EXPECT_EQ(DataOrigins(Path("set.dat")), QStringList({"1", "2", "3"}));

    Show(2);
    Answered("InsertMenu", Answer::Yes);
    Fill(QStringLiteral("New"), QStringLiteral("New"), {QStringLiteral("a"), QStringLiteral("b")});
    SaveWithNotice();
    EXPECT_EQ(ReadBytes(Path("set.dat")).split('\n')[2], QByteArray("Question 2=0\xB8"
                                                                    "0\xB8"
                                                                    "0\xB8"
                                                                    "0\xB8"
                                                                    "0\xB8"
                                                                    "0\xB8"
                                                                    "0\xB8"
                                                                    "0\xB8"
                                                                    "0\xB8\r"));
    EXPECT_EQ(DataOrigins(Path("set.dat")), QStringList({"1", "0", "2", "3"}));
}

TEST_F(ShapeTest, NewSetDropsTheSetItsFileAndItsDataFile) {
    LoadAt(3, {}, 2, 3);
    Answered("QuestionsMenuNew", Answer::No);
    EXPECT_EQ(KE(), QStringLiteral("KE 2"));
    EXPECT_EQ(m_Script.MessageTexts()[0],
              QStringLiteral("Are You Sure ?  Any \nunsaved data will be lost"));
    EXPECT_EQ(m_Script.MessageBoxes()[0].title, QStringLiteral("New Qs"));

    Answered("QuestionsMenuNew", Answer::Yes);
    EXPECT_EQ(KE(), QString());
    Click("LastBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("1"));
    Answered("InsertMenu", Answer::Yes);
    EXPECT_EQ(m_Script.MessageTexts().last(), QStringLiteral("Confirm Question Insertion"));
    Answered("DeleteMenu", Answer::Yes);
    Fill(QStringLiteral("K"), QStringLiteral("U"), {QStringLiteral("a"), QStringLiteral("b")});
    m_Script.QueueFileName(QString());
    Click("SaveQuestionsBtn");
    ASSERT_EQ(m_Script.FileDialogs().size(), 2u);
    EXPECT_EQ(m_Script.FileDialogs()[1].startName, QString());
}

// Pairs stored on numbers no question has (a hand-made set) come through inserting and
// deleting as they were; the others go on naming the same question.
TEST_F(ShapeTest, PairsOutsideTheSetSurviveRenumbering) {
    LoadAt(5, {{4, {{-2, 1}, {32767, 1}, {2, 1}}}}, 3);
    Answered("InsertMenu", Answer::Yes);
    Fill(QStringLiteral("New"), QStringLiteral("New"), {QStringLiteral("a"), QStringLiteral("b")});
    Show(1);
    Answered("DeleteMenu", Answer::Yes);
    SaveWithNotice();
    const kb::QuestionArray set = ReadBack(Path("set.qst"));
    ASSERT_EQ(set.size(), 5u);
    const kb::CDependency& reliance = set[3]->m_Dependencies; // the former question 4
    Pairs stored;
    for (std::int16_t slot = 0; slot < reliance.GetNumDependencies(); ++slot) {
        std::int16_t Q = 0;
        std::int16_t Opt = 0;
        reliance.GetDependency(slot, Q, Opt);
        stored.emplace_back(Q, Opt);
    }
    EXPECT_EQ(stored, (Pairs{{-2, 1}, {32767, 1}, {1, 1}}));
}
