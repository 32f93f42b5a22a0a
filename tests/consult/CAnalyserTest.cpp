#include "consult/CAnalyser.h"

#include "LiteralSelectionSort.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <memory>
#include <random>
#include <vector>

namespace consult {

struct CAnalyserTestAccess {
    static int GetSelectedOption(const kb::CResponses& r) {
        return CAnalyser::GetSelectedOption(r);
    }
    static void SortRecords(kb::RecordArray& recs, int n) { CAnalyser::SortRecords(recs, n); }
};

namespace {

using kb::CQuestion;
using kb::CRecord;
using kb::CResponses;

void SetLevels(CResponses& r, std::initializer_list<int> levels) {
    std::int16_t k = 0;
    for (int v : levels) {
        r.SetResponse(k++, static_cast<std::int16_t>(v));
    }
}

// A single-choice answer: 10 for the chosen slot, -10 for the other eight.
void Choose(CResponses& r, int slot) {
    for (std::int16_t k = 0; k < CResponses::kSlots; ++k) {
        r.SetResponse(k, k == slot ? 10 : -10);
    }
}

std::shared_ptr<CQuestion> MakeQuestion(int userType, int keType, double w, int nOpts) {
    auto q = std::make_shared<CQuestion>();
    q->SetUserType(static_cast<std::int16_t>(userType));
    q->SetKEType(static_cast<std::int16_t>(keType));
    q->SetImportance(w);
    for (int i = 0; i < nOpts; ++i) {
        q->AddOption("o");
    }
    q->SetAnswered(true);
    return q;
}

CResponses& Resp(CRecord& rec, int q) {
    CResponses* r = nullptr;
    rec.GetResponses(static_cast<std::int16_t>(q), r);
    return *r;
}

class CAnalyserTest : public ::testing::Test {
protected:
    void SetUp() override { kb::g_NumQuestions = 4; }
    void TearDown() override { kb::g_NumQuestions = 0; }
};

TEST_F(CAnalyserTest, WorkedExample) {
    kb::QuestionArray qs{MakeQuestion(0, 0, 1.0, 3), MakeQuestion(1, 1, 2.0, 3),
                         MakeQuestion(1, 0, 1.5, 4), MakeQuestion(0, 0, 1.0, 2)};
    Choose(qs[0]->m_Responses, 1);
    SetLevels(qs[1]->m_Responses, {10, 5, -10});
    SetLevels(qs[2]->m_Responses, {10, 5, -10, 0});
    qs[3]->SetAnswered(false);
    Choose(qs[3]->m_Responses, 0);

    auto r1 = std::make_shared<CRecord>();
    auto r2 = std::make_shared<CRecord>();
    auto r3 = std::make_shared<CRecord>();
    Choose(Resp(*r1, 0), 1);
    SetLevels(Resp(*r1, 1), {10, 0, -10});
    Choose(Resp(*r1, 2), 1);
    Choose(Resp(*r2, 0), 0);
    SetLevels(Resp(*r2, 1), {-10, 10, 10});
    Choose(Resp(*r2, 2), 2);
    for (auto* r : {r1.get(), r2.get(), r3.get()}) {
        r->UpdateScore(42.0, 3); // an earlier analysis' score for question 4
        Choose(Resp(*r, 3), 0);
    }

    kb::RecordArray recs{r1, r2, r3};
    CAnalyser().Analyse(qs, 4, recs, 3);

    ASSERT_EQ(recs, (kb::RecordArray{r1, r3, r2}));
    EXPECT_NEAR(r1->GetScore(), 87.96, 0.005);
    EXPECT_NEAR(r3->GetScore(), 37.04, 0.005);
    EXPECT_NEAR(r2->GetScore(), 11.11, 0.005);

    const double expected[3][3] = {{10.0, 2.0 * (10.0 - 5.0 / 60.0 * 20.0), 7.5},
                                   {-10.0, -10.0, -15.0},
                                   {0.0, 2.0 * (10.0 - 25.0 / 60.0 * 20.0), -15.0}};
    const CRecord* byRow[3] = {r1.get(), r2.get(), r3.get()};
    for (int r = 0; r < 3; ++r) {
        double total = 0.0;
        for (int q = 0; q < 3; ++q) {
            EXPECT_DOUBLE_EQ(byRow[r]->GetQScore(q), expected[r][q])
                << "R" << r + 1 << " Q" << q + 1;
            total += expected[r][q];
        }
        EXPECT_DOUBLE_EQ(byRow[r]->GetScore(), (45.0 + total) / 90.0 * 100.0);
        EXPECT_EQ(byRow[r]->GetQScore(3), 42.0) << "unanswered question keeps its score";
    }

    // A second run on the same answers gives the same figures and order.
    CAnalyser().Analyse(qs, 4, recs, 3);
    EXPECT_EQ(recs, (kb::RecordArray{r1, r3, r2}));
    EXPECT_NEAR(r1->GetScore(), 87.96, 0.005);
}

TEST_F(CAnalyserTest, ScoringRules) {
    struct Row {
        const char* name;
        int userType, keType, nOpts;
        double w;
        std::vector<int> user, record;
        double percent;
    };
    const std::vector<Row> rows = {
        {"single: record holds the choice", 0, 0, 3, 2.0, {-10, 10, -10}, {-10, 10, -10}, 100},
        {"single: record holds another", 0, 0, 3, 2.0, {-10, 10, -10}, {10, -10, -10}, 0},
        {"single: record never answered", 0, 0, 3, 2.0, {-10, 10, -10}, {0, 0, 0}, 50},
        {"single vs multiple record", 0, 1, 3, 1.0, {-10, 10, -10}, {0, 5, 0}, 75},
        {"single: end user chose nothing", 0, 0, 3, 1.0, {0, 0, 0}, {10, -10, -10}, 0},
        {"multiple vs single record, unanswered", 1, 0, 3, 1.5, {5, 5, 5}, {0, 0, 0}, 0},
        {"multiple vs single record", 1, 0, 3, 1.5, {5, -5, 0}, {-10, 10, -10}, 25},
        {"multiple: identical", 1, 1, 3, 1.0, {10, -5, 0}, {10, -5, 0}, 100},
        {"multiple: opposite", 1, 1, 2, 1.0, {10, -10}, {-10, 10}, 0},
        {"multiple: slots beyond options ignored", 1, 1, 2, 1.0, {5, 5, 10}, {5, 5, -10}, 100},
        {"multiple: no options", 1, 1, 0, 1.0, {5}, {-5}, 100},
    };
    for (const Row& row : rows) {
        auto q = MakeQuestion(row.userType, row.keType, row.w, row.nOpts);
        for (std::size_t k = 0; k < row.user.size(); ++k) {
            q->m_Responses.SetResponse(static_cast<std::int16_t>(k),
                                       static_cast<std::int16_t>(row.user[k]));
        }
        auto rec = std::make_shared<CRecord>();
        for (std::size_t k = 0; k < row.record.size(); ++k) {
            Resp(*rec, 0).SetResponse(static_cast<std::int16_t>(k),
                                      static_cast<std::int16_t>(row.record[k]));
        }
        kb::RecordArray recs{rec};
        CAnalyser().Analyse({q}, 1, recs, 1);
        EXPECT_DOUBLE_EQ(rec->GetScore(), row.percent) << row.name;
    }
}

TEST_F(CAnalyserTest, NoAnsweredQuestionGivesZeroAndKeepsOrder) {
    auto q = MakeQuestion(0, 0, 1.0, 2);
    q->SetAnswered(false);
    kb::RecordArray recs;
    for (int i = 0; i < 5; ++i) {
        recs.push_back(std::make_shared<CRecord>());
        recs.back()->UpdateScore(10.0 * i, kb::kNoQuestion);
    }
    const kb::RecordArray before = recs;
    CAnalyser().Analyse({q}, 1, recs, 5);
    EXPECT_EQ(recs, before);
    for (const auto& r : recs) {
        EXPECT_EQ(r->GetScore(), 0.0);
    }

    // No record at all: nothing is touched.
    CAnalyser().Analyse({q}, 1, recs, 0);
    // Counts larger than the arrays are cut to them.
    q->SetAnswered(true);
    CAnalyser().Analyse({q}, 7, recs, 9);
    EXPECT_EQ(recs[0]->GetScore(), 0.0); // all responses 0: -10 x w against no choice
}

TEST_F(CAnalyserTest, GetSelectedOption) {
    CResponses r;
    EXPECT_EQ(CAnalyserTestAccess::GetSelectedOption(r), 9);
    r.SetResponse(8, 10);
    r.SetResponse(4, 10);
    r.SetResponse(2, 9);
    EXPECT_EQ(CAnalyserTestAccess::GetSelectedOption(r), 4);
}

// The fast sort must give exactly the permutation of the selection sort.
class SortOracle : public CAnalyserTest {
protected:
    static kb::RecordArray Make(const std::vector<double>& scores) {
        kb::RecordArray recs;
        for (double s : scores) {
            recs.push_back(std::make_shared<CRecord>());
            recs.back()->UpdateScore(s, kb::kNoQuestion);
        }
        return recs;
    }
    static void ExpectSameAsLiteral(const std::vector<double>& scores, int n) {
        kb::RecordArray fast = Make(scores);
        kb::RecordArray literal = fast;
        CAnalyserTestAccess::SortRecords(fast, n);
        testing::LiteralSelectionSort(literal, n);
        ASSERT_EQ(fast, literal) << "n = " << n << ", size = " << scores.size();
    }
};

TEST_F(SortOracle, SmallCases) {
    const kb::RecordArray abc = Make({50, 50, 60});
    kb::RecordArray recs = abc;
    CAnalyserTestAccess::SortRecords(recs, 3);
    EXPECT_EQ(recs, (kb::RecordArray{abc[2], abc[1], abc[0]}));
    recs = {abc[0], abc[1]};
    CAnalyserTestAccess::SortRecords(recs, 2);
    EXPECT_EQ(recs, (kb::RecordArray{abc[0], abc[1]}));

    // A pass that finds nothing above -32767 swaps with the index carried over, here the
    // already sorted slot 0, twice.
    const kb::RecordArray low = Make({5, -40000, -32767});
    recs = low;
    CAnalyserTestAccess::SortRecords(recs, 3);
    EXPECT_EQ(recs, (kb::RecordArray{low[2], low[0], low[1]}));

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<std::vector<double>> cases = {{},
                                                    {7},
                                                    {-32767},
                                                    {1, 2},
                                                    {2, 1},
                                                    {3, 3},
                                                    {-32767, -32767},
                                                    {-40000, 1},
                                                    {1, -40000},
                                                    {5, 5, 5, 5, 5, 5},
                                                    {0, 0, 0, 0},
                                                    {-32767, -32767, -32767},
                                                    {-40000, 3, -40000, 3, -32767, 2},
                                                    {nan, 1, nan, -inf, inf, 1},
                                                    {inf, inf, -inf},
                                                    {-32766.9, -32767, -32767.1, -32766.9}};
    for (const auto& c : cases) {
        for (int n = 0; n <= static_cast<int>(c.size()); ++n) {
            ExpectSameAsLiteral(c, n);
        }
    }
}

TEST_F(SortOracle, RandomInputsWithManyTies) {
    std::mt19937 gen(20261209);
    const std::vector<double> pool = {0, 11.11, 37.04, 50, 50, 87.96, 100, -32767, -50000};
    for (int round = 0; round < 3000; ++round) {
        const int size = std::uniform_int_distribution<int>(0, round < 2900 ? 40 : 700)(gen);
        // Draw from a few values so that ties are common; sometimes mostly very low ones.
        const int distinct =
            std::uniform_int_distribution<int>(1, static_cast<int>(pool.size()))(gen);
        const bool lowHeavy = round % 5 == 0;
        std::vector<double> scores;
        for (int i = 0; i < size; ++i) {
            int pick = std::uniform_int_distribution<int>(0, distinct - 1)(gen);
            if (lowHeavy && std::uniform_int_distribution<int>(0, 3)(gen) != 0) {
                pick = static_cast<int>(pool.size()) - 1 - (i % 2);
            }
            scores.push_back(pool[static_cast<std::size_t>(pick)]);
        }
        const int n = size == 0 ? 0 : std::uniform_int_distribution<int>(size / 2, size)(gen);
        ExpectSameAsLiteral(scores, n);
    }
}

// The analysis exactly as first written: question by question over every record, then
// the selection sort.
void LiteralAnalyse(const kb::QuestionArray& qs, kb::RecordArray& recs) {
    const auto selected = [](const CResponses& r) {
        for (std::int16_t k = 0; k < 9; ++k) {
            if (r.GetResponse(k) == 10) {
                return static_cast<int>(k);
            }
        }
        return 9;
    };
    for (auto& rec : recs) {
        rec->ResetScore();
    }
    double M = 0.0;
    for (std::size_t q = 0; q < qs.size(); ++q) {
        const CQuestion& question = *qs[q];
        if (!question.GetAnswered()) {
            continue;
        }
        const CResponses& U = question.m_Responses;
        const double w = question.GetImportance();
        for (auto& rec : recs) {
            const CResponses& R = Resp(*rec, static_cast<int>(q));
            double s = 0;
            if (question.GetUserType() == 0) {
                const int k = selected(U);
                s = k == 9 ? -10 * w : R.GetResponse(static_cast<std::int16_t>(k)) * w;
            } else if (question.GetKEType() == 0) {
                const int k = selected(R);
                s = k == 9 ? -10 * w : U.GetResponse(static_cast<std::int16_t>(k)) * w;
            } else {
                const int n = question.GetNumOptions();
                int D = 0;
                for (std::int16_t k = 0; k < n; ++k) {
                    D += std::abs(R.GetResponse(k) - U.GetResponse(k));
                }
                const double ratio = static_cast<double>(D) / (n * 20);
                s = w * (10 - ratio * 20);
            }
            rec->UpdateScore(s, static_cast<std::int16_t>(q));
        }
    }
    for (const auto& question : qs) {
        if (question->GetAnswered()) {
            M += question->GetImportance() * 10 + question->GetImportance() * 10;
        }
    }
    for (auto& rec : recs) {
        const double p = M > 0 ? (M / 2 + rec->GetScore()) / M * 100 : 0;
        rec->ResetScore();
        rec->UpdateScore(p, kb::kNoQuestion);
    }
    testing::LiteralSelectionSort(recs, static_cast<int>(recs.size()));
}

// Many records and questions with many ties, against the literal analysis.
TEST_F(CAnalyserTest, SameAsTheLiteralAnalysis) {
    constexpr int kQs = 150;
    constexpr int kRecs = 3000;
    kb::g_NumQuestions = kQs;
    std::mt19937 gen(11);
    const auto pick = [&gen](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(gen);
    };
    kb::QuestionArray qs;
    for (int q = 0; q < kQs; ++q) {
        const int nOpts = pick(2, 9);
        auto question = MakeQuestion(pick(0, 1), pick(0, 1), 1.0 + 0.5 * pick(0, 2), nOpts);
        question->SetAnswered(pick(0, 4) != 0);
        for (std::int16_t k = 0; k < 9; ++k) {
            question->m_Responses.SetResponse(k, static_cast<std::int16_t>(5 * pick(-2, 2)));
        }
        if (question->GetUserType() == 0 && pick(0, 5) != 0) {
            Choose(question->m_Responses, pick(0, nOpts - 1));
        }
        qs.push_back(question);
    }
    kb::RecordArray recs;
    for (int r = 0; r < kRecs; ++r) {
        recs.push_back(std::make_shared<CRecord>());
        for (int q = 0; q < kQs; ++q) {
            // Few distinct answers, so that many records tie.
            if (qs[static_cast<std::size_t>(q)]->GetKEType() == 0 || q % 7 == 0) {
                if (pick(0, 3) != 0) {
                    Choose(Resp(*recs.back(), q), pick(0, 2));
                }
            } else {
                for (std::int16_t k = 0; k < 9; ++k) {
                    Resp(*recs.back(), q)
                        .SetResponse(k, static_cast<std::int16_t>(10 * pick(-1, 1)));
                }
            }
        }
    }
    kb::RecordArray literal = recs;
    LiteralAnalyse(qs, literal);
    std::vector<double> expected;
    for (const auto& r : literal) {
        expected.push_back(r->GetScore());
    }
    CAnalyser().Analyse(qs, kQs, recs, kRecs);
    ASSERT_EQ(recs, literal);
    for (int r = 0; r < kRecs; ++r) {
        ASSERT_EQ(recs[static_cast<std::size_t>(r)]->GetScore(),
                  expected[static_cast<std::size_t>(r)]);
    }

    // The same record object twice in the array is scored twice, consistently.
    recs.push_back(recs.front());
    CAnalyser().Analyse(qs, kQs, recs, kRecs + 1);
    EXPECT_EQ(recs.size(), static_cast<std::size_t>(kRecs + 1));
}

} // namespace
} // namespace consult
