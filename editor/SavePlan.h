#pragma once

#include "editor/CDataFileModifier.h"
#include "kb/CKnowledgeBase.h"
#include "kb/CQuestion.h"

#include <string>

namespace editor {

// What Halvet's save puts in place: the question set as the writer composes it and, while
// insertions or deletions wait, the data file beside it renumbered as it is on disk when
// the save looks. False when the set cannot be written as a question set file.
bool MakeSavePlan(const kb::QuestionArray& QArr, CDataFileModifier& modifier,
                  kb::CKnowledgeBase::Plan& plan);

// Why the modifier could not renumber the data file, as a sentence.
std::string ModifierReason(const CDataFileModifier& modifier);

} // namespace editor
