#include "DroskFixture.h"

#include "dialogs/DataFileNotices.h"
#include "kb/QuestionFileReader.h"

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

const QString kStart =
    QStringLiteral("Load the Question File then select or create a Record to start");

const char* const kControlledButtons[] = {
    "FirstBtn",   "LastBtn",    "ReferHelpBtn", "ViewRecordsBtn", "NewRecord",
    "LoadRecord", "SaveRecord", "DeleteRecord", "DescribeRecord", "NextBtn"};
const char* const kControlledItems[] = {
    "FirstQuestionMenu",   "NextQuestionMenu", "LastQuestionMenu",
    "LoadRecordsMenu",     "SaveRecordsMenu",  "DeleteRecordsMenu",
    "DescribeRecordsMenu", "ViewRecordsMenu",  "CreateRecordsMenu"};

std::vector<QSpec> TwoQuestions() {
    return {{"Size of the animal?", 0, {"Small", "Medium", "Large"}},
            {"Colours of the animal?", 1, {"Red", "Green"}}};
}

} // namespace

// Start and loading: what a cancelled, failed or partial load leaves.

TEST_F(DroskTest, StartsWithOnlyLoadingExitHelpAndTheNameBox) {
    MakeMain();
    EXPECT_EQ(m_Main->windowTitle(), QStringLiteral("Corvane"));
    EXPECT_EQ(Label("CorvaneTitle")->text(), QStringLiteral("Corvane Knowledge Acquisition"));
    EXPECT_EQ(Label("VersionLabel")->text(), QStringLiteral("Version 4.1.0"));
    EXPECT_EQ(Wording(), kStart);
    for (const char* name : kControlledButtons)
        EXPECT_FALSE(Button(name)->isEnabled()) << name;
    for (const char* name : kControlledItems)
        EXPECT_FALSE(Item(name)->isEnabled()) << name;
    for (const char* name : {"LoadQuestions", "ExitBtn"})
        EXPECT_TRUE(Button(name)->isEnabled()) << name;
    for (const char* name : {"OpenQuestionsMenu", "ExitMenu", "ContentsHelpMenu", "SearchHelpMenu",
                             "HomePageHelpMenu", "AboutMenu"})
        EXPECT_TRUE(Item(name)->isEnabled()) << name;
    EXPECT_TRUE(NameBox()->isEnabled());
    EXPECT_TRUE(NameBox()->isEditable());

    // Design state of the answer area: two disabled slider rows at Neutral.
    for (int i = 0; i < acquire::Main::kRows; ++i) {
        EXPECT_EQ(Slider(i)->isVisible(), i < 2) << i;
        EXPECT_FALSE(Slider(i)->isEnabled()) << i;
        EXPECT_FALSE(Check(i)->isVisible()) << i;
    }
    EXPECT_EQ(Ind(0)->text(), QStringLiteral("Neutral"));
    EXPECT_EQ(Ind(0)->palette().color(QPalette::WindowText), QColor(0, 0x80, 0));

    // The Records menu in its order.
    QStringList captions;
    for (QAction* item : Control<QMenu>(QStringLiteral("RecordsMenu"))->actions())
        captions << item->text();
    EXPECT_EQ(captions, QStringList({"&Load this", "&Save", "&Delete this", "&D&escribe this",
                                     "&View", "&Create New"}));
}

TEST_F(DroskTest, LoadingEnablesEverythingWithNoRecordChosen) {
    const QString set = WriteSet(QStringLiteral("animals.qst"), TwoQuestions());
    WriteFile(QStringLiteral("animals.dat"),
              "[CAT]\r\n" + QuestionLine(1, {-10, -10, 10, -10, -10, -10, -10, -10, -10}) +
                  QuestionLine(2, {5, -10, 0, 0, 0, 0, 0, 0, 0}) +
                  "RecordDescription=cat.htm\r\n\r\n"
                  "[DOG]\r\nRecordDescription=nodesc.htm\r\n\r\n");
    MakeMain();
    Load(QString()); // cancelled: nothing changes
    ASSERT_EQ(m_Script.FileDialogs().size(), 1u);
    EXPECT_EQ(m_Script.FileDialogs()[0].filter, QStringLiteral("Questions(*.qst)|*.qst"));
    EXPECT_EQ(m_Script.FileDialogs()[0].startName, QString());
    EXPECT_FALSE(Button("NewRecord")->isEnabled());

    Load(set);
    EXPECT_TRUE(Messages().isEmpty());
    for (const char* name : kControlledButtons)
        EXPECT_TRUE(Button(name)->isEnabled()) << name;
    for (const char* name : kControlledItems)
        EXPECT_TRUE(Item(name)->isEnabled()) << name;
    EXPECT_EQ(ListNames(), QStringList({"CAT", "DOG"}));
    EXPECT_EQ(NameBox()->currentText(), QString());
    // The wording waits for a record; the answer area is cleared and disabled.
    EXPECT_EQ(Wording(), kStart);
    EXPECT_FALSE(Slider(0)->isEnabled());
    Click("NextBtn");
    Click("LastBtn");
    EXPECT_EQ(QuestionNo(), QStringLiteral("1"));
    EXPECT_EQ(Wording(), kStart);

    LoadRecord(QStringLiteral("CAT"));
    EXPECT_EQ(Wording(), QStringLiteral("Size of the animal?"));
    EXPECT_TRUE(Check(2)->isChecked());
    EXPECT_TRUE(Check(0)->isEnabled());
}

TEST_F(DroskTest, MissingDataFileStartsWithNoRecordSilently) {
    const QString set = WriteSet(QStringLiteral("fresh.qst"), TwoQuestions());
    MakeMain();
    Load(set);
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(NameBox()->count(), 0);
    Click("ViewRecordsBtn");
    NewRecord(QStringLiteral("first"));
    EXPECT_EQ(ListNames(), QStringList({"FIRST"}));
    ASSERT_EQ(m_Main->Records().size(), 1u);
    EXPECT_EQ(m_Main->Records()[0]->GetName(), "FIRST");
    EXPECT_EQ(Messages(), QStringList({"This database is currently empty"}));
}

TEST_F(DroskTest, UnreadableSetKeepsThePreviousKnowledgeBaseWhole) {
    const QString set = WriteSet(QStringLiteral("animals.qst"), TwoQuestions());
    WriteFile(QStringLiteral("broken.qst"), "Nothing\r\nSingle\r\nhere\r\n");
    WriteFile(QStringLiteral("broken.dat"), "[OTHER]\r\nRecordDescription=x\r\n\r\n");
    MakeMain();
    Load(set);
    NewRecord(QStringLiteral("cat"));
    Click("NextBtn");
    Step(1, 1);
    const std::int16_t count = kb::g_NumQuestions;

    Load(Path(QStringLiteral("broken.qst")));
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u);
    const auto& box = m_Script.MessageBoxes()[0];
    EXPECT_EQ(box.text, QStringLiteral("Cannot Read Question File: Check Format"));
    EXPECT_EQ(box.icon, Icon::Exclamation);
    EXPECT_EQ(box.buttons, Buttons::OK);
    EXPECT_EQ(box.title, QStringLiteral("Drosk"));

    EXPECT_EQ(kb::g_NumQuestions, count);
    EXPECT_EQ(ListNames(), QStringList({"CAT"}));
    EXPECT_EQ(NameBox()->currentText(), QStringLiteral("CAT"));
    EXPECT_EQ(QuestionNo(), QStringLiteral("2"));
    EXPECT_EQ(Ind(1)->text(), QStringLiteral("Perhaps"));
    EXPECT_TRUE(Slider(1)->isEnabled());
    // Still working on the old set: answering, moving and saving beside it.
    Step(0, -2);
    Click("FirstBtn");
    EXPECT_EQ(Wording(), QStringLiteral("Size of the animal?"));
    Click("SaveRecord");
    EXPECT_TRUE(ReadFile(QStringLiteral("animals.dat"))
                    .contains("Question 2=-10\xb8"
                              "5\xb8"));
    EXPECT_FALSE(ReadFile(QStringLiteral("broken.dat")).contains("CAT"));
}

// Blank lines after the last question lose nothing, so the set loads as in the other two
// programs; a stray item there still refuses the set.
TEST_F(DroskTest, BlankLinesAfterTheLastQuestionStillLoad) {
    const QString set = WriteSet(QStringLiteral("blank.qst"), TwoQuestions());
    const QByteArray whole = ReadFile(QStringLiteral("blank.qst"));
    WriteFile(QStringLiteral("blank.qst"), whole + "\r\n\r\n");
    MakeMain();
    Load(set);
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(kb::g_NumQuestions, 2);
    NewRecord(QStringLiteral("cat"));
    EXPECT_EQ(Wording(), QStringLiteral("Size of the animal?"));

    WriteFile(QStringLiteral("stray.qst"), whole + "\r\nstray\r\n");
    Load(Path(QStringLiteral("stray.qst")));
    EXPECT_EQ(Messages(), QStringList({"Cannot Read Question File: Check Format"}));

    // Half a block or more of them starts no question of its own.
    for (int blank : {9, 10, 40}) {
        m_Script.Clear();
        WriteFile(QStringLiteral("blank.qst"), whole + QByteArray("\r\n").repeated(blank));
        Load(set);
        EXPECT_TRUE(Messages().isEmpty()) << blank;
        EXPECT_EQ(kb::g_NumQuestions, 2) << blank;
    }
}

// The readers' limit is 32767 items: 1820 questions and blank lines up to it load whole,
// one item more is refused and the set loaded before stays.
TEST_F(DroskTest, SetOfExactlyTheItemLimitLoadsAndOneItemMoreIsRefused) {
    const int most = kb::QuestionFileReader::kMaxQuestions;
    std::vector<QSpec> questions;
    for (int k = 1; k <= most; ++k)
        questions.push_back({"Question " + std::to_string(k), 0, {"Yes", "No"}});
    const QString set = WriteSet(QStringLiteral("most.qst"), questions);
    const QByteArray bytes = ReadFile(QStringLiteral("most.qst"));
    WriteFile(QStringLiteral("most.qst"), bytes + QByteArray("\r\n").repeated(7));
    WriteFile(QStringLiteral("over.qst"), bytes + QByteArray("\r\n").repeated(8));
    // A well-formed set of one question more than the limit.
    WriteFile(QStringLiteral("more.qst"), bytes + bytes.mid(bytes.indexOf("Question 1820\r\n")));
    MakeMain();
    Load(set);
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(kb::g_NumQuestions, most);
    NewRecord(QStringLiteral("full"));
    Click("LastBtn");
    EXPECT_EQ(QuestionNo(), QString::number(most));
    EXPECT_EQ(Wording(), QStringLiteral("Question %1").arg(most));

    // Refused with the limit named.
    for (const char* over : {"over.qst", "more.qst"}) {
        m_Script.Clear();
        Load(Path(QString::fromLatin1(over)));
        EXPECT_EQ(Messages(),
                  QStringList{QStringLiteral(
                      "Cannot Read Question File: Check Format\n"
                      "A question set holds at most 1820 questions; this file is longer.")})
            << over;
        EXPECT_EQ(kb::g_NumQuestions, most);
        EXPECT_EQ(Wording(), QStringLiteral("Question %1").arg(most));
    }
}

TEST_F(DroskTest, PartlyReadDataFileIsReportedThenUsed) {
    const QString set = WriteSet(QStringLiteral("part.qst"), TwoQuestions());
    WriteFile(
        QStringLiteral("part.dat"),
        "[GOOD]\r\nQuestion 1=10\xb8-10\xb8-10\xb8-10\xb8-10\xb8-10\xb8-10\xb8-10\xb8-10\xb8\r\n"
        "RecordDescription=nodesc.htm\r\n\r\n"
        "[BAD]\r\nQuestion 1=x\xb8y\xb8\r\nRecordDescription=nodesc.htm\r\n\r\n");
    MakeMain();
    Load(set);
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u);
    const auto& box = m_Script.MessageBoxes()[0];
    EXPECT_EQ(box.text, dialogs::PartlyReadText(Path(QStringLiteral("part.dat")), true));
    EXPECT_TRUE(box.text.contains(Path(QStringLiteral("part.dat"))));
    EXPECT_TRUE(box.text.contains(QStringLiteral("lost")));
    EXPECT_EQ(box.icon, Icon::Exclamation);
    EXPECT_EQ(ListNames(), QStringList({"GOOD", "BAD"}));
    LoadRecord(QStringLiteral("GOOD"));
    EXPECT_TRUE(Check(0)->isChecked());
}

TEST_F(DroskTest, LoadingAnotherSetLeavesNoRecordChosen) {
    const QString first = WriteSet(QStringLiteral("one.qst"), TwoQuestions());
    const QString second =
        WriteSet(QStringLiteral("two.qst"), {{"Legs?", 1, {"Two", "Four", "Six"}}});
    WriteFile(QStringLiteral("two.dat"), "[ANT]\r\nRecordDescription=nodesc.htm\r\n\r\n");
    MakeMain();
    Load(first);
    NewRecord(QStringLiteral("a"));
    NewRecord(QStringLiteral("b"));
    Click("NextBtn");
    Load(second);
    EXPECT_EQ(ListNames(), QStringList({"ANT"}));
    EXPECT_EQ(NameBox()->currentText(), QString());
    // No record chosen: record 1 of the new set is not touched through the old index.
    Click("NextBtn");
    Click("FirstBtn");
    Step(0, 1);
    EXPECT_EQ(Held(0, 1), kNeutral);
    EXPECT_FALSE(Slider(0)->isEnabled());
    Click("DescribeRecord");
    EXPECT_EQ(Messages().last(), QStringLiteral("Select or Create a Record to Describe"));
}

// Help.

TEST_F(DroskTest, HelpPagesHelpFileAndHomePage) {
    const QString set =
        WriteSet(QStringLiteral("help.qst"), {{"First?", 0, {"A", "B"}, {}, 0, "NoHelp.HTM"},
                                              {"Second?", 0, {"A", "B"}, {}, 0, "pages/b.htm"}});
    MakeMain();
    Load(set);
    Click("ReferHelpBtn"); // no record needed: question 1's page
    NewRecord(QStringLiteral("r"));
    Click("LastBtn");
    Click("ReferHelpBtn");
    EXPECT_EQ(m_Script.OpenedPages(),
              QStringList({platform::InProgramFolder(QStringLiteral("NoHelp.HTM")),
                           QStringLiteral("pages/b.htm")}));

    Item("ContentsHelpMenu")->trigger();
    Item("SearchHelpMenu")->trigger();
    ASSERT_EQ(m_Script.HelpCalls().size(), 2u);
    EXPECT_EQ(m_Script.HelpCalls()[0].helpFile, QStringLiteral(".\\Drosk.HLP"));
    EXPECT_EQ(m_Script.HelpCalls()[0].command, platform::HelpCommand::Contents);
    EXPECT_EQ(m_Script.HelpCalls()[1].command, platform::HelpCommand::KeywordSearch);
    Item("HomePageHelpMenu")->trigger();
    EXPECT_EQ(m_Script.OpenedPages().last(), platform::HomePage());
    EXPECT_TRUE(Messages().isEmpty());
}

// A knowledge base's own pages open from beside it, wherever Drosk was started.
TEST_F(DroskTest, QuestionPagesOfTheKnowledgeBaseOpenFromBesideIt) {
    ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("pages"))));
    WriteFile(QStringLiteral("pages/b.htm"), "<p>b</p>");
    const QString set =
        WriteSet(QStringLiteral("kb.qst"), {{"First?", 0, {"A", "B"}, {}, 0, "pages/b.htm"}});
    MakeMain();
    Load(set);
    Click("ReferHelpBtn");
    EXPECT_EQ(m_Script.OpenedPages(), QStringList({Path(QStringLiteral("pages/b.htm"))}));
}

// Leaving asks first; No keeps everything, Yes closes the other windows.

TEST_F(DroskTest, LeavingWithNoKeepsTheWork) {
    const QString set = WriteSet(QStringLiteral("animals.qst"), TwoQuestions());
    MakeMain();
    Load(set);
    NewRecord(QStringLiteral("cat"));
    Check(1)->click();
    m_Script.QueueAnswer(Answer::No);
    Click("ExitBtn");
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u);
    ExpectQuitQuestion(m_Script.MessageBoxes()[0]);
    EXPECT_TRUE(m_Main->isVisible());
    EXPECT_TRUE(Check(1)->isChecked());
    EXPECT_EQ(NameBox()->currentText(), QStringLiteral("CAT"));
}

TEST_F(DroskTest, LeavingWithYesClosesEveryWindow) {
    const QString set = WriteSet(QStringLiteral("animals.qst"), TwoQuestions());
    MakeMain();
    Load(set);
    NewRecord(QStringLiteral("cat"));
    Click("ViewRecordsBtn");
    ASSERT_NE(m_Main->RecordList(), nullptr);
    Item("AboutMenu")->trigger();
    m_Script.QueueAnswer(Answer::Yes);
    Item("ExitMenu")->trigger();
    EXPECT_FALSE(m_Main->isVisible());
    EXPECT_EQ(m_Main->RecordList(), nullptr);
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("animals.dat")))); // nothing saved
}
