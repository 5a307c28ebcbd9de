#pragma once
// The loaded DXCC entity list: one country record per entity, the list lines (an entity under
// one pair of zones and one pair of validity dates), the sorted prefix table that callsign
// lookups search, and the continent codes. The same object also holds the state of a sort or
// translation run, since both live from the command that loads the list to the run's finish.
// The object is large: create it on the heap (std::make_unique<TListaDXCC>()).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/one_based_array.h"
#include "core/run_state.h"
#include "dxcc/callsign_resolution.h"

namespace velmark {

inline constexpr int kMaxCountries = 600;
inline constexpr int kListLineSlots = 3000;
// The slot after the last used list line stays empty as an end mark, so one slot fewer is usable.
inline constexpr int kMaxListLines = kListLineSlots - 1;
inline constexpr int kMaxPrefixEntries = 9000;
inline constexpr int kContinentSlots = 8;  // seven codes and an empty slot
// Every prefix entry applies up to this date value (1 January 9999).
inline constexpr double kValidForever = 9999.0;

// Capacities of the bounded text fields.
inline constexpr std::size_t kCountryNrSize = 4;
inline constexpr std::size_t kNameSize = 41;
inline constexpr std::size_t kCountryAdifSize = 4;
inline constexpr std::size_t kPrefixTextSize = 40;
inline constexpr std::size_t kContinentSize = 2;
inline constexpr std::size_t kDateTextSize = 10;

// One entity as the bookmark lists print it.
struct TypRecordu_CSV {
    std::string CountryNr;        // the record's number in three digits, "001"
    std::string CountryName;      // processed name from the header line, at most 41
    std::string CountryAdif;      // columns 87-89 of the header line as they stand
    std::string CountryPrefixes;  // the entity's prefix items, each after one blank
};

// One entity under one pair of zones and one pair of validity dates.
struct ListLine {
    std::int32_t FirstLine = 0;  // the list line opened by the entity's header line
    std::string PrefixText;      // the items of this line joined with ",", at most 40
    std::string LineName;        // entity name, at most 41
    std::string Continent;       // code from the header line, at most 2
    std::uint8_t CqZone = 0;
    std::uint8_t ItuZone = 0;
    std::int32_t AdifNr = 0;
    std::int32_t ListNr = 0;  // the entity's record in the country table
    std::string ValidFrom;    // as written, at most 10
    std::string ValidTo;      // as written, at most 10
};

// One prefix, an exact callsign ("=" first) or a wildcard pattern ("*", "?").
struct PrefixEntry {
    std::string PrefixText;
    std::int32_t ListLine = 0;
    double ValidUntil = 0.0;  // the date value up to which the entry applies
};

using TabUpo = OneBasedArray<PrefixEntry, kMaxPrefixEntries>;

// What the resolver remembers of its previous lookup, so that a repeated key is answered at
// once (a log often has several QSOs in a row with the same station).
struct ResolverMemory {
    std::optional<std::string> LastKey;  // empty until the first lookup
    double LastDate = 0.0;
    CallsignResolution LastResult;
    // Element i: how many of the prefix entries 1..i contain "*". Built by the first lookup
    // after a load; a stretch of the table without such entries is searched by bisection.
    std::vector<std::int32_t> StarEntriesUpTo;
    // Built with StarEntriesUpTo: true when no entry can begin a key that starts with "=" and
    // has "?" as its 2nd or 3rd character (no "*" entries, no empty entry, and every entry
    // beginning with "=" is at least 3 characters long without "?"). Then the retries with "?"
    // of an exact-call lookup that found nothing cannot find anything either, and are skipped:
    // they were three of the five table searches of nearly every QSO.
    bool ExactRetriesFindNothing = false;
};

class TListaDXCC {
  public:
    OneBasedArray<TypRecordu_CSV, kMaxCountries> CountryTable;
    OneBasedArray<ListLine, kListLineSlots> ListLineTable;
    TabUpo PrefixTable;  // entries 1..PrefixCount, sorted by PrefixText after loading
    OneBasedArray<std::string, kContinentSlots> ContinentTable;

    std::int32_t CountryCount = 0;
    std::int32_t ListLineCount = 0;
    std::int32_t PrefixCount = 0;
    std::int32_t DeletedCount = 0;  // entities whose name contains "DELETED"

    ResolverMemory Resolver;

    // The state of the current sort or translation run.
    RunState Run;
};

}  // namespace velmark
