#pragma once
// The ADIF reader: the header up to "<EOH>", then records tag by tag. A tag is "<", a field
// name, optionally ":" and the value's length in characters (and optionally ":" and a type
// indicator), ">", followed by exactly that many characters of value, whatever they are. A
// record ends with "<EOR>" in any letter case. Field names are looked up in the catalogue, which
// also gives them their column; values are stored into the QSO record as read (their letter
// case kept). The storing and trimming steps serve the CSV/TXT reader too.

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/field_catalogue.h"
#include "core/processing_object.h"
#include "core/qso_record.h"
#include "input/byte_source.h"

namespace velmark {

// Where a reader puts the fields it reads: the catalogue that names them, the run's column
// list (its CurrentEntry says which field is being stored), and the QSO record being filled
// together with the QSO's running number.
struct RecordTarget {
    TStrukturaADIF& Catalogue;
    ColumnList& Columns;
    QsoRecord& Record;
    std::int32_t QsoNumber = 0;
};

// Removes the blanks (the space character only) at the end and then at the start of a text.
std::string TrimBlanks(std::string_view text);

// Stores a value into the record slot of the kind of catalogue entry Columns.CurrentEntry and
// returns the number of characters stored. CLASS_ is never stored and QSO_NUM gives way to the
// QSO's running number (both return the value's own length, so their column width can still be
// measured); a MODE of exactly "RY" or "PH" is stored as "RTTY" or "SSB"; a TIME_ON or TIME_OFF
// with seconds (HHMMSS, HH:MM:SS, HH.MM.SS) is stored as HHMM; every other value is cut to its
// slot.
int StoreField(std::string_view value, RecordTarget& target);

// The width an ADIF field asks of its column: the tag name's length when the name is longer
// than the value, otherwise the value's length as stored.
int AdifColumnWidth(int valueLength, int tagNameLength, int storedLength);

// One tag of the log with its value, as ReadAdifField returns it.
struct AdifField {
    std::string TagName;  // as written; empty for an empty tag or when no tag was left
    std::string Value;
    bool EndOfLine = false;   // the tag was the record end, or the input has ended
    bool InputEnded = false;  // the log is at its end (the tag may still be complete)
    int Line = 0;             // line on which the tag began
};

class AdifReader {
  public:
    explicit AdifReader(ByteSource& source) : m_source(source) {}

    // Reads the header into processing's AdifHeaderLines. A log whose first character is "<"
    // has a header only when an "<EOH>" tag comes before its first "<EOR>". The header ends at
    // the first "<EOH>" tag in any letter case, also in the middle of a line: the text before
    // it on that line is the last header line, "<EOH>" is stored as a line of its own, and what
    // follows belongs to the records. Throws LogDataError when the header needs more than the
    // 30 lines there is room for.
    void ReadAdifHeader(TObiektyInputOutput& processing);

    // Reads the next tag and its value; text outside tags is skipped. In a UTF-8 log a length
    // is taken as UTF-8 bytes or, where bytes cannot be meant, as characters (see
    // readUtf8Value). Throws LogDataError when a length text is not a whole number.
    AdifField ReadAdifField();

    // Reads one record into target.Record (emptied by the caller). Returns true when the
    // record ended with its "<EOR>"; false when the input ended first (the record is not
    // taken; when it held no value, as an end-of-file marker tag, it is not even reported).
    bool ReadAdifRecord(RecordTarget& target);

    // Field names that a full catalogue could not take, each once, in the order met. Their
    // values were skipped.
    const std::vector<std::string>& RefusedNames() const { return m_refusedNames; }

    // The line on which the record that the end of the log cut short began (inside a tag, inside
    // a value whose length runs past the end, or before its "<EOR>"); 0 when the log ended
    // between records. Such a record is not taken, and the user must be told.
    int UnfinishedRecordLine() const { return m_unfinishedRecordLine; }

  private:
    void storeHeaderLine(TObiektyInputOutput& processing, std::string line);
    bool headerEndComesFirst();
    void readTag(AdifField& field);
    void readValue(AdifField& field, std::uint64_t length);
    void readUtf8Value(AdifField& field, std::uint64_t length);
    void storeValueless(RecordTarget& target);
    void storeTag(const std::string& value, const std::string& name, RecordTarget& target);
    int registerName(const std::string& name, RecordTarget& target);
    void refuse(const std::string& name);

    ByteSource& m_source;
    std::unordered_map<std::string, int> m_registeredNames;  // names entered in this run
    std::vector<std::string> m_refusedNames;
    std::set<std::string> m_refusedSet;
    // Names of the current record's fields without a value, kept back while the record may
    // still prove to be a tail of marker tags.
    std::vector<std::string> m_valueless;
    int m_unfinishedRecordLine = 0;
};

}  // namespace velmark
