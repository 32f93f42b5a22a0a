#pragma once

#include "kb/CQuestion.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace editor {

// Writes the editor's questions to a question set file: one block of 18 lines per
// question, Windows-1252 with CR LF line ends.
class QuestionFileWriter {
public:
    // Writes every question up to the last one that is not empty (an empty question
    // followed by content is written as it is, so nothing after it is lost). The file is
    // replaced whole or not at all; False when it could not be written or a text holds a
    // character that Windows-1252 cannot hold.
    bool Save(const kb::QuestionArray& QArr, const std::string& Filename) const;
    // The bytes Save writes; False when the set cannot be written (as for Save).
    bool Compose(const kb::QuestionArray& QArr, std::string& bytes) const;
    // The number of questions Save writes: all but the trailing empty ones. More than
    // kb::QuestionFileReader::kMaxQuestions are refused.
    static std::size_t QuestionsToWrite(const kb::QuestionArray& QArr);

private:
    static std::string TypeToText(std::int16_t T);
};

} // namespace editor
