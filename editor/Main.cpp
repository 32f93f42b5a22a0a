#include "editor/Main.h"

#include "dialogs/About.h"
#include "dialogs/HelpUtils.h"
#include "dialogs/ProgramShell.h"
#include "dialogs/SavedMsg.h"
#include "dialogs/URLDlg.h"
#include "editor/ArrayManager.h"
#include "editor/RelianceForm.h"
#include "kb/QuestionFileReader.h"
#include "platform/DesignWidgets.h"
#include "platform/EntryValidator.h"
#include "platform/FormUtilities.h"
#include "platform/OptionGroupFocus.h"
#include "platform/Platform.h"
#include "platform/ProgramInfo.h"
#include "platform/Twips.h"

#include <QAction>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

namespace editor {

using platform::BgrToQColor;
using platform::Indexed;
using platform::MakeButton;
using platform::MakeFrame;
using platform::MakeItem;
using platform::MakeLabel;
using platform::SetTextColour;
using platform::TwipsRect;

namespace {

const QString kHelpFile = QStringLiteral(".\\Halvet.HLP");
constexpr std::array<double, 3> kImportances = {1.0, 1.5, 2.0};

QRadioButton* MakeOption(QWidget* parent, const QString& name, const QString& text,
                         const QRect& place) {
    auto* option = new QRadioButton(text, parent);
    option->setObjectName(name);
    option->setGeometry(place);
    option->setFont(platform::DesignFont(8.25));
    return option;
}

QLineEdit* MakeTextBox(QWidget* parent, const QString& name, const QRect& place) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setGeometry(place);
    box->setValidator(new platform::EntryValidator(box, false, Main::kMaxTyped));
    box->setProperty("typedLimit", Main::kMaxTyped);
    return box;
}

} // namespace

Main::Main(QWidget* parent) : ProgramWindow(parent) {
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("Corvane Question Editor"));
    BuildControls();
    BuildMenus();
    Form_Load();
}

Main::~Main() = default;

void Main::BuildControls() {
    // The designed 9700 x 8175 twips include the title bar, menu bar and borders; the
    // client area below the menu bar is what the six frames fill.
    QWidget* client = MakeClientArea(9615, 7410);

    QGroupBox* TitleFrame = MakeFrame(client, "TitleFrame", TwipsRect(120, 0, 9375, 645));
    PrognameLabel = MakeLabel(TitleFrame, QStringLiteral("PrognameLabel"),
                              QStringLiteral("Program Title Here"), TwipsRect(120, 105, 9135, 450));
    PrognameLabel->setAlignment(Qt::AlignCenter);
    PrognameLabel->setFont(platform::DesignFont(16, true));
    SetTextColour(PrognameLabel, BgrToQColor(0x800000));
    VersionLabel = MakeLabel(TitleFrame, QStringLiteral("VersionLabel"),
                             QStringLiteral("Version M.m.r"), TwipsRect(7980, 405, 1335, 210));
    VersionLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    VersionLabel->setFont(platform::DesignFont(7));

    // The knowledge engineer's block: question number, wording, type and navigation.
    QGroupBox* KEFrame = MakeFrame(client, "KEFrame", TwipsRect(120, 630, 9375, 1260));
    MakeLabel(KEFrame, QStringLiteral("label1"), QStringLiteral("Question"),
              TwipsRect(120, 210, 855, 285));
    QNoLabel = MakeLabel(KEFrame, QStringLiteral("QNoLabel"), QStringLiteral("1"),
                         TwipsRect(975, 210, 555, 285));
    QNoLabel->setFont(platform::DesignFont(9, true));
    SetTextColour(QNoLabel, BgrToQColor(0xC0));
    FirstBtn =
        MakeButton(KEFrame, "FirstBtn", QStringLiteral("<< First"), TwipsRect(5880, 150, 855, 375));
    PrevBtn =
        MakeButton(KEFrame, "PrevBtn", QStringLiteral("< Prev"), TwipsRect(6735, 150, 855, 375));
    NextBtn =
        MakeButton(KEFrame, "NextBtn", QStringLiteral("Next >"), TwipsRect(7590, 150, 855, 375));
    LastBtn =
        MakeButton(KEFrame, "LastBtn", QStringLiteral("Last >>"), TwipsRect(8445, 150, 855, 375));
    MakeLabel(KEFrame, QStringLiteral("Label2"), QStringLiteral("Knowledge Engineer Question"),
              TwipsRect(120, 570, 3600, 270));
    KEQuestion = MakeTextBox(KEFrame, QStringLiteral("KEQuestion"), TwipsRect(120, 840, 6960, 330));
    auto* KETypeGroup = new QButtonGroup(this);
    KEType[0] = MakeOption(KEFrame, Indexed("KEType", 0), QStringLiteral("Single"),
                           TwipsRect(7230, 855, 900, 300));
    KEType[1] = MakeOption(KEFrame, Indexed("KEType", 1), QStringLiteral("Multiple"),
                           TwipsRect(8160, 855, 1140, 300));

    // The end user's block.
    QGroupBox* UserFrame = MakeFrame(client, "UserFrame", TwipsRect(120, 1875, 9375, 1020));
    MakeLabel(UserFrame, QStringLiteral("Label3"), QStringLiteral("System User Question"),
              TwipsRect(120, 195, 3600, 270));
    Copy = MakeButton(UserFrame, "Copy", QStringLiteral("Copy KE Question to User Question"),
                      TwipsRect(4080, 135, 3000, 360));
    UserQuestion =
        MakeTextBox(UserFrame, QStringLiteral("UserQuestion"), TwipsRect(120, 570, 6960, 330));
    auto* UserTypeGroup = new QButtonGroup(this);
    UserType[0] = MakeOption(UserFrame, Indexed("UserType", 0), QStringLiteral("Single"),
                             TwipsRect(7230, 585, 900, 300));
    UserType[1] = MakeOption(UserFrame, Indexed("UserType", 1), QStringLiteral("Multiple"),
                             TwipsRect(8160, 585, 1140, 300));

    // The options: nine rows of number and text.
    QGroupBox* OptionsFrame = MakeFrame(client, "OptionsFrame", TwipsRect(120, 2880, 9375, 3000));
    for (int i = 0; i < kRows; ++i) {
        const int top = 165 + i * 315;
        OptNo[static_cast<std::size_t>(i)] =
            MakeLabel(OptionsFrame, Indexed("OptNo", i), QString::number(i + 1),
                      TwipsRect(120, top, 360, 300));
        OptNo[static_cast<std::size_t>(i)]->setAlignment(Qt::AlignCenter);
        QOption[static_cast<std::size_t>(i)] =
            MakeTextBox(OptionsFrame, Indexed("QOption", i), TwipsRect(540, top, 8715, 300));
    }

    QGroupBox* CommandFrame = MakeFrame(client, "CommandFrame", TwipsRect(120, 5865, 9375, 690));
    RelianceBtn = MakeButton(CommandFrame, "RelianceBtn", QStringLiteral("Create Reliance"),
                             TwipsRect(120, 180, 1695, 375));
    SaveQuestionsBtn =
        MakeButton(CommandFrame, "SaveQuestionsBtn", QStringLiteral("Save Questions"),
                   TwipsRect(1950, 180, 1695, 375));
    LoadQuestionsBtn =
        MakeButton(CommandFrame, "LoadQuestionsBtn", QStringLiteral("Load Questions"),
                   TwipsRect(3780, 180, 1695, 375));
    AddHelpBtn = MakeButton(CommandFrame, "AddHelpBtn", QStringLiteral("Add Help"),
                            TwipsRect(5610, 180, 1695, 375));
    QuitBtn = MakeButton(CommandFrame, "QuitBtn", QStringLiteral("Quit Corvane"),
                         TwipsRect(7560, 180, 1695, 375));

    // The bottom strip: the reliance pairs on the left, the importance on the right.
    QGroupBox* BottomFrame = MakeFrame(client, "BottomFrame", TwipsRect(120, 6540, 9375, 840));
    MakeLabel(BottomFrame, QStringLiteral("Label4"), QStringLiteral("Reliant on Questions"),
              TwipsRect(120, 165, 2040, 270));
    MakeLabel(BottomFrame, QStringLiteral("Label5"), QStringLiteral("and Options"),
              TwipsRect(120, 465, 2040, 270));
    for (int i = 0; i < kRows; ++i) {
        const int left = 2220 + i * 345;
        DependentQ[static_cast<std::size_t>(i)] = MakeLabel(
            BottomFrame, Indexed("DependentQ", i), QString(), TwipsRect(left, 165, 330, 270));
        DependentOpt[static_cast<std::size_t>(i)] = MakeLabel(
            BottomFrame, Indexed("DependentOpt", i), QString(), TwipsRect(left, 465, 330, 270));
        for (QLabel* label :
             {DependentQ[static_cast<std::size_t>(i)], DependentOpt[static_cast<std::size_t>(i)]}) {
            label->setAlignment(Qt::AlignCenter);
            SetTextColour(label, BgrToQColor(0xC0));
            label->hide();
        }
    }
    MakeLabel(BottomFrame, QStringLiteral("Label8"), QStringLiteral("Question Importance"),
              TwipsRect(5640, 165, 3000, 270));
    auto* ImportanceGroup = new QButtonGroup(this);
    const std::array<QString, 3> importanceNames = {
        QStringLiteral("Normal"), QStringLiteral("Medium"), QStringLiteral("High")};
    for (int i = 0; i < 3; ++i) {
        QImportance[static_cast<std::size_t>(i)] = MakeOption(
            BottomFrame, Indexed("QImportance", i), importanceNames[static_cast<std::size_t>(i)],
            TwipsRect(5640 + i * 1200, 465, 1140, 300));
    }

    for (int i = 0; i < 2; ++i) {
        KETypeGroup->addButton(KEType[static_cast<std::size_t>(i)], i);
        UserTypeGroup->addButton(UserType[static_cast<std::size_t>(i)], i);
    }
    for (int i = 0; i < 3; ++i)
        ImportanceGroup->addButton(QImportance[static_cast<std::size_t>(i)], i);
    // Tab lands on the chosen option of each group.
    for (QButtonGroup* group : {KETypeGroup, UserTypeGroup, ImportanceGroup})
        new platform::OptionGroupFocus(group);

    // Edits count only when the user makes them: filling the controls writes nothing back.
    connect(KEQuestion, &QLineEdit::textEdited, this, &Main::KEQuestion_Change);
    connect(UserQuestion, &QLineEdit::textEdited, this, &Main::UserQuestion_Change);
    for (int i = 0; i < kRows; ++i) {
        connect(QOption[static_cast<std::size_t>(i)], &QLineEdit::textEdited, this,
                [this, i](const QString& text) { QOption_Change(i, text); });
    }
    connect(KETypeGroup, &QButtonGroup::idClicked, this, &Main::KEType_Click);
    connect(UserTypeGroup, &QButtonGroup::idClicked, this, &Main::UserType_Click);
    connect(ImportanceGroup, &QButtonGroup::idClicked, this, &Main::QImportance_Click);
    connect(Copy, &QPushButton::clicked, this, &Main::Copy_Click);
    connect(FirstBtn, &QPushButton::clicked, this, &Main::FirstBtn_Click);
    connect(PrevBtn, &QPushButton::clicked, this, &Main::PrevBtn_Click);
    connect(NextBtn, &QPushButton::clicked, this, &Main::NextBtn_Click);
    connect(LastBtn, &QPushButton::clicked, this, &Main::LastBtn_Click);
    connect(RelianceBtn, &QPushButton::clicked, this, &Main::RelianceBtn_Click);
    connect(SaveQuestionsBtn, &QPushButton::clicked, this, &Main::SaveQuestionsBtn_Click);
    connect(LoadQuestionsBtn, &QPushButton::clicked, this, &Main::LoadQuestionsBtn_Click);
    connect(AddHelpBtn, &QPushButton::clicked, this, &Main::AddHelpBtn_Click);
    connect(QuitBtn, &QPushButton::clicked, this, &Main::QuitBtn_Click);

    // Ctrl+A adds an option even while a text box has the focus, where the box would
    // otherwise take it as "select all".
    PutMenuShortcutsFirst(KEQuestion);
    PutMenuShortcutsFirst(UserQuestion);
    for (QLineEdit* box : QOption)
        PutMenuShortcutsFirst(box);
}

void Main::BuildMenus() {
    QMenu* QuestionsMenu = menuBar()->addMenu(QStringLiteral("&Questions"));
    QuestionsMenu->setObjectName(QStringLiteral("QuestionsMenu"));
    QAction* QuestionsMenuNew =
        MakeItem(QuestionsMenu, "QuestionsMenuNew", QStringLiteral("Start &New Set"));
    QAction* QuestionsMenuSave =
        MakeItem(QuestionsMenu, "QuestionsMenuSave", QStringLiteral("&Save Questions"));
    QAction* QuestionsMenuLoad =
        MakeItem(QuestionsMenu, "QuestionsMenuLoad", QStringLiteral("&Load Questions"));
    QAction* QuestionsMenuReliance =
        MakeItem(QuestionsMenu, "QuestionsMenuReliance", QStringLiteral("Create &Reliance"));
    QAction* QuestionsMenuHelp =
        MakeItem(QuestionsMenu, "QuestionsMenuHelp", QStringLiteral("Add &Help"));
    QuestionsMenu->addSeparator()->setObjectName(QStringLiteral("QuestionsMenuSeparator"));
    QAction* QuestionsMenuQuit =
        MakeItem(QuestionsMenu, "QuestionsMenuQuit", QStringLiteral("&Quit Corvane"));

    QMenu* OptionsMenu = menuBar()->addMenu(QStringLiteral("&Options"));
    OptionsMenu->setObjectName(QStringLiteral("OptionsMenu"));
    QAction* OptionsMenuAdd = MakeItem(OptionsMenu, "OptionsMenuAdd", QStringLiteral("&Add Option"),
                                       QKeySequence(Qt::CTRL | Qt::Key_A));
    QAction* OptionsMenuRemove =
        MakeItem(OptionsMenu, "OptionsMenuRemove", QStringLiteral("&Remove Option"),
                 QKeySequence(Qt::CTRL | Qt::Key_R));

    QMenu* EditMenu = menuBar()->addMenu(QStringLiteral("&Edit"));
    EditMenu->setObjectName(QStringLiteral("EditMenu"));
    QAction* InsertMenu = MakeItem(EditMenu, "InsertMenu", QStringLiteral("&Insert Question"));
    QAction* DeleteMenu = MakeItem(EditMenu, "DeleteMenu", QStringLiteral("&Delete Question"));

    QMenu* HelpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    HelpMenu->setObjectName(QStringLiteral("HelpMenu"));
    QAction* HelpMenuContents =
        MakeItem(HelpMenu, "HelpMenuContents", QStringLiteral("Help &Contents"));
    QAction* HelpMenuSearch =
        MakeItem(HelpMenu, "HelpMenuSearch", QStringLiteral("&Search For Help On..."));
    QAction* HelpMenuHomepage =
        MakeItem(HelpMenu, "HelpMenuHomepage", QStringLiteral("Corvane Home &Page"));
    QAction* HelpMenuAbout = MakeItem(HelpMenu, "HelpMenuAbout", QStringLiteral("&About Corvane"));

    connect(QuestionsMenuNew, &QAction::triggered, this, &Main::QuestionsMenuNew_Click);
    connect(QuestionsMenuSave, &QAction::triggered, this, &Main::SaveQuestionsBtn_Click);
    connect(QuestionsMenuLoad, &QAction::triggered, this, &Main::LoadQuestionsBtn_Click);
    connect(QuestionsMenuReliance, &QAction::triggered, this, &Main::RelianceBtn_Click);
    connect(QuestionsMenuHelp, &QAction::triggered, this, &Main::AddHelpBtn_Click);
    // The item reads as leaving the program, so it does what the Quit button does.
    connect(QuestionsMenuQuit, &QAction::triggered, this, &Main::QuitBtn_Click);
    connect(OptionsMenuAdd, &QAction::triggered, this, &Main::OptionsMenuAdd_Click);
    connect(OptionsMenuRemove, &QAction::triggered, this, &Main::OptionsMenuRemove_Click);
    connect(InsertMenu, &QAction::triggered, this, &Main::InsertMenu_Click);
    connect(DeleteMenu, &QAction::triggered, this, &Main::DeleteMenu_Click);
    connect(HelpMenuContents, &QAction::triggered, this, &Main::HelpMenuContents_Click);
    connect(HelpMenuSearch, &QAction::triggered, this, &Main::HelpMenuSearch_Click);
    connect(HelpMenuHomepage, &QAction::triggered, this, &Main::HelpMenuHomepage_Click);
    connect(HelpMenuAbout, &QAction::triggered, this, &Main::HelpMenuAbout_Click);
}

void Main::Form_Load() {
    m_Questions = {std::make_shared<kb::CQuestion>()};
    InitialiseQuestion(*m_Questions[0]);
    m_QFileName.clear();
    PrognameLabel->setText(platform::ProductName());
    VersionLabel->setText(platform::VersionText());
    m_CurrentQ = 0;
    ShowQuestion(CurrentQuestion());
}

void Main::InitialiseQuestion(kb::CQuestion& q) {
    while (q.GetNumOptions() < 2)
        q.AddOption(std::string());
}

void Main::ShowStoredText(QLineEdit* box, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    // A longer stored text (from a hand-made file) keeps its length as the box's limit, so
    // it can be shortened and edited but never grows by typing.
    const int limit = std::max<int>(kMaxTyped, static_cast<int>(shown.size()));
    if (box->property("typedLimit").toInt() != limit) {
        const QValidator* old = box->validator();
        box->setValidator(new platform::EntryValidator(box, false, limit));
        delete old;
        box->setProperty("typedLimit", limit);
    }
    box->setText(shown);
    // setText leaves the cursor at the end, which scrolls a long text to its tail.
    box->setCursorPosition(0);
}

void Main::ShowQuestion(const kb::CQuestion& q) {
    QNoLabel->setText(QString::number(m_CurrentQ + 1));
    ShowStoredText(KEQuestion, q.GetKEQ());
    ShowStoredText(UserQuestion, q.GetUserQ());
    const int count = q.GetNumOptions();
    for (int i = 0; i < kRows; ++i) {
        const auto row = static_cast<std::size_t>(i);
        ShowStoredText(QOption[row], q.GetOption(static_cast<std::int16_t>(i)));
        QOption[row]->setVisible(i < count);
        OptNo[row]->setVisible(i < count);
    }
    UserType[q.GetUserType() == 0 ? 0 : 1]->setChecked(true);
    KEType[q.GetKEType() == 0 ? 0 : 1]->setChecked(true);
    for (int i = 0; i < kRows; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        std::int16_t Q = 0;
        std::int16_t Opt = 0;
        q.m_Dependencies.GetDependency(static_cast<std::int16_t>(i), Q, Opt);
        const bool shown = Q >= 1;
        DependentQ[slot]->setText(shown ? QString::number(Q) : QString());
        DependentOpt[slot]->setText(shown ? QString::number(Opt) : QString());
        DependentQ[slot]->setVisible(shown);
        DependentOpt[slot]->setVisible(shown);
    }
    const auto importance = std::find(kImportances.begin(), kImportances.end(), q.GetImportance()) -
                            kImportances.begin();
    QImportance[importance < 3 ? static_cast<std::size_t>(importance) : 0]->setChecked(true);
}

// Editing: every user edit goes straight into the shown question.

void Main::KEQuestion_Change(const QString& text) {
    CurrentQuestion().SetKEQ(text.toStdString());
}

void Main::UserQuestion_Change(const QString& text) {
    CurrentQuestion().SetUserQ(text.toStdString());
}

void Main::QOption_Change(int Index, const QString& text) {
    CurrentQuestion().UpdateOption(static_cast<std::int16_t>(Index), text.toStdString());
}

void Main::KEType_Click(int Index) {
    CurrentQuestion().SetKEType(static_cast<std::int16_t>(Index));
}

void Main::UserType_Click(int Index) {
    CurrentQuestion().SetUserType(static_cast<std::int16_t>(Index));
}

void Main::QImportance_Click(int Index) {
    CurrentQuestion().SetImportance(kImportances[static_cast<std::size_t>(Index)]);
}

void Main::Copy_Click() {
    UserQuestion->setText(KEQuestion->text());
    CurrentQuestion().SetUserQ(KEQuestion->text().toStdString());
}

void Main::OptionsMenuAdd_Click() {
    kb::CQuestion& q = CurrentQuestion();
    if (q.GetNumOptions() < kb::CQuestion::kMaxOptions) {
        q.AddOption(std::string());
        ShowQuestion(q);
    }
}

void Main::OptionsMenuRemove_Click() {
    kb::CQuestion& q = CurrentQuestion();
    if (q.GetNumOptions() > 2) {
        q.RemoveOption();
        ShowQuestion(q);
    }
}

// Navigation.

void Main::FirstBtn_Click() {
    m_CurrentQ = 0;
    ShowQuestion(CurrentQuestion());
}

void Main::PrevBtn_Click() {
    if (m_CurrentQ > 0) {
        --m_CurrentQ;
        ShowQuestion(CurrentQuestion());
    }
}

void Main::NextBtn_Click() {
    if (!CurrentQuestion().IsComplete(m_CurrentQ)) {
        platform::MessageBox(QStringLiteral("Complete this Question first"), platform::Buttons::OK,
                             platform::Icon::Exclamation, platform::ProgramTitle());
        return;
    }
    const auto n = static_cast<std::int16_t>(m_CurrentQ + 1);
    if (ArrayManager::IsQuestionSlotEmpty(m_Questions, n)) {
        if (RefuseAnotherQuestion())
            return;
        ArrayManager::InsertNewQuestion(m_Questions, n);
        InitialiseQuestion(*m_Questions[static_cast<std::size_t>(n)]);
    }
    m_CurrentQ = n;
    ShowQuestion(CurrentQuestion());
}

bool Main::RefuseAnotherQuestion() {
    if (m_Questions.size() < static_cast<std::size_t>(kb::QuestionFileReader::kMaxQuestions))
        return false;
    platform::MessageBox(QStringLiteral("A question set holds at most %1 questions: delete a "
                                        "question before adding another")
                             .arg(kb::QuestionFileReader::kMaxQuestions),
                         platform::Buttons::OK, platform::Icon::Exclamation,
                         platform::ProgramTitle());
    return true;
}

void Main::LastBtn_Click() {
    m_CurrentQ = static_cast<std::int16_t>(m_Questions.size() - 1);
    ShowQuestion(CurrentQuestion());
}

// The help page and the reliance of the shown question.

void Main::AddHelpBtn_Click() {
    if (!m_URLDlg)
        m_URLDlg = std::make_unique<dialogs::URLDlg>(this);
    m_URLDlg->Initialise(QString::fromStdString(CurrentQuestion().GetQHelp()));
    m_URLDlg->exec();
    if (m_URLDlg->OKPressed())
        CurrentQuestion().SetHelp(m_URLDlg->GetURL().toStdString());
}

void Main::RelianceBtn_Click() {
    if (m_CurrentQ < 1) {
        platform::MessageBox(QStringLiteral("There are no Questions for the\n"
                                            "first Question to depend upon"),
                             platform::Buttons::OK, platform::Icon::Exclamation,
                             QStringLiteral("Cannot Set"));
        return;
    }
    if (!m_RelianceForm)
        m_RelianceForm = std::make_unique<RelianceForm>(this);
    m_RelianceForm->Initialise(m_Questions, m_CurrentQ);
    m_RelianceForm->exec();
    if (m_RelianceForm->AcceptPressed()) {
        m_RelianceForm->GetDependencies(CurrentQuestion().m_Dependencies);
        ShowQuestion(CurrentQuestion());
    }
}

// The Help menu.

void Main::HelpMenuContents_Click() {
    dialogs::ShowHelpContents(kHelpFile);
}

void Main::HelpMenuSearch_Click() {
    dialogs::ShowHelpSearch(kHelpFile);
}

void Main::HelpMenuHomepage_Click() {
    dialogs::OpenHomePage();
}

void Main::HelpMenuAbout_Click() {
    dialogs::ShowAbout(m_About, this);
}

// Leaving.

void Main::QuitBtn_Click() {
    close();
}

bool Main::Form_Unload() {
    if (!dialogs::ConfirmQuit())
        return false;
    if (m_Splash)
        m_Splash->close();
    m_About.reset();
    m_RelianceForm.reset();
    m_SavedMsg.reset();
    m_URLDlg.reset();
    dialogs::EndProgram();
    return true;
}

} // namespace editor
