// The main window's QSL labels: the menu entry beside the sort, the labels panel, and a labels
// run to the print preview, the printer or a PDF file. The labels are the cards of the sort's
// mail-merge layout, drawn by the one label painter (label_painter/) on whichever device.

#include <QAction>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

#include <memory>

#include "core/errors.h"
#include "label_painter/label_painter.h"
#include "label_painter/label_pdf.h"
#include "run/start_directory_lock.h"
#include "ui/busy_scope.h"
#include "ui/cp1250_qstring.h"
#include "ui/label_print_panel.h"
#include "ui/main_window.h"
#include "ui/qt_user_interface.h"

namespace velmark::ui {

namespace {

constexpr int kStatusOk = 0;

// The user interface while the print preview draws its pages: everything goes to the window's,
// but no pending events are let through, since the preview dialog is building its pages and
// must not be asked to show them meanwhile.
class PanelWithoutEvents final : public UserInterface {
  public:
    explicit PanelWithoutEvents(UserInterface& panel) : m_panel(panel) {}
    void SetCaption(const std::string& text) override { m_panel.SetCaption(text); }
    void SetProgress(int percent) override { m_panel.SetProgress(percent); }
    void AppendMessage(const std::string& line) override { m_panel.AppendMessage(line); }
    void ShowEndButtons(bool visible) override { m_panel.ShowEndButtons(visible); }
    void ProcessEvents() override {}
    void ErrorBox(const std::string& text, BoxOffset offset) override {
        m_panel.ErrorBox(text, offset);
    }
    bool WarningBox(const std::string& text, BoxOffset offset) override {
        return m_panel.WarningBox(text, offset);
    }
    void PlainMessage(const std::string& text) override { m_panel.PlainMessage(text); }
    std::string InputBox(const std::string& caption, const std::string& prompt,
                         const std::string& proposed) override {
        return m_panel.InputBox(caption, prompt, proposed);
    }
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override {
        return m_panel.OpenFileDialog(request);
    }
    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override {
        return m_panel.SaveFileDialog(request);
    }
    void Beep() override { m_panel.Beep(); }

  private:
    UserInterface& m_panel;
};

// A printer set up for the sheet: its page, the whole page as the paint area.
void prepareLabelPrinter(QPrinter& printer, const LabelSheet& sheet) {
    printer.setPageLayout(painter::LabelPageLayout(sheet));
    // After the page layout, which would otherwise set the printer's margins again.
    printer.setFullPage(true);
    printer.setDocName(QStringLiteral("QSL labels"));
}

}  // namespace

void TForm4::setUpLabels() {
    PrintLabels1 = new QAction(this);
    PrintLabels1->setObjectName(QStringLiteral("PrintLabels1"));
    PrintLabels1->setText(FromCp1250(m_texts.MenuPrintLabels));
    // Beside the sort, before the bookmarks.
    menuBar()->insertAction(BookmarksForQSLArchive->menuAction(), PrintLabels1);

    LabelPanel = new TLabelPanel(m_content);
    LabelPanel->SetTexts(m_texts);
    auto* layout = static_cast<QVBoxLayout*>(m_content->layout());
    layout->insertWidget(layout->indexOf(Panel1), LabelPanel);
    LabelPanel->hide();

    connect(PrintLabels1, &QAction::triggered, this, whenIdle([this] { printLabels(); }));
    connect(LabelPanel, &TLabelPanel::previewRequested, this,
            whenIdle([this] { runLabels(LabelOutput::Preview); }));
    connect(LabelPanel, &TLabelPanel::printRequested, this,
            whenIdle([this] { runLabels(LabelOutput::Printer); }));
    connect(LabelPanel, &TLabelPanel::pdfRequested, this,
            whenIdle([this] { runLabels(LabelOutput::Pdf); }));
    // Every other command of the menu leaves the labels panel.
    for (QAction* other :
         {ConfigForSortingAndTtranslate, ConfigPersonalInfo1, ConfigCabrilloFormat1, SortFileCSV1,
          TranslationFile1, SortowanieBookmarksWgListyDDXCC_CTY_DAT,
          SortowanieBookmarksWgNumerowStandarduADIF, SzukanieKrajuDlaZnaku,
          UpdateDxccListFromCountryFile}) {
        connect(other, &QAction::triggered, LabelPanel, [this] {
            if (!m_busy)
                LabelPanel->hide();
        });
    }
}

void TForm4::printLabels() {
    GroupBox1->hide();
    GroupBox7->hide();
    Button2->hide();
    Help_Sort->hide();
    Personal_Config->hide();
    Panel1->hide();
    LabelPanel->Fill(m_values.StartDirectory, m_config, m_texts);
    LabelPanel->show();
}

void TForm4::runLabels(LabelOutput output) {
    // The panel's choices are kept for the next time, whatever comes of the run.
    LabelPanel->TakeChoices(m_config);
    writeConfiguration();
    const std::optional<std::string> sheet = LabelPanel->SheetPath();
    if (!sheet) {
        m_ui->ErrorBox(m_texts.NoteNoLabelSheets);
        return;
    }
    showPanel(true);
    ZatListyDXCC->hide();
    ZatwSortow->hide();
    ZatwierdzBookmarksDlaArchiwum->hide();
    std::optional<LabelJob> job =
        StartLabelJob({*sheet, LabelPanel->StartLabel(), m_config.LabelDividers}, m_config,
                      m_values, m_texts, *m_ui);
    if (!job)
        return;
    m_values.TranslationMode = 0;
    if (!m_dxccList && !loadNewDxccList())
        return;
    if (!m_processing)
        m_processing = std::make_unique<TObiektyInputOutput>();

    if (!askInputLog()) {
        ZatwSortow->show();
        return;
    }

    RunObjects run = runObjects();
    try {
        // The run keeps its QSOs in the start directory's TYM.LOG, as a sort does.
        const auto lock = LockStartDirectoryFor(m_values.StartDirectory,
                                                std::chrono::milliseconds::zero(), m_texts, *m_ui);
        if (!lock)
            return;
        {
            // Reading and sorting both let events through for their progress: no other command
            // may start (and release the DXCC list they use) until both are done.
            const BusyScope busy(*this, LabelPanel);
            ReadInputLog(run, m_inputKind);
            if (m_values.RunStatus != kStatusOk) {
                reportRunStatus();
                return;
            }
            if (!SortForLabels(run, *job))
                return;
        }
        LabelsDrawn drawn;
        std::string destination;
        const bool printed = printLabelsOn(run, *job, output, drawn, destination);
        std::string markSent;
        if (printed && m_config.LabelMarkSent) {
            // Only labels that are complete have their QSOs marked as sent.
            FileDialogRequest request{m_texts.DlgMarkSentFile, "File *.adi|*.adi", "adi",
                                      m_config.LastOutputDir};
            if (const auto path = m_ui->SaveFileDialog(request)) {
                markSent = *path;
                WriteMarkSentFile(markSent, run);
            } else {
                m_ui->PlainMessage(m_texts.MsgNoFileChosen);
            }
        }
        if (printed) {
            ReportLabelRun(run, *job, drawn, destination, output != LabelOutput::Pdf, markSent);
        } else {
            m_ui->AppendMessage(m_texts.MsgLabelsNotPrinted);
        }
        FinishLabelRun(run);
    } catch (const FileError& error) {
        m_ui->ErrorBox(error.what());
        ZatwSortow->show();
    }
    LastOutputDir->setText(PathText(m_config.LastOutputDir));
}

bool TForm4::printLabelsOn(RunObjects& run, const LabelJob& job, LabelOutput output,
                           LabelsDrawn& drawn, std::string& destination) {
    if (output == LabelOutput::Pdf) {
        FileDialogRequest request{m_texts.DlgLabelsPdfFile, "File *.pdf|*.pdf", "pdf",
                                  m_config.LastOutputDir};
        const auto path = m_ui->SaveFileDialog(request);
        if (!path) {
            m_ui->PlainMessage(m_texts.MsgNoFileChosen);
            return false;
        }
        const BusyScope busy(*this, LabelPanel);
        drawn = painter::WriteLabelPdf(*path, run, job);
        destination = *path;
        m_config.LastOutputDir = PathBytes(QFileInfo(PathText(*path)).absolutePath());
        return true;
    }
    QPrinter printer(QPrinter::HighResolution);
    prepareLabelPrinter(printer, job.Sheet);
    // The same drawing for the preview's pages and for the printer it prints on. The preview
    // calls it from Qt's own code, which an exception must not cross: a failure (TYM.LOG that
    // cannot be read) is kept and thrown once the dialog is closed.
    std::optional<FileError> failure;
    PanelWithoutEvents quietPanel(*m_ui);
    RunObjects previewRun{run.Config,   run.Texts,        run.Catalogue,
                          run.DxccList, run.Processing,   run.Values,
                          quietPanel,   run.SetupIniPath, run.OpenCabrilloExport};
    RunObjects& drawingRun = output == LabelOutput::Preview ? previewRun : run;
    const auto paint = [&](QPrinter& device) {
        QPainter painter(&device);
        const BusyScope busy(*this, LabelPanel);
        try {
            drawn = painter::PaintLabelPages(painter, device, drawingRun, job);
        } catch (const FileError& error) {
            failure = error;
        }
    };
    bool printed = false;
    if (output == LabelOutput::Preview) {
        if (m_environment.ShowLabelPreview) {
            printed = m_environment.ShowLabelPreview(printer, paint);
        } else {
            QPrintPreviewDialog preview(&printer, this);
            preview.setObjectName(QStringLiteral("LabelPrintPreview"));
            connect(&preview, &QPrintPreviewDialog::paintRequested, this,
                    [&](QPrinter* device) { paint(*device); });
            // The dialog closes with Accepted when its print button sent the labels out.
            printed = preview.exec() == QDialog::Accepted;
        }
    } else {
        bool chosen = false;
        if (m_environment.ShowPrintDialog) {
            chosen = m_environment.ShowPrintDialog(printer);
        } else {
            QPrintDialog dialog(&printer, this);
            chosen = dialog.exec() == QDialog::Accepted;
        }
        if (chosen) {
            paint(printer);
            printed = true;
        }
    }
    if (failure)
        throw *failure;
    destination = printer.outputFileName().isEmpty() ? ToCp1250(printer.printerName())
                                                     : ToCp1250(printer.outputFileName());
    return printed;
}

}  // namespace velmark::ui
