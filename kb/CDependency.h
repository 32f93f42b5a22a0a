#pragma once

#include <array>
#include <cstdint>

namespace kb {

// One reliance pair: the 1-based number of the question relied on and of its option.
// Q of 0 marks an empty slot.
struct DependencyEntry {
    std::int16_t Q = 0;
    std::int16_t Opt = 0;
    bool operator==(const DependencyEntry&) const = default;
};

// A question's reliance on options of earlier questions: type 0 needs every pair met
// ("AND" in the file), type 1 at least one ("OR"). It only holds the pairs.
class CDependency {
public:
    static constexpr int kSlots = 9;

    void SetType(std::int16_t T) { m_Type = (T != 0) ? 1 : 0; }
    std::int16_t GetType() const { return m_Type; }
    std::int16_t GetNumDependencies() const { return m_NumDeps; }

    // False, and nothing changes, for Q of 0, a pair already in use, or nine pairs in use.
    bool AddDependency(std::int16_t Q, std::int16_t Opt);
    // Removes the first equal pair and closes the gap; False when Q is 0 or none is equal.
    bool RemoveDependency(std::int16_t Q, std::int16_t Opt);
    // Slots 0 to 8 (also beyond the count) give True; 9 or more give False and leave Q and
    // Opt alone; a negative depNo throws std::out_of_range.
    bool GetDependency(std::int16_t depNo, std::int16_t& Q, std::int16_t& Opt) const;
    bool IsDependentQ(std::int16_t QNo) const;
    // Empties every slot; the type stays.
    void Reset();

private:
    std::array<DependencyEntry, kSlots> m_Deps{};
    std::int16_t m_Type = 0;
    std::int16_t m_NumDeps = 0;
};

} // namespace kb
