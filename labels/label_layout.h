#pragma once
// The layout of a QSL label and the labels' places on the sheet, in millimetres, without any
// drawing library. A label holds, from the top:
//
//   To Radio SP9ABC                (the callsign in bold, half as large again)
//   via SP9MGR                     (the QSL route: a manager, DIRECT, or nothing)
//   Date       UTC   Band   Mode  RST QSL
//   2024-01-05 12:34 20M    CW    599 PSE    (one row per QSO of the card; rows of the
//   ...                                       card's filler records stay empty)
//   From: SP1XYZ                   (at the bottom: the station's own callsign)
//
// Every label of a run has the same rows, so the cards of a bundle look alike. The text is
// set in a monospaced font (DejaVu Sans Mono, which the painter embeds): every character has
// the same advance, so a table row is one text with its columns at fixed character places,
// and the width of any text is known here exactly. A text wider than its room is drawn
// narrower (squeezed), never cut: a QSL card must show every character of the QSO.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "labels/label_sheet.h"

namespace velmark {

// The monospaced font's advance and vertical extent, as fractions of the font size.
inline constexpr double kMonoAdvanceEm = 1233.0 / 2048.0;
inline constexpr double kMonoAscentEm = 1901.0 / 2048.0;
inline constexpr double kMonoDescentEm = 483.0 / 2048.0;
// Baseline to baseline, in font sizes.
inline constexpr double kLineSpacing = 1.2;
// The callsign is set this much larger than the table.
inline constexpr double kCallsignScale = 1.5;
// The font size steps down by this much until the table fits the label.
inline constexpr double kFontSizeStep = 0.5;
inline constexpr double kPointMm = 25.4 / 72.0;

// The table's columns, in order.
enum LabelColumn { kColumnDate, kColumnTime, kColumnBand, kColumnMode, kColumnRst, kColumnQsl };
inline constexpr int kLabelColumnCount = 6;
using LabelCells = std::array<std::string, kLabelColumnCount>;
using LabelColumnWidths = std::array<int, kLabelColumnCount>;

// The geometry every label of one run shares, for a label of the sheet.
struct LabelLayout {
    double Width = 0;  // the label's size, mm
    double Height = 0;
    double FontSize = 0;      // the table's, the route's and the footer's, pt
    double CallFontSize = 0;  // pt
    double Padding = 0;       // mm kept free inside the label's edge
    double CharWidth = 0;     // mm, one character at FontSize
    double LineHeight = 0;    // mm, baseline to baseline at FontSize
    // Baselines, mm from the label's top.
    double CallBaseline = 0;
    double RouteBaseline = 0;
    double HeaderBaseline = 0;
    double FirstRowBaseline = 0;
    double FooterBaseline = 0;
    int Rows = 0;                                      // QSO rows: the QSOs a card holds
    std::array<int, kLabelColumnCount> ColumnStart{};  // character places from the left
    LabelColumnWidths ColumnWidth{};                   // characters
    int TableChars = 0;                                // the whole row, gaps included
    bool Outline = false;

    // The baseline of QSO row r (0-based).
    double RowBaseline(int row) const { return FirstRowBaseline + row * LineHeight; }
};

struct LayoutResult {
    std::optional<LabelLayout> Layout;
    std::optional<SheetProblem> Problem;  // TooSmallForTable
};

// The layout of the sheet's labels for qsosPerLabel rows, each column as wide as its title and
// its widest expected value (in characters). The font size is the sheet's, made smaller in
// half points while the table does not fit, down to the readable size; when it does not fit
// even then, the problem names the label side that is too small and what the table needs.
LayoutResult MakeLabelLayout(const LabelSheet& sheet, int qsosPerLabel,
                             const LabelCells& columnTitles, const LabelColumnWidths& valueWidths);

// The mm width of a text of `length` characters at a font size in points.
double MonoTextWidth(std::size_t length, double fontSize);

// Where a label of the run goes: the page (from 0) and its rectangle there. The run's first
// label takes place startLabel (1 = the sheet's top-left label) of the first page; the labels
// follow row by row, and page after page.
struct LabelPlace {
    std::int64_t Page = 0;
    int SlotOnPage = 0;
    MmRect Cell;
};
LabelPlace PlaceLabel(const LabelSheet& sheet, int startLabel, std::int64_t sequence);

// The number of pages that labelCount labels fill from startLabel on.
std::int64_t PagesFor(const LabelSheet& sheet, int startLabel, std::int64_t labelCount);

// One text to draw on a label: cp1250 bytes at x (mm from the label's left) on a baseline (mm
// from its top), drawn narrower by Squeeze (1 = as the font is) so that it fits its room.
struct LabelText {
    std::string Text;
    double X = 0;
    double Baseline = 0;
    double Size = 0;  // pt
    bool Bold = false;
    double Squeeze = 1.0;
};

// Everything drawn on one label, relative to its top-left corner: texts, filled bars (the
// divider label's bands) and, when the sheet asks for it, the label's outline.
struct LabelDrawing {
    std::vector<LabelText> Texts;
    std::vector<MmRect> Bars;
    bool Outline = false;

    void Clear() {
        Texts.clear();
        Bars.clear();
        Outline = false;
    }
};

// The words a label shows, in the chosen language, and the station's own callsign line.
struct LabelWords {
    std::string ToRadio;  // "To Radio"
    std::string Via;      // "via "
    std::string Direct;   // "DIRECT"
    std::string Footer;   // "From: " and the own callsign; empty without a callsign
    LabelCells ColumnTitles;
    std::string ListNumber;  // "DXCC list no. "
    std::string AdifNumber;  // "ADIF no. "
};

// What one label shows: the QSOs of one card, or a country group's divider.
struct LabelContent {
    bool Divider = false;
    // A card's label.
    std::string Callsign;
    std::string Manager;           // the QSL manager's callsign, empty when the route names none
    bool Direct = false;           // the route is DIRECT
    std::vector<LabelCells> Rows;  // Rows.size() QSOs; the layout's other rows stay empty
    std::vector<std::int32_t> QsoNumbers;  // the QSOs on the label
    // A divider.
    std::string EntityName;
    std::int32_t EntityListNr = 0;
    std::int32_t EntityAdifNr = 0;
};

// Lays one label out: what to draw where. The drawing's previous contents are replaced.
void LayOutLabel(const LabelLayout& layout, const LabelWords& words, const LabelContent& label,
                 LabelDrawing& drawing);

// The text a QSO row is drawn as: the cells at their column places, padded with blanks; a
// cell wider than its column is left blank here and reported in `overflowing` (column numbers),
// to be drawn on its own, squeezed.
std::string TableRowText(const LabelLayout& layout, const LabelCells& cells,
                         std::vector<int>& overflowing);

}  // namespace velmark
