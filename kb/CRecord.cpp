#include "kb/CRecord.h"

#include <stdexcept>

namespace kb {

std::int16_t g_NumQuestions = 0;

CRecord::CRecord() {
    if (g_NumQuestions <= 0) {
        throw std::out_of_range("a record needs a question set of at least one question");
    }
    m_QResponses.resize(static_cast<std::size_t>(g_NumQuestions));
    m_QScores.resize(static_cast<std::size_t>(g_NumQuestions), 0.0);
}

void CRecord::UpdateScore(double QScore, std::int16_t QNo) {
    m_Score += QScore;
    if (QNo == kNoQuestion) {
        return;
    }
    if (QNo < 0 || static_cast<std::size_t>(QNo) >= m_QScores.size()) {
        throw std::out_of_range("question index outside the record");
    }
    m_QScores[static_cast<std::size_t>(QNo)] = QScore;
}

double CRecord::GetQScore(int QNo) const {
    if (QNo < 0 || static_cast<std::size_t>(QNo) >= m_QScores.size()) {
        throw std::out_of_range("question index outside the record");
    }
    return m_QScores[static_cast<std::size_t>(QNo)];
}

template <typename Self, typename Resp>
void CRecord::Lookup(Self& self, std::int16_t QNo, Resp*& QResp) {
    if (QNo < 0) {
        throw std::out_of_range("negative question index");
    }
    const auto idx = static_cast<std::size_t>(QNo);
    QResp = idx < self.m_QResponses.size() ? &self.m_QResponses[idx] : nullptr;
}

void CRecord::GetResponses(std::int16_t QNo, CResponses*& QResp) {
    Lookup(*this, QNo, QResp);
}

void CRecord::GetResponses(std::int16_t QNo, const CResponses*& QResp) const {
    Lookup(*this, QNo, QResp);
}

} // namespace kb
