#pragma once
// The ADIF field catalogue: the program's list of log field names. Each entry's kind selects
// the field's slot in the QSO record; the entry also keeps the widest value seen (the TXT
// output's column width). 121 names are known from the start; 39 free entries are taken, in
// order, by names the logs bring. The catalogue lives as long as the program: names taken and
// widths raised stay for the following runs.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/one_based_array.h"

namespace velmark {

inline constexpr int kCatalogueSize = 160;
inline constexpr int kStandardFieldCount = 121;
inline constexpr int kFirstExtraKind = 121;  // kinds 121..159 hold fields the catalogue learnt
inline constexpr int kQsoNumKind = 117;      // QSO_NUM: the integer QsoNr, not a text slot
inline constexpr int kCallKind = 10;
inline constexpr int kQslViaKind = 79;
inline constexpr int kQsoDateKind = 81;
inline constexpr int kNoEntry = 0;  // RegisterField's "no entry"

struct CatalogueEntry {
    std::string Name;              // at most 35 characters; empty when the entry is free
    std::uint8_t Kind = 0;         // entry number - 1
    std::int32_t ColumnWidth = 0;  // widest value seen, never below 10 once measured; 0 before
};

// The fields a log has, in output order (part of the run state).
struct ColumnList {
    std::int32_t ColumnCount = 0;                  // 0..160
    OneBasedArray<std::uint8_t, 160> Positions{};  // catalogue entry of column k, 0 when unused
    std::string LastColumnName;                    // at most 30 characters
    std::int32_t CurrentEntry = 0;                 // entry being stored or written

    void Clear();
};

// Size of the QSO record text slot that a kind 0..159 selects (0 for kind 117, which is the
// integer QsoNr); throws std::out_of_range for any other kind.
int SlotSize(int kind);

class TStrukturaADIF {
  public:
    TStrukturaADIF();

    // Looks a field name up (exact, case-sensitive), taking the lowest free entry for a new
    // name, and enters it into the column list. Returns the entry number 1..160, or kNoEntry
    // for the ADIF record end ("EOR"/"eor") and when the catalogue is full (columns untouched).
    int RegisterField(std::string_view name, ColumnList& columns);

    // Entry number of a name, or kNoEntry; registers nothing.
    int FindField(std::string_view name) const;

    // The entry 1..160 (checked: std::out_of_range outside).
    const CatalogueEntry& Entry(int entryNumber) const { return m_entries[entryNumber]; }

    // Takes a measured value width: the stored width becomes max(stored, 10, width).
    void RaiseColumnWidth(int entryNumber, int width);

    // True when a name not yet known would find no free entry.
    bool IsFull() const;

  private:
    OneBasedArray<CatalogueEntry, kCatalogueSize> m_entries;
    // Puts an entry into the column list: its existing column, else the next free position.
    static void addColumn(int entryNumber, ColumnList& columns);
};

}  // namespace velmark
