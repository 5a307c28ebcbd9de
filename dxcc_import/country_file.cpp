#include "dxcc_import/country_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <string_view>

#include "core/errors.h"

namespace velmark::dxcc_import {
namespace {

constexpr std::array<std::string_view, 7> kContinents = {"EU", "AF", "AS", "OC", "NA", "SA", "AN"};
// Fields after the name: number, continent, CQ, ITU, latitude, longitude, offset, items.
constexpr std::size_t kFieldsAfterName = 8;

[[noreturn]] void fail(int lineNumber, const std::string& what) {
    throw CountryFileError("cty.csv line " + std::to_string(lineNumber) + ": " + what);
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma - start));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
    }
}

int readNumber(std::string_view text, int low, int high, const char* what, int lineNumber) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        fail(lineNumber, std::string(what) + " \"" + std::string(text) + "\" is not a number in " +
                             std::to_string(low) + ".." + std::to_string(high));
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
    if (bare.empty() || !std::all_of(bare.begin(), bare.end(), isCallsignCharacter)) {
        fail(lineNumber, "prefix item \"" + std::string(item) + "\" is not a callsign or prefix");
    }
    // Invariant: pos is at an override's opening character or past the end of the item.
    while (pos < item.size()) {
        const char open = item[pos];
        const std::size_t end = item.find(kOverrideClosers[kOverrideOpeners.find(open)], pos + 1);
        if (end == std::string_view::npos) {
            fail(lineNumber, "unclosed override in prefix item \"" + std::string(item) + "\"");
        }
        const std::string_view value = item.substr(pos + 1, end - pos - 1);
        if (open == '(')
            result.cqZone = readNumber(value, 1, 40, "CQ zone", lineNumber);
        if (open == '[')
            result.ituZone = readNumber(value, 1, 90, "ITU zone", lineNumber);
        // Position, continent and UTC offset overrides have no place in the list.
        pos = end + 1;
        if (pos < item.size() && kOverrideOpeners.find(item[pos]) == std::string_view::npos) {
            fail(lineNumber, "text after an override in prefix item \"" + std::string(item) + "\"");
        }
    }
    return result;
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    return text;
}

CountryFileEntity parseLine(std::string_view line, int lineNumber) {
    const std::vector<std::string_view> fields = splitFields(line);
    if (fields.size() < kFieldsAfterName + 2) {
        fail(lineNumber,
             "expected 10 comma-separated fields, found " + std::to_string(fields.size()));
    }
    CountryFileEntity entity;
    entity.lineNumber = lineNumber;
    std::string_view prefix = fields[0];
    if (!prefix.empty() && prefix.front() == '*') {
        entity.isDxccEntity = false;
        prefix.remove_prefix(1);
    }
    entity.primaryPrefix = std::string(prefix);
    // A name holding commas spreads over several fields; the fields after it are fixed.
    const std::size_t firstAfterName = fields.size() - kFieldsAfterName;
    for (std::size_t i = 1; i < firstAfterName; ++i) {
        if (i > 1)
            entity.name += ',';
        entity.name += fields[i];
    }
    if (entity.primaryPrefix.empty() || entity.name.empty()) {
        fail(lineNumber, "empty prefix or entity name");
    }
    entity.adifNr = readNumber(fields[firstAfterName], 1, 999, "entity number", lineNumber);
    entity.continent = std::string(fields[firstAfterName + 1]);
    if (std::find(kContinents.begin(), kContinents.end(), entity.continent) == kContinents.end()) {
        fail(lineNumber, "unknown continent \"" + entity.continent + "\"");
    }
    entity.cqZone = readNumber(fields[firstAfterName + 2], 1, 40, "CQ zone", lineNumber);
    entity.ituZone = readNumber(fields[firstAfterName + 3], 1, 90, "ITU zone", lineNumber);

    std::string_view items = trimBlanks(fields.back());
    if (items.empty() || items.back() != ';')
        fail(lineNumber, "prefix list does not end with ;");
    items.remove_suffix(1);
    std::size_t start = 0;
    while (start < items.size()) {
        const std::size_t blank = items.find(' ', start);
        const std::string_view item = items.substr(start, blank - start);
        if (!item.empty())
            entity.items.push_back(parseItem(item, entity, lineNumber));
        if (blank == std::string_view::npos)
            break;
        start = blank + 1;
    }
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

}  // namespace

CountryFile ParseCountryFile(std::istream& in) {
    CountryFile file;
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (trimBlanks(line).empty())
            continue;
        file.entities.push_back(parseLine(line, lineNumber));
        if (file.version.empty())
            file.version = versionStamp(file.entities.back());
    }
    if (file.entities.empty())
        throw CountryFileError("cty.csv holds no entity");
    return file;
}

CountryFile ReadCountryFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw FileError::FromErrno(path);
    CountryFile file = ParseCountryFile(in);
    if (in.bad())
        throw FileError::FromErrno(path);
    return file;
}

}  // namespace velmark::dxcc_import
