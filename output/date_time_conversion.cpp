#include "output/date_time_conversion.h"

#include <array>
#include <cstddef>

#include "core/ascii_case.h"
#include "dxcc/leading_number.h"

namespace velmark {
namespace {

// The piece of at most `length` characters starting at 1-based `start`; shorter or empty when
// the text is shorter.
std::string_view piece(std::string_view text, std::size_t start, std::size_t length) {
    if (start > text.size())
        return {};
    return text.substr(start - 1, length);
}

struct Piece {
    std::size_t start;   // 1-based position in the date
    std::size_t length;  // at most this many characters
};

// One rearrangement: the date in layout `from` becomes the three pieces, in this order, with the
// separator between them when the target layout is a separated one.
struct Rearrangement {
    std::string_view from;
    std::string_view to;
    std::array<Piece, 3> pieces;
};

// Where the year, month and day stand in each source layout, put in the order of each target
// layout. The separated source layouts are read by position only, so 2008/01/05 read as
// YYYY-MM-DD converts like 2008-01-05. From YYYYMMDD to a separated layout the day piece takes up
// to eight characters, so anything written after the day (a time, say) is carried along.
constexpr std::array<Rearrangement, 20> kRearrangements = {{
    {"YYYYMMDD", "DDMMYYYY", {{{7, 2}, {5, 2}, {1, 4}}}},
    {"YYYYMMDD", "MMDDYYYY", {{{5, 2}, {7, 2}, {1, 4}}}},
    {"YYYYMMDD", "YYYY-MM-DD", {{{1, 4}, {5, 2}, {7, 8}}}},
    {"YYYYMMDD", "DD-MM-YYYY", {{{7, 8}, {5, 2}, {1, 4}}}},
    {"YYYYMMDD", "MM-DD-YYYY", {{{5, 2}, {7, 2}, {1, 4}}}},
    {"DDMMYYYY", "YYYYMMDD", {{{5, 4}, {3, 2}, {1, 2}}}},
    {"DDMMYYYY", "MMDDYYYY", {{{3, 2}, {1, 2}, {5, 4}}}},
    {"DDMMYYYY", "YYYY-MM-DD", {{{5, 4}, {3, 2}, {1, 2}}}},
    {"DDMMYYYY", "DD-MM-YYYY", {{{1, 2}, {3, 2}, {5, 4}}}},
    {"DDMMYYYY", "MM-DD-YYYY", {{{3, 2}, {1, 2}, {5, 4}}}},
    {"YYYY-MM-DD", "YYYYMMDD", {{{1, 4}, {6, 2}, {9, 2}}}},
    {"YYYY-MM-DD", "DDMMYYYY", {{{9, 2}, {6, 2}, {1, 4}}}},
    {"YYYY-MM-DD", "MMDDYYYY", {{{6, 2}, {9, 2}, {1, 4}}}},
    {"YYYY-MM-DD", "DD-MM-YYYY", {{{9, 2}, {6, 2}, {1, 4}}}},
    {"YYYY-MM-DD", "MM-DD-YYYY", {{{6, 2}, {9, 2}, {1, 4}}}},
    {"DD-MM-YYYY", "YYYYMMDD", {{{7, 4}, {4, 2}, {1, 2}}}},
    {"DD-MM-YYYY", "DDMMYYYY", {{{1, 2}, {4, 2}, {7, 4}}}},
    {"DD-MM-YYYY", "MMDDYYYY", {{{4, 2}, {1, 2}, {7, 4}}}},
    {"DD-MM-YYYY", "YYYY-MM-DD", {{{7, 4}, {4, 2}, {1, 2}}}},
    {"DD-MM-YYYY", "MM-DD-YYYY", {{{4, 2}, {1, 2}, {7, 4}}}},
}};

// The 1-based place of the month in a source layout, 0 for a layout that is not converted.
std::size_t monthPosition(std::string_view fromFormat) {
    if (fromFormat == "YYYYMMDD")
        return 5;
    if (fromFormat == "DDMMYYYY")
        return 3;
    if (fromFormat == "YYYY-MM-DD")
        return 6;
    if (fromFormat == "DD-MM-YYYY")
        return 4;
    return 0;
}

// A month written as a name (JAN) becomes its number (01); a name that is not an English
// abbreviation goes without replacement. Two characters that read as an integer are a month
// number already and stay.
void replaceMonthName(std::string& date, std::size_t position) {
    if (IsWholeInteger(piece(date, position, 2)))
        return;
    if (position > date.size())
        return;
    const std::string_view name = piece(date, position, 3);
    date.replace(position - 1, name.size(), MonthNumber(name));
}

}  // namespace

void ConvertQsoDate(std::string& date, std::string_view fromFormat, std::string_view toFormat,
                    std::string_view separator) {
    const std::string from = UpperAscii(fromFormat);
    const std::string to = UpperAscii(toFormat);
    const std::size_t month = monthPosition(from);
    if (month == 0)
        return;
    replaceMonthName(date, month);

    for (const Rearrangement& rearrangement : kRearrangements) {
        if (rearrangement.from != from || rearrangement.to != to)
            continue;
        const bool separated = to.find('-') != std::string::npos;
        const std::array<Piece, 3>& pieces = rearrangement.pieces;
        std::string result;
        for (std::size_t k = 0; k < pieces.size(); ++k) {
            if (k > 0 && separated)
                result += separator;
            result += piece(date, pieces[k].start, pieces[k].length);
        }
        date = std::move(result);
        return;
    }
}

std::string MonthNumber(std::string_view name) {
    static constexpr std::array<std::string_view, 12> kMonths = {
        "JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    const std::string upper = UpperAscii(name);
    for (std::size_t k = 0; k < kMonths.size(); ++k) {
        if (upper == kMonths[k])
            return {static_cast<char>('0' + (k + 1) / 10), static_cast<char>('0' + (k + 1) % 10)};
    }
    return {};
}

void ApplyTimeSeparator(std::string& time, std::string_view separator) {
    if (time.empty())
        return;
    // A separator already between hours and minutes (18:07, 18.07) comes out first.
    if (time.find_first_of("/:.-") != std::string::npos && time.size() >= 3)
        time.erase(2, 1);
    if (!separator.empty())
        time.insert(time.size() < 2 ? time.size() : 2, 1, separator.front());
}

}  // namespace velmark
