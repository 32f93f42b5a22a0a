#pragma once

#include "kb/CQuestion.h"
#include "kb/CRecord.h"

#include "tests/support/ScratchDir.h"

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <system_error>
#include <unistd.h>

// Inputs of the benchmarks, made at run time in a scratch folder under the system's
// temporary folder.
namespace bench {

// The largest sizes the formats allow.
inline constexpr int kMaxRecords = 32767;
inline constexpr int kRecordQuestions = 200;

using testsupport::ScratchDir;

// Question q of a set: single/single, multiple/single and multiple/multiple in turn,
// every weight, up to nine options, answered by the end user.
inline std::shared_ptr<kb::CQuestion> MakeQuestion(int q, std::mt19937& gen) {
    auto question = std::make_shared<kb::CQuestion>();
    question->SetKEQ("Knowledge engineer's wording of question " + std::to_string(q + 1));
    question->SetUserQ("End user's wording of question " + std::to_string(q + 1));
    question->SetUserType(q % 3 == 0 ? 0 : 1);
    question->SetKEType(q % 3 == 2 ? 1 : 0);
    const int nOpts = 2 + q % 8;
    for (int k = 0; k < nOpts; ++k) {
        question->AddOption("Option " + std::to_string(k + 1));
    }
    question->SetImportance(1.0 + 0.5 * (q % 3));
    if (q > 0) {
        question->m_Dependencies.AddDependency(static_cast<std::int16_t>(q), 1);
    }
    std::uniform_int_distribution<int> level(-2, 2);
    const int choice = std::uniform_int_distribution<int>(0, nOpts - 1)(gen);
    for (std::int16_t k = 0; k < kb::CResponses::kSlots; ++k) {
        const bool single = question->GetUserType() == 0;
        question->m_Responses.SetResponse(
            k, static_cast<std::int16_t>(single ? (k == choice ? 10 : -10) : 5 * level(gen)));
    }
    question->SetAnswered(true);
    return question;
}

inline kb::QuestionArray MakeQuestions(int n, unsigned seed = 1) {
    std::mt19937 gen(seed);
    kb::QuestionArray qs;
    for (int q = 0; q < n; ++q) {
        qs.push_back(MakeQuestion(q, gen));
    }
    return qs;
}

// Records answering the questions the way the acquisition program would. Sets
// g_NumQuestions to the questions' count.
inline kb::RecordArray MakeRecords(const kb::QuestionArray& qs, int n, unsigned seed = 2) {
    kb::g_NumQuestions = static_cast<std::int16_t>(qs.size());
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> level(-2, 2);
    kb::RecordArray recs;
    recs.reserve(static_cast<std::size_t>(n));
    for (int r = 0; r < n; ++r) {
        auto rec = std::make_shared<kb::CRecord>();
        rec->SetName("RECORD " + std::to_string(r + 1));
        rec->SetDescription("record" + std::to_string(r + 1) + ".htm");
        for (std::size_t q = 0; q < qs.size(); ++q) {
            kb::CResponses* resp = nullptr;
            rec->GetResponses(static_cast<std::int16_t>(q), resp);
            const int nOpts = qs[q]->GetNumOptions();
            const int choice = std::uniform_int_distribution<int>(0, nOpts - 1)(gen);
            for (std::int16_t k = 0; k < kb::CResponses::kSlots; ++k) {
                const bool single = qs[q]->GetKEType() == 0;
                resp->SetResponse(k, static_cast<std::int16_t>(single ? (k == choice ? 10 : -10)
                                                                      : 5 * level(gen)));
            }
        }
        recs.push_back(std::move(rec));
    }
    return recs;
}

} // namespace bench
