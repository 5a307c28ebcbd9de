// A translation writes one record per QSO into one file whatever the printing values say, and
// leaves those values alone: the next sort of the same session lays out its cards with them.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "tests/run/run_fixture.h"

namespace velmark::testing {
namespace {

std::string threeQsoLog() {
    return "<EOH>\r\n" + AdifQso("XAA1AB") + AdifQso("XAA1AB") + AdifQso("XAB2CD");
}

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

struct PrintingValues {
    const char* name;
    int qsosPerCard;
    bool divide;
    int qslsPerFile;
};

void PrintTo(const PrintingValues& values, std::ostream* stream) {
    *stream << values.name;
}

class TranslationLayout : public ::testing::TestWithParam<PrintingValues> {};

TEST_P(TranslationLayout, IsOneRecordPerQsoUndividedAndLeavesTheConfigurationAsItWas) {
    const PrintingValues& values = GetParam();
    RunFixture run;
    run.config.QsosPerCard = values.qsosPerCard;
    run.config.DivideOutputFile = values.divide;
    run.config.MaxQslPerFile = values.qslsPerFile;
    run.values.TranslationMode = 1;
    run.ReadLog(threeQsoLog());
    ASSERT_TRUE(run.Write("translated.csv"));

    // The title line and the three QSOs: no filler records, no part files.
    EXPECT_EQ(lineCount(TempDir::read(run.OutputPath("translated.csv"))), 4U);
    EXPECT_EQ(run.OutputFiles(), std::vector<std::string>{"translated.csv"});
    EXPECT_EQ(run.config.QsosPerCard, values.qsosPerCard);
    EXPECT_EQ(run.config.DivideOutputFile, values.divide);
    EXPECT_EQ(run.config.MaxQslPerFile, values.qslsPerFile);
}

INSTANTIATE_TEST_SUITE_P(
    AnyPrintingValues, TranslationLayout,
    ::testing::Values(PrintingValues{"ThreePerCardDivided", 3, true, 1},
                      // Values no sort could use do not stop a translation either.
                      PrintingValues{"ZeroPerCardDividedByZero", 0, true, 0}),
    [](const ::testing::TestParamInfo<PrintingValues>& info) { return info.param.name; });

TEST(TranslationLayout, TheNextSortLaysOutItsCardsWithTheUsersValues) {
    RunFixture run;
    run.config.QsosPerCard = 3;
    run.values.TranslationMode = 1;
    run.ReadLog(threeQsoLog());
    ASSERT_TRUE(run.Write("translated.csv"));

    run.values.TranslationMode = 0;
    run.ReadLog(threeQsoLog());
    ASSERT_TRUE(run.Write("sorted.csv"));
    // Two cards of three records (XAA1AB's two QSOs share one) under the title line.
    EXPECT_EQ(lineCount(TempDir::read(run.OutputPath("sorted.csv"))), 7U);
}

}  // namespace
}  // namespace velmark::testing
