#include "core/field_catalogue.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace velmark {
namespace {

struct KnownName {
    const char* name;
    int entry;
    int slotSize;
};

// Names whose place or spelling the writers and readers rely on.
const KnownName kKnownNames[] = {
    {"ADDRESS", 1, 100},   {"CALL", 11, 16},      {"CLASS_", 13, 5},     {"COMMENT", 15, 70},
    {"EMAIL", 23, 30},     {"MODE", 43, 10},      {"QSL_VIA", 80, 65},   {"QSO_DATE", 82, 11},
    {"eQSL_SENT", 114, 1}, {"eQSL_RCVD", 115, 1}, {"LOTW_RCVD", 117, 1}, {"QSO_NUM", 118, 0},
    {"USER_1", 119, 15},   {"USER_3", 121, 15},
};

TEST(FieldCatalogue, StandardNamesHaveTheirEntriesKindsAndSlotSizes) {
    const TStrukturaADIF catalogue;
    for (const KnownName& known : kKnownNames) {
        SCOPED_TRACE(known.name);
        EXPECT_EQ(catalogue.FindField(known.name), known.entry);
        EXPECT_EQ(catalogue.Entry(known.entry).Name, known.name);
        EXPECT_EQ(SlotSize(known.entry - 1), known.slotSize);
    }
}

TEST(FieldCatalogue, EveryEntryHasKindEntryMinusOneAndStartsWithoutWidth) {
    const TStrukturaADIF catalogue;
    for (int entry = 1; entry <= kCatalogueSize; ++entry) {
        EXPECT_EQ(catalogue.Entry(entry).Kind, entry - 1);
        EXPECT_EQ(catalogue.Entry(entry).ColumnWidth, 0);
        EXPECT_EQ(catalogue.Entry(entry).Name.empty(), entry > kStandardFieldCount) << entry;
    }
    EXPECT_FALSE(catalogue.IsFull());
    EXPECT_THROW(catalogue.Entry(0), std::out_of_range);
    EXPECT_THROW(catalogue.Entry(161), std::out_of_range);
}

TEST(FieldCatalogue, LearntKindsHaveSlotsOf15AndOtherKindsAreRefused) {
    for (int kind = kFirstExtraKind; kind < kCatalogueSize; ++kind) EXPECT_EQ(SlotSize(kind), 15);
    EXPECT_THROW(SlotSize(-1), std::out_of_range);
    EXPECT_THROW(SlotSize(160), std::out_of_range);
}

TEST(FieldCatalogue, FieldsTakeColumnsInTheOrderFirstMet) {
    TStrukturaADIF catalogue;
    ColumnList columns;
    EXPECT_EQ(catalogue.RegisterField("CALL", columns), 11);
    EXPECT_EQ(catalogue.RegisterField("QSO_DATE", columns), 82);
    EXPECT_EQ(catalogue.RegisterField("CALL", columns), 11);  // the next record: same column
    EXPECT_EQ(catalogue.RegisterField("QSO_DATE", columns), 82);
    // A field that the first records lacked gets the next column when it is first met.
    EXPECT_EQ(catalogue.RegisterField("MODE", columns), 43);
    EXPECT_EQ(columns.ColumnCount, 3);
    EXPECT_EQ(columns.Positions[1], 11);
    EXPECT_EQ(columns.Positions[2], 82);
    EXPECT_EQ(columns.Positions[3], 43);
    EXPECT_EQ(columns.Positions[4], 0);
}

TEST(FieldCatalogue, NamesAreComparedCaseSensitively) {
    TStrukturaADIF catalogue;
    ColumnList columns;
    const int entry = catalogue.RegisterField("call", columns);
    EXPECT_EQ(entry, 122);
    EXPECT_EQ(catalogue.Entry(entry).Kind, 121);
    EXPECT_EQ(catalogue.Entry(entry).Name, "call");
    EXPECT_EQ(catalogue.FindField("CALL"), 11);
    EXPECT_EQ(catalogue.RegisterField("call", columns), 122);
}

TEST(FieldCatalogue, ClassWithoutUnderscoreIsANewName) {
    TStrukturaADIF catalogue;
    ColumnList columns;
    EXPECT_EQ(catalogue.FindField("CLASS"), kNoEntry);
    EXPECT_EQ(catalogue.RegisterField("CLASS_", columns), 13);
    EXPECT_EQ(catalogue.RegisterField("CLASS", columns), 122);
}

TEST(FieldCatalogue, RecordEndIsNeverAField) {
    TStrukturaADIF catalogue;
    ColumnList columns;
    catalogue.RegisterField("CALL", columns);
    for (const char* end : {"EOR", "eor"}) {
        EXPECT_EQ(catalogue.RegisterField(end, columns), kNoEntry) << end;
    }
    EXPECT_EQ(columns.ColumnCount, 1);
    EXPECT_EQ(columns.Positions[2], 0);
    EXPECT_TRUE(catalogue.Entry(122).Name.empty());
}

TEST(FieldCatalogue, LearntNamesOutliveTheRunsColumnList) {
    TStrukturaADIF catalogue;
    ColumnList columns;
    EXPECT_EQ(catalogue.RegisterField("MY_FIELD", columns), 122);
    columns.Clear();  // the next run
    EXPECT_EQ(columns.ColumnCount, 0);
    EXPECT_EQ(catalogue.RegisterField("OTHER", columns), 123);
    EXPECT_EQ(catalogue.RegisterField("MY_FIELD", columns), 122);
    EXPECT_EQ(columns.ColumnCount, 2);
    EXPECT_EQ(columns.Positions[1], 123);
    EXPECT_EQ(columns.Positions[2], 122);
}

TEST(FieldCatalogue, ANameLongerThan35FindsItsOwnEntryAgain) {
    TStrukturaADIF catalogue;
    ColumnList columns;
    const std::string longName(40, 'X');
    const int entry = catalogue.RegisterField(longName, columns);
    EXPECT_EQ(catalogue.Entry(entry).Name, std::string(35, 'X'));
    EXPECT_EQ(catalogue.RegisterField(longName, columns), entry);
    EXPECT_EQ(columns.ColumnCount, 1);
}

TEST(FieldCatalogue, The40thNewNameFindsTheCatalogueFull) {
    TStrukturaADIF catalogue;
    ColumnList columns;
    for (int i = 1; i <= 39; ++i) {
        EXPECT_FALSE(catalogue.IsFull());
        EXPECT_EQ(catalogue.RegisterField("NEW_" + std::to_string(i), columns), 121 + i);
    }
    EXPECT_TRUE(catalogue.IsFull());
    const ColumnList before = columns;
    EXPECT_EQ(catalogue.RegisterField("NEW_40", columns), kNoEntry);
    EXPECT_EQ(columns.ColumnCount, before.ColumnCount);
    for (int k = 1; k <= kCatalogueSize; ++k) EXPECT_EQ(columns.Positions[k], before.Positions[k]);
    // Known names still register when the catalogue is full.
    EXPECT_EQ(catalogue.RegisterField("NEW_7", columns), 128);
    EXPECT_EQ(catalogue.RegisterField("CALL", columns), 11);
    EXPECT_EQ(columns.ColumnCount, 40);
}

TEST(FieldCatalogue, ColumnWidthIsAtLeast10OnceMeasuredAndOnlyGrows) {
    TStrukturaADIF catalogue;
    const int entry = catalogue.FindField("MODE");
    catalogue.RaiseColumnWidth(entry, 4);
    EXPECT_EQ(catalogue.Entry(entry).ColumnWidth, 10);
    catalogue.RaiseColumnWidth(entry, 25);
    EXPECT_EQ(catalogue.Entry(entry).ColumnWidth, 25);
    catalogue.RaiseColumnWidth(entry, 12);
    EXPECT_EQ(catalogue.Entry(entry).ColumnWidth, 25);
    EXPECT_EQ(catalogue.Entry(catalogue.FindField("CALL")).ColumnWidth, 0);
}

}  // namespace
}  // namespace velmark
