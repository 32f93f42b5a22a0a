#pragma once

#include "kb/CKnowledgeBase.h"
#include "tests/support/Asker.h"
#include "tests/support/KnowledgeBaseFiles.h"

#include <csignal>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace testsupport {

// Leaves the knowledge base at set as a crash leaves it: a save of a question set with
// records answering it, made in a child process that dies once the question set is in
// place and the data file not yet. Its journal stays. False when the save never got there.
inline bool LeaveHalfSaved(const std::string& set, const std::vector<std::string>& wordings,
                           const std::vector<int>& records, const std::vector<int>& tags) {
    const pid_t child = ::fork();
    if (child == 0) {
        kb::CKnowledgeBase::SetStepHook([](kb::CKnowledgeBase::Step step) {
            if (step == kb::CKnowledgeBase::Step::Placed) {
                ::raise(SIGKILL);
            }
        });
        kb::CKnowledgeBase halvet(kb::CKnowledgeBase::Program::Editor);
        kb::CKnowledgeBase::Contents contents;
        halvet.Open(set, contents);
        const kb::RecordArray answers = Records(records, tags);
        kb::CKnowledgeBase::Plan plan;
        plan.questionSet = QuestionSetBytes(wordings);
        plan.data = kb::CKnowledgeBase::Plan::Data::Write;
        plan.records = &answers;
        halvet.Save(plan, testsupport::YesAtMost(3));
        ::_exit(2);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

} // namespace testsupport
