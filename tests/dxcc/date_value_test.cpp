#include "dxcc/date_value.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

namespace velmark {
namespace {

struct DateCase {
    std::string text;
    int code;
    double expected;
};

const double k15January2009 = 2009 + 0 / 12.0 + 14 / 365.0;
const double k12January2009 = 2009 + 0 / 12.0 + 11 / 365.0;

TEST(ReadDateValueTest, ReadsEveryFormatAndMonthNames) {
    const std::vector<DateCase> cases = {
        {"20090115", kDateYearMonthDay, k15January2009},
        {"15012009", kDateDayMonthYear, k15January2009},
        {"2009-01-15", kDateYearMonthDaySeparated, k15January2009},
        {"15.01.2009", kDateDayMonthYearSeparated, k15January2009},
        {"2009/01/15", kDateYearMonthDay, k15January2009},
        {"15:01:2009", kDateDayMonthYear, k15January2009},
        {"2009.1.15", kDateYearMonthDaySeparated, k15January2009},
        {"15-JAN-2009", kDateDayMonthYearSeparated, k15January2009},
        {"15-jan-2009", kDateDayMonthYearSeparated, k15January2009},
        {"12JAN2009", kDateDayMonthYear, k12January2009},
        {"12Jan2009", kDateDayMonthYear, k12January2009},
        {"2009/Dec/31", kDateYearMonthDay, 2009 + 11 / 12.0 + 30 / 365.0},
        {"31/OCT/2010", kDateDayMonthYear, 2010 + 9 / 12.0 + 30 / 365.0},
        {"9999/01/01", kDateYearMonthDay, 9999.0},
        // The text is kept to 11 characters: the time after the date is not read.
        {"2009-01-15 12:30", kDateYearMonthDaySeparated, k15January2009},
    };
    for (const DateCase& date : cases) {
        EXPECT_DOUBLE_EQ(ReadDateValue(date.text, date.code), date.expected)
            << date.text << " code " << date.code;
    }
}

TEST(ReadDateValueTest, NeverFailsOnTextThatIsNoDate) {
    // Fields that do not read as numbers count as 0: year 0, month 0, day 0.
    const double nothing = 0 + (0 - 1) / 12.0 + (0 - 1) / 365.0;
    const std::vector<DateCase> cases = {
        {"", kDateYearMonthDay, nothing},
        {"ABC", kDateDayMonthYear, nothing},
        {"//", kDateYearMonthDaySeparated, nothing},
        // A month text that is no month name is dropped.
        {"15-XYZ-2009", kDateDayMonthYearSeparated, 2009 + (0 - 1) / 12.0 + 14 / 365.0},
        // The separated formats take a date of digits only as having no separators at all:
        // the only field read is the last, from the start of the text.
        {"20090115", kDateYearMonthDaySeparated, 0 + (0 - 1) / 12.0 + 19 / 365.0},
        {"15012009", kDateDayMonthYearSeparated, 1501 + (0 - 1) / 12.0 + (0 - 1) / 365.0},
    };
    for (const DateCase& date : cases) {
        EXPECT_DOUBLE_EQ(ReadDateValue(date.text, date.code), date.expected)
            << "[" << date.text << "] code " << date.code;
    }
}

TEST(TodayDateValueTest, IsTheLocalCalendarDay) {
    std::tm noon{};
    noon.tm_year = 2024 - 1900;
    noon.tm_mon = 2;
    noon.tm_mday = 5;
    noon.tm_hour = 12;
    noon.tm_isdst = -1;
    EXPECT_DOUBLE_EQ(TodayDateValue(std::mktime(&noon)), 2024 + 2 / 12.0 + 4 / 365.0);
}

}  // namespace
}  // namespace velmark
