#include "editor/ArrayManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

using namespace editor::ArrayManager;
using kb::CQuestion;

kb::QuestionArray Make(int n) {
    kb::QuestionArray qs;
    for (int i = 0; i < n; ++i) {
        qs.push_back(std::make_shared<CQuestion>());
        // append, not "q" + ...: GCC 12 at -O3 warns falsely (-Wrestrict) on the latter.
        qs.back()->SetKEQ(std::string("q").append(std::to_string(i)));
    }
    return qs;
}

TEST(EditorArrayManager, Insert) {
    kb::QuestionArray qs = Make(2);
    const kb::QuestionArray before = qs;
    EXPECT_FALSE(InsertNewQuestion(qs, 0));
    ASSERT_EQ(qs.size(), 3u);
    EXPECT_EQ(qs[0]->GetKEQ(), "");
    EXPECT_EQ(qs[0]->GetKEType(), 1);
    EXPECT_EQ(qs[0]->GetNumOptions(), 0);
    EXPECT_EQ(qs[1], before[0]);
    EXPECT_EQ(qs[2], before[1]);

    InsertNewQuestion(qs, 3);
    ASSERT_EQ(qs.size(), 4u);
    EXPECT_EQ(qs[2], before[1]);
    EXPECT_FALSE(IsQuestionSlotEmpty(qs, 3));

    InsertNewQuestion(qs, 5);
    InsertNewQuestion(qs, -1);
    EXPECT_EQ(qs.size(), 4u) << "a position outside changes nothing";
}

TEST(EditorArrayManager, RemoveAndEmptySlots) {
    kb::QuestionArray qs = Make(3);
    const kb::QuestionArray before = qs;
    EXPECT_FALSE(RemoveQuestion(qs, 2));
    ASSERT_EQ(qs.size(), 2u);
    EXPECT_TRUE(IsQuestionSlotEmpty(qs, 2));
    EXPECT_FALSE(IsQuestionSlotEmpty(qs, 1));
    RemoveQuestion(qs, 0);
    ASSERT_EQ(qs.size(), 1u);
    EXPECT_EQ(qs[0], before[1]);
    RemoveQuestion(qs, 1);
    RemoveQuestion(qs, -1);
    EXPECT_EQ(qs.size(), 1u);

    RemoveQuestion(qs, 0);
    ASSERT_EQ(qs.size(), 1u) << "the only slot stays, without a question";
    EXPECT_TRUE(IsQuestionSlotEmpty(qs, 0));

    kb::QuestionArray none;
    EXPECT_TRUE(IsQuestionSlotEmpty(none, 0));
    EXPECT_TRUE(IsQuestionSlotEmpty(Make(1), -1));
    RemoveQuestion(none, 0);
    EXPECT_TRUE(none.empty());
    // A question whose wording is "" still occupies its slot.
    EXPECT_FALSE(IsQuestionSlotEmpty({std::make_shared<CQuestion>()}, 0));
}

std::vector<std::pair<int, int>> Pairs(const CQuestion& q) {
    std::vector<std::pair<int, int>> pairs;
    for (std::int16_t slot = 0; slot < q.m_Dependencies.GetNumDependencies(); ++slot) {
        std::int16_t Q = 0;
        std::int16_t Opt = 0;
        q.m_Dependencies.GetDependency(slot, Q, Opt);
        pairs.emplace_back(Q, Opt);
    }
    return pairs;
}

// Pairs on numbers the set does not hold are stored as they are and must stay so; the
// rest go on naming the same question.
TEST(EditorArrayManager, RenumberReliancesKeepsWhatItCannotMove) {
    kb::QuestionArray qs = Make(5);
    for (auto [Q, Opt] : {std::pair{-2, 1}, {32767, 1}, {1, 1}, {3, 2}, {5, 4}, {7, 1}}) {
        qs[4]->m_Dependencies.AddDependency(static_cast<std::int16_t>(Q),
                                            static_cast<std::int16_t>(Opt));
    }
    qs[4]->m_Dependencies.SetType(1);
    InsertNewQuestion(qs, 1);
    RenumberReliances(qs, true, 2, 5);
    EXPECT_EQ(Pairs(*qs[5]), (std::vector<std::pair<int, int>>{
                                 {-2, 1}, {32767, 1}, {1, 1}, {4, 2}, {6, 4}, {7, 1}}));
    EXPECT_EQ(qs[5]->m_Dependencies.GetType(), 1);

    RemoveQuestion(qs, 3); // question 4, the former 3
    RenumberReliances(qs, false, 4, 6);
    EXPECT_EQ(Pairs(*qs[4]),
              (std::vector<std::pair<int, int>>{{-2, 1}, {32767, 1}, {1, 1}, {5, 4}, {7, 1}}));
    RenumberReliances(qs, false, 1, 5);
    EXPECT_EQ(Pairs(*qs[4]),
              (std::vector<std::pair<int, int>>{{-2, 1}, {32767, 1}, {4, 4}, {7, 1}}));
}

} // namespace
