#include "label_painter/label_painter.h"

#include <QFontDatabase>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

#include <array>
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

// Each code page 1250 byte as its character.
const std::array<char16_t, 256>& cp1250Characters() {
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> characters{};
        for (int byte = 0; byte < 256; ++byte) {
            const char single = static_cast<char>(byte);
            const QString text = QString::fromStdString(Cp1250ToUtf8(std::string_view(&single, 1)));
            characters[byte] = text.isEmpty() ? u'?' : text.at(0).unicode();
        }
        return characters;
    }();
    return table;
}

// The label fonts by size and weight, made once per painting (a QFont must not outlive the
// application, so none is kept beyond it).
class FontSet {
  public:
    const QFont& Get(double size, bool bold) {
        const auto key = std::make_pair(static_cast<int>(size * 100 + 0.5), bold);
        auto found = m_fonts.find(key);
        if (found == m_fonts.end()) {
            QFont font(LabelFontFamily());
            font.setPointSizeF(size);
            font.setBold(bold);
            font.setKerning(false);
            font.setStyleStrategy(QFont::NoFontMerging);
            // Unhinted, every character takes the font's design advance, as the layout
            // reckons.
            font.setHintingPreference(QFont::PreferNoHinting);
            found = m_fonts.emplace(key, font).first;
        }
        return found->second;
    }

  private:
    std::map<std::pair<int, bool>, QFont> m_fonts;
};

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
    for (const LabelText& text : drawing.Texts) {
        painter.setFont(fonts.Get(text.Size, text.Bold));
        const QString shown = LabelString(text.Text);
        if (text.Squeeze >= 1.0) {
            painter.drawText(at(text.X, text.Baseline), shown);
            continue;
        }
        // Too wide for its room: drawn narrower, every character kept.
        painter.save();
        painter.translate(at(text.X, text.Baseline));
        painter.scale(text.Squeeze, 1.0);
        painter.drawText(QPointF(0, 0), shown);
        painter.restore();
    }
}

}  // namespace

QString LabelFontFamily() {
    static const QString family = [] {
        const int regular =
            QFontDatabase::addApplicationFont(QString::fromLatin1(kRegularFontFile));
        QFontDatabase::addApplicationFont(QString::fromLatin1(kBoldFontFile));
        const QStringList families = QFontDatabase::applicationFontFamilies(regular);
        return families.isEmpty() ? QStringLiteral("DejaVu Sans Mono") : families.first();
    }();
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
    const auto& characters = cp1250Characters();
    QString text(static_cast<qsizetype>(cp1250.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : cp1250) *out++ = QChar(characters[static_cast<unsigned char>(byte)]);
    return text;
}

void DrawLabel(QPainter& painter, double dotsPerMm, const LabelDrawing& drawing,
               const MmRect& cell) {
    FontSet fonts;
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
    FontSet fonts;
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
