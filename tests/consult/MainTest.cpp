#include "MirelFixture.h"

#include "kb/DataFileWriter.h"
#include "kb/FileIO.h"
#include "tests/support/HalfSaved.h"

#include "kb/CRecord.h"
#include "kb/QuestionFileReader.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <sys/inotify.h>
#include <unistd.h>

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

const QString kStart = QStringLiteral("Load the Question File to start");

} // namespace

// Loading: what a cancelled, failed or partial load leaves.

TEST_F(MirelTest, StartsWithOnlyLoadingExitAndHelp) {
    MakeMain();
    EXPECT_EQ(Label("CorvaneTitle")->text(), QStringLiteral("Corvane User Interface"));
    EXPECT_EQ(Label("VersionLabel")->text(), QStringLiteral("Version 4.1.0"));
    EXPECT_EQ(Label("theQuestion")->text(), kStart);
    for (const char* name :
         {"FirstBtn", "NextBtn", "LastBtn", "ReferHelpBtn", "AnalysisBtn", "NewQueryBtn"})
        EXPECT_FALSE(Button(name)->isEnabled()) << name;
    EXPECT_TRUE(Button("LoadQuestions")->isEnabled());
    EXPECT_TRUE(Button("ExitBtn")->isEnabled());
    EXPECT_FALSE(Item("NextQuestionMenu")->isEnabled());
    EXPECT_TRUE(Item("OpenQuestionsMenu")->isEnabled());
    EXPECT_TRUE(Item("AboutMenu")->isEnabled());
}

TEST_F(MirelTest, OpenDialogStartsEmptyWithTheQuestionFilter) {
    MakeMain();
    Load(QString()); // cancelled
    ASSERT_EQ(m_Script.FileDialogs().size(), 1u);
    EXPECT_FALSE(m_Script.FileDialogs()[0].save);
    EXPECT_EQ(m_Script.FileDialogs()[0].filter, QStringLiteral("Questions(*.qst)|*.qst"));
    EXPECT_EQ(m_Script.FileDialogs()[0].startName, QString());
    EXPECT_EQ(Label("theQuestion")->text(), kStart);
    EXPECT_TRUE(m_Script.MessageBoxes().empty());
}

TEST_F(MirelTest, LoadShowsQuestionOneAndEnablesTheConsultation) {
    MakeMain();
    Load(Data("worked.qst"));
    EXPECT_EQ(Label("theQuestion")->text(), QStringLiteral("Which size?"));
    EXPECT_EQ(QuestionNo(), QStringLiteral("1"));
    EXPECT_TRUE(Button("AnalysisBtn")->isEnabled());
    EXPECT_TRUE(Item("NewQueryActionsMenu")->isEnabled());
    EXPECT_FALSE(Button("NextBtn")->isEnabled());
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Check(i)->isVisible());
        EXPECT_FALSE(Slider(i)->isVisible());
    }
    EXPECT_FALSE(Check(3)->isVisible());
    EXPECT_EQ(Label("m_Options(1)")->text(), QStringLiteral("Medium"));
}

TEST_F(MirelTest, MissingDataFileIsReportedAndLoadsNothing) {
    MakeMain();
    Load(Data("nodata.qst"));
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u);
    const auto& box = m_Script.MessageBoxes()[0];
    EXPECT_EQ(box.text,
              QStringLiteral("Cannot Find Corresponding Data FileCalled : ") + Data("nodata.dat"));
    EXPECT_EQ(box.icon, Icon::Critical);
    EXPECT_EQ(box.buttons, Buttons::OK);
    EXPECT_EQ(box.title, QStringLiteral("Corvane Error"));
    EXPECT_EQ(Label("theQuestion")->text(), kStart);
    EXPECT_EQ(QuestionNo(), QStringLiteral("1"));
    EXPECT_FALSE(Button("AnalysisBtn")->isEnabled());
}

// A knowledge base whose save was cut short between its two files: Mirel, which writes
// nothing, says so and loads nothing, and leaves the files for Halvet or Drosk to mend.
TEST_F(MirelTest, AKnowledgeBaseHalfSavedIsRefusedAndLeftAsItIs) {
    const std::string set = m_Folder.filePath(QStringLiteral("pets.qst")).toStdString();
    ASSERT_TRUE(kb::WriteFileAtomically(set, testsupport::QuestionSetBytes({"Q1", "Q2"})));
    ASSERT_TRUE(
        kb::DataFileWriter().Save(testsupport::Records({1}, {1, 2}), kb::DataFileNameFor(set)));
    ASSERT_TRUE(testsupport::LeaveHalfSaved(set, {"Q3", "Q1", "Q2"}, {1}, {3, 1, 2}));
    std::string setBytes, dataBytes;
    ASSERT_TRUE(kb::ReadWholeFile(set, setBytes) &&
                kb::ReadWholeFile(kb::DataFileNameFor(set), dataBytes));

    MakeMain();
    Load(QString::fromStdString(set));
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u);
    EXPECT_TRUE(m_Script.MessageTexts()[0].startsWith(
        QStringLiteral("Cannot Load ") + QString::fromStdString(set) +
        QStringLiteral("\nA save of this knowledge base was cut short before it was complete")))
        << m_Script.MessageTexts()[0].toStdString();
    EXPECT_TRUE(m_Script.MessageTexts()[0].contains(QStringLiteral("Halvet or Drosk")));
    EXPECT_EQ(Label("theQuestion")->text(), kStart);
    EXPECT_FALSE(Button("AnalysisBtn")->isEnabled());
    std::string setAfter, dataAfter;
    ASSERT_TRUE(kb::ReadWholeFile(set, setAfter) &&
                kb::ReadWholeFile(kb::DataFileNameFor(set), dataAfter));
    EXPECT_EQ(setAfter, setBytes);
    EXPECT_EQ(dataAfter, dataBytes);
}

TEST_F(MirelTest, FailedLoadsKeepTheKnowledgeBaseAndItsAnswers) {
    MakeMain();
    Load(Data("worked.qst"));
    Check(1)->click();
    Click("NextBtn");
    ASSERT_EQ(QuestionNo(), QStringLiteral("2"));
    for (const char* file : {"nodata.qst", "broken.qst", ""}) {
        Load(file[0] ? Data(file) : QString());
        EXPECT_EQ(Label("theQuestion")->text(), QStringLiteral("Which colours?")) << file;
        EXPECT_EQ(QuestionNo(), QStringLiteral("2"));
        EXPECT_TRUE(Button("AnalysisBtn")->isEnabled());
    }
    EXPECT_EQ(m_Script.MessageTexts(),
              QStringList({QStringLiteral("Cannot Find Corresponding Data FileCalled : ") +
                               Data("nodata.dat"),
                           QStringLiteral("Cannot Read Question File: Check Format")}));
    EXPECT_EQ(m_Script.MessageBoxes()[1].icon, Icon::Exclamation);
    EXPECT_EQ(m_Script.MessageBoxes()[1].title, QStringLiteral("Mirel"));

    // The first answer survived: the explanation still shows it.
    Click("AnalysisBtn");
    const QStringList lines = Explain();
    EXPECT_EQ(Explained(lines, 1),
              QStringList({QStringLiteral("--- Small [NO]"), QStringLiteral("--- Medium [YES]"),
                           QStringLiteral("--- Large [NO]"),
                           QStringLiteral("Resultant Score = 10.00 From a MAX of 10.00")}));
    EXPECT_EQ(lines.count(), 7 + 3 * 4); // questions 2 to 4 unanswered
}

TEST_F(MirelTest, PartialSetIsUsedAsFarAsItsWholeQuestions) {
    MakeMain();
    Load(Data("partial.qst"));
    EXPECT_TRUE(m_Script.MessageBoxes().empty());
    EXPECT_EQ(Label("theQuestion")->text(), QStringLiteral("Which size?"));
    Check(0)->click();
    Click("NextBtn"); // the only whole question is the last: Next analyses
    ASSERT_NE(List(), nullptr);
    EXPECT_TRUE(List()->isVisible());
    EXPECT_EQ(RecordNames().first(), QStringLiteral("ONLY"));
    EXPECT_EQ(Get<QLabel>(List(), QStringLiteral("RecScore(0)"))->text(),
              QStringLiteral("100.00%"));
    EXPECT_EQ(Explain().count(), 2 + 2 + 2); // one answered question of two options
}

// The readers' limit is 32767 items: 1820 questions and blank lines up to it load whole,
// one item more is refused and the knowledge base loaded before stays.
TEST_F(MirelTest, SetOfExactlyTheItemLimitLoadsAndOneItemMoreIsRefused) {
    const int most = kb::QuestionFileReader::kMaxQuestions;
    const QByteArray noPairs = QByteArray("0\xB8").repeated(9);
    QByteArray set;
    for (int k = 1; k <= most; ++k) {
        const QByteArray wording = "Question " + QByteArray::number(k) + "\r\n";
        set += wording + "Single\r\n" + wording + "Single\r\nYes\r\nNo\r\n" +
               QByteArray("Null\r\n").repeated(7) + " 1\r\n " + noPairs + "AND\r\n " + noPairs +
               "\r\nnohelp.htm\r\n 1\r\n";
    }
    const QByteArray data = "[ONLY]\r\nRecordDescription=nodesc.htm\r\n\r\n";
    WriteProgramFile(QStringLiteral("most.qst"), set + QByteArray("\r\n").repeated(7));
    WriteProgramFile(QStringLiteral("most.dat"), data);
    WriteProgramFile(QStringLiteral("over.qst"), set + QByteArray("\r\n").repeated(8));
    WriteProgramFile(QStringLiteral("over.dat"), data);
    // A well-formed set of one question more than the limit.
    WriteProgramFile(QStringLiteral("more.qst"), set + set.mid(set.indexOf("Question 1820\r\n")));
    WriteProgramFile(QStringLiteral("more.dat"), data);
    MakeMain();
    Load(m_Folder.filePath(QStringLiteral("most.qst")));
    ASSERT_TRUE(m_Script.MessageBoxes().empty())
        << m_Script.MessageTexts().join(u'|').toStdString();
    EXPECT_EQ(Label("theQuestion")->text(), QStringLiteral("Question 1"));
    Click("AnalysisBtn");
    const QStringList lines = Explain();
    ASSERT_EQ(lines.size(), 4 * most); // each question unanswered: four lines
    EXPECT_TRUE(lines[4 * most - 4].startsWith(QStringLiteral("[Question %1]").arg(most)));
    EXPECT_EQ(lines[4 * most - 3], QStringLiteral("Question %1 [Type = Single] ").arg(most));

    // Refused with the limit named.
    for (const char* over : {"over.qst", "more.qst"}) {
        m_Script.Clear();
        Load(m_Folder.filePath(QString::fromLatin1(over)));
        EXPECT_EQ(m_Script.MessageTexts(),
                  QStringList{QStringLiteral(
                      "Cannot Read Question File: Check Format\n"
                      "A question set holds at most 1820 questions; this file is longer.")})
            << over;
        EXPECT_EQ(Label("theQuestion")->text(), QStringLiteral("Question 1"));
        EXPECT_EQ(kb::g_NumQuestions, most);
    }
}

TEST_F(MirelTest, PartlyReadDataFileIsReportedThenUsed) {
    MakeMain();
    Load(Data("skipped.qst"));
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u);
    EXPECT_TRUE(m_Script.MessageBoxes()[0].text.endsWith(Data("skipped.dat")));
    EXPECT_EQ(m_Script.MessageBoxes()[0].icon, Icon::Exclamation);
    EXPECT_EQ(Label("theQuestion")->text(), QStringLiteral("Which size?"));
    Click("AnalysisBtn");
    EXPECT_EQ(RecordNames().first(), QStringLiteral("GOOD"));
}

// Answering: only the end user's own clicks and slider moves answer a question.

TEST_F(MirelTest, SingleChoiceAnswerHoldsTenOnTheChosenOptionOnly) {
    MakeMain();
    Load(Data("worked.qst"));
    Check(1)->click();
    EXPECT_TRUE(Button("NextBtn")->isEnabled());
    EXPECT_TRUE(Item("NextQuestionMenu")->isEnabled());
    Check(2)->click();
    Click("AnalysisBtn");
    // R3, which never answered the question, ranks first with 0 against R1's and R2's -10.
    EXPECT_EQ(RecordNames().first(), QStringLiteral("R3"));
    EXPECT_EQ(Explained(Explain(), 1),
              QStringList({QStringLiteral("--- Small [NO]"), QStringLiteral("--- Medium [NO]"),
                           QStringLiteral("--- Large [YES]"),
                           QStringLiteral("Resultant Score = 0.00 From a MAX of 10.00")}));
}

TEST_F(MirelTest, SliderMovesAnswerAndShowTheLevelWord) {
    MakeMain();
    Load(Data("flow.qst")); // question 1: multiple choice, three options
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Label(QStringLiteral("m_Inds(%1)").arg(i))->text(), QStringLiteral("Neutral"));
    EXPECT_FALSE(Button("NextBtn")->isEnabled());

    Step(1, 1);
    QLabel* ind = Label("m_Inds(1)");
    EXPECT_EQ(ind->text(), QStringLiteral("Perhaps"));
    EXPECT_EQ(ind->palette().color(QPalette::WindowText), QColor(0, 0, 0xC0));
    EXPECT_TRUE(Button("NextBtn")->isEnabled());
    Step(1, 1);
    EXPECT_EQ(ind->text(), QStringLiteral("Yes"));
    EXPECT_EQ(ind->palette().color(QPalette::WindowText), QColor(0xC0, 0, 0));
    Step(1, 1); // at the end already: no change
    Step(0, -1);
    EXPECT_EQ(Label("m_Inds(0)")->text(), QStringLiteral("Unlikely"));

    // A drag counts once, when it ends, and a value between the levels shows "No".
    QScrollBar* drag = Slider(2);
    drag->setSliderDown(true);
    drag->setSliderPosition(3);
    EXPECT_EQ(Label("m_Inds(2)")->text(), QStringLiteral("Neutral"));
    drag->setSliderDown(false);
    EXPECT_EQ(Label("m_Inds(2)")->text(), QStringLiteral("No"));
    EXPECT_EQ(Label("m_Inds(2)")->palette().color(QPalette::WindowText), QColor(0, 0, 0));

    Click("AnalysisBtn");
    EXPECT_EQ(Explained(Explain(), 1),
              QStringList({QStringLiteral("--- A [DOUBT]"), QStringLiteral("--- B [YES]"),
                           QStringLiteral("--- C"),
                           QStringLiteral("Resultant Score = 4.00 From a MAX of 10.00")}));
}

// Keyboard only: the sliders are tab stops after the navigation buttons, and the arrow,
// page and end keys answer as a move of the slider would.
TEST_F(MirelTest, SlidersAnswerFromTheKeyboard) {
    MakeMain();
    m_Main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_Main.get()));
    Load(Data("flow.qst")); // question 1: multiple choice, three options
    Button("LastBtn")->setFocus();
    QCoreApplication::processEvents(); // let the window's activation settle
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), Slider(0));
    EXPECT_FALSE(Button("NextBtn")->isEnabled());

    QTest::keyClick(Slider(0), Qt::Key_Left);
    EXPECT_EQ(Label("m_Inds(0)")->text(), QStringLiteral("Unlikely"));
    EXPECT_TRUE(Button("NextBtn")->isEnabled());
    QTest::keyClick(Slider(0), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), Slider(1));
    QTest::keyClick(Slider(1), Qt::Key_End);
    EXPECT_EQ(Label("m_Inds(1)")->text(), QStringLiteral("Yes"));
    QTest::keyClick(Slider(1), Qt::Key_Tab);
    QTest::keyClick(Slider(2), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Button("LoadQuestions"));

    Click("AnalysisBtn");
    EXPECT_EQ(Explained(Explain(), 1),
              QStringList({QStringLiteral("--- A [DOUBT]"), QStringLiteral("--- B [YES]"),
                           QStringLiteral("--- C [NEUTRAL]"),
                           QStringLiteral("Resultant Score = 5.00 From a MAX of 10.00")}));
}

TEST_F(MirelTest, ShowingAQuestionNeverAnswersIt) {
    MakeMain();
    Load(Data("worked.qst"));
    Slider(0)->setValue(10); // values the program sets are not answers
    Check(1)->setChecked(true);
    EXPECT_FALSE(Button("NextBtn")->isEnabled());
    Check(1)->click();
    Click("NextBtn");
    // Question 2 is multiple choice: its sliders stand at 0 and it is unanswered.
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Slider(i)->isVisible());
        EXPECT_EQ(Slider(i)->value(), 0);
    }
    EXPECT_FALSE(Button("NextBtn")->isEnabled());
    Step(0, 2);
    Click("FirstBtn");
    Click("NextBtn");
    EXPECT_EQ(Slider(0)->value(), 10); // the answer is shown again, not changed
    EXPECT_TRUE(Button("NextBtn")->isEnabled());
}

TEST_F(MirelTest, HelpPageOfTheQuestion) {
    MakeMain();
    Load(Data("worked.qst"));
    Click("ReferHelpBtn");
    Check(0)->click();
    Click("NextBtn");
    Item("HelpQuestionMenu")->trigger(); // "NoHelp.HTM": the default page, as written
    Step(0, 1);
    Click("NextBtn");
    Click("ReferHelpBtn"); // any other page is handed over unchanged
    EXPECT_EQ(m_Script.OpenedPages(),
              QStringList({platform::InProgramFolder(QStringLiteral("nohelp.htm")),
                           platform::InProgramFolder(QStringLiteral("NoHelp.HTM")),
                           QStringLiteral("pages/shape.htm")}));
    EXPECT_TRUE(m_Script.MessageBoxes().empty());

    Item("ContentsHelpMenu")->trigger();
    Item("SearchHelpMenu")->trigger();
    ASSERT_EQ(m_Script.HelpCalls().size(), 2u);
    EXPECT_TRUE(m_Script.HelpCalls()[0].helpFile.endsWith(QStringLiteral("Mirel.hlp")));
    EXPECT_EQ(m_Script.HelpCalls()[0].command, platform::HelpCommand::Contents);
    EXPECT_EQ(m_Script.HelpCalls()[1].command, platform::HelpCommand::KeywordSearch);
    Item("CorvaneHomepageHelpMenu")->trigger();
    EXPECT_EQ(m_Script.OpenedPages().last(), platform::HomePage());
}

// Leaving asks first; No keeps everything.

TEST_F(MirelTest, LeavingWithNoKeepsTheConsultation) {
    MakeMain();
    Load(Data("worked.qst"));
    Check(1)->click();
    m_Script.QueueAnswer(Answer::No);
    EXPECT_FALSE(m_Main->close());
    ASSERT_EQ(m_Script.MessageBoxes().size(), 1u);
    ExpectQuitQuestion(m_Script.MessageBoxes()[0]);
    EXPECT_TRUE(m_Main->isVisible());
    EXPECT_TRUE(Check(1)->isChecked());
    EXPECT_TRUE(Button("NextBtn")->isEnabled());
}

TEST_F(MirelTest, LeavingWithYesClosesEveryWindow) {
    MakeMain();
    QWidget splash;
    splash.show();
    m_Main->SetSplash(&splash);
    Load(Data("worked.qst"));
    Click("AnalysisBtn");
    Explain();
    ASSERT_TRUE(m_Main->ExplanationWindow()->isVisible());
    m_Script.QueueAnswer(Answer::Yes);
    Click("ExitBtn");
    EXPECT_FALSE(m_Main->isVisible());
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(m_Main->RecordList(), nullptr);
    EXPECT_EQ(m_Main->ExplanationWindow(), nullptr);
}

TEST_F(MirelTest, LeavingOutsideTheEventLoopLeavesLaterLoopsRunning) {
    MakeMain();
    m_Script.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(m_Main->close());
    // A dialog shown afterwards in the same process must still wait for its answer.
    QEventLoop later;
    QTimer::singleShot(0, &later, [&later] { later.exit(7); });
    EXPECT_EQ(later.exec(), 7);
}

// mirel.ini beside the program.

TEST_F(MirelTest, SettingsReplaceWordsTitleAndCaptions) {
    WriteProgramFile(QStringLiteral("mirel.ini"),
                     "[corvanesettings]\r\n"
                     "SLIDERTEXT=Never|Hardly|Maybe|Likely|Always|really\r\n"
                     "Title=Choosing a Pet\r\n"
                     "[CorvaneButtons]\r\n"
                     "B2=Onwards\r\n"
                     "B6=Results\r\n");
    MakeMain();
    EXPECT_EQ(Label("CorvaneTitle")->text(), QStringLiteral("Choosing a Pet"));
    EXPECT_EQ(Button("NextBtn")->text(), QStringLiteral("Onwards"));
    EXPECT_EQ(Button("AnalysisBtn")->text(), QStringLiteral("Results"));
    EXPECT_EQ(Button("FirstBtn")->text(), QStringLiteral("<< First"));
    EXPECT_EQ(Label("m_Inds(0)")->text(), QStringLiteral("Maybe"));
    EXPECT_EQ(Label("m_Inds(8)")->text(), QStringLiteral("Maybe"));
    EXPECT_FALSE(Button("NextBtn")->isEnabled());

    Load(Data("flow.qst"));
    Step(0, -2);
    EXPECT_EQ(Label("m_Inds(0)")->text(), QStringLiteral("Never"));
    Step(0, 4);
    EXPECT_EQ(Label("m_Inds(0)")->text(), QStringLiteral("Always|really"));
    EXPECT_EQ(Label("m_Inds(1)")->text(), QStringLiteral("Maybe"));
    // The level colours never change.
    EXPECT_EQ(Label("m_Inds(0)")->palette().color(QPalette::WindowText), QColor(0xC0, 0, 0));
}

// The settings file is opened to see that it is there and once more to read every key,
// however many keys there are.
TEST_F(MirelTest, SettingsAreReadInOnePass) {
    WriteProgramFile(QStringLiteral("mirel.ini"),
                     "[CorvaneSettings]\r\nTitle=Once\r\n[CorvaneButtons]\r\nB8=Bye\r\n");
    const int watcher = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watcher, 0);
    ASSERT_GE(::inotify_add_watch(
                  watcher,
                  QFile::encodeName(m_Folder.filePath(QStringLiteral("mirel.ini"))).constData(),
                  IN_OPEN | IN_CLOSE_NOWRITE),
              0);
    // Each open is followed by its close, so no two events in a row are alike and none are
    // merged.
    MakeMain();
    EXPECT_EQ(Label("CorvaneTitle")->text(), QStringLiteral("Once"));
    EXPECT_EQ(Button("ExitBtn")->text(), QStringLiteral("Bye"));
    int opens = 0;
    alignas(inotify_event) char events[4096];
    for (ssize_t n; (n = ::read(watcher, events, sizeof events)) > 0;) {
        for (char* at = events; at < events + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            opens += (event->mask & IN_OPEN) != 0 ? 1 : 0;
            at += sizeof(inotify_event) + event->len;
        }
    }
    ::close(watcher);
    EXPECT_EQ(opens, 2) << "mirel.ini was opened " << opens << " times";
}

TEST_F(MirelTest, SettingsEdgeCases) {
    struct Case {
        const char* name;
        QByteArray ini;
        QString title;
        QString startWord;
        QString lowestWord;
    };
    const QString longTitle(200, QLatin1Char('T'));
    const Case cases[] = {
        {"too few separators", "[CorvaneSettings]\nSliderText=A|B|C|D\n",
         QStringLiteral("Corvane User Interface"), QStringLiteral("Neutral"), QStringLiteral("No")},
        {"empty first word", "[CorvaneSettings]\nSliderText=|b|c|d|e\n",
         QStringLiteral("Corvane User Interface"), QStringLiteral("c"), QString()},
        {"long title", "[CorvaneSettings]\nTitle=" + longTitle.toLatin1() + "\n",
         longTitle.left(127), QStringLiteral("Neutral"), QStringLiteral("No")},
        {"empty values", "[CorvaneSettings]\nTitle=\nSliderText=\n[CorvaneButtons]\nB2=  \n",
         QStringLiteral("Corvane User Interface"), QStringLiteral("Neutral"), QStringLiteral("No")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteProgramFile(QStringLiteral("mirel.ini"), c.ini);
        MakeMain();
        EXPECT_EQ(Label("CorvaneTitle")->text(), c.title);
        EXPECT_EQ(Label("m_Inds(0)")->text(), c.startWord);
        EXPECT_EQ(Button("NextBtn")->text(), QStringLiteral("Next >"));
        Load(Data("flow.qst"));
        Step(0, -2);
        EXPECT_EQ(Label("m_Inds(0)")->text(), c.lowestWord);
    }
}
