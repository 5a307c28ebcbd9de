#pragma once
// Callsign lookup by the country file's own rules, the yardstick the generated list is measured
// against: a callsign that is listed as an exact call takes that entry's entity and zones;
// any other takes those of the longest listed prefix it begins with. Resolve reads a call with
// "/" as it stands (AF1R/KH6 by its prefix AF); ResolveWithDesignators first takes the part the
// program's own lookup searches (KH6), so that only the list's data are compared.

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "dxcc_import/entity_folding.h"

namespace velmark::dxcc_import {

// What a lookup tells about a callsign.
struct Answer {
    int adifNr = 0;
    int cqZone = 0;
    int ituZone = 0;

    friend bool operator==(const Answer&, const Answer&) = default;
};

// The entity number and zones an item stands for.
inline Answer AnswerOf(const CountryFileItem& item, const ListEntity& entity) {
    return {entity.adifNr, item.cqZone, item.ituZone};
}

class CountryFileResolver {
  public:
    // withExactCalls false: the prefixes alone, as if the file had no exact calls.
    explicit CountryFileResolver(const std::vector<ListEntity>& entities,
                                 bool withExactCalls = true);

    // The answer for a callsign, or nothing when no prefix fits.
    std::optional<Answer> Resolve(const std::string& callsign) const;
    std::optional<Answer> ResolveWithDesignators(const std::string& callsign) const;

  private:
    std::optional<Answer> longestPrefix(const std::string& callsign) const;

    std::unordered_map<std::string, Answer> m_exactCalls;
    std::unordered_map<std::string, Answer> m_prefixes;
    std::size_t m_longestPrefix = 0;
};

}  // namespace velmark::dxcc_import
