#pragma once

#include "kb/CKnowledgeBase.h"

#include <gtest/gtest.h>

#include <memory>
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

// Yes to what a save asks, at most times times: for a save a test lets go through. One
// question more fails the test at once, naming it, and is answered No, so a fault that
// makes a question come back can never keep a test (or a child process) asking for ever.
inline kb::CKnowledgeBase::Ask YesAtMost(int times) {
    auto left = std::make_shared<int>(times);
    return [left, times](const kb::CKnowledgeBase::Question& q) {
        if ((*left)-- > 0) {
            return true;
        }
        ADD_FAILURE() << "asked more than " << times << " times, last about " << q.questionSet
                      << (q.questionSetChanged ? " (set changed)" : "")
                      << (q.dataFileChanged ? " (data file changed)" : "");
        return false;
    };
}

} // namespace testsupport
