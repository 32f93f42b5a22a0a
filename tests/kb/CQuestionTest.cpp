#include "kb/CQuestion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

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

namespace {

CQuestion CompleteQuestion() {
    CQuestion q;
    q.SetKEQ("Which colour?");
    q.SetUserQ("What colour is it?");
    q.AddOption("Black");
    q.AddOption("White");
    return q;
}

} // namespace

TEST(CQuestion, OptionCountStaysWithinNine) {
    CQuestion q;
    EXPECT_FALSE(q.RemoveOption());
    for (int i = 0; i < 9; ++i) {
        // append, not "o" + ...: GCC 12 at -O3 warns falsely (-Wrestrict) on the latter.
        EXPECT_TRUE(q.AddOption(std::string("o").append(std::to_string(i))));
    }
    EXPECT_FALSE(q.AddOption("tenth"));
    EXPECT_EQ(q.GetNumOptions(), 9);
    EXPECT_EQ(q.GetOption(8), "o8");
    EXPECT_EQ(q.GetOption(9), "");
    EXPECT_EQ(q.GetOption(-1), "");
}

TEST(CQuestion, RemovedOptionTextIsClearedButRaisedCountShowsOldSlots) {
    CQuestion q;
    q.AddOption("a");
    q.AddOption("b");
    q.AddOption("c");
    q.AddOption("d");
    ASSERT_TRUE(q.RemoveOption());
    EXPECT_EQ(q.GetNumOptions(), 3);
    EXPECT_EQ(q.GetOption(3), "");
    EXPECT_TRUE(q.SetNumOptions(2));
    EXPECT_EQ(q.GetOption(2), ""); // hidden, not cleared
    EXPECT_TRUE(q.SetNumOptions(4));
    EXPECT_EQ(q.GetOption(2), "c");
    EXPECT_EQ(q.GetOption(3), ""); // cleared by RemoveOption
    EXPECT_FALSE(q.SetNumOptions(1));
    EXPECT_FALSE(q.SetNumOptions(10));
    EXPECT_EQ(q.GetNumOptions(), 4);
    EXPECT_FALSE(q.UpdateOption(4, "x"));
    EXPECT_TRUE(q.UpdateOption(3, "x"));
    EXPECT_EQ(q.GetOption(3), "x");
}

TEST(CQuestion, RefusedValuesLeaveTheQuestionUnchanged) {
    CQuestion q;
    EXPECT_FALSE(q.SetUserType(2));
    EXPECT_FALSE(q.SetKEType(-1));
    EXPECT_EQ(q.GetUserType(), 0);
    EXPECT_EQ(q.GetKEType(), 1);
    EXPECT_FALSE(q.SetHelp(""));
    EXPECT_EQ(q.GetQHelp(), "nohelp.htm");
    for (double bad : {0.99, 2.01, std::nan(""), -1.5}) {
        EXPECT_FALSE(q.SetImportance(bad)) << bad;
    }
    EXPECT_EQ(q.GetImportance(), 1.0);
    EXPECT_TRUE(q.SetImportance(2.0));
    EXPECT_TRUE(q.SetImportance(1.0));
}

TEST(CQuestion, IsCompleteChecksEachField) {
    EXPECT_TRUE(CompleteQuestion().IsComplete(0));
    struct Case {
        const char* what;
        void (*spoil)(CQuestion&);
    };
    const Case cases[] = {
        {"blank KE wording", [](CQuestion& q) { q.SetKEQ("   "); }},
        {"blank user wording", [](CQuestion& q) { q.SetUserQ(" "); }},
        {"blank option", [](CQuestion& q) { q.UpdateOption(1, "  "); }},
        {"blank help", [](CQuestion& q) { q.SetHelp(" "); }},
        {"importance between steps", [](CQuestion& q) { q.SetImportance(1.25); }},
    };
    for (const auto& c : cases) {
        CQuestion q = CompleteQuestion();
        c.spoil(q);
        EXPECT_FALSE(q.IsComplete(0)) << c.what;
    }
    // A tab is not a blank.
    CQuestion tab = CompleteQuestion();
    tab.SetKEQ("\t");
    EXPECT_TRUE(tab.IsComplete(0));
}

TEST(CQuestion, IsCompleteAllowsReliancesOnEarlierQuestionsOnly) {
    CQuestion q = CompleteQuestion();
    q.m_Dependencies.AddDependency(4, 1);
    EXPECT_TRUE(q.IsComplete(0)); // the first question ignores its reliance
    EXPECT_FALSE(q.IsComplete(3));
    EXPECT_TRUE(q.IsComplete(4));

    CQuestion opts = CompleteQuestion();
    opts.m_Dependencies.AddDependency(1, 0);
    opts.m_Dependencies.AddDependency(2, 9);
    EXPECT_TRUE(opts.IsComplete(3));
    opts.m_Dependencies.AddDependency(1, 10);
    EXPECT_FALSE(opts.IsComplete(3));
    opts.m_Dependencies.RemoveDependency(1, 10);
    opts.m_Dependencies.AddDependency(1, -1);
    EXPECT_FALSE(opts.IsComplete(3));
}

TEST(CQuestion, IsEmptyLooksOnlyAtWordingsAndOptionsInUse) {
    CQuestion q;
    q.AddOption("x");
    q.AddOption("y");
    EXPECT_FALSE(q.IsEmpty());
    q.RemoveOption();
    q.UpdateOption(0, "");
    q.SetNumOptions(2); // slot 1 was cleared by RemoveOption
    EXPECT_TRUE(q.IsEmpty());
    q.SetUserQ(" ");
    EXPECT_FALSE(q.IsEmpty());
}
