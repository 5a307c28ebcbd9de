#include "input/log_input.h"

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "core/field_catalogue.h"
#include "core/processing_object.h"
#include "core/program_values.h"
#include "core/qso_index.h"
#include "core/standard_fields.h"
#include "core/tym_log.h"
#include "core/user_interface.h"
#include "dxcc/dxcc_list.h"
#include "input/adif_reader.h"
#include "input/byte_source.h"
#include "input/cabrillo_frequency.h"
#include "input/cabrillo_layouts.h"
#include "input/csv_reader.h"
#include "input/log_data_error.h"
#include "input/qso_completion.h"
#include "settings/configuration.h"
#include "settings/text_table.h"

namespace velmark {

namespace {

constexpr double kBytesPerQso = 330.0;
// Lines with a wrong number of fields are listed one by one up to this many, then counted.
constexpr int kMaxRowWarnings = 20;
// The user interface gets a chance to repaint at least this often, besides every new percent.
constexpr std::int32_t kQsosBetweenEvents = 64;
constexpr std::size_t kLastColumnNameSize = 30;
constexpr int kFreqKind = StandardKind("FREQ");
constexpr int kBandKind = StandardKind("BAND");

class LogInputPhase {
  public:
    LogInputPhase(RunObjects& run, const InputKind& kind) : m_run(run), m_kind(kind) {}

    void Read();

  private:
    using RecordReader = std::function<bool(RecordTarget&)>;

    void readAdifLog(ByteSource& log);
    void readCsvLog(ByteSource& log);
    std::vector<CabrilloColumns> cabrilloColumns(const std::string& contest);
    void takeCabrilloFrequency(RecordTarget& target);
    void createTymLog();
    void readRecords(const RecordReader& readRecord);
    void showProgress();
    void checkRowWidth(const CsvRecordResult& row);
    void checkRowLines(const CsvRecordResult& row);
    void reportRowRests();
    void reportReplacements(const ByteSource& log);
    void reportRefusedNames(const std::vector<std::string>& names);
    void reportProblem(const LogDataError& problem);
    void setLastColumnName();
    void finish();

    RunObjects& m_run;
    const InputKind& m_kind;
    std::int64_t m_logSize = 0;
    std::int32_t m_count = 0;
    int m_lastPercent = -1;
    int m_rowMismatches = 0;
    int m_rowsOverLines = 0;
};

void LogInputPhase::Read() {
    RunState& state = m_run.DxccList.Run;
    state.ResetForNewRun();
    m_run.Processing.ClearAdifHeader();
    ByteSource log = ByteSource::OpenLog(m_run.Values.InputFileName, m_run.Config.InputEncoding);
    m_logSize = log.Size();
    try {
        if (m_kind.FieldSeparator == "<>") {
            readAdifLog(log);
        } else {
            readCsvLog(log);
        }
        reportReplacements(log);
    } catch (const LogDataError& problem) {
        reportProblem(problem);
        m_run.Values.RunStatus = 2;
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void LogInputPhase::readAdifLog(ByteSource& log) {
    AdifReader reader(log);
    reader.ReadAdifHeader(m_run.Processing);
    createTymLog();
    readRecords([&reader](RecordTarget& target) { return reader.ReadAdifRecord(target); });
    reportRefusedNames(reader.RefusedNames());
    if (reader.UnfinishedRecordLine() != 0) {
        m_run.Ui.AppendMessage(m_run.Texts.MsgAdifRecordCutOff +
                               std::to_string(reader.UnfinishedRecordLine()));
    }
}

void LogInputPhase::readCsvLog(ByteSource& log) {
    RunState& state = m_run.DxccList.Run;
    CsvReader reader(log, state, FieldSplittingFor(m_kind.FieldSeparator));
    if (m_kind.CabrilloInput) {
        const std::string contest = reader.SkipCabrilloHeader();
        reader.UseCabrilloLayouts(cabrilloColumns(contest));
    } else {
        reader.ReadColumnTitles(m_run.Catalogue);
    }
    createTymLog();
    readRecords([this, &reader](RecordTarget& target) {
        const CsvRecordResult row = reader.ReadCsvRecord(target);
        if (row.InputEnded) {
            return false;
        }
        checkRowWidth(row);
        checkRowLines(row);
        if (m_kind.CabrilloInput) {
            takeCabrilloFrequency(target);
        }
        return true;
    });
    reportRowRests();
}

// The column layouts of a Cabrillo log: its contest's from the layouts file, or else the one
// column list of the names file.
std::vector<CabrilloColumns> LogInputPhase::cabrilloColumns(const std::string& contest) {
    RunState& state = m_run.DxccList.Run;
    const std::string layoutsPath = m_run.Values.PathInStartDirectory(kCabrilloLayoutsFile);
    std::error_code error;
    if (!contest.empty() && std::filesystem::is_regular_file(layoutsPath, error)) {
        ByteSource file = ByteSource::OpenFile(layoutsPath);
        std::string text;
        for (int c = file.Get(); c != ByteSource::kEnd; c = file.Get()) {
            text += static_cast<char>(c);
        }
        const std::vector<CabrilloLayoutLine> layouts = LayoutsForContest(text, contest);
        if (!layouts.empty()) {
            std::vector<CabrilloColumns> columns =
                RegisterCabrilloLayouts(layouts, m_run.Catalogue, state.Columns);
            m_run.Ui.AppendMessage(m_run.Texts.MsgCabrilloLayoutUsed + contest);
            return columns;
        }
    }
    ByteSource names =
        ByteSource::OpenFile(m_run.Values.PathInStartDirectory(kCabrilloFieldNamesFile));
    CsvReader(names, state, FieldSplitting::BlankSeparated).ReadColumnTitles(m_run.Catalogue);
    return {};
}

// A Cabrillo QSO line gives kHz or a band designator: FREQ becomes MHz, as ADIF has it, and the
// band is filled in when the log gives none. The BAND column is added to the run's columns when
// it is first needed.
void LogInputPhase::takeCabrilloFrequency(RecordTarget& target) {
    QsoRecord& record = target.Record;
    const CabrilloFrequency frequency = ReadCabrilloFrequency(record.Slot(kFreqKind));
    if (!frequency.Understood) {
        return;
    }
    record.SetSlot(kFreqKind, frequency.FreqMhz);
    m_run.Catalogue.RaiseColumnWidth(kFreqKind + 1,
                                     static_cast<int>(record.Slot(kFreqKind).size()));
    if (frequency.Band.empty() || !record.Slot(kBandKind).empty()) {
        return;
    }
    const int entry = m_run.Catalogue.RegisterField("BAND", target.Columns);
    if (entry == kNoEntry) {
        return;  // the catalogue holds BAND from the start; this cannot happen
    }
    record.SetSlot(kBandKind, frequency.Band);
    m_run.Catalogue.RaiseColumnWidth(entry, static_cast<int>(frequency.Band.size()));
}

void LogInputPhase::createTymLog() {
    m_run.Processing.InputTymLog = std::make_unique<TymLog>(
        m_run.Values.PathInStartDirectory(kTymLogName), m_run.Texts.MsgReadBeyondEndOfFile);
    m_run.Processing.InputTymLog->CreateEmpty();
}

void LogInputPhase::readRecords(const RecordReader& readRecord) {
    QsoRecord& record = m_run.Processing.InputRecord;
    for (;;) {
        record.Clear();
        RecordTarget target{m_run.Catalogue, m_run.DxccList.Run.Columns, record, m_count + 1};
        if (!readRecord(target)) {
            break;
        }
        if (m_count == kMaxQsos) {
            // The index has no room for this QSO: stop rather than leave QSOs out unseen.
            m_run.Ui.AppendMessage(m_run.Texts.MsgTooManyQsos);
            m_run.Values.RunStatus = 2;
            break;
        }
        ++m_count;
        CompleteQso(m_run, m_count);
        showProgress();
    }
    m_run.Ui.SetProgress(100);
    setLastColumnName();
}

void LogInputPhase::showProgress() {
    const int percent = InputProgressPercent(m_count, m_logSize);
    if (percent != m_lastPercent) {
        m_lastPercent = percent;
        m_run.Ui.SetProgress(percent);
        m_run.Ui.ProcessEvents();
    } else if (m_count % kQsosBetweenEvents == 0) {
        m_run.Ui.ProcessEvents();
    }
}

void LogInputPhase::checkRowWidth(const CsvRecordResult& row) {
    const int columns = row.ExpectedFieldCount > 0 ? row.ExpectedFieldCount
                                                   : m_run.DxccList.Run.Columns.ColumnCount;
    if (row.FieldCount == columns || ++m_rowMismatches > kMaxRowWarnings) {
        return;
    }
    const TNazwyJezykowe& texts = m_run.Texts;
    m_run.Ui.AppendMessage(
        texts.MsgRowLine + std::to_string(row.Line) + texts.MsgRowFieldCount +
        std::to_string(row.FieldCount) + texts.MsgRowColumnCount + std::to_string(columns) +
        (row.FieldCount < columns ? texts.MsgRowMissingEmpty : texts.MsgRowExtraDropped));
}

// A value in double quotes may hold line ends (a multi-line comment), but a double quote left
// open by mistake swallows the lines after it into one value: the user must see which lines
// were read as one QSO.
void LogInputPhase::checkRowLines(const CsvRecordResult& row) {
    if (row.LastLine == row.Line || ++m_rowsOverLines > kMaxRowWarnings) {
        return;
    }
    const TNazwyJezykowe& texts = m_run.Texts;
    m_run.Ui.AppendMessage(texts.MsgLinesReadAsOneFrom + std::to_string(row.Line) +
                           texts.MsgLinesReadAsOneTo + std::to_string(row.LastLine) +
                           texts.MsgLinesReadAsOneQso);
}

void LogInputPhase::reportRowRests() {
    if (m_rowMismatches > kMaxRowWarnings) {
        m_run.Ui.AppendMessage(m_run.Texts.MsgRowMismatchRest +
                               std::to_string(m_rowMismatches - kMaxRowWarnings));
    }
    if (m_rowsOverLines > kMaxRowWarnings) {
        m_run.Ui.AppendMessage(m_run.Texts.MsgLinesReadAsOneRest +
                               std::to_string(m_rowsOverLines - kMaxRowWarnings));
    }
}

// One line for the whole log: how many characters code page 1250 could not hold, and where the
// first one stands, so the user can look at it.
void LogInputPhase::reportReplacements(const ByteSource& log) {
    const Replacements replaced = log.Replaced();
    if (replaced.Count == 0) {
        return;
    }
    m_run.Ui.AppendMessage(m_run.Texts.MsgCharsReplaced + std::to_string(replaced.Count) +
                           m_run.Texts.MsgCharsReplacedFirstLine +
                           std::to_string(replaced.FirstLine));
}

void LogInputPhase::reportRefusedNames(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        m_run.Ui.AppendMessage(m_run.Texts.MsgNoRoomNonStandardFields + "\r" + name);
    }
}

void LogInputPhase::reportProblem(const LogDataError& problem) {
    const TNazwyJezykowe& texts = m_run.Texts;
    const std::string line = std::to_string(problem.Line);
    switch (problem.Problem) {
        case LogProblem::AdifHeaderWithoutEnd:
            m_run.Ui.AppendMessage(texts.MsgAdifNoHeaderEnd);
            break;
        case LogProblem::AdifBadValueLength:
            m_run.Ui.AppendMessage(texts.MsgAdifBadLength + problem.Detail + texts.MsgInLineNr +
                                   line);
            break;
        case LogProblem::UnclosedQuote:
            m_run.Ui.AppendMessage(texts.MsgUnclosedQuote + line);
            break;
        case LogProblem::EmptyTitle:
            m_run.Ui.AppendMessage(texts.MsgEmptyTitle + problem.Detail);
            break;
        case LogProblem::DuplicateTitle:
            m_run.Ui.AppendMessage(texts.MsgDuplicateTitle + problem.Detail);
            break;
        case LogProblem::UnusableTitle:
            m_run.Ui.AppendMessage(texts.MsgUnusableTitle + problem.Detail);
            break;
        case LogProblem::CatalogueFull:
            m_run.Ui.AppendMessage(texts.MsgNoRoomNonStandardFields + "\r" + problem.Detail);
            break;
        case LogProblem::BadCabrilloLayout:
            m_run.Ui.AppendMessage(texts.MsgCabrilloLayoutBad + problem.Detail + texts.MsgInLineNr +
                                   line);
            break;
    }
    m_run.Ui.AppendMessage(texts.MsgInputDataFile + " " + m_run.Values.InputFileName);
}

void LogInputPhase::setLastColumnName() {
    ColumnList& columns = m_run.DxccList.Run.Columns;
    if (columns.ColumnCount == 0) {
        return;
    }
    const int entry = columns.Positions[static_cast<std::size_t>(columns.ColumnCount)];
    columns.LastColumnName = m_run.Catalogue.Entry(entry).Name.substr(0, kLastColumnNameSize);
}

void LogInputPhase::finish() {
    m_run.DxccList.Run.QsoCount = m_count;
    if (m_run.Processing.InputTymLog && m_run.Processing.InputTymLog->isOpen()) {
        m_run.Processing.InputTymLog->Close();
    }
}

}  // namespace

InputKind InputKindFor(int inputFileType) {
    switch (inputFileType) {
        case 1:
            return {",", false, "File *.csv|*.csv", "csv"};
        case 2:
            return {" ", false, "File *.txt|*.txt", "txt"};
        case 3:
            return {" ", true, "File *.cbr|*.cbr", "cbr"};
        default:
            // Loggers export ADIF as .adi or .adif; the dialog matches either letter case.
            return {"<>", false, "File *.adi *.adif|*.adi;*.adif", "adi"};
    }
}

void ReadLogIntoRun(RunObjects& run, const InputKind& kind) {
    LogInputPhase(run, kind).Read();
}

int InputProgressPercent(std::int64_t qsoCount, std::int64_t logSize) {
    const double expectedQsos = static_cast<double>(logSize) / kBytesPerQso;
    if (expectedQsos <= 0.0) {
        return 100;
    }
    const double percent = static_cast<double>(qsoCount) * 100.0 / expectedQsos;
    return percent >= 100.0 ? 100 : static_cast<int>(std::nearbyint(percent));
}

}  // namespace velmark
