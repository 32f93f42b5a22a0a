#include "consult/Main.h"

#include "consult/Explanation.h"
#include "consult/RecordDisplayer.h"
#include "dialogs/About.h"
#include "dialogs/AnswerRows.h"
#include "dialogs/DataFileNotices.h"
#include "dialogs/HelpUtils.h"
#include "dialogs/KnowledgeBaseNotices.h"
#include "dialogs/ProgramShell.h"
#include "dialogs/QuestionFileNotices.h"
#include "platform/BusyPointer.h"
#include "platform/DesignWidgets.h"
#include "platform/FormUtilities.h"
#include "platform/PageLocation.h"
#include "platform/Platform.h"
#include "platform/ProgramInfo.h"
#include "platform/Twips.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <algorithm>

namespace consult {

using platform::BgrToQColor;
using platform::DesignFont;
using platform::kComicSans;
using platform::MakeButton;
using platform::MakeFrame;
using platform::MakeItem;
using platform::MakeLabel;
using platform::SetTextColour;
using platform::TwipsRect;

namespace {

const QString kHelpFile = QStringLiteral(".\\Mirel.hlp");

} // namespace

Main::Main(QWidget* parent) : ProgramWindow(parent) {
    setWindowTitle(QStringLiteral("Corvane User Interface"));
    BuildControls();
    BuildMenus();
    Form_Load();
}

Main::~Main() = default;

void Main::BuildControls() {
    // The designed 9700 x 7140 twips include the title bar, menu bar and borders; the
    // client area below the menu bar is what the frames fill.
    QWidget* client = MakeClientArea(9615, 6375);

    QGroupBox* TitleFrame = MakeFrame(client, "TitleFrame", TwipsRect(120, 0, 9375, 735));
    CorvaneTitle = MakeLabel(TitleFrame, "CorvaneTitle", QStringLiteral("Program Title Here"),
                             TwipsRect(120, 120, 9135, 495));
    CorvaneTitle->setAlignment(Qt::AlignCenter);
    CorvaneTitle->setFont(DesignFont(kComicSans, 16, true));
    SetTextColour(CorvaneTitle, BgrToQColor(0x800000));
    VersionLabel = MakeLabel(TitleFrame, "VersionLabel", QStringLiteral("Version M.m.r"),
                             TwipsRect(8280, 120, 1095, 135));
    VersionLabel->setAlignment(Qt::AlignCenter);
    QFont small(QStringLiteral("Small Fonts"));
    small.setPixelSize(8);
    VersionLabel->setFont(small);

    QGroupBox* NavigationFrame =
        MakeFrame(client, "NavigationFrame", TwipsRect(120, 720, 9375, 735));
    MakeLabel(NavigationFrame, "Label1", QStringLiteral("Question"), TwipsRect(120, 120, 855, 255));
    QNoLabel =
        MakeLabel(NavigationFrame, "QNoLabel", QStringLiteral("1"), TwipsRect(960, 120, 375, 255));
    QNoLabel->setAlignment(Qt::AlignCenter);
    SetTextColour(QNoLabel, BgrToQColor(0xC0));
    FirstBtn = MakeButton(NavigationFrame, "FirstBtn", QStringLiteral("<< First"),
                          TwipsRect(6720, 240, 855, 375));
    NextBtn = MakeButton(NavigationFrame, "NextBtn", QStringLiteral("Next >"),
                         TwipsRect(7560, 240, 855, 375));
    LastBtn = MakeButton(NavigationFrame, "LastBtn", QStringLiteral("Last >>"),
                         TwipsRect(8400, 240, 855, 375));
    FirstBtn->setEnabled(false);
    NextBtn->setEnabled(false);
    LastBtn->setEnabled(false);

    QGroupBox* PresentationFrame =
        MakeFrame(client, "PresentationFrame", TwipsRect(120, 1440, 9375, 3975));
    theQuestion = MakeLabel(PresentationFrame, "theQuestion",
                            QStringLiteral("Load the Question File to start"),
                            TwipsRect(120, 240, 9135, 300));
    theQuestion->setFont(DesignFont(kComicSans, 10, true));
    BuildAnswerArea(PresentationFrame);

    QGroupBox* ControlFrame = MakeFrame(client, "ControlFrame", TwipsRect(120, 5400, 9375, 855));
    LoadQuestions = MakeButton(ControlFrame, "LoadQuestions", QStringLiteral("Load Questions"),
                               TwipsRect(120, 240, 1695, 495));
    ReferHelpBtn = MakeButton(ControlFrame, "ReferHelpBtn", QStringLiteral("Refer Help"),
                              TwipsRect(1965, 240, 1695, 495));
    AnalysisBtn = MakeButton(ControlFrame, "AnalysisBtn", QStringLiteral("Show Analysis"),
                             TwipsRect(3840, 240, 1815, 495));
    NewQueryBtn = MakeButton(ControlFrame, "NewQueryBtn", QStringLiteral("New Query"),
                             TwipsRect(5760, 240, 1695, 495));
    ExitBtn = MakeButton(ControlFrame, "ExitBtn", QStringLiteral("Exit Program"),
                         TwipsRect(7560, 240, 1695, 495));
    ReferHelpBtn->setEnabled(false);
    AnalysisBtn->setEnabled(false);
    NewQueryBtn->setEnabled(false);

    connect(LoadQuestions, &QPushButton::clicked, this, &Main::LoadQuestions_Click);
    connect(FirstBtn, &QPushButton::clicked, this, &Main::FirstBtn_Click);
    connect(NextBtn, &QPushButton::clicked, this, &Main::NextBtn_Click);
    connect(LastBtn, &QPushButton::clicked, this, &Main::LastBtn_Click);
    connect(ReferHelpBtn, &QPushButton::clicked, this, &Main::ReferHelpBtn_Click);
    connect(AnalysisBtn, &QPushButton::clicked, this, &Main::AnalysisBtn_Click);
    connect(NewQueryBtn, &QPushButton::clicked, this, &Main::NewQueryBtn_Click);
    connect(ExitBtn, &QPushButton::clicked, this, &Main::ExitBtn_Click);
}

void Main::BuildMenus() {
    QMenu* QuestionsMenu = menuBar()->addMenu(QStringLiteral("&Questions"));
    QuestionsMenu->setObjectName(QStringLiteral("QuestionsMenu"));
    OpenQuestionsMenu = MakeItem(QuestionsMenu, "OpenQuestionsMenu", QStringLiteral("&Open"),
                                 QKeySequence(Qt::CTRL | Qt::Key_O));
    FirstQuestionMenu = MakeItem(QuestionsMenu, "FirstQuestionMenu", QStringLiteral("&First"),
                                 QKeySequence(Qt::CTRL | Qt::Key_F));
    NextQuestionMenu = MakeItem(QuestionsMenu, "NextQuestionMenu", QStringLiteral("&Next"),
                                QKeySequence(Qt::CTRL | Qt::Key_N));
    LastQuestionMenu = MakeItem(QuestionsMenu, "LastQuestionMenu", QStringLiteral("&Last"),
                                QKeySequence(Qt::CTRL | Qt::Key_L));
    HelpQuestionMenu = MakeItem(QuestionsMenu, "HelpQuestionMenu", QStringLiteral("&Help"));
    QuestionsMenu->addSeparator()->setObjectName(QStringLiteral("separator"));
    ExitMenu = MakeItem(QuestionsMenu, "ExitMenu", QStringLiteral("E&xit"),
                        QKeySequence(Qt::CTRL | Qt::Key_X));

    QMenu* ActionsMenu = menuBar()->addMenu(QStringLiteral("A&ctions"));
    ActionsMenu->setObjectName(QStringLiteral("ActionsMenu"));
    ShowAnalysisActionsMenu =
        MakeItem(ActionsMenu, "ShowAnalysisActionsMenu", QStringLiteral("&Show Analysis"));
    NewQueryActionsMenu =
        MakeItem(ActionsMenu, "NewQueryActionsMenu", QStringLiteral("New &Query"));

    QMenu* HelpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    HelpMenu->setObjectName(QStringLiteral("HelpMenu"));
    ContentsHelpMenu = MakeItem(HelpMenu, "ContentsHelpMenu", QStringLiteral("Help &Contents"));
    SearchHelpMenu = MakeItem(HelpMenu, "SearchHelpMenu", QStringLiteral("&Search for Help on"));
    CorvaneHomepageHelpMenu =
        MakeItem(HelpMenu, "CorvaneHomepageHelpMenu", QStringLiteral("Corvane &Homepage"));
    AboutMenu = MakeItem(HelpMenu, "AboutMenu", QStringLiteral("&About Corvane"));

    for (QAction* item : {FirstQuestionMenu, NextQuestionMenu, LastQuestionMenu, HelpQuestionMenu,
                          ShowAnalysisActionsMenu, NewQueryActionsMenu})
        item->setEnabled(false);

    connect(OpenQuestionsMenu, &QAction::triggered, this, &Main::LoadQuestions_Click);
    connect(FirstQuestionMenu, &QAction::triggered, this, &Main::FirstBtn_Click);
    connect(NextQuestionMenu, &QAction::triggered, this, &Main::NextBtn_Click);
    connect(LastQuestionMenu, &QAction::triggered, this, &Main::LastBtn_Click);
    connect(HelpQuestionMenu, &QAction::triggered, this, &Main::ReferHelpBtn_Click);
    connect(ExitMenu, &QAction::triggered, this, &Main::ExitBtn_Click);
    connect(ShowAnalysisActionsMenu, &QAction::triggered, this, &Main::AnalysisBtn_Click);
    connect(NewQueryActionsMenu, &QAction::triggered, this, &Main::NewQueryBtn_Click);
    connect(ContentsHelpMenu, &QAction::triggered, this, &Main::ContentsHelpMenu_Click);
    connect(SearchHelpMenu, &QAction::triggered, this, &Main::SearchHelpMenu_Click);
    connect(CorvaneHomepageHelpMenu, &QAction::triggered, this,
            &Main::CorvaneHomepageHelpMenu_Click);
    connect(AboutMenu, &QAction::triggered, this, &Main::AboutMenu_Click);
}

void Main::Form_Load() {
    m_LevelNames = dialogs::AnswerRows::DefaultLevelNames();
    m_LevelColours = dialogs::AnswerRows::DefaultLevelColours();
    CorvaneTitle->setText(platform::ProductName());
    VersionLabel->setText(platform::VersionText());
    ReadIniSettings();
}

void Main::LoadQuestions_Click() {
    const platform::BusyPointer busy;
    const QString chosen = platform::OpenFileName(this, platform::kQuestionFilter, QString());
    if (chosen.isEmpty())
        return;

    // Both files are read aside; only a load that succeeds replaces the knowledge base
    // loaded before, with its answers.
    kb::CKnowledgeBase::Contents contents;
    switch (const auto outcome = m_KnowledgeBase.Open(chosen.toStdString(), contents)) {
    case kb::CKnowledgeBase::Outcome::Done:
        break;
    case kb::CKnowledgeBase::Outcome::NoDataFile:
        platform::MessageBox(
            QStringLiteral("Cannot Find Corresponding Data File") + QStringLiteral("Called : ") +
                QString::fromStdString(m_KnowledgeBase.LastFailure().path),
            platform::Buttons::OK, platform::Icon::Critical, QStringLiteral("Corvane Error"));
        return;
    case kb::CKnowledgeBase::Outcome::Unreadable:
        platform::MessageBox(QStringLiteral("Cannot Read Question File: Check Format") +
                                 dialogs::QuestionLimitLine(m_KnowledgeBase.QuestionSetTooLong()),
                             platform::Buttons::OK, platform::Icon::Exclamation,
                             platform::ProgramTitle());
        return;
    default:
        dialogs::WarnNotLoaded(m_KnowledgeBase, outcome, chosen);
        return;
    }
    const QString dataFile = QString::fromStdString(m_KnowledgeBase.DataFilePath());
    if (contents.skippedItems > 0)
        dialogs::ShowPartlyReadNotice(dataFile, false);

    m_QFileName = QString::fromStdString(m_KnowledgeBase.QuestionSetPath());
    platform::SetQuestionSetFile(m_QFileName);
    m_DataFileName = dataFile;
    m_Questions = std::move(contents.questions);
    m_Records = std::move(contents.records);
    m_NumQuestions = static_cast<int>(m_Questions.size());
    m_NumRecords = static_cast<int>(m_Records.size());
    EnableControls(true);
    m_CurrentQ = 0;
    ShowQuestion(CurrentQuestion());
}

void Main::ReferHelpBtn_Click() {
    if (m_Questions.empty())
        return;
    dialogs::OpenQuestionHelp(QString::fromStdString(CurrentQuestion().GetQHelp()));
}

void Main::ContentsHelpMenu_Click() {
    dialogs::ShowHelpContents(kHelpFile);
}

void Main::SearchHelpMenu_Click() {
    dialogs::ShowHelpSearch(kHelpFile);
}

void Main::CorvaneHomepageHelpMenu_Click() {
    dialogs::OpenHomePage();
}

void Main::AboutMenu_Click() {
    dialogs::ShowAbout(m_About);
}

void Main::ExitBtn_Click() {
    close();
}

bool Main::Form_Unload() {
    if (!dialogs::ConfirmQuit())
        return false;
    if (m_Splash)
        m_Splash->close();
    m_About.reset();
    m_Explanation.reset();
    m_RecordDisplayer.reset();
    dialogs::EndProgram();
    return true;
}

} // namespace consult
