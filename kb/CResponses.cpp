#include "kb/CResponses.h"

#include <stdexcept>

namespace kb {

namespace {
void CheckSlot(std::int16_t idx) {
    if (idx < 0 || idx >= CResponses::kSlots) {
        throw std::out_of_range("response slot outside 0 to 8");
    }
}
} // namespace

std::int16_t CResponses::GetResponse(std::int16_t idx) const {
    CheckSlot(idx);
    return m_Values[static_cast<std::size_t>(idx)];
}

void CResponses::SetResponse(std::int16_t idx, std::int16_t value) {
    CheckSlot(idx);
    m_Values[static_cast<std::size_t>(idx)] = value;
}

} // namespace kb
