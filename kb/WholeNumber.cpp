#include "kb/WholeNumber.h"

namespace kb {

namespace {
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
} // namespace

bool ToWholeNumber(std::string_view text, std::int16_t& value) {
    bool exact = true;
    return ToWholeNumber(text, value, exact);
}

bool ToWholeNumber(std::string_view text, std::int16_t& value, bool& exact) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }

    // Anything above this is out of range anyway; capping keeps huge texts from overflowing.
    constexpr long kCap = 100000;
    long whole = 0;
    std::size_t i = 0;
    bool anyDigit = false;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        anyDigit = true;
        if (whole < kCap) {
            whole = whole * 10 + (text[i] - '0');
        }
    }
    int firstFraction = -1;   // the first digit after the point, -1 when none
    bool restNonZero = false; // any non-zero digit after the first fractional one
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            anyDigit = true;
            if (firstFraction < 0) {
                firstFraction = text[i] - '0';
            } else if (text[i] != '0') {
                restNonZero = true;
            }
        }
    }
    if (!anyDigit || i != text.size()) {
        return false;
    }
    if (firstFraction > 5 || (firstFraction == 5 && (restNonZero || whole % 2 == 1))) {
        ++whole;
    }
    const long result = negative ? -whole : whole;
    if (result < -32768 || result > 32767) {
        return false;
    }
    value = static_cast<std::int16_t>(result);
    exact = firstFraction <= 0 && !restNonZero;
    return true;
}

} // namespace kb
