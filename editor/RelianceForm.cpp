#include "editor/RelianceForm.h"

#include "platform/DesignWidgets.h"
#include "platform/FormUtilities.h"
#include "platform/OptionGroupFocus.h"
#include "platform/Twips.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

namespace editor {

using platform::BgrToQColor;
using platform::Indexed;
using platform::MakeButton;
using platform::MakeFrame;
using platform::MakeLabel;
using platform::SetTextColour;
using platform::TwipsRect;

namespace {

// The question, "asks....", wording row that both the set-up frame and the browser open with.
void MakeQuestionRow(QWidget* frame, const char* prefix, QLabel*& number, const char* numberName,
                     QLabel*& wording, const char* wordingName) {
    MakeLabel(frame, QStringLiteral("%1Label").arg(QString::fromLatin1(prefix)),
              QStringLiteral("Question"), TwipsRect(120, 210, 855, 285));
    number =
        MakeLabel(frame, QString::fromLatin1(numberName), QString(), TwipsRect(975, 210, 465, 285));
    number->setFont(platform::DesignFont(9, true));
    SetTextColour(number, BgrToQColor(0xC0));
    MakeLabel(frame, QStringLiteral("%1Asks").arg(QString::fromLatin1(prefix)),
              QStringLiteral("asks...."), TwipsRect(1485, 210, 780, 285));
    wording = MakeLabel(frame, QString::fromLatin1(wordingName), QString(),
                        TwipsRect(2280, 210, 6120, 285));
    wording->setFont(platform::DesignFont(9, true));
}

} // namespace

RelianceForm::RelianceForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("RelianceForm"));
    setWindowTitle(QStringLiteral("Corvane - Create Question Reliance"));
    setFixedSize(TwipsRect(0, 0, 8760, 6915).size());

    QGroupBox* ReliantQFrame =
        MakeFrame(this, QStringLiteral("ReliantQFrame"), TwipsRect(120, 60, 8520, 1980));
    MakeQuestionRow(ReliantQFrame, "RelyQ", RelyQNoLabel, "RelyQNoLabel", RelyQUserQ, "RelyQUserQ");
    MakeLabel(ReliantQFrame, QStringLiteral("DependentQHeading"),
              QStringLiteral("Relies on Question..."), TwipsRect(120, 660, 2520, 270));
    MakeLabel(ReliantQFrame, QStringLiteral("DependentOptHeading"),
              QStringLiteral("and Option................"), TwipsRect(120, 960, 2520, 270));
    for (int i = 0; i < kRows; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        const int left = 2700 + i * 600;
        DependentQ[slot] = MakeLabel(ReliantQFrame, Indexed("DependentQ", i), QString(),
                                     TwipsRect(left, 660, 540, 270));
        DependentOpt[slot] = MakeLabel(ReliantQFrame, Indexed("DependentOpt", i), QString(),
                                       TwipsRect(left, 960, 540, 270));
        for (QLabel* label : {DependentQ[slot], DependentOpt[slot]}) {
            label->setAlignment(Qt::AlignCenter);
            SetTextColour(label, BgrToQColor(0xC0));
            label->hide();
        }
    }
    auto* DependTypeGroup = new QButtonGroup(this);
    DependType[0] =
        new QRadioButton(QStringLiteral("All to be selected for dependency"), ReliantQFrame);
    DependType[1] =
        new QRadioButton(QStringLiteral("Any to be selected for dependency"), ReliantQFrame);
    for (int i = 0; i < 2; ++i) {
        QRadioButton* option = DependType[static_cast<std::size_t>(i)];
        option->setObjectName(Indexed("DependType", i));
        option->setGeometry(TwipsRect(120 + i * 4200, 1440, 4080, 330));
        option->setFont(platform::DesignFont(8.25));
        DependTypeGroup->addButton(option, i);
    }
    new platform::OptionGroupFocus(DependTypeGroup);

    QGroupBox* BrowserFrame =
        MakeFrame(this, QStringLiteral("BrowserFrame"), TwipsRect(120, 2100, 8520, 3945));
    MakeQuestionRow(BrowserFrame, "", QNoLabel, "QNoLabel", UserQ, "UserQ");
    QPushButton* FirstBtn = MakeButton(BrowserFrame, "FirstBtn", QStringLiteral("<< First"),
                                       TwipsRect(120, 600, 855, 375));
    QPushButton* PrevBtn = MakeButton(BrowserFrame, "PrevBtn", QStringLiteral("< Prev"),
                                      TwipsRect(975, 600, 855, 375));
    QPushButton* NextBtn = MakeButton(BrowserFrame, "NextBtn", QStringLiteral("Next >"),
                                      TwipsRect(1830, 600, 855, 375));
    QPushButton* LastBtn = MakeButton(BrowserFrame, "LastBtn", QStringLiteral("Last >>"),
                                      TwipsRect(2685, 600, 855, 375));
    for (int i = 0; i < kRows; ++i) {
        const auto row = static_cast<std::size_t>(i);
        const int top = 1140 + i * 300;
        OptNo[row] = MakeLabel(BrowserFrame, Indexed("OptNo", i), QString::number(i + 1),
                               TwipsRect(120, top, 360, 270));
        OptNo[row]->setAlignment(Qt::AlignCenter);
        Check[row] = new QCheckBox(BrowserFrame);
        Check[row]->setObjectName(Indexed("Check", i));
        Check[row]->setGeometry(TwipsRect(540, top, 300, 270));
        QOption[row] = MakeLabel(BrowserFrame, Indexed("QOption", i), QString(),
                                 TwipsRect(900, top, 7500, 270));
        // Only the user's clicks are choices: ticks set while drawing raise no click.
        connect(Check[row], &QCheckBox::clicked, this, [this, i] { Check_Click(i); });
    }

    QGroupBox* ButtonFrame =
        MakeFrame(this, QStringLiteral("ButtonFrame"), TwipsRect(120, 6105, 8520, 720));
    QPushButton* Abort = MakeButton(ButtonFrame, "Abort", QStringLiteral("Cancel and Exit"),
                                    TwipsRect(240, 180, 2400, 375));
    QPushButton* Reset = MakeButton(ButtonFrame, "Reset", QStringLiteral("Reset Reliances"),
                                    TwipsRect(3060, 180, 2400, 375));
    QPushButton* Accept = MakeButton(ButtonFrame, "Accept", QStringLiteral("Accept Reliances"),
                                     TwipsRect(5880, 180, 2400, 375));
    // Enter presses no button, not even the one with the focus.
    for (QPushButton* button : {FirstBtn, PrevBtn, NextBtn, LastBtn, Abort, Reset, Accept})
        button->setAutoDefault(false);

    connect(DependTypeGroup, &QButtonGroup::idClicked, this, &RelianceForm::DependType_Click);
    connect(FirstBtn, &QPushButton::clicked, this, &RelianceForm::FirstBtn_Click);
    connect(PrevBtn, &QPushButton::clicked, this, &RelianceForm::PrevBtn_Click);
    connect(NextBtn, &QPushButton::clicked, this, &RelianceForm::NextBtn_Click);
    connect(LastBtn, &QPushButton::clicked, this, &RelianceForm::LastBtn_Click);
    connect(Abort, &QPushButton::clicked, this, &RelianceForm::Abort_Click);
    connect(Reset, &QPushButton::clicked, this, &RelianceForm::Reset_Click);
    connect(Accept, &QPushButton::clicked, this, &RelianceForm::Accept_Click);
}

void RelianceForm::Initialise(const kb::QuestionArray& QArr, std::int16_t SetupQNo) {
    m_Accepted = false;
    m_Questions = QArr;
    m_SetupQNo = SetupQNo;
    m_SetupQ = m_Questions[static_cast<std::size_t>(m_SetupQNo)];

    RelyQNoLabel->setText(QString::number(m_SetupQNo + 1));
    RelyQUserQ->setText(QStringLiteral(" ") + QString::fromStdString(m_SetupQ->GetUserQ()));

    m_WorkingDeps.Reset();
    const kb::CDependency& stored = m_SetupQ->m_Dependencies;
    for (std::int16_t d = 0; d < stored.GetNumDependencies(); ++d) {
        std::int16_t Q = 0;
        std::int16_t Opt = 0;
        stored.GetDependency(d, Q, Opt);
        m_WorkingDeps.AddDependency(Q, Opt);
    }
    DisplayDependencies();

    std::int16_t firstQ = 0;
    std::int16_t firstOpt = 0;
    m_WorkingDeps.GetDependency(0, firstQ, firstOpt);
    // A pair on a question the set does not hold (or not before this one) opens the
    // browser on the nearest earlier question instead.
    m_ShownQ = m_WorkingDeps.GetNumDependencies() > 0
                   ? std::clamp<std::int16_t>(static_cast<std::int16_t>(firstQ - 1), 0,
                                              static_cast<std::int16_t>(m_SetupQNo - 1))
                   : std::int16_t{0};
    DisplayQuestion(m_ShownQ);

    const std::int16_t type = stored.GetType();
    DependType[type == 0 ? 0 : 1]->setChecked(true);
    m_WorkingDeps.SetType(type);
}

void RelianceForm::GetDependencies(kb::CDependency& deps) const {
    deps.Reset();
    for (std::int16_t d = 0; d < m_WorkingDeps.GetNumDependencies(); ++d) {
        std::int16_t Q = 0;
        std::int16_t Opt = 0;
        m_WorkingDeps.GetDependency(d, Q, Opt);
        deps.AddDependency(Q, Opt);
    }
    deps.SetType(m_WorkingDeps.GetType());
}

void RelianceForm::DisplayQuestion(std::int16_t n) {
    const kb::CQuestion& q = *m_Questions[static_cast<std::size_t>(n)];
    QNoLabel->setText(QString::number(n + 1));
    UserQ->setText(QStringLiteral(" ") + QString::fromStdString(q.GetUserQ()));
    const int count = q.GetNumOptions();
    for (int i = 0; i < kRows; ++i) {
        const auto row = static_cast<std::size_t>(i);
        QOption[row]->setText(i < count ? QStringLiteral(" ") + QString::fromStdString(q.GetOption(
                                                                    static_cast<std::int16_t>(i)))
                                        : QString());
        QOption[row]->setVisible(i < count);
        OptNo[row]->setVisible(i < count);
        Check[row]->setVisible(i < count);
        Check[row]->setChecked(false);
    }
    for (std::int16_t d = 0; d < kb::CDependency::kSlots; ++d) {
        std::int16_t Q = 0;
        std::int16_t Opt = 0;
        m_WorkingDeps.GetDependency(d, Q, Opt);
        if (Q >= 1 && Q - 1 == n && Opt >= 1 && Opt <= kRows)
            Check[static_cast<std::size_t>(Opt - 1)]->setChecked(true);
    }
}

void RelianceForm::DisplayDependencies() {
    for (int i = 0; i < kRows; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        std::int16_t Q = 0;
        std::int16_t Opt = 0;
        m_WorkingDeps.GetDependency(static_cast<std::int16_t>(i), Q, Opt);
        const bool shown = Q >= 1;
        DependentQ[slot]->setText(shown ? QString::number(Q) : QString());
        DependentOpt[slot]->setText(shown ? QString::number(Opt) : QString());
        DependentQ[slot]->setVisible(shown);
        DependentOpt[slot]->setVisible(shown);
    }
}

void RelianceForm::Check_Click(int Index) {
    const auto Q = static_cast<std::int16_t>(m_ShownQ + 1);
    const auto Opt = static_cast<std::int16_t>(Index + 1);
    if (Check[static_cast<std::size_t>(Index)]->isChecked())
        m_WorkingDeps.AddDependency(Q, Opt);
    else
        m_WorkingDeps.RemoveDependency(Q, Opt);
    DisplayDependencies();
}

void RelianceForm::DependType_Click(int Index) {
    // The choice is kept through browsing and Reset Reliances until the dialog closes.
    m_WorkingDeps.SetType(Index != 0 ? 1 : 0);
}

void RelianceForm::FirstBtn_Click() {
    m_ShownQ = 0;
    DisplayQuestion(m_ShownQ);
}

void RelianceForm::PrevBtn_Click() {
    if (m_ShownQ > 0) {
        --m_ShownQ;
        DisplayQuestion(m_ShownQ);
    }
}

void RelianceForm::NextBtn_Click() {
    if (m_ShownQ < m_SetupQNo - 1) {
        ++m_ShownQ;
        DisplayQuestion(m_ShownQ);
    }
}

void RelianceForm::LastBtn_Click() {
    m_ShownQ = static_cast<std::int16_t>(m_SetupQNo - 1);
    DisplayQuestion(m_ShownQ);
}

void RelianceForm::Reset_Click() {
    m_WorkingDeps.Reset();
    DisplayDependencies();
    DisplayQuestion(m_ShownQ);
}

void RelianceForm::Accept_Click() {
    m_Accepted = true;
    hide();
}

void RelianceForm::Abort_Click() {
    m_Accepted = false;
    hide();
}

void RelianceForm::reject() {
    Abort_Click();
}

void RelianceForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_Loaded) {
        m_Loaded = true;
        Form_Load();
    }
}

void RelianceForm::Form_Load() {
    platform::CentreForm(this, -1000, 0);
}

} // namespace editor
