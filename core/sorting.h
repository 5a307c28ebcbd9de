#pragma once
// Sorting of the QSO index for QSL printing: by the entity's place in the DXCC list, by ADIF
// entity number, or alphabetically by callsign (optionally by the QSL manager's callsign).
// The sorts permute whole index entries in memory; the records in TYM.LOG never move.
//
// The order that entries with equal keys are left in is part of the output: it decides which
// QSOs share a QSL card when a station has more QSOs than fit on one card. So the entity sorts
// and the group sort follow one particular quicksort scheme exactly, and the callsign sort
// reproduces the equal-key order of a plain exchange sort.

#include <string>
#include <string_view>

#include "core/qso_index.h"
#include "core/run_state.h"
#include "core/user_interface.h"

namespace velmark {

// The codes of the configured sort order.
inline constexpr int kOrderByListNr = 0;  // the entity's position in the DXCC list
inline constexpr int kOrderByAdifNr = 1;  // the ADIF entity number
inline constexpr int kOrderByCall = 2;    // alphabetical by callsign

// The orders that keep the QSOs of an entity together, in country groups.
inline constexpr bool IsEntityOrder(int order) {
    return order == kOrderByListNr || order == kOrderByAdifNr;
}

// What the sort shows the user, in the chosen language: the caption line while it works, and
// the question of the callsign order whether QSOs with a QSL manager go under the manager.
struct SortTexts {
    std::string Caption;
    std::string ManagerQuestion;
};

// Sorts index positions 1..QsoCount by the given order: shows the sorting caption, sets the
// progress bar to 0 and, for the callsign order, first asks whether QSOs with a QSL manager go
// under the manager's callsign. Any other order code leaves the index as it is.
void SortIndex(int order, RunState& run, const SortTexts& texts, UserInterface& ui);

// Ascending by EntityListNr (signed): QSOs without a callsign (0) first, unknown entities (998)
// and DIRECT routes (999) last. The order among equal numbers is the quicksort's own.
void SortByListNr(QsoIndex& index, int lo, int hi);

// Ascending by EntityAdifNr, like SortByListNr.
void SortByAdifNr(QsoIndex& index, int lo, int hi);

// Ascending by CallKey, equal CallKeys by QsoNr from the highest down (one country group).
void SortGroupByCall(QsoIndex& index, int lo, int hi);

// The callsign key of an entry: its ViaKey when sorting by manager and the entry has a QSL
// route, otherwise its CallKey.
std::string_view CallSortKey(const QsoIndexEntry& entry, bool useVia);

// Ascending by the callsign key, leaving entries with equal keys in exactly the order that the
// exchange sort (for i in lo..hi-1, for j in i+1..hi, exchange i and j when key(i) > key(j))
// leaves them in, but in O(n log n) time. Progress: after position i of the range is settled
// the bar shows i * 100 / hi rounded half to even (reported only when the value changes).
void ExchangeSortByCall(QsoIndex& index, int lo, int hi, bool useVia, UserInterface& ui);

// i * 100 / hi rounded to the nearest whole number, halves to the even one.
int ProgressPercent(int i, int hi);

}  // namespace velmark
