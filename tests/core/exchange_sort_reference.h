#pragma once
// Reference implementations written out step by step, for differential tests of the sorts: the
// exchange sort whose result the fast callsign sort must reproduce, and the index quicksort with
// both parts sorted by recursion. They work on a plain vector (element k is position k + 1) so
// that quadratic runs stay quick.

#include <string_view>
#include <utility>
#include <vector>

#include "core/qso_index.h"

namespace velmark::testing {

inline std::string_view ReferenceCallKey(const QsoIndexEntry& entry, bool useVia) {
    if (useVia && !entry.ViaKey.empty())
        return entry.ViaKey.view();
    return entry.CallKey.view();
}

// For i from lo to hi - 1, for j from i + 1 to hi: exchange i and j when key(i) > key(j).
// O(n^2): hours at 200,000 QSOs, which is why the program does not use it.
inline void LiteralExchangeSortByCall(std::vector<QsoIndexEntry>& entries, int lo, int hi,
                                      bool useVia) {
    for (int i = lo; i <= hi - 1; ++i) {
        for (int j = i + 1; j <= hi; ++j) {
            if (ReferenceCallKey(entries.at(i - 1), useVia) >
                ReferenceCallKey(entries.at(j - 1), useVia)) {
                std::swap(entries.at(i - 1), entries.at(j - 1));
            }
        }
    }
}

// The quicksort scheme with both parts sorted by recursion, left part first.
template <typename ComesBefore>
void RecursiveQuickSort(std::vector<QsoIndexEntry>& entries, int lo, int hi,
                        ComesBefore comesBefore) {
    auto at = [&entries](int position) -> QsoIndexEntry& { return entries.at(position - 1); };
    const QsoIndexEntry pivot = at((lo + hi) / 2);
    int i = lo;
    int j = hi;
    do {
        while (comesBefore(at(i), pivot)) ++i;
        while (comesBefore(pivot, at(j))) --j;
        if (i <= j) {
            std::swap(at(i), at(j));
            ++i;
            --j;
        }
    } while (i <= j);
    if (lo < j)
        RecursiveQuickSort(entries, lo, j, comesBefore);
    if (i < hi)
        RecursiveQuickSort(entries, i, hi, comesBefore);
}

}  // namespace velmark::testing
