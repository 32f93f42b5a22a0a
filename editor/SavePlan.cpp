#include "editor/SavePlan.h"

#include "editor/QuestionFileWriter.h"

#include <cerrno>
#include <system_error>

namespace editor {

std::string ModifierReason(const CDataFileModifier& modifier) {
    const auto reason = [&modifier] {
        const int error = modifier.GetLastError();
        return std::generic_category().message(error != 0 ? error : EIO) + ".";
    };
    switch (modifier.GetLastProblem()) {
    case CDataFileModifier::Problem::Unshiftable:
        return "Line " + std::to_string(modifier.GetFirstUnshiftableLine()) +
               " of it holds a question's responses together with other items, and such a line "
               "cannot be renumbered.";
    case CDataFileModifier::Problem::Unreadable:
        return "It could not be read: " + reason();
    case CDataFileModifier::Problem::Changing:
        return "It kept changing while it was being read.";
    default:
        return "It could not be written: " + reason();
    }
}

bool MakeSavePlan(const kb::QuestionArray& QArr, CDataFileModifier& modifier,
                  kb::CKnowledgeBase::Plan& plan) {
    std::string bytes;
    if (!QuestionFileWriter().Compose(QArr, bytes)) {
        return false;
    }
    plan.questionSet = std::move(bytes);
    if (modifier.IsModified()) {
        plan.data = kb::CKnowledgeBase::Plan::Data::Renumber;
        plan.renumber = [&modifier](const std::string& dataFile, std::string& why) {
            auto renumbered = modifier.Prepare(dataFile);
            if (renumbered == nullptr &&
                modifier.GetLastProblem() != CDataFileModifier::Problem::None) {
                why = ModifierReason(modifier);
            }
            return renumbered;
        };
    }
    return true;
}

} // namespace editor
