#include "core/sorting.h"

#include <algorithm>
#include <compare>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace velmark {
namespace {

// The one quicksort scheme of the index sorts. The pivot is a copy of the middle entry taken
// before anything moves; i and j close in from both ends and exchange entries that stand on the
// wrong side, equal ones included. The two parts left over (lo..j and i..hi) do not overlap, so
// sorting the smaller one by recursion and the larger one in the loop gives the same order as
// sorting both by recursion, with a recursion depth of at most log2 n.
template <typename ComesBefore>
void quickSort(QsoIndex& index, int lo, int hi, ComesBefore comesBefore) {
    while (lo < hi) {
        const QsoIndexEntry pivot = index.At((lo + hi) / 2);
        int i = lo;
        int j = hi;
        do {
            while (comesBefore(index.At(i), pivot)) ++i;
            while (comesBefore(pivot, index.At(j))) --j;
            if (i <= j) {
                std::swap(index.At(i), index.At(j));
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - lo < hi - i) {
            if (lo < j)
                quickSort(index, lo, j, comesBefore);
            lo = i;
        } else {
            if (i < hi)
                quickSort(index, i, hi, comesBefore);
            hi = j;
        }
    }
}

// A callsign key of at most 14 bytes packed into two integers whose order is the byte order of
// the texts: the bytes big-endian and zero-padded, then the length in the lowest byte. Equal
// padded bytes mean that one text begins the other (or both are equal), and the shorter one
// comes first, as the length byte says.
struct PackedKey {
    std::uint64_t head = 0;  // bytes 1..8
    std::uint64_t tail = 0;  // bytes 9..14, then the length
    auto operator<=>(const PackedKey&) const = default;
};

static_assert(decltype(QsoIndexEntry::ViaKey)::capacity() <= 14 &&
                  decltype(QsoIndexEntry::CallKey)::capacity() <= 14,
              "a packed key holds at most 14 bytes");

PackedKey packKey(std::string_view key) {
    PackedKey packed;
    for (std::size_t k = 0; k < 8; ++k) {
        const std::uint64_t byte = k < key.size() ? static_cast<unsigned char>(key[k]) : 0;
        packed.head = (packed.head << 8) | byte;
    }
    for (std::size_t k = 8; k < 14; ++k) {
        const std::uint64_t byte = k < key.size() ? static_cast<unsigned char>(key[k]) : 0;
        packed.tail = (packed.tail << 8) | byte;
    }
    packed.tail = (packed.tail << 8) | key.size();
    return packed;
}

// Counts over positions 1..size with prefix sums and selection by rank, each in O(log size).
class FenwickTree {
  public:
    // Every position holds 0.
    void ResetToZeros(int size) { m_tree.assign(static_cast<std::size_t>(size) + 1, 0); }

    // Every position holds 1 (built in linear time: node p covers lowbit(p) positions).
    void ResetToOnes(int size) {
        m_tree.resize(static_cast<std::size_t>(size) + 1);
        for (int p = 1; p <= size; ++p) m_tree[p] = p & -p;
    }

    void Add(int position, int delta) {
        const int size = static_cast<int>(m_tree.size()) - 1;
        for (int p = position; p <= size; p += p & -p) m_tree[p] += delta;
    }

    // Sum of positions 1..position.
    int PrefixSum(int position) const {
        int sum = 0;
        for (int p = position; p > 0; p -= p & -p) sum += m_tree[p];
        return sum;
    }

    // The smallest position whose prefix sum reaches rank (1-based); the counts must be 0 or 1.
    int FindByRank(int rank) const {
        const int size = static_cast<int>(m_tree.size()) - 1;
        int step = 1;
        while (step * 2 <= size) step *= 2;
        int position = 0;
        for (; step > 0; step /= 2) {
            if (position + step <= size && m_tree[position + step] < rank) {
                position += step;
                rank -= m_tree[position];
            }
        }
        return position + 1;
    }

  private:
    std::vector<int> m_tree;
};

struct KeyedOffset {
    PackedKey key;
    int offset;  // 1-based place in the range before sorting
    auto operator<=>(const KeyedOffset&) const = default;
};

// The order in which the exchange sort leaves the entries of one key w.
//
// The exchange sort never exchanges two entries of w with each other. An entry of w moves only
// when it stands at the pass position and a later entry with a smaller key is met: it jumps to
// that entry's place, past the entries of w in between. So the order of the w entries changes by
// rotations only, and how far each one turns depends on how many smaller-keyed entries lie
// between consecutive w entries. In closed form: with the w entries at offsets e1 < ... < em
// and c_t the number of smaller-keyed entries strictly between e_t and e_(t+1) (for t = m: after
// e_m to the end of the range), start from an empty list B and for t = 1..m append e_t, then
// rotate B left by c_t mod t. B is the final order. (The tests check this against the exchange
// sort itself, exhaustively on small ranges and at random on large ones.)
//
// B is built here backwards in O(m log m): the final B is m slots; undoing the last rotation
// shows where e_m stands, and removing it leaves B of the step before as the remaining slots
// read cyclically from just after e_m's slot. The free slots are kept in a Fenwick tree so that
// the slot of a given cyclic rank is found by selection.
void orderEqualKeyEntries(std::span<const int> offsets, std::span<const int> rotations,
                          FenwickTree& freeSlots, std::span<int> finalOrder) {
    const int m = static_cast<int>(offsets.size());
    freeSlots.ResetToOnes(m);
    int start = 0;  // rank (0-based) among the free slots at which the current B begins
    for (int t = m; t >= 1; --t) {
        const int rank = (start + t - 1 - rotations[t - 1]) % t;
        const int slot = freeSlots.FindByRank(rank + 1);
        freeSlots.Add(slot, -1);
        finalOrder[slot - 1] = offsets[t - 1];
        start = t > 1 ? rank % (t - 1) : 0;
    }
}

// The final order of the range as 1-based offsets into it: keys ascending, each key's entries in
// the exchange sort's order.
std::vector<int> exchangeSortOrder(const std::vector<PackedKey>& keys) {
    const int n = static_cast<int>(keys.size());
    std::vector<KeyedOffset> byKey(keys.size());
    for (int k = 0; k < n; ++k) byKey[k] = {keys[k], k + 1};
    std::sort(byKey.begin(), byKey.end());

    std::vector<int> finalOrder(keys.size());
    FenwickTree smallerKeyed;  // offsets of entries with a key smaller than the current one
    smallerKeyed.ResetToZeros(n);
    FenwickTree freeSlots;
    std::vector<int> offsets;
    std::vector<int> rotations;
    for (int first = 0; first < n;) {
        int last = first;
        while (last + 1 < n && byKey[last + 1].key == byKey[first].key) ++last;
        const int m = last - first + 1;
        offsets.resize(m);
        rotations.resize(m);
        for (int t = 1; t <= m; ++t) offsets[t - 1] = byKey[first + t - 1].offset;
        for (int t = 1; t <= m; ++t) {
            const int upTo = t < m ? offsets[t] - 1 : n;
            const int between =
                smallerKeyed.PrefixSum(upTo) - smallerKeyed.PrefixSum(offsets[t - 1]);
            rotations[t - 1] = between % t;
        }
        orderEqualKeyEntries(offsets, rotations, freeSlots,
                             std::span<int>(finalOrder).subspan(first, m));
        for (const int offset : offsets) smallerKeyed.Add(offset, 1);
        first = last + 1;
    }
    return finalOrder;
}

}  // namespace

void SortIndex(int order, RunState& run, const SortTexts& texts, UserInterface& ui) {
    ui.SetCaption(texts.Caption);
    ui.SetProgress(0);
    switch (order) {
        case kOrderByListNr:
            SortByListNr(run.Index, 1, run.QsoCount);
            break;
        case kOrderByAdifNr:
            SortByAdifNr(run.Index, 1, run.QsoCount);
            break;
        case kOrderByCall: {
            // A route DIRECT files under D, since its ViaKey begins with DIRECT.
            const bool useVia = ui.WarningBox(texts.ManagerQuestion, BoxOffset::Near);
            ExchangeSortByCall(run.Index, 1, run.QsoCount, useVia, ui);
            break;
        }
        default:
            break;
    }
}

void SortByListNr(QsoIndex& index, int lo, int hi) {
    quickSort(index, lo, hi, [](const QsoIndexEntry& a, const QsoIndexEntry& b) {
        return a.EntityListNr < b.EntityListNr;
    });
}

void SortByAdifNr(QsoIndex& index, int lo, int hi) {
    quickSort(index, lo, hi, [](const QsoIndexEntry& a, const QsoIndexEntry& b) {
        return a.EntityAdifNr < b.EntityAdifNr;
    });
}

void SortGroupByCall(QsoIndex& index, int lo, int hi) {
    quickSort(index, lo, hi, [](const QsoIndexEntry& a, const QsoIndexEntry& b) {
        const auto order = a.CallKey.view() <=> b.CallKey.view();
        return order < 0 || (order == 0 && a.QsoNr > b.QsoNr);
    });
}

std::string_view CallSortKey(const QsoIndexEntry& entry, bool useVia) {
    return useVia && !entry.ViaKey.empty() ? entry.ViaKey.view() : entry.CallKey.view();
}

void ExchangeSortByCall(QsoIndex& index, int lo, int hi, bool useVia, UserInterface& ui) {
    if (lo >= hi)
        return;
    std::vector<QsoIndexEntry> entries;
    std::vector<PackedKey> keys;
    entries.reserve(static_cast<std::size_t>(hi - lo) + 1);
    keys.reserve(entries.capacity());
    for (int position = lo; position <= hi; ++position) {
        entries.push_back(index.At(position));
        keys.push_back(packKey(CallSortKey(entries.back(), useVia)));
    }
    const std::vector<int> finalOrder = exchangeSortOrder(keys);

    int shown = -1;
    for (int position = lo; position <= hi; ++position) {
        index.At(position) = entries[finalOrder[position - lo] - 1];
        if (position == hi)
            break;
        const int percent = ProgressPercent(position, hi);
        if (percent != shown) {
            shown = percent;
            ui.SetProgress(percent);
            ui.ProcessEvents();
        }
    }
}

int ProgressPercent(int i, int hi) {
    const std::int64_t scaled = static_cast<std::int64_t>(i) * 100;
    std::int64_t percent = scaled / hi;
    const std::int64_t twiceRemainder = 2 * (scaled % hi);
    if (twiceRemainder > hi || (twiceRemainder == hi && percent % 2 != 0))
        ++percent;
    return static_cast<int>(percent);
}

}  // namespace velmark
