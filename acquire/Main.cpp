#include "acquire/Main.h"

#include "acquire/RecordNameList.h"
#include "consult/RecordDisplayer.h"
#include "dialogs/About.h"
#include "dialogs/DataFileNotices.h"
#include "dialogs/HelpUtils.h"
#include "dialogs/KnowledgeBaseNotices.h"
#include "dialogs/ProgramShell.h"
#include "dialogs/QuestionFileNotices.h"
#include "dialogs/RecordDlg.h"
#include "dialogs/SavedMsg.h"
#include "dialogs/URLDlg.h"
#include "kb/DataFileReader.h"
#include "platform/BusyPointer.h"
#include "platform/DesignWidgets.h"
#include "platform/EntryValidator.h"
#include "platform/FormUtilities.h"
#include "platform/PageLocation.h"
#include "platform/Platform.h"
#include "platform/ProgramInfo.h"
#include "platform/Twips.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

namespace acquire {

using platform::BgrToQColor;
using platform::DesignFont;
using platform::kComicSans;
using platform::MakeButton;
using platform::MakeFrame;
using platform::MakeItem;
using platform::SetTextColour;
using platform::TwipsRect;

namespace {

const QString kHelpFile = QStringLiteral(".\\Drosk.HLP");
constexpr std::uint32_t kDarkBlue = 0x800000;
constexpr std::uint32_t kDarkGreen = 0x4000;

// Every label of the window is coloured, dark blue unless said.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& place,
                  std::uint32_t colour = kDarkBlue) {
    QLabel* label = platform::MakeLabel(parent, QString::fromLatin1(name), text, place);
    SetTextColour(label, BgrToQColor(colour));
    return label;
}

} // namespace

Main::Main(QWidget* parent) : ProgramWindow(parent) {
    setWindowTitle(QStringLiteral("Corvane"));
    BuildControls();
    BuildMenus();
    EnableControls(false);
    Form_Load();
}

Main::~Main() = default;

void Main::BuildControls() {
    // The designed 9700 x 7485 twips include the title bar, menu bar and borders; the
    // client area below the menu bar is what the four frames fill.
    QWidget* client = MakeClientArea(9615, 6855);

    QGroupBox* TitleFrame = MakeFrame(client, "TitleFrame", TwipsRect(120, 0, 9375, 735));
    CorvaneTitle = MakeLabel(TitleFrame, "CorvaneTitle", QStringLiteral("Program Title Here"),
                             TwipsRect(120, 120, 9135, 495), kDarkGreen);
    CorvaneTitle->setAlignment(Qt::AlignCenter);
    CorvaneTitle->setFont(DesignFont(kComicSans, 16, true));
    VersionLabel = MakeLabel(TitleFrame, "VersionLabel", QStringLiteral("Version M.m.r"),
                             TwipsRect(8160, 120, 1215, 135), kDarkGreen);
    QFont small(QStringLiteral("Small Fonts"));
    small.setPixelSize(8);
    VersionLabel->setFont(small);

    QGroupBox* NavigationFrame =
        MakeFrame(client, "NavigationFrame", TwipsRect(120, 720, 9375, 735));
    // Each label ends where the control below it begins.
    MakeLabel(NavigationFrame, "Label2", QStringLiteral("Record Name"),
              TwipsRect(120, 120, 1095, 210));
    RecordName = new QComboBox(NavigationFrame);
    RecordName->setObjectName(QStringLiteral("RecordName"));
    RecordName->setEditable(true);
    // The list holds the records in array order and nothing else: Enter must not add
    // the typed text to it.
    RecordName->setInsertPolicy(QComboBox::NoInsert);
    // Names are taken as typed: completing from the list would put another record's name
    // (a longer one that begins alike) in the box for Load and Delete to act on.
    RecordName->setCompleter(nullptr);
    // It has the focus at start and after every name typed: Ctrl+X must still reach the
    // Exit item rather than cut the name.
    PutMenuShortcutsFirst(RecordName);
    RecordName->setGeometry(TwipsRect(120, 330, 5415, 330));
    RecordName->setFont(DesignFont(kComicSans, 8.25));
    SetTextColour(RecordName, BgrToQColor(kDarkBlue));
    // Item i names record i, abridged, so the list opens at once however long the names: a
    // record picked is known by its place (NamedRecord). A name typed or pasted is taken
    // whole or not at all, never cut.
    RecordName->setModel(new RecordNameList(RecordName));
    RecordName->setValidator(new platform::EntryValidator(
        RecordName->lineEdit(), false, static_cast<int>(kb::DataFileReader::kMaxTextBytes)));
    connect(RecordName, &QComboBox::activated, this, [this](int index) { m_PickedItem = index; });
    connect(RecordName->lineEdit(), &QLineEdit::textEdited, this, [this] { m_PickedItem = -1; });
    connect(RecordName->model(), &QAbstractItemModel::rowsRemoved, this,
            [this] { m_PickedItem = -1; });
    MakeLabel(NavigationFrame, "Label1", QStringLiteral("Question"),
              TwipsRect(5760, 210, 855, 210));
    QNoLabel =
        MakeLabel(NavigationFrame, "QNoLabel", QStringLiteral("1"), TwipsRect(5760, 420, 735, 255));
    QNoLabel->setAlignment(Qt::AlignCenter);
    FirstBtn = MakeButton(NavigationFrame, "FirstBtn", QStringLiteral("<< First"),
                          TwipsRect(6720, 275, 855, 375));
    NextBtn = MakeButton(NavigationFrame, "NextBtn", QStringLiteral("Next >"),
                         TwipsRect(7560, 275, 855, 375));
    LastBtn = MakeButton(NavigationFrame, "LastBtn", QStringLiteral("Last >>"),
                         TwipsRect(8400, 275, 855, 375));

    QGroupBox* PresentationFrame =
        MakeFrame(client, "PresentationFrame", TwipsRect(120, 1440, 9375, 3975));
    theQuestion = MakeLabel(PresentationFrame, "theQuestion",
                            QStringLiteral("Load the Question File then select or create a "
                                           "Record to start"),
                            TwipsRect(120, 240, 9135, 300));
    theQuestion->setFont(DesignFont(kComicSans, 10, true));
    m_Rows = new dialogs::AnswerRows(PresentationFrame);

    QGroupBox* ControlFrame = MakeFrame(client, "ControlFrame", TwipsRect(120, 5400, 9375, 1335));
    LoadRecord = MakeButton(ControlFrame, "LoadRecord", QStringLiteral("Load Record"),
                            TwipsRect(120, 240, 1650, 435));
    SaveRecord = MakeButton(ControlFrame, "SaveRecord", QStringLiteral("Save Records"),
                            TwipsRect(1980, 240, 1650, 435));
    DeleteRecord = MakeButton(ControlFrame, "DeleteRecord", QStringLiteral("Delete Record"),
                              TwipsRect(3840, 240, 1650, 435));
    ViewRecordsBtn = MakeButton(ControlFrame, "ViewRecordsBtn", QStringLiteral("View Records"),
                                TwipsRect(5700, 240, 1650, 435));
    NewRecord = MakeButton(ControlFrame, "NewRecord", QStringLiteral("New Record"),
                           TwipsRect(7560, 240, 1650, 435));
    LoadQuestions = MakeButton(ControlFrame, "LoadQuestions", QStringLiteral("Load Questions"),
                               TwipsRect(120, 720, 1650, 435));
    ReferHelpBtn = MakeButton(ControlFrame, "ReferHelpBtn", QStringLiteral("Refer Help"),
                              TwipsRect(1980, 720, 1650, 435));
    DescribeRecord = MakeButton(ControlFrame, "DescribeRecord", QStringLiteral("Describe Recd"),
                                TwipsRect(3840, 720, 1650, 435));
    ExitBtn = MakeButton(ControlFrame, "ExitBtn", QStringLiteral("Exit Program"),
                         TwipsRect(7560, 720, 1650, 435));

    connect(m_Rows, &dialogs::AnswerRows::CheckClicked, this, &Main::m_checks_Click);
    connect(m_Rows, &dialogs::AnswerRows::SliderMoved, this, &Main::m_Sliders_Change);
    connect(FirstBtn, &QPushButton::clicked, this, &Main::FirstBtn_Click);
    connect(NextBtn, &QPushButton::clicked, this, &Main::NextBtn_Click);
    connect(LastBtn, &QPushButton::clicked, this, &Main::LastBtn_Click);
    connect(LoadRecord, &QPushButton::clicked, this, &Main::LoadRecord_Click);
    connect(SaveRecord, &QPushButton::clicked, this, &Main::SaveRecord_Click);
    connect(DeleteRecord, &QPushButton::clicked, this, &Main::DeleteRecord_Click);
    connect(ViewRecordsBtn, &QPushButton::clicked, this, &Main::ViewRecordsBtn_Click);
    connect(NewRecord, &QPushButton::clicked, this, &Main::NewRecord_Click);
    connect(LoadQuestions, &QPushButton::clicked, this, &Main::LoadQuestions_Click);
    connect(ReferHelpBtn, &QPushButton::clicked, this, &Main::ReferHelpBtn_Click);
    connect(DescribeRecord, &QPushButton::clicked, this, &Main::DescribeRecord_Click);
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
    QuestionsMenu->addSeparator()->setObjectName(QStringLiteral("separator"));
    ExitMenu = MakeItem(QuestionsMenu, "ExitMenu", QStringLiteral("E&xit"),
                        QKeySequence(Qt::CTRL | Qt::Key_X));

    QMenu* RecordsMenu = menuBar()->addMenu(QStringLiteral("&Records"));
    RecordsMenu->setObjectName(QStringLiteral("RecordsMenu"));
    LoadRecordsMenu = MakeItem(RecordsMenu, "LoadRecordsMenu", QStringLiteral("&Load this"));
    SaveRecordsMenu = MakeItem(RecordsMenu, "SaveRecordsMenu", QStringLiteral("&Save"));
    DeleteRecordsMenu = MakeItem(RecordsMenu, "DeleteRecordsMenu", QStringLiteral("&Delete this"));
    DescribeRecordsMenu =
        MakeItem(RecordsMenu, "DescribeRecordsMenu", QStringLiteral("&D&escribe this"));
    ViewRecordsMenu = MakeItem(RecordsMenu, "ViewRecordsMenu", QStringLiteral("&View"));
    CreateRecordsMenu = MakeItem(RecordsMenu, "CreateRecordsMenu", QStringLiteral("&Create New"));

    QMenu* HelpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    HelpMenu->setObjectName(QStringLiteral("HelpMenu"));
    ContentsHelpMenu = MakeItem(HelpMenu, "ContentsHelpMenu", QStringLiteral("Help &Contents"));
    SearchHelpMenu = MakeItem(HelpMenu, "SearchHelpMenu", QStringLiteral("&Search for Help on.."));
    HomePageHelpMenu = MakeItem(HelpMenu, "HomePageHelpMenu", QStringLiteral("Corvane &Homepage"));
    AboutMenu = MakeItem(HelpMenu, "AboutMenu", QStringLiteral("&About Corvane"));

    connect(OpenQuestionsMenu, &QAction::triggered, this, &Main::LoadQuestions_Click);
    connect(FirstQuestionMenu, &QAction::triggered, this, &Main::FirstBtn_Click);
    connect(NextQuestionMenu, &QAction::triggered, this, &Main::NextBtn_Click);
    connect(LastQuestionMenu, &QAction::triggered, this, &Main::LastBtn_Click);
    connect(ExitMenu, &QAction::triggered, this, &Main::ExitBtn_Click);
    connect(LoadRecordsMenu, &QAction::triggered, this, &Main::LoadRecord_Click);
    connect(SaveRecordsMenu, &QAction::triggered, this, &Main::SaveRecord_Click);
    connect(DeleteRecordsMenu, &QAction::triggered, this, &Main::DeleteRecord_Click);
    connect(DescribeRecordsMenu, &QAction::triggered, this, &Main::DescribeRecord_Click);
    connect(ViewRecordsMenu, &QAction::triggered, this, &Main::ViewRecordsBtn_Click);
    connect(CreateRecordsMenu, &QAction::triggered, this, &Main::NewRecord_Click);
    connect(ContentsHelpMenu, &QAction::triggered, this, &Main::ContentsHelpMenu_Click);
    connect(SearchHelpMenu, &QAction::triggered, this, &Main::SearchHelpMenu_Click);
    connect(HomePageHelpMenu, &QAction::triggered, this, &Main::HomePageHelpMenu_Click);
    connect(AboutMenu, &QAction::triggered, this, &Main::AboutMenu_Click);
}

void Main::Form_Load() {
    m_NumQuestions = 0;
    m_NumRecords = 0;
    m_CurrentRecord = kNoRecord;
    m_DataFileName.clear();
    m_QFileName.clear();
    m_LevelColours = dialogs::AnswerRows::DefaultLevelColours();
    m_LevelNames = dialogs::AnswerRows::DefaultLevelNames();
    CorvaneTitle->setText(platform::ProductName());
    VersionLabel->setText(platform::VersionText());
}

void Main::EnableControls(bool flag) {
    for (QWidget* control : std::initializer_list<QWidget*>{
             FirstBtn, LastBtn, ReferHelpBtn, ViewRecordsBtn, NewRecord, LoadRecord, SaveRecord,
             DeleteRecord, DescribeRecord, NextBtn})
        control->setEnabled(flag);
    for (QAction* item :
         {FirstQuestionMenu, NextQuestionMenu, LastQuestionMenu, LoadRecordsMenu, SaveRecordsMenu,
          DeleteRecordsMenu, DescribeRecordsMenu, ViewRecordsMenu, CreateRecordsMenu})
        item->setEnabled(flag);
}

void Main::LoadQuestions_Click() {
    const platform::BusyPointer busy;
    const QString chosen = platform::OpenFileName(this, platform::kQuestionFilter, QString());
    if (chosen.isEmpty())
        return;

    // Read aside; only a set read whole replaces what is loaded, so a failed load leaves
    // the previous set, its records and the question count in step.
    kb::CKnowledgeBase::Contents contents;
    const auto outcome = m_KnowledgeBase.Open(chosen.toStdString(), contents);
    dialogs::ShowMended(m_KnowledgeBase);
    if (outcome == kb::CKnowledgeBase::Outcome::Unreadable) {
        platform::MessageBox(QStringLiteral("Cannot Read Question File: Check Format") +
                                 dialogs::QuestionLimitLine(m_KnowledgeBase.QuestionSetTooLong()),
                             platform::Buttons::OK, platform::Icon::Exclamation,
                             platform::ProgramTitle());
        return;
    }
    if (outcome != kb::CKnowledgeBase::Outcome::Done) {
        dialogs::WarnNotLoaded(m_KnowledgeBase, outcome, chosen);
        return;
    }
    const QString dataFile = QString::fromStdString(m_KnowledgeBase.DataFilePath());
    if (contents.skippedItems > 0)
        dialogs::ShowPartlyReadNotice(dataFile, true);
    kb::RecordArray records = std::move(contents.records);
    if (records.empty())
        records.assign(1, nullptr); // the one empty slot of a base without records

    m_QFileName = QString::fromStdString(m_KnowledgeBase.QuestionSetPath());
    platform::SetQuestionSetFile(m_QFileName);
    m_DataFileName = dataFile;
    m_Questions = std::move(contents.questions);
    m_NumQuestions = static_cast<std::int16_t>(m_Questions.size());
    m_Records = std::move(records);
    m_NumRecords = m_Records.front() ? static_cast<std::int16_t>(m_Records.size()) : 0;
    RecordName->clear();
    for (std::int16_t i = 0; i < m_NumRecords; ++i)
        RecordName->addItem(
            QString::fromStdString(m_Records[static_cast<std::size_t>(i)]->GetName()));

    EnableControls(false);
    EnableControls(true);
    m_CurrentQ = 0;
    m_CurrentRecord = kNoRecord;
    ResetDisplay();
    EnableResponses(false);
    RecordName->setEditText(QString());
}

void Main::ReferHelpBtn_Click() {
    if (m_Questions.empty())
        return;
    dialogs::OpenQuestionHelp(
        QString::fromStdString(m_Questions[static_cast<std::size_t>(m_CurrentQ)]->GetQHelp()));
}

void Main::ContentsHelpMenu_Click() {
    dialogs::ShowHelpContents(kHelpFile);
}

void Main::SearchHelpMenu_Click() {
    dialogs::ShowHelpSearch(kHelpFile);
}

void Main::HomePageHelpMenu_Click() {
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
    m_About.reset();
    m_RecordDisplayer.reset();
    m_RecordDlg.reset();
    m_SavedMsg.reset();
    m_URLDlg.reset();
    dialogs::EndProgram();
    return true;
}

} // namespace acquire
