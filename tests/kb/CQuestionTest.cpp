#include "kb/CQuestion.h"

#include <gtest/gtest.h>

using kb::CQuestion;

TEST(CQuestion, NewQuestionIsEmptyAndIncomplete) {
    CQuestion q;
    EXPECT_TRUE(q.IsEmpty());
    EXPECT_FALSE(q.IsComplete(0));
    q.AddOption("");
    q.AddOption("");
    EXPECT_TRUE(q.IsEmpty());
    EXPECT_EQ(q.GetKEType(), 1);
    EXPECT_EQ(q.GetUserType(), 0);
    EXPECT_EQ(q.GetQHelp(), "nohelp.htm");
}

TEST(CQuestion, ZeroOptionsStillComplete) {
    CQuestion q;
    q.SetKEQ("k");
    q.SetUserQ("u");
    EXPECT_TRUE(q.IsComplete(0));
    EXPECT_TRUE(q.SetImportance(1.25));
    EXPECT_FALSE(q.IsComplete(0));
}
