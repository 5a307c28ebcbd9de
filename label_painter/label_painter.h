#pragma once
// The one drawing of QSL labels, on any paged QPainter device: the PDF writer of velmark-batch
// and of "Save as PDF", the print preview and the printer of the desktop program. What a label
// shows and where every text goes is decided without Qt (labels/); this only puts it on paper,
// so the three outputs are the same drawing.

#include <QString>

#include <string_view>

#include "labels/label_layout.h"
#include "labels/label_run.h"

class QPageLayout;
class QPagedPaintDevice;
class QPainter;

namespace velmark::painter {

// The labels' font family, registered from the fonts built into the program on first use
// (needs a QGuiApplication).
QString LabelFontFamily();

// The page of a sheet: its size in mm (a wider than high page as landscape), no margins.
QPageLayout LabelPageLayout(const LabelSheet& sheet);

// Code page 1250 bytes as the text to draw.
QString LabelString(std::string_view cp1250);

// Draws one label's drawing into its cell (mm from the page's top-left corner) on a painter
// whose device has no margins: a device unit is 1/dpi inch.
void DrawLabel(QPainter& painter, double dotsPerMm, const LabelDrawing& drawing,
               const MmRect& cell);

// Draws every label of the run, page after page (newPage between pages), on a painter that is
// active on `device`, whose page layout is the sheet's (LabelPageLayout) with the full page as
// its paint area. Shows the caption and the progress bar. Throws FileError when TYM.LOG cannot
// be read.
LabelsDrawn PaintLabelPages(QPainter& painter, QPagedPaintDevice& device, RunObjects& run,
                            const LabelJob& job);

}  // namespace velmark::painter
