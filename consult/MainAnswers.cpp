// The answer area of the consultation window: showing a question with the end user's
// stored answer, and taking an answer from the end user's own clicks and slider moves.

#include "consult/Main.h"
#include "dialogs/AnswerRows.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace consult {

void Main::BuildAnswerArea(QWidget* frame) {
    m_Rows = new dialogs::AnswerRows(frame);
    for (int i = 0; i < kRows; ++i) {
        const auto row = static_cast<std::size_t>(i);
        m_checks[row] = m_Rows->Check(i);
        m_Sliders[row] = m_Rows->Slider(i);
        m_Inds[row] = m_Rows->Ind(i);
        m_Options[row] = m_Rows->Option(i);
    }
    connect(m_Rows, &dialogs::AnswerRows::CheckClicked, this, &Main::m_checks_Click);
    connect(m_Rows, &dialogs::AnswerRows::SliderMoved, this, &Main::m_Sliders_Change);
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
    m_Rows->ClearChecks();
}

void Main::ShowLevel(int Index, int value) {
    m_Rows->ShowLevel(Index, value, m_LevelNames, m_LevelColours);
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
    m_Rows->ShowRows(numOptions, single);
    for (int i = 0; i < numOptions; ++i) {
        const auto row = static_cast<std::size_t>(i);
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
