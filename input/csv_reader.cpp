#include "input/csv_reader.h"

#include <algorithm>
#include <climits>
#include <set>
#include <vector>

#include "core/standard_fields.h"
#include "input/ascii_case.h"
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

CabrilloLine classifyCabrilloLine(const std::string& firstField) {
    const std::string word = UpperAscii(TrimBlanks(firstField));
    if (word == "QSO:") {
        return CabrilloLine::Qso;
    }
    return word.rfind("END-OF-LOG", 0) == 0 ? CabrilloLine::EndOfLog : CabrilloLine::Other;
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
    // double quote belongs to the value.
    for (int c = m_source.Get(); c != '"'; c = m_source.Get()) {
        if (c == ByteSource::kEnd) {
            field.UnclosedQuote = field.InputEnded = true;
            endLine(field);
            return false;
        }
        field.Text += static_cast<char>(c);
    }
    return true;
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
    CsvRecordResult result;
    for (;;) {
        if (m_endOfLogSeen) {
            result.InputEnded = true;
            return result;
        }
        const CsvField field = ReadCsvField();
        if (field.UnclosedQuote) {
            throw LogDataError(LogProblem::UnclosedQuote, "", field.Line);
        }
        if (field.InputEnded) {
            result.InputEnded = true;
            return result;
        }
        if (result.FieldCount == 0 && m_cabrillo && !startsCabrilloQso(field)) {
            continue;
        }
        if (result.FieldCount == 0) {
            result.Line = field.Line;
        }
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
    const std::string value = TrimBlanks(field.Text);
    const int entry = target.Columns.Positions[static_cast<std::size_t>(column)];
    target.Columns.CurrentEntry = entry;
    const int stored = StoreField(value, target);
    target.Catalogue.RaiseColumnWidth(entry, CsvColumnWidth(clampedLength(value.size()), stored));
}

// --- Cabrillo ---

void CsvReader::SkipCabrilloHeader() {
    m_cabrillo = true;
    std::string lineStart;  // the first 7 bytes of the current line
    for (int c = m_source.Get(); c != ByteSource::kEnd; c = m_source.Get()) {
        if (!isLineEnd(c)) {
            if (lineStart.size() < 7) {
                lineStart += static_cast<char>(c);
            }
            continue;
        }
        finishLineEnd(c);
        if (UpperAscii(lineStart) == "CREATED") {
            break;
        }
        lineStart.clear();
    }
    m_run.PushbackChar = 0;
    setPrevious(kLineEndMark);
}

bool CsvReader::startsCabrilloQso(const CsvField& first) {
    switch (classifyCabrilloLine(first.Text)) {
        case CabrilloLine::Qso:
            return true;
        case CabrilloLine::EndOfLog:
            m_endOfLogSeen = true;  // whatever follows the closing line is not read
            return false;
        case CabrilloLine::Other:
            skipRestOfLine(first);
            return false;
    }
    return false;
}

void CsvReader::skipRestOfLine(const CsvField& first) {
    // Header lines after "CREATED" and lines such as "X-QSO:" or "SOAPBOX:" are no QSOs.
    for (CsvField field = first; !field.EndOfLine;) {
        field = ReadCsvField();
        if (field.UnclosedQuote) {
            throw LogDataError(LogProblem::UnclosedQuote, "", field.Line);
        }
    }
}

}  // namespace velmark
