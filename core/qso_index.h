#pragma once
// The in-memory index of a run: one small entry per QSO with the keys the sorts need and the
// QSO's place in TYM.LOG. Sorting permutes entries and never moves a record. 200,000 entries in
// 50 pages of 4000; pages are allocated when first used.

#include <array>
#include <cstdint>
#include <memory>

#include "core/fixed_text.h"

namespace velmark {

inline constexpr int kMaxQsos = 200000;
inline constexpr int kIndexPageSize = 4000;
inline constexpr int kIndexPageCount = 50;

struct QsoIndexEntry {
    FixedText<7> CallKey;   // first 7 characters of CALL
    FixedText<14> ViaKey;   // first 14 characters of the normalised QSL_VIA
    std::int32_t EntityListNr = 0;
    std::int32_t EntityAdifNr = 0;
    std::int32_t QsoNr = 0;  // the record in TYM.LOG is QsoNr - 1
};

struct IndexLocation {
    int Page;   // 1..50
    int Place;  // 1..4000
};

class QsoIndex {
public:
    QsoIndex();

    // Page and place of a position 1..200,000; throws std::out_of_range outside.
    static IndexLocation Locate(int position);

    // The entry at a position 1..200,000 (checked); every reader goes through these.
    QsoIndexEntry& At(int position);
    const QsoIndexEntry& At(int position) const;

    // A copy of the entry at a position, and its page and place.
    QsoIndexEntry GetIndexEntry(int position, IndexLocation* location = nullptr) const;

    // Drops every entry (all positions read as empty again).
    void Clear();

private:
    using Page = std::array<QsoIndexEntry, kIndexPageSize>;
    mutable std::array<std::unique_ptr<Page>, kIndexPageCount> m_pages;
    Page& page(int pageNumber) const;
};

}  // namespace velmark
