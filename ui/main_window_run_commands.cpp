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
#include "dxcc_import/dxcc_import.h"
#include "output/card_layout.h"
#include "run/start_directory_lock.h"
#include "ui/busy_scope.h"
#include "ui/cp1250_qstring.h"
#include "ui/main_window.h"
#include "ui/qt_user_interface.h"
#include "ui/second_window.h"

namespace velmark::ui {

namespace {

constexpr int kStatusFileMissing = 1;
constexpr int kStatusDataError = 2;
constexpr int kCabrilloType = 3;

// Why the sort cannot lay out its cards with the printing values, or nothing.
std::optional<std::string> printValuesRefusal(const TKonfiguracja& config,
                                              const TNazwyJezykowe& texts) {
    switch (
        CheckSortPrintValues(config.QsosPerCard, config.DivideOutputFile, config.MaxQslPerFile)) {
        case PrintValueProblem::QsosPerCard:
            return texts.MsgQsosPerCardOutOfRange + "\r" + texts.MsgSetInPrintOptions;
        case PrintValueProblem::CardsPerPart:
            return texts.MsgQslsPerFileOutOfRange + "\r" + texts.MsgSetInPrintOptions;
        case PrintValueProblem::None:
            break;
    }
    return std::nullopt;
}

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
        // Loading rewrites LISTA.UPO in the start directory.
        const auto lock =
            LockStartDirectoryFor(m_values.StartDirectory, kShortCommandLockWait, m_texts, *m_ui);
        if (!lock) {
            m_dxccList.reset();
            return false;
        }
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
    // Refused before the list is loaded and the log chosen: nothing is read or written.
    if (const auto refusal = printValuesRefusal(m_config, m_texts)) {
        m_ui->ErrorBox(*refusal);
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
    // The run driver lays a translation out one record per QSO, undivided, for that run only:
    // the fields and the configuration keep the user's printing values for the next sort.
    m_values.TranslationMode = 1;
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
    // A run keeps its QSOs in the start directory's TYM.LOG: another run working there is not
    // waited for. The start button stays for a later try.
    std::optional<StartDirectoryLock> lock;
    try {
        lock = LockStartDirectoryFor(m_values.StartDirectory, std::chrono::milliseconds::zero(),
                                     m_texts, *m_ui);
    } catch (const FileError& error) {
        m_ui->ErrorBox(error.what());
    }
    if (!lock) {
        return;
    }
    if (!m_processing) {
        m_processing = std::make_unique<TObiektyInputOutput>();
    }
    LastInputDir->setText(PathText(m_config.LastInputDir));
    ProgressBar1->setValue(0);
    if (askInputLog()) {
        ZatListyDXCC->hide();
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

std::optional<std::string> TForm4::askInputLog() {
    m_inputKind = InputKindFor(m_config.InputFileType);
    Memo1->clear();
    Label8->setText(FromCp1250(m_texts.CapReadingInputFile));
    std::optional<std::string> chosen = m_ui->OpenFileDialog(
        {{}, m_inputKind.DialogFilter, m_inputKind.DefaultExtension, m_config.LastInputDir});
    if (!chosen) {
        m_ui->PlainMessage(m_texts.MsgNoFileChosen);
        return std::nullopt;
    }
    const QString directory = QFileInfo(PathText(*chosen)).absolutePath();
    LastInputDir->setText(directory);
    m_config.LastInputDir = PathBytes(directory);
    m_values.InputFileName = *chosen;
    m_values.RunStatus = 0;
    return chosen;
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
    LastOutputDir->setText(PathText(m_config.LastOutputDir));
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
        const auto lock =
            LockStartDirectoryFor(m_values.StartDirectory, kShortCommandLockWait, m_texts, *m_ui);
        if (lock) {
            const BusyScope busy(*this);
            written = RunBookmarkCommand(m_dxccList, static_cast<BookmarkOrder>(order), m_texts,
                                         *m_ui, m_values);
        }
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

// ---------------------------------------------------------------------------------------------
// The DXCC list made anew from a country file

void TForm4::importDxccList() {
    GroupBox1->hide();
    GroupBox7->hide();
    Button2->hide();
    Help_Sort->hide();
    showPanel(true);
    ZatListyDXCC->hide();
    ZatwSortow->hide();
    ZatwierdzBookmarksDlaArchiwum->hide();
    Label8->setText(FromCp1250(m_texts.ImpCaption));
    ProgressBar1->setValue(0);
    const std::optional<std::string> chosen =
        m_ui->OpenFileDialog({m_texts.ImpChooseFile, m_texts.ImpFileFilter, {}, {}});
    if (!chosen) {
        m_ui->PlainMessage(m_texts.MsgNoFileChosen);
        return;
    }
    // A run waiting for its start works on the list about to be replaced: it is given up, and
    // the next command loads whichever list is in place then.
    m_processing.reset();
    m_dxccList.reset();
    try {
        const auto lock =
            LockStartDirectoryFor(m_values.StartDirectory, kShortCommandLockWait, m_texts, *m_ui);
        if (!lock)
            return;
        const BusyScope busy(*this);
        if (dxcc_import::ImportDxccList(*chosen, m_values.StartDirectory, m_texts, *m_ui) &&
            m_values.RunStatus == kStatusFileMissing) {
            // The list that was missing is in place now.
            m_values.RunStatus = 0;
        }
    } catch (const FileError& error) {
        m_ui->ErrorBox(error.what());
    }
}

}  // namespace velmark::ui
