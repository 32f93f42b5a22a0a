#pragma once

#include "kb/CKnowledgeBase.h"

#include <QString>

namespace dialogs {

// What Halvet, Drosk and Mirel say alike about opening and saving a knowledge base.

// After an open or a save: what was found of a save cut short and done about it; nothing
// when nothing was.
void ShowMended(const kb::CKnowledgeBase& base);

// A load that could not be made (another program saving, a save cut short that Mirel does
// not mend, a failure): which knowledge base, why, and that nothing was loaded.
void WarnNotLoaded(const kb::CKnowledgeBase& base, kb::CKnowledgeBase::Outcome outcome,
                   const QString& chosen);

// The lines of a failure after the message's first: the file (unless it is the one the
// first line named) and why.
QString FailureLines(const kb::CKnowledgeBase::Failure& failure, const QString& named);

} // namespace dialogs
