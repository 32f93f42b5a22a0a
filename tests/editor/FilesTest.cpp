#include "EditorSession.h"
#include "HalvetFixture.h"
#include "tests/support/Asker.h"
#include "tests/support/DefaultLocale.h"
#include "tests/support/Pointer.h"

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

// A question set keeps its own number format in every locale: a German user's Halvet
// writes the sample back byte for byte, its importances " 1.5" and " 2" with them.
TEST_F(HalvetTest, SavingKeepsTheFilesNumbersWhateverTheLocale) {
    const testsupport::DefaultLocale german(QLocale(QLocale::German, QLocale::Germany));
    const QByteArray sample =
        ReadBytes(QStringLiteral(CORVANE_TEST_DATA "/../../examples/pets.qst"));
    ASSERT_TRUE(sample.contains("\r\n 1.5\r\n"));
    WriteBytes(Path("pets.qst"), sample);
    MakeMain();
    Load(Path("pets.qst"));
    for (const char* importance : {"QImportance(1)", "QImportance(0)", "QImportance(2)"})
        Button(QString::fromLatin1(importance))->click(); // question 1 is High again
    SaveWithNotice();
    const QList<QByteArray> saved = ReadBytes(Path("pets.qst")).split('\n');
    const QList<QByteArray> lines = sample.split('\n');
    for (qsizetype i = 0; i < std::max(saved.size(), lines.size()); ++i) {
        ASSERT_EQ(saved.value(i).toStdString(), lines.value(i).toStdString()) << "line " << i + 1;
    }
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
    ASSERT_EQ(m_Script.MessageTexts().size(), 1);
    EXPECT_TRUE(m_Script.MessageTexts()[0].startsWith(QStringLiteral("Cannot Save Questions To ") +
                                                      unwritable + u'\n' + Path("no such folder/") +
                                                      QStringLiteral("\nThere is no such folder.")))
        << m_Script.MessageTexts()[0].toStdString();
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

// Text after a closing quote is left out of the question, and saving would lose it: said
// when the set is loaded, which still loads whole.
TEST_F(HalvetTest, TextLeftOutAfterAClosingQuoteIsSaid) {
    WriteSet(Path("set.qst"), 2);
    QByteArray set = ReadBytes(Path("set.qst"));
    set.replace("User 2\r\n", "\"How much space?\"EXTRA TEXT\r\n");
    WriteBytes(Path("set.qst"), set);
    MakeMain();
    Load(Path("set.qst"));
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u);
    EXPECT_TRUE(m_Script.MessageBoxes()[0].text.startsWith(
        QStringLiteral("Text after a closing quote in this question set could not be read")));
    Click("LastBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("2"));
    EXPECT_EQ(Box("UserQuestion")->text(), QStringLiteral("How much space?"));
}

// The readers' limit is 32767 items: 1820 questions and blank lines up to it load whole,
// one item more is refused and the set held before stays.
TEST_F(HalvetTest, SetOfExactlyTheItemLimitLoadsAndOneItemMoreIsRefused) {
    const int most = kb::QuestionFileReader::kMaxQuestions;
    WriteSet(Path("most.qst"), most);
    const QByteArray set = ReadBytes(Path("most.qst"));
    WriteBytes(Path("most.qst"), set + "\r\n\r\n\r\n\r\n\r\n\r\n\r\n"); // 32767 items
    WriteBytes(Path("over.qst"), set + "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
    // A well-formed set of one question more than the limit.
    WriteBytes(Path("more.qst"), set + set.mid(set.indexOf("KE 1820\r\n")));
    MakeMain();
    Load(Path("most.qst"));
    EXPECT_TRUE(m_Script.MessageTexts().isEmpty());
    Click("LastBtn");
    EXPECT_EQ(QuestionNo(), QString::number(most));
    EXPECT_EQ(Box("KEQuestion")->text(), QStringLiteral("KE %1").arg(most));

    // Refused with the limit named.
    for (const char* over : {"over.qst", "more.qst"}) {
        m_Script.Clear();
        Load(Path(over));
        EXPECT_EQ(m_Script.MessageTexts(),
                  QStringList{QStringLiteral(
                      "Cannot Read Question File: Check Format\n"
                      "A question set holds at most 1820 questions; this file is longer.")})
            << over;
        EXPECT_EQ(Box("KEQuestion")->text(), QStringLiteral("KE %1").arg(most));
    }
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

// Records written to the data file while the set was open survive the set's save, once the
// user agreed to renumber a data file that changed on disk; a data file gone meanwhile is
// not made anew.
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
    m_Script.QueueAnswer(Answer::Yes);
    SaveWithNotice();
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u);
    EXPECT_TRUE(m_Script.MessageTexts()[0].startsWith(
        QStringLiteral("The data file changed on disk since Halvet read or last saved the set:\n") +
        Path("set.dat")));
    EXPECT_EQ(m_Script.MessageBoxes()[0].buttons, platform::Buttons::YesNoDefaultNo);
    const QByteArray saved = ReadBytes(Path("set.dat"));
    EXPECT_EQ(saved.count("Question 4="), 3);
    EXPECT_TRUE(saved.contains("[THIRD]"));

    m_Script.QueueAnswer(Answer::Yes);
    Trigger("InsertMenu");
    Fill(QStringLiteral("Newer"), QStringLiteral("N"), {QStringLiteral("a"), QStringLiteral("b")});
    ASSERT_TRUE(QFile::remove(Path("set.dat")));
    m_Script.Clear();
    SaveWithNotice();
    EXPECT_TRUE(m_Script.MessageBoxes().empty()) << "no data file, nothing to renumber";
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
    const QByteArray set = ReadBytes(Path("set.qst"));
    Click("SaveQuestionsBtn");
    ASSERT_EQ(m_Script.MessageTexts().size(), 2); // the insertion's question, then the refusal
    EXPECT_TRUE(m_Script.MessageTexts()[1].startsWith(QStringLiteral("Cannot Save Data File To ") +
                                                      Path("set.dat")));
    EXPECT_TRUE(m_Script.MessageTexts()[1].contains(
        QStringLiteral("Line 3 of it holds a question's responses together with other items")));
    EXPECT_EQ(ReadBytes(Path("set.dat")), data);
    EXPECT_EQ(ReadBytes(Path("set.qst")), set) << "neither file is saved";
}

// One knowledge base, two programs. A data file Drosk made after the set was saved is
// renumbered by the next save that inserts a question; the insertion warns of it.
TEST_F(HalvetTest, ADataFileMadeSinceTheSetWasSavedIsRenumbered) {
    MakeMain();
    Fill(QStringLiteral("KE 1"), QStringLiteral("User 1"),
         {QStringLiteral("a"), QStringLiteral("b")});
    m_Script.QueueFileName(Path("set.qst"));
    SaveWithNotice();
    WriteData(Path("set.dat"), 1); // Drosk saves its records

    m_Script.Clear();
    m_Script.QueueAnswer(Answer::Yes);
    Trigger("InsertMenu");
    ASSERT_EQ(m_Script.MessageTexts().size(), 1);
    EXPECT_TRUE(m_Script.MessageTexts()[0].startsWith(QStringLiteral("WARNING: A data file")));
    Fill(QStringLiteral("New"), QStringLiteral("New"), {QStringLiteral("a"), QStringLiteral("b")});
    m_Script.QueueAnswer(Answer::Yes); // save over the data file Drosk wrote since
    SaveWithNotice();
    ASSERT_EQ(m_Script.MessageTexts().size(), 2);
    EXPECT_TRUE(m_Script.MessageTexts()[1].startsWith(QStringLiteral("The data file changed")));
    EXPECT_EQ(DataOrigins(Path("set.dat")), QStringList({"0", "1"}));
    EXPECT_EQ(ReadBack(Path("set.qst"))[1]->GetKEQ(), "KE 1");
}

// A second Halvet on the same set asks before saving its stale questions over the first's
// (No by default): nothing is written, and its changes stay in the window.
TEST_F(HalvetTest, ASecondHalvetAsksBeforeSavingOverTheFirst) {
    WriteSet(Path("set.qst"), 3);
    WriteData(Path("set.dat"), 3);
    MakeMain();
    Load(Path("set.qst"));

    editortest::EditorSession first; // the other Halvet inserts a first question and saves
    kb::QuestionArray set;
    ASSERT_EQ(first.Load(Path("set.qst").toStdString(), &set), kb::CKnowledgeBase::Outcome::Done);
    set.insert(set.begin(), set[1]);
    first.modifier.InsertQuestion(1);
    ASSERT_EQ(first.Save(set, Path("set.qst").toStdString(), testsupport::YesAtMost(3)),
              kb::CKnowledgeBase::Outcome::Done);
    const QByteArray setSaved = ReadBytes(Path("set.qst"));
    const QByteArray dataSaved = ReadBytes(Path("set.dat"));

    m_Script.Clear();
    m_Script.QueueAnswer(Answer::Yes);
    Click("LastBtn");
    Trigger("InsertMenu");
    Fill(QStringLiteral("New"), QStringLiteral("New"), {QStringLiteral("a"), QStringLiteral("b")});
    Click("SaveQuestionsBtn");
    ASSERT_EQ(m_Script.MessageBoxes().size(), 2u);
    const auto& asked = m_Script.MessageBoxes()[1];
    EXPECT_TRUE(asked.text.startsWith(
        QStringLiteral("The question set changed on disk since Halvet read or last saved it:\n") +
        Path("set.qst")));
    EXPECT_TRUE(asked.text.endsWith(QStringLiteral("Save Questions anyway?")));
    // Both files changed, and the question says plainly what saving does to the records.
    EXPECT_TRUE(asked.text.contains(
        QStringLiteral("The records of the data file beside it answer the questions saved "
                       "there, question by question:\n") +
        Path("set.dat") +
        QStringLiteral("\nSaving these questions in their place puts the records' answers on "
                       "other questions wherever the two sets differ.")))
        << asked.text.toStdString();
    EXPECT_TRUE(asked.text.contains(QStringLiteral("The data file changed on disk since Halvet "
                                                   "read or last saved the set:\n") +
                                    Path("set.dat")));
    EXPECT_EQ(asked.buttons, platform::Buttons::YesNoDefaultNo);
    EXPECT_EQ(ReadBytes(Path("set.qst")), setSaved);
    EXPECT_EQ(ReadBytes(Path("set.dat")), dataSaved);
    EXPECT_EQ(QuestionNo(), QStringLiteral("3")) << "the window keeps its changes";
}

// The question set is not saved before the data file is known to follow it: with the data
// file read-only, neither is written, the message names it and says why, and the set
// stays in the window; once it can be written, the next save brings both into step.
TEST_F(HalvetTest, ADataFileThatCannotFollowStopsTheWholeSave) {
    WriteSet(Path("set.qst"), 3);
    WriteData(Path("set.dat"), 3);
    const QByteArray setBefore = ReadBytes(Path("set.qst"));
    const QByteArray dataBefore = ReadBytes(Path("set.dat"));
    QFile::setPermissions(Path("set.dat"), QFile::ReadOwner);
    MakeMain();
    Load(Path("set.qst"));
    m_Script.QueueAnswer(Answer::Yes);
    Trigger("InsertMenu");
    Fill(QStringLiteral("New"), QStringLiteral("New"), {QStringLiteral("a"), QStringLiteral("b")});
    m_Script.Clear();
    Click("SaveQuestionsBtn");
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u);
    EXPECT_EQ(m_Script.MessageBoxes()[0].icon, Icon::Critical);
    EXPECT_TRUE(m_Script.MessageTexts()[0].startsWith(QStringLiteral("Cannot Save Data File To ") +
                                                      Path("set.dat") + u'\n'));
    EXPECT_TRUE(m_Script.MessageTexts()[0].contains(QStringLiteral("Permission denied")));
    EXPECT_EQ(ReadBytes(Path("set.qst")), setBefore);
    EXPECT_EQ(ReadBytes(Path("set.dat")), dataBefore);

    QFile::setPermissions(Path("set.dat"), QFile::ReadOwner | QFile::WriteOwner);
    SaveWithNotice();
    EXPECT_EQ(ReadBack(Path("set.qst")).size(), 4u);
    EXPECT_EQ(DataOrigins(Path("set.dat")), QStringList({"0", "1", "2", "3"}));
}

// Loading and saving run under the busy pointer, which goes on every way out; the saved
// notice, a window of its own, shows the normal one.
TEST_F(HalvetTest, LoadingAndSavingShowTheBusyPointer) {
    QList<Qt::CursorShape> asked;
    m_Script.SetOnMessageBox([&asked](const QString&) { asked << testsupport::Pointer(); });
    WriteBytes(Path("bad.qst"), "not a question set\r\n");
    MakeMain();
    Load(Path("bad.qst"));
    EXPECT_EQ(asked, QList<Qt::CursorShape>({Qt::WaitCursor})) << "busy while it read";
    EXPECT_FALSE(testsupport::PointerOverridden()) << "restored after a failed load";

    WriteSet(Path("set.qst"), 2);
    Load(Path("set.qst"));
    EXPECT_FALSE(testsupport::PointerOverridden());
    Qt::CursorShape overNotice = Qt::WaitCursor;
    testsupport::WhenModal([&overNotice](QDialog* notice) {
        overNotice = testsupport::Pointer();
        notice->hide();
    });
    Click("SaveQuestionsBtn");
    EXPECT_EQ(overNotice, Qt::ArrowCursor);
    EXPECT_FALSE(testsupport::PointerOverridden());

    WriteSet(Path("set.qst"), 3); // another program saved since
    asked.clear();
    Click("SaveQuestionsBtn"); // asks first, and is told No
    EXPECT_EQ(asked, QList<Qt::CursorShape>({Qt::WaitCursor}));
    EXPECT_FALSE(testsupport::PointerOverridden()) << "restored after a declined save";
}
