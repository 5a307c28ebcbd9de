// The labels' PDF as a reader of it sees it: poppler's pdftotext finds every callsign of the
// log on the page the layout gave its label, in sort order, with the Polish letters of the
// entity names intact; the font is embedded; rendered with pdftoppm, no ink lies outside the
// labels of an L7160 sheet; a PDF that cannot be written leaves nothing behind; the preview's
// way of drawing text puts it where the PDF has it.

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QRawFont>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/field_catalogue.h"
#include "core/processing_object.h"
#include "core/program_values.h"
#include "dxcc/dxcc_list.h"
#include "dxcc/dxcc_list_loader.h"
#include "label_painter/label_painter.h"
#include "label_painter/label_pdf.h"
#include "labels/label_run.h"
#include "run/run_driver.h"
#include "settings/configuration.h"
#include "settings/text_table.h"
#include "support/file_obstacles.h"
#include "support/scripted_user_interface.h"
#include "support/temp_dir.h"
#include "tests/dxcc/dxcc_test_lists.h"

namespace velmark::testing {
namespace {

namespace fs = std::filesystem;

// A command's standard output.
std::string Output(const std::string& command) {
    std::string text;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        text.append(buffer, n);
    ::pclose(pipe);
    return text;
}

bool HavePoppler() {
    return std::system("pdftotext -v >/dev/null 2>&1") == 0 &&
           std::system("pdftoppm -v >/dev/null 2>&1") == 0;
}

// Three entities, the first with Polish letters in its name (code page 1250 in DXCC.LST).
const std::string kPolishName = "WYSPA \xA3\xD3\x44\x8F \xAF\xD3\xA3TA";  // ŁÓDŹ ŻÓŁTA
const std::string kPolishNameUtf8 = "WYSPA ŁÓDŹ ŻÓŁTA";

// A start directory with the DXCC list, the bundled sheets and a log of `stations` stations of
// the three entities, some with several QSOs; English texts.
class PdfRun {
  public:
    explicit PdfRun(int stations) {
        texts.Fill(kLanguageEnglish);
        values.StartDirectory = dir.path().string();
        values.ProgramFileName = "velmark-test";
        dir.write("DXCC.LST",
                  HeaderLine(kPolishName, 15, 28, "EU", "269") + "\r\n" + PrefixLine("QA") +
                      "\r\n" + HeaderLine("SECOND ENTITY", 14, 27, "EU", "230") + "\r\n" +
                      PrefixLine("QB") + "\r\n" + HeaderLine("THIRD ENTITY", 5, 8, "NA", "291") +
                      "\r\n" + PrefixLine("QC") + "\r\n");
        LoadDxccList(*list, texts, ui, values);
        fs::copy(fs::path(VELMARK_SOURCE_DATA_DIR) / kLabelSheetFolder,
                 dir.path() / kLabelSheetFolder);
        config.InputDateFormat = 1;
        config.QsosPerCard = 3;
        config.Sorting = kOrderByListNr;
        config.PersonalInfo.Callsign = "SP9XYZ";
        std::string log = "<EOH>\r\n";
        for (int s = 0; s < stations; ++s) {
            const std::string call = std::string("Q") + "ABC"[s % 3] + std::to_string(s % 10) +
                                     static_cast<char>('A' + s / 10 % 26) +
                                     static_cast<char>('A' + s % 26);
            for (int q = 0; q <= s % 5; ++q) {
                log += "<CALL:" + std::to_string(call.size()) + ">" + call + "<QSO_DATE:8>2024010" +
                       std::to_string(1 + q) +
                       "<TIME_ON:4>1200<BAND:3>20M<MODE:2>CW<RST_SENT:3>599<EOR>\r\n";
            }
        }
        values.InputFileName = dir.write("log.adi", log);
    }

    // Reads and sorts the log for the sheet; false when refused.
    bool Prepare(const std::string& sheet, bool dividers, int startLabel = 1) {
        const LabelRequest request{*FindLabelSheet(dir.path().string(), sheet), startLabel,
                                   dividers};
        job = StartLabelJob(request, config, values, texts, ui);
        if (!job)
            return false;
        values.RunStatus = 0;
        ReadInputLog(objects, InputKindFor(0));
        return values.RunStatus == 0 && SortForLabels(objects, *job);
    }

    std::vector<LabelContent> Labels() {
        std::vector<LabelContent> labels;
        LabelSequence sequence(objects, *job);
        LabelContent label;
        while (sequence.Next(label)) labels.push_back(label);
        return labels;
    }

    TempDir dir;
    TNazwyJezykowe texts;
    TKonfiguracja config;
    TStrukturaADIF catalogue;
    std::unique_ptr<TListaDXCC> list = std::make_unique<TListaDXCC>();
    TObiektyInputOutput processing;
    ProgramValues values;
    ScriptedUserInterface ui;
    RunObjects objects{config, texts, catalogue, *list, processing, values, ui, {}, {}};
    std::optional<LabelJob> job;
};

std::vector<std::string> PagesOfText(const std::string& pdf) {
    const std::string text = Output("pdftotext -layout '" + pdf + "' -");
    std::vector<std::string> pages;
    std::size_t start = 0;
    for (std::size_t feed; (feed = text.find('\f', start)) != std::string::npos; start = feed + 1)
        pages.push_back(text.substr(start, feed - start));
    return pages;
}

TEST(LabelPdf, EveryCallsignIsOnItsPageInSortOrderWithPolishLettersIntact) {
    if (!HavePoppler())
        GTEST_SKIP() << "poppler-utils (pdftotext, pdftoppm) are not installed";
    PdfRun run(120);
    ASSERT_TRUE(run.Prepare("L7160", /*dividers=*/true, /*startLabel=*/5));
    const std::vector<LabelContent> labels = run.Labels();
    const std::string pdf = run.dir.file("labels.pdf");
    const LabelsDrawn drawn = painter::WriteLabelPdf(pdf, run.objects, *run.job);

    EXPECT_EQ(drawn.Labels, static_cast<std::int64_t>(labels.size()));
    EXPECT_EQ(drawn.Labels, run.job->Labels());
    EXPECT_EQ(drawn.Pages, run.job->Pages());
    EXPECT_EQ(drawn.Qsos, run.list->Run.QsoCount);
    const std::vector<std::string> pages = PagesOfText(pdf);
    ASSERT_EQ(static_cast<std::int64_t>(pages.size()), drawn.Pages);

    // What each page must show, in reading order: the callsigns of its card labels.
    std::vector<std::vector<std::string>> expected(pages.size());
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const LabelPlace place = PlaceLabel(run.job->Sheet, 5, static_cast<std::int64_t>(i));
        const std::string& page = pages[static_cast<std::size_t>(place.Page)];
        if (labels[i].Divider) {
            const std::string name =
                labels[i].EntityName == kPolishName ? kPolishNameUtf8 : labels[i].EntityName;
            EXPECT_NE(page.find(name), std::string::npos) << name << " not on page " << place.Page;
        } else {
            expected[static_cast<std::size_t>(place.Page)].push_back(labels[i].Callsign);
        }
    }
    const std::regex toRadio("To Radio (\\S+)");
    for (std::size_t p = 0; p < pages.size(); ++p) {
        std::vector<std::string> found;
        for (auto it = std::sregex_iterator(pages[p].begin(), pages[p].end(), toRadio);
             it != std::sregex_iterator(); ++it)
            found.push_back((*it)[1]);
        EXPECT_EQ(found, expected[p]) << "page " << p + 1;
    }
    EXPECT_NE(pages[0].find(kPolishNameUtf8), std::string::npos);
    EXPECT_NE(pages[0].find("DXCC list no. 1   ADIF no. 269"), std::string::npos);
    EXPECT_NE(pages[0].find("From: SP9XYZ"), std::string::npos);

    const std::string fonts = Output("pdffonts '" + pdf + "'");
    EXPECT_TRUE(std::regex_search(fonts, std::regex("DejaVuSansMono +CID TrueType +\\S+ +yes")))
        << fonts;
    EXPECT_TRUE(
        std::regex_search(fonts, std::regex("DejaVuSansMono-Bold +CID TrueType +\\S+ +yes")))
        << fonts;
}

// A page rendered by pdftoppm as a grey image.
struct GreyPage {
    int Width = 0;
    int Height = 0;
    std::vector<unsigned char> Pixels;

    static GreyPage Render(const std::string& pdf, int page, int dotsPerInch) {
        const std::string stem = pdf + "-page";
        Output("pdftoppm -gray -r " + std::to_string(dotsPerInch) + " -f " + std::to_string(page) +
               " -l " + std::to_string(page) + " -singlefile '" + pdf + "' '" + stem + "'");
        std::ifstream in(stem + ".pgm", std::ios::binary);
        GreyPage grey;
        std::string magic;
        int maximum = 0;
        in >> magic >> grey.Width >> grey.Height >> maximum;
        in.get();
        grey.Pixels.resize(static_cast<std::size_t>(grey.Width) * grey.Height);
        in.read(reinterpret_cast<char*>(grey.Pixels.data()),
                static_cast<std::streamsize>(grey.Pixels.size()));
        return grey;
    }
    bool Ink(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x] < 160; }
};

// The visual check of a printed sheet: every dark pixel of the first page lies inside a label
// cell, a few tenths of a millimetre inside its edge, and every cell of the page has ink.
TEST(LabelPdf, RenderedL7160PageHasInkOnlyInsideTheLabels) {
    if (!HavePoppler())
        GTEST_SKIP() << "poppler-utils (pdftotext, pdftoppm) are not installed";
    PdfRun run(120);
    ASSERT_TRUE(run.Prepare("L7160", /*dividers=*/true));
    const std::string pdf = run.dir.file("labels.pdf");
    painter::WriteLabelPdf(pdf, run.objects, *run.job);
    constexpr int kDpi = 150;
    const GreyPage page = GreyPage::Render(pdf, 1, kDpi);
    ASSERT_NEAR(page.Width, 1240, 1);   // 210 mm
    ASSERT_NEAR(page.Height, 1754, 1);  // 297 mm
    const LabelSheet& sheet = run.job->Sheet;
    const double dotsPerMm = kDpi / 25.4;
    std::vector<int> inkInCell(static_cast<std::size_t>(sheet.LabelsPerPage()), 0);
    int outside = 0;
    for (int y = 0; y < page.Height; ++y) {
        for (int x = 0; x < page.Width; ++x) {
            if (!page.Ink(x, y))
                continue;
            bool inside = false;
            for (int slot = 0; slot < sheet.LabelsPerPage() && !inside; ++slot) {
                const MmRect cell = sheet.Cell(slot);
                // 1 mm inside the edge: the layout keeps 1.5 mm free.
                inside =
                    x >= (cell.X + 1) * dotsPerMm && x < (cell.X + cell.Width - 1) * dotsPerMm &&
                    y >= (cell.Y + 1) * dotsPerMm && y < (cell.Y + cell.Height - 1) * dotsPerMm;
                if (inside)
                    ++inkInCell[static_cast<std::size_t>(slot)];
            }
            outside += inside ? 0 : 1;
        }
    }
    EXPECT_EQ(outside, 0);
    for (int slot = 0; slot < sheet.LabelsPerPage(); ++slot)
        EXPECT_GT(inkInCell[static_cast<std::size_t>(slot)], 100) << "label " << slot + 1;
}

// The disk fills up while the PDF is written: the error names the file, and neither a part of
// the PDF nor a temporary file is left; an older PDF of the same name stays as it was.
TEST(LabelPdf, APdfThatCannotBeWrittenLeavesNoPartOfItAndKeepsTheOldOne) {
    PdfRun run(120);
    ASSERT_TRUE(run.Prepare("L7160", false));
    const std::string pdf = run.dir.file("out/labels.pdf");
    fs::create_directories(run.dir.path() / "out");
    run.dir.write("out/labels.pdf", "the previous labels");
    try {
        const FileSizeLimit diskFull(16 * 1024);
        painter::WriteLabelPdf(pdf, run.objects, *run.job);
        ADD_FAILURE() << "the write reported no error";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), "File too large: " + pdf);
    }
    EXPECT_EQ(TempDir::read(pdf), "the previous labels");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(run.dir.path() / "out"))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, (std::vector<std::string>{"labels.pdf"}));

    EXPECT_THROW(painter::WriteLabelPdf(run.dir.file("missing/labels.pdf"), run.objects, *run.job),
                 FileError);
    EXPECT_FALSE(fs::exists(run.dir.path() / "missing"));
}

// The layout reckons with the embedded font's metrics; they must be the font's own.
TEST(LabelFont, HasTheAdvanceAscentAndDescentTheLayoutReckonsWith) {
    for (const bool bold : {false, true}) {
        QFont font(painter::LabelFontFamily());
        font.setBold(bold);
        font.setPixelSize(100);
        const QRawFont raw = QRawFont::fromFont(font);
        ASSERT_TRUE(raw.isValid());
        EXPECT_EQ(raw.familyName(), QStringLiteral("DejaVu Sans Mono"));
        EXPECT_NEAR(raw.unitsPerEm(), 2048, 1e-9);
        const QString sample = painter::LabelString("0MW.i\xB9\xB3\xAF");
        const QList<quint32> glyphs = raw.glyphIndexesForString(sample);
        for (const QPointF& advance : raw.advancesForGlyphIndexes(glyphs))
            EXPECT_NEAR(advance.x(), 100 * kMonoAdvanceEm, 0.01);
        for (const quint32 glyph : glyphs) EXPECT_NE(glyph, 0u) << "a character without a glyph";
        EXPECT_NEAR(raw.ascent(), 100 * kMonoAscentEm, 0.01);
        EXPECT_NEAR(raw.descent(), 100 * kMonoDescentEm, 0.01);
    }
}

TEST(LabelString, TurnsCodePage1250IntoTheCharacters) {
    EXPECT_EQ(painter::LabelString("SP \xA3\xF3\x64\x9F \xB9\xEA\xBF"),
              QStringLiteral("SP Łódź ąęż"));
}

// The preview and other printers get the text itself instead of glyphs: drawn on an image,
// each label's ink covers the same area as in the PDF, to a pixel or two.
TEST(LabelPdf, ThePreviewsWayOfDrawingPutsTheTextWhereThePdfHasIt) {
    if (!HavePoppler())
        GTEST_SKIP() << "poppler-utils (pdftotext, pdftoppm) are not installed";
    PdfRun run(6);
    ASSERT_TRUE(run.Prepare("L7163", false));
    const std::string pdf = run.dir.file("labels.pdf");
    painter::WriteLabelPdf(pdf, run.objects, *run.job);
    constexpr int kDpi = 100;
    const GreyPage page = GreyPage::Render(pdf, 1, kDpi);

    QImage image(page.Width, page.Height, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    image.setDotsPerMeterX(qRound(kDpi / 0.0254));
    image.setDotsPerMeterY(qRound(kDpi / 0.0254));
    {
        QPainter painter(&image);
        LabelDrawing drawing;
        std::int64_t sequence = 0;
        for (const LabelContent& label : run.Labels()) {
            LayOutLabel(run.job->Layout, run.job->Words, label, drawing);
            painter::DrawLabel(painter, kDpi / 25.4, drawing,
                               PlaceLabel(run.job->Sheet, 1, sequence++).Cell);
        }
    }
    // The ink's bounding box in each label.
    const auto box = [&](auto ink, const MmRect& cell) {
        const double d = kDpi / 25.4;
        int left = page.Width, right = -1, top = page.Height, bottom = -1;
        for (int y = static_cast<int>(cell.Y * d); y < static_cast<int>((cell.Y + cell.Height) * d);
             ++y)
            for (int x = static_cast<int>(cell.X * d);
                 x < static_cast<int>((cell.X + cell.Width) * d); ++x)
                if (ink(x, y)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        return std::array<int, 4>{left, right, top, bottom};
    };
    for (int slot = 0; slot < run.job->Labels(); ++slot) {
        const MmRect cell = run.job->Sheet.Cell(slot);
        const auto pdfBox = box([&](int x, int y) { return page.Ink(x, y); }, cell);
        const auto imageBox =
            box([&](int x, int y) { return qGray(image.pixel(x, y)) < 160; }, cell);
        ASSERT_GE(pdfBox[1], 0) << "label " << slot + 1 << " has no ink in the PDF";
        for (int side = 0; side < 4; ++side)
            EXPECT_NEAR(pdfBox[side], imageBox[side], 2)
                << "label " << slot + 1 << " side " << side;
    }
}

}  // namespace
}  // namespace velmark::testing
