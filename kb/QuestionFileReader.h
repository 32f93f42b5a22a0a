#pragma once

#include "kb/CQuestion.h"

#include <cstdint>
#include <string>

namespace kb {

// Reads a question set file (blocks of 18 items per question) into an array of
// questions, and sets g_NumQuestions to the number of questions it sized the array for.
class QuestionFileReader {
public:
    // True when the whole file was read. A file that cannot be read, holds more than
    // kMaxItems items or no whole question (fewer than 10 items) leaves QArray,
    // g_NumQuestions and QuestionCount as they were. Any later failure (a block cut short,
    // an item left over, a count or reliance number that is not a 16-bit whole number, too
    // few separators) leaves the n questions the array was sized for, those read so far
    // filled, and the count of complete blocks.
    bool Read(const std::string& QFile, QuestionArray& QArray);
    // The number of complete blocks the last Read filled.
    std::int16_t QuestionCount() const { return m_QuestionsRead; }
    // Whether the last Read failed only because empty items followed the last block: every
    // question was read and nothing in the file was left unread.
    bool OnlyBlankLeftOver() const { return m_OnlyBlankLeftOver; }

    // The question set limit: a file of more items than this is refused.
    static constexpr long kMaxItems = 32767;

private:
    std::int16_t m_QuestionsRead = 0;
    bool m_OnlyBlankLeftOver = false;
};

} // namespace kb
