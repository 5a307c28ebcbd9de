#pragma once
// Which exact calls ("=CALL" items) go into the list. The list holds 9000 prefix entries and the
// country file has far more exact calls than the plain prefixes leave room for, so only calls
// that the prefixes would resolve to another entity or other zones are candidates, and of those
// the ones that matter most come first:
//   1. calls that the prefixes would give to another entity before calls that only change zones;
//   2. calls of entities with few such exceptions first: one DXpedition call decides a rare
//      entity, while the thousands of the big countries share what room is left;
//   3. then file order.
// The list's lookup matches an exact entry as the beginning of the callsign ("=K1A" also
// catches K1AB), so a kept call comes together with the longer exact calls it would otherwise
// send astray.

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "dxcc_import/country_file_resolver.h"
#include "dxcc_import/entity_folding.h"

namespace velmark::dxcc_import {

// What the list answers for a bare callsign from its plain prefixes alone; nothing for no entity.
using PrefixResolver = std::function<std::optional<Answer>(const std::string& callsign)>;

struct ExactCallRanking {
    // Groups of exact-call texts ("=CALL"), best first; a group is kept whole or not at all.
    std::vector<std::vector<std::string>> groups;
    int exactCallCount = 0;  // exact calls in the entities
    int neededCount = 0;     // those the prefixes resolve wrongly (usable or not)
    int redundantCount = 0;  // those the prefixes already resolve right
    int tooLongCount = 0;    // needed, but longer than a lookup key (16 with the "=")
};

// Ranks the exact calls of the entities as described above.
ExactCallRanking RankExactCalls(const std::vector<ListEntity>& entities,
                                const PrefixResolver& byPrefixes);

struct ExactCallChoice {
    std::set<std::string> kept;  // exact-call texts "=CALL"
    int keptNeededCount = 0;     // kept calls that the prefixes resolve wrongly
    int droppedCount = 0;        // needed calls left out (no room, or too long)
};

// Takes whole groups in ranking order while at most `capacity` entries are used; a group that
// does not fit is passed over for smaller ones after it.
ExactCallChoice TakeExactCalls(const ExactCallRanking& ranking, int capacity);

}  // namespace velmark::dxcc_import
