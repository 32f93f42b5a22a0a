#include "editor/ArrayManager.h"

#include <gtest/gtest.h>

#include <memory>

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

} // namespace
