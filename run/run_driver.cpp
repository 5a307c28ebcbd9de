#include "run/run_driver.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "core/country_groups.h"
#include "core/errors.h"
#include "core/processing_object.h"
#include "core/program_values.h"
#include "core/sorting.h"
#include "core/tym_log.h"
#include "core/user_interface.h"
#include "dxcc/bookmarks.h"
#include "dxcc/dxcc_list.h"
#include "input/log_input.h"
#include "output/adif_writer.h"
#include "output/card_layout.h"
#include "output/output_sink.h"
#include "output/record_writer.h"
#include "output/run_report.h"
#include "output/utf8_sink.h"
#include "settings/configuration.h"
#include "settings/text_table.h"

namespace velmark {
namespace {

namespace fs = std::filesystem;

constexpr int kTypeAdif = 0;
constexpr int kTypeCabrillo = 3;

// What the output side takes from the configuration when it starts writing.
struct OutputParameters {
    std::string_view Separator;
    std::string DialogFilter;
    std::string DefaultExtension;
    std::string PartExtension;
    int QsosPerCard = 1;
    int CardsPerPart = 0;
    bool Divided = false;
};

OutputParameters outputParametersFor(const TKonfiguracja& config, bool translation) {
    static constexpr const char* kExtensions[] = {"adi", "csv", "txt", "cbr"};
    OutputParameters parameters;
    const int type = config.OutputFileType <= kTypeCabrillo ? config.OutputFileType : kTypeAdif;
    parameters.Separator = OutputSeparator(type);
    parameters.DefaultExtension = kExtensions[type];
    parameters.DialogFilter =
        "File *." + parameters.DefaultExtension + "|*." + parameters.DefaultExtension;
    parameters.PartExtension = "." + parameters.DefaultExtension;
    // A translation writes one record per QSO into one file. That layout belongs to the run
    // alone: the user's printing values stay in the configuration for the next sort.
    parameters.QsosPerCard = translation ? 1 : config.QsosPerCard;
    parameters.CardsPerPart = config.MaxQslPerFile;
    parameters.Divided = config.DivideOutputFile && !translation;
    return parameters;
}

// The output's directory, without a trailing separator.
std::string directoryOf(const std::string& path) {
    return fs::path(path).parent_path().string();
}

// Part file n: the output directory, the main file's name up to its first ".", "_", n in at
// least three digits, and the part extension. "qsl.sorted.csv" gives "qsl_001.csv".
std::string partFileName(const std::string& outputFileName, int partNumber,
                         const std::string& extension) {
    const std::string name = fs::path(outputFileName).filename().string();
    char number[16];
    std::snprintf(number, sizeof number, "%03d", partNumber);
    return (fs::path(directoryOf(outputFileName)) /
            (name.substr(0, name.find('.')) + "_" + number + extension))
        .string();
}

// The part files of an earlier run that this run replaces: numbers 1, 2, 3 ... up to the first
// number that is missing. Returns the last of them (0 when part file 1 is missing).
int countOldPartFiles(const std::string& outputFileName, const std::string& extension) {
    int last = 0;
    std::error_code error;
    while (fs::exists(partFileName(outputFileName, last + 1, extension), error)) ++last;
    return last;
}

// Deletes old part files first..last, those the new set did not take the place of.
void deleteOldPartFiles(const std::string& outputFileName, const std::string& extension, int first,
                        int last) {
    for (int n = first; n <= last; ++n) {
        const std::string part = partFileName(outputFileName, n, extension);
        std::error_code error;
        if (!fs::remove(part, error) && error)
            throw FileError::FromErrno(part);
    }
}

// The progress bar while writing: as while reading, n QSOs of a log of S bytes at 330 bytes
// a QSO.
void showProgress(UserInterface& ui, std::int64_t handled, std::int64_t inputSize) {
    ui.SetProgress(InputProgressPercent(handled, inputSize));
    ui.ProcessEvents();
}

std::int64_t fileSize(const std::string& path) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    return error ? 0 : static_cast<std::int64_t>(size);
}

// Refuses to write when the run cannot give a sound output; the reason goes to the message
// list. True when writing may go on.
bool outputCanStart(RunObjects& run, const OutputParameters& parameters) {
    const RunState& state = run.DxccList.Run;
    const std::string* reason = nullptr;
    if (state.QsoCount < 1) {
        reason = &run.Texts.MsgNoQsosRead;
    } else if (parameters.Separator != kCabrilloSeparator) {
        // The commands refuse these before the log is read; this guards every other caller.
        switch (CheckSortPrintValues(parameters.QsosPerCard, parameters.Divided,
                                     parameters.CardsPerPart)) {
            case PrintValueProblem::QsosPerCard:
                reason = &run.Texts.MsgBadQsosPerCard;
                break;
            case PrintValueProblem::CardsPerPart:
                reason = &run.Texts.MsgBadQslPerFile;
                break;
            case PrintValueProblem::None:
                break;
        }
    }
    if (reason == nullptr)
        return true;
    run.Ui.AppendMessage(*reason);
    run.Ui.ShowEndButtons(true);
    return false;
}

// Save dialog; the chosen path, or nothing after telling the user no file was chosen.
std::optional<std::string> askOutputFile(RunObjects& run, const OutputParameters& parameters) {
    FileDialogRequest request;
    request.filter = parameters.DialogFilter;
    request.defaultExtension = parameters.DefaultExtension;
    request.initialDirectory = run.Config.LastOutputDir;
    const auto chosen = run.Ui.SaveFileDialog(request);
    if (!chosen) {
        run.Ui.PlainMessage(run.Texts.MsgNoFileChosen);
        return std::nullopt;
    }
    // Part files, COUNTRY.CSV and Report.txt go beside the output, so its directory must be known.
    const std::string path = fs::absolute(*chosen).lexically_normal().string();
    run.Config.LastOutputDir = directoryOf(path);
    run.Processing.OutputFileName = path;
    return path;
}

}  // namespace

bool FormCountryGroups(RunObjects& run, CountryGroupTable& groups) {
    RunState& state = run.DxccList.Run;
    QsoIndex& index = state.Index;
    int count = 0;
    for (int position = 1; position <= state.QsoCount; ++position) {
        const bool lastOfRun = position == state.QsoCount || index.At(position + 1).EntityListNr !=
                                                                 index.At(position).EntityListNr;
        if (!lastOfRun)
            continue;
        if (count == kMaxCountryGroups) {
            run.Ui.AppendMessage(run.Texts.MsgTooManyCountryGroups);
            return false;
        }
        CountryGroup& group = groups[++count];
        group.FirstPos = count == 1 ? 1 : groups[count - 1].LastPos + 1;
        group.LastPos = position;
        group.EntityListNr = index.At(position).EntityListNr;
        group.EntityAdifNr = index.At(position).EntityAdifNr;
    }
    state.CountryGroupCount = count;
    for (int g = 1; g <= count; ++g) {
        CountryGroup& group = groups[g];
        SortGroupByCall(index, group.FirstPos, group.LastPos);
        group.FirstCall = index.At(group.FirstPos).CallKey.view();
        group.LastCall = index.At(group.LastPos).CallKey.view();
    }
    return true;
}

namespace {

// The head of a line-oriented output file: the ADIF header, or the CSV/TXT title row.
void writeHead(OutputSink& sink, OutputTarget target, const RecordLayout& layout,
               const RunObjects& run) {
    if (layout.Separator == kAdifSeparator) {
        WriteAdifHeader(sink, target, AdifHeaderLinesOf(run.Processing), run.Values, run.Texts);
    } else {
        WriteColumnTitles(sink, layout);
    }
}

// One output file of the run; a CSV or TXT mail-merge file in UTF-8 gets the byte-order mark.
class RunOutputFile : public EncodedOutputFile {
  public:
    RunOutputFile(const std::string& path, const RecordLayout& layout)
        : EncodedOutputFile(path, layout.Utf8, layout.Separator != kAdifSeparator) {}
};

// What the writing loop leaves behind for the report.
struct WritingResult {
    std::int32_t RowCount = 0;
    std::string LastPartFileName;
};

// Puts the finished main output and part files in place of the old ones, then deletes the old
// part files the new set did not replace (up to oldParts). Until then a failed or killed run
// has left every old file as it was.
void commitOutputFiles(RunOutputFile& mainOutput,
                       std::vector<std::unique_ptr<RunOutputFile>>& parts,
                       const OutputParameters& parameters, int oldParts) {
    for (auto& part : parts) part->file().Commit();
    mainOutput.file().Commit();
    deleteOldPartFiles(mainOutput.file().path(), parameters.PartExtension,
                       static_cast<int>(parts.size()) + 1, oldParts);
}

// Writes every QSO in index order into the main output and, when divided, the part files,
// completing every card with filler records.
WritingResult writeOutputFiles(RunObjects& run, const OutputParameters& parameters) {
    RunState& state = run.DxccList.Run;
    const RecordLayout layout =
        MakeRecordLayout(state.Columns, run.Catalogue, run.Config, run.Values);
    const std::string& outputFileName = run.Processing.OutputFileName;
    const std::int64_t inputSize = fileSize(run.Values.InputFileName);

    const int oldParts = countOldPartFiles(outputFileName, parameters.PartExtension);
    RunOutputFile mainOutput(outputFileName, layout);
    writeHead(mainOutput.sink(), OutputTarget::MainOutput, layout, run);
    TymLog tymLog(run.Values.PathInStartDirectory(kTymLogName), run.Texts.MsgReadBeyondEndOfFile);
    tymLog.OpenForReading();

    WritingResult result;
    CardLayout cards(parameters.QsosPerCard);
    std::vector<std::unique_ptr<RunOutputFile>> parts;
    RunOutputFile* partOutput = nullptr;
    int cardsInPart = 0;
    auto writeToBoth = [&](auto&& write) {
        write(mainOutput.sink());
        if (partOutput)
            write(partOutput->sink());
    };
    for (int s = 1; s <= state.QsoCount; ++s) {
        if (parameters.Divided && !partOutput) {
            const int partNumber = static_cast<int>(parts.size()) + 1;
            result.LastPartFileName =
                partFileName(outputFileName, partNumber, parameters.PartExtension);
            partOutput =
                parts.emplace_back(std::make_unique<RunOutputFile>(result.LastPartFileName, layout))
                    .get();
            writeHead(partOutput->sink(), OutputTarget::PartOutput, layout, run);
        }
        ++result.RowCount;
        tymLog.ReadByQsoNr(state.Index.At(s).QsoNr, state.OutputRecord);
        writeToBoth([&](OutputSink& sink) { WriteQsoRecord(sink, layout, state.OutputRecord); });

        const CardStep step = cards.AfterQso(NextQsoHasSameCall(state, s));
        for (int f = 0; f < step.FillerRecords; ++f) {
            ++result.RowCount;
            writeToBoth([&](OutputSink& sink) { WriteFillerRecord(sink, layout); });
        }
        if (step.CardComplete)
            ++cardsInPart;
        if (parameters.Divided && cardsInPart == parameters.CardsPerPart) {
            partOutput->file().Finish();
            partOutput = nullptr;
            cardsInPart = 0;
        }
        showProgress(run.Ui, s, inputSize);
    }
    mainOutput.file().Finish();
    run.Ui.SetProgress(100);
    if (partOutput)
        partOutput->file().Finish();
    tymLog.Close();
    commitOutputFiles(mainOutput, parts, parameters, oldParts);
    return result;
}

void reportTranslation(RunObjects& run) {
    const std::string& output = run.Processing.OutputFileName;
    run.Ui.AppendMessage(run.Texts.MsgTranslatedFileIn);
    run.Ui.AppendMessage(fs::path(output).filename().string());
    run.Ui.AppendMessage(run.Texts.RepWrittenInDir);
    run.Ui.AppendMessage(directoryOf(output));
}

void reportSortRun(RunObjects& run, const OutputParameters& parameters,
                   const CountryGroupTable& groups, const WritingResult& written) {
    const RunState& state = run.DxccList.Run;
    const std::string& output = run.Processing.OutputFileName;
    WriteCountryCsv((fs::path(directoryOf(output)) / kCountryCsvFileName).string(), groups,
                    state.CountryGroupCount, run.DxccList);
    RunReport report;
    report.QsoCount = state.QsoCount;
    report.CardCount = written.RowCount / parameters.QsosPerCard;
    report.CountryGroupCount = state.CountryGroupCount;
    report.UnknownCalls = state.UnknownCalls;
    report.OutputFileName = output;
    report.OutputDirectory = directoryOf(output);
    report.Divided = parameters.Divided;
    report.LastPartFileName = written.LastPartFileName;
    WriteRunReport(report, run.Texts, run.Ui);
}

}  // namespace

SortTexts SortTextsOf(const TNazwyJezykowe& texts) {
    return {texts.CapSortingIndex, texts.MsgQslManagerOrder + "\r" + texts.MsgDirectAsD};
}

void ReadInputLog(RunObjects& run, const InputKind& kind) {
    ReadLogIntoRun(run, kind);
}

bool WriteRun(RunObjects& run) {
    UserInterface& ui = run.Ui;
    const bool translation = run.Values.TranslationMode == 1;
    const OutputParameters parameters = outputParametersFor(run.Config, translation);
    RunState& state = run.DxccList.Run;

    ui.ShowEndButtons(false);
    ui.ClearMessages();
    if (!outputCanStart(run, parameters))
        return false;
    if (translation) {
        ui.SetCaption(run.Texts.CapWritingTranslated);
    } else {
        SortIndex(run.Config.Sorting, state, SortTextsOf(run.Texts), ui);
    }
    CountryGroupTable groups;
    state.CountryGroupCount = 0;
    ui.SetCaption(translation ? run.Texts.CapWritingTranslated : run.Texts.CapWritingSorted);

    if (!askOutputFile(run, parameters))
        return false;
    const bool byEntity = !translation && IsEntityOrder(run.Config.Sorting);
    if (byEntity && !FormCountryGroups(run, groups)) {
        ui.ShowEndButtons(true);
        return false;
    }
    if (parameters.Separator == kCabrilloSeparator) {
        // The Cabrillo export reads TYM.LOG in file order; the file stays for it.
        if (!run.OpenCabrilloExport) {
            ui.ErrorBox(run.Texts.MsgNoCabrilloExport);
            return false;
        }
        run.OpenCabrilloExport(run);
        return true;
    }
    const WritingResult written = writeOutputFiles(run, parameters);
    if (translation) {
        reportTranslation(run);
    } else {
        reportSortRun(run, parameters, groups, written);
    }
    TymLog(run.Values.PathInStartDirectory(kTymLogName)).Delete();
    ui.ShowEndButtons(true);
    return true;
}

}  // namespace velmark
