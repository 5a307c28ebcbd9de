#pragma once
// Number fields of the DXCC list and of QSO dates are read leniently: the decimal integer formed
// by the leading digits after optional blanks and an optional sign, 0 when there are no digits.
// Such a reading never fails, so a damaged field gives a wrong number rather than a stopped run.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

namespace velmark {

// The sign and digits that open a field after optional blanks. The magnitude stops growing
// just past the 32-bit range, which is all either reading below needs to know.
struct LeadingDigits {
    bool Negative = false;
    std::int64_t Magnitude = 0;
    std::size_t DigitCount = 0;
    std::size_t End = 0;  // position after the last digit
};

inline LeadingDigits ScanLeadingDigits(std::string_view field) {
    constexpr std::int64_t kCap = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 2;
    LeadingDigits digits;
    std::size_t position = 0;
    while (position < field.size() && field[position] == ' ') ++position;
    if (position < field.size() && (field[position] == '+' || field[position] == '-')) {
        digits.Negative = field[position] == '-';
        ++position;
    }
    for (; position < field.size() && field[position] >= '0' && field[position] <= '9';
         ++position) {
        digits.Magnitude = std::min(digits.Magnitude * 10 + (field[position] - '0'), kCap);
        ++digits.DigitCount;
    }
    digits.End = position;
    return digits;
}

// Reads the leading integer of a field; values beyond the 32-bit range are held at its limits.
inline std::int32_t ReadLeadingInteger(std::string_view field) {
    constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
    const LeadingDigits digits = ScanLeadingDigits(field);
    if (digits.Negative) {
        return static_cast<std::int32_t>(-std::min(digits.Magnitude, kLimit + 1));
    }
    return static_cast<std::int32_t>(std::min(digits.Magnitude, kLimit));
}

// True when the whole field is one decimal integer that fits 32 bits: optional leading blanks,
// an optional sign, then only digits.
inline bool IsWholeInteger(std::string_view field) {
    const LeadingDigits digits = ScanLeadingDigits(field);
    const std::int64_t limit =
        std::int64_t{std::numeric_limits<std::int32_t>::max()} + (digits.Negative ? 1 : 0);
    return digits.DigitCount > 0 && digits.End == field.size() && digits.Magnitude <= limit;
}

}  // namespace velmark
