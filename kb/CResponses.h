#pragma once

#include <array>
#include <cstdint>

namespace kb {

// Nine answer levels, one per option slot: a record's answer to one question, or the
// end user's answer to it. Any 16-bit value is stored unchecked.
class CResponses {
public:
    static constexpr int kSlots = 9;

    // Both throw std::out_of_range for a slot outside 0 to 8.
    std::int16_t GetResponse(std::int16_t idx) const;
    void SetResponse(std::int16_t idx, std::int16_t value);

private:
    std::array<std::int16_t, kSlots> m_Values{};
};

} // namespace kb
