#include "dxcc/date_value.h"

#include <array>
#include <string>

#include "core/ascii_case.h"
#include "dxcc/leading_number.h"

namespace velmark {

namespace {

constexpr std::size_t kDateTextKept = 11;
constexpr std::size_t kNone = std::string::npos;
constexpr std::array<const char*, 12> kMonthNames = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                     "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

// Characters from a 0-based position, at most count of them; empty where the text ends.
std::string Part(const std::string& text, std::size_t from, std::size_t count) {
    return from >= text.size() ? std::string() : text.substr(from, count);
}

// The first separator of the most preferred kind present: "/", then ":", "-", ".".
std::size_t FindSeparator(const std::string& text) {
    for (const char separator : {'/', ':', '-', '.'}) {
        const std::size_t position = text.find(separator);
        if (position != kNone)
            return position;
    }
    return kNone;
}

struct SeparatorPair {
    std::size_t First = kNone;
    std::size_t Second = kNone;
};

// The first separator, and the next one once the first is blanked out.
SeparatorPair FindSeparatorPair(std::string text) {
    SeparatorPair pair;
    pair.First = FindSeparator(text);
    if (pair.First == kNone)
        return pair;
    text[pair.First] = ' ';
    pair.Second = FindSeparator(text);
    return pair;
}

// Two-digit month number of a three-letter English month name, or nothing.
std::string MonthNumber(const std::string& name) {
    const std::string upper = UpperAscii(name);
    for (std::size_t i = 0; i < kMonthNames.size(); ++i) {
        if (upper == kMonthNames[i])
            return (i < 9 ? "0" : "") + std::to_string(i + 1);
    }
    return {};
}

// Step 2: a month written as a name becomes its number (a text that is neither goes). With
// fewer than two separators the month is taken to be the three characters from position 3,
// as in 12JAN2009.
void ReplaceMonthName(std::string& date) {
    const SeparatorPair found = FindSeparatorPair(date);
    std::size_t monthStart = 2;
    std::size_t monthLength = 3;
    if (found.Second != kNone) {
        monthStart = found.First + 1;
        monthLength = found.Second > found.First ? found.Second - found.First - 1 : 0;
    }
    const std::string month = Part(date, monthStart, monthLength);
    if (IsWholeInteger(month))
        return;
    if (monthStart >= date.size())
        return;
    date.replace(monthStart, month.size(), MonthNumber(month));
}

struct DateFields {
    std::string Year;
    std::string Month;
    std::string Day;
};

// Step 3: a date of digits only has its fields at fixed places.
DateFields FixedPositionFields(const std::string& date, int formatCode) {
    if (formatCode == kDateYearMonthDay) {
        return {Part(date, 0, 4), Part(date, 4, 2), Part(date, 6, 2)};
    }
    return {Part(date, 4, 4), Part(date, 2, 2), Part(date, 0, 2)};
}

// Step 4: the fields around the two separators (positions counted from 1, 0 for none); the
// last field is 2 characters for a day, 4 for a year.
DateFields SeparatedFields(const std::string& date, std::size_t first, std::size_t second,
                           int formatCode) {
    const bool yearFirst =
        formatCode == kDateYearMonthDay || formatCode == kDateYearMonthDaySeparated;
    const std::string head = first == 0 ? std::string() : Part(date, 0, first - 1);
    const std::string middle = second > first + 1 ? Part(date, first, second - first - 1) : "";
    const std::string tail = Part(date, second, yearFirst ? 2 : 4);
    return yearFirst ? DateFields{head, middle, tail} : DateFields{tail, middle, head};
}

DateFields SplitFields(std::string date, int formatCode) {
    const bool fixedFormat = formatCode == kDateYearMonthDay || formatCode == kDateDayMonthYear;
    if (IsWholeInteger(date)) {
        if (fixedFormat)
            return FixedPositionFields(date, formatCode);
        return SeparatedFields(date, 0, 0, formatCode);
    }
    const SeparatorPair found = FindSeparatorPair(date);
    const std::size_t first = found.First == kNone ? 0 : found.First + 1;
    if (found.First != kNone)
        date[found.First] = ' ';
    const std::size_t second = found.Second == kNone ? 0 : found.Second + 1;
    return SeparatedFields(date, first, second, formatCode);
}

}  // namespace

double DateValueOf(int year, int month, int day) {
    return year + (month - 1) / 12.0 + (day - 1) / 365.0;
}

double ReadDateValue(std::string_view dateText, int formatCode) {
    std::string date(dateText.substr(0, kDateTextKept));
    ReplaceMonthName(date);
    const DateFields fields = SplitFields(date, formatCode);
    return DateValueOf(ReadLeadingInteger(fields.Year), ReadLeadingInteger(fields.Month),
                       ReadLeadingInteger(fields.Day));
}

double TodayDateValue(std::time_t now) {
    // The program has one thread, so the shared result of std::localtime is safe to read.
    const std::tm* local = std::localtime(&now);
    if (local == nullptr)
        return 0.0;
    return DateValueOf(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday);
}

}  // namespace velmark
