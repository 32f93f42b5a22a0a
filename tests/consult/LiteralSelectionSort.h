#pragma once

#include "kb/CRecord.h"

#include <cstddef>
#include <utility>

namespace consult::testing {

// The ranking written out as the plain selection sort it is defined by: O(n^2), kept as
// the oracle for the fast sort and as the baseline of its benchmark.
inline void LiteralSelectionSort(kb::RecordArray& Records, int nRecs) {
    std::size_t BestIdx = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(nRecs); ++i) {
        double Best = -32767.0;
        for (std::size_t j = i; j < static_cast<std::size_t>(nRecs); ++j) {
            if (Records[j]->GetScore() > Best) {
                Best = Records[j]->GetScore();
                BestIdx = j;
            }
        }
        std::swap(Records[i], Records[BestIdx]);
    }
}

} // namespace consult::testing
