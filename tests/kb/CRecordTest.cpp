#include "kb/CRecord.h"

#include <gtest/gtest.h>

#include <stdexcept>

using kb::CRecord;
using kb::CResponses;

namespace {

class CRecordTest : public ::testing::Test {
protected:
    void TearDown() override { kb::g_NumQuestions = 0; }
};

TEST(CResponses, SlotsHoldAnyValueWithinZeroToEight) {
    CResponses r;
    for (std::int16_t i = 0; i < 9; ++i) {
        EXPECT_EQ(r.GetResponse(i), 0);
    }
    r.SetResponse(3, 7);
    r.SetResponse(8, -32768);
    EXPECT_EQ(r.GetResponse(3), 7);
    EXPECT_EQ(r.GetResponse(8), -32768);
    EXPECT_THROW(r.GetResponse(9), std::out_of_range);
    EXPECT_THROW(r.SetResponse(-1, 1), std::out_of_range);
}

TEST_F(CRecordTest, SizedOnceByTheQuestionCount) {
    kb::g_NumQuestions = 0;
    EXPECT_THROW(CRecord(), std::out_of_range);
    kb::g_NumQuestions = -3;
    EXPECT_THROW(CRecord(), std::out_of_range);

    kb::g_NumQuestions = 4;
    CRecord rec;
    kb::g_NumQuestions = 5;
    EXPECT_EQ(rec.GetNumResponses(), 4);
    EXPECT_EQ(rec.GetName(), "");
    EXPECT_EQ(rec.GetDescription(), "nodesc.htm");

    CResponses* r = nullptr;
    rec.GetResponses(3, r);
    ASSERT_NE(r, nullptr);
    r->SetResponse(0, 10);
    CResponses* again = nullptr;
    rec.GetResponses(3, again);
    EXPECT_EQ(again, r); // the record's own object
    EXPECT_EQ(again->GetResponse(0), 10);
    rec.GetResponses(4, r);
    EXPECT_EQ(r, nullptr);
    EXPECT_THROW(rec.GetResponses(-1, r), std::out_of_range);
}

TEST_F(CRecordTest, Scores) {
    kb::g_NumQuestions = 3;
    CRecord rec;
    EXPECT_EQ(rec.GetQScore(0), 0.0);
    rec.UpdateScore(2.5, kb::kNoQuestion);
    EXPECT_EQ(rec.GetScore(), 2.5);
    rec.UpdateScore(-5, 1);
    EXPECT_EQ(rec.GetScore(), -2.5);
    EXPECT_EQ(rec.GetQScore(1), -5.0);
    EXPECT_EQ(rec.GetQScore(0), 0.0);
    // Out of range, but the total has already taken the score.
    EXPECT_THROW(rec.UpdateScore(1.0, 3), std::out_of_range);
    EXPECT_EQ(rec.GetScore(), -1.5);
    EXPECT_THROW(rec.GetQScore(3), std::out_of_range);
    EXPECT_THROW(rec.GetQScore(-1), std::out_of_range);
    rec.ResetScore();
    EXPECT_EQ(rec.GetScore(), 0.0);
    EXPECT_EQ(rec.GetQScore(1), -5.0);
}

} // namespace
