#include "label_painter/label_painter.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRawFont>

#include <array>
#include <cmath>
#include <map>

#include "core/cp1250.h"
#include "core/user_interface.h"
#include "dxcc/dxcc_list.h"
#include "settings/text_table.h"

namespace velmark::painter {
namespace {

constexpr const char* kRegularFontFile = ":/label_fonts/DejaVuSansMono.ttf";
constexpr const char* kBoldFontFile = ":/label_fonts/DejaVuSansMono-Bold.ttf";
// The outline of a label, for plain paper and test prints: a hairline in light grey.
constexpr double kOutlineWidthMm = 0.1;
// The progress bar and pending events are seen to once every this many labels.
constexpr std::int64_t kLabelsBetweenEvents = 64;

// A code page 1250 byte as its character (every one lies in the Basic Multilingual Plane).
QChar cp1250Character(unsigned char byte) {
    return QChar(static_cast<char16_t>(Cp1250CodePoints()[byte]));
}

// One label font (a size and weight) as both ways of drawing need it.
struct LabelFont {
    QFont Font;
    // For the PDF engine: the font at the device's exact pixel size, each code page 1250
    // byte's glyph, and the one advance every glyph of the monospaced font has.
    QRawFont Raw;
    std::array<quint32, 256> Glyphs{};
    qreal Advance = 0;
};

// The label fonts by size and weight, made once per painting (a QFont must not outlive the
// application, so none is kept beyond it).
class FontSet {
  public:
    FontSet(double dotsPerInch, QPaintDevice* device)
        : m_dotsPerInch(dotsPerInch), m_device(device) {}

    const LabelFont& Get(double size, bool bold) {
        const auto key = std::make_pair(static_cast<int>(size * 100 + 0.5), bold);
        auto found = m_fonts.find(key);
        if (found == m_fonts.end())
            found = m_fonts.emplace(key, make(size, bold)).first;
        return found->second;
    }

  private:
    LabelFont make(double size, bool bold) const {
        LabelFont label;
        label.Font = QFont(LabelFontFamily());
        label.Font.setPointSizeF(size);
        label.Font.setBold(bold);
        label.Font.setKerning(false);
        label.Font.setStyleStrategy(QFont::NoFontMerging);
        // Unhinted, every character takes the font's design advance, as the layout reckons.
        label.Font.setHintingPreference(QFont::PreferNoHinting);
        const qreal pixels = size * m_dotsPerInch / 72.0;
        // Engines that set text at whole pixel sizes (the raster engine of the preview at
        // screen resolution: 8 pt is 10.7 pixels there, set as 11) make every character wider
        // or narrower than the font's advance; the difference, taken back after each character,
        // keeps every character where the layout put it.
        const QFontMetricsF metrics(label.Font, m_device);
        const qreal drift = kMonoAdvanceEm * pixels - metrics.horizontalAdvance(QLatin1Char('0'));
        if (std::abs(drift) > 1e-6)
            label.Font.setLetterSpacing(QFont::AbsoluteSpacing, drift);
        label.Raw = QRawFont::fromFont(label.Font);
        label.Raw.setPixelSize(pixels);
        label.Advance = kMonoAdvanceEm * pixels;
        QString characters(256, Qt::Uninitialized);
        for (int byte = 0; byte < 256; ++byte)
            characters[byte] = cp1250Character(static_cast<unsigned char>(byte));
        const QList<quint32> glyphs = label.Raw.glyphIndexesForString(characters);
        for (int byte = 0; byte < 256 && byte < glyphs.size(); ++byte)
            label.Glyphs[byte] = glyphs[byte];
        return label;
    }

    double m_dotsPerInch;
    QPaintDevice* m_device;
    std::map<std::pair<int, bool>, LabelFont> m_fonts;
};

// Draws one text with its baseline's left end at the origin. Qt's PDF engine (the PDF writer,
// and the printer, which prints through PDF on Unix) takes the glyphs as they are: every
// glyph at its multiple of the advance, blanks left out, with no text shaping, which the
// monospaced text does not need and which took half of the drawing time. Other engines (the
// print preview's recorder, a Windows printer) get the text itself, laid out by Qt with the
// same font and the same advances.
void drawText(QPainter& painter, const LabelFont& font, const std::string& text, QPointF origin,
              bool asGlyphs) {
    if (!asGlyphs) {
        painter.setFont(font.Font);
        painter.drawText(origin, LabelString(text));
        return;
    }
    QList<quint32> glyphs;
    QList<QPointF> positions;
    glyphs.reserve(static_cast<qsizetype>(text.size()));
    positions.reserve(static_cast<qsizetype>(text.size()));
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ')
            continue;
        glyphs.append(font.Glyphs[static_cast<unsigned char>(text[i])]);
        positions.append(QPointF(static_cast<qreal>(i) * font.Advance, 0));
    }
    if (glyphs.isEmpty())
        return;
    QGlyphRun run;
    run.setRawFont(font.Raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter.drawGlyphRun(origin, run);
}

void drawLabelWith(QPainter& painter, FontSet& fonts, double dotsPerMm, const LabelDrawing& drawing,
                   const MmRect& cell) {
    const auto at = [&](double x, double y) {
        return QPointF((cell.X + x) * dotsPerMm, (cell.Y + y) * dotsPerMm);
    };
    if (drawing.Outline) {
        painter.save();
        painter.setPen(QPen(Qt::lightGray, kOutlineWidthMm * dotsPerMm));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(at(0, 0), QSizeF(cell.Width * dotsPerMm, cell.Height * dotsPerMm)));
        painter.restore();
    }
    for (const MmRect& bar : drawing.Bars) {
        painter.fillRect(
            QRectF(at(bar.X, bar.Y), QSizeF(bar.Width * dotsPerMm, bar.Height * dotsPerMm)),
            Qt::black);
    }
    const bool asGlyphs = painter.paintEngine()->type() == QPaintEngine::Pdf;
    for (const LabelText& text : drawing.Texts) {
        const LabelFont& font = fonts.Get(text.Size, text.Bold);
        if (text.Squeeze >= 1.0) {
            drawText(painter, font, text.Text, at(text.X, text.Baseline), asGlyphs);
            continue;
        }
        // Too wide for its room: drawn narrower, every character kept.
        painter.save();
        painter.translate(at(text.X, text.Baseline));
        painter.scale(text.Squeeze, 1.0);
        drawText(painter, font, text.Text, QPointF(0, 0), asGlyphs);
        painter.restore();
    }
}

}  // namespace

QString LabelFontFamily() {
    // Registered with the application's font database, and again for a later application of
    // the same process (a batch run in a test, a service), whose database starts empty.
    static int regular = -1;
    static QString family;
    if (regular < 0 || QFontDatabase::applicationFontFamilies(regular).isEmpty()) {
        regular = QFontDatabase::addApplicationFont(QString::fromLatin1(kRegularFontFile));
        QFontDatabase::addApplicationFont(QString::fromLatin1(kBoldFontFile));
        const QStringList families = QFontDatabase::applicationFontFamilies(regular);
        family = families.isEmpty() ? QStringLiteral("DejaVu Sans Mono") : families.first();
    }
    return family;
}

QPageLayout LabelPageLayout(const LabelSheet& sheet) {
    const bool landscape = sheet.PageWidth > sheet.PageHeight;
    const QSizeF portrait = landscape ? QSizeF(sheet.PageHeight, sheet.PageWidth)
                                      : QSizeF(sheet.PageWidth, sheet.PageHeight);
    // A sheet of a standard size is that size to the printer (its tray, its driver).
    const QPageSize size(portrait, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
    return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

QString LabelString(std::string_view cp1250) {
    QString text(static_cast<qsizetype>(cp1250.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : cp1250) *out++ = cp1250Character(static_cast<unsigned char>(byte));
    return text;
}

void DrawLabel(QPainter& painter, double dotsPerMm, const LabelDrawing& drawing,
               const MmRect& cell) {
    FontSet fonts(dotsPerMm * 25.4, painter.device());
    drawLabelWith(painter, fonts, dotsPerMm, drawing, cell);
}

LabelsDrawn PaintLabelPages(QPainter& painter, QPagedPaintDevice& device, RunObjects& run,
                            const LabelJob& job) {
    UserInterface& ui = run.Ui;
    ui.SetCaption(run.Texts.CapDrawingLabels);
    ui.SetProgress(0);
    const double dotsPerMm = device.logicalDpiX() / 25.4;
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Qt::black);

    LabelsDrawn drawn;
    FontSet fonts(device.logicalDpiX(), &device);
    LabelSequence labels(run, job);
    LabelContent label;
    LabelDrawing drawing;
    const int qsoCount = std::max(1, run.DxccList.Run.QsoCount);
    while (labels.Next(label)) {
        const LabelPlace place = PlaceLabel(job.Sheet, job.StartLabel, drawn.Labels);
        if (place.Page >= drawn.Pages) {
            if (drawn.Pages > 0)
                device.newPage();
            drawn.Pages = place.Page + 1;
        }
        LayOutLabel(job.Layout, job.Words, label, drawing);
        drawLabelWith(painter, fonts, dotsPerMm, drawing, place.Cell);
        ++drawn.Labels;
        drawn.Qsos += static_cast<std::int64_t>(label.QsoNumbers.size());
        if (drawn.Labels % kLabelsBetweenEvents == 0) {
            ui.SetProgress(static_cast<int>(std::int64_t{labels.QsosTaken()} * 100 / qsoCount));
            ui.ProcessEvents();
        }
    }
    ui.SetProgress(100);
    return drawn;
}

}  // namespace velmark::painter
