#pragma once
// Rewriting QSO dates and times between the layouts that logs use. Loggers write QSO_DATE as
// 20080105, 05012008, 2008-01-05 or 05-01-2008 (some with a month name, 2008JAN05), and TIME_ON
// as 1807 or 18:07; a mail-merge file or a Cabrillo log wants the layout the user chose. The
// operations work on the text by position only: nothing is parsed into a calendar date or
// checked, and text that does not fit the layout is rearranged all the same.

#include <string>
#include <string_view>

namespace velmark {

// Rewrites a date from one layout to another, in place. The layouts are "YYYYMMDD",
// "DDMMYYYY", "MMDDYYYY", "YYYY-MM-DD", "DD-MM-YYYY" and "MM-DD-YYYY" in any letter case, "-"
// standing for the separator, of which the whole text is inserted. A three-letter month name
// at the month's place becomes its number whatever the target layout. A date whose layout is
// not one of YYYYMMDD, DDMMYYYY, YYYY-MM-DD and DD-MM-YYYY is left as it is; an unknown target
// layout only has its month name replaced.
void ConvertQsoDate(std::string& date, std::string_view fromFormat, std::string_view toFormat,
                    std::string_view separator);

// "01" to "12" for the English month abbreviations JAN to DEC in any letter case, otherwise an
// empty text.
std::string MonthNumber(std::string_view name);

// Puts the first character of the separator between hours and minutes (1807 to 18:07), in
// place, after taking out a separator already there; an empty separator leaves the time without
// one. An empty time stays empty, so a QSO without a time gets no lone separator.
void ApplyTimeSeparator(std::string& time, std::string_view separator);

}  // namespace velmark
