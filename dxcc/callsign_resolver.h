#pragma once
// Callsign resolution: the DXCC entity of a callsign on a date, found in the loaded list's
// sorted prefix table. The callsign is first searched as an exact call ("=" entries), then by
// its longest prefix, with rules for portable designators after "/", for Russian and Ukrainian
// calls whose entity depends on the call area, and "?" wildcard retries when nothing matches.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "dxcc/callsign_resolution.h"
#include "dxcc/dxcc_list.h"

namespace velmark {

// Lookup keys hold at most 16 characters; a longer text keeps its first 16.
inline constexpr std::size_t kLookupKeySize = 16;

// The entity of a callsign (at most 16 characters, compared byte for byte, so upper case is the
// caller's business) on the date given as a date value.
CallsignResolution ResolveCallsign(TListaDXCC& list, std::string_view callsign, double dateValue);

// One lookup pass. exact: the key is an exact-call key ("=" and the callsign), for which the
// portable designator rules do not apply. A key equal to the previous one (on the same date) is
// answered from the list's memory of the previous lookup.
CallsignResolution LookupKey(TListaDXCC& list, std::string_view key, double dateValue, bool exact);

// The part of a callsign that the prefix search looks at: the whole callsign without "/"; with
// "/", the prefix before the call (QA/QB1ABC gives QA) or, after the call, the designator unless
// it says nothing about the place (QB1ABC/P, QB1ABC/4 give QB1ABC; QB1ABC/QC3 gives QC3).
std::string SearchedPart(std::string_view callsign);

struct PrefixSearchResult {
    std::uint8_t Status = kResolveNoEntity;
    std::int32_t ListLine = 0;
    std::int32_t FirstLine = 0;
    int ChosenEntry = 0;           // the prefix entry that decided, 0 when none
    int StopEntry = 0;             // the entry at which the choice among equal prefixes stopped
    std::string LastExaminedText;  // the entry text compared last (without its "*")
    bool SeveralEntries = false;   // equal prefixes, and no single entry could be chosen
};

// Searches the prefix table for the longest entry that begins key. savedKey is the whole key
// before a portable designator was cut off; entries with "*" compare against it.
PrefixSearchResult SearchPrefixTable(const TListaDXCC& list, std::string_view key,
                                     std::string_view savedKey, double dateValue);

}  // namespace velmark
