#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>

namespace kb {

// Nine answer levels, one per option slot: a record's answer to one question, or the
// end user's answer to it. Any 16-bit value is stored unchecked.
class CResponses {
public:
    static constexpr int kSlots = 9;

    // Both throw std::out_of_range for a slot outside 0 to 8.
    // Inline: the data file reader and writer call them tens of millions of times.
    std::int16_t GetResponse(std::int16_t idx) const {
        CheckSlot(idx);
        return m_Values[static_cast<std::size_t>(idx)];
    }
    void SetResponse(std::int16_t idx, std::int16_t value) {
        CheckSlot(idx);
        m_Values[static_cast<std::size_t>(idx)] = value;
    }

private:
    static void CheckSlot(std::int16_t idx) {
        if (idx < 0 || idx >= kSlots) {
            throw std::out_of_range("response slot outside 0 to 8");
        }
    }

    std::array<std::int16_t, kSlots> m_Values{};
};

} // namespace kb
