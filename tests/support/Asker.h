#pragma once

#include "kb/CKnowledgeBase.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testsupport {

// The user's answers to what saves ask, from a script: answers[i] to the i-th question,
// yes to every one after. Questions are kept; one asked far more often than any test
// needs fails the test at once, naming it, since a question that keeps coming back is a
// fault, not a wait.
struct Asker {
    std::vector<bool> answers;
    bool yes = false;
    std::vector<kb::CKnowledgeBase::Question> asked;

    kb::CKnowledgeBase::Ask Ask() {
        return [this](const kb::CKnowledgeBase::Question& q) {
            asked.push_back(q);
            if (asked.size() > 10) {
                ADD_FAILURE() << "asked " << asked.size() << " times, last about " << q.questionSet
                              << (q.questionSetChanged ? " (set changed)" : "")
                              << (q.dataFileChanged ? " (data file changed)" : "");
                return false;
            }
            return asked.size() <= answers.size() ? bool(answers[asked.size() - 1]) : yes;
        };
    }
};

} // namespace testsupport
