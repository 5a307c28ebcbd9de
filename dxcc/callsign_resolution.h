#pragma once
// The answer of a callsign lookup: the entity's list line in the loaded DXCC list and, from it,
// the entity's numbers, zones and continent.

#include <cstdint>

namespace velmark {

// Lookup statuses.
inline constexpr std::uint8_t kResolveFound = 0;
inline constexpr std::uint8_t kResolveNoEntity = 1;
inline constexpr std::uint8_t kResolveExpired = 2;  // the prefix matched, every entry expired

struct CallsignResolution {
    std::uint8_t Status = kResolveNoEntity;
    std::int32_t ListLine = 0;   // 1..2999; 0 when no entity was determined
    std::int32_t FirstLine = 0;  // the entity's header line; 0 when no entity was determined
    std::int32_t ListNr = 0;
    std::int32_t AdifNr = 0;
    std::int32_t CqZone = 0;
    std::int32_t ItuZone = 0;
    std::int32_t Continent = 0;  // 1..7 in ContinentTable, 8 for an empty code

    bool operator==(const CallsignResolution&) const = default;
};

}  // namespace velmark
