#pragma once

#include "editor/CDataFileModifier.h"
#include "editor/SavePlan.h"
#include "kb/CKnowledgeBase.h"

#include <string>

namespace editortest {

// Halvet's file work without its window: what its Load Questions and Save Questions do
// with the knowledge base and the data-file modifier.
struct EditorSession {
    kb::CKnowledgeBase base{kb::CKnowledgeBase::Program::Editor};
    editor::CDataFileModifier modifier;

    kb::CKnowledgeBase::Outcome Load(const std::string& path,
                                     kb::QuestionArray* questions = nullptr) {
        kb::CKnowledgeBase::Contents contents;
        const auto outcome = base.Open(path, contents);
        if (outcome == kb::CKnowledgeBase::Outcome::Done) {
            modifier = editor::CDataFileModifier();
            if (contents.dataFileExists) {
                modifier.Init(base.DataFilePath());
            }
            if (questions != nullptr) {
                *questions = std::move(contents.questions);
            }
        }
        return outcome;
    }
    void NewSet() {
        base.Close();
        modifier = editor::CDataFileModifier();
    }
    kb::CKnowledgeBase::Outcome Save(const kb::QuestionArray& set, const std::string& path,
                                     const kb::CKnowledgeBase::Ask& ask) {
        kb::CKnowledgeBase::Plan plan;
        if (!editor::MakeSavePlan(set, modifier, plan)) {
            return kb::CKnowledgeBase::Outcome::Failed;
        }
        const auto outcome = base.SaveAs(path, plan, ask);
        if (outcome == kb::CKnowledgeBase::Outcome::Done || base.LastFailure().pending) {
            modifier.Done();
        }
        return outcome;
    }
};

} // namespace editortest
