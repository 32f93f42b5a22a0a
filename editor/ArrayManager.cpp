#include "editor/ArrayManager.h"

#include <array>
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

void RenumberReliances(kb::QuestionArray& questions, bool inserted, std::int16_t QNo,
                       std::int16_t countBefore) {
    // Every question, not only those after the change: a hand-made set may hold a pair on
    // a later question, and it too must go on naming the same one.
    for (const auto& question : questions) {
        if (!question)
            continue;
        kb::CDependency& reliance = question->m_Dependencies;
        std::array<kb::DependencyEntry, kb::CDependency::kSlots> pairs{};
        for (int slot = 0; slot < kb::CDependency::kSlots; ++slot) {
            auto& pair = pairs[static_cast<std::size_t>(slot)];
            reliance.GetDependency(static_cast<std::int16_t>(slot), pair.Q, pair.Opt);
        }
        reliance.Reset();
        for (auto pair : pairs) {
            const bool moves = pair.Q >= QNo && pair.Q <= countBefore;
            if (moves && !inserted && pair.Q == QNo)
                continue;
            if (moves)
                pair.Q = static_cast<std::int16_t>(pair.Q + (inserted ? 1 : -1));
            reliance.AddDependency(pair.Q, pair.Opt); // passes over empty slots
        }
    }
}

} // namespace editor::ArrayManager
