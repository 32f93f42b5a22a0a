// The answer area of the acquisition window: the chosen record's responses to the question
// shown, written into the record as the knowledge engineer clicks and moves the sliders, and
// First, Next and Last over the record's questions.

#include "acquire/Main.h"
#include "kb/ArrayManager.h"
#include "kb/RelianceRule.h"

#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>

namespace acquire {

bool Main::IsRecordChosen() const {
    return !kb::ArrayManager::IsRecordSlotEmpty(m_Records, m_CurrentRecord);
}

kb::CResponses& Main::CurrentResponses() {
    kb::CResponses* responses = nullptr;
    m_Records[static_cast<std::size_t>(m_CurrentRecord)]->GetResponses(m_CurrentQ, responses);
    return *responses;
}

void Main::ShowLevel(int Index, int value) {
    m_Rows->ShowLevel(Index, value, m_LevelNames, m_LevelColours);
}

void Main::ShowQuestion(const kb::CQuestion& Q) {
    if (!IsRecordChosen())
        return;
    QNoLabel->setText(QString::number(m_CurrentQ + 1));
    theQuestion->setText(QString::fromStdString(Q.GetKEQ()));
    const int numOptions = Q.GetNumOptions();
    for (int i = 0; i < numOptions; ++i)
        m_Rows->Option(i)->setText(
            QString::fromStdString(Q.GetOption(static_cast<std::int16_t>(i))));

    const bool single = Q.GetKEType() == 0;
    m_Rows->ShowRows(numOptions, single);
    m_Rows->ClearChecks();
    kb::CResponses& responses = CurrentResponses();
    for (int i = 0; i < numOptions; ++i) {
        const int value = responses.GetResponse(static_cast<std::int16_t>(i));
        if (single) {
            // Showing the first option that holds 10 chooses it, as a click would, so a
            // response with several options at 10 keeps only the first.
            if (value == 10) {
                m_Rows->Check(i)->setChecked(true);
                m_checks_Click(i);
            }
        } else {
            // A stored level beyond the slider's range sits at the nearer end, keeps its
            // own word and stays as stored until the slider is moved.
            ShowLevel(i, value);
            m_Rows->Slider(i)->setValue(value);
        }
    }
}

void Main::ShowQuestionAt(std::int16_t index) {
    m_CurrentQ = index;
    QNoLabel->setText(QString::number(index + 1));
    ShowQuestion(*m_Questions[static_cast<std::size_t>(index)]);
}

void Main::ResetDisplay() {
    for (int i = 0; i < kRows; ++i) {
        m_Rows->Slider(i)->setValue(0);
        ShowLevel(i, 0);
        m_Rows->Option(i)->setText(QString());
    }
    m_Rows->ClearChecks();
    m_Rows->ShowRows(2, false);
}

void Main::EnableResponses(bool flag) {
    for (int i = 0; i < kRows; ++i) {
        m_Rows->Check(i)->setEnabled(flag);
        m_Rows->Slider(i)->setEnabled(flag);
    }
}

void Main::m_checks_Click(int Index) {
    if (!IsRecordChosen())
        return;
    kb::CResponses& responses = CurrentResponses();
    for (std::int16_t slot = 0; slot < kb::CResponses::kSlots; ++slot)
        responses.SetResponse(slot, slot == Index ? 10 : -10);
}

void Main::m_Sliders_Change(int Index) {
    if (!IsRecordChosen())
        return;
    const int value = m_Rows->Slider(Index)->sliderPosition();
    ShowLevel(Index, value);
    CurrentResponses().SetResponse(static_cast<std::int16_t>(Index),
                                   static_cast<std::int16_t>(value));
}

void Main::FirstBtn_Click() {
    if (!IsRecordChosen())
        return;
    ShowQuestionAt(0);
}

void Main::LastBtn_Click() {
    if (!IsRecordChosen())
        return;
    ShowQuestionAt(static_cast<std::int16_t>(m_NumQuestions - 1));
}

bool Main::IsRelianceMet(const kb::CQuestion& q) const {
    const kb::CRecord& record = *m_Records[static_cast<std::size_t>(m_CurrentRecord)];
    return kb::IsRelianceMet(q.m_Dependencies, m_NumQuestions,
                             [&record](std::int16_t question, std::int16_t slot) {
                                 const kb::CResponses* responses = nullptr;
                                 record.GetResponses(question, responses);
                                 return responses ? responses->GetResponse(slot) : std::int16_t{0};
                             });
}

void Main::NextBtn_Click() {
    if (!IsRecordChosen() || m_CurrentQ >= m_NumQuestions - 1)
        return;
    m_Rows->ClearChecks();
    kb::CRecord& record = *m_Records[static_cast<std::size_t>(m_CurrentRecord)];
    std::int16_t next = m_CurrentQ;
    for (int q = m_CurrentQ + 1; q < m_NumQuestions; ++q) {
        if (IsRelianceMet(*m_Questions[static_cast<std::size_t>(q)])) {
            next = static_cast<std::int16_t>(q);
            break;
        }
        // Passed over: neutral, so later reliances that name it are not met by old answers.
        kb::CResponses* passed = nullptr;
        record.GetResponses(static_cast<std::int16_t>(q), passed);
        for (std::int16_t slot = 0; passed && slot < kb::CResponses::kSlots; ++slot)
            passed->SetResponse(slot, 0);
    }
    ShowQuestionAt(next);
}

} // namespace acquire
