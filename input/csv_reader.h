#pragma once
// The CSV, TXT and Cabrillo reader. A CSV or TXT log begins with a title line that names its
// columns with catalogue names; every following line is one QSO, one field per column. A
// Cabrillo log takes its column names from a separate file, chosen by the contest its header
// names, and every line beginning with "QSO:" is one QSO.
//
// Field splitting, in every form of log:
// - commas and semicolons are hard separators: each one ends a field, so two of them in a row,
//   one at the start of a line or one at its end enclose an empty field;
// - tabs are soft separators, and so are runs of blanks in TXT and Cabrillo logs: they part
//   two values but enclose no field, and next to a hard separator or a line end they are mere
//   padding;
// - in a CSV log blanks inside a value belong to it; blanks around a value are dropped;
// - double quotes enclose text that is taken as it stands (separators and line breaks
//   included), a doubled double quote standing for one; a further quoted or plain part right
//   after the closing quote joins the value;
// - right after a semicolon, an unquoted value is read raw: blanks and commas belong to it up
//   to the next semicolon or line end;
// - CR LF, LF alone and CR alone end a line; lines that hold nothing are skipped; the end of
//   the log ends its last line.

#include <string>
#include <vector>

#include "core/field_catalogue.h"
#include "core/run_state.h"
#include "input/adif_reader.h"
#include "input/byte_source.h"

namespace velmark {

// The name of the file in the start directory that names the columns of a Cabrillo QSO line.
inline constexpr const char* kCabrilloFieldNamesFile = "fields_name_cabrillo_format.txt";

// How blanks are read: inside values (CSV, field separator ",") or as separators (TXT and
// Cabrillo, field separator " ").
enum class FieldSplitting { Csv, BlankSeparated };

// FieldSplitting of a log by its field separator.
FieldSplitting FieldSplittingFor(const std::string& fieldSeparator);

// One field as ReadCsvField returns it.
struct CsvField {
    std::string Text;
    bool EndOfLine = false;      // the field was the last of its line
    bool InputEnded = false;     // no field was left: the log is at its end
    bool UnclosedQuote = false;  // a double quote opened in this field was never closed
    int Line = 0;                // line on which the field began
    int LineEndsInside = 0;      // line ends inside its double quotes
};

// What ReadCsvRecord found.
struct CsvRecordResult {
    bool InputEnded = false;  // no record was left; nothing was stored
    int FieldCount = 0;       // fields on the record's line (columns beyond the titles dropped)
    int Line = 0;             // line of the record
    int LastLine = 0;  // line it ends on: later than Line when a quoted value holds a line end
    // Cabrillo: the number of fields the line's layout has (a QSO line may leave out
    // exchanges its contest allows to leave out, see CabrilloColumns); 0 for other logs, whose
    // lines have one field per column.
    int ExpectedFieldCount = 0;
};

// One column layout of a Cabrillo QSO line: for field k, the catalogue entry it is stored into
// (Entries[k - 1]), kNoEntry for a field that is read and dropped; and the field that holds the
// worked station's callsign (1..), 0 when the layout has none.
struct CabrilloColumns {
    std::vector<int> Entries;
    int CallField = 0;
};

// The width a CSV/TXT field asks of its column: the value's length as stored.
int CsvColumnWidth(int valueLength, int storedLength);

class CsvReader {
  public:
    // Starts reading a new source; the run's character memory (PreviousChar, PushbackChar)
    // begins empty for it and then carries over from field to field and line to line.
    CsvReader(ByteSource& source, RunState& run, FieldSplitting splitting);

    // Reads the next field of the log.
    CsvField ReadCsvField();

    // Reads the title line and enters its titles, in order, as the run's columns. Throws
    // LogDataError for an empty, repeated or unusable title and when the catalogue is full.
    void ReadColumnTitles(TStrukturaADIF& catalogue);

    // Reads the next line as one record into target.Record (emptied by the caller): field k
    // goes to column k; missing fields stay empty and fields beyond the columns are dropped,
    // as FieldCount shows. Throws LogDataError for a quote left open at the end of the log.
    CsvRecordResult ReadCsvRecord(RecordTarget& target);

    // Cabrillo logs: drops the header, the lines up to the first one that begins with "QSO:"
    // (in any letter case), and returns the contest its "CONTEST:" line names (empty when
    // none). Afterwards only lines beginning with "QSO:" are records, and a line beginning
    // with "END-OF-LOG" ends the log.
    std::string SkipCabrilloHeader();

    // Cabrillo logs: the layouts the QSO lines follow, in order of preference. Each line takes
    // the first whose number of fields it has and whose CALL field holds a callsign, else the
    // first with its number of fields; one field more than a layout, a single digit, is
    // Cabrillo 3's transmitter number and is dropped. A line that fits no layout is read by the
    // first. Without layouts the lines follow the column list as it stands, one field per
    // column (SkipCabrilloHeader starts so).
    void UseCabrilloLayouts(std::vector<CabrilloColumns> layouts);

  private:
    int next();
    int skipPadding(bool& padded);
    void finishLineEnd(int c);
    void setPrevious(char c);
    bool afterHardSeparator() const;
    void endLine(CsvField& field);
    void readContent(CsvField& field, int c);
    bool readQuoted(CsvField& field);
    void readRaw(CsvField& field, int c);
    void endAfterSoftSeparator(CsvField& field);
    CsvRecordResult readCabrilloRecord(RecordTarget& target);
    bool startsCabrilloQso(const CsvField& first);
    void skipRestOfLine(const CsvField& first);
    void storeColumn(const CsvField& field, int column, RecordTarget& target);
    void storeInto(const CsvField& field, int entry, RecordTarget& target);

    ByteSource& m_source;
    RunState& m_run;
    bool m_blanksSeparate;
    bool m_cabrillo = false;
    bool m_endOfLogSeen = false;
    // The header ended at a QSO line whose "QSO:" has been read already.
    bool m_qsoWordTaken = false;
    int m_qsoWordLine = 0;
    std::vector<CabrilloColumns> m_layouts;
};

}  // namespace velmark
