#include "HalvetFixture.h"

#include <QTest>

using platform::Answer;
using platform::Icon;

namespace {

QString Data(const char* name) {
    return QStringLiteral(CORVANE_TEST_DATA "/halvet/") + QString::fromLatin1(name);
}

const QString kIncomplete = QStringLiteral(
    "Question %1 is incomplete.  Clear  ALL\nentries in it OR complete the Question");

} // namespace

// Saving.

TEST_F(HalvetTest, SaveRefusesEmptyHalfFilledAndGappedSets) {
    MakeMain();
    Click("SaveQuestionsBtn");
    Type(Box("KEQuestion"), QStringLiteral("x"));
    Trigger("QuestionsMenuSave");
    EXPECT_EQ(m_Script.MessageTexts(),
              QStringList({QStringLiteral("There is nothing to save"), kIncomplete.arg(1)}));
    EXPECT_EQ(m_Script.MessageBoxes()[0].icon, Icon::Information);
    EXPECT_EQ(m_Script.MessageBoxes()[1].icon, Icon::Exclamation);
    EXPECT_EQ(m_Script.MessageBoxes()[1].title, QStringLiteral("Halvet"));

    // Two questions, both empty: nothing to save either.
    QTest::keyClick(Box("KEQuestion"), Qt::Key_Backspace);
    m_Script.Clear();
    m_Script.QueueAnswer(Answer::Yes);
    Trigger("InsertMenu");
    Click("SaveQuestionsBtn");
    EXPECT_EQ(m_Script.MessageTexts().last(), QStringLiteral("There is nothing to save"));

    // An empty question before a filled one would cut the set short: refused, naming it.
    Click("LastBtn");
    Fill(QStringLiteral("K"), QStringLiteral("U"), {QStringLiteral("a"), QStringLiteral("b")});
    Click("SaveQuestionsBtn");
    EXPECT_EQ(m_Script.MessageTexts().last(),
              QStringLiteral("Question 1 is empty.  Fill it in or delete it\n"
                             "before saving the questions"));
    EXPECT_TRUE(m_Script.FileDialogs().empty());
}

// The question file reads an item that begins with a double quote only up to the closing
// quote, and a comma (from a quoted item of a hand-made file) splits a line in two: such a
// text would come back as something else, so the set is not written.
TEST_F(HalvetTest, SaveRefusesTextTheQuestionFileCannotKeep) {
    WriteSet(Path("set.qst"), 2);
    MakeMain();
    Load(Path("set.qst"));
    const QByteArray before = ReadBytes(Path("set.qst"));
    const QString kCannotKeep =
        QStringLiteral("Question %1 holds text the question file cannot keep:\n"
                       "no text may begin with a double quote or hold a comma");
    Click("NextBtn");
    QLineEdit* option = Option(1);
    option->selectAll();
    Type(option, QStringLiteral(" \"Big\" ones"));
    Click("SaveQuestionsBtn");
    EXPECT_EQ(m_Script.MessageTexts(), QStringList{kCannotKeep.arg(2)});
    EXPECT_EQ(ReadBytes(Path("set.qst")), before);

    // A comma that came in through a quoted item of a hand-made file is refused as well.
    WriteBytes(Path("quoted.qst"), ReadBytes(Path("set.qst")).replace("KE 1", "\"KE, 1\""));
    Load(Path("quoted.qst"));
    m_Script.Clear();
    Click("SaveQuestionsBtn");
    EXPECT_EQ(m_Script.MessageTexts(), QStringList{kCannotKeep.arg(1)});
    EXPECT_EQ(ReadBack(Path("quoted.qst"))[0]->GetKEQ(), "KE, 1");
}

TEST_F(HalvetTest, FirstSaveAsksForAFileAndLaterSavesDoNot) {
    MakeMain();
    Fill(QStringLiteral("Size?"), QStringLiteral("Yours?"),
         {QStringLiteral("Small"), QStringLiteral("Large")});
    Click("NextBtn");                   // an empty question 2 is not written
    const QString file = Path("sizes"); // used as typed: no extension is added
    WriteBytes(file, "old bytes");
    m_Script.QueueFileName(file);
    m_Script.QueueAnswer(Answer::No);
    Click("SaveQuestionsBtn");
    EXPECT_EQ(ReadBytes(file), QByteArray("old bytes"));
    EXPECT_EQ(m_Script.MessageTexts(), QStringList{QStringLiteral("File Exists - Overwrite ?")});
    ASSERT_EQ(m_Script.FileDialogs().size(), 1u);
    EXPECT_TRUE(m_Script.FileDialogs()[0].save);
    EXPECT_EQ(m_Script.FileDialogs()[0].filter, QStringLiteral("Questions(*.qst)|*.qst"));
    EXPECT_EQ(m_Script.FileDialogs()[0].startName, QString());

    m_Script.QueueFileName(file);
    m_Script.QueueAnswer(Answer::Yes);
    EXPECT_EQ(SaveWithNotice(), file);
    EXPECT_EQ(QuestionNo(), QStringLiteral("2"));
    EXPECT_EQ(ReadBytes(file).count("\r\n"), 18);
    EXPECT_EQ(ReadBack(file)[0]->GetOption(1), "Large");

    Type(Box("KEQuestion"), QStringLiteral("Colour?"));
    Click("SaveQuestionsBtn");
    EXPECT_EQ(m_Script.MessageTexts().last(), kIncomplete.arg(2));
    Fill(QString(), QStringLiteral("Colour?"), {QStringLiteral("Red"), QStringLiteral("Blue")});
    EXPECT_EQ(SaveWithNotice(), file);
    EXPECT_EQ(m_Script.FileDialogs().size(), 2u);
    EXPECT_EQ(ReadBack(file).size(), 2u);

    // Its file deleted meanwhile, the set asks again, starting with the old name.
    QFile::remove(file);
    m_Script.QueueFileName(QString());
    Click("SaveQuestionsBtn");
    ASSERT_EQ(m_Script.FileDialogs().size(), 3u);
    EXPECT_EQ(m_Script.FileDialogs()[2].startName, file);
}

TEST_F(HalvetTest, FailedWriteIsReportedWithoutNoticeAndLeavesTheDataFile) {
    WriteSet(Path("set.qst"), 3);
    WriteData(Path("set.dat"), 3);
    const QByteArray dataBefore = ReadBytes(Path("set.dat"));
    MakeMain();
    Load(Path("set.qst"));
    m_Script.QueueAnswer(Answer::Yes);
    Trigger("InsertMenu");
    Fill(QStringLiteral("New"), QStringLiteral("New"), {QStringLiteral("a"), QStringLiteral("b")});
    ASSERT_TRUE(QFile::remove(Path("set.qst")));
    const QString unwritable = Path("no such folder/set.qst");
    m_Script.Clear();
    m_Script.QueueFileName(unwritable);
    Click("SaveQuestionsBtn");
    EXPECT_EQ(m_Script.MessageTexts(),
              QStringList{QStringLiteral("Cannot Save Questions To ") + unwritable});
    EXPECT_EQ(m_Script.MessageBoxes()[0].icon, Icon::Critical);
    EXPECT_EQ(ReadBytes(Path("set.dat")), dataBefore);
}

// Loading.

TEST_F(HalvetTest, CancelledOrUnreadableLoadKeepsTheSetAndItsFile) {
    WriteSet(Path("set.qst"), 2);
    MakeMain();
    Load(Path("set.qst"));
    Click("NextBtn");
    for (const QString& file : {QString(), Data("broken.qst")}) {
        Load(file);
        EXPECT_EQ(Box("KEQuestion")->text(), QStringLiteral("KE 2"));
    }
    EXPECT_EQ(m_Script.MessageTexts(),
              QStringList{QStringLiteral("Cannot Read Question File: Check Format")});
    EXPECT_FALSE(m_Script.FileDialogs()[0].save);
    EXPECT_EQ(m_Script.FileDialogs()[0].startName, QString());
    QTest::keyClick(Box("KEQuestion"), Qt::Key_End); // shown from its start
    Type(Box("KEQuestion"), QStringLiteral("!"));
    EXPECT_EQ(SaveWithNotice(), Path("set.qst"));
    EXPECT_EQ(m_Script.FileDialogs().size(), 3u); // the three open dialogs only
    EXPECT_EQ(ReadBack(Path("set.qst"))[1]->GetKEQ(), "KE 2!");
}

TEST_F(HalvetTest, PartlyReadSetKeepsItsWholeQuestions) {
    MakeMain();
    Load(Data("partial.qst"));
    // Said once, since a save would write only the questions read.
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u);
    EXPECT_TRUE(m_Script.MessageBoxes()[0].text.startsWith(
        QStringLiteral("Only the first 1 question(s) of this question set could be read")));
    EXPECT_EQ(VisibleOptions(), 3);
    Click("LastBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("1"));
}

// The readers' limit is 32767 items: 1820 questions and blank lines up to it load whole,
// one item more is refused and the set held before stays.
TEST_F(HalvetTest, SetOfExactlyTheItemLimitLoadsAndOneItemMoreIsRefused) {
    const int most = kb::QuestionFileReader::kMaxQuestions;
    WriteSet(Path("most.qst"), most);
    const QByteArray set = ReadBytes(Path("most.qst"));
    WriteBytes(Path("most.qst"), set + "\r\n\r\n\r\n\r\n\r\n\r\n\r\n"); // 32767 items
    WriteBytes(Path("over.qst"), set + "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
    MakeMain();
    Load(Path("most.qst"));
    EXPECT_TRUE(m_Script.MessageTexts().isEmpty());
    Click("LastBtn");
    EXPECT_EQ(QuestionNo(), QString::number(most));
    EXPECT_EQ(Box("KEQuestion")->text(), QStringLiteral("KE %1").arg(most));

    Load(Path("over.qst"));
    EXPECT_EQ(m_Script.MessageTexts(),
              QStringList{QStringLiteral("Cannot Read Question File: Check Format")});
    EXPECT_EQ(Box("KEQuestion")->text(), QStringLiteral("KE %1").arg(most));
}

TEST_F(HalvetTest, SavingAfterAnInsertionRewritesTheDataFileEachTime) {
    WriteSet(Path("set.qst"), 3);
    WriteData(Path("set.dat"), 3);
    MakeMain();
    Load(Path("set.qst"));
    Click("NextBtn");
    m_Script.QueueAnswer(Answer::Yes);
    Trigger("InsertMenu");
    Fill(QStringLiteral("New"), QStringLiteral("New"), {QStringLiteral("a"), QStringLiteral("b")});
    EXPECT_EQ(DataOrigins(Path("set.dat")), QStringList({"1", "2", "3"})); // not before Save
    SaveWithNotice();
    EXPECT_EQ(DataOrigins(Path("set.dat")), QStringList({"1", "0", "2", "3"}));
    const QByteArray once = ReadBytes(Path("set.dat"));
    SaveWithNotice();
    EXPECT_EQ(ReadBytes(Path("set.dat")), once);

    // Another set loaded without saving: its save never writes the first set's data file.
    WriteSet(Path("other.qst"), 2);
    m_Script.QueueAnswer(Answer::Yes);
    Trigger("InsertMenu");
    Load(Path("other.qst"));
    SaveWithNotice();
    EXPECT_EQ(ReadBytes(Path("set.dat")), once);
}

// Records written to the data file while the set was open survive the set's save; a data
// file that can no longer be rewritten is named, and the set is still saved.
TEST_F(HalvetTest, DataFileIsRewrittenAsItIsNowOrTheFailureIsSaid) {
    WriteSet(Path("set.qst"), 3);
    WriteData(Path("set.dat"), 3);
    MakeMain();
    Load(Path("set.qst"));
    m_Script.QueueAnswer(Answer::Yes);
    Trigger("InsertMenu");
    Fill(QStringLiteral("New"), QStringLiteral("New"), {QStringLiteral("a"), QStringLiteral("b")});
    const QByteArray third = ReadBytes(Path("set.dat")).replace("SECOND", "THIRD");
    WriteBytes(Path("set.dat"), ReadBytes(Path("set.dat")) + third.mid(third.indexOf("[THIRD]")));
    m_Script.Clear();
    SaveWithNotice();
    const QByteArray saved = ReadBytes(Path("set.dat"));
    EXPECT_EQ(saved.count("Question 4="), 3);
    EXPECT_TRUE(saved.contains("[THIRD]"));
    EXPECT_TRUE(m_Script.MessageBoxes().empty());

    m_Script.QueueAnswer(Answer::Yes);
    Trigger("InsertMenu");
    Fill(QStringLiteral("Newer"), QStringLiteral("N"), {QStringLiteral("a"), QStringLiteral("b")});
    ASSERT_TRUE(QFile::remove(Path("set.dat")));
    m_Script.Clear();
    SaveWithNotice();
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u);
    EXPECT_EQ(m_Script.MessageBoxes()[0].icon, Icon::Critical);
    const QString text = m_Script.MessageTexts()[0];
    EXPECT_TRUE(text.startsWith(QStringLiteral("Cannot Save Data File To ") + Path("set.dat")));
    EXPECT_TRUE(text.contains(QStringLiteral("no longer there")));
    EXPECT_TRUE(text.contains(QStringLiteral("The question set was saved")));
    EXPECT_EQ(ReadBack(Path("set.qst")).size(), 5u);
    EXPECT_FALSE(QFile::exists(Path("set.dat")));
}

// A line that holds a question's responses among other items is named on loading, and a
// save that would have to renumber it leaves the data file whole.
TEST_F(HalvetTest, DataFileLineOfSeveralItemsIsNamed) {
    WriteSet(Path("set.qst"), 3);
    WriteData(Path("set.dat"), 3);
    QByteArray data = ReadBytes(Path("set.dat"));
    data.replace(data.indexOf("\r\nQuestion 3="), 2, ",");
    WriteBytes(Path("set.dat"), data);
    MakeMain();
    Load(Path("set.qst"));
    ASSERT_EQ(m_Script.MessageTexts().size(), 1);
    EXPECT_TRUE(m_Script.MessageTexts()[0].startsWith(
        QStringLiteral("Line 3 of the data file beside this question set holds a question's "
                       "responses together with other items.")));
    m_Script.Clear();
    m_Script.QueueAnswer(Answer::Yes);
    Trigger("InsertMenu");
    Fill(QStringLiteral("New"), QStringLiteral("New"), {QStringLiteral("a"), QStringLiteral("b")});
    SaveWithNotice();
    ASSERT_EQ(m_Script.MessageTexts().size(), 2); // the insertion's question, then the failure
    EXPECT_TRUE(m_Script.MessageTexts()[1].contains(
        QStringLiteral("Line 3 of it holds a question's responses together with other items")));
    EXPECT_EQ(ReadBytes(Path("set.dat")), data);
}
