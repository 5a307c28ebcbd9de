// The window's QSL labels: the menu entry beside the sort opens the labels panel with the
// sheets of the start directory and the choices of setup.ini; saving as PDF, the print preview
// and the print dialog draw the same labels; the file of QSOs sent follows only labels that
// were printed; the choices are kept in setup.ini.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSpinBox>
#include <QTimer>

#include <filesystem>

#include "labels/label_sheet.h"
#include "main_window_harness.h"

namespace velmark::testing {
namespace {

namespace fs = std::filesystem;

std::string qso(const std::string& call, const std::string& date) {
    return "<CALL:" + std::to_string(call.size()) + ">" + call + " <QSO_DATE:8>" + date +
           " <TIME_ON:4>1200 <BAND:3>20M <MODE:3>SSB <RST_SENT:2>59 <EOR>\r\n";
}

// Seven stations of three entities and one of none; QA1AA has four QSOs, two labels at three a
// card.
std::string labelLog() {
    std::string log = "Exported log\r\n<EOH>\r\n";
    for (const char* call :
         {"QC3CC", "QA1AA", "QB2BB", "QA1AA", "XX9XX", "QA1AA", "QA2AB", "QA1AA", "QB3BC", "QC4CD"})
        log += qso(call, "20230105");
    return log;
}

std::string labelIni(const std::string& sheet, bool dividers) {
    return IniText(
        {"[MAIN]", "Language=English", "Sorting=Sort_according_to_DXCC_list",
         "[For Sort and translate]", "Type input file=ADIFwe", "Type output file=CSVwy",
         "[Format QSO_Date For Sort and translate]", "Type format of input date QSO=YYYYMMDD",
         "Type format of output date QSO=YYYY-MM-DD", "Character for separtor QSO_date=-",
         "[PRINT QSL]", "Number of QSO_s on one QSLcard=3", "[Personal info]", "Callsign=SP9XYZ",
         "[PRINT LABELS]", "Label sheet=" + sheet,
         std::string("Divider labels=") + (dividers ? "1" : "0")});
}

class LabelWindow : public ::testing::Test {
  protected:
    LabelWindow() : start(labelIni("L7163.sheet", true)) {
        start.dir.write("DXCC.LST", OrderTestDxccList());
        fs::copy(fs::path(VELMARK_SOURCE_DATA_DIR) / kLabelSheetFolder,
                 start.dir.path() / kLabelSheetFolder);
        fs::create_directory(start.dir.path() / "out");
        logPath = start.dir.write("log.adi", labelLog());
    }
    std::string outFile(const std::string& name) const {
        return (start.dir.path() / "out" / name).string();
    }
    QString memo() const { return start.Find<QPlainTextEdit>("Memo1")->toPlainText(); }
    QComboBox* sheets() const { return start.Find<QComboBox>("LabelSheetList"); }
    void chooseSheet(const QString& name) {
        const int index = sheets()->findText(name, Qt::MatchStartsWith);
        ASSERT_GE(index, 0) << name.toStdString();
        sheets()->setCurrentIndex(index);
    }

    MainWindowHarness start;
    std::string logPath;
};

TEST_F(LabelWindow, TheMenuEntryShowsThePanelWithTheSheetsAndTheStoredChoices) {
    start.Trigger("PrintLabels1");
    for (const char* shown :
         {"LabelPanel", "LabelSheetList", "LabelStart", "LabelDividers", "LabelMarkSent",
          "LabelPreview", "LabelPrint", "LabelSavePdf", "Help_Labels"})
        EXPECT_TRUE(start.Shown(shown)) << shown;
    for (const char* hidden : {"GroupBox1", "GroupBox7", "Button2", "Panel1", "LabelSheetNote"})
        EXPECT_FALSE(start.Shown(hidden)) << hidden;
    EXPECT_EQ(sheets()->count(), 13);
    EXPECT_EQ(sheets()->currentText(),
              QStringLiteral("L7163 - Avery L7163 (A4, 2 x 7, 99.1 x 38.1 mm)"));
    EXPECT_TRUE(start.Find<QCheckBox>("LabelDividers")->isChecked());
    EXPECT_FALSE(start.Find<QCheckBox>("LabelMarkSent")->isChecked());
    auto* first = start.Find<QSpinBox>("LabelStart");
    EXPECT_EQ(first->value(), 1);
    EXPECT_EQ(first->maximum(), 14);
    chooseSheet(QStringLiteral("5160"));
    EXPECT_EQ(first->maximum(), 30);
    // The entry sits beside the sort in the menu.
    const QList<QAction*> menu = start.window->menuBar()->actions();
    EXPECT_EQ(menu.indexOf(start.window->PrintLabels1),
              menu.indexOf(start.window->TranslationFile1) + 1);

    for (const char* other : {"SortFileCSV1", "UpdateDxccListFromCountryFile"}) {
        start.Trigger("PrintLabels1");
        start.questions.fileAnswers = {std::nullopt};  // both cancelled in their file dialog
        start.Trigger(other);
        EXPECT_FALSE(start.Shown("LabelPanel")) << other;
    }
}

TEST_F(LabelWindow, ASheetThatCannotBeUsedIsNamedInTheNoteAndNothingCanBePrinted) {
    start.dir.write("LABEL_SHEETS/AAA-L7651.sheet",
                    "Page = A4\nColumns = 5\nRows = 13\nLabelWidth = 38.1\nLabelHeight = 21.2\n"
                    "ColumnGap = -1\n");
    start.Trigger("PrintLabels1");
    chooseSheet(QStringLiteral("AAA-L7651"));
    EXPECT_TRUE(start.Shown("LabelSheetNote"));
    const QString note = start.Text("LabelSheetNote");
    EXPECT_TRUE(note.contains(QStringLiteral("LABEL_SHEETS/AAA-L7651.sheet")))
        << note.toStdString();
    EXPECT_TRUE(note.contains(QStringLiteral("ColumnGap = -1"))) << note.toStdString();
    for (const char* button : {"LabelPreview", "LabelPrint", "LabelSavePdf"})
        EXPECT_FALSE(start.Find<QPushButton>(button)->isEnabled()) << button;
}

TEST_F(LabelWindow, SaveAsPdfWritesTheLabelsThenTheFileOfQsosSentAndKeepsTheChoices) {
    start.Trigger("PrintLabels1");
    chooseSheet(QStringLiteral("L7160"));
    start.Find<QSpinBox>("LabelStart")->setValue(4);
    start.Find<QCheckBox>("LabelDividers")->setChecked(false);
    start.Find<QCheckBox>("LabelMarkSent")->setChecked(true);
    start.questions.fileAnswers = {logPath, outFile("labels.pdf"), outFile("sent.adi")};
    start.Click("LabelSavePdf");

    EXPECT_TRUE(start.questions.errorBoxes.empty());
    EXPECT_EQ(TempDir::read(outFile("labels.pdf")).substr(0, 5), "%PDF-");
    const std::string sent = TempDir::read(outFile("sent.adi"));
    EXPECT_NE(sent.find("<CALL:5>QA1AA <QSO_DATE:8>20230105 <TIME_ON:4>1200 <BAND:3>20M "
                        "<MODE:3>SSB <RST_SENT:2>59 <QSL_SENT:1>Y <QSLSDATE:8>"),
              std::string::npos)
        << sent;
    const QString report = memo();
    EXPECT_TRUE(report.contains(QStringLiteral("Labels with QSOs          = 8")))
        << report.toStdString();
    EXPECT_TRUE(report.contains(QString::fromStdString(outFile("labels.pdf"))));
    EXPECT_TRUE(report.contains(QString::fromStdString(outFile("sent.adi"))));
    EXPECT_TRUE(start.Shown("ZatwSortow"));
    EXPECT_FALSE(fs::exists(start.dir.path() / "TYM.LOG"));
    // The dialogs: the log, the PDF, the file of QSOs sent.
    ASSERT_EQ(start.questions.dialogRequests.size(), 3u);
    EXPECT_EQ(start.questions.dialogRequests[1].defaultExtension, "pdf");
    EXPECT_EQ(start.questions.dialogRequests[2].defaultExtension, "adi");

    const TKonfiguracja stored = start.StoredConfig();
    EXPECT_EQ(stored.LabelSheetName, "L7160.sheet");
    EXPECT_FALSE(stored.LabelDividers);
    EXPECT_TRUE(stored.LabelMarkSent);
    EXPECT_EQ(start.window->Config().LastOutputDir, (start.dir.path() / "out").string());

    // The finish button releases the run's objects, as after a sort.
    start.Click("ZatwSortow");
    EXPECT_EQ(start.window->DxccList(), nullptr);
    EXPECT_EQ(start.window->ProcessingObject(), nullptr);
}

// The preview draws the labels on the printer it is handed; printed from there, the labels
// are reported and the QSOs marked as sent. Closed without printing, nothing is marked.
TEST_F(LabelWindow, ThePreviewDrawsTheLabelsOnItsPrinterAndOnlyPrintedOnesAreMarkedSent) {
    start.Trigger("PrintLabels1");
    start.Find<QCheckBox>("LabelMarkSent")->setChecked(true);
    start.labelPreview = [&](QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
        // The sheet's page, all of it the paint area.
        EXPECT_TRUE(printer.fullPage());
        EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4);
        EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(outFile("preview.pdf")));
        paint(printer);
        return false;
    };
    start.questions.fileAnswers = {logPath};
    start.Click("LabelPreview");
    EXPECT_EQ(TempDir::read(outFile("preview.pdf")).substr(0, 5), "%PDF-");
    EXPECT_TRUE(memo().contains(QString::fromStdString(start.window->Texts().MsgLabelsNotPrinted)));
    EXPECT_EQ(start.questions.dialogRequests.size(), 1u) << "no file of QSOs sent was asked for";
    start.Click("ZatwSortow");

    start.Trigger("PrintLabels1");
    start.labelPreview = [&](QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(outFile("printed.pdf")));
        paint(printer);
        return true;
    };
    start.questions.fileAnswers = {logPath, outFile("sent.adi")};
    start.Click("LabelPreview");
    EXPECT_TRUE(fs::exists(outFile("printed.pdf")));
    EXPECT_TRUE(fs::exists(outFile("sent.adi")));
    EXPECT_TRUE(memo().contains(QString::fromStdString(start.window->Texts().RepLabelsPrinted)));
}

TEST_F(LabelWindow, PrintingGoesThroughThePrintDialogOnlyWhenTheUserSaysPrint) {
    start.Trigger("PrintLabels1");
    start.printDialog = [](QPrinter&) { return false; };
    start.questions.fileAnswers = {logPath};
    start.Click("LabelPrint");
    EXPECT_TRUE(memo().contains(QString::fromStdString(start.window->Texts().MsgLabelsNotPrinted)));
    start.Click("ZatwSortow");

    start.Trigger("PrintLabels1");
    start.printDialog = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(outFile("printer.pdf")));
        return true;
    };
    start.questions.fileAnswers = {logPath};
    start.Click("LabelPrint");
    EXPECT_TRUE(start.questions.errorBoxes.empty());
    EXPECT_EQ(TempDir::read(outFile("printer.pdf")).substr(0, 5), "%PDF-");
    EXPECT_TRUE(memo().contains(QString::fromStdString(outFile("printer.pdf"))));
}

// Qt's own preview dialog: it shows every page of the labels; closed, nothing is printed.
TEST_F(LabelWindow, QtsPrintPreviewShowsThePages) {
    start.scriptedPrinting = false;
    start.Start();
    start.Trigger("PrintLabels1");
    chooseSheet(QStringLiteral("3422"));  // 24 a page: 9 labels and 4 dividers on one page
    int pageCount = -1;
    // Once the dialog is open and has drawn its pages, the user looks and closes it.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        auto* preview = dialog != nullptr ? dialog->findChild<QPrintPreviewWidget*>() : nullptr;
        if (preview == nullptr || preview->pageCount() == 0)
            return;
        pageCount = preview->pageCount();
        dialog->reject();
    });
    watch.start(50);
    start.questions.fileAnswers = {logPath};
    start.Click("LabelPreview");
    EXPECT_EQ(pageCount, 1);
    EXPECT_TRUE(memo().contains(QString::fromStdString(start.window->Texts().MsgLabelsNotPrinted)));
}

}  // namespace
}  // namespace velmark::testing
