#pragma once

#include "kb/CQuestion.h"
#include "kb/CRecord.h"
#include "kb/CResponses.h"

#include <vector>

namespace consult {

// The inference engine: scores every record against the end user's answered questions,
// turns each total into a confidence percentage (0 to 100) and ranks the records by it,
// highest first. It keeps nothing between calls.
class CAnalyser {
public:
    // Reorders Records in place. Counts larger than the arrays are cut to the arrays.
    void Analyse(const kb::QuestionArray& Questions, int nQs, kb::RecordArray& Records,
                 int nRecs) const;

private:
    friend struct CAnalyserTestAccess;

    // The first slot holding exactly 10, or 9 when none does.
    static int GetSelectedOption(const kb::CResponses& Resp);
    // Descending by score, in exactly the order of a selection sort whose best-so-far
    // starts at -32767.0 and whose best index carries over from pass to pass, but in
    // O(n log n).
    static void SortRecords(kb::RecordArray& Records, int nRecs);
    // The same on records 0 to scores.size() - 1 whose scores are given.
    static void SortByScores(kb::RecordArray& Records, std::vector<double> scores);
};

} // namespace consult
