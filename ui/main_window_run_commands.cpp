// The main window's commands that do the program's work: sort, translate and its confirmation,
// the start and finish of a run (with the Cabrillo export of a run to Cabrillo), the archive
// bookmarks and their confirmation, and the country search. They own the DXCC list object and
// the processing object while these are needed.

#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolBar>

#include "core/errors.h"
#include "dxcc/bookmarks.h"
#include "dxcc/dxcc_list_loader.h"
#include "ui/cp1250_qstring.h"
#include "ui/main_window.h"
#include "ui/qt_user_interface.h"
#include "ui/second_window.h"

namespace velmark::ui {

// While a command loads the list or runs, it lets events through: the menu and the toolbar are
// shut so that no other command starts under it (and the list it works on stays alive).
class BusyScope {
  public:
    explicit BusyScope(TForm4& window) : m_window(window) {
        m_window.m_busy = true;
        m_window.menuBar()->setEnabled(false);
        m_window.ToolBar1->setEnabled(false);
    }
    ~BusyScope() {
        m_window.m_busy = false;
        m_window.menuBar()->setEnabled(true);
        m_window.ToolBar1->setEnabled(true);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    TForm4& m_window;
};

namespace {

constexpr int kStatusFileMissing = 1;
constexpr int kStatusDataError = 2;
constexpr int kCabrilloType = 3;

}  // namespace

RunObjects TForm4::runObjects() {
    // No setup.ini path for the run itself: when the input side settles the input date format
    // it selects the format in the window, whose rule writes the configuration.
    return RunObjects{m_config,
                      m_texts,
                      m_catalogue,
                      *m_dxccList,
                      *m_processing,
                      m_values,
                      *m_ui,
                      {},
                      [this](RunObjects& run) { openCabrilloExport(run); }};
}

void TForm4::showPanel(bool withEmptyMessages) {
    Panel1->show();
    if (withEmptyMessages) {
        Memo1->clear();
    }
}

bool TForm4::reportRunStatus() {
    if (m_values.RunStatus == kStatusFileMissing) {
        m_ui->ErrorBox(m_texts.MsgInputFileMissing);
        return true;
    }
    if (m_values.RunStatus == kStatusDataError) {
        ZatwSortow->hide();
        m_ui->ErrorBox(m_dataErrorText);
        return true;
    }
    return false;
}

bool TForm4::loadNewDxccList() {
    // A data error found earlier does not count against a new load: only this load's result
    // decides. A missing file (status 1) stays reported until a run starts: its message asks
    // the user to leave the program and put the file in place.
    if (m_values.RunStatus == kStatusDataError) {
        m_values.RunStatus = 0;
    }
    Label8->setText(FromCp1250(m_texts.CapReadingDxccList));
    m_dxccList = std::make_unique<TListaDXCC>();
    try {
        const BusyScope busy(*this);
        LoadDxccList(*m_dxccList, m_texts, *m_ui, m_values);
    } catch (const FileError& error) {
        m_dxccList.reset();
        m_ui->ErrorBox(error.what());
        return false;
    }
    // A list that failed to load is not kept: the next command reads DXCC.LST again rather
    // than work on an empty or half-filled list.
    if (reportRunStatus()) {
        m_dxccList.reset();
        return false;
    }
    return true;
}

void TForm4::sortFile() {
    makeAdifStandardOffer(BoxOffset::Near);
    m_values.TranslationMode = 0;
    if (m_config.InputFileType == kCabrilloType || m_config.OutputFileType == kCabrilloType) {
        m_ui->ErrorBox(m_texts.MsgNoSortForCbr + "\r" + m_texts.MsgUseTranslateForCbr);
        return;
    }
    GroupBox1->hide();
    GroupBox7->hide();
    Button2->hide();
    Help_Translate->hide();
    showPanel(true);
    ZatListyDXCC->hide();
    ZatwSortow->hide();
    ZatwierdzBookmarksDlaArchiwum->hide();
    Help_Sort->hide();
    if (m_dxccList || loadNewDxccList()) {
        ZatListyDXCC->show();
        Help_DXCC_LST->show();
    }
}

void TForm4::translateFile() {
    makeAdifStandardOffer(BoxOffset::Standard);
    GroupBox1->show();
    GroupBox2->hide();
    GroupBox3->hide();
    GroupBox7->hide();
    Button2->hide();
    Help_Sort->hide();
    Help_DXCC_LST->hide();
    Panel1->hide();
    ZatwierdzBookmarksDlaArchiwum->hide();
    Zatw_transla->show();
    Help_Translate->show();
    setListNotes();
}

void TForm4::confirmTranslation() {
    GroupBox1->hide();
    if (!writeConfiguration()) {
        return;
    }
    // A translation writes one record per QSO and never divides; in memory only, the fields
    // keep showing the user's printing values.
    m_values.TranslationMode = 1;
    m_config.QsosPerCard = 1;
    m_config.DivideOutputFile = false;
    GroupBox7->hide();
    Button2->hide();
    showPanel(true);
    ZatListyDXCC->hide();
    ZatwSortow->hide();
    m_dxccList.reset();
    if (!loadNewDxccList()) {
        return;
    }
    ZatListyDXCC->show();
    startRun();
}

void TForm4::startRun() {
    if (!m_processing) {
        m_processing = std::make_unique<TObiektyInputOutput>();
    }
    LastInputDir->setText(QFile::decodeName(QByteArray::fromStdString(m_config.LastInputDir)));
    m_inputKind = InputKindFor(m_config.InputFileType);
    Memo1->clear();
    Label8->setText(FromCp1250(m_texts.CapReadingInputFile));
    ProgressBar1->setValue(0);

    const std::optional<std::string> chosen = m_ui->OpenFileDialog(
        {{}, m_inputKind.DialogFilter, m_inputKind.DefaultExtension, m_config.LastInputDir});
    if (!chosen) {
        m_ui->PlainMessage(m_texts.MsgNoFileChosen);
    } else {
        ZatListyDXCC->hide();
        const QString path = QFile::decodeName(QByteArray::fromStdString(*chosen));
        const QString directory = QFileInfo(path).absolutePath();
        LastInputDir->setText(directory);
        m_config.LastInputDir = QFile::encodeName(directory).toStdString();
        m_values.InputFileName = *chosen;
        m_values.RunStatus = 0;
        readAndWriteRun();
        if (m_values.RunStatus == kStatusFileMissing || m_values.RunStatus == kStatusDataError) {
            ZatListyDXCC->hide();
            reportRunStatus();
            return;
        }
    }
    ZatListyDXCC->hide();
    ZatwSortow->show();
    m_adifStandardDeclined = false;
}

void TForm4::readAndWriteRun() {
    RunObjects run = runObjects();
    try {
        const BusyScope busy(*this);
        ReadInputLog(run, m_inputKind);
        if (m_values.RunStatus == 0) {
            WriteRun(run);
        }
    } catch (const FileError& error) {
        m_ui->ErrorBox(error.what());
    }
    // The save dialog of the run may have changed the last output directory.
    LastOutputDir->setText(QFile::decodeName(QByteArray::fromStdString(m_config.LastOutputDir)));
}

void TForm4::openCabrilloExport(RunObjects& run) {
    GroupBox1->hide();
    GroupBox7->hide();
    Button2->hide();
    Panel1->hide();
    TForm3 window({m_texts, m_values, m_environment.Questions}, this);
    window.ShowCabrilloExport({run.Catalogue, PersonalFieldTexts(), run.Processing.OutputFileName,
                               run.Config.OutputEncoding});
    showSecondWindow(window);
}

void TForm4::finishRun() {
    Memo1->clear();
    Panel1->hide();
    m_processing.reset();
    m_dxccList.reset();
}

void TForm4::bookmarks(int order) {
    GroupBox1->hide();
    GroupBox7->hide();
    Button2->hide();
    Label8->setText(FromCp1250(m_texts.CapReadingDxccList));
    showPanel(false);
    ZatListyDXCC->hide();
    ZatwSortow->hide();
    Help_Sort->hide();
    Memo1->clear();

    const bool loadedBefore = m_dxccList != nullptr;
    if (!loadedBefore && m_values.RunStatus == kStatusDataError) {
        m_values.RunStatus = 0;
    }
    bool written = false;
    try {
        const BusyScope busy(*this);
        written = RunBookmarkCommand(m_dxccList, static_cast<BookmarkOrder>(order), m_texts, *m_ui,
                                     m_values);
    } catch (const FileError& error) {
        // A list this command created may be half loaded: the next command loads it anew.
        if (!loadedBefore) {
            m_dxccList.reset();
        }
        m_ui->ErrorBox(error.what());
    }
    if (written) {
        ZatwierdzBookmarksDlaArchiwum->show();
    }
    m_adifStandardDeclined = false;
}

void TForm4::confirmBookmarks() {
    Panel1->hide();
    m_dxccList.reset();
    m_adifStandardDeclined = false;
}

void TForm4::findCountry() {
    GroupBox1->hide();
    GroupBox7->hide();
    Button2->hide();
    Help_Sort->hide();
    if (!m_dxccList && !loadNewDxccList()) {
        return;
    }
    TForm3 window({m_texts, m_values, m_environment.Questions}, this);
    window.ShowCountrySearch(*m_dxccList);
    Panel1->hide();
    showSecondWindow(window);
}

}  // namespace velmark::ui
