#include "input/csv_reader.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "core/standard_fields.h"
#include "core/ascii_case.h"
#include "input/log_data_error.h"

namespace velmark {

namespace {

constexpr char kLineEndMark = '\n';  // PreviousChar after a line end

bool isLineEnd(int c) {
    return c == '\r' || c == '\n';
}

bool isHardSeparator(int c) {
    return c == ',' || c == ';';
}

int clampedLength(std::size_t size) {
    return static_cast<int>(std::min<std::size_t>(size, INT_MAX));
}

enum class CabrilloLine { Qso, Other, EndOfLog };

constexpr std::string_view kQsoWord = "QSO:";
constexpr std::string_view kContestKey = "CONTEST:";
constexpr std::string_view kEndOfLogKey = "END-OF-LOG";
// A header line is looked at only this far: its key and a contest name.
constexpr std::size_t kHeaderLineKept = 128;

CabrilloLine classifyCabrilloLine(const std::string& firstField) {
    const std::string word = UpperAscii(TrimBlanks(firstField));
    if (word == kQsoWord) {
        return CabrilloLine::Qso;
    }
    return word.rfind(kEndOfLogKey, 0) == 0 ? CabrilloLine::EndOfLog : CabrilloLine::Other;
}

bool isFieldEnd(int c) {
    return c == ' ' || c == '\t' || isLineEnd(c) || c == ByteSource::kEnd;
}

// The first word after "CONTEST:" of a header line, or nothing when the line is another one.
std::optional<std::string> contestOf(std::string_view line) {
    if (UpperAscii(line.substr(0, kContestKey.size())) != kContestKey) {
        return std::nullopt;
    }
    std::string_view value = line.substr(kContestKey.size());
    const std::size_t first = value.find_first_not_of(" \t");
    value = first == std::string_view::npos ? std::string_view{} : value.substr(first);
    return std::string(value.substr(0, value.find_first_of(" \t\r\n")));
}

// Callsigns hold letters and at least one digit (Q1AAA, 2E0AAA, JR1ABC/P); reports, serial
// numbers, zones and sections do not, so the field that holds one tells layouts apart.
bool looksLikeCallsign(std::string_view text) {
    bool letter = false;
    bool digit = false;
    for (const char c : UpperAscii(text)) {
        if (c >= 'A' && c <= 'Z') {
            letter = true;
        } else if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c != '/') {
            return false;
        }
    }
    return letter && digit && text.size() >= 3;
}

bool isTransmitterNumber(std::string_view text) {
    return text.size() == 1 && text[0] >= '0' && text[0] <= '9';
}

// The layout a QSO line of fields follows, and whether its last field is a transmitter number
// beyond the layout. Layouts with the line's number of fields come first, the one whose CALL
// field holds a callsign before the others.
std::pair<const CabrilloColumns*, bool> chooseLayout(const std::vector<CabrilloColumns>& layouts,
                                                     const std::vector<CsvField>& fields) {
    const auto fitting = [&](std::size_t count) -> const CabrilloColumns* {
        const CabrilloColumns* first = nullptr;
        for (const CabrilloColumns& layout : layouts) {
            if (layout.Entries.size() != count) {
                continue;
            }
            const int call = layout.CallField;
            if (call == 0 || looksLikeCallsign(fields[static_cast<std::size_t>(call) - 1].Text)) {
                return &layout;
            }
            if (first == nullptr) {
                first = &layout;
            }
        }
        return first;
    };
    if (const CabrilloColumns* layout = fitting(fields.size())) {
        return {layout, false};
    }
    if (fields.size() > 1 && isTransmitterNumber(fields.back().Text)) {
        if (const CabrilloColumns* layout = fitting(fields.size() - 1)) {
            return {layout, true};
        }
    }
    return {&layouts.front(), false};
}

// Checks a title line before any title takes a catalogue entry, so that a rejected line leaves
// the catalogue as it was.
void checkTitles(const std::vector<CsvField>& titles) {
    std::set<std::string> seen;
    for (std::size_t k = 0; k < titles.size(); ++k) {
        const std::string& title = titles[k].Text;
        if (title.empty()) {
            throw LogDataError(LogProblem::EmptyTitle, std::to_string(k + 1), titles[k].Line);
        }
        if (title == "EOR" || title == "eor") {
            throw LogDataError(LogProblem::UnusableTitle, title, titles[k].Line);
        }
        // The catalogue tells names apart by their first 35 characters.
        if (!seen.insert(title.substr(0, kMaxFieldNameLength)).second) {
            throw LogDataError(LogProblem::DuplicateTitle, title, titles[k].Line);
        }
    }
}

}  // namespace

FieldSplitting FieldSplittingFor(const std::string& fieldSeparator) {
    return fieldSeparator == "," ? FieldSplitting::Csv : FieldSplitting::BlankSeparated;
}

int CsvColumnWidth(int valueLength, int storedLength) {
    return std::min(valueLength, storedLength);
}

CsvReader::CsvReader(ByteSource& source, RunState& run, FieldSplitting splitting)
    : m_source(source), m_run(run), m_blanksSeparate(splitting == FieldSplitting::BlankSeparated) {
    m_run.PreviousChar.clear();
    m_run.PushbackChar = 0;
}

// --- character level ---

int CsvReader::next() {
    if (m_run.PushbackChar != 0) {
        const auto c = static_cast<unsigned char>(m_run.PushbackChar);
        m_run.PushbackChar = 0;
        return c;
    }
    return m_source.Get();
}

int CsvReader::skipPadding(bool& padded) {
    padded = false;
    int c = next();
    while (c == ' ' || c == '\t' || c == 0) {
        padded = padded || c != 0;
        c = next();
    }
    return c;
}

void CsvReader::finishLineEnd(int c) {
    if (c == '\r' && m_source.Peek() == '\n') {
        m_source.Get();
    }
}

void CsvReader::setPrevious(char c) {
    m_run.PreviousChar.assign(1, c);
}

bool CsvReader::afterHardSeparator() const {
    return !m_run.PreviousChar.empty() && isHardSeparator(m_run.PreviousChar[0]);
}

void CsvReader::endLine(CsvField& field) {
    field.EndOfLine = true;
    setPrevious(kLineEndMark);
}

// --- fields ---

CsvField CsvReader::ReadCsvField() {
    CsvField field;
    for (;;) {
        bool padded = false;
        const int c = skipPadding(padded);
        // A line end is counted as soon as it is read; the field belongs to the line it ends.
        field.Line = m_source.LineNumber() - (isLineEnd(c) ? 1 : 0);
        if (c == ByteSource::kEnd || isLineEnd(c)) {
            finishLineEnd(c);
            if (afterHardSeparator()) {
                endLine(field);  // the line ended with a separator: an empty last field
                return field;
            }
            if (c == ByteSource::kEnd) {
                field.EndOfLine = field.InputEnded = true;
                return field;
            }
            setPrevious(kLineEndMark);  // a line that holds nothing is skipped
            continue;
        }
        if (isHardSeparator(c)) {
            setPrevious(static_cast<char>(c));  // nothing before the separator: an empty field
            return field;
        }
        // Raw form needs the value to start right after its semicolon.
        if (c != '"' && !padded && m_run.PreviousChar == ";") {
            readRaw(field, c);
        } else {
            readContent(field, c);
        }
        return field;
    }
}

void CsvReader::readContent(CsvField& field, int c) {
    // Invariant: c is the first byte of the value that is neither padding nor a separator.
    // Blanks inside a CSV value wait in `pending` until more of the value shows they are inner
    // blanks; at the value's end they are dropped.
    std::string pending;
    for (;; c = m_source.Get()) {
        if (c == ByteSource::kEnd || isLineEnd(c)) {
            finishLineEnd(c);
            endLine(field);
            return;
        }
        if (isHardSeparator(c)) {
            setPrevious(static_cast<char>(c));
            return;
        }
        if (c == '\t' || (c == ' ' && m_blanksSeparate)) {
            endAfterSoftSeparator(field);
            return;
        }
        if (c == ' ') {
            pending += ' ';
            continue;
        }
        if (c == 0) {
            continue;
        }
        field.Text += pending;
        pending.clear();
        if (c == '"') {
            if (!readQuoted(field)) {
                return;
            }
            continue;
        }
        field.Text += static_cast<char>(c);
    }
}

bool CsvReader::readQuoted(CsvField& field) {
    // Invariant: the last byte read was an opening double quote; everything up to the next
    // double quote that is not doubled belongs to the value, a doubled one standing for one.
    int previous = '"';
    for (int c = m_source.Get();; c = m_source.Get()) {
        if (c == ByteSource::kEnd) {
            field.UnclosedQuote = field.InputEnded = true;
            endLine(field);
            return false;
        }
        if (c == '"') {
            if (m_source.Peek() != '"') {
                return true;
            }
            c = m_source.Get();
        } else if (c == '\r' || (c == '\n' && previous != '\r')) {
            ++field.LineEndsInside;
        }
        field.Text += static_cast<char>(c);
        previous = c;
    }
}

void CsvReader::readRaw(CsvField& field, int c) {
    // Invariant: the byte before c was a semicolon; blanks and commas are part of the value.
    for (;; c = m_source.Get()) {
        if (c == ByteSource::kEnd || isLineEnd(c)) {
            finishLineEnd(c);
            endLine(field);
            return;
        }
        if (c == ';') {
            setPrevious(';');
            return;
        }
        if (c != 0) {
            field.Text += static_cast<char>(c);
        }
    }
}

void CsvReader::endAfterSoftSeparator(CsvField& field) {
    // A soft separator followed by a hard one or by the line's end is only padding.
    bool padded = false;
    const int c = skipPadding(padded);
    if (c == ByteSource::kEnd || isLineEnd(c)) {
        finishLineEnd(c);
        endLine(field);
    } else if (isHardSeparator(c)) {
        setPrevious(static_cast<char>(c));
    } else {
        m_run.PushbackChar = static_cast<char>(c);
        setPrevious(' ');
    }
}

// --- titles and records ---

void CsvReader::ReadColumnTitles(TStrukturaADIF& catalogue) {
    std::vector<CsvField> titles;
    for (;;) {
        CsvField field = ReadCsvField();
        if (field.UnclosedQuote) {
            throw LogDataError(LogProblem::UnclosedQuote, "", field.Line);
        }
        if (field.InputEnded) {
            break;
        }
        field.Text = TrimBlanks(field.Text);
        titles.push_back(std::move(field));
        if (titles.back().EndOfLine) {
            break;
        }
    }
    checkTitles(titles);
    for (const CsvField& title : titles) {
        const int entry = catalogue.RegisterField(title.Text, m_run.Columns);
        if (entry == kNoEntry) {
            throw LogDataError(LogProblem::CatalogueFull, title.Text, title.Line);
        }
        catalogue.RaiseColumnWidth(entry, clampedLength(title.Text.size()));
    }
}

CsvRecordResult CsvReader::ReadCsvRecord(RecordTarget& target) {
    if (m_cabrillo) {
        return readCabrilloRecord(target);
    }
    CsvRecordResult result;
    for (;;) {
        const CsvField field = ReadCsvField();
        if (field.UnclosedQuote) {
            throw LogDataError(LogProblem::UnclosedQuote, "", field.Line);
        }
        if (field.InputEnded) {
            result.InputEnded = true;
            return result;
        }
        if (result.FieldCount == 0) {
            result.Line = result.LastLine = field.Line;
        }
        result.LastLine += field.LineEndsInside;
        storeColumn(field, ++result.FieldCount, target);
        if (field.EndOfLine) {
            return result;
        }
    }
}

void CsvReader::storeColumn(const CsvField& field, int column, RecordTarget& target) {
    if (column > target.Columns.ColumnCount) {
        return;  // no title names this field
    }
    storeInto(field, target.Columns.Positions[static_cast<std::size_t>(column)], target);
}

void CsvReader::storeInto(const CsvField& field, int entry, RecordTarget& target) {
    const std::string value = TrimBlanks(field.Text);
    target.Columns.CurrentEntry = entry;
    const int stored = StoreField(value, target);
    target.Catalogue.RaiseColumnWidth(entry, CsvColumnWidth(clampedLength(value.size()), stored));
}

// --- Cabrillo ---

std::string CsvReader::SkipCabrilloHeader() {
    m_cabrillo = true;
    std::string contest;
    std::string line;  // the current line, from its first character that is not a blank
    for (int c = m_source.Get(); c != ByteSource::kEnd; c = m_source.Get()) {
        if (isLineEnd(c)) {
            finishLineEnd(c);
            if (const auto named = contestOf(line)) {
                contest = *named;
            }
            if (UpperAscii(line).rfind(kEndOfLogKey, 0) == 0) {
                m_endOfLogSeen = true;
                break;
            }
            line.clear();
            continue;
        }
        if ((c == ' ' || c == '\t') && line.empty()) {
            continue;
        }
        if (line.size() < kHeaderLineKept) {
            line += static_cast<char>(c);
        }
        // The header ends where the QSO lines begin, whether or not a CREATED-BY line came
        // first (Cabrillo makes it optional): this line's "QSO:" is its first field.
        if (line.size() == kQsoWord.size() && UpperAscii(line) == kQsoWord &&
            isFieldEnd(m_source.Peek())) {
            m_qsoWordTaken = true;
            m_qsoWordLine = m_source.LineNumber();
            break;
        }
    }
    UseCabrilloLayouts({});
    return contest;
}

void CsvReader::UseCabrilloLayouts(std::vector<CabrilloColumns> layouts) {
    m_layouts = std::move(layouts);
    if (m_layouts.empty()) {
        // The column list as it stands now, one field per column; a column added later (the
        // band a frequency gives) is no field of the QSO lines.
        CabrilloColumns& byColumns = m_layouts.emplace_back();
        const ColumnList& columns = m_run.Columns;
        for (int k = 1; k <= columns.ColumnCount; ++k) {
            byColumns.Entries.push_back(columns.Positions[static_cast<std::size_t>(k)]);
        }
    }
    // Reading the column names in between used the run's character memory; the QSO lines go
    // on from a line's start, or from the blank after a "QSO:" already read.
    m_run.PushbackChar = 0;
    setPrevious(m_qsoWordTaken ? ' ' : kLineEndMark);
}

CsvRecordResult CsvReader::readCabrilloRecord(RecordTarget& target) {
    CsvRecordResult result;
    std::vector<CsvField> fields;
    while (fields.empty() || !fields.back().EndOfLine) {
        if (fields.empty() && m_endOfLogSeen) {
            result.InputEnded = true;
            return result;
        }
        CsvField field;
        if (fields.empty() && m_qsoWordTaken) {
            m_qsoWordTaken = false;
            field.Text = kQsoWord;
            field.Line = m_qsoWordLine;
            field.EndOfLine = isLineEnd(m_source.Peek()) || m_source.AtEnd();
            if (field.EndOfLine && !m_source.AtEnd()) {
                finishLineEnd(m_source.Get());  // the line end after the lone word
                setPrevious(kLineEndMark);
            }
        } else {
            field = ReadCsvField();
        }
        if (field.UnclosedQuote) {
            throw LogDataError(LogProblem::UnclosedQuote, "", field.Line);
        }
        if (field.InputEnded) {
            result.InputEnded = true;
            return result;
        }
        if (fields.empty() && !startsCabrilloQso(field)) {
            continue;
        }
        fields.push_back(std::move(field));
    }
    result.Line = result.LastLine = fields.front().Line;
    for (const CsvField& field : fields) {
        result.LastLine += field.LineEndsInside;
    }
    result.FieldCount = static_cast<int>(fields.size());

    // UseCabrilloLayouts always leaves at least the layout of the column list.
    const auto [layout, transmitterNumber] = chooseLayout(m_layouts, fields);
    if (transmitterNumber) {
        fields.pop_back();
        --result.FieldCount;
    }
    result.ExpectedFieldCount = static_cast<int>(layout->Entries.size());
    const std::size_t stored = std::min(fields.size(), layout->Entries.size());
    for (std::size_t k = 0; k < stored; ++k) {
        if (layout->Entries[k] != kNoEntry) {
            storeInto(fields[k], layout->Entries[k], target);
        }
    }
    return result;
}

bool CsvReader::startsCabrilloQso(const CsvField& first) {
    switch (classifyCabrilloLine(first.Text)) {
        case CabrilloLine::Qso:
            return true;
        case CabrilloLine::EndOfLog:
            m_endOfLogSeen = true;  // whatever follows the closing line is not read
            skipRestOfLine(first);
            return false;
        case CabrilloLine::Other:
            skipRestOfLine(first);
            return false;
    }
    return false;
}

void CsvReader::skipRestOfLine(const CsvField& first) {
    // Header lines after the first QSO and lines such as "X-QSO:" or "SOAPBOX:" are no QSOs;
    // they are dropped as they stand, a double quote in a soapbox text included.
    if (first.EndOfLine) {
        return;
    }
    int c = next();
    while (c != ByteSource::kEnd && !isLineEnd(c)) {
        c = m_source.Get();
    }
    finishLineEnd(c);
    setPrevious(kLineEndMark);
}

}  // namespace velmark
