#include "input/adif_reader.h"

#include <algorithm>
#include <charconv>
#include <climits>

#include "core/standard_fields.h"
#include "core/ascii_case.h"
#include "input/log_data_error.h"

namespace velmark {

namespace {

constexpr int kClassKind = StandardKind("CLASS_");  // read but never stored
constexpr int kModeKind = StandardKind("MODE");
constexpr int kTimeOnKind = StandardKind("TIME_ON");
constexpr int kTimeOffKind = StandardKind("TIME_OFF");

// A value length no log can reach; it keeps the value's reservation sane when a length text
// claims more than the file holds (reading then simply stops at the end of the log).
constexpr std::uint64_t kReserveLimit = 1 << 16;

bool endsWithHeaderEnd(std::string_view line) {
    constexpr std::string_view kHeaderEnd = "<EOH>";
    return line.size() >= kHeaderEnd.size() &&
           UpperAscii(line.substr(line.size() - kHeaderEnd.size())) == kHeaderEnd;
}

// The ADIF shorthands for two modes; only the exact upper-case forms are meant.
std::string_view expandMode(std::string_view value) {
    if (value == "RY") {
        return "RTTY";
    }
    if (value == "PH") {
        return "SSB";
    }
    return value;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Many loggers write times with seconds (HHMMSS, HH:MM:SS or HH.MM.SS); the record keeps HHMM,
// the seconds dropped (a card shows minutes, and 18:59:59 is still 18:59). Other texts stay.
std::string_view timeWithoutSeconds(std::string_view value, std::string& scratch) {
    if (value.size() == 6 && std::all_of(value.begin(), value.end(), isDigit)) {
        return value.substr(0, 4);
    }
    const bool separated =
        value.size() == 8 && (value[2] == ':' || value[2] == '.') && value[5] == value[2];
    if (separated && isDigit(value[0]) && isDigit(value[1]) && isDigit(value[3]) &&
        isDigit(value[4]) && isDigit(value[6]) && isDigit(value[7])) {
        scratch.assign(value.substr(0, 2));
        scratch.append(value.substr(3, 2));
        return scratch;
    }
    return value;
}

bool isBlankText(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// A length text is one or more decimal digits and nothing else.
bool parseLength(std::string_view text, std::uint64_t& length) {
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
    return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::string TrimBlanks(std::string_view text) {
    const auto last = text.find_last_not_of(' ');
    if (last == std::string_view::npos) {
        return {};
    }
    const auto first = text.find_first_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

int StoreField(std::string_view value, RecordTarget& target) {
    const int kind = target.Catalogue.Entry(target.Columns.CurrentEntry).Kind;
    if (kind == kClassKind) {
        return static_cast<int>(value.size());
    }
    if (kind == kQsoNumKind) {
        // The log's own numbering is not trusted: QsoNr is the QSO's place in this run.
        target.Record.QsoNr = target.QsoNumber;
        return static_cast<int>(value.size());
    }
    if (kind == kModeKind) {
        value = expandMode(value);
    } else if (kind == kTimeOnKind || kind == kTimeOffKind) {
        std::string scratch;
        target.Record.SetSlot(kind, timeWithoutSeconds(value, scratch));
        return static_cast<int>(target.Record.Slot(kind).size());
    }
    target.Record.SetSlot(kind, value);
    return static_cast<int>(target.Record.Slot(kind).size());
}

int AdifColumnWidth(int valueLength, int tagNameLength, int storedLength) {
    if (tagNameLength > valueLength) {
        return tagNameLength;
    }
    return std::min(valueLength, storedLength);
}

// --- header ---

void AdifReader::ReadAdifHeader(TObiektyInputOutput& processing) {
    processing.ClearAdifHeader();
    if (m_source.AtEnd()) {
        return;
    }
    // By the ADIF standard a file that begins with "<" has no header, but several programs
    // begin their header with a tag (<ADIF_VER:5>3.1.4, <PROGRAMID:6>WSJT-X) and end it with
    // <EOH>: whenever an <EOH> comes before the first <EOR>, what stands before it is the header.
    if (m_source.Peek() == '<') {
        const bool hasHeader = headerEndComesFirst();
        m_source.Rewind();
        if (!hasHeader) {
            return;
        }
    }
    std::string line;
    for (;;) {
        const int c = m_source.Get();
        if (c == ByteSource::kEnd) {
            throw LogDataError(LogProblem::AdifHeaderWithoutEnd, "", m_source.LineNumber());
        }
        if (c == '\r' || c == '\n') {
            if (c == '\r' && m_source.Peek() == '\n') {
                m_source.Get();
            }
            storeHeaderLine(processing, std::move(line));
            line.clear();
            continue;
        }
        line += static_cast<char>(c);
        if (c == '>' && endsWithHeaderEnd(line)) {
            // Invariant: the last five bytes read are "<EOH>" in some letter case; the next
            // byte is the first byte of the records.
            line.resize(line.size() - 5);
            if (!line.empty()) {
                storeHeaderLine(processing, std::move(line));
            }
            storeHeaderLine(processing, "<EOH>");
            return;
        }
    }
}

bool AdifReader::headerEndComesFirst() {
    for (;;) {
        const int c = m_source.Get();
        if (c == ByteSource::kEnd) {
            return false;
        }
        if (c != '<') {
            continue;
        }
        AdifField field;
        readTag(field);
        const std::string name = UpperAscii(field.TagName);
        if (name == "EOH" || name == "EOR" || field.InputEnded) {
            return name == "EOH";
        }
    }
}

void AdifReader::storeHeaderLine(TObiektyInputOutput& processing, std::string line) {
    if (processing.AdifHeaderLineCount == kMaxAdifHeaderLines) {
        throw LogDataError(LogProblem::AdifHeaderWithoutEnd, "", m_source.LineNumber());
    }
    processing.AdifHeaderLines[++processing.AdifHeaderLineCount] = std::move(line);
}

// --- fields ---

AdifField AdifReader::ReadAdifField() {
    AdifField field;
    for (;;) {
        const int c = m_source.Get();
        if (c == ByteSource::kEnd) {
            field.EndOfLine = field.InputEnded = true;
            return field;
        }
        if (c != '<') {
            continue;  // line ends, blanks and any text between tags
        }
        field.Line = m_source.LineNumber();
        readTag(field);
        if (m_source.AtEnd()) {
            field.EndOfLine = field.InputEnded = true;
        }
        return field;
    }
}

void AdifReader::readTag(AdifField& field) {
    // Invariant: the last byte read was "<"; the tag text runs to the next ">".
    std::string tagText;
    for (int c = m_source.Get(); c != '>'; c = m_source.Get()) {
        if (c == ByteSource::kEnd) {
            field.EndOfLine = field.InputEnded = true;
            return;
        }
        tagText += static_cast<char>(c);
    }
    const auto colon = tagText.find(':');
    field.TagName = tagText.substr(0, colon);
    if (UpperAscii(field.TagName) == "EOR") {
        field.EndOfLine = true;
        return;
    }
    if (colon == std::string::npos) {
        return;  // a tag without a length carries no value
    }
    const std::string_view afterColon = std::string_view(tagText).substr(colon + 1);
    const std::string_view lengthText = afterColon.substr(0, afterColon.find(':'));
    std::uint64_t length = 0;
    if (!parseLength(lengthText, length)) {
        throw LogDataError(LogProblem::AdifBadValueLength, "<" + tagText + ">", field.Line);
    }
    readValue(field, length);
}

void AdifReader::readValue(AdifField& field, std::uint64_t length) {
    if (m_source.IsUtf8()) {
        readUtf8Value(field, length);
        return;
    }
    // Exactly `length` bytes form the value, line breaks and "<" included.
    field.Value.reserve(static_cast<std::size_t>(std::min(length, kReserveLimit)));
    for (std::uint64_t i = 0; i < length; ++i) {
        const int c = m_source.Get();
        if (c == ByteSource::kEnd) {
            field.EndOfLine = field.InputEnded = true;
            return;
        }
        field.Value += static_cast<char>(c);
    }
}

void AdifReader::readUtf8Value(AdifField& field, std::uint64_t length) {
    // The file is read as code page 1250, one byte a character, while the length may count the
    // value's UTF-8 bytes (the ADIF standard) or its characters (what several programs write):
    // "<NAME:5>Jörg" and "<NAME:4>Jörg". The bytes are taken first; the count is taken as
    // characters when it would end inside a character, or leave text of the value before the
    // next tag. Invariant: field.Value holds `characters` characters of `bytes` UTF-8 bytes.
    std::uint64_t bytes = 0;
    std::uint64_t characters = 0;
    bool multiByte = false;
    while (bytes < length) {
        const int c = m_source.Get();
        if (c == ByteSource::kEnd) {
            field.EndOfLine = field.InputEnded = true;
            return;
        }
        field.Value += static_cast<char>(c);
        const int width = m_source.LastWidth();
        bytes += static_cast<std::uint64_t>(width);
        ++characters;
        multiByte = multiByte || width > 1;
    }
    if (!multiByte || characters == length) {
        return;  // bytes and characters agree
    }
    // The characters that the count in characters asks for beyond the bytes, never past the
    // next "<" (the next tag); whatever is not taken lies between tags and is skipped there.
    const std::uint64_t missing = length - characters;
    std::string rest;
    while (rest.size() < missing && m_source.Peek() != '<' && m_source.Peek() != ByteSource::kEnd) {
        rest += static_cast<char>(m_source.Get());
    }
    if (bytes > length || !isBlankText(rest)) {
        field.Value += rest;
    }
}

// --- records ---

bool AdifReader::ReadAdifRecord(RecordTarget& target) {
    int recordLine = 0;       // the line of the record's first tag
    bool holdsValue = false;  // a field of the record has a value
    m_valueless.clear();
    for (;;) {
        const AdifField field = ReadAdifField();
        if (recordLine == 0) {
            recordLine = field.Line;
        }
        const std::string name = UpperAscii(field.TagName);
        if (name == "EOR") {
            storeValueless(target);
            return true;  // also when "<EOR>" is the very last thing of the log
        }
        std::string value = TrimBlanks(field.Value);
        if (field.InputEnded) {
            // The log ended before "<EOR>". A tail of marker tags without values, such as
            // LoTW's <APP_LoTW_EOF> or <EOF>, loses nothing and is dropped without a word; a
            // record that holds values was cut off, and the user must be told.
            if (holdsValue || !value.empty()) {
                storeValueless(target);
                m_unfinishedRecordLine = recordLine;
            }
            return false;
        }
        // An empty name ("<>", "<:5>") names no field, and a stray "<EOH>" among the records
        // is the header's end, never a field: both are skipped with their value.
        if (name.empty() || name == "EOH") {
            continue;
        }
        if (value.empty()) {
            // Kept back until the record proves to be one; stored in its place before the next
            // field with a value.
            m_valueless.push_back(name);
            continue;
        }
        holdsValue = true;
        if (!m_valueless.empty()) {
            storeValueless(target);
        }
        storeTag(value, name, target);
    }
}

void AdifReader::storeValueless(RecordTarget& target) {
    for (const std::string& name : m_valueless) {
        storeTag({}, name, target);
    }
    m_valueless.clear();
}

void AdifReader::storeTag(const std::string& value, const std::string& name, RecordTarget& target) {
    const int valueLength = static_cast<int>(std::min<std::size_t>(value.size(), INT_MAX));
    const int entry = registerName(name, target);
    if (entry == kNoEntry) {
        refuse(name);
        return;
    }
    target.Columns.CurrentEntry = entry;
    const int stored = StoreField(value, target);
    target.Catalogue.RaiseColumnWidth(
        entry, AdifColumnWidth(valueLength, static_cast<int>(name.size()), stored));
}

int AdifReader::registerName(const std::string& name, RecordTarget& target) {
    // Every record names the same few fields again; once a name has its entry and its column
    // in this run, both stay, so the catalogue need not be searched for it again.
    const auto known = m_registeredNames.find(name);
    if (known != m_registeredNames.end()) {
        return known->second;
    }
    const int entry = target.Catalogue.RegisterField(name, target.Columns);
    if (entry != kNoEntry) {
        m_registeredNames.emplace(name, entry);
    }
    return entry;
}

void AdifReader::refuse(const std::string& name) {
    if (m_refusedSet.insert(name).second) {
        m_refusedNames.push_back(name);
    }
}

}  // namespace velmark
