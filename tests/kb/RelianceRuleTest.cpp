#include "kb/RelianceRule.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

struct RelianceCase {
    std::string name;
    std::int16_t type; // 0: every pair, 1: any pair
    std::vector<std::pair<std::int16_t, std::int16_t>> pairs;
    // Levels by (question index, slot); every other option is at 0.
    std::map<std::pair<int, int>, std::int16_t> levels;
    bool met;
};

constexpr int kQuestions = 4;

// The rule both the acquisition and the consultation program ask before showing a question.
const std::vector<RelianceCase> kCases = {
    {"NoPairsIsMetEitherType", 0, {}, {}, true},
    {"NoPairsOfTypeAnyIsMet", 1, {}, {}, true},
    {"EveryPairMet", 0, {{1, 1}, {2, 3}}, {{{0, 0}, 2}, {{1, 2}, 1}}, true},
    {"EveryButOnePairMet", 0, {{1, 1}, {2, 3}}, {{{0, 0}, 2}}, false},
    {"AnyWithOnePairMet", 1, {{1, 1}, {2, 3}}, {{{1, 2}, 1}}, true},
    {"AnyWithNoPairMet", 1, {{1, 1}, {2, 3}}, {}, false},
    {"ZeroLevelIsNotMet", 0, {{1, 1}}, {{{0, 0}, 0}}, false},
    {"NegativeLevelIsNotMet", 1, {{1, 1}}, {{{0, 0}, -5}}, false},
    {"LevelOfAnotherOptionDoesNotCount", 0, {{1, 2}}, {{{0, 0}, 10}}, false},
    // A hand-made set may name what is not there: such a pair is never met.
    {"QuestionBeyondTheSetIsNotMet", 0, {{5, 1}}, {{{4, 0}, 10}}, false},
    {"LastQuestionOfTheSetCounts", 0, {{4, 9}}, {{{3, 8}, 1}}, true},
    {"OptionBeyondNineIsNotMet", 1, {{1, 10}}, {{{0, 9}, 10}}, false},
    {"NegativeQuestionIsNotMet", 1, {{-1, 1}}, {{{-2, 0}, 10}}, false},
    {"OptionZeroIsNotMet", 1, {{1, 0}}, {{{0, -1}, 10}}, false},
    {"AnyMetBesideAPairOutsideTheSet", 1, {{9, 1}, {2, 1}}, {{{1, 0}, 3}}, true},
    {"EveryFailsOnAPairOutsideTheSet", 0, {{2, 1}, {9, 1}}, {{{1, 0}, 3}}, false},
};

class RelianceRuleTest : public testing::TestWithParam<RelianceCase> {};

TEST_P(RelianceRuleTest, MetAsTheRuleSays) {
    const RelianceCase& c = GetParam();
    kb::CDependency reliance;
    reliance.SetType(c.type);
    for (const auto& [Q, Opt] : c.pairs)
        ASSERT_TRUE(reliance.AddDependency(Q, Opt));

    const kb::LevelOf level = [&c](std::int16_t question, std::int16_t slot) -> std::int16_t {
        // Never asked about what lies outside the set.
        EXPECT_TRUE(question >= 0 && question < kQuestions && slot >= 0 && slot < 9)
            << question << "," << slot;
        const auto found = c.levels.find({question, slot});
        return found == c.levels.end() ? 0 : found->second;
    };
    EXPECT_EQ(kb::IsRelianceMet(reliance, kQuestions, level), c.met);
}

INSTANTIATE_TEST_SUITE_P(Cases, RelianceRuleTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<RelianceCase>& info) {
                             return info.param.name;
                         });

} // namespace
