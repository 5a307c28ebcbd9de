#pragma once
// Lays the entities out as DXCC.LST lines. A header line per entity: name in columns 1-35,
// CQ zone in 36-37, ITU zone in 41-42, continent in 46-47, entity number right-aligned in
// 87-89. Then prefix lines: two blanks and comma-separated items, at most 90 columns, an item's
// zones written as "(n)" and "[n]" where they differ from the header's.
//
// The loader opens a new list line whenever an item's zones differ from the previous item's
// and whenever a line's prefix text would pass 40 characters; the list holds 2999 list lines
// and 9000 prefix entries in all. Items are therefore written grouped by zones, the header's
// own zones first, so every zone pair costs one list line per entity instead of one per change.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "dxcc/dxcc_list.h"
#include "dxcc_import/entity_folding.h"
#include "dxcc_import/exact_calls.h"

namespace velmark::dxcc_import {

inline constexpr std::size_t kNameWidth = 35;
inline constexpr std::size_t kPrefixLineWidth = 90;

// The name as the list writes it: upper case, at most 35 characters.
std::string ListName(const ListEntity& entity);

// The entity's header line (trailing blanks removed).
std::string HeaderLine(const ListEntity& entity);

// An item as written on a prefix line: its text and the zones that differ from the header's.
std::string ItemText(const CountryFileItem& item, const ListEntity& entity);

// The items in writing order: grouped by zone pair, the header's pair first, the other pairs in
// the order they first occur; within a group the items keep their order.
std::vector<CountryFileItem> OrderByZones(const ListEntity& entity,
                                          const std::vector<CountryFileItem>& items);

// Packs written items into prefix lines of at most 90 columns.
std::vector<std::string> PrefixLines(const std::vector<std::string>& itemTexts);

// How many list lines the loader makes of one entity written in this item order (the item texts
// as written, without zone marks).
int CountListLines(const ListEntity& entity, const std::vector<CountryFileItem>& orderedItems);

struct ListLayout {
    std::vector<std::string> lines;  // without line ends
    int entityCount = 0;
    int listLineCount = 0;
    int prefixEntryCount = 0;
};

// Writes runs of three or more guard entries that differ only in a last letter or digit that
// counts up (=4U1GA, =4U1GB, ... =4U1GZ) as one range item "=4U1GA..=4U1GZ", which the loader
// expands again. Items keep their order; the result holds the written texts and how many
// prefix entries each gives.
struct WrittenItem {
    CountryFileItem item;  // text as written ("=4U1GA..=4U1GZ" for a range), with its zones
    int entryCount = 1;
};
std::vector<WrittenItem> JoinGuardRanges(const std::vector<CountryFileItem>& items,
                                         const std::vector<bool>& isGuard);

// Lays out every entity with its plain prefixes, the exact calls that keepExactCall accepts
// (given the item text "=CALL") and the guard entries, each written in the entity of its answer
// after the entity's own items. Throws CountryFileError for a name the list cannot carry.
ListLayout LayOutList(const std::vector<ListEntity>& entities,
                      const std::function<bool(const std::string&)>& keepExactCall,
                      const std::vector<WrittenEntry>& guards = {});

// The file's bytes: an optional leading comment line ("{" added), then the lines, all ended by
// CR LF.
std::string ListFileText(const ListLayout& layout, const std::string& comment);

}  // namespace velmark::dxcc_import
