#pragma once
// Country groups of a sort by entity: runs of consecutive index positions with the same
// EntityListNr. The run driver builds them; COUNTRY.CSV is written from them.

#include <cstdint>

#include "core/fixed_text.h"
#include "core/one_based_array.h"

namespace velmark {

inline constexpr int kMaxCountryGroups = 600;

struct CountryGroup {
    std::int32_t FirstPos = 0;
    std::int32_t LastPos = 0;
    FixedText<16> FirstCall;
    FixedText<16> LastCall;
    std::int32_t EntityListNr = 0;
    std::int32_t EntityAdifNr = 0;
};

using CountryGroupTable = OneBasedArray<CountryGroup, kMaxCountryGroups>;

}  // namespace velmark
