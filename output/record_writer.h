#pragma once
// The record writer of the line-oriented outputs (ADIF, CSV, TXT): which fields a record has,
// in which order, under which names and with which values, and the CSV/TXT field syntax. The
// run driver opens the files, reads each QSO back in index order and decides when a card is
// complete; it calls these functions once per record and per file. A function that writes a
// QSO never changes the record, so writing the same record to the main output and to a part
// file gives both the same bytes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/field_catalogue.h"
#include "core/qso_record.h"
#include "output/output_sink.h"

namespace velmark {

struct TKonfiguracja;
struct ProgramValues;

// The output form and CSV/TXT field separator, by OutputFileType.
inline constexpr std::string_view kAdifSeparator = "<>";
inline constexpr std::string_view kCsvSeparator = ",";
inline constexpr std::string_view kTxtSeparator = " ";
inline constexpr std::string_view kCabrilloSeparator = "cbr";

// "<>" for 0 (ADIF), "," for 1 (CSV), " " for 2 (TXT), "cbr" for 3 (Cabrillo); any other code
// gives an empty text, which no writer acts on.
std::string_view OutputSeparator(int outputFileType);

// The name under which a kind is written (CSV/TXT title, ADIF tag): the catalogue name of
// entry kind + 1, except that kind 12 is the ADIF field CLASS, kept as "CLASS_" in the
// catalogue.
std::string OutputColumnName(int kind, const TStrukturaADIF& catalogue);

// One column of the output, as every record of the run writes it.
struct OutputColumn {
    int Kind = 0;
    std::string Name;  // OutputColumnName
    int Width = 0;     // the catalogue's ColumnWidth (used by TXT only)
};

// Everything a record needs besides the QSO: the columns of the run in order, the form, and
// the date and time rewriting. Built once when the output phase begins.
struct RecordLayout {
    std::vector<OutputColumn> Columns;
    std::string Separator;  // OutputSeparator
    // Date format codes: 0 unknown / as the input, 1 YYYYMMDD, 2 DDMMYYYY, 3 YYYY-MM-DD,
    // 4 DD-MM-YYYY; any other code names no format.
    std::uint8_t InputDateFormat = 0;
    std::uint8_t OutputDateFormat = 0;
    // The texts of the main window's separator fields (used even when invalid).
    std::string DateSeparatorText;
    std::string TimeSeparatorText;
    // The file is written in UTF-8: ADIF lengths count UTF-8 bytes.
    bool Utf8 = false;
};

// The layout of a run's output from its column list, the catalogue (names and widths), the
// configuration (output type and date formats) and the separator field texts.
RecordLayout MakeRecordLayout(const ColumnList& columns, const TStrukturaADIF& catalogue,
                              const TKonfiguracja& config, const ProgramValues& values);

// Writes one field in the form the separator selects: ADIF for "<>", CSV for ",", TXT for
// " "; any other separator writes nothing. In CSV and TXT the value is put in double quotes,
// a double quote inside it doubled (so the reader gives it back); TXT pads it with blanks to
// the width, and every field but the record's last is followed by the separator.
void WriteField(OutputSink& target, std::string_view name, std::string_view value, int width,
                std::string_view separator, bool lastColumn);

// Writes the title row of a CSV or TXT file: every column name as a field, then the line end.
// (ADIF files begin with WriteAdifHeader instead; other forms get nothing here.)
void WriteColumnTitles(OutputSink& target, const RecordLayout& layout);

// Writes a QSO as one record: the stored values, with QSO_NUM as the QSO's number right-aligned
// in six characters, QSO_DATE in the output date format and TIME_ON/TIME_OFF with the time
// separator.
void WriteQsoRecord(OutputSink& target, const RecordLayout& layout, const QsoRecord& record);

// QSO_DATE and TIME_ON/TIME_OFF as a QSO record writes them: the stored date in the output date
// layout, the stored time with the time separator (at most five characters). The QSL labels
// print them so.
std::string OutputDateText(std::string_view stored, const RecordLayout& layout);
std::string OutputTimeText(std::string_view stored, const RecordLayout& layout);

// Writes a filler record: every column holds dashes, so the word processor prints dashes in
// the lines of a card that no QSO fills.
void WriteFillerRecord(OutputSink& target, const RecordLayout& layout);

}  // namespace velmark
