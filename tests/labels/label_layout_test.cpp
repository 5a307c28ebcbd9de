// The label layout: where each label of a run goes (pages, start label), the font size the
// table gets, and that every text of every kind of label stays inside its label, on every
// bundled sheet.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "labels/label_layout.h"
#include "labels/label_run.h"
#include "labels/label_sheet.h"
#include "settings/text_table.h"

namespace velmark {
namespace {

LabelSheet BundledSheet(const std::string& name) {
    const auto path = FindLabelSheet(VELMARK_SOURCE_DATA_DIR, name);
    EXPECT_TRUE(path) << name;
    SheetReadResult read = ReadLabelSheet(path.value_or(""));
    EXPECT_TRUE(read.Sheet) << name;
    return read.Sheet.value_or(LabelSheet{});
}

LabelWords EnglishWords(const std::string& ownCallsign = "SP9XYZ") {
    TNazwyJezykowe texts;
    texts.Fill(kLanguageEnglish);
    return LabelWordsOf(texts, ownCallsign);
}

const LabelColumnWidths kDashedDates = {10, 5, 6, 5, 3, 3};

LabelLayout LayoutOf(const LabelSheet& sheet, int rows, const LabelWords& words = EnglishWords()) {
    LayoutResult result = MakeLabelLayout(sheet, rows, words.ColumnTitles, kDashedDates);
    EXPECT_TRUE(result.Layout) << sheet.FileName << " with " << rows << " rows";
    return result.Layout.value_or(LabelLayout{});
}

// --- places on the sheet ---

struct Placement {
    int startLabel;
    std::int64_t sequence;
    std::int64_t page;
    int slot;
};

class L7160Placement : public ::testing::TestWithParam<Placement> {};

TEST_P(L7160Placement, FollowsRowsThenPagesFromTheStartLabel) {
    const LabelSheet sheet = BundledSheet("L7160");
    const Placement& p = GetParam();
    const LabelPlace place = PlaceLabel(sheet, p.startLabel, p.sequence);
    EXPECT_EQ(place.Page, p.page);
    EXPECT_EQ(place.SlotOnPage, p.slot);
    const int row = p.slot / 3;
    const int column = p.slot % 3;
    EXPECT_DOUBLE_EQ(place.Cell.X, 7.2 + column * 66.0);
    EXPECT_DOUBLE_EQ(place.Cell.Y, 15.15 + row * 38.1);
    EXPECT_DOUBLE_EQ(place.Cell.Width, 63.5);
    EXPECT_DOUBLE_EQ(place.Cell.Height, 38.1);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, L7160Placement,
    ::testing::Values(Placement{1, 0, 0, 0}, Placement{1, 2, 0, 2}, Placement{1, 3, 0, 3},
                      Placement{1, 20, 0, 20}, Placement{1, 21, 1, 0}, Placement{1, 2099, 99, 20},
                      // A partly used sheet: label 8 is the middle one of the third row.
                      Placement{8, 0, 0, 7}, Placement{8, 13, 0, 20}, Placement{8, 14, 1, 0},
                      Placement{21, 0, 0, 20}, Placement{21, 1, 1, 0}));

TEST(LabelPages, CountsThePagesTheLabelsFill) {
    const LabelSheet sheet = BundledSheet("L7160");
    EXPECT_EQ(PagesFor(sheet, 1, 0), 0);
    EXPECT_EQ(PagesFor(sheet, 1, 1), 1);
    EXPECT_EQ(PagesFor(sheet, 1, 21), 1);
    EXPECT_EQ(PagesFor(sheet, 1, 22), 2);
    EXPECT_EQ(PagesFor(sheet, 21, 1), 1);
    EXPECT_EQ(PagesFor(sheet, 21, 2), 2);
    EXPECT_EQ(PagesFor(BundledSheet("ROLL62"), 1, 137498), 137498);
}

// --- font size ---

struct FontCase {
    const char* sheet;
    int rows;
    double fontSize;  // 0: refused
    const char* key;
};

class LabelFontSize : public ::testing::TestWithParam<FontCase> {};

TEST_P(LabelFontSize, IsTheSheetsOrSmallerDownToTheReadableSize) {
    const FontCase& c = GetParam();
    const LabelSheet sheet = BundledSheet(c.sheet);
    const LabelWords words = EnglishWords();
    const LayoutResult result = MakeLabelLayout(sheet, c.rows, words.ColumnTitles, kDashedDates);
    if (c.fontSize == 0) {
        ASSERT_TRUE(result.Problem);
        EXPECT_EQ(result.Problem->Fault, SheetFault::TooSmallForTable);
        EXPECT_EQ(result.Problem->Key, c.key);
        return;
    }
    ASSERT_TRUE(result.Layout);
    EXPECT_DOUBLE_EQ(result.Layout->FontSize, c.fontSize);
    EXPECT_DOUBLE_EQ(result.Layout->CallFontSize, c.fontSize * 1.5);
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, LabelFontSize,
    ::testing::Values(
        // 36 characters of table: 8 pt needs 64.2 mm of a 63.5 mm label, 7.5 pt 60.6 mm.
        FontCase{"L7160", 3, 7.5, ""}, FontCase{"L7163", 3, 9, ""},
        // One inch high: three rows fit at 7 pt (25.2 mm), four at 6 pt, five not at all.
        FontCase{"5160", 3, 7, ""}, FontCase{"5160", 4, 6, ""},
        FontCase{"5160", 5, 0, "LabelHeight"}, FontCase{"L7160", 9, 6, ""},
        FontCase{"L7160", 10, 0, "LabelHeight"}, FontCase{"CARD140x90", 3, 9, ""}));

// --- contents inside the label ---

LabelCells FullRow() {
    return {"2024-01-05", "12:34", "14.025", "RTTY", "599", "PSE"};
}

// The kinds of labels a run makes, the awkward ones included.
std::vector<LabelContent> AwkwardLabels(int rows) {
    std::vector<LabelContent> labels;
    LabelContent full;
    full.Callsign = "SP9ABC";
    full.Rows.assign(rows, FullRow());
    labels.push_back(full);

    LabelContent longest;  // every slot at its longest
    longest.Callsign = std::string(16, 'W');
    longest.Manager = std::string(16, 'M');
    longest.Direct = true;
    longest.Rows.assign(
        rows, {std::string(11, '2'), "12:345", "1296.200000", "DIGITALVOI", "-10+", "TNX"});
    labels.push_back(longest);

    LabelContent one;  // one QSO, the other rows empty
    one.Callsign = "Q1A";
    one.Rows.push_back(FullRow());
    labels.push_back(one);

    LabelContent divider;
    divider.Divider = true;
    divider.EntityName = "ST. PAUL ISLAND AND SOME LONGER NAME";
    divider.EntityListNr = 123;
    divider.EntityAdifNr = 252;
    labels.push_back(divider);
    return labels;
}

// A text's extent on the label, in mm.
struct Extent {
    double Left;
    double Right;
    double Top;
    double Bottom;
};

Extent ExtentOf(const LabelText& text) {
    const double em = text.Size * kPointMm;
    return {text.X, text.X + MonoTextWidth(text.Text.size(), text.Size) * text.Squeeze,
            text.Baseline - kMonoAscentEm * em, text.Baseline + kMonoDescentEm * em};
}

class EveryBundledSheet : public ::testing::TestWithParam<std::string> {};

TEST_P(EveryBundledSheet, KeepsEveryTextInsideTheLabelAndApartFromTheNextLine) {
    const LabelSheet sheet = BundledSheet(GetParam());
    for (const int language : {kLanguagePolish, kLanguageEnglish}) {
        TNazwyJezykowe texts;
        texts.Fill(language);
        const LabelWords words = LabelWordsOf(texts, "SP9XYZ/P");
        const LabelLayout layout = LayoutOf(sheet, 3, words);
        for (const LabelContent& label : AwkwardLabels(3)) {
            LabelDrawing drawing;
            LayOutLabel(layout, words, label, drawing);
            ASSERT_FALSE(drawing.Texts.empty());
            double previousBottom = 0;
            double previousBaseline = -1;
            for (const LabelText& text : drawing.Texts) {
                const Extent extent = ExtentOf(text);
                SCOPED_TRACE(GetParam() + " \"" + text.Text + "\"");
                EXPECT_GE(extent.Left, layout.Padding - 1e-9);
                EXPECT_LE(extent.Right, layout.Width - layout.Padding + 1e-9);
                EXPECT_GE(extent.Top, 0);
                EXPECT_LE(extent.Bottom, layout.Height);
                EXPECT_GT(text.Squeeze, 0.3);
                // Lines one below the other do not run into each other.
                if (text.Baseline > previousBaseline + 1e-9) {
                    EXPECT_GE(extent.Top, previousBottom - 1e-9);
                    previousBottom = extent.Bottom;
                    previousBaseline = text.Baseline;
                }
            }
            for (const MmRect& bar : drawing.Bars) {
                EXPECT_GE(bar.X, 0);
                EXPECT_LE(bar.X + bar.Width, layout.Width);
                EXPECT_GE(bar.Y, 0);
                EXPECT_LE(bar.Y + bar.Height, layout.Height);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Presets, EveryBundledSheet,
                         ::testing::Values("L7160", "L7161", "L7162", "L7163", "L7165", "3422",
                                           "3475", "5160", "5161", "5163", "5164", "ROLL62",
                                           "CARD140x90"));

TEST(LabelLayOut, ACardShowsTheRouteTheTitlesOneRowPerQsoAndTheFooter) {
    const LabelLayout layout = LayoutOf(BundledSheet("L7163"), 3);
    const LabelWords words = EnglishWords();
    LabelContent label;
    label.Callsign = "SP9ABC";
    label.Manager = "SP9MGR";
    label.Direct = true;
    label.Rows = {FullRow(), {"2024-01-06", "01:02", "20M", "CW", "579", "TNX"}};
    LabelDrawing drawing;
    LayOutLabel(layout, words, label, drawing);

    std::vector<std::string> shown;
    for (const LabelText& text : drawing.Texts) shown.push_back(text.Text);
    EXPECT_EQ(shown,
              (std::vector<std::string>{"To Radio", "SP9ABC", "DIRECT via SP9MGR",
                                        "Date       UTC   Band   Mode  RST QSL",
                                        "2024-01-05 12:34 14.025 RTTY  599 PSE",
                                        "2024-01-06 01:02 20M    CW    579 TNX", "From: SP9XYZ"}));
    EXPECT_TRUE(drawing.Texts[1].Bold);
    EXPECT_DOUBLE_EQ(drawing.Texts[1].Size, layout.CallFontSize);
    EXPECT_DOUBLE_EQ(drawing.Texts[1].X, layout.Padding + 9 * layout.CharWidth);
    EXPECT_TRUE(drawing.Texts[3].Bold);
    EXPECT_DOUBLE_EQ(drawing.Texts[4].Baseline, layout.RowBaseline(0));
    EXPECT_DOUBLE_EQ(drawing.Texts[5].Baseline, layout.RowBaseline(1));
    // The third row of the card stays empty: the footer keeps its place at the bottom.
    EXPECT_DOUBLE_EQ(drawing.Texts[6].Baseline, layout.FooterBaseline);
    EXPECT_GT(layout.FooterBaseline, layout.RowBaseline(2));
}

TEST(LabelLayOut, WithoutOwnCallsignOrRouteThoseLinesAreLeftOut) {
    const LabelLayout layout = LayoutOf(BundledSheet("L7160"), 1);
    const LabelWords words = EnglishWords("");
    LabelContent label;
    label.Callsign = "DL1ABC";
    label.Rows = {FullRow()};
    LabelDrawing drawing;
    LayOutLabel(layout, words, label, drawing);
    ASSERT_EQ(drawing.Texts.size(), 4u);
    EXPECT_EQ(drawing.Texts.back().Baseline, layout.RowBaseline(0));
}

TEST(LabelLayOut, AValueWiderThanItsColumnIsDrawnOnItsOwnSqueezedIntoTheColumn) {
    const LabelLayout layout = LayoutOf(BundledSheet("L7160"), 1);
    LabelContent label;
    label.Callsign = "DL1ABC";
    label.Rows = {{"2024-01-05", "12:34", "20M", "DOMINOEX", "599", "PSE"}};
    LabelDrawing drawing;
    LayOutLabel(layout, EnglishWords(), label, drawing);
    const auto mode = std::find_if(drawing.Texts.begin(), drawing.Texts.end(),
                                   [](const LabelText& t) { return t.Text == "DOMINOEX"; });
    ASSERT_NE(mode, drawing.Texts.end());
    EXPECT_DOUBLE_EQ(mode->X, layout.Padding + layout.ColumnStart[kColumnMode] * layout.CharWidth);
    EXPECT_DOUBLE_EQ(mode->Squeeze, 5.0 / 8.0);
    // The rest of the row keeps its columns, with the mode's place left blank.
    EXPECT_EQ(mode[-1].Text, "2024-01-05 12:34 20M          599 PSE");
}

TEST(LabelLayOut, ADividerNamesTheEntityWithItsNumbersBetweenTwoBars) {
    const LabelLayout layout = LayoutOf(BundledSheet("L7160"), 3);
    LabelContent divider;
    divider.Divider = true;
    divider.EntityName = "POLAND";
    divider.EntityListNr = 221;
    divider.EntityAdifNr = 269;
    LabelDrawing drawing;
    LayOutLabel(layout, EnglishWords(), divider, drawing);
    ASSERT_EQ(drawing.Texts.size(), 2u);
    EXPECT_EQ(drawing.Texts[0].Text, "POLAND");
    EXPECT_EQ(drawing.Texts[1].Text, "DXCC list no. 221   ADIF no. 269");
    // Centred.
    const Extent name = ExtentOf(drawing.Texts[0]);
    EXPECT_NEAR(name.Left, layout.Width - name.Right, 1e-9);
    EXPECT_EQ(drawing.Bars.size(), 2u);

    // The DIRECT group has no numbers to show.
    divider.EntityName = "DIRECT";
    divider.EntityListNr = 999;
    LayOutLabel(layout, EnglishWords(), divider, drawing);
    ASSERT_EQ(drawing.Texts.size(), 1u);
}

TEST(TableRowText, PutsEachCellAtItsColumnAndDropsTrailingBlanks) {
    const LabelLayout layout = LayoutOf(BundledSheet("L7160"), 1);
    std::vector<int> overflowing;
    EXPECT_EQ(TableRowText(layout, {"20240105", "1234", "160M", "CW", "", ""}, overflowing),
              "20240105   1234  160M   CW");
    EXPECT_TRUE(overflowing.empty());
    EXPECT_EQ(TableRowText(layout, {"", "", "", "", "", ""}, overflowing), "");
    EXPECT_EQ(
        TableRowText(layout, {"20240105", "123456", "1296.200", "CW", "5999", "PSE"}, overflowing),
        "20240105                CW        PSE");
    EXPECT_EQ(overflowing, (std::vector<int>{kColumnTime, kColumnBand, kColumnRst}));
}

}  // namespace
}  // namespace velmark
