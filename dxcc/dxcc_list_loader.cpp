#include "dxcc/dxcc_list_loader.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <string_view>
#include <utility>

#include "core/ascii_case.h"
#include "core/bounded_text.h"
#include "dxcc/crlf_text_file.h"
#include "dxcc/leading_number.h"

namespace velmark {

namespace {

// Thrown when the list breaks a capacity: the message is already out, the load stops.
struct LoadStopped {};

constexpr std::size_t kNameColumns = 35;
constexpr std::size_t kPrefixColumns = 90;
constexpr std::size_t kFromColumn = 93;
constexpr std::size_t kToColumn = 106;
// Once an entity's prefixes in the country record reach this length its further prefix lines
// are left out of the record (the bookmark field stays printable).
constexpr std::size_t kCountryPrefixesFull = 245;
constexpr const char* kContinentCodes[] = {"EU", "AF", "AS", "OC", "NA", "SA", "AN"};

// Characters first..first+count-1 (1-based) of a line; shorter or empty where the line ends.
std::string Columns(std::string_view line, std::size_t first, std::size_t count) {
    if (first > line.size())
        return {};
    return std::string(line.substr(first - 1, count));
}

std::string WithoutTrailingBlanks(std::string_view text) {
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

bool IsBlankLine(std::string_view line) {
    return line.find_first_not_of(' ') == std::string_view::npos;
}

bool IsCommentLine(std::string_view line) {
    return !line.empty() && line[0] == '{';
}

// A header line starts an entity: its second character is not a blank.
bool IsHeaderLine(std::string_view line) {
    return line.size() < 2 || line[1] != ' ';
}

// The entity name: columns 1-35, trimmed as an item, a-z raised to A-Z.
std::string ProcessedName(std::string_view line) {
    return KeepFirst(UpperAscii(TrimListText(Columns(line, 1, kNameColumns), ListTextTrim::Item)),
                     kNameSize);
}

std::uint8_t ZoneByte(std::int32_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

// Removes the first open..close group (brackets included) from an item and returns the number
// written inside it, or 0 when the item has no such group.
std::int32_t TakeZoneMark(std::string& item, char open, char close) {
    const std::size_t openAt = item.find(open);
    if (openAt == std::string::npos)
        return 0;
    const std::size_t closeAt = item.find(close, openAt + 1);
    if (closeAt == std::string::npos)
        return 0;
    const std::int32_t value = ReadLeadingInteger(item.substr(openAt + 1, closeAt - openAt - 1));
    item.erase(openAt, closeAt - openAt + 1);
    return value;
}

std::string ThreeDigits(int number) {
    char text[16];
    std::snprintf(text, sizeof text, "%03d", number);
    return text;
}

// Appends text right-aligned in width columns (a longer text whole).
void AppendRightAligned(std::string& out, std::string_view text, std::size_t width) {
    if (text.size() < width)
        out.append(width - text.size(), ' ');
    out += text;
}

void AppendRightAligned(std::string& out, std::int64_t number, std::size_t width) {
    char digits[24];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
    AppendRightAligned(out, std::string_view(digits, static_cast<std::size_t>(end - digits)),
                       width);
}

// How a range position gets from its lower to its upper character by repeated successors.
enum class RangeStep { Reached, NeverReached, PastCode255 };

// The successor of "9" is "0" (digit positions wrap); any other character goes to the next code.
RangeStep StepsFromTo(unsigned char from, unsigned char to) {
    unsigned char c = from;
    for (int step = 0; step < 256; ++step) {
        if (c == 255)
            return RangeStep::PastCode255;
        c = c == '9' ? '0' : static_cast<unsigned char>(c + 1);
        if (c == to)
            return RangeStep::Reached;
    }
    return RangeStep::NeverReached;
}

char Successor(char c) {
    return c == '9' ? '0' : static_cast<char>(c + 1);
}

}  // namespace

std::string TrimListText(std::string_view text, ListTextTrim trim) {
    std::string result = WithoutTrailingBlanks(text);
    if (trim == ListTextTrim::Item && !result.empty() &&
        (result.back() == ':' || result.back() == ';')) {
        result.pop_back();
    }
    return result;
}

NextItem NextListItem(std::string_view line, int& cursor) {
    const int n = static_cast<int>(line.size());
    auto at = [&](int column) { return column >= 1 && column <= n ? line[column - 1] : '\0'; };
    auto restFrom = [&](int column) { return line.substr(std::min(column - 1, n)); };

    // Steps 1-2: skip the blanks before the item.
    while (at(cursor) == ' ' && cursor < n) ++cursor;

    // Step 3: an item that begins with a double quote loses it and its closing quote. Quotes
    // are only looked for at the start of the item, so a quoted item later in the line does
    // not disturb the items before it.
    std::string rest(restFrom(cursor));
    bool closingQuote = false;
    if (!rest.empty() && rest.front() == '"') {
        rest.erase(0, 1);
        ++cursor;
        const std::size_t quote = rest.find('"');
        if (quote != std::string::npos) {
            rest.erase(quote, 1);
            closingQuote = true;
        }
    }

    // Steps 4-6: the item runs to the next comma; an empty item takes the whole rest. It is
    // taken from the rest without its quotes, so a quoted item followed by ";", ":" or a zone
    // mark before its comma ("QC"(15)) keeps neither quote; the cursor passes both.
    const std::size_t comma = rest.find(',');
    std::size_t length = comma == std::string::npos ? 0 : comma;
    if (length == 0)
        length = rest.size();
    std::string item(std::string_view(rest).substr(0, length));
    if (closingQuote)
        ++cursor;
    cursor += static_cast<int>(item.size()) + 1;

    // Steps 7-9. The line ends once the cursor has passed its last character, so a
    // one-character item at the very end of the line is still read.
    while (cursor < n && at(cursor) == ' ') ++cursor;
    return {TrimListText(item, ListTextTrim::Item), cursor > n};
}

std::optional<std::pair<std::int32_t, std::int32_t>> FindCountryByName(const TListaDXCC& list,
                                                                       std::string_view name,
                                                                       ProgramValues& values) {
    for (int r = 1; r <= list.CountryCount; ++r) {
        const TypRecordu_CSV& record = list.CountryTable[r];
        if (record.CountryName == name) {
            return std::make_pair(ReadLeadingInteger(record.CountryNr),
                                  ReadLeadingInteger(record.CountryAdif));
        }
    }
    values.RunStatus = 2;
    return std::nullopt;
}

void LoadDxccList(TListaDXCC& list, const TNazwyJezykowe& texts, UserInterface& ui,
                  ProgramValues& values) {
    LoadDxccList(list, values.PathInStartDirectory(kDxccListFileName), values.StartDirectory, texts,
                 ui, values);
}

void LoadDxccList(TListaDXCC& list, const std::string& listPath, const std::string& reportDirectory,
                  const TNazwyJezykowe& texts, UserInterface& ui, ProgramValues& values) {
    DxccListLoader(list, texts, ui, values).Load(listPath, reportDirectory);
}

DxccListLoader::DxccListLoader(TListaDXCC& list, const TNazwyJezykowe& texts, UserInterface& ui,
                               ProgramValues& values)
    : m_list(list), m_texts(texts), m_ui(ui), m_values(values) {}

void DxccListLoader::Load(const std::string& listPath, const std::string& reportDirectory) {
    m_ui.SetCaption(m_texts.CapReadingDxccList);
    if (m_values.RunStatus == 1)
        return;
    m_ui.SetProgress(25);
    m_ui.ProcessEvents();

    m_ui.SetCaption(m_texts.CapReadingDxccFile);
    if (!std::filesystem::exists(listPath)) {
        m_ui.AppendMessage(m_texts.MsgFile + "  " +
                           std::filesystem::path(listPath).filename().string() + " " +
                           m_texts.MsgNotPresent);
        m_values.RunStatus = 1;
        return;
    }
    // Comments, empty lines and lines of blanks carry nothing for either pass.
    std::vector<NumberedLine> lines = ReadTextLines(listPath);
    std::erase_if(lines, [](const NumberedLine& line) {
        return IsBlankLine(line.Text) || IsCommentLine(line.Text);
    });

    m_list.CountryCount = m_list.ListLineCount = m_list.PrefixCount = m_list.DeletedCount = 0;
    m_list.Resolver = ResolverMemory{};
    try {
        readCountryTable(lines);
        m_ui.SetProgress(65);
        m_ui.SetProgress(100);
        m_ui.ProcessEvents();
        buildListTables(lines);
        if (m_list.PrefixCount > 0)
            sortPrefixTable(1, m_list.PrefixCount);
        appendCountMessages();
        writeListReport(reportDirectory);
    } catch (const LoadStopped&) {
        // A list cut short answers no lookup: an unsorted or partial table would give wrong
        // entities to a caller that went on despite the status.
        m_list.CountryCount = m_list.ListLineCount = m_list.PrefixCount = 0;
        m_values.RunStatus = 2;
    }
}

// First pass: one country record per header line, with the entity's prefix items (zone marks
// removed) gathered for the bookmark list.
void DxccListLoader::readCountryTable(const std::vector<NumberedLine>& lines) {
    int r = 0;
    int cursor = 1;
    bool recordFull = false;
    for (const NumberedLine& line : lines) {
        m_sourceLine = line.Number;
        if (IsHeaderLine(line.Text)) {
            if (r == kMaxCountries)
                refuseCapacity(m_texts.DxccTooManyCountries);
            ++r;
            // The first prefix line of an entity is scanned from column 2, except after a full
            // record, where the scan starts at column 1.
            cursor = recordFull ? 1 : 2;
            recordFull = false;
            TypRecordu_CSV& record = m_list.CountryTable[r];
            record = TypRecordu_CSV{};
            record.CountryName = ProcessedName(line.Text);
            record.CountryNr = ThreeDigits(r);
            record.CountryAdif = Columns(line.Text, 87, 3);
            continue;
        }
        if (r == 0) {
            reportDataError(m_texts.DxccPrefixBeforeHeader);
            continue;
        }
        if (recordFull)
            continue;

        const std::string items = WithoutTrailingBlanks(Columns(line.Text, 1, kPrefixColumns));
        std::string& prefixes = m_list.CountryTable[r].CountryPrefixes;
        NextItem next;
        do {
            next = NextListItem(items, cursor);
            TakeZoneMark(next.Item, '(', ')');
            TakeZoneMark(next.Item, '[', ']');
            prefixes += ' ' + next.Item;
            if (prefixes.size() >= kCountryPrefixesFull) {
                recordFull = true;
                break;
            }
        } while (!next.EndOfLine);
        if (next.EndOfLine)
            cursor = 1;
    }
    m_list.CountryCount = r;
}

// Second pass: list lines and prefix entries.
void DxccListLoader::buildListTables(const std::vector<NumberedLine>& lines) {
    for (int slot = 1; slot <= kContinentSlots; ++slot) {
        m_list.ContinentTable[slot] = slot <= 7 ? kContinentCodes[slot - 1] : "";
    }
    m_list.DeletedCount = 0;
    m_line = 0;
    m_list.PrefixCount = 0;
    for (const NumberedLine& line : lines) {
        m_sourceLine = line.Number;
        const std::string text = WithoutTrailingBlanks(line.Text);
        if (IsHeaderLine(line.Text)) {
            readHeaderLine(text);
        } else if (m_line > 0) {
            readPrefixLine(text);
        }
    }
    m_list.ListLineCount = m_line;
    m_list.ListLineTable[m_line + 1] = ListLine{};
}

void DxccListLoader::readHeaderLine(const std::string& line) {
    if (m_line == kMaxListLines)
        refuseCapacity(m_texts.DxccTooManyListLines);
    ++m_line;
    m_cursor = 1;
    ListLine& entry = m_list.ListLineTable[m_line];
    entry = ListLine{};
    entry.FirstLine = m_line;
    m_curFirst = m_line;
    entry.LineName = ProcessedName(line);
    if (entry.LineName.find("DELETED") != std::string::npos)
        ++m_list.DeletedCount;

    // Blank continent columns count as no code, which lookups report as continent 8.
    entry.Continent = IsBlankLine(Columns(line, 46, 2)) ? std::string() : Columns(line, 46, 2);
    bool knownContinent = entry.Continent.empty();
    for (int slot = 1; slot <= 7; ++slot) {
        if (m_list.ContinentTable[slot] == entry.Continent)
            knownContinent = true;
    }
    if (!knownContinent)
        reportDataError(m_texts.DxccBadContinent, entry.Continent);

    m_headerCq = ZoneByte(ReadLeadingInteger(Columns(line, 36, 2)));
    m_headerItu = ZoneByte(ReadLeadingInteger(Columns(line, 41, 2)));
    entry.CqZone = m_prevCq = m_headerCq;
    entry.ItuZone = m_prevItu = m_headerItu;

    // A name the first pass did not record keeps the numbers of the previous header.
    if (const auto numbers = FindCountryByName(m_list, entry.LineName, m_values)) {
        m_headerListNr = numbers->first;
        m_headerAdifNr = numbers->second;
    }
    entry.ListNr = m_headerListNr;
    entry.AdifNr = m_headerAdifNr;

    entry.ValidFrom = m_curFrom = Columns(line, kFromColumn, kDateTextSize);
    entry.ValidTo = m_curTo = Columns(line, kToColumn, kDateTextSize);
}

// line: as read, trailing blanks removed.
void DxccListLoader::readPrefixLine(std::string line) {
    NextItem next;
    do {
        // A date counts once the line reaches its first column. Only the line's first item
        // sees the dates, since the line is cut to its prefix columns below; later items take
        // the dates in force, which by then are this line's.
        const std::string itemFrom =
            line.size() >= kFromColumn ? Columns(line, kFromColumn, kDateTextSize) : m_curFrom;
        const std::string itemTo =
            line.size() >= kToColumn ? Columns(line, kToColumn, kDateTextSize) : m_curTo;
        line = WithoutTrailingBlanks(Columns(line, 1, kPrefixColumns));
        next = NextListItem(line, m_cursor);
        if (!next.Item.empty() && next.Item != " ")
            addPrefixItem(next.Item, itemFrom, itemTo);
    } while (!next.EndOfLine);
    m_cursor = 1;
}

void DxccListLoader::addPrefixItem(std::string item, const std::string& itemFrom,
                                   const std::string& itemTo) {
    // Zone marks (14) and [28] apply to this item only; 0 keeps the entity's zone.
    const std::uint8_t cqMark = ZoneByte(TakeZoneMark(item, '(', ')'));
    const std::uint8_t ituMark = ZoneByte(TakeZoneMark(item, '[', ']'));
    const std::uint8_t itemCq = cqMark != 0 ? cqMark : m_headerCq;
    const std::uint8_t itemItu = ituMark != 0 ? ituMark : m_headerItu;

    if (itemCq != m_prevCq || itemItu != m_prevItu || itemFrom != m_curFrom || itemTo != m_curTo) {
        openListLine(itemCq, itemItu, itemFrom, itemTo);
    }
    ExpandPrefixItem(item, m_line, kValidForever);

    std::string& prefixText = m_list.ListLineTable[m_line].PrefixText;
    if (prefixText.size() + 1 + item.size() > kPrefixTextSize) {
        openListLine(itemCq, itemItu, itemFrom, itemTo);
        m_list.ListLineTable[m_line].PrefixText = KeepFirst(item, kPrefixTextSize);
    } else if (prefixText.empty()) {
        prefixText = item;
    } else {
        prefixText += "," + item;
    }
    m_prevCq = itemCq;
    m_prevItu = itemItu;
}

void DxccListLoader::openListLine(std::uint8_t cq, std::uint8_t itu, const std::string& from,
                                  const std::string& to) {
    if (m_line == kMaxListLines)
        refuseCapacity(m_texts.DxccTooManyListLines);
    ++m_line;
    const ListLine& previous = m_list.ListLineTable[m_line - 1];
    ListLine& entry = m_list.ListLineTable[m_line];
    entry = ListLine{};
    entry.FirstLine = m_curFirst;
    entry.LineName = previous.LineName;
    entry.Continent = previous.Continent;
    entry.AdifNr = previous.AdifNr;
    entry.ListNr = previous.ListNr;
    entry.CqZone = cq;
    entry.ItuZone = itu;
    entry.ValidFrom = KeepFirst(from, kDateTextSize);
    entry.ValidTo = KeepFirst(to, kDateTextSize);
    m_curFrom = from;
    m_curTo = to;
}

void DxccListLoader::ExpandPrefixItem(std::string_view itemText, std::int32_t listLine,
                                      double validUntil) {
    // Parts are separated by commas, and within those by blanks. Two separators in a row leave
    // an empty part between them, which is the comma error; a blank at the end of a text ends
    // it quietly.
    std::string text = WithoutTrailingBlanks(itemText);
    while (!text.empty() && text != " ") {
        const std::size_t comma = text.find(',');
        std::string blankSeparated = text.substr(0, comma);
        text = comma == std::string::npos ? std::string() : text.substr(comma + 1);
        do {
            const std::size_t blank = blankSeparated.find(' ');
            expandPart(blankSeparated.substr(0, blank), listLine, validUntil);
            blankSeparated =
                blank == std::string::npos ? std::string() : blankSeparated.substr(blank + 1);
        } while (!blankSeparated.empty() && blankSeparated != " ");
    }
}

// One prefix, or a range lo..hi of prefixes of equal length: the rightmost position varies
// fastest and digit positions wrap from 9 to 0, so A0..B9 gives A0-A9 then B0-B9 and ZS8..ZS1
// gives ZS8, ZS9, ZS0, ZS1.
void DxccListLoader::expandPart(const std::string& part, std::int32_t listLine, double validUntil) {
    const std::size_t dot = part.find('.');
    std::string lo = part.substr(0, dot);
    const std::string hi = dot == std::string::npos ? lo
                           : dot + 2 <= part.size() ? part.substr(dot + 2)
                                                    : std::string();
    if (lo.empty())
        reportCommaError(listLine);
    storePrefix(lo, listLine, validUntil);
    if (lo == hi)
        return;

    // Check the whole range before expanding it, so the expansion always ends.
    if (lo.size() != hi.size()) {
        reportDataError(m_texts.DxccRangeLengthDiffers, part);
        return;
    }
    for (std::size_t i = 0; i < lo.size(); ++i) {
        if (lo[i] == hi[i])
            continue;
        const RangeStep step = StepsFromTo(lo[i], hi[i]);
        if (step == RangeStep::NeverReached) {
            reportDataError(m_texts.DxccRangeNeverReached, part);
            return;
        }
        if (step == RangeStep::PastCode255) {
            reportDataError(m_texts.DxccRangePastCode255, part);
            return;
        }
    }

    const std::string lower = lo;
    const std::size_t last = lo.size() - 1;
    while (lo != hi) {
        if (lo[last] != hi[last]) {
            lo[last] = Successor(lo[last]);
        } else {
            std::size_t position = last;
            while (lo[position] == hi[position]) --position;
            lo[position] = Successor(lo[position]);
            lo.replace(position + 1, std::string::npos, lower.substr(position + 1));
        }
        storePrefix(lo, listLine, validUntil);
    }
}

void DxccListLoader::storePrefix(const std::string& prefix, std::int32_t listLine,
                                 double validUntil) {
    if (m_list.PrefixCount == kMaxPrefixEntries)
        refuseCapacity(m_texts.DxccTooManyPrefixes);
    ++m_list.PrefixCount;
    m_list.PrefixTable[m_list.PrefixCount] = PrefixEntry{prefix, listLine, validUntil};
}

// Partition sort by prefix text (byte order, a text before its own extensions).
void DxccListLoader::sortPrefixTable(int first, int last) {
    TabUpo& table = m_list.PrefixTable;
    const std::string pivot = table[(first + last) / 2].PrefixText;
    int i = first;
    int j = last;
    do {
        while (table[i].PrefixText < pivot) ++i;
        while (table[j].PrefixText > pivot) --j;
        if (i <= j) {
            std::swap(table[i], table[j]);
            ++i;
            --j;
        }
    } while (i <= j);
    if (first < j)
        sortPrefixTable(first, j);
    if (i < last)
        sortPrefixTable(i, last);
}

void DxccListLoader::appendCountMessages() {
    const TNazwyJezykowe& t = m_texts;
    const TListaDXCC& list = m_list;
    m_ui.AppendMessage(t.MsgLinesUsedSoFar + std::to_string(list.ListLineCount) + " " + t.MsgLines);
    m_ui.AppendMessage(t.MsgLinesAllowed + std::to_string(kListLineSlots) + t.MsgLines);
    m_ui.AppendMessage(t.MsgCountriesOfficial +
                       std::to_string(list.CountryCount - list.DeletedCount));
    m_ui.AppendMessage(t.MsgCountriesInFile + std::to_string(list.CountryCount));
    m_ui.AppendMessage(t.MsgCountriesDeleted + std::to_string(list.DeletedCount));
    m_ui.AppendMessage(t.CapWritingListUpo);
}

// LISTA.UPO: the sorted prefix table with each entry's list line, for checking a list by eye.
void DxccListLoader::writeListReport(const std::string& reportDirectory) const {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(m_list.PrefixCount) + 2);
    lines.emplace_back();
    lines.emplace_back(
        "Nr. NrLinWLisDxc NrPozKraWLisDx Prefix Nazwa Kraju Nr_DXCC Nr_ADIF CQZon  ITUZon Kont "
        "Data Zalicz OD  DataZalicz DO");
    for (int q = 1; q <= m_list.PrefixCount; ++q) {
        const PrefixEntry& entry = m_list.PrefixTable[q];
        const ListLine& line = m_list.ListLineTable[entry.ListLine];
        // One row appended piece by piece: the list has thousands of entries, and building each
        // row from two dozen temporary texts was half the time of loading the list.
        std::string row;
        row.reserve(128);
        AppendRightAligned(row, q, 4);
        row += ' ';
        AppendRightAligned(row, entry.ListLine, 4);
        row += ' ';
        AppendRightAligned(row, line.FirstLine, 4);
        row += ' ';
        AppendRightAligned(row, entry.PrefixText, 13);
        row += "  ";
        AppendRightAligned(row, line.LineName, 38);
        row += ' ';
        AppendRightAligned(row, line.ListNr, 3);
        row += ' ';
        AppendRightAligned(row, line.AdifNr, 3);
        row += ' ';
        AppendRightAligned(row, line.CqZone, 2);
        row += ' ';
        AppendRightAligned(row, line.ItuZone, 2);
        row += ' ';
        AppendRightAligned(row, line.Continent, 2);
        row += ' ';
        AppendRightAligned(row, line.ValidFrom, 10);
        row += ' ';
        AppendRightAligned(row, line.ValidTo, 10);
        lines.push_back(std::move(row));
    }
    WriteCrLfLines(reportDirectory + "/" + kListReportFileName, lines);
}

// A part of a prefix item is empty: reported on standard error and in the message list; the
// empty entry is stored all the same and loading goes on.
void DxccListLoader::reportCommaError(std::int32_t listLine) {
    const std::string first = m_texts.MsgCommaError + m_list.ListLineTable[listLine].PrefixText +
                              m_texts.MsgForNumber + std::to_string(listLine) +
                              m_texts.MsgInLastButOneField;
    std::cerr << first << '\n' << m_texts.MsgPressAnyKey << '\n';
    m_ui.AppendMessage(first);
    m_ui.AppendMessage(m_texts.MsgPressAnyKey);
}

void DxccListLoader::reportDataError(const std::string& text, const std::string& item) {
    std::string message = text + std::to_string(m_sourceLine);
    if (!item.empty())
        message += m_texts.DxccInItem + item;
    m_ui.AppendMessage(message);
    m_values.RunStatus = 2;
}

void DxccListLoader::refuseCapacity(const std::string& text) {
    m_ui.AppendMessage(text + std::to_string(m_sourceLine));
    throw LoadStopped{};
}

}  // namespace velmark
