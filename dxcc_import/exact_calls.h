#pragma once
// Which exact calls ("=CALL" items) go into the list. The list holds 9000 prefix entries and the
// country file has far more exact calls than the plain prefixes leave room for, so only calls
// that the prefixes would resolve to another entity or other zones are candidates, ranked by how
// much they change:
//   1. calls that the prefixes give to another entity (or to none) and that have no "/": the
//      permanent stations, such as KC4AAA and KC4USV in Antarctica;
//   2. such calls with a "/", operations away from home;
//   3. calls that keep the entity but change the CQ zone, without and then with "/";
//   4. calls that change the ITU zone only, without and then with "/";
// within a rank, calls that take fewer entries first (a call with guards, below, costs their
// room too, and the room holds the most calls this way), then calls of entities with few such
// exceptions (one DXpedition call decides a rare entity, while the thousands of the big
// countries share what room is left), then file order.
//
// The list's lookup matches an exact entry as the beginning of the callsign: =4U1G also catches
// 4U1GSC, which belongs to another entity. A kept call therefore comes with what keeps it from
// sending longer calls astray:
//   - the longer exact calls of the file that it would otherwise catch wrongly;
//   - when an ordinary longer call can begin with it (no "/", fewer than three letters after
//     its last digit, as 4U1G or VY0A), guard entries for each letter that may follow and lead
//     to another entity (=4U1GA..=4U1GZ), answering what the prefixes answer, and for every
//     longer prefix of another entity below it; the guards are written as ranges.
// A call for which no such form exists (a guard would be longer than a lookup key) is left out;
// one whose guards do not fit the room left is passed over like any call that does not fit.

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "dxcc_import/country_file_resolver.h"
#include "dxcc_import/entity_folding.h"

namespace velmark::dxcc_import {

// What the list answers for a bare callsign from its plain prefixes alone; nothing for no entity.
using PrefixResolver = std::function<std::optional<Answer>(const std::string& callsign)>;

// True when an ordinary longer callsign can begin with this one: it has no "/" and fewer than
// three letters follow its last digit (4U1G, VY0A, EF6), while KC4AAA or DL0ABC/P cannot grow.
bool CanBeginLongerCall(const std::string& callsign);

// One text the list writes for a kept call: a file exact call or a guard entry.
struct WrittenEntry {
    std::string text;  // "=CALL"
    Answer answer;
    bool guard = false;  // not an exact call of the file

    friend bool operator==(const WrittenEntry&, const WrittenEntry&) = default;
};

struct ExactCallRanking {
    // Groups of entries, best first; a group is kept whole or not at all. Its first entry is the
    // needed exact call the group is for.
    std::vector<std::vector<WrittenEntry>> groups;
    int exactCallCount = 0;  // exact calls in the entities
    int neededCount = 0;     // those the prefixes resolve wrongly (usable or not)
    int redundantCount = 0;  // those the prefixes already resolve right
    int tooLongCount = 0;    // needed, but longer than a lookup key (16 with the "=")
    int noFormCount = 0;     // needed, but no guard keeps them from catching longer calls
};

// Ranks the exact calls of the entities as described above. prefixes: the plain prefixes of the
// list by their text, with what each answers (for the guards below a kept call).
ExactCallRanking RankExactCalls(const std::vector<ListEntity>& entities,
                                const PrefixResolver& byPrefixes,
                                const std::map<std::string, Answer>& prefixes);

struct ExactCallChoice {
    std::map<std::string, WrittenEntry> kept;  // by text
    int keptNeededCount = 0;                   // kept calls that the prefixes resolve wrongly
    int droppedCount = 0;                      // needed calls left out (no room, too long, no form)
    int keptExactCallCount = 0;                // kept entries that are exact calls of the file
    int guardCount = 0;                        // kept guard entries

    // True when an exact call of the file ("=CALL") is kept.
    bool keepsExactCall(const std::string& text) const {
        const auto found = kept.find(text);
        return found != kept.end() && !found->second.guard;
    }
    // The guard entries, in text order.
    std::vector<WrittenEntry> guards() const;
};

// Takes whole groups in ranking order while at most `capacity` entries are used; a group that
// does not fit is passed over for smaller ones after it.
ExactCallChoice TakeExactCalls(const ExactCallRanking& ranking, int capacity);

}  // namespace velmark::dxcc_import
