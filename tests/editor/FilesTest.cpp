#include "HalvetFixture.h"

#include <QDir>

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

QString Data(const char* name) {
    return QStringLiteral(CORVANE_TEST_DATA "/halvet/") + QString::fromLatin1(name);
}

const QString kIncomplete = QStringLiteral(
    "Question %1 is incomplete.  Clear  ALL\nentries in it OR complete the Question");

} // namespace

// Saving.

TEST_F(HalvetTest, SaveRefusesAnEmptyOrHalfFilledSet) {
    MakeMain();
    Click("SaveQuestionsBtn");
    Type(Box("KEQuestion"), QStringLiteral("Only this"));
    Trigger("QuestionsMenuSave");
    ASSERT_EQ(m_Script.MessageBoxes().size(), 2u);
    EXPECT_EQ(m_Script.MessageBoxes()[0].text, QStringLiteral("There is nothing to save"));
    EXPECT_EQ(m_Script.MessageBoxes()[0].icon, Icon::Information);
    EXPECT_EQ(m_Script.MessageBoxes()[0].title, QStringLiteral("Halvet"));
    EXPECT_EQ(m_Script.MessageBoxes()[1].text, kIncomplete.arg(1));
    EXPECT_EQ(m_Script.MessageBoxes()[1].icon, Icon::Exclamation);
    EXPECT_TRUE(m_Script.FileDialogs().empty());

    // Several questions, every one empty: still nothing to save.
    Box("KEQuestion")->selectAll();
    QTest::keyClick(Box("KEQuestion"), Qt::Key_Backspace);
    m_Script.Clear();
    m_Script.QueueAnswer(Answer::Yes);
    Trigger("InsertMenu");
    Click("SaveQuestionsBtn");
    EXPECT_EQ(m_Script.MessageTexts(), QStringList({QStringLiteral("Confirm Question Insertion"),
                                                    QStringLiteral("There is nothing to save")}));
}

TEST_F(HalvetTest, FirstSaveAsksForAFileAndLaterSavesDoNot) {
    MakeMain();
    Fill(QStringLiteral("Size?"), QStringLiteral("Your size?"),
         {QStringLiteral("Small"), QStringLiteral("Large")});
    Click("NextBtn");                   // an empty question 2 is not written
    const QString file = Path("sizes"); // no extension is added
    m_Script.QueueFileName(file);
    EXPECT_EQ(SaveWithNotice(), file);
    ASSERT_EQ(m_Script.FileDialogs().size(), 1u);
    EXPECT_TRUE(m_Script.FileDialogs()[0].save);
    EXPECT_EQ(m_Script.FileDialogs()[0].filter, QStringLiteral("Questions(*.qst)|*.qst"));
    EXPECT_EQ(m_Script.FileDialogs()[0].startName, QString());
    EXPECT_EQ(QuestionNo(), QStringLiteral("2"));
    EXPECT_EQ(ReadBytes(file).count("\r\n"), 18);
    kb::QuestionArray back = ReadBack(file);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0]->GetKEQ(), "Size?");
    EXPECT_EQ(back[0]->GetOption(1), "Large");

    // The second question is half filled: refused, naming it.
    Type(Box("KEQuestion"), QStringLiteral("Colour?"));
    Click("SaveQuestionsBtn");
    EXPECT_EQ(m_Script.MessageTexts().last(), kIncomplete.arg(2));
    Fill(QString(), QStringLiteral("Colour?"), {QStringLiteral("Red"), QStringLiteral("Blue")});
    EXPECT_EQ(SaveWithNotice(), file);
    EXPECT_EQ(m_Script.FileDialogs().size(), 1u);
    EXPECT_EQ(ReadBack(file).size(), 2u);

    // A set whose file was deleted meanwhile asks again, starting with the old name.
    QFile::remove(file);
    m_Script.QueueFileName(QString());
    Click("SaveQuestionsBtn");
    ASSERT_EQ(m_Script.FileDialogs().size(), 2u);
    EXPECT_EQ(m_Script.FileDialogs()[1].startName, file);
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(HalvetTest, ChoosingAnExistingFileAsksBeforeOverwriting) {
    MakeMain();
    Fill(QStringLiteral("K"), QStringLiteral("U"), {QStringLiteral("a"), QStringLiteral("b")});
    const QString file = Path("old.qst");
    WriteBytes(file, "old bytes");
    m_Script.QueueFileName(file);
    m_Script.QueueAnswer(Answer::No);
    Click("SaveQuestionsBtn");
    EXPECT_EQ(ReadBytes(file), QByteArray("old bytes"));
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u);
    const auto& box = m_Script.MessageBoxes()[0];
    EXPECT_EQ(box.text, QStringLiteral("File Exists - Overwrite ?"));
    EXPECT_EQ(box.buttons, Buttons::YesNo);
    EXPECT_EQ(box.icon, Icon::Question);
    EXPECT_EQ(box.title, QStringLiteral("Halvet"));

    m_Script.QueueFileName(file);
    m_Script.QueueAnswer(Answer::Yes);
    EXPECT_EQ(SaveWithNotice(), file);
    EXPECT_EQ(ReadBack(file)[0]->GetKEQ(), "K");
}

TEST_F(HalvetTest, EmptyQuestionBeforeOthersIsRefused) {
    MakeMain();
    Fill(QStringLiteral("K"), QStringLiteral("U"), {QStringLiteral("a"), QStringLiteral("b")});
    m_Script.QueueAnswer(Answer::Yes);
    Trigger("InsertMenu"); // an empty question 1 before the filled one
    Click("SaveQuestionsBtn");
    EXPECT_EQ(m_Script.MessageTexts().last(),
              QStringLiteral("Question 1 is empty.  Fill it in or delete it\n"
                             "before saving the questions"));
    EXPECT_TRUE(m_Script.FileDialogs().empty());
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
    // The set's file is gone and the one chosen cannot be written.
    ASSERT_TRUE(QFile::remove(Path("set.qst")));
    const QString unwritable = Path("no such folder/set.qst");
    m_Script.Clear();
    m_Script.QueueFileName(unwritable);
    Click("SaveQuestionsBtn");
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u);
    EXPECT_EQ(m_Script.MessageBoxes()[0].text,
              QStringLiteral("Cannot Save Questions To ") + unwritable);
    EXPECT_EQ(m_Script.MessageBoxes()[0].icon, Icon::Critical);
    EXPECT_EQ(ReadBytes(Path("set.dat")), dataBefore);
}

// Loading.

TEST_F(HalvetTest, CancelledOrUnreadableLoadKeepsTheSet) {
    WriteSet(Path("set.qst"), 2);
    MakeMain();
    Load(Path("set.qst"));
    Click("NextBtn");
    for (const QString& file : {QString(), Data("broken.qst")}) {
        Load(file);
        EXPECT_EQ(QuestionNo(), QStringLiteral("2"));
        EXPECT_EQ(Box("KEQuestion")->text(), QStringLiteral("KE 2"));
    }
    EXPECT_EQ(m_Script.MessageTexts(),
              QStringList{QStringLiteral("Cannot Read Question File: Check Format")});
    EXPECT_EQ(m_Script.FileDialogs()[0].startName, QString());
    EXPECT_FALSE(m_Script.FileDialogs()[0].save);
    // The file name is kept too: Save writes to it without asking.
    Type(Box("KEQuestion"), QStringLiteral("!"));
    EXPECT_EQ(SaveWithNotice(), Path("set.qst"));
    EXPECT_EQ(m_Script.FileDialogs().size(), 3u); // the three open dialogs only
    EXPECT_EQ(ReadBack(Path("set.qst"))[1]->GetKEQ(), "KE 2!");
}

TEST_F(HalvetTest, PartlyReadSetKeepsItsWholeQuestions) {
    MakeMain();
    Load(Data("partial.qst"));
    EXPECT_TRUE(m_Script.MessageBoxes().empty());
    EXPECT_EQ(Box("KEQuestion")->text(),
              QStringLiteral("How well does this animal suit each kind of home?"));
    EXPECT_EQ(VisibleOptions(), 3);
    Click("LastBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("1"));
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
    EXPECT_EQ(SaveWithNotice(), Path("set.qst"));
    EXPECT_EQ(DataOrigins(Path("set.dat")), QStringList({"1", "0", "2", "3"}));
    const QByteArray once = ReadBytes(Path("set.dat"));
    SaveWithNotice();
    EXPECT_EQ(ReadBytes(Path("set.dat")), once);
    EXPECT_EQ(ReadBack(Path("set.qst"))[1]->GetKEQ(), "New");

    // Another set loaded without saving: its save never writes the first set's data file.
    WriteSet(Path("other.qst"), 2);
    m_Script.QueueAnswer(Answer::Yes);
    Trigger("InsertMenu");
    Load(Path("other.qst"));
    SaveWithNotice();
    EXPECT_EQ(ReadBytes(Path("set.dat")), once);
    EXPECT_FALSE(QFile::exists(Path("other.dat")));
}
