// Save Records never loses what is on disk unasked: text the data file cannot keep, a
// data file read only in part, and files another program changed since they were read.

#include "DroskFixture.h"

#include "kb/DataFileWriter.h"
#include "kb/FileIO.h"
#include "tests/support/HalfSaved.h"
#include "tests/support/Pointer.h"

#include <QDir>
#include <QLabel>

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

std::vector<QSpec> TwoQuestions() {
    return {{"Size?", 0, {"Small", "Large"}}, {"Colours?", 1, {"Red", "Green"}}};
}

QByteArray Block(const QByteArray& header, const Levels& first, const QByteArray& page) {
    return header + "\r\n" + QuestionLine(1, first) + QuestionLine(2, kNeutral) +
           "RecordDescription=" + page + "\r\n\r\n";
}

const Levels kSmall = {10, -10, -10, -10, -10, -10, -10, -10, -10};
const Levels kLarge = {-10, 10, -10, -10, -10, -10, -10, -10, -10};

class DroskSaveTest : public DroskTest {
protected:
    // Replaces a file the way another program's save does: a new file renamed over it.
    void Replace(const QString& name, const QByteArray& bytes) {
        ASSERT_TRUE(kb::WriteFileAtomically(Path(name).toStdString(),
                                            std::string_view(bytes.constData(), bytes.size())));
    }
    const platform::ScriptedBackend::MessageBoxCall& LastBox() {
        return m_Script.MessageBoxes().back();
    }
    bool SavedNoticeShown() {
        return m_Main->findChild<QDialog*>(QStringLiteral("SavedMsg")) != nullptr;
    }
};

// A name read from a quoted item may hold a comma; written back bare it would split the
// record in two. Save refuses it, naming the record, and writes nothing.
TEST_F(DroskSaveTest, ARecordTheFileCannotKeepIsNamedAndNothingIsWritten) {
    const QByteArray original =
        Block("[CAT]", kSmall, "cat.htm") + Block("\"[B, C]\"", kLarge, "bc.htm");
    WriteFile(QStringLiteral("a.dat"), original);
    MakeMain();
    Load(WriteSet(QStringLiteral("a.qst"), TwoQuestions()));
    ASSERT_EQ(ListNames(), QStringList({"CAT", "B, C"}));
    EXPECT_TRUE(Messages().isEmpty()); // read whole
    Click("SaveRecord");
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_EQ(LastBox().text,
              QStringLiteral("Cannot Save Records To ") + Path(QStringLiteral("a.dat")) +
                  QStringLiteral("\nRecord 'B, C' holds text the data file cannot keep:\n"
                                 "no name may hold a comma or \"]\", and no page a comma or "
                                 "both \"[\" and \"]\""));
    EXPECT_EQ(LastBox().icon, Icon::Critical);
    EXPECT_EQ(ReadFile(QStringLiteral("a.dat")), original);
    EXPECT_FALSE(SavedNoticeShown());
}

// A data file with text but no record loads with the warning, and Save neither deletes
// nor replaces it unless the user says so; No keeps the records in the window.
TEST_F(DroskSaveTest, AFileReadOnlyInPartIsReplacedOrDeletedOnlyOnYes) {
    const QByteArray notOurs = "These are my notes, not records.\r\n";
    WriteFile(QStringLiteral("a.dat"), notOurs);
    MakeMain();
    Load(WriteSet(QStringLiteral("a.qst"), TwoQuestions()));
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(
        Messages()[0].startsWith(QStringLiteral("Part of the data file could not be read")));

    Click("SaveRecord"); // no record: Save would delete the file
    ASSERT_EQ(Messages().size(), 2);
    EXPECT_EQ(LastBox().text,
              QStringLiteral("The data file could be read only in part:\n") +
                  Path(QStringLiteral("a.dat")) +
                  QStringLiteral("\nSaving now would delete the data file, losing what could not "
                                 "be read.\nSave Records anyway?"));
    EXPECT_EQ(LastBox().buttons, Buttons::YesNoDefaultNo);
    EXPECT_EQ(LastBox().icon, Icon::Exclamation);
    EXPECT_EQ(ReadFile(QStringLiteral("a.dat")), notOurs);

    NewRecord(QStringLiteral("cat"));
    Check(1)->click();
    Click("SaveRecord"); // answered No by default
    EXPECT_TRUE(LastBox().text.contains(QStringLiteral("replace the data file")));
    EXPECT_EQ(ReadFile(QStringLiteral("a.dat")), notOurs);
    EXPECT_EQ(Held(0, 1), kLarge);
    EXPECT_FALSE(SavedNoticeShown());

    m_Script.QueueAnswer(Answer::Yes);
    Click("SaveRecord");
    EXPECT_EQ(ReadFile(QStringLiteral("a.dat")), Block("[CAT]", kLarge, "nodesc.htm"));
    EXPECT_TRUE(SavedNoticeShown());
    // What is on disk now is what Drosk wrote: no more questions.
    const auto asked = m_Script.MessageBoxes().size();
    Click("SaveRecord");
    EXPECT_EQ(m_Script.MessageBoxes().size(), asked);
}

// Text the reader changes or leaves out counts as not read: a fraction of a level, text after
// a quoted name or page. Drosk warns on loading and asks before a save would lose it.
TEST_F(DroskSaveTest, TextTheReaderChangesIsNotLostUnasked) {
    QByteArray fraction = Block("[CAT]", kSmall, "cat.htm");
    fraction.replace("Question 1=10", "Question 1=2.5");
    for (const QByteArray& original :
         {fraction, Block("\"[CAT]\"EXTRA", kSmall, "cat.htm"),
          Block("[CAT]", kSmall, "cat.htm")
              .replace("RecordDescription=cat.htm", "\"RecordDescription=cat.htm\"MORE")}) {
        SCOPED_TRACE(original.toStdString());
        WriteFile(QStringLiteral("a.dat"), original);
        MakeMain();
        Load(WriteSet(QStringLiteral("a.qst"), TwoQuestions()));
        ASSERT_EQ(ListNames(), QStringList({"CAT"}));
        ASSERT_EQ(Messages().size(), 1);
        EXPECT_TRUE(
            Messages()[0].startsWith(QStringLiteral("Part of the data file could not be read")));
        Click("SaveRecord"); // answered No by default
        EXPECT_TRUE(LastBox().text.startsWith(
            QStringLiteral("The data file could be read only in part:\n")));
        EXPECT_EQ(ReadFile(QStringLiteral("a.dat")), original);
        m_Script.Clear();
    }
}

TEST_F(DroskSaveTest, DeletingAFileReadOnlyInPartNeedsAYes) {
    WriteFile(QStringLiteral("a.dat"), "[DOG]\r\n[CAT\r\n");
    MakeMain();
    Load(WriteSet(QStringLiteral("a.qst"), TwoQuestions()));
    ASSERT_EQ(ListNames(), QStringList({"DOG"})); // "[CAT" is half a header
    DeleteRecord(QStringLiteral("DOG"), Answer::Yes);
    Click("SaveRecord");
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("a.dat"))));
    m_Script.QueueAnswer(Answer::Yes);
    Click("SaveRecord");
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("a.dat"))));
    EXPECT_EQ(LastBox().buttons, Buttons::YesNoDefaultNo);
}

// Halvet inserted a question and renumbered the data file while Drosk held the old
// numbering: saving over it would put every response on the wrong question.
TEST_F(DroskSaveTest, FilesChangedByAnotherProgramAreNotOverwrittenUnasked) {
    const QString set = WriteSet(QStringLiteral("a.qst"), TwoQuestions());
    const QByteArray before = Block("[CAT]", kSmall, "cat.htm");
    WriteFile(QStringLiteral("a.dat"), before);
    MakeMain();
    Load(set);
    LoadRecord(QStringLiteral("CAT"));
    Check(1)->click();

    WriteSet(QStringLiteral("new.qst"), {{"Size?", 0, {"Small", "Large"}},
                                         {"Legs?", 0, {"Two", "Four"}},
                                         {"Colours?", 1, {"Red", "Green"}}});
    Replace(QStringLiteral("a.qst"), ReadFile(QStringLiteral("new.qst")));
    const QByteArray renumbered = "[CAT]\r\n" + QuestionLine(1, kSmall) +
                                  QuestionLine(2, kNeutral) + QuestionLine(3, kNeutral) +
                                  "RecordDescription=cat.htm\r\n\r\n";
    Replace(QStringLiteral("a.dat"), renumbered);

    Click("SaveRecord");
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_EQ(LastBox().text,
              QStringLiteral("Changed on disk since Drosk read or last saved it:\n") + set +
                  QLatin1Char('\n') + Path(QStringLiteral("a.dat")) +
                  QStringLiteral("\nSaving now would replace the data file with the records "
                                 "held here, losing those changes; responses may land on "
                                 "questions that have moved.\nSave Records anyway?"));
    EXPECT_EQ(LastBox().buttons, Buttons::YesNoDefaultNo);
    EXPECT_EQ(LastBox().title, QStringLiteral("Drosk"));
    EXPECT_EQ(ReadFile(QStringLiteral("a.dat")), renumbered);
    EXPECT_EQ(Held(0, 1), kLarge); // the edit stays in the window
    EXPECT_FALSE(SavedNoticeShown());

    m_Script.QueueAnswer(Answer::Yes);
    Click("SaveRecord");
    EXPECT_EQ(ReadFile(QStringLiteral("a.dat")), Block("[CAT]", kLarge, "cat.htm"));
    const auto asked = m_Script.MessageBoxes().size();
    Click("SaveRecord"); // nothing changed since this save
    EXPECT_EQ(m_Script.MessageBoxes().size(), asked);

    // A data file another Drosk wrote, or a changed question set alone, is noticed too.
    Replace(QStringLiteral("a.dat"), before);
    Click("SaveRecord");
    EXPECT_TRUE(LastBox().text.endsWith(QStringLiteral("Save Records anyway?")));
    EXPECT_EQ(ReadFile(QStringLiteral("a.dat")), before);
    m_Script.QueueAnswer(Answer::Yes);
    Click("SaveRecord");
    Replace(QStringLiteral("a.qst"), ReadFile(QStringLiteral("new.qst")) + "\r\n");
    Click("SaveRecord");
    EXPECT_TRUE(LastBox().text.startsWith(
        QStringLiteral("Changed on disk since Drosk read or last saved it:\n") + set +
        QStringLiteral("\nSaving now")));
    EXPECT_EQ(ReadFile(QStringLiteral("a.dat")), Block("[CAT]", kLarge, "cat.htm"));
}

// A data file that appeared after loading (another Drosk saved first) is not deleted or
// replaced unasked either.
TEST_F(DroskSaveTest, ADataFileThatAppearedSinceLoadingIsKept) {
    MakeMain();
    Load(WriteSet(QStringLiteral("a.qst"), TwoQuestions()));
    const QByteArray theirs = Block("[DOG]", kLarge, "dog.htm");
    Replace(QStringLiteral("a.dat"), theirs);
    Click("SaveRecord");
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].contains(QStringLiteral("delete the data file")));
    NewRecord(QStringLiteral("cat"));
    Click("SaveRecord");
    EXPECT_EQ(ReadFile(QStringLiteral("a.dat")), theirs);
}

// A knowledge base whose save was cut short between its two files is completed when Drosk
// loads it, and Drosk says what it did: the records shown are those of that save, on its
// questions.
TEST_F(DroskSaveTest, ASaveCutShortIsCompletedOnLoadingAndSaid) {
    const std::string set = Path(QStringLiteral("pets.qst")).toStdString();
    ASSERT_TRUE(kb::WriteFileAtomically(set, testsupport::QuestionSetBytes({"Q1", "Q2"})));
    ASSERT_TRUE(
        kb::DataFileWriter().Save(testsupport::Records({1}, {1, 2}), kb::DataFileNameFor(set)));
    ASSERT_TRUE(testsupport::LeaveHalfSaved(set, {"Q3", "Q1", "Q2"}, {1, 2}, {3, 1, 2}));
    MakeMain();
    Load(QString::fromStdString(set));
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_EQ(LastBox().text,
              QStringLiteral("A save was cut short before it was complete. It has now been "
                             "completed:\n") +
                  QString::fromStdString(set) + u'\n' +
                  QString::fromStdString(kb::DataFileNameFor(set)) +
                  QStringLiteral("\nThe question set and its data file are both from that "
                                 "save."));
    EXPECT_EQ(LastBox().icon, Icon::Information);
    EXPECT_EQ(ListNames(), QStringList({"R1", "R2"}));
    LoadRecord(QStringLiteral("R2"));
    EXPECT_EQ(Wording(), QStringLiteral("Q3"));
    EXPECT_EQ(Held(1, 1), Levels({3, 2, 0, 0, 0, 0, 0, 0, 0}))
        << "record 2 answers question 3 first";
}

// A data file that is a link out of the knowledge base's folder is written only once the
// user agreed, named as the file really written; the saved notice names that file too.
TEST_F(DroskSaveTest, ADataFileLinkedOutOfTheFolderIsNamedAsTheFileWritten) {
    ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("kb"))));
    const QString set = WriteSet(QStringLiteral("kb/a.qst"), TwoQuestions());
    WriteFile(QStringLiteral("outside.dat"), Block("[CAT]", kSmall, "cat.htm"));
    ASSERT_TRUE(QFile::link(QStringLiteral("../outside.dat"), Path(QStringLiteral("kb/a.dat"))));
    MakeMain();
    Load(set);
    LoadRecord(QStringLiteral("CAT"));
    Check(1)->click();
    Click("SaveRecord");
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_EQ(LastBox().text,
              QStringLiteral("The data file beside the question set is a link to a file outside "
                             "its folder, and saving writes that file:\n") +
                  Path(QStringLiteral("outside.dat")) + QStringLiteral("\nSave Records anyway?"));
    EXPECT_EQ(ReadFile(QStringLiteral("outside.dat")), Block("[CAT]", kSmall, "cat.htm"));
    m_Script.QueueAnswer(Answer::Yes);
    Click("SaveRecord");
    EXPECT_EQ(ReadFile(QStringLiteral("outside.dat")), Block("[CAT]", kLarge, "cat.htm"));
    EXPECT_TRUE(QFileInfo(Path(QStringLiteral("kb/a.dat"))).isSymLink());
    auto* notice = m_Main->findChild<QDialog*>(QStringLiteral("SavedMsg"));
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->findChild<QLabel*>(QStringLiteral("FilenameLabel"))->text(),
              Path(QStringLiteral("outside.dat")));
}

} // namespace

// Loading and saving run under the busy pointer, which goes on every way out; the saved
// notice, a window of its own, shows the normal one.
TEST_F(DroskSaveTest, LoadingAndSavingShowTheBusyPointer) {
    QList<Qt::CursorShape> asked;
    m_Script.SetOnMessageBox([&asked](const QString&) { asked << testsupport::Pointer(); });
    WriteFile(QStringLiteral("bad.qst"), "not a question set\r\n");
    MakeMain();
    Load(Path(QStringLiteral("bad.qst")));
    EXPECT_EQ(asked, QList<Qt::CursorShape>({Qt::WaitCursor})) << "busy while it read";
    EXPECT_FALSE(testsupport::PointerOverridden()) << "restored after a failed load";

    const QString set = WriteSet(QStringLiteral("a.qst"), TwoQuestions());
    WriteFile(QStringLiteral("a.dat"), Block("[CAT]", kSmall, "cat.htm"));
    Load(set);
    EXPECT_FALSE(testsupport::PointerOverridden());
    Replace(QStringLiteral("a.dat"), Block("[DOG]", kLarge, "dog.htm"));
    asked.clear();
    Click("SaveRecord"); // asks first, and is told No
    EXPECT_EQ(asked, QList<Qt::CursorShape>({Qt::WaitCursor}));
    EXPECT_FALSE(testsupport::PointerOverridden()) << "restored after a declined save";

    Qt::CursorShape overNotice = Qt::WaitCursor;
    testsupport::WhenModal([&overNotice](QDialog* notice) {
        overNotice = testsupport::Pointer();
        notice->hide();
    });
    m_Script.QueueAnswer(Answer::Yes);
    Click("SaveRecord");
    EXPECT_TRUE(SavedNoticeShown());
    EXPECT_EQ(overNotice, Qt::ArrowCursor);
    EXPECT_FALSE(testsupport::PointerOverridden());
}
