#include "labels/label_sheet.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/decimal_text.h"
#include "core/ascii_case.h"
#include "settings/text_table.h"

namespace velmark {
namespace {

namespace fs = std::filesystem;

// Sheets made for inch paper add up to their page only within a rounding of their mm values.
constexpr double kPageTolerance = 0.1;
constexpr int kMaxColumnsOrRows = 50;
constexpr double kMaxLength = 1000.0;
constexpr double kMinPageSide = 10.0;

// Page sizes a sheet may name instead of its width and height.
struct NamedPage {
    std::string_view Name;
    double Width;
    double Height;
};
constexpr std::array<NamedPage, 5> kNamedPages{{{"A4", 210.0, 297.0},
                                                {"A5", 148.0, 210.0},
                                                {"A6", 105.0, 148.0},
                                                {"LETTER", 215.9, 279.4},
                                                {"LEGAL", 215.9, 355.6}}};

// A numeric key: where its value goes and the range it may take.
struct NumberKey {
    std::string_view Name;
    double LabelSheet::*Field;
    double Min;
    double Max;
    bool Required;
};
constexpr std::array<NumberKey, 9> kNumberKeys{{
    {"PageWidth", &LabelSheet::PageWidth, kMinPageSide, kMaxLength, true},
    {"PageHeight", &LabelSheet::PageHeight, kMinPageSide, kMaxLength, true},
    {"TopMargin", &LabelSheet::TopMargin, 0.0, kMaxLength, false},
    {"LeftMargin", &LabelSheet::LeftMargin, 0.0, kMaxLength, false},
    // A negative gap is refused as overlapping labels, not as a number out of range.
    {"ColumnGap", &LabelSheet::ColumnGap, -kMaxLength, kMaxLength, false},
    {"RowGap", &LabelSheet::RowGap, -kMaxLength, kMaxLength, false},
    {"LabelWidth", &LabelSheet::LabelWidth, 1.0, kMaxLength, true},
    {"LabelHeight", &LabelSheet::LabelHeight, 1.0, kMaxLength, true},
    // Below the readable size is a fault of its own.
    {"FontSize", &LabelSheet::FontSize, 0.0, kMaxFontSize, false},
}};

struct CountKey {
    std::string_view Name;
    int LabelSheet::*Field;
};
constexpr std::array<CountKey, 2> kCountKeys{
    {{"Columns", &LabelSheet::Columns}, {"Rows", &LabelSheet::Rows}}};

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

bool sameWord(std::string_view a, std::string_view b) {
    return UpperAscii(std::string(a)) == UpperAscii(std::string(b));
}

// A decimal number with a point or a comma, then optionally a unit ("mm", "pt").
std::optional<double> readNumber(std::string_view text) {
    std::string number(text);
    for (const std::string_view unit : {"mm", "pt"}) {
        if (number.size() > unit.size() &&
            sameWord(std::string_view(number).substr(number.size() - unit.size()), unit)) {
            number.resize(number.size() - unit.size());
            number = std::string(trimmed(number));
            break;
        }
    }
    std::replace(number.begin(), number.end(), ',', '.');
    double value = 0;
    const char* last = number.data() + number.size();
    const auto [end, error] = std::from_chars(number.data(), last, value);
    if (number.empty() || error != std::errc() || end != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<bool> readYesNo(std::string_view text) {
    for (const std::string_view yes : {"YES", "TRUE", "1", "TAK"}) {
        if (sameWord(text, yes))
            return true;
    }
    for (const std::string_view no : {"NO", "FALSE", "0", "NIE"}) {
        if (sameWord(text, no))
            return false;
    }
    return std::nullopt;
}

SheetProblem problemAt(SheetFault fault, int line, std::string_view key, std::string_view value,
                       std::string detail = {}) {
    return {fault, line, std::string(key), std::string(value), std::move(detail)};
}

// Stores one KEY = VALUE line; the problem when the line is not acceptable.
std::optional<SheetProblem> storeKey(LabelSheet& sheet, std::string_view key,
                                     std::string_view value, int line,
                                     std::vector<std::string>& seen) {
    if (sameWord(key, "Name")) {
        sheet.Title = std::string(value);
        return std::nullopt;
    }
    if (sameWord(key, "Outline")) {
        const auto outline = readYesNo(value);
        if (!outline)
            return problemAt(SheetFault::NotANumber, line, "Outline", value);
        sheet.Outline = *outline;
        return std::nullopt;
    }
    if (sameWord(key, "Page")) {
        for (const NamedPage& page : kNamedPages) {
            if (sameWord(value, page.Name)) {
                sheet.PageWidth = page.Width;
                sheet.PageHeight = page.Height;
                seen.emplace_back("PageWidth");
                seen.emplace_back("PageHeight");
                return std::nullopt;
            }
        }
        return problemAt(SheetFault::OutOfRange, line, "Page", value, "A4 A5 A6 Letter Legal");
    }
    for (const CountKey& count : kCountKeys) {
        if (!sameWord(key, count.Name))
            continue;
        const auto number = readNumber(value);
        if (!number || *number != std::floor(*number))
            return problemAt(SheetFault::NotANumber, line, count.Name, value);
        if (*number < 1 || *number > kMaxColumnsOrRows) {
            return problemAt(SheetFault::OutOfRange, line, count.Name, value,
                             "1 .. " + std::to_string(kMaxColumnsOrRows));
        }
        sheet.*count.Field = static_cast<int>(*number);
        seen.emplace_back(count.Name);
        return std::nullopt;
    }
    for (const NumberKey& numeric : kNumberKeys) {
        if (!sameWord(key, numeric.Name))
            continue;
        const auto number = readNumber(value);
        if (!number)
            return problemAt(SheetFault::NotANumber, line, numeric.Name, value);
        if (*number < numeric.Min || *number > numeric.Max) {
            return problemAt(SheetFault::OutOfRange, line, numeric.Name, value,
                             MmText(std::max(numeric.Min, 0.0)) + " .. " + MmText(numeric.Max));
        }
        sheet.*numeric.Field = *number;
        seen.emplace_back(numeric.Name);
        return std::nullopt;
    }
    return problemAt(SheetFault::UnknownKey, line, key, value);
}

// The geometry: labels on the page, not overlapping, text of a readable size.
std::optional<SheetProblem> checkGeometry(const LabelSheet& sheet) {
    if (sheet.ColumnGap < 0)
        return problemAt(SheetFault::Overlap, 0, "ColumnGap", MmText(sheet.ColumnGap));
    if (sheet.RowGap < 0)
        return problemAt(SheetFault::Overlap, 0, "RowGap", MmText(sheet.RowGap));
    const double right =
        sheet.LeftMargin + sheet.Columns * sheet.LabelWidth + (sheet.Columns - 1) * sheet.ColumnGap;
    if (right > sheet.PageWidth + kPageTolerance) {
        return problemAt(SheetFault::BeyondPage, 0, "PageWidth", MmText(sheet.PageWidth),
                         MmText(right));
    }
    const double bottom =
        sheet.TopMargin + sheet.Rows * sheet.LabelHeight + (sheet.Rows - 1) * sheet.RowGap;
    if (bottom > sheet.PageHeight + kPageTolerance) {
        return problemAt(SheetFault::BeyondPage, 0, "PageHeight", MmText(sheet.PageHeight),
                         MmText(bottom));
    }
    if (sheet.FontSize < kMinReadableFontSize)
        return problemAt(SheetFault::FontTooSmall, 0, "FontSize", MmText(sheet.FontSize));
    return std::nullopt;
}

std::string withoutExtension(const std::string& fileName) {
    const auto dot = fileName.rfind('.');
    return dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot);
}

bool hasSheetExtension(const std::string& fileName) {
    const std::string extension(kLabelSheetExtension);
    return fileName.size() > extension.size() &&
           sameWord(std::string_view(fileName).substr(fileName.size() - extension.size()),
                    extension);
}

}  // namespace

MmRect LabelSheet::Cell(int slotOnPage) const {
    const int row = slotOnPage / Columns;
    const int column = slotOnPage % Columns;
    return {LeftMargin + column * (LabelWidth + ColumnGap),
            TopMargin + row * (LabelHeight + RowGap), LabelWidth, LabelHeight};
}

SheetReadResult ParseLabelSheet(std::string_view text, const std::string& fileName) {
    LabelSheet sheet;
    sheet.FileName = fileName;
    std::vector<std::string> seen;
    int lineNumber = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line =
            trimmed(text.substr(0, end == std::string_view::npos ? text.size() : end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (line.empty() || line.front() == '#' || line.front() == ';')
            continue;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos || trimmed(line.substr(0, equals)).empty())
            return {std::nullopt, problemAt(SheetFault::NotKeyValue, lineNumber, {}, line)};
        if (auto problem = storeKey(sheet, trimmed(line.substr(0, equals)),
                                    trimmed(line.substr(equals + 1)), lineNumber, seen)) {
            return {std::nullopt, std::move(problem)};
        }
    }
    const auto present = [&](std::string_view key) {
        return std::find(seen.begin(), seen.end(), key) != seen.end();
    };
    for (const CountKey& count : kCountKeys) {
        if (!present(count.Name))
            return {std::nullopt, problemAt(SheetFault::MissingKey, 0, count.Name, {})};
    }
    for (const NumberKey& numeric : kNumberKeys) {
        if (numeric.Required && !present(numeric.Name))
            return {std::nullopt, problemAt(SheetFault::MissingKey, 0, numeric.Name, {})};
    }
    if (auto problem = checkGeometry(sheet))
        return {std::nullopt, std::move(problem)};
    if (sheet.Title.empty())
        sheet.Title = withoutExtension(fileName);
    return {std::move(sheet), std::nullopt};
}

SheetReadResult ReadLabelSheet(const std::string& path) {
    const std::string fileName = fs::path(path).filename().string();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const std::error_code error(errno, std::generic_category());
        return {std::nullopt, problemAt(SheetFault::Unreadable, 0, {}, error.message())};
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return {std::nullopt, problemAt(SheetFault::Unreadable, 0, {}, "input/output error")};
    return ParseLabelSheet(bytes, fileName);
}

std::vector<std::string> ListLabelSheets(const std::string& startDirectory) {
    std::vector<std::string> names;
    std::error_code error;
    const fs::path folder = fs::path(startDirectory) / kLabelSheetFolder;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        std::error_code kindError;
        if (hasSheetExtension(name) && entry->is_regular_file(kindError))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return UpperAscii(a) < UpperAscii(b);
    });
    return names;
}

std::optional<std::string> FindLabelSheet(const std::string& startDirectory,
                                          const std::string& name) {
    for (const std::string& file : ListLabelSheets(startDirectory)) {
        if (sameWord(file, name) || sameWord(withoutExtension(file), name))
            return LabelSheetPath(startDirectory, file);
    }
    return std::nullopt;
}

std::string LabelSheetPath(const std::string& startDirectory, const std::string& fileName) {
    return (fs::path(startDirectory) / kLabelSheetFolder / fileName).string();
}

std::string SheetProblemMessage(const SheetProblem& problem, const std::string& fileName,
                                const TNazwyJezykowe& texts) {
    std::string message = texts.SheetRefused + kLabelSheetFolder + "/" + fileName + "\r";
    if (problem.Line > 0)
        message += texts.SheetInLine + std::to_string(problem.Line) + ": ";
    const std::string keyValue = problem.Key + " = " + problem.Value;
    switch (problem.Fault) {
        case SheetFault::Unreadable:
            return message + texts.SheetUnreadable + problem.Value;
        case SheetFault::NotKeyValue:
            return message + texts.SheetNotKeyValue + problem.Value;
        case SheetFault::UnknownKey:
            return message + texts.SheetUnknownKey + keyValue;
        case SheetFault::NotANumber:
            return message + texts.SheetNotANumber + keyValue;
        case SheetFault::OutOfRange:
            return message + texts.SheetOutOfRange + keyValue + " (" + problem.Detail + ")";
        case SheetFault::MissingKey:
            return message + texts.SheetMissingKey + problem.Key;
        case SheetFault::Overlap:
            return message + texts.SheetOverlap + keyValue;
        case SheetFault::BeyondPage:
            return message + texts.SheetBeyondPage + problem.Detail + ": " + keyValue;
        case SheetFault::FontTooSmall:
            return message + texts.SheetFontTooSmall + keyValue;
        case SheetFault::TooSmallForTable:
            return message + texts.SheetTooSmallForTable + problem.Detail + ": " + keyValue;
    }
    return message;
}

std::string MmText(double value) {
    std::string shown = FixedDecimalText(value, 2);
    while (shown.back() == '0') shown.pop_back();
    if (shown.back() == '.')
        shown.pop_back();
    return shown == "-0" ? "0" : shown;
}

}  // namespace velmark
