// The answer area of the consultation window: showing a question with the end user's
// stored answer, and taking an answer from the end user's own clicks and slider moves.

#include "consult/DesignLook.h"
#include "consult/Main.h"
#include "platform/Twips.h"

#include <QAction>
#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>

namespace consult {

using platform::TwipsRect;

namespace {

// The level (0 to 4) of a response value; a value between the levels counts as level 0.
int LevelOf(int value) {
    switch (value) {
    case -10:
        return 0;
    case -5:
        return 1;
    case 0:
        return 2;
    case 5:
        return 3;
    case 10:
        return 4;
    default:
        return 0;
    }
}

QString Indexed(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QString::fromLatin1(name)).arg(index);
}

} // namespace

void Main::BuildAnswerArea(QWidget* frame) {
    // The classic look keeps a small thumb on these short bars, so the level reads at a
    // glance; the desktop style's thumb fills half the bar.
    QStyle* sliderStyle = QStyleFactory::create(QStringLiteral("Windows"));
    if (sliderStyle)
        sliderStyle->setParent(this);
    m_checksGroup = new QButtonGroup(this);
    m_checksGroup->setObjectName(QStringLiteral("m_checksGroup"));
    for (int i = 0; i < kRows; ++i) {
        const int top = 600 + 360 * i;
        auto* check = new QRadioButton(frame);
        check->setObjectName(Indexed("m_checks", i));
        check->setGeometry(TwipsRect(120, top, 1095, 255));
        check->hide();
        check->setEnabled(false);
        m_checksGroup->addButton(check, i);
        m_checks[static_cast<std::size_t>(i)] = check;

        auto* slider = new QScrollBar(Qt::Horizontal, frame);
        slider->setObjectName(Indexed("m_Sliders", i));
        slider->setGeometry(TwipsRect(120, top, 1095, 255));
        slider->setRange(-10, 10);
        slider->setSingleStep(5);
        slider->setPageStep(5);
        slider->setValue(0);
        if (sliderStyle)
            slider->setStyle(sliderStyle);
        slider->setEnabled(false);
        slider->setVisible(i < 2);
        m_Sliders[static_cast<std::size_t>(i)] = slider;

        auto* ind = new QLabel(QStringLiteral("Neutral"), frame);
        ind->setObjectName(Indexed("m_Inds", i));
        ind->setGeometry(TwipsRect(1320, top, 735, 255));
        ind->setAlignment(Qt::AlignCenter);
        ind->setFont(DesignFont(kComicSans, 8.25));
        SetTextColour(ind, BgrColour(0x8000));
        ind->setVisible(i < 2);
        m_Inds[static_cast<std::size_t>(i)] = ind;

        auto* option = new QLabel(frame);
        option->setObjectName(Indexed("m_Options", i));
        option->setGeometry(TwipsRect(2160, top, 7095, 255));
        option->setFont(DesignFont(kSansSerif, 8.25));
        option->setIndent(3);
        SetBackground(option, QColor(255, 255, 225));
        SetTextColour(option, BgrColour(0x800000));
        option->setVisible(i < 2);
        m_Options[static_cast<std::size_t>(i)] = option;

        connect(check, &QRadioButton::clicked, this, [this, i] { m_checks_Click(i); });
        // Only the end user's moves answer: arrows, track and keys arrive as actions; a drag
        // counts once, when it ends. Values the program sets raise neither signal.
        connect(slider, &QScrollBar::actionTriggered, this, [this, i, slider](int action) {
            if (action == QAbstractSlider::SliderNoAction ||
                (action == QAbstractSlider::SliderMove && slider->isSliderDown()))
                return;
            if (slider->sliderPosition() != slider->value())
                m_Sliders_Change(i);
        });
        connect(slider, &QScrollBar::sliderPressed, this, [this, i, slider] {
            m_SliderAtPress[static_cast<std::size_t>(i)] = slider->value();
        });
        connect(slider, &QScrollBar::sliderReleased, this, [this, i, slider] {
            if (slider->sliderPosition() != m_SliderAtPress[static_cast<std::size_t>(i)])
                m_Sliders_Change(i);
        });
    }
}

void Main::EnableControls(bool enabled) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{FirstBtn, LastBtn, ReferHelpBtn, AnalysisBtn, NewQueryBtn})
        control->setEnabled(enabled);
    for (int i = 0; i < kRows; ++i) {
        m_checks[static_cast<std::size_t>(i)]->setEnabled(enabled);
        m_Sliders[static_cast<std::size_t>(i)]->setEnabled(enabled);
    }
    for (QAction* item : {FirstQuestionMenu, NextQuestionMenu, LastQuestionMenu, HelpQuestionMenu,
                          ShowAnalysisActionsMenu, NewQueryActionsMenu})
        item->setEnabled(enabled);
}

void Main::SetNextEnabled(bool enabled) {
    NextBtn->setEnabled(enabled);
    NextQuestionMenu->setEnabled(enabled);
}

void Main::ClearOptionButtons() {
    // An exclusive group keeps one button on; it lets go only while not exclusive.
    m_checksGroup->setExclusive(false);
    for (QRadioButton* check : m_checks)
        check->setChecked(false);
    m_checksGroup->setExclusive(true);
}

void Main::ShowLevel(int Index, int value) {
    const int level = LevelOf(value);
    QLabel* ind = m_Inds[static_cast<std::size_t>(Index)];
    ind->setText(m_LevelNames[static_cast<std::size_t>(level)]);
    SetTextColour(ind, m_LevelColours[static_cast<std::size_t>(level)]);
}

void Main::ShowQuestion(const kb::CQuestion& Q) {
    QNoLabel->setText(QString::number(m_CurrentQ + 1));
    theQuestion->setText(QString::fromStdString(Q.GetUserQ()));
    const int numOptions = Q.GetNumOptions();
    for (int i = 0; i < numOptions; ++i)
        m_Options[static_cast<std::size_t>(i)]->setText(
            QString::fromStdString(Q.GetOption(static_cast<std::int16_t>(i))));
    SetNextEnabled(Q.GetAnswered());

    const bool single = Q.GetUserType() == 0;
    ClearOptionButtons();
    for (int i = 0; i < kRows; ++i) {
        const auto row = static_cast<std::size_t>(i);
        const bool shown = i < numOptions;
        m_Options[row]->setVisible(shown);
        m_checks[row]->setVisible(shown && single);
        m_Sliders[row]->setVisible(shown && !single);
        m_Inds[row]->setVisible(shown && !single);
        if (!shown)
            continue;
        const int value = Q.m_Responses.GetResponse(static_cast<std::int16_t>(i));
        if (single) {
            m_checks[row]->setChecked(value == 10);
        } else {
            ShowLevel(i, value);
            m_Sliders[row]->setValue(value);
        }
    }
}

void Main::m_checks_Click(int Index) {
    if (m_Questions.empty())
        return;
    kb::CQuestion& question = CurrentQuestion();
    for (std::int16_t i = 0; i < kb::CResponses::kSlots; ++i)
        question.m_Responses.SetResponse(i, i == Index ? 10 : -10);
    question.SetAnswered(true);
    SetNextEnabled(true);
}

void Main::m_Sliders_Change(int Index) {
    if (m_Questions.empty())
        return;
    const int value = m_Sliders[static_cast<std::size_t>(Index)]->sliderPosition();
    ShowLevel(Index, value);
    kb::CQuestion& question = CurrentQuestion();
    question.m_Responses.SetResponse(static_cast<std::int16_t>(Index),
                                     static_cast<std::int16_t>(value));
    question.SetAnswered(true);
    SetNextEnabled(true);
}

void Main::FirstBtn_Click() {
    if (m_Questions.empty())
        return;
    m_CurrentQ = 0;
    QNoLabel->setText(QStringLiteral("1"));
    ShowQuestion(CurrentQuestion());
}

void Main::LastBtn_Click() {
    if (m_Questions.empty())
        return;
    int index = m_NumQuestions - 1;
    while (index > 0 && !m_Questions[static_cast<std::size_t>(index)]->GetAnswered())
        --index;
    m_CurrentQ = static_cast<std::int16_t>(index);
    QNoLabel->setText(QString::number(index + 1));
    ShowQuestion(CurrentQuestion());
}

} // namespace consult
