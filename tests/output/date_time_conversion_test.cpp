#include "output/date_time_conversion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmark {
namespace {

const std::vector<std::string> kLayouts = {"YYYYMMDD",   "DDMMYYYY",   "MMDDYYYY",
                                           "YYYY-MM-DD", "DD-MM-YYYY", "MM-DD-YYYY"};
const std::vector<std::string> kSeparators = {"", ".", "/", "--"};

// 5 January 2008 written in a layout, "-" in the layout's name standing for the separator.
std::string FifthOfJanuary(const std::string& layout, const std::string& separator) {
    if (layout == "YYYYMMDD")
        return "20080105";
    if (layout == "DDMMYYYY")
        return "05012008";
    if (layout == "MMDDYYYY")
        return "01052008";
    if (layout == "YYYY-MM-DD")
        return "2008" + separator + "01" + separator + "05";
    if (layout == "DD-MM-YYYY")
        return "05" + separator + "01" + separator + "2008";
    return "01" + separator + "05" + separator + "2008";
}

std::string Converted(std::string date, const std::string& from, const std::string& to,
                      const std::string& separator = "") {
    ConvertQsoDate(date, from, to, separator);
    return date;
}

TEST(ConvertQsoDate, WritesADateInEveryLayoutWithEverySeparator) {
    const std::vector<std::string> sources = {"YYYYMMDD", "DDMMYYYY", "YYYY-MM-DD", "DD-MM-YYYY"};
    for (const std::string& from : sources) {
        // The separated layouts are read by position, whatever stands between the fields.
        for (const std::string& written : {std::string("-"), std::string("/")}) {
            const std::string date = FifthOfJanuary(from, written);
            for (const std::string& to : kLayouts) {
                for (const std::string& separator : kSeparators) {
                    // A date already in the target layout is left as it stands.
                    const std::string expected = to == from ? date : FifthOfJanuary(to, separator);
                    EXPECT_EQ(Converted(date, from, to, separator), expected)
                        << date << " " << from << " to " << to << " with [" << separator << "]";
                }
            }
        }
    }
}

TEST(ConvertQsoDate, TakesLayoutNamesInAnyLetterCase) {
    EXPECT_EQ(Converted("20080105", "yyyymmdd", "Dd-Mm-Yyyy", "."), "05.01.2008");
}

TEST(ConvertQsoDate, ReplacesMonthNamesAtTheMonthsPlace) {
    struct Case {
        std::string date, from, to, expected;
    };
    const Case cases[] = {
        {"2008JAN05", "YYYYMMDD", "YYYYMMDD", "20080105"},  // even when nothing else changes
        {"2008FEB29", "YYYYMMDD", "YYYYMMDD", "20080229"},
        {"05JAN2008", "DDMMYYYY", "YYYYMMDD", "20080105"},
        {"05-jan-2008", "DD-MM-YYYY", "DD-MM-YYYY", "05-01-2008"},
        {"05-Jan-2008", "DD-MM-YYYY", "YYYYMMDD", "20080105"},
        {"2008-Dec-24", "YYYY-MM-DD", "DDMMYYYY", "24122008"},
        {"2008JAN05", "YYYYMMDD", "no such layout", "20080105"},
        // Not an English abbreviation: removed without replacement, before rearranging.
        {"2008STY05", "YYYYMMDD", "YYYYMMDD", "200805"},
        {"2008STY05", "YYYYMMDD", "DDMMYYYY", "052008"},
        // Two characters that read as an integer are no month name.
        {"2008-01-05", "YYYYMMDD", "YYYYMMDD", "2008-01-05"},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(Converted(test.date, test.from, test.to), test.expected)
            << test.date << " " << test.from << " to " << test.to;
    }
}

TEST(ConvertQsoDate, LeavesDatesOfLayoutsItCannotReadAlone) {
    for (const char* from : {"", "MMDDYYYY", "MM-DD-YYYY", "YYMMDD", "Dont know"}) {
        for (const std::string& to : kLayouts) {
            EXPECT_EQ(Converted("2008JAN05", from, to, "."), "2008JAN05") << from << " to " << to;
        }
    }
}

TEST(ConvertQsoDate, RearrangesTextThatDoesNotFitByPosition) {
    struct Case {
        std::string date, from, to, separator, expected;
    };
    const Case cases[] = {
        // The day piece from YYYYMMDD to a separated layout carries up to 8 characters.
        {"20080105XYZ", "YYYYMMDD", "YYYY-MM-DD", ".", "2008.01.05XYZ"},
        {"20080105XYZ", "YYYYMMDD", "DD-MM-YYYY", ".", "05XYZ.01.2008"},
        {"20080105XYZ", "YYYYMMDD", "DDMMYYYY", "", "05012008"},
        // Missing characters give shorter pieces.
        {"2008", "YYYYMMDD", "DD-MM-YYYY", ".", "..2008"},
        {"", "DDMMYYYY", "YYYY-MM-DD", "/", "//"},
        {"0501", "DD-MM-YYYY", "YYYYMMDD", "", "105"},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(Converted(test.date, test.from, test.to, test.separator), test.expected)
            << test.date << " " << test.from << " to " << test.to;
    }
}

// Whatever the text, the conversion only moves characters around and adds separators and month
// numbers: it never reads outside the text or grows it beyond that.
TEST(ConvertQsoDate, SurvivesOddTexts) {
    const std::vector<std::string> odd = {"",
                                          "2",
                                          "20",
                                          "200",
                                          "2008J",
                                          "2008JA",
                                          "JAN",
                                          "\xA5\xB9\xFF",
                                          std::string(3, '\0'),
                                          std::string(300, '9'),
                                          "2008-XY",
                                          "- - - - -"};
    for (const std::string& date : odd) {
        for (const std::string& from : kLayouts) {
            for (const std::string& to : kLayouts) {
                std::string converted = date;
                EXPECT_NO_THROW(ConvertQsoDate(converted, from, to, "::"));
                EXPECT_LE(converted.size(), date.size() + 4) << date << " " << from << " " << to;
            }
        }
    }
}

TEST(MonthNumber, GivesTwoDigitsForTheEnglishAbbreviations) {
    const std::vector<std::string> names = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                            "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    const std::vector<std::string> numbers = {"01", "02", "03", "04", "05", "06",
                                              "07", "08", "09", "10", "11", "12"};
    for (std::size_t k = 0; k < names.size(); ++k) {
        EXPECT_EQ(MonthNumber(names[k]), numbers[k]);
        std::string lower = names[k];
        for (char& c : lower) c = static_cast<char>(c - 'A' + 'a');
        EXPECT_EQ(MonthNumber(lower), numbers[k]);
    }
    for (const char* other : {"", "JA", "JANUARY", "STY", "MAJ", " JAN", "01"}) {
        EXPECT_EQ(MonthNumber(other), "") << other;
    }
}

TEST(ApplyTimeSeparator, PutsTheSeparatorBetweenHoursAndMinutes) {
    struct Case {
        std::string time, separator, expected;
    };
    const Case cases[] = {
        {"1807", ":", "18:07"},
        {"18.07", ":", "18:07"},
        {"18:07", "", "1807"},
        {"1807", "", "1807"},
        {"18-07", ".", "18.07"},
        {"18/07", "", "1807"},
        {"1807", ":-", "18:07"},
        {"180700", ":", "18:0700"},
        {"5", ":", "5:"},
        {"18", ":", "18:"},
        {"", ":", ""},  // a QSO without a time gets no lone separator
        {"", "", ""},
    };
    for (const Case& test : cases) {
        std::string time = test.time;
        ApplyTimeSeparator(time, test.separator);
        EXPECT_EQ(time, test.expected) << test.time << " with [" << test.separator << "]";
    }
}

TEST(ApplyTimeSeparator, GivesTheSameTextWhenAppliedTwice) {
    for (const char* original : {"1807", "18:07", "18.07", "180700", "18:0700"}) {
        for (const char* separator : {"", ":", ".", "-"}) {
            std::string once = original;
            ApplyTimeSeparator(once, separator);
            std::string twice = once;
            ApplyTimeSeparator(twice, separator);
            EXPECT_EQ(twice, once) << original << " with [" << separator << "]";
        }
    }
}

}  // namespace
}  // namespace velmark
