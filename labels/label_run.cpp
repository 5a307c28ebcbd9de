#include "labels/label_run.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <optional>

#include "core/processing_object.h"
#include "core/program_values.h"
#include "core/sorting.h"
#include "core/standard_fields.h"
#include "core/user_interface.h"
#include "dxcc/bookmarks.h"
#include "dxcc/dxcc_list.h"
#include "core/ascii_case.h"
#include "output/adif_writer.h"
#include "output/output_sink.h"
#include "output/utf8_sink.h"
#include "run/run_driver.h"
#include "settings/configuration.h"
#include "settings/text_table.h"

namespace velmark {
namespace {

constexpr int kBandKind = StandardKind("BAND");
constexpr int kFreqKind = StandardKind("FREQ");
constexpr int kModeKind = StandardKind("MODE");
constexpr int kRstSentKind = StandardKind("RST_SENT");
constexpr int kQslRcvdKind = StandardKind("QSL_RCVD");
constexpr int kQslSentKind = StandardKind("QSL_SENT");
constexpr int kQslSentViaKind = StandardKind("QSL_SENT_VIA");
constexpr int kQslSentDateKind = StandardKind("QSLSDATE");
constexpr int kTimeOnKind = StandardKind("TIME_ON");
constexpr int kTimeOffKind = StandardKind("TIME_OFF");

// The widest values most logs hold: a frequency in MHz with three decimals ("14.025"; bands
// such as "160M" are narrower), a mode ("PSK31"), a report ("599").
constexpr int kBandChars = 6;
constexpr int kModeChars = 5;
constexpr int kRstChars = 3;
// A frequency keeps at least this many decimals when its trailing zeros go ("14.025000").
constexpr std::size_t kFrequencyDecimals = 3;

constexpr std::string_view kDirectRoute = "DIRECT";

const std::string kTitleRule(32, '=');
const std::string kRule(35, '-');

// A date of the input layout, to measure how wide the output layout makes dates.
std::string sampleDate(std::uint8_t inputDateFormat) {
    switch (inputDateFormat) {
        case 1:
            return "20240105";
        case 2:
            return "05012024";
        case 4:
            return "05-01-2024";
        default:
            return "2024-01-05";
    }
}

// Log text shown on a label: control characters (a tab in a field) become blanks.
std::string shown(std::string_view value) {
    std::string text(value);
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < ' ')
            c = ' ';
    }
    return text;
}

// A frequency without the trailing zeros many loggers write: 14.025000 shows as 14.025.
std::string frequencyShown(std::string_view frequency) {
    std::string text = shown(frequency);
    const auto point = text.find('.');
    if (point == std::string::npos)
        return text;
    while (text.size() > point + 1 + kFrequencyDecimals && text.back() == '0') text.pop_back();
    return text;
}

// The route of a card as its QSL_VIA holds it after completion: "DIRECT", "DIRECT Q1MGR",
// "Q1MGR" or nothing.
void takeRoute(std::string_view qslVia, LabelContent& label) {
    label.Direct = UpperAscii(qslVia.substr(0, kDirectRoute.size())) == kDirectRoute;
    std::string_view manager = label.Direct ? qslVia.substr(kDirectRoute.size()) : qslVia;
    const auto first = manager.find_first_not_of(' ');
    manager = first == std::string_view::npos ? std::string_view{} : manager.substr(first);
    label.Manager = shown(manager);
}

LabelLayout layoutOrProblem(const LabelSheet& sheet, int qsosPerLabel, const LabelWords& words,
                            const LabelColumnWidths& widths, std::optional<SheetProblem>& problem) {
    LayoutResult result = MakeLabelLayout(sheet, qsosPerLabel, words.ColumnTitles, widths);
    problem = result.Problem;
    return result.Layout.value_or(LabelLayout{});
}

// Counts the run's labels: one per card of the mail-merge layout, and one per country group
// with dividers.
void countLabels(const RunState& state, LabelJob& job) {
    CardLayout cards(job.QsosPerLabel);
    job.CardLabels = 0;
    for (int s = 1; s <= state.QsoCount; ++s) {
        if (cards.AfterQso(NextQsoHasSameCall(state, s)).CardComplete)
            ++job.CardLabels;
    }
    job.DividerLabels = job.Dividers ? job.GroupCount : 0;
}

}  // namespace

LabelWords LabelWordsOf(const TNazwyJezykowe& texts, const std::string& ownCallsign) {
    LabelWords words;
    words.ToRadio = texts.LabelToRadio;
    words.Via = texts.LabelVia;
    words.Direct = texts.LabelDirect;
    if (!ownCallsign.empty())
        words.Footer = texts.LabelFrom + ownCallsign;
    words.ColumnTitles = {texts.LabelColumnDate, texts.LabelColumnTime, texts.LabelColumnBand,
                          texts.LabelColumnMode, texts.LabelColumnRst,  texts.LabelColumnQsl};
    words.ListNumber = texts.LabelListNumber;
    words.AdifNumber = texts.LabelAdifNumber;
    return words;
}

LabelColumnWidths LabelValueWidths(const TKonfiguracja& config, const ProgramValues& values,
                                   const TNazwyJezykowe& texts) {
    RecordLayout dates;
    dates.InputDateFormat = config.InputDateFormat;
    dates.OutputDateFormat = config.OutputDateFormat;
    dates.DateSeparatorText = values.DateSeparatorText;
    dates.TimeSeparatorText = values.TimeSeparatorText;
    const int dateChars =
        static_cast<int>(OutputDateText(sampleDate(config.InputDateFormat), dates).size());
    const int timeChars = static_cast<int>(OutputTimeText("1234", dates).size());
    const int qslChars = static_cast<int>(std::max(texts.LabelPse.size(), texts.LabelTnx.size()));
    return {dateChars, timeChars, kBandChars, kModeChars, kRstChars, qslChars};
}

std::optional<LabelJob> StartLabelJob(const LabelRequest& request, const TKonfiguracja& config,
                                      const ProgramValues& values, const TNazwyJezykowe& texts,
                                      UserInterface& ui) {
    if (!CardLayout::IsValidQsosPerCard(config.QsosPerCard)) {
        ui.ErrorBox(texts.MsgBadQsosPerCard);
        return std::nullopt;
    }
    SheetReadResult read = ReadLabelSheet(request.SheetPath);
    const std::string fileName = std::filesystem::path(request.SheetPath).filename().string();
    if (read.Problem) {
        ui.ErrorBox(SheetProblemMessage(*read.Problem, fileName, texts));
        return std::nullopt;
    }
    LabelJob job;
    job.Sheet = std::move(*read.Sheet);
    job.QsosPerLabel = config.QsosPerCard;
    job.StartLabel = request.StartLabel;
    job.Dividers = request.Dividers;
    job.Words = LabelWordsOf(texts, config.PersonalInfo.Callsign);
    std::optional<SheetProblem> problem;
    job.Layout = layoutOrProblem(job.Sheet, job.QsosPerLabel, job.Words,
                                 LabelValueWidths(config, values, texts), problem);
    if (problem) {
        ui.ErrorBox(SheetProblemMessage(*problem, fileName, texts));
        return std::nullopt;
    }
    if (request.StartLabel < 1 || request.StartLabel > job.Sheet.LabelsPerPage()) {
        ui.ErrorBox(texts.MsgLabelStartOutOfRange + std::to_string(job.Sheet.LabelsPerPage()) +
                    "\r" + texts.MsgLabelStartGiven + std::to_string(request.StartLabel));
        return std::nullopt;
    }
    return job;
}

bool SortForLabels(RunObjects& run, LabelJob& job) {
    RunState& state = run.DxccList.Run;
    UserInterface& ui = run.Ui;
    ui.ShowEndButtons(false);
    ui.ClearMessages();
    if (state.QsoCount < 1) {
        ui.AppendMessage(run.Texts.MsgNoQsosRead);
        ui.ShowEndButtons(true);
        return false;
    }
    // The input phase may have settled the input date layout: lay the labels out for it.
    std::optional<SheetProblem> problem;
    job.Layout = layoutOrProblem(job.Sheet, job.QsosPerLabel, job.Words,
                                 LabelValueWidths(run.Config, run.Values, run.Texts), problem);
    if (problem) {
        ui.AppendMessage(SheetProblemMessage(*problem, job.Sheet.FileName, run.Texts));
        ui.ShowEndButtons(true);
        return false;
    }
    SortIndex(run.Config.Sorting, state, SortTextsOf(run.Texts), ui);
    state.CountryGroupCount = 0;
    job.GroupCount = 0;
    if (IsEntityOrder(run.Config.Sorting)) {
        if (!FormCountryGroups(run, job.Groups)) {
            ui.ShowEndButtons(true);
            return false;
        }
        job.GroupCount = state.CountryGroupCount;
    } else if (job.Dividers) {
        ui.AppendMessage(run.Texts.MsgNoDividersForCallOrder);
        job.Dividers = false;
    }
    countLabels(state, job);
    return true;
}

LabelSequence::LabelSequence(RunObjects& run, const LabelJob& job)
    : m_run(run),
      m_job(job),
      m_tymLog(run.Values.PathInStartDirectory(kTymLogName), run.Texts.MsgReadBeyondEndOfFile),
      m_recordLayout(
          MakeRecordLayout(run.DxccList.Run.Columns, run.Catalogue, run.Config, run.Values)),
      m_cards(job.QsosPerLabel) {
    m_tymLog.OpenForReading();
    // ADIF 3 logs name the digital modes by MODE and SUBMODE (MFSK and FT4): the card shows
    // the one an operator knows, the submode.
    for (const std::string_view name : {"SUBMODE", "SUB_MODE"}) {
        const int entry = run.Catalogue.FindField(name);
        if (entry != kNoEntry && m_subModeKind < 0)
            m_subModeKind = entry - 1;
    }
}

void LabelSequence::takeQso(int position, LabelContent& label) {
    const RunState& state = m_run.DxccList.Run;
    m_tymLog.ReadByQsoNr(state.Index.At(position).QsoNr, m_record);
    if (label.QsoNumbers.empty()) {
        label.Callsign = shown(m_record.Slot(kCallKind));
        takeRoute(m_record.Slot(kQslViaKind), label);
    }
    label.QsoNumbers.push_back(m_record.QsoNr);
    LabelCells& cells = label.Rows.emplace_back();
    cells[kColumnDate] = shown(OutputDateText(m_record.Slot(kQsoDateKind), m_recordLayout));
    const std::string_view timeOn = m_record.Slot(kTimeOnKind);
    cells[kColumnTime] = shown(
        OutputTimeText(timeOn.empty() ? m_record.Slot(kTimeOffKind) : timeOn, m_recordLayout));
    const std::string_view band = m_record.Slot(kBandKind);
    cells[kColumnBand] = band.empty() ? frequencyShown(m_record.Slot(kFreqKind)) : shown(band);
    const std::string_view subMode =
        m_subModeKind >= 0 ? m_record.Slot(m_subModeKind) : std::string_view{};
    cells[kColumnMode] = shown(subMode.empty() ? m_record.Slot(kModeKind) : subMode);
    cells[kColumnRst] = shown(m_record.Slot(kRstSentKind));
    const bool cardReceived = UpperAscii(m_record.Slot(kQslRcvdKind)) == "Y";
    cells[kColumnQsl] = cardReceived ? m_run.Texts.LabelTnx : m_run.Texts.LabelPse;
}

bool LabelSequence::Next(LabelContent& label) {
    const RunState& state = m_run.DxccList.Run;
    if (m_position >= state.QsoCount)
        return false;
    label.Rows.clear();
    label.QsoNumbers.clear();
    label.Manager.clear();
    label.Direct = false;
    const int first = m_position + 1;
    // A group's divider comes before the first label that starts in the group.
    if (m_job.Dividers && m_group < m_job.GroupCount &&
        m_job.Groups[m_group + 1].FirstPos <= first) {
        const CountryGroup& group = m_job.Groups[++m_group];
        label.Divider = true;
        label.EntityListNr = group.EntityListNr;
        label.EntityAdifNr = group.EntityAdifNr;
        switch (group.EntityListNr) {
            case kEntityNoCallsign:
                label.EntityName = m_run.Texts.LabelNoCallsign;
                break;
            case kEntityUnknown:
                label.EntityName = m_run.Texts.LabelUnknownEntity;
                break;
            case kEntityDirect:
                label.EntityName = m_run.Texts.LabelDirect;
                break;
            default:
                label.EntityName = EntityNameOf(m_run.DxccList, group.EntityListNr);
        }
        return true;
    }
    label.Divider = false;
    for (int s = first; s <= state.QsoCount; ++s) {
        m_position = s;
        takeQso(s, label);
        if (m_cards.AfterQso(NextQsoHasSameCall(state, s)).CardComplete)
            break;
    }
    return true;
}

std::string AdifDateOf(std::int64_t secondsSinceEpoch) {
    const std::time_t time = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm utc{};
    gmtime_r(&time, &utc);
    char text[16];
    std::strftime(text, sizeof text, "%Y%m%d", &utc);
    return text;
}

std::int64_t WriteMarkSentFile(const std::string& path, RunObjects& run) {
    const RunState& state = run.DxccList.Run;
    // The log's own columns, but QSO_NUM (VELMARK's count, not the log's number) and the three
    // QSL fields, which follow with their new values.
    std::vector<std::pair<int, std::string>> columns;
    for (int position = 1; position <= state.Columns.ColumnCount; ++position) {
        const int kind = state.Columns.Positions[position] - 1;
        if (kind == kQsoNumKind || kind == kQslSentKind || kind == kQslSentViaKind ||
            kind == kQslSentDateKind)
            continue;
        columns.emplace_back(kind, OutputColumnName(kind, run.Catalogue));
    }
    const std::string sentDate = AdifField("QSLSDATE", AdifDateOf(run.Values.Today()));
    const std::string sent = AdifField("QSL_SENT", "Y");

    // In the output encoding, like every log the program writes: a logger that exports UTF-8
    // gets its names back as it wrote them, with lengths counted in UTF-8 bytes.
    const bool utf8 = run.Config.OutputEncoding == OutputEncoding::Utf8;
    EncodedOutputFile file(path, utf8, false);
    OutputSink& sink = file.sink();
    WriteAdifHeader(sink, OutputTarget::MainOutput, AdifHeaderLinesOf(run.Processing), run.Values,
                    run.Texts);
    TymLog tymLog(run.Values.PathInStartDirectory(kTymLogName), run.Texts.MsgReadBeyondEndOfFile);
    tymLog.OpenForReading();
    QsoRecord record;
    std::string out;
    for (int s = 1; s <= state.QsoCount; ++s) {
        tymLog.ReadByQsoNr(state.Index.At(s).QsoNr, record);
        out.clear();
        for (const auto& [kind, name] : columns) out += AdifField(name, record.Slot(kind), utf8);
        out += sent;
        out += sentDate;
        out += AdifField("QSL_SENT_VIA", record.EntityListNr == kEntityDirect ? "D" : "B");
        out += kAdifRecordEnd;
        sink.Write(out);
    }
    tymLog.Close();
    file.file().Close();
    return state.QsoCount;
}

void ReportLabelRun(RunObjects& run, const LabelJob& job, const LabelsDrawn& drawn,
                    const std::string& destination, bool toPrinter,
                    const std::string& markSentPath) {
    const TNazwyJezykowe& texts = run.Texts;
    const RunState& state = run.DxccList.Run;
    UserInterface& ui = run.Ui;
    ui.AppendMessage("     " + texts.RepLabelsTitle);
    ui.AppendMessage(kTitleRule);
    ui.AppendMessage(texts.RepQsoCount + std::to_string(state.QsoCount));
    ui.AppendMessage(texts.RepLabelCount + std::to_string(drawn.Labels - job.DividerLabels));
    if (job.Dividers)
        ui.AppendMessage(texts.RepDividerCount + std::to_string(job.DividerLabels));
    ui.AppendMessage(texts.RepPageCount + std::to_string(drawn.Pages));
    ui.AppendMessage(texts.RepCountryCount + std::to_string(state.CountryGroupCount));
    ui.AppendMessage(texts.RepNoCountryForCalls + state.UnknownCalls);
    ui.AppendMessage(texts.RepLabelSheet + job.Sheet.FileName + " - " + job.Sheet.Title);
    ui.AppendMessage(texts.RepLabelFontSize + MmText(job.Layout.FontSize));
    ui.AppendMessage(kRule);
    ui.AppendMessage(toPrinter ? texts.RepLabelsPrinted : texts.RepLabelsPdfIn);
    ui.AppendMessage(destination);
    if (!markSentPath.empty()) {
        ui.AppendMessage(kRule);
        ui.AppendMessage(texts.RepMarkSentIn);
        ui.AppendMessage(markSentPath);
        ui.AppendMessage(texts.RepMarkSentImport);
    }
}

void FinishLabelRun(RunObjects& run) {
    TymLog(run.Values.PathInStartDirectory(kTymLogName)).Delete();
    run.Ui.ShowEndButtons(true);
}

}  // namespace velmark
