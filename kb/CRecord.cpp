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

double CRecord::GetQScore(int QNo) const {
    if (QNo < 0 || static_cast<std::size_t>(QNo) >= m_QScores.size()) {
        throw std::out_of_range("question index outside the record");
    }
    return m_QScores[static_cast<std::size_t>(QNo)];
}

void CRecord::ThrowOutOfRange(const char* what) {
    throw std::out_of_range(what);
}

} // namespace kb
