#pragma once

#include "kb/CQuestion.h"

#include <cstdint>

// Helpers on the question editor's question array.
namespace editor::ArrayManager {

// Both always return false (no caller uses the value). A position outside the array
// (for an insertion: beyond its end) changes nothing.
bool InsertNewQuestion(kb::QuestionArray& questions, std::int16_t position);
// Removing the only question leaves one slot without a question (nullptr).
bool RemoveQuestion(kb::QuestionArray& questions, std::int16_t position);
// True when the slot holds no question, or the index lies outside the array.
bool IsQuestionSlotEmpty(const kb::QuestionArray& questions, std::int16_t index);

} // namespace editor::ArrayManager
