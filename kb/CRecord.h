#pragma once

#include "kb/CResponses.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kb {

// The number of questions of the question set loaded. The question set reader sets it as
// it sizes its array, and CKnowledgeBase::Open leaves it at the set it loaded (or, when a
// load fails, as it was); a CRecord takes its size from it when created and keeps it.
extern std::int16_t g_NumQuestions;

// The question number that means "no question" (UpdateScore changes only the total).
inline constexpr std::int16_t kNoQuestion = -999;

// One record (a candidate solution): name, description page, one CResponses per
// question, and the scores the inference engine leaves on it.
class CRecord {
public:
    // Throws std::out_of_range when g_NumQuestions is 0 or negative.
    CRecord();

    void SetName(const std::string& name) { m_Name = name; }
    void SetDescription(const std::string& RecDesc) { m_Description = RecDesc; }
    const std::string& GetName() const { return m_Name; }
    const std::string& GetDescription() const { return m_Description; }

    // Adds QScore to the total, then stores it as question QNo's score unless QNo is
    // kNoQuestion. A QNo outside the record throws std::out_of_range after the addition.
    void UpdateScore(double QScore, std::int16_t QNo) {
        m_Score += QScore;
        if (QNo == kNoQuestion) {
            return;
        }
        if (QNo < 0 || static_cast<std::size_t>(QNo) >= m_QScores.size()) {
            ThrowOutOfRange("question index outside the record");
        }
        m_QScores[static_cast<std::size_t>(QNo)] = QScore;
    }
    // Stores question QNo's score without touching the total (the engine keeps the running
    // total itself while it scores). A QNo outside the record throws std::out_of_range.
    void SetQScore(std::int16_t QNo, double QScore) {
        if (QNo < 0 || static_cast<std::size_t>(QNo) >= m_QScores.size()) {
            ThrowOutOfRange("question index outside the record");
        }
        m_QScores[static_cast<std::size_t>(QNo)] = QScore;
    }
    double GetQScore(int QNo) const;
    void ResetScore() { m_Score = 0.0; }
    double GetScore() const { return m_Score; }

    // Hands out the record's own responses object of question QNo (0-based), or
    // nullptr when QNo is at or beyond the record's size. Negative QNo throws.
    // Inline: the inference engine calls these once per record and answered question.
    void GetResponses(std::int16_t QNo, CResponses*& QResp) { Lookup(*this, QNo, QResp); }
    void GetResponses(std::int16_t QNo, const CResponses*& QResp) const {
        Lookup(*this, QNo, QResp);
    }
    std::int16_t GetNumResponses() const { return static_cast<std::int16_t>(m_QResponses.size()); }

private:
    template <typename Self, typename Resp>
    static void Lookup(Self& self, std::int16_t QNo, Resp*& QResp) {
        if (QNo < 0) {
            ThrowOutOfRange("negative question index");
        }
        const auto idx = static_cast<std::size_t>(QNo);
        QResp = idx < self.m_QResponses.size() ? &self.m_QResponses[idx] : nullptr;
    }
    [[noreturn]] static void ThrowOutOfRange(const char* what);

    std::string m_Name;
    std::string m_Description = "nodesc.htm";
    std::vector<CResponses> m_QResponses;
    std::vector<double> m_QScores;
    double m_Score = 0.0;
};

using RecordArray = std::vector<std::shared_ptr<CRecord>>;

} // namespace kb
