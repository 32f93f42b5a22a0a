// The consultation flow: Next by the reliance rule, Show Analysis and New Query.

#include "consult/Explanation.h"
#include "consult/Main.h"
#include "consult/RecordDisplayer.h"
#include "kb/RelianceRule.h"
#include "platform/BusyPointer.h"

#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>

namespace consult {

bool Main::IsRelianceMet(const kb::CQuestion& q) const {
    return kb::IsRelianceMet(
        q.m_Dependencies, m_NumQuestions, [this](std::int16_t question, std::int16_t slot) {
            return m_Questions[static_cast<std::size_t>(question)]->m_Responses.GetResponse(slot);
        });
}

void Main::NextBtn_Click() {
    if (m_Questions.empty())
        return;
    ClearOptionButtons();
    const std::int16_t start = m_CurrentQ;
    for (int q = start + 1; q < m_NumQuestions; ++q) {
        kb::CQuestion& question = *m_Questions[static_cast<std::size_t>(q)];
        if (IsRelianceMet(question)) {
            m_CurrentQ = static_cast<std::int16_t>(q);
            break;
        }
        // Passed over: it counts as unanswered for every later reliance that names it.
        question.SetAnswered(false);
        for (std::int16_t slot = 0; slot < kb::CResponses::kSlots; ++slot)
            question.m_Responses.SetResponse(slot, 0);
    }
    if (m_CurrentQ == start) {
        AnalysisBtn_Click();
        return;
    }
    QNoLabel->setText(QString::number(m_CurrentQ + 1));
    ShowQuestion(CurrentQuestion());
}

void Main::AnalysisBtn_Click() {
    const platform::BusyPointer busy;
    if (m_Questions.empty())
        return;
    if (!m_Analyser)
        m_Analyser = std::make_unique<CAnalyser>();
    m_Analyser->Analyse(m_Questions, m_NumQuestions, m_Records, m_NumRecords);

    if (!m_RecordDisplayer) {
        m_RecordDisplayer = std::make_unique<RecordDisplayer>();
        m_RecordDisplayer->SetExplainer(
            [this](const kb::QuestionArray& questions, const std::shared_ptr<kb::CRecord>& record) {
                ShowExplanation(questions, record);
            });
    }
    const auto count = static_cast<std::int16_t>(m_Records.size());
    m_RecordDisplayer->Initialise(m_Records, m_Questions, count, QString(), true);
    m_RecordDisplayer->show();
    m_RecordDisplayer->raise();
    m_RecordDisplayer->activateWindow();
}

void Main::NewQueryBtn_Click() {
    if (m_Questions.empty())
        return;
    ClearOptionButtons();
    for (QScrollBar* slider : m_Sliders)
        slider->setValue(0);
    for (const auto& question : m_Questions) {
        for (std::int16_t slot = 0; slot < kb::CResponses::kSlots; ++slot)
            question->m_Responses.SetResponse(slot, 0);
        question->SetAnswered(false);
    }
    for (const auto& record : m_Records)
        record->ResetScore();
    FirstBtn_Click();
}

void Main::ShowExplanation(const kb::QuestionArray& questions,
                           const std::shared_ptr<kb::CRecord>& record) {
    if (!m_Explanation)
        m_Explanation = std::make_unique<Explanation>();
    m_Explanation->Initialise(m_RecordDisplayer.get(), questions, record);
    m_Explanation->show();
    m_Explanation->raise();
    m_Explanation->activateWindow();
}

} // namespace consult
