#pragma once

#include "kb/CKnowledgeBase.h"

#include <string>

namespace testsupport {

// Drosk's file work without its window: what its load and Save Records do with the
// knowledge base.
struct AcquisitionSession {
    kb::CKnowledgeBase base{kb::CKnowledgeBase::Program::Acquisition};
    kb::CKnowledgeBase::Contents contents;

    kb::CKnowledgeBase::Outcome Load(const std::string& path) {
        contents = {};
        return base.Open(path, contents);
    }
    // Writes records, or deletes the data file for none.
    kb::CKnowledgeBase::Outcome Save(const kb::RecordArray& records,
                                     const kb::CKnowledgeBase::Ask& ask) {
        kb::CKnowledgeBase::Plan plan;
        plan.data = records.empty() ? kb::CKnowledgeBase::Plan::Data::Remove
                                    : kb::CKnowledgeBase::Plan::Data::Write;
        plan.records = &records;
        return base.Save(plan, ask);
    }
};

} // namespace testsupport
