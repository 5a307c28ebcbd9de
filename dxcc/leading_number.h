#pragma once
// Number fields of the DXCC list and of QSO dates are read leniently: the decimal integer formed
// by the leading digits after optional blanks and an optional sign, 0 when there are no digits.
// Such a reading never fails, so a damaged field gives a wrong number rather than a stopped run.

#include <cstdint>
#include <limits>
#include <string_view>

namespace velmark {

// Reads the leading integer of a field; values beyond the 32-bit range are held at its limits.
inline std::int32_t ReadLeadingInteger(std::string_view field) {
    std::size_t position = 0;
    while (position < field.size() && field[position] == ' ') ++position;
    bool negative = false;
    if (position < field.size() && (field[position] == '+' || field[position] == '-')) {
        negative = field[position] == '-';
        ++position;
    }
    constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (; position < field.size() && field[position] >= '0' && field[position] <= '9';
         ++position) {
        value = value * 10 + (field[position] - '0');
        if (value > kLimit)
            value = kLimit + 1;
    }
    if (negative)
        value = -value;
    if (value > kLimit)
        value = kLimit;
    return static_cast<std::int32_t>(value);
}

// True when the whole field is one decimal integer that fits 32 bits: optional leading blanks,
// an optional sign, then only digits.
inline bool IsWholeInteger(std::string_view field) {
    std::size_t position = 0;
    while (position < field.size() && field[position] == ' ') ++position;
    bool negative = false;
    if (position < field.size() && (field[position] == '+' || field[position] == '-')) {
        negative = field[position] == '-';
        ++position;
    }
    if (position == field.size())
        return false;
    const std::int64_t limit =
        std::int64_t{std::numeric_limits<std::int32_t>::max()} + (negative ? 1 : 0);
    std::int64_t value = 0;
    for (; position < field.size(); ++position) {
        if (field[position] < '0' || field[position] > '9')
            return false;
        value = value * 10 + (field[position] - '0');
        if (value > limit)
            return false;
    }
    return true;
}

}  // namespace velmark
