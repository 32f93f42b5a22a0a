#pragma once

#include "kb/CDependency.h"

#include <cstdint>
#include <functional>

namespace kb {

// The answer level of one option: question index and option slot, both from 0.
using LevelOf = std::function<std::int16_t(std::int16_t question, std::int16_t slot)>;

// Whether a reliance is met by the answers that level reads: with no pairs always; type 0
// needs every pair met, type 1 at least one. A pair is met when its option's level is above
// 0. A hand-made set may name a question beyond numQuestions or an option beyond the nine
// slots: such a pair is never met, and level is not asked about it.
bool IsRelianceMet(const CDependency& reliance, int numQuestions, const LevelOf& level);

} // namespace kb
