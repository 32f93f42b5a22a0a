#include "editor/ArrayManager.h"

#include <memory>

namespace editor::ArrayManager {

bool InsertNewQuestion(kb::QuestionArray& questions, std::int16_t position) {
    if (position < 0 || static_cast<std::size_t>(position) > questions.size()) {
        return false;
    }
    questions.insert(questions.begin() + position, std::make_shared<kb::CQuestion>());
    return false;
}

bool RemoveQuestion(kb::QuestionArray& questions, std::int16_t position) {
    if (position < 0 || static_cast<std::size_t>(position) >= questions.size()) {
        return false;
    }
    if (questions.size() == 1) {
        questions[0].reset();
        return false;
    }
    questions.erase(questions.begin() + position);
    return false;
}

bool IsQuestionSlotEmpty(const kb::QuestionArray& questions, std::int16_t index) {
    return index < 0 || static_cast<std::size_t>(index) >= questions.size() ||
           !questions[static_cast<std::size_t>(index)];
}

} // namespace editor::ArrayManager
