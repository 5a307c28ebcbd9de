#include "labels/label_layout.h"

#include <algorithm>

#include "core/qso_record.h"

namespace velmark {
namespace {

// Room kept free inside the label's edge, mm: die-cut labels are cut a little off their
// nominal place, and text touching the cut looks wrong.
constexpr double kPadding = 1.5;
// Where the baseline lies in a line box of kLineSpacing font sizes: the box's spare space
// shared above and below the font's ascent and descent.
constexpr double kBaselineInBoxEm =
    (kLineSpacing - kMonoAscentEm - kMonoDescentEm) / 2.0 + kMonoAscentEm;
// Measures may be a hair over the label's size where sizes were given with two decimals.
constexpr double kFitTolerance = 0.01;
// Blanks between two table columns.
constexpr int kColumnGapChars = 1;

double emMm(double fontSize) {
    return fontSize * kPointMm;
}

// What the table and its lines need at a font size: the label's inner width and height.
struct Needs {
    double Width;
    double Height;
};

Needs needsAt(double fontSize, int rows, int tableChars) {
    const double em = emMm(fontSize);
    const double lineHeight = kLineSpacing * em;
    // The callsign line, then the route, the titles, the QSO rows and the footer.
    const double height =
        2 * kPadding + kLineSpacing * kCallsignScale * em + (rows + 3) * lineHeight;
    const double width = 2 * kPadding + tableChars * kMonoAdvanceEm * em;
    return {width, height};
}

// The font sizes to try: the sheet's, then half a point smaller each time, ending with the
// smallest readable size.
std::vector<double> candidateSizes(double sheetSize) {
    std::vector<double> sizes;
    for (double size = sheetSize; size >= kMinReadableFontSize - 1e-9; size -= kFontSizeStep)
        sizes.push_back(size);
    if (sizes.empty() || sizes.back() > kMinReadableFontSize + 1e-9)
        sizes.push_back(kMinReadableFontSize);
    return sizes;
}

LabelLayout layoutAt(const LabelSheet& sheet, double fontSize, int rows,
                     const LabelColumnWidths& widths, int tableChars) {
    LabelLayout layout;
    layout.Width = sheet.LabelWidth;
    layout.Height = sheet.LabelHeight;
    layout.FontSize = fontSize;
    layout.CallFontSize = fontSize * kCallsignScale;
    layout.Padding = kPadding;
    const double em = emMm(fontSize);
    layout.CharWidth = kMonoAdvanceEm * em;
    layout.LineHeight = kLineSpacing * em;
    layout.CallBaseline = kPadding + kBaselineInBoxEm * emMm(layout.CallFontSize);
    const double routeTop = kPadding + kLineSpacing * emMm(layout.CallFontSize);
    layout.RouteBaseline = routeTop + kBaselineInBoxEm * em;
    layout.HeaderBaseline = layout.RouteBaseline + layout.LineHeight;
    layout.FirstRowBaseline = layout.HeaderBaseline + layout.LineHeight;
    layout.FooterBaseline =
        sheet.LabelHeight - kPadding - layout.LineHeight + kBaselineInBoxEm * em;
    layout.Rows = rows;
    layout.ColumnWidth = widths;
    int start = 0;
    for (int c = 0; c < kLabelColumnCount; ++c) {
        layout.ColumnStart[c] = start;
        start += widths[c] + kColumnGapChars;
    }
    layout.TableChars = tableChars;
    layout.Outline = sheet.Outline;
    return layout;
}

// A text fitted into `room` mm from x: squeezed when wider.
LabelText fitted(std::string text, double x, double baseline, double size, bool bold, double room) {
    const double width = MonoTextWidth(text.size(), size);
    const double squeeze = width > room && width > 0 ? std::max(room, 0.0) / width : 1.0;
    return {std::move(text), x, baseline, size, bold, squeeze};
}

std::string withoutTrailingBlanks(std::string text) {
    const auto last = text.find_last_not_of(' ');
    text.resize(last == std::string::npos ? 0 : last + 1);
    return text;
}

void layOutCard(const LabelLayout& layout, const LabelWords& words, const LabelContent& label,
                LabelDrawing& drawing) {
    const double left = layout.Padding;
    const double right = layout.Width - layout.Padding;
    double callX = left;
    if (!words.ToRadio.empty()) {
        drawing.Texts.push_back(
            fitted(words.ToRadio, left, layout.CallBaseline, layout.FontSize, false, right - left));
        callX += (words.ToRadio.size() + 1) * layout.CharWidth;
    }
    drawing.Texts.push_back(fitted(label.Callsign, callX, layout.CallBaseline, layout.CallFontSize,
                                   true, right - callX));

    std::string route = label.Direct ? words.Direct : std::string();
    if (!label.Manager.empty())
        route += (route.empty() ? "" : " ") + words.Via + label.Manager;
    if (!route.empty()) {
        drawing.Texts.push_back(
            fitted(route, left, layout.RouteBaseline, layout.FontSize, false, right - left));
    }

    std::vector<int> overflowing;
    drawing.Texts.push_back({TableRowText(layout, words.ColumnTitles, overflowing), left,
                             layout.HeaderBaseline, layout.FontSize, true, 1.0});
    const int rows = std::min<int>(layout.Rows, static_cast<int>(label.Rows.size()));
    for (int r = 0; r < rows; ++r) {
        const LabelCells& cells = label.Rows[r];
        const double baseline = layout.RowBaseline(r);
        overflowing.clear();
        std::string text = TableRowText(layout, cells, overflowing);
        if (!text.empty())
            drawing.Texts.push_back({std::move(text), left, baseline, layout.FontSize, false, 1.0});
        for (const int c : overflowing) {
            const double x = left + layout.ColumnStart[c] * layout.CharWidth;
            drawing.Texts.push_back(fitted(cells[c], x, baseline, layout.FontSize, false,
                                           layout.ColumnWidth[c] * layout.CharWidth));
        }
    }
    if (!words.Footer.empty()) {
        drawing.Texts.push_back(fitted(words.Footer, left, layout.FooterBaseline, layout.FontSize,
                                       false, right - left));
    }
}

// A divider: the entity's name large and bold in the middle, its numbers below, and a black
// band along the top and the bottom edge so that it stands out in a stack of labels.
void layOutDivider(const LabelLayout& layout, const LabelWords& words, const LabelContent& label,
                   LabelDrawing& drawing) {
    const double inner = layout.Width - 2 * layout.Padding;
    const double band = std::max(1.0, 0.8 * emMm(layout.FontSize));
    drawing.Bars.push_back({layout.Padding, layout.Padding, inner, band});
    drawing.Bars.push_back({layout.Padding, layout.Height - layout.Padding - band, inner, band});

    const double callEm = emMm(layout.CallFontSize);
    const double em = emMm(layout.FontSize);
    // An entity of the list; not the groups of QSOs without callsign or without entity.
    const bool numbered =
        label.EntityListNr > kEntityNoCallsign && label.EntityListNr < kEntityUnknown;
    const double blockHeight = kLineSpacing * callEm + (numbered ? kLineSpacing * em : 0.0);
    const double top = (layout.Height - blockHeight) / 2;
    const auto centred = [&](std::string text, double baseline, double size, bool bold) {
        LabelText fit = fitted(std::move(text), layout.Padding, baseline, size, bold, inner);
        const double width = MonoTextWidth(fit.Text.size(), size) * fit.Squeeze;
        fit.X = (layout.Width - width) / 2;
        drawing.Texts.push_back(std::move(fit));
    };
    centred(label.EntityName, top + kBaselineInBoxEm * callEm, layout.CallFontSize, true);
    if (numbered) {
        centred(words.ListNumber + std::to_string(label.EntityListNr) + "   " + words.AdifNumber +
                    std::to_string(label.EntityAdifNr),
                top + kLineSpacing * callEm + kBaselineInBoxEm * em, layout.FontSize, false);
    }
}

}  // namespace

double MonoTextWidth(std::size_t length, double fontSize) {
    return static_cast<double>(length) * kMonoAdvanceEm * emMm(fontSize);
}

LayoutResult MakeLabelLayout(const LabelSheet& sheet, int qsosPerLabel,
                             const LabelCells& columnTitles, const LabelColumnWidths& valueWidths) {
    LabelColumnWidths widths{};
    int tableChars = kColumnGapChars * (kLabelColumnCount - 1);
    for (int c = 0; c < kLabelColumnCount; ++c) {
        widths[c] = std::max(static_cast<int>(columnTitles[c].size()), valueWidths[c]);
        tableChars += widths[c];
    }
    Needs smallest{};
    for (const double size : candidateSizes(sheet.FontSize)) {
        smallest = needsAt(size, qsosPerLabel, tableChars);
        if (smallest.Width <= sheet.LabelWidth + kFitTolerance &&
            smallest.Height <= sheet.LabelHeight + kFitTolerance) {
            return {layoutAt(sheet, size, qsosPerLabel, widths, tableChars), std::nullopt};
        }
    }
    const bool tooNarrow = smallest.Width > sheet.LabelWidth + kFitTolerance;
    SheetProblem problem;
    problem.Fault = SheetFault::TooSmallForTable;
    problem.Key = tooNarrow ? "LabelWidth" : "LabelHeight";
    problem.Value = MmText(tooNarrow ? sheet.LabelWidth : sheet.LabelHeight);
    problem.Detail = MmText(tooNarrow ? smallest.Width : smallest.Height);
    return {std::nullopt, problem};
}

LabelPlace PlaceLabel(const LabelSheet& sheet, int startLabel, std::int64_t sequence) {
    const std::int64_t perPage = sheet.LabelsPerPage();
    const std::int64_t slot = sequence + (startLabel - 1);
    LabelPlace place;
    place.Page = slot / perPage;
    place.SlotOnPage = static_cast<int>(slot % perPage);
    place.Cell = sheet.Cell(place.SlotOnPage);
    return place;
}

std::int64_t PagesFor(const LabelSheet& sheet, int startLabel, std::int64_t labelCount) {
    if (labelCount <= 0)
        return 0;
    return PlaceLabel(sheet, startLabel, labelCount - 1).Page + 1;
}

std::string TableRowText(const LabelLayout& layout, const LabelCells& cells,
                         std::vector<int>& overflowing) {
    std::string row(static_cast<std::size_t>(layout.TableChars), ' ');
    for (int c = 0; c < kLabelColumnCount; ++c) {
        const std::string& cell = cells[c];
        if (cell.size() > static_cast<std::size_t>(layout.ColumnWidth[c])) {
            overflowing.push_back(c);
            continue;
        }
        row.replace(static_cast<std::size_t>(layout.ColumnStart[c]), cell.size(), cell);
    }
    return withoutTrailingBlanks(std::move(row));
}

void LayOutLabel(const LabelLayout& layout, const LabelWords& words, const LabelContent& label,
                 LabelDrawing& drawing) {
    drawing.Clear();
    drawing.Outline = layout.Outline;
    if (label.Divider) {
        layOutDivider(layout, words, label, drawing);
    } else {
        layOutCard(layout, words, label, drawing);
    }
}

}  // namespace velmark
