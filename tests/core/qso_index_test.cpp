#include "core/qso_index.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "core/run_state.h"

namespace velmark {
namespace {

struct PagePlace {
    int position;
    int page;
    int place;
};

TEST(QsoIndex, PositionsFallIntoPagesOf4000) {
    const PagePlace cases[] = {
        {1, 1, 1}, {4000, 1, 4000}, {4001, 2, 1}, {8000, 2, 4000}, {200000, 50, 4000},
    };
    for (const PagePlace& c : cases) {
        const IndexLocation location = QsoIndex::Locate(c.position);
        EXPECT_EQ(location.Page, c.page) << c.position;
        EXPECT_EQ(location.Place, c.place) << c.position;
    }
}

TEST(QsoIndex, PositionsOutside1To200000AreRefused) {
    QsoIndex index;
    for (const int position : {-1, 0, 200001}) {
        EXPECT_THROW(QsoIndex::Locate(position), std::out_of_range) << position;
        EXPECT_THROW(index.At(position), std::out_of_range) << position;
        EXPECT_THROW(index.GetIndexEntry(position), std::out_of_range) << position;
    }
}

TEST(QsoIndex, EntriesOnEitherSideOfAPageBoundaryStaySeparate) {
    QsoIndex index;
    index.At(4000).QsoNr = 4000;
    index.At(4000).CallKey = "Q1AAA";
    index.At(4001).QsoNr = 4001;
    index.At(4001).ViaKey = "Q9ZZZ";
    index.At(200000).QsoNr = 200000;

    IndexLocation location{};
    const QsoIndexEntry entry = index.GetIndexEntry(4001, &location);
    EXPECT_EQ(entry.QsoNr, 4001);
    EXPECT_EQ(entry.ViaKey.view(), "Q9ZZZ");
    EXPECT_TRUE(entry.CallKey.empty());
    EXPECT_EQ(location.Page, 2);
    EXPECT_EQ(location.Place, 1);
    EXPECT_EQ(index.GetIndexEntry(4000).CallKey.view(), "Q1AAA");
    EXPECT_EQ(index.GetIndexEntry(200000).QsoNr, 200000);
    EXPECT_EQ(index.GetIndexEntry(100000).QsoNr, 0);  // an untouched page reads as empty

    index.Clear();
    EXPECT_EQ(index.GetIndexEntry(4001).QsoNr, 0);
    EXPECT_TRUE(index.GetIndexEntry(4000).CallKey.empty());
}

TEST(QsoIndex, CallKeyKeepsTheFirst7CharactersOfTheCallsign) {
    QsoIndexEntry a;
    QsoIndexEntry b;
    a.CallKey = "Q1ABCD/P";
    b.CallKey = "Q1ABCD/M";
    EXPECT_EQ(a.CallKey.view(), "Q1ABCD/");
    EXPECT_EQ(a.CallKey, b.CallKey);  // both stations sort as one key
    a.ViaKey = "Q1ABCDEFGHIJKLMNOP";
    EXPECT_EQ(a.ViaKey.view(), "Q1ABCDEFGHIJKL");
}

TEST(RunState, ANewRunStartsFromEmptyStructures) {
    RunState state;
    state.Index.At(1).QsoNr = 1;
    state.QsoCount = 12;
    state.CountryGroupCount = 3;
    state.UnknownCalls = "Q0XX,";
    state.Columns.ColumnCount = 2;
    state.Columns.Positions[1] = 11;
    state.Columns.Positions[2] = 82;
    state.Columns.LastColumnName = "QSO_DATE";
    state.Columns.CurrentEntry = 82;
    state.PreviousChar = ",";
    state.PushbackChar = 'x';

    state.ResetForNewRun();

    EXPECT_EQ(state.Index.GetIndexEntry(1).QsoNr, 0);
    EXPECT_EQ(state.QsoCount, 0);
    EXPECT_EQ(state.CountryGroupCount, 0);
    EXPECT_TRUE(state.UnknownCalls.empty());
    EXPECT_EQ(state.Columns.ColumnCount, 0);
    for (int k = 1; k <= kCatalogueSize; ++k) EXPECT_EQ(state.Columns.Positions[k], 0) << k;
    EXPECT_TRUE(state.Columns.LastColumnName.empty());
    EXPECT_EQ(state.Columns.CurrentEntry, 0);
    EXPECT_TRUE(state.PreviousChar.empty());
    EXPECT_EQ(state.PushbackChar, 0);
}

}  // namespace
}  // namespace velmark
