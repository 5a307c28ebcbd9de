#pragma once
// A QSO date as one number, for comparing a QSO's date with the validity of prefix entries:
// year + (month - 1) / 12 + (day - 1) / 365, so that 1 January of year Y is exactly Y.

#include <ctime>
#include <string_view>

namespace velmark {

// Input date format codes (the configuration's InputDateFormat).
inline constexpr int kDateYearMonthDay = 1;           // YYYYMMDD, or with separators
inline constexpr int kDateDayMonthYear = 2;           // DDMMYYYY, or with separators
inline constexpr int kDateYearMonthDaySeparated = 3;  // YYYY-MM-DD
inline constexpr int kDateDayMonthYearSeparated = 4;  // DD-MM-YYYY

// The date value of a QSO date written in the given input format (1..4). Separators are "/",
// ":", "-" and "." and month names JAN..DEC in any letter case are understood. Never fails: a
// field that does not read as a number counts as 0.
double ReadDateValue(std::string_view dateText, int formatCode);

// The date value of the local calendar day of a moment.
double TodayDateValue(std::time_t now);

// The date value of a year, month and day.
double DateValueOf(int year, int month, int day);

}  // namespace velmark
