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
// Keeps every reliance pair naming the same question after question QNo (1-based) was
// inserted or deleted; countBefore is the set's number of questions before the change.
// Pairs on a number outside 1 to countBefore (a negative one, 32767) stay as stored; only
// a pair on the deleted question goes. Type and slot order are kept.
void RenumberReliances(kb::QuestionArray& questions, bool inserted, std::int16_t QNo,
                       std::int16_t countBefore);

} // namespace editor::ArrayManager
