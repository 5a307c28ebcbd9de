#pragma once
// Archive bookmarks: COUNTRIS.CSV, one line per DXCC entity of the list, printed through a
// word processor's mail merge as dividers for the home QSL-card archive, in list order or in
// ADIF-number order; and COUNTRY.CSV, one line per entity present in a sorted log.
// Both files: every field in double quotes, "," between fields, texts written as stored (code
// page 1250, no escaping), CR LF line ends.

#include <memory>
#include <string>

#include "core/country_groups.h"
#include "core/program_values.h"
#include "core/user_interface.h"
#include "dxcc/dxcc_list.h"
#include "settings/text_table.h"

namespace velmark {

inline constexpr const char* kCountrisCsvFileName = "COUNTRIS.CSV";
inline constexpr const char* kCountryCsvFileName = "COUNTRY.CSV";

enum class BookmarkOrder {
    DxccList = 0,    // the order of DXCC.LST
    AdifNumber = 1,  // the order of the ADIF entity numbers
};

// Writes startDirectory/COUNTRIS.CSV from the country table in its current order, leaving out
// records without an ADIF number. Throws FileError on failure.
void WriteCountrisCsv(const TListaDXCC& list, const std::string& startDirectory);

// Reorders country records first..last by their ADIF number text.
void SortCountriesByAdif(TListaDXCC& list, int first, int last);

// Puts country records first..last back into list order (by their number text).
void SortCountriesByNr(TListaDXCC& list, int first, int last);

// The processing part of a bookmark command: loads the list when there is none (a list that
// fails to load is shown in an error box and released, so the next command reads the file
// again), orders the country table, writes COUNTRIS.CSV and says so in the message list.
// Returns true when the file was written. FileError from writing is left to the caller.
bool RunBookmarkCommand(std::unique_ptr<TListaDXCC>& list, BookmarkOrder order,
                        const TNazwyJezykowe& texts, UserInterface& ui, ProgramValues& values);

// The name of an entity by its list number, as COUNTRY.CSV writes it (at most 30 characters):
// from the first list line with that number; "COUNTRY NOT PRESENT" for 998, "DIRECT" for 999,
// empty when no line has the number (0, QSOs without a callsign).
std::string EntityNameOf(const TListaDXCC& list, std::int32_t listNr);

// Writes COUNTRY.CSV at path: one line per country group 1..groupCount, with the entity name
// and prefix texts from the list's lines. Throws FileError on failure.
void WriteCountryCsv(const std::string& path, const CountryGroupTable& groups, int groupCount,
                     const TListaDXCC& list);

}  // namespace velmark
