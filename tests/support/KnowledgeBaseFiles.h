#pragma once

// Knowledge bases whose meaning a test can check: every question is known by its wording,
// and every record answers each question with levels that name both (the question's own
// number in slot 0, the record's in slot 1), so a response that lands on another question
// or record shows.

#include "kb/CKnowledgeBase.h"
#include "kb/CQuestion.h"
#include "kb/CRecord.h"
#include "kb/DataFileReader.h"
#include "kb/QuestionFileReader.h"
#include "kb/Utilities.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace testsupport {

// A name made of a letter and a number: "Q3" for a question, "R2" for a record. Built with
// append, since GCC 12 at -O3 warns falsely of an overlap on "Q" + std::to_string(n).
inline std::string Tagged(char letter, int number) {
    std::string name(1, letter);
    name.append(std::to_string(number));
    return name;
}

inline std::shared_ptr<kb::CQuestion> Question(const std::string& wording) {
    auto q = std::make_shared<kb::CQuestion>();
    q->SetKEQ(wording);
    q->SetUserQ(wording);
    q->AddOption("yes");
    q->AddOption("no");
    q->SetNumOptions(2);
    return q;
}

// The bytes of a question set of Question(wording) for each wording, as the editor writes
// it, for tests that make a set without the editor.
inline std::string QuestionSetBytes(const std::vector<std::string>& wordings) {
    std::string bytes;
    for (const auto& w : wordings) {
        for (const std::string& line : {w, std::string("Multiple"), w, std::string("Single"),
                                        std::string("yes"), std::string("no")}) {
            bytes += line + "\r\n";
        }
        for (int i = 0; i < 7; ++i) {
            bytes += "Null\r\n";
        }
        std::string pairs;
        for (int i = 0; i < 9; ++i) {
            pairs += "0\xB8";
        }
        bytes += " 1\r\n " + pairs + "AND\r\n " + pairs + "\r\nnohelp.htm\r\n 1\r\n";
    }
    return bytes;
}

inline kb::QuestionArray Questions(const std::vector<std::string>& wordings) {
    kb::QuestionArray questions;
    for (const auto& w : wordings) {
        questions.push_back(Question(w));
    }
    return questions;
}

// The levels a record gives a question: the question's tag, the record's, and a value the
// record may change.
struct Answer {
    int question = 0;
    int record = 0;
    int value = 0;
    bool operator==(const Answer&) const = default;
};

// Slots 0 to 2 of a response hold an answer.
inline void Put(kb::CRecord& record, std::size_t question, const Answer& answer) {
    kb::CResponses* responses = nullptr;
    record.GetResponses(static_cast<std::int16_t>(question), responses);
    responses->SetResponse(0, static_cast<std::int16_t>(answer.question));
    responses->SetResponse(1, static_cast<std::int16_t>(answer.record));
    responses->SetResponse(2, static_cast<std::int16_t>(answer.value));
}

// Records named R<tag>, answering question i (0-based) of wordings with that wording's
// tag (tags: a wording's number in the whole test, so inserted questions keep theirs).
inline kb::RecordArray Records(const std::vector<int>& recordTags, const std::vector<int>& tags) {
    const std::int16_t before = kb::g_NumQuestions;
    kb::g_NumQuestions = static_cast<std::int16_t>(tags.size());
    kb::RecordArray records;
    for (const int r : recordTags) {
        auto record = std::make_shared<kb::CRecord>();
        record->SetName(Tagged('R', r));
        for (std::size_t i = 0; i < tags.size(); ++i) {
            Put(*record, i, {tags[i], r, 0});
        }
        records.push_back(record);
    }
    kb::g_NumQuestions = before;
    return records;
}

// What the files on disk say: per record name, per question wording, the answer held.
using Meaning = std::map<std::string, std::map<std::string, Answer>>;

struct Read {
    std::vector<std::string> wordings;
    Meaning meaning;
    long skipped = 0;
    bool setWhole = false;
};

inline Read ReadKnowledgeBase(const std::string& questionSet) {
    Read read;
    const std::int16_t before = kb::g_NumQuestions;
    kb::QuestionArray questions;
    kb::QuestionFileReader reader;
    read.setWhole = reader.Read(questionSet, questions);
    for (const auto& q : questions) {
        read.wordings.push_back(q->GetKEQ());
    }
    kb::RecordArray records;
    kb::DataFileReader data;
    if (read.setWhole && kb::FileExists(kb::DataFileNameFor(questionSet))) {
        data.Read(kb::DataFileNameFor(questionSet), records);
        read.skipped = data.SkippedItems();
    }
    for (const auto& record : records) {
        auto& answers = read.meaning[record->GetName()];
        for (std::size_t i = 0; i < questions.size(); ++i) {
            const kb::CResponses* r = nullptr;
            record->GetResponses(static_cast<std::int16_t>(i), r);
            answers[read.wordings[i]] = {r->GetResponse(0), r->GetResponse(1), r->GetResponse(2)};
        }
    }
    kb::g_NumQuestions = before;
    return read;
}

// What a program loaded: each record's answers by the wording of the questions loaded.
inline Meaning MeaningOf(const kb::CKnowledgeBase::Contents& contents) {
    Meaning meaning;
    for (const auto& record : contents.records) {
        for (std::size_t i = 0; i < contents.questions.size(); ++i) {
            const kb::CResponses* r = nullptr;
            record->GetResponses(static_cast<std::int16_t>(i), r);
            meaning[record->GetName()][contents.questions[i]->GetKEQ()] = {
                r->GetResponse(0), r->GetResponse(1), r->GetResponse(2)};
        }
    }
    return meaning;
}

} // namespace testsupport
