#include "dxcc_import/list_layout.h"

#include <algorithm>
#include <set>
#include <utility>

#include "core/ascii_case.h"
#include "core/bounded_text.h"

namespace velmark::dxcc_import {
namespace {

constexpr const char* kPrefixLineIndent = "  ";

void placeRight(std::string& line, std::size_t lastColumn, const std::string& value) {
    const std::size_t first = lastColumn - value.size();  // 0-based index of the first character
    if (line.size() < lastColumn)
        line.resize(lastColumn, ' ');
    line.replace(first, value.size(), value);
}

void placeLeft(std::string& line, std::size_t firstColumn, const std::string& value) {
    if (line.size() < firstColumn - 1 + value.size())
        line.resize(firstColumn - 1 + value.size(), ' ');
    line.replace(firstColumn - 1, value.size(), value);
}

}  // namespace

std::string ListName(const ListEntity& entity) {
    std::string name = UpperAscii(KeepFirst(entity.name, kNameWidth));
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name;
}

std::string HeaderLine(const ListEntity& entity) {
    std::string line = ListName(entity);
    placeRight(line, 37, std::to_string(entity.cqZone));
    placeRight(line, 42, std::to_string(entity.ituZone));
    placeLeft(line, 46, entity.continent);
    placeRight(line, 89, std::to_string(entity.adifNr));
    return line;
}

std::string ItemText(const CountryFileItem& item, const ListEntity& entity) {
    std::string text = item.text;
    if (item.cqZone != entity.cqZone)
        text += "(" + std::to_string(item.cqZone) + ")";
    if (item.ituZone != entity.ituZone)
        text += "[" + std::to_string(item.ituZone) + "]";
    return text;
}

std::vector<CountryFileItem> OrderByZones(const ListEntity& entity,
                                          const std::vector<CountryFileItem>& items) {
    std::vector<std::pair<int, int>> zonePairs{{entity.cqZone, entity.ituZone}};
    for (const CountryFileItem& item : items) {
        const std::pair<int, int> zones{item.cqZone, item.ituZone};
        if (std::find(zonePairs.begin(), zonePairs.end(), zones) == zonePairs.end()) {
            zonePairs.push_back(zones);
        }
    }
    std::vector<CountryFileItem> ordered;
    ordered.reserve(items.size());
    for (const auto& zones : zonePairs) {
        for (const CountryFileItem& item : items) {
            if (item.cqZone == zones.first && item.ituZone == zones.second)
                ordered.push_back(item);
        }
    }
    return ordered;
}

std::vector<std::string> PrefixLines(const std::vector<std::string>& itemTexts) {
    std::vector<std::string> lines;
    std::string line;
    for (const std::string& text : itemTexts) {
        if (!line.empty() && line.size() + 1 + text.size() > kPrefixLineWidth) {
            lines.push_back(std::move(line));
            line.clear();
        }
        line += line.empty() ? kPrefixLineIndent + text : "," + text;
    }
    if (!line.empty())
        lines.push_back(std::move(line));
    return lines;
}

int CountListLines(const ListEntity& entity, const std::vector<CountryFileItem>& orderedItems) {
    // The loader's rule: the header opens a line; an item opens one when its zones differ from
    // the previous item's, and again when the line's prefix text would pass 40 characters.
    int lines = 1;
    std::size_t textLength = 0;
    std::pair<int, int> previous{entity.cqZone, entity.ituZone};
    for (const CountryFileItem& item : orderedItems) {
        const std::pair<int, int> zones{item.cqZone, item.ituZone};
        if (zones != previous) {
            ++lines;
            textLength = 0;
        }
        if (textLength + 1 + item.text.size() > kPrefixTextSize) {
            ++lines;
            textLength = item.text.size();
        } else {
            textLength += (textLength == 0 ? 0 : 1) + item.text.size();
        }
        previous = zones;
    }
    return lines;
}

std::vector<WrittenItem> JoinGuardRanges(const std::vector<CountryFileItem>& items,
                                         const std::vector<bool>& isGuard) {
    // b follows a in a range: same length, same zones, equal but for a last character that
    // counts up by one within the letters or within the digits (the loader's successor of 9
    // is 0, so a range never crosses from digits to letters).
    const auto follows = [](const CountryFileItem& a, const CountryFileItem& b) {
        if (a.text.size() != b.text.size() || a.text.size() < 2 || a.cqZone != b.cqZone ||
            a.ituZone != b.ituZone) {
            return false;
        }
        const std::size_t last = a.text.size() - 1;
        const char x = a.text[last];
        const char y = b.text[last];
        const auto letter = [](char c) { return c >= 'A' && c <= 'Z'; };
        const auto digit = [](char c) { return c >= '0' && c <= '9'; };
        const bool letters = letter(x) && letter(y);
        const bool digits = digit(x) && digit(y);
        return a.text.compare(0, last, b.text, 0, last) == 0 && y == x + 1 && (letters || digits);
    };
    constexpr std::size_t kShortestRange = 3;
    std::vector<WrittenItem> written;
    for (std::size_t i = 0; i < items.size();) {
        std::size_t end = i + 1;
        if (isGuard[i]) {
            while (end < items.size() && isGuard[end] && follows(items[end - 1], items[end])) ++end;
        }
        if (end - i >= kShortestRange) {
            CountryFileItem range = items[i];
            range.text += ".." + items[end - 1].text;
            written.push_back({std::move(range), static_cast<int>(end - i)});
        } else {
            for (std::size_t k = i; k < end; ++k) written.push_back({items[k], 1});
        }
        i = end;
    }
    return written;
}

ListLayout LayOutList(const std::vector<ListEntity>& entities,
                      const std::function<bool(const std::string&)>& keepExactCall,
                      const std::vector<WrittenEntry>& guards) {
    ListLayout layout;
    std::set<std::string> names;
    for (const ListEntity& entity : entities) {
        const std::string name = ListName(entity);
        // The loader tells header lines by a non-blank second character and finds an entity's
        // numbers by its name, so names must be long enough and unique.
        if (name.size() < 2 || name[1] == ' ' || name[0] == '{') {
            throw CountryFileError(CountryFileProblem::NameCannotOpenHeader, 0, entity.name);
        }
        if (!names.insert(name).second) {
            throw CountryFileError(CountryFileProblem::DuplicateName, 0, name);
        }
        std::vector<CountryFileItem> kept;
        std::set<std::string> guardTexts;
        for (const CountryFileItem& item : entity.items) {
            if (!item.isExactCall() || keepExactCall(item.text))
                kept.push_back(item);
        }
        for (const WrittenEntry& guard : guards) {
            if (guard.answer.adifNr == entity.adifNr) {
                kept.push_back({guard.text, guard.answer.cqZone, guard.answer.ituZone});
                guardTexts.insert(guard.text);
            }
        }
        const std::vector<CountryFileItem> ordered = OrderByZones(entity, kept);
        std::vector<bool> isGuard;
        for (const CountryFileItem& item : ordered) isGuard.push_back(guardTexts.count(item.text));
        const std::vector<WrittenItem> written = JoinGuardRanges(ordered, isGuard);

        std::vector<CountryFileItem> writtenItems;
        std::vector<std::string> texts;
        for (const WrittenItem& w : written) {
            writtenItems.push_back(w.item);
            texts.push_back(ItemText(w.item, entity));
            layout.prefixEntryCount += w.entryCount;
        }
        layout.lines.push_back(HeaderLine(entity));
        for (std::string& line : PrefixLines(texts)) layout.lines.push_back(std::move(line));
        ++layout.entityCount;
        layout.listLineCount += CountListLines(entity, writtenItems);
    }
    return layout;
}

std::string ListFileText(const ListLayout& layout, const std::string& comment) {
    std::string text;
    if (!comment.empty())
        text += "{" + comment + "\r\n";
    for (const std::string& line : layout.lines) text += line + "\r\n";
    return text;
}

}  // namespace velmark::dxcc_import
