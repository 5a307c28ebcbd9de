#include "core/sorting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/exchange_sort_reference.h"
#include "support/scripted_user_interface.h"

namespace velmark {
namespace {

using testing::LiteralExchangeSortByCall;
using testing::RecursiveQuickSort;
using testing::ScriptedUserInterface;

QsoIndexEntry MakeEntry(int qsoNr, const std::string& call, const std::string& via = "",
                        int listNr = 0, int adifNr = 0) {
    QsoIndexEntry entry;
    entry.QsoNr = qsoNr;
    entry.CallKey = call;
    entry.ViaKey = via;
    entry.EntityListNr = listNr;
    entry.EntityAdifNr = adifNr;
    return entry;
}

// Entries with QsoNr 1, 2, 3, ... and the given callsigns.
std::vector<QsoIndexEntry> EntriesWithCalls(const std::vector<std::string>& calls) {
    std::vector<QsoIndexEntry> entries;
    for (const std::string& call : calls) {
        entries.push_back(MakeEntry(static_cast<int>(entries.size()) + 1, call));
    }
    return entries;
}

void Load(QsoIndex& index, const std::vector<QsoIndexEntry>& entries, int firstPosition = 1) {
    for (std::size_t k = 0; k < entries.size(); ++k) {
        index.At(firstPosition + static_cast<int>(k)) = entries[k];
    }
}

std::vector<int> QsoNrs(const QsoIndex& index, int lo, int hi) {
    std::vector<int> numbers;
    for (int position = lo; position <= hi; ++position) numbers.push_back(index.At(position).QsoNr);
    return numbers;
}

// --- the entity sorts: one quicksort scheme, its order among equal keys included ---

struct EntitySortCase {
    std::vector<int> keys;            // entity numbers of QSOs 1, 2, 3, ...
    std::vector<int> expectedQsoNrs;  // worked out by stepping through the scheme by hand
};

const EntitySortCase kEntitySortCases[] = {
    // Pivot 998 at position 3; the two QSOs of entity 1 (QSOs 2 and 5) come out 5 before 2.
    {{3, 1, 998, 0, 1}, {4, 5, 2, 1, 3}}, {{7, 7}, {2, 1}},           {{5, 5, 5}, {3, 2, 1}},
    {{4, 4, 4, 4}, {3, 4, 1, 2}},         {{999, 998, 0}, {3, 2, 1}}, {{42}, {1}},
};

TEST(EntitySorts, FollowTheQuicksortSchemeAmongEqualNumbers) {
    for (const EntitySortCase& test : kEntitySortCases) {
        const int n = static_cast<int>(test.keys.size());
        // The list sort looks only at EntityListNr and the ADIF sort only at EntityAdifNr: the
        // other number runs the opposite way and must not matter.
        std::vector<QsoIndexEntry> byList;
        std::vector<QsoIndexEntry> byAdif;
        for (int k = 0; k < n; ++k) {
            byList.push_back(MakeEntry(k + 1, "Q1A", "", test.keys[k], 1000 - test.keys[k]));
            byAdif.push_back(MakeEntry(k + 1, "Q1A", "", 1000 - test.keys[k], test.keys[k]));
        }
        QsoIndex index;
        Load(index, byList);
        SortByListNr(index, 1, n);
        EXPECT_EQ(QsoNrs(index, 1, n), test.expectedQsoNrs)
            << "list order, first key " << test.keys[0];
        Load(index, byAdif);
        SortByAdifNr(index, 1, n);
        EXPECT_EQ(QsoNrs(index, 1, n), test.expectedQsoNrs)
            << "ADIF order, first key " << test.keys[0];
    }
}

TEST(EntitySorts, SortOnlyTheirRange) {
    QsoIndex index;
    Load(index, {MakeEntry(1, "A", "", 9), MakeEntry(2, "B", "", 5), MakeEntry(3, "C", "", 3),
                 MakeEntry(4, "D", "", 1), MakeEntry(5, "E", "", 0)});
    SortByListNr(index, 2, 4);
    EXPECT_EQ(QsoNrs(index, 1, 5), (std::vector<int>{1, 4, 3, 2, 5}));
}

// The sorts loop on the larger part instead of recursing into it; that must not change the
// order among equal keys, so compare with the scheme sorting both parts by recursion.
TEST(EntitySorts, MatchTheFullyRecursiveSchemeOnRandomRanges) {
    std::mt19937 random(1234);
    const auto byList = [](const QsoIndexEntry& a, const QsoIndexEntry& b) {
        return a.EntityListNr < b.EntityListNr;
    };
    const auto byGroup = [](const QsoIndexEntry& a, const QsoIndexEntry& b) {
        return a.CallKey.view() < b.CallKey.view() ||
               (a.CallKey.view() == b.CallKey.view() && a.QsoNr > b.QsoNr);
    };
    QsoIndex index;
    for (int round = 0; round < 8000; ++round) {
        const bool large = round % 2000 == 0;
        const int n = large ? 9000 : 1 + static_cast<int>(random() % 40);
        const int distinct = 1 + static_cast<int>(random() % (large ? 30 : 6));
        std::vector<QsoIndexEntry> entries;
        for (int k = 1; k <= n; ++k) {
            const int key = static_cast<int>(random() % distinct);
            // Repeated QSO numbers make the group sort's keys tie too.
            entries.push_back(MakeEntry(1 + static_cast<int>(random() % (n / 2 + 1)),
                                        std::string(1, static_cast<char>('A' + key)), "", key));
        }
        const int lo = large ? 2500 : 1;  // the large ranges cross index pages
        const bool groupSort = round % 3 == 0;
        std::vector<QsoIndexEntry> expected = entries;
        Load(index, entries, lo);
        if (groupSort) {
            RecursiveQuickSort(expected, 1, n, byGroup);
            SortGroupByCall(index, lo, lo + n - 1);
        } else {
            RecursiveQuickSort(expected, 1, n, byList);
            SortByListNr(index, lo, lo + n - 1);
        }
        std::vector<QsoIndexEntry> actual;
        for (int p = lo; p < lo + n; ++p) actual.push_back(index.At(p));
        ASSERT_EQ(actual.size(), expected.size());
        for (int k = 0; k < n; ++k) {
            ASSERT_EQ(actual[k].QsoNr, expected[k].QsoNr) << "round " << round << " place " << k;
            ASSERT_EQ(actual[k].CallKey, expected[k].CallKey) << "round " << round;
            ASSERT_EQ(actual[k].EntityListNr, expected[k].EntityListNr) << "round " << round;
        }
    }
}

// --- the group sort ---

TEST(GroupSort, OrdersByCallsignThenByQsoNumberFromTheHighest) {
    struct Case {
        std::vector<QsoIndexEntry> entries;
        std::vector<int> expectedQsoNrs;
    };
    const Case cases[] = {
        {{MakeEntry(5, "Q1AA"), MakeEntry(9, "Q1AA")}, {9, 5}},
        // Byte order: capitals before small letters, no case folding.
        {{MakeEntry(1, "Q2B"), MakeEntry(2, "Q1A"), MakeEntry(3, "Q2B"), MakeEntry(4, "q1a"),
          MakeEntry(5, "Q1A")},
         {5, 2, 3, 1, 4}},
        // Bytes compare unsigned: the code page 1250 letter \xA5 comes after Z.
        {{MakeEntry(1, "Q1\xA5"), MakeEntry(2, "Q1Z"), MakeEntry(3, "Q1")}, {3, 2, 1}},
    };
    for (const Case& test : cases) {
        QsoIndex index;
        Load(index, test.entries, 7);
        const int hi = 7 + static_cast<int>(test.entries.size()) - 1;
        SortGroupByCall(index, 7, hi);
        EXPECT_EQ(QsoNrs(index, 7, hi), test.expectedQsoNrs);
    }
}

// --- the callsign sort ---

struct CallSortCase {
    std::vector<std::string> calls;  // QSOs 1, 2, 3, ...
    std::vector<int> expectedQsoNrs;
};

// Equal-key orders worked out by stepping through the exchange sort by hand.
const CallSortCase kCallSortCases[] = {
    {{"A", "A", "A"}, {1, 2, 3}},         {{"B", "B", "A"}, {3, 2, 1}},
    {{"B", "A", "B", "A"}, {2, 4, 3, 1}}, {{"A", "B", "A", "B"}, {1, 3, 2, 4}},
    {{"B", "B", "A", "A"}, {3, 4, 1, 2}}, {{"B", "B", "B", "A"}, {4, 2, 3, 1}},
    {{"C", "B", "A"}, {3, 2, 1}},         {{"Q1AAA", "Q1AA", "q1aaa"}, {2, 1, 3}},
    {{"Q1\xA5", "Q1Z", ""}, {3, 2, 1}},
};

TEST(CallsignSort, LeavesEqualKeysInTheExchangeSortOrder) {
    for (const CallSortCase& test : kCallSortCases) {
        QsoIndex index;
        const int n = static_cast<int>(test.calls.size());
        Load(index, EntriesWithCalls(test.calls));
        ScriptedUserInterface ui;
        ExchangeSortByCall(index, 1, n, false, ui);
        EXPECT_EQ(QsoNrs(index, 1, n), test.expectedQsoNrs) << test.calls[0] << test.calls[1];
    }
}

TEST(CallsignSort, ByManagerUsesTheRouteWhereThereIsOne) {
    const std::vector<QsoIndexEntry> entries = {
        MakeEntry(1, "Q2BBB"), MakeEntry(2, "Q9ZZZ", "Q1MGR"), MakeEntry(3, "Q5XX", "DIRECT"),
        MakeEntry(4, "DL1AA"), MakeEntry(5, "CT1A"),           MakeEntry(6, "Q3CC", "DIRECT Q7MGR"),
    };
    struct Case {
        bool useVia;
        std::vector<int> expectedQsoNrs;
    };
    // With the manager: CT1A, DIRECT, DIRECT Q7MGR, DL1AA, Q1MGR, Q2BBB.
    const Case cases[] = {{true, {5, 3, 6, 4, 2, 1}}, {false, {5, 4, 1, 6, 3, 2}}};
    for (const Case& test : cases) {
        QsoIndex index;
        Load(index, entries);
        ScriptedUserInterface ui;
        ExchangeSortByCall(index, 1, 6, test.useVia, ui);
        EXPECT_EQ(QsoNrs(index, 1, 6), test.expectedQsoNrs) << "useVia " << test.useVia;
    }
}

TEST(CallsignSort, ProgressFollowsTheSettledPositionsRoundedHalfToEven) {
    struct Case {
        int i, hi, percent;
    };
    const Case cases[] = {{1, 8, 12},     {3, 8, 38},      {5, 8, 62},  {7, 8, 88},
                          {2, 3, 67},     {1, 200, 0},     {3, 200, 2}, {199999, 200000, 100},
                          {1, 200000, 0}, {4000, 8000, 50}};
    for (const Case& test : cases) {
        EXPECT_EQ(ProgressPercent(test.i, test.hi), test.percent) << test.i << "/" << test.hi;
    }

    QsoIndex index;
    Load(index, EntriesWithCalls({"H", "G", "F", "E", "D", "C", "B", "A"}));
    ScriptedUserInterface ui;
    ExchangeSortByCall(index, 1, 8, false, ui);
    EXPECT_EQ(ui.progress, (std::vector<int>{12, 25, 38, 50, 62, 75, 88}));
    EXPECT_EQ(ui.eventPumps, 7);
}

TEST(CallsignSort, ReportsEachProgressValueOnceOnALargeRange) {
    std::vector<std::string> calls;
    for (int k = 0; k < 5000; ++k) calls.push_back(std::string("Q").append(std::to_string(k % 97)));
    QsoIndex index;
    Load(index, EntriesWithCalls(calls));
    ScriptedUserInterface ui;
    ExchangeSortByCall(index, 1, 5000, false, ui);
    ASSERT_EQ(ui.progress.size(), 101u);
    for (std::size_t k = 0; k < ui.progress.size(); ++k) EXPECT_EQ(ui.progress[k], int(k));
}

// The fast callsign sort on generated logs, against the exchange sort itself where it is quick
// enough: whole permutations compared.
class GeneratedCallsignSort : public ::testing::Test {
  protected:
    // Sorts m_entries at positions lo.. with both sorts and compares the outcome; the
    // neighbours of the range must stay where they are.
    void ExpectSameAsExchangeSort(int lo, bool useVia) {
        const int n = static_cast<int>(m_entries.size());
        const int hi = lo + n - 1;
        m_expected.assign(m_entries.begin(), m_entries.end());
        LiteralExchangeSortByCall(m_expected, 1, n, useVia);
        m_index.At(lo - 1) = MakeEntry(-1, "BEFORE");
        m_index.At(hi + 1) = MakeEntry(-2, "AFTER");
        Load(m_index, m_entries, lo);
        m_ui.progress.clear();
        ExchangeSortByCall(m_index, lo, hi, useVia, m_ui);
        for (int k = 0; k < n; ++k) {
            ASSERT_EQ(m_index.At(lo + k).QsoNr, m_expected[static_cast<std::size_t>(k)].QsoNr)
                << "place " << k + 1 << " of " << Describe(useVia);
        }
        ASSERT_EQ(m_index.At(lo - 1).QsoNr, -1) << Describe(useVia);
        ASSERT_EQ(m_index.At(hi + 1).QsoNr, -2) << Describe(useVia);
    }

    std::string Describe(bool useVia) const {
        std::string text = useVia ? "by manager:" : "by callsign:";
        for (const QsoIndexEntry& entry : m_entries) {
            text += " [" + std::string(CallSortKey(entry, useVia)) + "]";
        }
        return text;
    }

    // Random entries from a few stations, a quarter of them with a manager and a quarter
    // DIRECT, for sorting by callsign or by manager.
    void MakeRandomEntries(std::mt19937& random, int n, int stations) {
        static const FixedText<14> routes[] = {FixedText<14>{"Q0MGR"}, FixedText<14>{"Q1MGR"},
                                               FixedText<14>{"Q2MGR"}, FixedText<14>{"DIRECT"}};
        m_calls.clear();
        for (int station = 0; station < stations; ++station) {
            m_calls.emplace_back(std::string("Q").append(std::to_string(station)));
        }
        m_entries.resize(static_cast<std::size_t>(n));
        for (int k = 1; k <= n; ++k) {
            QsoIndexEntry& entry = m_entries[static_cast<std::size_t>(k - 1)];
            const unsigned station = random() % static_cast<unsigned>(stations);
            const unsigned route = random() % 4;
            entry = QsoIndexEntry{};
            entry.QsoNr = k;
            entry.CallKey = m_calls[station];
            if (route == 0)
                entry.ViaKey = routes[station % 3];
            if (route == 1)
                entry.ViaKey = routes[3];
        }
    }

    std::vector<QsoIndexEntry> m_entries;
    std::vector<QsoIndexEntry> m_expected;
    std::vector<FixedText<7>> m_calls;
    QsoIndex m_index;
    ScriptedUserInterface m_ui;
};

// Every array of up to 8 entries over three keys and of up to 7 over four: keys that begin
// other keys, an empty one (a QSO without a callsign) and one with a byte above 127.
TEST_F(GeneratedCallsignSort, AgreesOnEverySmallArray) {
    const std::string alphabet[] = {"Q1", "Q", "", "Q\xA5"};
    for (const int keyCount : {3, 4}) {
        const int longest = keyCount == 3 ? 8 : 7;
        for (int n = 1; n <= longest; ++n) {
            std::vector<int> digits(static_cast<std::size_t>(n), 0);
            for (bool more = true; more;) {
                m_entries.clear();
                for (const int digit : digits) {
                    m_entries.push_back(
                        MakeEntry(static_cast<int>(m_entries.size()) + 1, alphabet[digit]));
                }
                ExpectSameAsExchangeSort(2 + n % 2, false);
                if (HasFatalFailure())
                    return;
                // Next array: count up in base keyCount.
                std::size_t place = 0;
                while (place < digits.size() && ++digits[place] == keyCount) digits[place++] = 0;
                more = place < digits.size();
            }
        }
    }
}

TEST_F(GeneratedCallsignSort, AgreesOnRandomSmallArrays) {
    std::mt19937 random(5);
    for (int round = 0; round < 150000; ++round) {
        const int n = 2 + static_cast<int>(random() % 11);
        const int stations = 1 + static_cast<int>(random() % 5);
        const int lo = 2 + static_cast<int>(random() % 3);
        MakeRandomEntries(random, n, stations);
        ExpectSameAsExchangeSort(lo, random() % 2 == 0);
        if (HasFatalFailure())
            return;
    }
}

TEST_F(GeneratedCallsignSort, AgreesOnLargeArraysAcrossIndexPages) {
    std::mt19937 random(77);
    for (const int stations : {2, 40, 2000}) {
        for (const bool useVia : {false, true}) {
            MakeRandomEntries(random, 2000, stations);
            ExpectSameAsExchangeSort(3000, useVia);
            if (HasFatalFailure())
                return;
        }
    }
}

// At the index's full size only the key order and the permutation are checked: the exchange
// sort would take minutes.
TEST_F(GeneratedCallsignSort, SortsAFullIndexIntoKeyOrder) {
    std::mt19937 random(9);
    MakeRandomEntries(random, kMaxQsos, 20000);
    Load(m_index, m_entries);
    ExchangeSortByCall(m_index, 1, kMaxQsos, true, m_ui);
    std::vector<int> seen(kMaxQsos + 1, 0);
    for (int p = 1; p <= kMaxQsos; ++p) {
        ++seen.at(static_cast<std::size_t>(m_index.At(p).QsoNr));
        if (p > 1) {
            ASSERT_LE(CallSortKey(m_index.At(p - 1), true), CallSortKey(m_index.At(p), true)) << p;
        }
    }
    EXPECT_EQ(std::count(seen.begin() + 1, seen.end(), 1), kMaxQsos);
}

// --- the dispatch and the QSL-manager question ---

class SortIndexTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_run.QsoCount = 4;
        Load(m_run.Index, {MakeEntry(1, "Q4D", "", 30, 1), MakeEntry(2, "Q3C", "Q0MGR", 10, 4),
                           MakeEntry(3, "Q2B", "", 20, 3), MakeEntry(4, "Q1A", "", 998, 2)});
    }

    // Records where each box would appear.
    class PlacedUserInterface : public ScriptedUserInterface {
      public:
        std::vector<BoxOffset> warningOffsets;
        bool WarningBox(const std::string& text, BoxOffset offset) override {
            warningOffsets.push_back(offset);
            return ScriptedUserInterface::WarningBox(text, offset);
        }
    };

    const SortTexts m_texts{"Sort index QSO-s table", "Under the manager?\rDIRECT under D?"};
    RunState m_run;
    PlacedUserInterface m_ui;
};

TEST_F(SortIndexTest, SortsByTheConfiguredOrderAfterShowingTheCaption) {
    struct Case {
        int order;
        std::vector<int> expectedQsoNrs;
    };
    const Case cases[] = {{kOrderByListNr, {2, 3, 1, 4}}, {kOrderByAdifNr, {1, 4, 3, 2}}};
    for (const Case& test : cases) {
        SetUp();
        m_ui.captions.clear();
        m_ui.progress.clear();
        SortIndex(test.order, m_run, m_texts, m_ui);
        EXPECT_EQ(QsoNrs(m_run.Index, 1, 4), test.expectedQsoNrs) << "order " << test.order;
        EXPECT_EQ(m_ui.captions, std::vector<std::string>{"Sort index QSO-s table"});
        EXPECT_EQ(m_ui.progress, std::vector<int>{0});
        EXPECT_TRUE(m_ui.warningBoxes.empty());
    }
}

TEST_F(SortIndexTest, CallsignOrderAsksWhetherToFollowTheManager) {
    struct Case {
        bool answer;
        std::vector<int> expectedQsoNrs;
    };
    const Case cases[] = {{true, {2, 4, 3, 1}}, {false, {4, 3, 2, 1}}};
    for (const Case& test : cases) {
        SetUp();
        m_ui.warningBoxes.clear();
        m_ui.warningOffsets.clear();
        m_ui.warningAnswers = {test.answer};
        SortIndex(kOrderByCall, m_run, m_texts, m_ui);
        EXPECT_EQ(QsoNrs(m_run.Index, 1, 4), test.expectedQsoNrs) << "answer " << test.answer;
        ASSERT_EQ(m_ui.warningBoxes.size(), 1u);
        EXPECT_EQ(m_ui.warningBoxes[0], m_texts.ManagerQuestion);
        EXPECT_EQ(m_ui.warningOffsets, std::vector<BoxOffset>{BoxOffset::Near});
        EXPECT_EQ(m_ui.progress.front(), 0);
    }
}

TEST_F(SortIndexTest, UnknownOrderLeavesTheIndexAlone) {
    SortIndex(255, m_run, m_texts, m_ui);
    EXPECT_EQ(QsoNrs(m_run.Index, 1, 4), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(m_ui.warningBoxes.empty());
}

TEST_F(SortIndexTest, OneOrNoQsoIsLeftAloneByEveryOrder) {
    for (const int count : {0, 1}) {
        for (const int order : {kOrderByListNr, kOrderByAdifNr, kOrderByCall}) {
            m_run.QsoCount = count;
            m_ui.warningAnswers = {true};
            EXPECT_NO_THROW(SortIndex(order, m_run, m_texts, m_ui));
            EXPECT_EQ(QsoNrs(m_run.Index, 1, 4), (std::vector<int>{1, 2, 3, 4}));
        }
    }
}

}  // namespace
}  // namespace velmark
