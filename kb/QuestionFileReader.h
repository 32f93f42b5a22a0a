#pragma once

#include "kb/CQuestion.h"

#include <cstdint>
#include <string>

namespace kb {

// Reads a question set file (blocks of 18 items per question) into an array of
// questions, and sets g_NumQuestions to the number of questions it sized the array for.
class QuestionFileReader {
public:
    // True when the whole file was read. On failure the questions read so far stay in
    // QArray (see the comments in the source for what each failure leaves).
    bool Read(const std::string& QFile, QuestionArray& QArray);
    // The number of complete blocks the last Read filled.
    std::int16_t QuestionCount() const { return m_QuestionsRead; }

    // The question set limit: a file of more items than this is refused.
    static constexpr long kMaxItems = 32767;

private:
    std::int16_t m_QuestionsRead = 0;
};

} // namespace kb
