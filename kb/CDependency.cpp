#include "kb/CDependency.h"

#include <algorithm>
#include <stdexcept>

namespace kb {

bool CDependency::AddDependency(std::int16_t Q, std::int16_t Opt) {
    if (Q == 0 || m_NumDeps >= kSlots) {
        return false;
    }
    const DependencyEntry entry{Q, Opt};
    const auto end = m_Deps.begin() + m_NumDeps;
    if (std::find(m_Deps.begin(), end, entry) != end) {
        return false;
    }
    m_Deps[static_cast<std::size_t>(m_NumDeps)] = entry;
    ++m_NumDeps;
    return true;
}

bool CDependency::RemoveDependency(std::int16_t Q, std::int16_t Opt) {
    if (Q == 0) {
        return false;
    }
    const auto found = std::find(m_Deps.begin(), m_Deps.end(), DependencyEntry{Q, Opt});
    if (found == m_Deps.end()) {
        return false;
    }
    std::move(found + 1, m_Deps.end(), found);
    m_Deps.back() = DependencyEntry{};
    --m_NumDeps;
    return true;
}

bool CDependency::GetDependency(std::int16_t depNo, std::int16_t& Q, std::int16_t& Opt) const {
    if (depNo < 0) {
        throw std::out_of_range("negative reliance slot");
    }
    if (depNo >= kSlots) {
        return false;
    }
    Q = m_Deps[static_cast<std::size_t>(depNo)].Q;
    Opt = m_Deps[static_cast<std::size_t>(depNo)].Opt;
    return true;
}

bool CDependency::IsDependentQ(std::int16_t QNo) const {
    if (QNo < 1) {
        return false;
    }
    return std::any_of(m_Deps.begin(), m_Deps.begin() + m_NumDeps,
                       [QNo](const DependencyEntry& d) { return d.Q == QNo; });
}

void CDependency::Reset() {
    m_Deps.fill(DependencyEntry{});
    m_NumDeps = 0;
}

} // namespace kb
