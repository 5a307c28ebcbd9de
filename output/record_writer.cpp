#include "output/record_writer.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "core/program_values.h"
#include "core/standard_fields.h"
#include "output/adif_writer.h"
#include "output/date_time_conversion.h"
#include "settings/configuration.h"

namespace velmark {

namespace {

constexpr int kClassKind = StandardKind("CLASS_");
constexpr int kPfxKind = StandardKind("PFX");
constexpr int kQsoRandomKind = StandardKind("QSO_RANDOM");
constexpr int kTimeOnKind = StandardKind("TIME_ON");
constexpr int kTimeOffKind = StandardKind("TIME_OFF");
static_assert(kQsoDateKind == StandardKind("QSO_DATE"));
static_assert(kQsoNumKind == StandardKind("QSO_NUM"));

// A time is written with at most this many characters: HH, the separator, MM.
constexpr std::size_t kTimeLength = 5;
// QSO_NUM is right-aligned in this many characters.
constexpr std::size_t kQsoNumWidth = 6;

// Filler values: wide enough to print as a visible line in the card's column.
constexpr std::string_view kFillerPfx = "------";
constexpr std::string_view kFillerDate = "----------";
constexpr std::string_view kFillerOther = "-------";

// The date format named by a configuration code; other codes name none.
std::string_view dateFormatName(std::uint8_t code) {
    static constexpr std::array<std::string_view, 5> kNames = {"", "YYYYMMDD", "DDMMYYYY",
                                                               "YYYY-MM-DD", "DD-MM-YYYY"};
    return code < kNames.size() ? kNames[code] : std::string_view{};
}

bool isCsvOrTxt(std::string_view separator) {
    return separator == kCsvSeparator || separator == kTxtSeparator;
}

// The value between its double quotes, a double quote inside it doubled; returns the length
// written between the quotes.
std::size_t appendQuoted(std::string& out, std::string_view value) {
    out += '"';
    std::size_t written = value.size();
    // Values are short and seldom hold a quote: a plain look beats a call of memchr.
    if (std::find(value.begin(), value.end(), '"') == value.end()) {
        out += value;
        out += '"';
        return written;
    }
    for (std::size_t quote = value.find('"'); quote != std::string_view::npos;
         quote = value.find('"')) {
        out.append(value.substr(0, quote + 1));
        out += '"';
        ++written;
        value.remove_prefix(quote + 1);
    }
    out += value;
    out += '"';
    return written;
}

void appendField(std::string& out, std::string_view name, std::string_view value, int width,
                 std::string_view separator, bool lastColumn, bool utf8Lengths = false) {
    if (separator == kAdifSeparator) {
        out += AdifField(name, value, utf8Lengths);
        return;
    }
    if (!isCsvOrTxt(separator)) {
        return;
    }
    const std::size_t written = appendQuoted(out, value);
    if (lastColumn) {
        return;
    }
    // TXT pads every column to its width, leaving at least one blank between columns.
    const auto length = static_cast<std::ptrdiff_t>(written);
    if (separator == kTxtSeparator && width > length) {
        out.append(static_cast<std::size_t>(width - length + 1), ' ');
    } else {
        out += separator;
    }
}

void appendRecordEnd(std::string& out, std::string_view separator) {
    if (separator == kAdifSeparator) {
        out += kAdifRecordEnd;
    } else if (isCsvOrTxt(separator)) {
        out += kLineEnd;
    }
}

void qsoNumberText(std::int32_t qsoNr, std::string& digits) {
    digits = std::to_string(qsoNr);
    if (digits.size() < kQsoNumWidth) {
        digits.insert(0, kQsoNumWidth - digits.size(), ' ');
    }
}

void outputDate(std::string_view stored, const RecordLayout& layout, std::string& date) {
    date = stored;
    if (layout.OutputDateFormat != 0) {
        ConvertQsoDate(date, dateFormatName(layout.InputDateFormat),
                       dateFormatName(layout.OutputDateFormat), layout.DateSeparatorText);
    }
}

// The separator is applied to the stored time each time the record is written, so the main
// output and the part file get the same text.
void outputTime(std::string_view stored, const RecordLayout& layout, std::string& time) {
    time = stored;
    ApplyTimeSeparator(time, layout.TimeSeparatorText);
    if (time.size() > kTimeLength) {
        time.resize(kTimeLength);
    }
}

// The text of a column: the stored slot as it stands, or a converted value built in scratch
// (valid until the next call). Most columns are written as stored, and a copy of each for every
// QSO was a good part of the output phase.
std::string_view outputValue(const OutputColumn& column, const RecordLayout& layout,
                             const QsoRecord& record, std::string& scratch) {
    switch (column.Kind) {
        case kQsoNumKind:
            qsoNumberText(record.QsoNr, scratch);
            return scratch;
        case kQsoDateKind:
            outputDate(record.Slot(column.Kind), layout, scratch);
            return scratch;
        case kTimeOnKind:
        case kTimeOffKind:
            outputTime(record.Slot(column.Kind), layout, scratch);
            return scratch;
        default:
            return record.Slot(column.Kind);
    }
}

std::string_view fillerValue(int kind) {
    switch (kind) {
        case kPfxKind:
            return kFillerPfx;
        case kQsoDateKind:
        case kQsoRandomKind:
            return kFillerDate;
        default:
            return kFillerOther;
    }
}

// Builds a whole record in memory and hands it to the sink in one write. valueOf is called for
// one column after the other, its value appended before the next call.
template <typename ValueOf>
void writeRecord(OutputSink& target, const RecordLayout& layout, ValueOf valueOf) {
    std::string out;
    const std::size_t count = layout.Columns.size();
    for (std::size_t i = 0; i < count; ++i) {
        const OutputColumn& column = layout.Columns[i];
        appendField(out, column.Name, valueOf(column), column.Width, layout.Separator,
                    i + 1 == count, layout.Utf8);
    }
    appendRecordEnd(out, layout.Separator);
    target.Write(out);
}

}  // namespace

std::string_view OutputSeparator(int outputFileType) {
    switch (outputFileType) {
        case 0:
            return kAdifSeparator;
        case 1:
            return kCsvSeparator;
        case 2:
            return kTxtSeparator;
        case 3:
            return kCabrilloSeparator;
        default:
            return {};
    }
}

std::string OutputColumnName(int kind, const TStrukturaADIF& catalogue) {
    if (kind == kClassKind) {
        return "CLASS";
    }
    return catalogue.Entry(kind + 1).Name;
}

RecordLayout MakeRecordLayout(const ColumnList& columns, const TStrukturaADIF& catalogue,
                              const TKonfiguracja& config, const ProgramValues& values) {
    RecordLayout layout;
    for (int position = 1; position <= columns.ColumnCount; ++position) {
        const int entry = columns.Positions[position];
        const int kind = entry - 1;
        layout.Columns.push_back(
            {kind, OutputColumnName(kind, catalogue), catalogue.Entry(entry).ColumnWidth});
    }
    layout.Separator = std::string(OutputSeparator(config.OutputFileType));
    layout.InputDateFormat = config.InputDateFormat;
    layout.OutputDateFormat = config.OutputDateFormat;
    layout.DateSeparatorText = values.DateSeparatorText;
    layout.TimeSeparatorText = values.TimeSeparatorText;
    layout.Utf8 = config.OutputEncoding == OutputEncoding::Utf8;
    return layout;
}

std::string OutputDateText(std::string_view stored, const RecordLayout& layout) {
    std::string date;
    outputDate(stored, layout, date);
    return date;
}

std::string OutputTimeText(std::string_view stored, const RecordLayout& layout) {
    std::string time;
    outputTime(stored, layout, time);
    return time;
}

void WriteField(OutputSink& target, std::string_view name, std::string_view value, int width,
                std::string_view separator, bool lastColumn) {
    std::string out;
    appendField(out, name, value, width, separator, lastColumn);
    target.Write(out);
}

void WriteColumnTitles(OutputSink& target, const RecordLayout& layout) {
    if (!isCsvOrTxt(layout.Separator)) {
        return;
    }
    writeRecord(target, layout,
                [](const OutputColumn& column) { return std::string_view(column.Name); });
}

void WriteQsoRecord(OutputSink& target, const RecordLayout& layout, const QsoRecord& record) {
    std::string scratch;
    writeRecord(target, layout, [&](const OutputColumn& column) {
        return outputValue(column, layout, record, scratch);
    });
}

void WriteFillerRecord(OutputSink& target, const RecordLayout& layout) {
    writeRecord(target, layout,
                [](const OutputColumn& column) { return fillerValue(column.Kind); });
}

}  // namespace velmark
