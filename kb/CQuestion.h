#pragma once

#include "kb/CDependency.h"
#include "kb/CResponses.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kb {

// One question of a question set, shared by all three programs: the end user's and the
// knowledge engineer's wording and answer type (0 single, 1 multiple choice), up to nine
// options, help page, importance, answered mark, its reliance and the end user's answer.
// Setters report a refused value by returning false and leave the question unchanged.
class CQuestion {
public:
    static constexpr std::int16_t kMaxOptions = 9;

    CDependency m_Dependencies;
    CResponses m_Responses;

    bool SetUserQ(const std::string& Q);
    const std::string& GetUserQ() const { return m_UserQ; }
    bool SetKEQ(const std::string& Q);
    const std::string& GetKEQ() const { return m_KEQ; }
    bool SetUserType(std::int16_t T);
    std::int16_t GetUserType() const { return m_UserType; }
    bool SetKEType(std::int16_t T);
    std::int16_t GetKEType() const { return m_KEType; }
    bool SetHelp(const std::string& QHlp);
    const std::string& GetQHelp() const { return m_QHelp; }
    bool SetNumOptions(std::int16_t n);
    std::int16_t GetNumOptions() const { return m_NumOptions; }
    bool SetImportance(double import);
    double GetImportance() const { return m_Importance; }

    bool AddOption(const std::string& Opt);
    bool RemoveOption();
    // "" for an index outside the options in use.
    std::string GetOption(std::int16_t idx) const;
    bool UpdateOption(std::int16_t idx, const std::string& Opt);

    bool GetAnswered() const { return m_Answered; }
    void SetAnswered(bool ans) { m_Answered = ans; }

    // Whether the question may be saved; QNo is its own 0-based position in the set.
    bool IsComplete(std::int16_t QNo) const;
    // No wordings and no option text in use.
    bool IsEmpty() const;

private:
    std::string m_UserQ;
    std::int16_t m_UserType = 0;
    std::string m_KEQ;
    std::int16_t m_KEType = 1;
    std::array<std::string, 10> m_Options; // slot 9 is never used
    std::string m_QHelp = "nohelp.htm";
    double m_Importance = 1.0;
    std::int16_t m_NumOptions = 0;
    bool m_Answered = false;
};

using QuestionArray = std::vector<std::shared_ptr<CQuestion>>;

} // namespace kb
