#include "cabrillo/cabrillo_writer.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>

#include "core/bounded_text.h"
#include "core/field_catalogue.h"
#include "core/program_values.h"
#include "core/standard_fields.h"
#include "core/tym_log.h"
#include "core/user_interface.h"
#include "core/ascii_case.h"
#include "input/cabrillo_frequency.h"
#include "output/date_time_conversion.h"
#include "output/output_sink.h"
#include "output/utf8_sink.h"
#include "settings/configuration.h"
#include "settings/text_table.h"

namespace velmark {
namespace {

namespace fs = std::filesystem;

constexpr int kFreqKind = StandardKind("FREQ");
constexpr int kBandKind = StandardKind("BAND");
constexpr int kModeKind = StandardKind("MODE");
constexpr int kSrxKind = StandardKind("SRX");
constexpr int kStxKind = StandardKind("STX");
static_assert(StandardKind("QSO_DATE") == kQsoDateKind && StandardKind("QSO_NUM") == kQsoNumKind);

// Longest values the Cabrillo QSO line takes for the rewritten fields.
constexpr std::size_t kFreqLength = 12;
constexpr std::size_t kDateLength = 11;
constexpr std::size_t kSerialLength = 5;
constexpr std::size_t kQsoNumWidth = 6;

constexpr std::string_view kCabrilloDateSeparator = "-";
constexpr double kProgressBytesPerRecord = 1800.0;
constexpr std::int64_t kRecordsBetweenEvents = 64;

bool isSlotCharacter(char c) {
    return c == '#' || c == '@';
}

// Cabrillo's mode words: PH for phone, RY for the teleprinter modes; others as the log has them.
// ADIF mode names are case-insensitive, so ssb is SSB.
std::string cabrilloMode(std::string mode) {
    const std::string name = UpperAscii(mode);
    if (name == "SSB") {
        return "PH";
    }
    if (name == "RTTY" || name == "PSK31" || name == "BPSK31") {
        return "RY";
    }
    return mode;
}

// QSO_NUM: the record's number right-aligned in six characters.
std::string qsoNumberText(std::int32_t qsoNr) {
    std::string digits = std::to_string(qsoNr);
    if (digits.size() < kQsoNumWidth) {
        digits.insert(0, kQsoNumWidth - digits.size(), ' ');
    }
    return digits;
}

// Position of the decimal mark: the first "," or, when there is none, the first ".".
std::size_t decimalMark(const std::string& frequency) {
    const std::size_t comma = frequency.find(',');
    return comma != std::string::npos ? comma : frequency.find('.');
}

// Step 2 of the export: the template, or nothing after reporting why it is refused.
std::optional<CabrilloTemplate> loadCheckedTemplate(const std::string& templateName,
                                                    const CabrilloExportRun& run) {
    try {
        return LoadTemplate(templateName, run.PersonalInfo, run.Values, run.Catalogue);
    } catch (const TemplateError& error) {
        run.Ui.AppendMessage(TemplateRefusalMessage(error, run.Texts));
        return std::nullopt;
    }
}

// Names whose columns will not carry what the user expects: one line per unknown name, and
// one line for the names the mask has no slot for.
void warnAboutFieldNames(const CabrilloTemplate& form, const CabrilloExportRun& run) {
    const int slots = CountMaskSlots(form.MaskLine);
    std::string leftOut;
    for (int k = 1; k <= form.FieldCount(); ++k) {
        const std::string& name = form.FieldNames[k - 1];
        if (k > slots) {
            leftOut += (leftOut.empty() ? "" : " ") + name;
        } else if (form.FieldIndex[k] == kNoField) {
            run.Ui.AppendMessage(run.Texts.CabUnknownFieldName + name);
        }
    }
    if (!leftOut.empty()) {
        run.Ui.AppendMessage(run.Texts.CabMoreNamesThanSlots + leftOut);
    }
}

// Step 5: one QSO line per record of TYM.LOG, in file order, with the progress bar.
void writeQsoLines(const CabrilloTemplate& form, TymLog& tymLog, std::int64_t tymLogSize,
                   OutputSink& output, UserInterface& ui) {
    QsoRecord record;
    std::int64_t written = 0;
    int shownPercent = -1;
    while (tymLog.ReadNext(record)) {
        output.WriteLine(BuildQsoLine(form, record));
        ++written;
        const int percent = CabrilloProgressPercent(written, tymLogSize);
        if (percent != shownPercent) {
            shownPercent = percent;
            ui.SetProgress(percent);
            ui.ProcessEvents();
        } else if (written % kRecordsBetweenEvents == 0) {
            ui.ProcessEvents();
        }
    }
}

// Step 7: the end of the export as the panel shows it.
void reportWritten(const CabrilloExportRun& run) {
    const fs::path output(run.OutputFileName);
    run.Ui.SetProgress(100);
    run.Ui.AppendMessage(run.Texts.MsgCabrilloFileFor);
    run.Ui.AppendMessage(output.filename().string());
    run.Ui.AppendMessage(run.Texts.RepWrittenInDir);
    run.Ui.AppendMessage(output.parent_path().string());
    run.Ui.ShowEndButtons(true);
}

}  // namespace

bool ExportCabrillo(const std::string& templateName, const CabrilloExportRun& run) {
    // 1. The size of TYM.LOG; a log without QSOs gives no Cabrillo file.
    TymLog tymLog(run.Values.PathInStartDirectory(kTymLogName), run.Texts.MsgReadBeyondEndOfFile);
    const std::int64_t tymLogSize = tymLog.SizeInBytes();
    if (tymLogSize == 0) {
        run.Ui.AppendMessage(run.Texts.CabEmptyTymLog);
        return false;
    }
    // 2. The template.
    const std::optional<CabrilloTemplate> form = loadCheckedTemplate(templateName, run);
    if (!form) {
        return false;
    }
    warnAboutFieldNames(*form, run);
    // 3. The output file and TYM.LOG.
    EncodedOutputFile file(run.OutputFileName, run.Encoding == OutputEncoding::Utf8, false);
    OutputSink& output = file.sink();
    tymLog.OpenForReading();
    // 4. The header lines, personal data included.
    for (int k = 1; k <= form->PatternIndex; ++k) {
        output.WriteLine(form->HeaderLines[k]);
    }
    // 5. The QSO lines.
    writeQsoLines(*form, tymLog, tymLogSize, output, run.Ui);
    // 6. The end line.
    output.WriteLine(form->EndLine);
    file.file().Close();
    tymLog.Close();
    // 7. Progress and the four message lines.
    reportWritten(run);
    return true;
}

std::string BuildQsoLine(const CabrilloTemplate& form, const QsoRecord& record) {
    const int fields = std::min(form.FieldCount(), CountMaskSlots(form.MaskLine));
    QsoLineBuilder builder(form.MaskLine);
    if (fields == 0) {
        builder.FillMaskSlot({}, true);  // the mask's literals, every slot blank
    }
    for (int k = 1; k <= fields; ++k) {
        builder.FillMaskSlot(CabrilloFieldValue(form, k, record), k == fields);
    }
    return builder.Line();
}

std::string CabrilloFieldValue(const CabrilloTemplate& form, int k, const QsoRecord& record) {
    const int entry = form.FieldIndex[static_cast<std::size_t>(k)];
    if (entry == kNoField) {
        return {};
    }
    const int kind = entry - 1;
    if (kind == kQsoNumKind) {
        return qsoNumberText(record.QsoNr);
    }
    // Each slot is rewritten from the stored value, so a field named twice gets the same text
    // in both slots.
    std::string value(record.Slot(kind));
    switch (kind) {
        case kFreqKind:
            if (value.empty()) {
                return CabrilloBandDesignator(record.Slot(kBandKind));
            }
            return KeepFirst(FreqMhzToKhz(std::move(value), form.FreqUnitIn), kFreqLength);
        case kModeKind:
            return cabrilloMode(std::move(value));
        case kQsoDateKind:
            ConvertQsoDate(value, form.DateFormatIn, form.DateFormatOut, kCabrilloDateSeparator);
            return KeepFirst(value, kDateLength);
        case kSrxKind:
        case kStxKind:
            return KeepFirst(PadToFour(std::move(value)), kSerialLength);
        default:
            return value;
    }
}

std::string FreqMhzToKhz(std::string frequency, std::string_view unit) {
    if (UpperAscii(unit) != "MHZ") {
        return frequency;
    }
    // 1. Exactly three decimals: more are cut, fewer completed with zeros (14.08 MHz is
    // 14080 kHz, not 1408).
    std::size_t mark = decimalMark(frequency);
    if (mark != std::string::npos) {
        frequency.resize(mark + 4, '0');
    }
    // 2. The decimal mark goes.
    mark = decimalMark(frequency);
    if (mark != std::string::npos) {
        frequency.erase(mark, 1);
    }
    // 3. Four digits are aligned with five: a blank in front.
    if (frequency.size() == 4) {
        frequency.insert(0, 1, ' ');
    }
    return frequency;
}

std::string PadToFour(std::string text) {
    if (!text.empty() && text.size() < 4) {
        text.insert(0, 4 - text.size(), '0');
    }
    return text;
}

int CountMaskSlots(std::string_view mask) {
    int slots = 0;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        if (isSlotCharacter(mask[i]) && (i == 0 || !isSlotCharacter(mask[i - 1]))) {
            ++slots;
        }
    }
    return slots;
}

void QsoLineBuilder::FillMaskSlot(std::string_view value, bool last) {
    std::size_t next = 0;   // the next character of the value, from 0
    bool slotSeen = false;  // this call has filled a slot position
    while (!restIsEmptyOrOneBlank()) {
        const char c = maskAt(m_cursor);
        if (c == '#') {
            m_line += next < value.size() ? value[next++] : ' ';
            slotSeen = true;
        } else if (c == '@') {
            putDoubleWidth(value, next);
            slotSeen = true;
        } else {
            m_line += c;  // a literal of the mask
            ++m_cursor;
            if (slotSeen && !last) {
                return;
            }
            continue;
        }
        ++m_cursor;
    }
}

// One "@" position: a blank once the value is used up; otherwise the next character, printed
// in double width, so it takes this "@" and the one after it. Shift out comes before the
// value's first character, and device control 4 after its last one or where the slot ends, so
// a value cut to its slot does not leave the rest of the line in double width.
void QsoLineBuilder::putDoubleWidth(std::string_view value, std::size_t& next) {
    if (next >= value.size()) {
        m_line += ' ';
        return;
    }
    if (next == 0) {
        m_line += kDoubleWidthOn;
    }
    m_line += value[next++];
    if (maskAt(m_cursor + 1) == '@') {
        ++m_cursor;
    }
    if (next == value.size() || maskAt(m_cursor + 1) != '@') {
        m_line += kDoubleWidthOff;
    }
}

char QsoLineBuilder::maskAt(std::size_t position) const {
    return position >= 1 && position <= m_mask.size() ? m_mask[position - 1] : '\0';
}

bool QsoLineBuilder::restIsEmptyOrOneBlank() const {
    return m_cursor > m_mask.size() || (m_cursor == m_mask.size() && m_mask.back() == ' ');
}

int CabrilloProgressPercent(std::int64_t written, std::int64_t tymLogSize) {
    const double expectedRecords = static_cast<double>(tymLogSize) / kProgressBytesPerRecord;
    if (expectedRecords <= 0.0) {
        return 100;
    }
    const double percent = static_cast<double>(written) * 100.0 / expectedRecords;
    return percent >= 100.0 ? 100 : static_cast<int>(std::nearbyint(percent));
}

}  // namespace velmark
