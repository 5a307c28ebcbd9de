#include "batch/batch_commands.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <ostream>
#include <sstream>

#include "batch/console_user_interface.h"
#include "cabrillo/cabrillo_writer.h"
#include "cabrillo/contest_template.h"
#include "core/ascii_case.h"
#include "core/errors.h"
#include "core/field_catalogue.h"
#include "core/processing_object.h"
#include "core/program_values.h"
#include "dxcc/bookmarks.h"
#include "dxcc/callsign_resolver.h"
#include "dxcc/date_value.h"
#include "dxcc/dxcc_list.h"
#include "dxcc/dxcc_list_loader.h"
#include "dxcc/suffix_rules.h"
#include "dxcc_import/dxcc_import.h"
#include "label_painter/label_pdf.h"
#include "labels/label_run.h"
#include "labels/label_sheet.h"
#include "output/card_layout.h"
#include "run/run_driver.h"
#include "run/start_directory_lock.h"
#include "settings/configuration.h"
#include "settings/program_locations.h"
#include "settings/text_table.h"

namespace velmark::batch {
namespace {

constexpr const char* kProgramName = "velmark-batch";

// Everything one batch run works on; the objects live as long as the command.
struct BatchSession {
    TKonfiguracja config;
    TNazwyJezykowe texts;
    TStrukturaADIF catalogue;
    ProgramValues values;
    std::unique_ptr<TListaDXCC> dxccList;
};

void applyOverrides(const BatchOptions& options, TKonfiguracja& config) {
    if (options.language)
        config.Language = static_cast<std::uint8_t>(*options.language);
    if (options.inputType)
        config.InputFileType = static_cast<std::uint8_t>(*options.inputType);
    if (options.outputType)
        config.OutputFileType = static_cast<std::uint8_t>(*options.outputType);
    if (options.sortOrder)
        config.Sorting = static_cast<std::uint8_t>(*options.sortOrder);
    if (options.qsosPerCard)
        config.QsosPerCard = *options.qsosPerCard;
    if (options.cardsPerPart) {
        config.DivideOutputFile = true;
        config.MaxQslPerFile = *options.cardsPerPart;
    }
    if (options.noDivide)
        config.DivideOutputFile = false;
    if (options.inputDateFormat) {
        config.InputDateFormat = static_cast<std::uint8_t>(*options.inputDateFormat);
    }
    if (options.outputDateFormat) {
        config.OutputDateFormat = static_cast<std::uint8_t>(*options.outputDateFormat);
    }
    if (options.dateSeparator)
        config.DateSeparator = *options.dateSeparator;
    if (options.timeSeparator)
        config.TimeSeparator = *options.timeSeparator;
    if (options.inputEncoding)
        config.InputEncoding = static_cast<InputEncoding>(*options.inputEncoding);
    if (options.outputEncoding)
        config.OutputEncoding = static_cast<OutputEncoding>(*options.outputEncoding);
}

// A configuration file named on the command line must be readable: running on the start-up
// values instead would write other files than the ones asked for.
void checkNamedConfigFile(const BatchOptions& options) {
    if (!options.configFile)
        return;
    std::FILE* file = std::fopen(options.configFile->c_str(), "rb");
    if (file == nullptr)
        throw FileError::FromErrno(*options.configFile);
    std::fclose(file);
}

// Reads setup.ini (never writes it) and lays the run's objects out as the window would.
void prepareSession(const BatchOptions& options, BatchSession& session) {
    checkNamedConfigFile(options);
    // An installed copy reads the setup.ini of the user's configuration directory.
    ConfigRead(session.config, options.configFile.value_or(
                                   ChooseSetupIniPath(CurrentProgramSurroundings()).string()));
    applyOverrides(options, session.config);
    session.texts.Fill(session.config.Language);
    session.values.StartDirectory =
        std::filesystem::absolute(options.startDirectory).lexically_normal().string();
    while (session.values.StartDirectory.size() > 1 &&
           session.values.StartDirectory.back() == '/') {
        session.values.StartDirectory.pop_back();
    }
    session.values.ProgramFileName = kProgramName;
    session.values.DateSeparatorText = session.config.DateSeparator;
    session.values.TimeSeparatorText = session.config.TimeSeparator;
    if (options.findDate) {
        std::tm date{};
        std::istringstream(options.findDate->substr(0, 4)) >> date.tm_year;
        std::istringstream(options.findDate->substr(4, 2)) >> date.tm_mon;
        std::istringstream(options.findDate->substr(6, 2)) >> date.tm_mday;
        date.tm_year -= 1900;
        date.tm_mon -= 1;
        date.tm_hour = 12;
        session.values.FixedToday = std::mktime(&date);
    }
}

// Loads DXCC.LST; the exit status when it failed, or nothing.
std::optional<int> loadDxccList(BatchSession& session, UserInterface& ui) {
    session.dxccList = std::make_unique<TListaDXCC>();
    ui.SetCaption(session.texts.CapReadingDxccList);
    LoadDxccList(*session.dxccList, session.texts, ui, session.values);
    if (session.values.RunStatus == 1) {
        ui.ErrorBox(session.texts.MsgInputFileMissing);
        return kExitFileError;
    }
    if (session.values.RunStatus == 2) {
        ui.ErrorBox(session.texts.MsgDataError);
        return kExitRefused;
    }
    return std::nullopt;
}

// The template of CABRILLO_FORM that --template names (".FRM" added to a name without ".",
// letter case aside), or nothing after an error box that lists the templates there are.
std::optional<std::string> chooseCabrilloTemplate(const BatchOptions& options,
                                                  const BatchSession& session, UserInterface& ui) {
    const std::vector<std::string> available = ListTemplates(session.values.StartDirectory);
    if (options.templateName) {
        std::string wanted = *options.templateName;
        if (wanted.find('.') == std::string::npos)
            wanted += kTemplateExtension;
        for (const std::string& name : available) {
            if (UpperAscii(name) == UpperAscii(wanted))
                return name;
        }
    }
    const TNazwyJezykowe& texts = session.texts;
    std::string message = options.templateName ? texts.BatchTemplateNotFound + *options.templateName
                                               : texts.BatchTemplateRequired;
    message += "\r" + texts.BatchTemplatesAvailable;
    for (std::size_t i = 0; i < available.size(); ++i) {
        message += (i == 0 ? "" : ", ") + available[i];
    }
    if (available.empty())
        message += texts.BatchNoTemplates;
    ui.ErrorBox(message);
    return std::nullopt;
}

// The batch tool's Cabrillo export: the chosen template, the configuration's personal data.
void exportCabrillo(RunObjects& run, const std::string& templateName, bool& written) {
    run.Ui.SetCaption(run.Texts.CapWritingCabrillo);
    written = ExportCabrillo(
        templateName,
        CabrilloExportRun{run.Catalogue, run.Texts, run.Values, run.Config.PersonalInfo, run.Ui,
                          run.Processing.OutputFileName, run.Config.OutputEncoding});
}

// The objects of a run over the session's loaded DXCC list.
RunObjects runObjectsOf(BatchSession& session, TObiektyInputOutput& processing, UserInterface& ui) {
    return RunObjects{session.config,
                      session.texts,
                      session.catalogue,
                      *session.dxccList,
                      processing,
                      session.values,
                      ui,
                      {},
                      {}};
}

// Reads the input log into the run; false (after the data-error box) when a QSO was refused.
bool readInput(const std::string& input, RunObjects& run, UserInterface& ui) {
    ui.SetCaption(run.Texts.CapReadingInputFile);
    run.Config.LastInputDir = std::filesystem::path(input).parent_path().string();
    run.Values.InputFileName = input;
    run.Values.RunStatus = 0;
    ReadInputLog(run, InputKindFor(run.Config.InputFileType));
    if (run.Values.RunStatus != 0) {
        ui.ErrorBox(run.Texts.MsgDataError);
        return false;
    }
    return true;
}

int runSortOrTranslation(const BatchOptions& options, BatchSession& session,
                         ConsoleUserInterface& ui) {
    auto& config = session.config;
    const bool translation = options.command == BatchCommand::Translate;
    if (!translation && (config.InputFileType == 3 || config.OutputFileType == 3)) {
        ui.ErrorBox(session.texts.MsgNoSortForCbr + "\r" + session.texts.MsgUseTranslateForCbr);
        return kExitRefused;
    }
    // Refused before anything is read or written; the refusal names the option that sets it.
    if (!translation) {
        const TNazwyJezykowe& texts = session.texts;
        switch (CheckSortPrintValues(config.QsosPerCard, config.DivideOutputFile,
                                     config.MaxQslPerFile)) {
            case PrintValueProblem::QsosPerCard:
                ui.ErrorBox(texts.MsgQsosPerCardOutOfRange + "\r" + texts.BatchSetPerCard);
                return kExitRefused;
            case PrintValueProblem::CardsPerPart:
                ui.ErrorBox(texts.MsgQslsPerFileOutOfRange + "\r" + texts.BatchSetDivide);
                return kExitRefused;
            case PrintValueProblem::None:
                break;
        }
    }
    std::optional<std::string> cabrilloTemplate;
    if (config.OutputFileType == 3) {
        cabrilloTemplate = chooseCabrilloTemplate(options, session, ui);
        if (!cabrilloTemplate)
            return kExitUsage;
    }
    // The run driver lays a translation out one record per QSO, undivided.
    session.values.TranslationMode = translation ? 1 : 0;
    if (const auto failed = loadDxccList(session, ui))
        return *failed;

    TObiektyInputOutput processing;
    RunObjects run = runObjectsOf(session, processing, ui);
    bool cabrilloWritten = false;
    if (cabrilloTemplate) {
        run.OpenCabrilloExport = [&](RunObjects& objects) {
            exportCabrillo(objects, *cabrilloTemplate, cabrilloWritten);
        };
    }
    if (!readInput(options.arguments[0], run, ui))
        return kExitRefused;
    if (!WriteRun(run))
        return kExitRefused;
    if (cabrilloTemplate && !cabrilloWritten)
        return kExitRefused;
    return ui.errorShown() ? kExitRefused : kExitDone;
}

int runBookmarks(const BatchOptions& options, BatchSession& session, ConsoleUserInterface& ui) {
    const auto order =
        options.arguments[0] == "adif" ? BookmarkOrder::AdifNumber : BookmarkOrder::DxccList;
    if (RunBookmarkCommand(session.dxccList, order, session.texts, ui, session.values)) {
        return kExitDone;
    }
    return session.values.RunStatus == 1 ? kExitFileError : kExitRefused;
}

// One line per callsign: the callsign and the country search panel's eight result columns.
void printLookup(const std::string& callsign, BatchSession& session, std::ostream& out) {
    const auto result =
        ResolveCallsign(*session.dxccList, callsign, TodayDateValue(session.values.Today()));
    out << callsign << '\t';
    if (result.Status == kResolveNoEntity) {
        out << session.texts.FindNoCountry << '\n';
        return;
    }
    if (result.ListLine == 0) {
        // An expired prefix names no list line either; say which of the two it was.
        out << (result.Status == kResolveExpired ? session.texts.FindValidityEnded
                                                 : session.texts.FindAmbiguousPrefix)
            << '\n';
        return;
    }
    const ListLine& line = session.dxccList->ListLineTable[result.ListLine];
    out << line.LineName << '\t' << result.ListNr << '\t' << result.AdifNr << '\t' << result.CqZone
        << '\t' << result.ItuZone << '\t' << line.Continent << '\t' << line.ValidFrom << '\t'
        << line.ValidTo;
    if (result.Status == kResolveExpired)
        out << '\t' << session.texts.FindValidityEnded;
    out << '\n';
}

int runFind(const BatchOptions& options, BatchSession& session, ConsoleUserInterface& ui,
            std::ostream& out) {
    if (const auto failed = loadDxccList(session, ui))
        return *failed;
    const std::vector<SuffixRule> suffixRules =
        ReadSuffixRules(session.values.PathInStartDirectory(kSuffixRulesFileName));
    for (std::string callsign : options.arguments) {
        // As the search panel does: capitals (a-z only), at most 16 characters.
        callsign = UpperAscii(callsign).substr(0, 16);
        printLookup(callsign, session, out);
        // A prefix whose entity depends on the suffix length: its note follows in a line of
        // its own that begins with a tab.
        if (const SuffixRule* rule = FindSuffixRule(suffixRules, callsign))
            out << '\t' << session.texts.FindSuffixRuleNote << rule->Prefix << "  " << rule->Note
                << '\n';
    }
    return kExitDone;
}

// ---------------------------------------------------------------------------------------------
// QSL labels: the sorted log drawn onto label sheets as a PDF file.

// The sheet a run uses when neither the command line nor setup.ini names one.
constexpr const char* kDefaultLabelSheet = "L7160";

std::string absolutePath(const std::string& path) {
    return std::filesystem::absolute(path).lexically_normal().string();
}

// The sheet file that --sheet (or setup.ini) names, or nothing after an error box that lists
// the sheets there are.
std::optional<std::string> chooseLabelSheet(const BatchOptions& options,
                                            const BatchSession& session, UserInterface& ui) {
    const std::string& stored = session.config.LabelSheetName;
    const std::string wanted =
        options.sheetName.value_or(stored.empty() ? std::string(kDefaultLabelSheet) : stored);
    if (auto path = FindLabelSheet(session.values.StartDirectory, wanted))
        return path;
    const TNazwyJezykowe& texts = session.texts;
    const std::vector<std::string> available = ListLabelSheets(session.values.StartDirectory);
    std::string message = texts.BatchSheetNotFound + wanted + "\r" + texts.BatchSheetsAvailable;
    for (std::size_t i = 0; i < available.size(); ++i)
        message += (i == 0 ? "" : ", ") + available[i].substr(0, available[i].rfind('.'));
    if (available.empty())
        message += texts.BatchNoTemplates;
    ui.ErrorBox(message);
    return std::nullopt;
}

// The most QSOs a label of the sheet holds at the smallest readable font size.
int mostQsosPerLabel(const LabelSheet& sheet, const LabelWords& words,
                     const LabelColumnWidths& widths) {
    LabelSheet smallest = sheet;
    smallest.FontSize = kMinReadableFontSize;
    int most = 0;
    while (most < CardLayout::kMaxQsosPerCard &&
           MakeLabelLayout(smallest, most + 1, words.ColumnTitles, widths).Layout) {
        ++most;
    }
    return most;
}

// One line per sheet file: its name, title and geometry, or why it is refused.
int listLabelSheets(BatchSession& session, std::ostream& out) {
    const TNazwyJezykowe& texts = session.texts;
    const LabelWords words = LabelWordsOf(texts, {});
    const LabelColumnWidths widths = LabelValueWidths(session.config, session.values, texts);
    for (const std::string& file : ListLabelSheets(session.values.StartDirectory)) {
        const std::string name = file.substr(0, file.rfind('.'));
        const SheetReadResult read =
            ReadLabelSheet(LabelSheetPath(session.values.StartDirectory, file));
        if (!read.Sheet) {
            std::string message = SheetProblemMessage(*read.Problem, file, texts);
            std::replace(message.begin(), message.end(), '\r', ' ');
            out << name << "  " << message << '\n';
            continue;
        }
        const LabelSheet& sheet = *read.Sheet;
        out << name << "  " << sheet.Title << ": " << sheet.Columns << " x " << sheet.Rows
            << texts.BatchSheetLabels << MmText(sheet.LabelWidth) << " x "
            << MmText(sheet.LabelHeight) << texts.BatchSheetPage << MmText(sheet.PageWidth) << " x "
            << MmText(sheet.PageHeight) << texts.BatchSheetUpTo
            << mostQsosPerLabel(sheet, words, widths) << '\n';
    }
    return kExitDone;
}

int runLabels(const BatchOptions& options, BatchSession& session, ConsoleUserInterface& ui) {
    auto& config = session.config;
    const std::optional<std::string> sheetPath = chooseLabelSheet(options, session, ui);
    if (!sheetPath)
        return kExitUsage;
    // The sheet is checked before the log is read: a sheet that cannot be used costs no reading.
    const LabelRequest request{*sheetPath, options.startLabel.value_or(1),
                               options.dividers.value_or(config.LabelDividers)};
    std::optional<LabelJob> job = StartLabelJob(request, config, session.values, session.texts, ui);
    if (!job)
        return kExitRefused;
    session.values.TranslationMode = 0;
    if (const auto failed = loadDxccList(session, ui))
        return *failed;

    TObiektyInputOutput processing;
    RunObjects run = runObjectsOf(session, processing, ui);
    if (!readInput(options.arguments[0], run, ui))
        return kExitRefused;
    if (!SortForLabels(run, *job))
        return kExitRefused;

    const painter::PaintingApplication application;
    const std::string pdfPath = absolutePath(options.arguments[1]);
    const LabelsDrawn drawn = painter::WriteLabelPdf(pdfPath, run, *job);
    // Only a complete PDF has its QSOs marked as sent.
    std::string markSentPath;
    if (options.markSentFile) {
        markSentPath = absolutePath(*options.markSentFile);
        WriteMarkSentFile(markSentPath, run);
    }
    ReportLabelRun(run, *job, drawn, pdfPath, false, markSentPath);
    FinishLabelRun(run);
    return ui.errorShown() ? kExitRefused : kExitDone;
}

// A new DXCC.LST from a country file: a refused file changes nothing (exit 1).
int runImportDxcc(const BatchOptions& options, BatchSession& session, ConsoleUserInterface& ui) {
    return dxcc_import::ImportDxccList(options.arguments[0], session.values.StartDirectory,
                                       session.texts, ui)
               ? kExitDone
               : kExitRefused;
}

// Every command writes in the start directory (TYM.LOG, LISTA.UPO, COUNTRIS.CSV, DXCC.LST) and
// so holds its lock. A sort or translation finding another run at work is refused at once; a
// short command waits a few seconds for it to end.
std::chrono::milliseconds lockWaitFor(BatchCommand command) {
    switch (command) {
        case BatchCommand::Sort:
        case BatchCommand::Translate:
        case BatchCommand::Labels:
            return std::chrono::milliseconds::zero();
        default:
            return kShortCommandLockWait;
    }
}

void printUsage(const BatchOptions* options, std::ostream& stream) {
    TNazwyJezykowe texts;
    texts.Fill(options != nullptr && options->language ? *options->language : kLanguageEnglish);
    stream << texts.BatchUsage << '\n'
           << texts.BatchUsageTemplate << '\n'
           << texts.BatchUsageEncoding << '\n'
           << texts.BatchUsageImportDxcc << '\n'
           << texts.BatchUsageLabels << '\n';
}

}  // namespace

int RunBatch(const BatchOptions& options, std::ostream& out, std::ostream& err) {
    if (options.help) {
        printUsage(&options, out);
        return kExitDone;
    }
    if (options.version) {
        out << kProgramName << ' ' << kVersionNumber << '\n';
        return kExitDone;
    }
    BatchSession session;
    try {
        prepareSession(options, session);
        ConsoleAnswers answers;
        if (options.arguments.size() >= 2) {
            answers.inputFile = options.arguments[0];
            answers.outputFile = options.arguments[1];
        }
        answers.warningAnswer = options.viaManager;
        answers.showProgress = options.progress;
        ConsoleUserInterface ui(out, err, answers, session.texts.BatchAnswerTaken);
        // Listing the sheets only reads them: it needs no lock.
        if (options.command == BatchCommand::Labels && options.listSheets)
            return listLabelSheets(session, out);
        const auto lock = LockStartDirectoryFor(session.values.StartDirectory,
                                                lockWaitFor(options.command), session.texts, ui);
        if (!lock)
            return kExitRefused;
        switch (options.command) {
            case BatchCommand::Sort:
            case BatchCommand::Translate:
                return runSortOrTranslation(options, session, ui);
            case BatchCommand::Bookmarks:
                return runBookmarks(options, session, ui);
            case BatchCommand::Find:
                return runFind(options, session, ui, out);
            case BatchCommand::ImportDxcc:
                return runImportDxcc(options, session, ui);
            case BatchCommand::Labels:
                return runLabels(options, session, ui);
            case BatchCommand::None:
                break;
        }
        return kExitUsage;
    } catch (const FileError& error) {
        err << error.what() << '\n';
        return kExitFileError;
    }
}

int RunBatchCommandLine(const std::vector<std::string>& words, std::ostream& out,
                        std::ostream& err) {
    const ParseResult parsed = ParseBatchOptions(words);
    if (parsed.error) {
        TNazwyJezykowe texts;
        texts.Fill(kLanguageEnglish);
        err << texts.BatchBadOption << parsed.error->option;
        if (!parsed.error->value.empty())
            err << ' ' << parsed.error->value;
        err << '\n';
        printUsage(nullptr, err);
        return kExitUsage;
    }
    return RunBatch(*parsed.options, out, err);
}

}  // namespace velmark::batch
