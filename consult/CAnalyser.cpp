#include "consult/CAnalyser.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <utility>
#include <vector>

namespace consult {

namespace {

// The selection sort's best-so-far starts here: only a score above it is ever picked.
constexpr double kSortStart = -32767.0;
constexpr int kNoLevel = 9;

int FirstTen(const kb::CResponses& Resp) {
    for (std::int16_t k = 0; k < kb::CResponses::kSlots; ++k) {
        if (Resp.GetResponse(k) == 10) {
            return k;
        }
    }
    return kNoLevel;
}

// What the scoring needs of one answered question, worked out once per analysis.
struct AnsweredQuestion {
    std::int16_t QNo = 0;
    double Weight = 1.0;
    bool UserSingle = true;
    bool KESingle = true;
    int NumOptions = 0;
    int UserChoice = kNoLevel;                // end user's single choice
    std::array<std::int16_t, 9> UserLevels{}; // end user's levels
    // Multiple against multiple: the score for each difference sum D that levels within
    // -10..10 can give, worked out by the very expression below, so it is bit for bit
    // the same and the scoring loop needs no division.
    std::array<double, 9 * 20 + 1> ByDifference{};
};

double MultipleScore(double w, int D, int numOptions) {
    const double ratio = static_cast<double>(D) / static_cast<double>(numOptions * 20);
    return w * (10.0 - ratio * 20.0);
}

AnsweredQuestion Prepare(const kb::CQuestion& q, std::int16_t QNo) {
    AnsweredQuestion a;
    a.QNo = QNo;
    a.Weight = q.GetImportance();
    a.UserSingle = q.GetUserType() == 0;
    a.KESingle = q.GetKEType() == 0;
    a.NumOptions = std::clamp<int>(q.GetNumOptions(), 0, kb::CResponses::kSlots);
    for (std::int16_t k = 0; k < kb::CResponses::kSlots; ++k) {
        a.UserLevels[static_cast<std::size_t>(k)] = q.m_Responses.GetResponse(k);
    }
    a.UserChoice = FirstTen(q.m_Responses);
    if (!a.UserSingle && !a.KESingle && a.NumOptions > 0) {
        for (int D = 0; D <= a.NumOptions * 20; ++D) {
            a.ByDifference[static_cast<std::size_t>(D)] = MultipleScore(a.Weight, D, a.NumOptions);
        }
    }
    return a;
}

double Score(const AnsweredQuestion& a, const kb::CResponses& R) {
    const double w = a.Weight;
    if (a.UserSingle) {
        if (a.UserChoice == kNoLevel) {
            return -10.0 * w;
        }
        return static_cast<double>(R.GetResponse(static_cast<std::int16_t>(a.UserChoice))) * w;
    }
    if (a.KESingle) {
        const int k = FirstTen(R);
        if (k == kNoLevel) {
            return -10.0 * w;
        }
        return static_cast<double>(a.UserLevels[static_cast<std::size_t>(k)]) * w;
    }
    // A question without options has nothing on which the two answers could differ;
    // dividing by its zero count would turn the whole ranking into NaN.
    if (a.NumOptions == 0) {
        return 10.0 * w;
    }
    int D = 0; // int: levels outside -10..10 must not overflow the sum
    for (int k = 0; k < a.NumOptions; ++k) {
        D += std::abs(static_cast<int>(R.GetResponse(static_cast<std::int16_t>(k))) -
                      static_cast<int>(a.UserLevels[static_cast<std::size_t>(k)]));
    }
    if (D <= a.NumOptions * 20) {
        return a.ByDifference[static_cast<std::size_t>(D)];
    }
    return MultipleScore(w, D, a.NumOptions); // levels outside -10..10
}

int ClampCount(int n, std::size_t size) {
    const auto limit = static_cast<int>(std::min<std::size_t>(size, 32767));
    return std::clamp(n, 0, limit);
}

} // namespace

int CAnalyser::GetSelectedOption(const kb::CResponses& Resp) {
    return FirstTen(Resp);
}

void CAnalyser::Analyse(const kb::QuestionArray& Questions, int nQs, kb::RecordArray& Records,
                        int nRecs) const {
    nQs = ClampCount(nQs, Questions.size());
    nRecs = ClampCount(nRecs, Records.size());

    std::vector<AnsweredQuestion> answered;
    for (int q = 0; q < nQs; ++q) {
        const auto& question = Questions[static_cast<std::size_t>(q)];
        if (question && question->GetAnswered()) {
            answered.push_back(Prepare(*question, static_cast<std::int16_t>(q)));
        }
    }

    double M = 0.0;
    for (const AnsweredQuestion& a : answered) {
        M += a.Weight * 10.0 + a.Weight * 10.0;
    }

    // Record by record rather than question by question: each record's total still
    // grows in question order, so the sums are bit for bit the same, and each record's
    // data is visited once instead of once per question.
    std::vector<double> keys(static_cast<std::size_t>(nRecs));
    for (int r = 0; r < nRecs; ++r) {
        kb::CRecord* rec = Records[static_cast<std::size_t>(r)].get();
        if (rec == nullptr) {
            keys[static_cast<std::size_t>(r)] = -std::numeric_limits<double>::infinity();
            continue;
        }
        // The total grows in question order from 0, exactly as ResetScore followed by one
        // UpdateScore per answered question would make it, but in a register.
        double total = 0.0;
        for (const AnsweredQuestion& a : answered) {
            const kb::CResponses* R = nullptr;
            rec->GetResponses(a.QNo, R);
            if (R == nullptr) {
                continue; // a record shorter than the set earns nothing on the rest
            }
            const double s = Score(a, *R);
            total += s;
            rec->SetQScore(a.QNo, s);
        }
        rec->ResetScore();
        rec->UpdateScore(total, kb::kNoQuestion);
        const double p = M > 0.0 ? (M / 2.0 + rec->GetScore()) / M * 100.0 : 0.0;
        rec->ResetScore();
        rec->UpdateScore(p, kb::kNoQuestion);
        keys[static_cast<std::size_t>(r)] = rec->GetScore();
    }

    // The sort is handed the scores just worked out, so it need not visit every record
    // again; SortRecords on its own reads them from the records.
    SortByScores(Records, std::move(keys));
}

void CAnalyser::SortRecords(kb::RecordArray& Records, int nRecs) {
    const int n = ClampCount(nRecs, Records.size());
    std::vector<double> scores(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const auto& rec = Records[static_cast<std::size_t>(i)];
        scores[static_cast<std::size_t>(i)] =
            rec ? rec->GetScore() : -std::numeric_limits<double>::infinity();
    }
    SortByScores(Records, std::move(scores));
}

void CAnalyser::SortByScores(kb::RecordArray& Records, std::vector<double> scores) {
    const int n = static_cast<int>(scores.size());
    if (n == 0) {
        return;
    }

    // A tournament tree over the positions: each inner node holds the first maximum
    // below it, with its score, so that replaying a path looks at one sibling per level.
    // A score that could never beat the start value (NaN too) is stored as -infinity,
    // so it is never picked, as in the selection sort.
    struct Entry {
        double Key;
        std::uint32_t Pos;
    };
    constexpr double kNever = -std::numeric_limits<double>::infinity();
    std::size_t leaves = 1;
    while (leaves < static_cast<std::size_t>(n)) {
        leaves *= 2;
    }
    std::vector<Entry> node(2 * leaves, Entry{kNever, 0});
    for (std::size_t i = 0; i < leaves; ++i) {
        const double s = i < scores.size() ? scores[i] : kNever;
        node[leaves + i] = Entry{s > kSortStart ? s : kNever, static_cast<std::uint32_t>(i)};
    }
    // Ties go to the left: the first maximum.
    const auto winner = [&node](std::size_t x) -> const Entry& {
        return node[2 * x + 1].Key > node[2 * x].Key ? node[2 * x + 1] : node[2 * x];
    };
    for (std::size_t x = leaves - 1; x >= 1; --x) {
        node[x] = winner(x);
    }
    const auto set = [&](std::size_t pos, double key) {
        std::size_t x = leaves + pos;
        node[x].Key = key;
        for (x /= 2; x >= 1; x /= 2) {
            node[x] = winner(x);
        }
    };

    std::size_t bestIdx = 0;
    int i = 0;
    for (; i < n; ++i) {
        const Entry top = node[1];
        if (!(top.Key > kSortStart)) {
            break;
        }
        const auto pos = static_cast<std::size_t>(i);
        bestIdx = top.Pos;
        std::swap(Records[pos], Records[bestIdx]);
        if (bestIdx != pos) {
            set(bestIdx, node[leaves + pos].Key);
        }
        set(pos, kNever); // sorted: out of the tournament
    }
    // Once a pass finds no score above the start, no later pass can (only such scores
    // are left), and each pass swaps with the index carried over from the last success
    // (or 0), which may lie in the sorted part, as the selection sort does.
    for (; i < n; ++i) {
        std::swap(Records[static_cast<std::size_t>(i)], Records[bestIdx]);
    }
}

} // namespace consult
