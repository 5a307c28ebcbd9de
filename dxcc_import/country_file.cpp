#include "dxcc_import/country_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <iterator>
#include <sstream>
#include <string_view>

#include "core/errors.h"
#include "core/whole_file.h"
#include "dxcc_import/entity_numbers.h"
#include "settings/text_table.h"

namespace velmark::dxcc_import {
namespace {

constexpr std::array<std::string_view, 7> kContinents = {"EU", "AF", "AS", "OC", "NA", "SA", "AN"};
// cty.csv: fields after the name: number, continent, CQ, ITU, latitude, longitude, offset, items.
constexpr std::size_t kCsvFieldsAfterName = 8;
// cty.dat: name, CQ, ITU, continent, latitude, longitude, offset, primary prefix, each ended
// by ":".
constexpr std::size_t kDatEntityFields = 8;

[[noreturn]] void fail(CountryFileProblem problem, int lineNumber, std::string_view detail = {}) {
    throw CountryFileError(problem, lineNumber, std::string(detail));
}

std::vector<std::string_view> split(std::string_view line, char separator) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = line.find(separator, start);
        fields.push_back(line.substr(start, end - start));
        if (end == std::string_view::npos)
            return fields;
        start = end + 1;
    }
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    return text;
}

int readNumber(std::string_view text, int low, int high, CountryFileProblem problem,
               int lineNumber) {
    text = trimBlanks(text);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low ||
        value > high) {
        fail(problem, lineNumber, text);
    }
    return value;
}

bool isCallsignCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/';
}

// The characters that open an override, and the one that closes each.
constexpr std::string_view kOverrideOpeners = "([<{~";
constexpr std::string_view kOverrideClosers = ")]>}~";

// Reads one item such as "=RA3CQ/9/M(17)[20]"; the entity's zones apply unless overridden.
CountryFileItem parseItem(std::string_view item, const CountryFileEntity& entity, int lineNumber) {
    std::size_t pos = item.find_first_of(kOverrideOpeners);
    CountryFileItem result{std::string(item.substr(0, pos)), entity.cqZone, entity.ituZone};
    const std::string bare = result.bare();
    // The list gives "." "*" "?" "," and blanks meanings of its own, so only callsign
    // characters may pass through.
    if (bare.empty() || !std::all_of(bare.begin(), bare.end(), isCallsignCharacter))
        fail(CountryFileProblem::BadItem, lineNumber, item);
    // Invariant: pos is at an override's opening character or past the end of the item.
    while (pos < item.size()) {
        const char open = item[pos];
        const std::size_t end = item.find(kOverrideClosers[kOverrideOpeners.find(open)], pos + 1);
        if (end == std::string_view::npos)
            fail(CountryFileProblem::UnclosedOverride, lineNumber, item);
        const std::string_view value = item.substr(pos + 1, end - pos - 1);
        if (open == '(')
            result.cqZone = readNumber(value, 1, 40, CountryFileProblem::CqZone, lineNumber);
        if (open == '[')
            result.ituZone = readNumber(value, 1, 90, CountryFileProblem::ItuZone, lineNumber);
        // Position, continent and UTC offset overrides have no place in the list.
        pos = end + 1;
        if (pos < item.size() && kOverrideOpeners.find(item[pos]) == std::string_view::npos)
            fail(CountryFileProblem::TextAfterOverride, lineNumber, item);
    }
    return result;
}

// Adds the items of a text separated by `separator` (blanks in cty.csv, commas in cty.dat).
void addItems(std::string_view items, char separator, CountryFileEntity& entity, int lineNumber) {
    for (const std::string_view part : split(items, separator)) {
        const std::string_view item = trimBlanks(part);
        if (!item.empty())
            entity.items.push_back(parseItem(item, entity, lineNumber));
    }
}

void checkContinent(const CountryFileEntity& entity, int lineNumber) {
    if (std::find(kContinents.begin(), kContinents.end(), entity.continent) == kContinents.end())
        fail(CountryFileProblem::UnknownContinent, lineNumber, entity.continent);
}

// A primary prefix with a leading "*" marks a part that is not a DXCC entity of its own.
void takePrimaryPrefix(std::string_view prefix, CountryFileEntity& entity) {
    if (!prefix.empty() && prefix.front() == '*') {
        entity.isDxccEntity = false;
        prefix.remove_prefix(1);
    }
    entity.primaryPrefix = std::string(prefix);
}

CountryFileEntity parseCsvLine(std::string_view line, int lineNumber) {
    const std::vector<std::string_view> fields = split(line, ',');
    if (fields.size() < kCsvFieldsAfterName + 2)
        fail(CountryFileProblem::FieldCount, lineNumber);
    CountryFileEntity entity;
    entity.lineNumber = lineNumber;
    takePrimaryPrefix(fields[0], entity);
    // A name holding commas spreads over several fields; the fields after it are fixed.
    const std::size_t firstAfterName = fields.size() - kCsvFieldsAfterName;
    for (std::size_t i = 1; i < firstAfterName; ++i) {
        if (i > 1)
            entity.name += ',';
        entity.name += fields[i];
    }
    if (entity.primaryPrefix.empty() || entity.name.empty())
        fail(CountryFileProblem::EmptyPrefixOrName, lineNumber);
    entity.adifNr =
        readNumber(fields[firstAfterName], 1, 999, CountryFileProblem::EntityNumber, lineNumber);
    entity.continent = std::string(fields[firstAfterName + 1]);
    checkContinent(entity, lineNumber);
    entity.cqZone =
        readNumber(fields[firstAfterName + 2], 1, 40, CountryFileProblem::CqZone, lineNumber);
    entity.ituZone =
        readNumber(fields[firstAfterName + 3], 1, 90, CountryFileProblem::ItuZone, lineNumber);

    std::string_view items = trimBlanks(fields.back());
    if (items.empty() || items.back() != ';')
        fail(CountryFileProblem::NoClosingSemicolon, lineNumber);
    items.remove_suffix(1);
    addItems(items, ' ', entity, lineNumber);
    return entity;
}

// "Sov Mil Order of Malta:   15:  28:  EU:   41.90:   -12.43:    -1.0:  1A:"
CountryFileEntity parseDatEntityLine(std::string_view line, int lineNumber) {
    std::vector<std::string_view> fields = split(line, ':');
    // The last field ends with ":" too, which leaves an empty text after it.
    if (fields.size() < kDatEntityFields + 1 || !trimBlanks(fields[kDatEntityFields]).empty())
        fail(CountryFileProblem::FieldCount, lineNumber);
    CountryFileEntity entity;
    entity.lineNumber = lineNumber;
    entity.name = std::string(trimBlanks(fields[0]));
    const std::string_view primaryPrefix = trimBlanks(fields[7]);
    takePrimaryPrefix(primaryPrefix, entity);
    if (entity.primaryPrefix.empty() || entity.name.empty())
        fail(CountryFileProblem::EmptyPrefixOrName, lineNumber);
    entity.cqZone = readNumber(fields[1], 1, 40, CountryFileProblem::CqZone, lineNumber);
    entity.ituZone = readNumber(fields[2], 1, 90, CountryFileProblem::ItuZone, lineNumber);
    entity.continent = std::string(trimBlanks(fields[3]));
    checkContinent(entity, lineNumber);
    const std::optional<int> number = EntityNumberOfPrimaryPrefix(primaryPrefix);
    if (!number)
        fail(CountryFileProblem::UnknownPrimaryPrefix, lineNumber, primaryPrefix);
    entity.adifNr = *number;
    return entity;
}

// The country file stamps its release as a pseudo exact call "=VERyyyymmdd".
std::string versionStamp(const CountryFileEntity& entity) {
    for (const CountryFileItem& item : entity.items) {
        const std::string& text = item.text;
        if (text.size() == 12 && text.rfind("=VER", 0) == 0 &&
            std::all_of(text.begin() + 4, text.end(),
                        [](char c) { return c >= '0' && c <= '9'; })) {
            return text.substr(4);
        }
    }
    return {};
}

struct NumberedLine {
    std::string text;
    int number = 0;
};

// The file's lines without line ends (CR LF, LF or CR alone) and without lines of blanks only.
std::vector<NumberedLine> readLines(std::istream& in) {
    std::vector<NumberedLine> lines;
    std::string line;
    int number = 0;
    const auto endLine = [&] {
        ++number;
        if (!trimBlanks(line).empty())
            lines.push_back({line, number});
        line.clear();
    };
    bool afterCr = false;
    for (std::istreambuf_iterator<char> it(in), end; it != end; ++it) {
        const char c = *it;
        if (c == '\n' && afterCr) {
            afterCr = false;
            continue;
        }
        afterCr = c == '\r';
        if (c == '\r' || c == '\n')
            endLine();
        else
            line += c;
    }
    if (!line.empty())
        endLine();
    return lines;
}

bool isIndented(const std::string& line) {
    return !line.empty() && (line.front() == ' ' || line.front() == '\t');
}

// cty.dat entity lines are fields ended by ":"; cty.csv has no ":" at all. The first line that
// is not indented tells.
bool isDatLayout(const std::vector<NumberedLine>& lines) {
    const auto first = std::find_if(lines.begin(), lines.end(), [](const NumberedLine& line) {
        return !isIndented(line.text);
    });
    return first != lines.end() && std::count(first->text.begin(), first->text.end(), ':') >=
                                       static_cast<long>(kDatEntityFields);
}

std::vector<CountryFileEntity> parseCsv(const std::vector<NumberedLine>& lines) {
    std::vector<CountryFileEntity> entities;
    for (const NumberedLine& line : lines) entities.push_back(parseCsvLine(line.text, line.number));
    return entities;
}

// An entity line starts in column 1; its prefix lines are indented and the last one ends with
// ";".
std::vector<CountryFileEntity> parseDat(const std::vector<NumberedLine>& lines) {
    std::vector<CountryFileEntity> entities;
    bool open = false;  // the current entity's items are not closed yet
    int lastLine = 0;
    for (const NumberedLine& line : lines) {
        lastLine = line.number;
        if (!isIndented(line.text)) {
            if (open)
                fail(CountryFileProblem::NoClosingSemicolon, entities.back().lineNumber);
            entities.push_back(parseDatEntityLine(line.text, line.number));
            open = true;
            continue;
        }
        if (!open) {
            fail(entities.empty() ? CountryFileProblem::PrefixLineFirst
                                  : CountryFileProblem::NoClosingSemicolon,
                 line.number, trimBlanks(line.text));
        }
        std::string_view items = trimBlanks(line.text);
        if (items.back() == ';') {
            items.remove_suffix(1);
            open = false;
        }
        addItems(items, ',', entities.back(), line.number);
    }
    if (open)
        fail(CountryFileProblem::NoClosingSemicolon, lastLine);
    return entities;
}

std::string describeForDevelopers(CountryFileProblem problem, int lineNumber,
                                  const std::string& detail) {
    std::string text = "country file problem " + std::to_string(static_cast<int>(problem));
    if (lineNumber > 0)
        text += " in line " + std::to_string(lineNumber);
    if (!detail.empty())
        text += ": " + detail;
    return text;
}

}  // namespace

CountryFileError::CountryFileError(CountryFileProblem problem, int lineNumber, std::string detail)
    : std::runtime_error(describeForDevelopers(problem, lineNumber, detail)),
      m_problem(problem),
      m_lineNumber(lineNumber),
      m_detail(std::move(detail)) {}

std::string DescribeCountryFileError(const CountryFileError& error, const TNazwyJezykowe& texts) {
    const std::string* what = nullptr;
    switch (error.problem()) {
        case CountryFileProblem::FieldCount:
            what = &texts.ImpFieldCount;
            break;
        case CountryFileProblem::EmptyPrefixOrName:
            what = &texts.ImpEmptyPrefixOrName;
            break;
        case CountryFileProblem::EntityNumber:
            what = &texts.ImpEntityNumber;
            break;
        case CountryFileProblem::UnknownContinent:
            what = &texts.ImpUnknownContinent;
            break;
        case CountryFileProblem::CqZone:
            what = &texts.ImpCqZone;
            break;
        case CountryFileProblem::ItuZone:
            what = &texts.ImpItuZone;
            break;
        case CountryFileProblem::NoClosingSemicolon:
            what = &texts.ImpNoClosingSemicolon;
            break;
        case CountryFileProblem::BadItem:
            what = &texts.ImpBadItem;
            break;
        case CountryFileProblem::UnclosedOverride:
            what = &texts.ImpUnclosedOverride;
            break;
        case CountryFileProblem::TextAfterOverride:
            what = &texts.ImpTextAfterOverride;
            break;
        case CountryFileProblem::UnknownPrimaryPrefix:
            what = &texts.ImpUnknownPrimaryPrefix;
            break;
        case CountryFileProblem::PrefixLineFirst:
            what = &texts.ImpPrefixLineFirst;
            break;
        case CountryFileProblem::NoEntity:
            what = &texts.ImpNoEntity;
            break;
        case CountryFileProblem::SecondEntityNumber:
            what = &texts.ImpSecondEntityNumber;
            break;
        case CountryFileProblem::PartWithoutEntity:
            what = &texts.ImpPartWithoutEntity;
            break;
        case CountryFileProblem::ItemOfTwoEntities:
            what = &texts.ImpItemOfTwoEntities;
            break;
        case CountryFileProblem::NameCannotOpenHeader:
            what = &texts.ImpNameCannotOpenHeader;
            break;
        case CountryFileProblem::DuplicateName:
            what = &texts.ImpDuplicateName;
            break;
        case CountryFileProblem::TooManyEntities:
            what = &texts.ImpTooManyEntities;
            break;
        case CountryFileProblem::TooManyPrefixes:
            what = &texts.ImpTooManyPrefixes;
            break;
        case CountryFileProblem::TooManyListLines:
            what = &texts.ImpTooManyListLines;
            break;
        case CountryFileProblem::LoaderRefused:
            what = &texts.ImpLoaderRefused;
            break;
    }
    std::string message;
    if (error.lineNumber() > 0)
        message = texts.ImpLineNr + std::to_string(error.lineNumber()) + ": ";
    message += *what;
    if (!error.detail().empty())
        message += error.detail();
    return message;
}

CountryFile ParseCountryFile(std::istream& in) {
    const std::vector<NumberedLine> lines = readLines(in);
    CountryFile file;
    file.layout = isDatLayout(lines) ? CountryFileLayout::Dat : CountryFileLayout::Csv;
    file.entities = file.layout == CountryFileLayout::Dat ? parseDat(lines) : parseCsv(lines);
    if (file.entities.empty())
        fail(CountryFileProblem::NoEntity, 0);
    for (const CountryFileEntity& entity : file.entities) {
        file.version = versionStamp(entity);
        if (!file.version.empty())
            break;
    }
    return file;
}

CountryFile ReadCountryFile(const std::string& path) {
    std::istringstream in(ReadWholeFile(path));
    return ParseCountryFile(in);
}

}  // namespace velmark::dxcc_import
