#include "kb/RelianceRule.h"

#include "kb/CResponses.h"

namespace kb {

namespace {

bool IsPairMet(std::int16_t Q, std::int16_t Opt, int numQuestions, const LevelOf& level) {
    if (Q < 1 || Q > numQuestions || Opt < 1 || Opt > CResponses::kSlots)
        return false;
    return level(static_cast<std::int16_t>(Q - 1), static_cast<std::int16_t>(Opt - 1)) > 0;
}

} // namespace

bool IsRelianceMet(const CDependency& reliance, int numQuestions, const LevelOf& level) {
    const std::int16_t count = reliance.GetNumDependencies();
    if (count == 0)
        return true;
    const bool any = reliance.GetType() == 1;
    for (std::int16_t d = 0; d < count; ++d) {
        std::int16_t Q = 0;
        std::int16_t Opt = 0;
        reliance.GetDependency(d, Q, Opt);
        const bool met = IsPairMet(Q, Opt, numQuestions, level);
        if (any && met)
            return true;
        if (!any && !met)
            return false;
    }
    return !any;
}

} // namespace kb
