// The run driver at its capacities, each at the limit and one past it: 600 country groups in a
// sort by entity, and 255 QSOs on one card. Past a limit the run says why and writes nothing.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/country_groups.h"
#include "support/temp_dir.h"
#include "tests/run/run_fixture.h"

namespace velmark::testing {
namespace {

// --- country groups ---

// A log with one QSO for each of the first `entities` entities and one with a callsign of no
// entity, which forms a group of its own: entities + 1 groups.
std::string LogWithGroups(int entities) {
    std::string log = "<EOH>\r\n";
    for (int n = 0; n < entities; ++n) log += AdifQso(EntityPrefix(n) + "1AB");
    return log + AdifQso("Q9ZZZ");
}

class CountryGroupLimit : public ::testing::TestWithParam<int> {};

TEST_P(CountryGroupLimit, SixHundredGroupsAreWrittenAndOneMoreIsRefused) {
    const int groups = GetParam();
    RunFixture run(kMaxCountries);
    run.ReadLog(LogWithGroups(groups - 1));
    const bool written = run.Write();

    const std::vector<std::string>& messages = run.ui.messages;
    const bool refused = std::find(messages.begin(), messages.end(),
                                   run.texts.MsgTooManyCountryGroups) != messages.end();
    if (groups <= kMaxCountryGroups) {
        EXPECT_TRUE(written);
        EXPECT_FALSE(refused);
        EXPECT_EQ(run.list->Run.CountryGroupCount, groups);
        // COUNTRY.CSV has its title line and one line per group.
        const std::string countryCsv = TempDir::read(run.OutputPath("COUNTRY.CSV"));
        EXPECT_EQ(std::count(countryCsv.begin(), countryCsv.end(), '\n'), 1 + groups);
    } else {
        EXPECT_FALSE(written);
        EXPECT_TRUE(refused);
        EXPECT_TRUE(run.OutputFiles().empty()) << "a refused run wrote " << run.OutputFiles()[0];
    }
}

INSTANTIATE_TEST_SUITE_P(AtAndPastTheLimit, CountryGroupLimit,
                         ::testing::Values(kMaxCountryGroups, kMaxCountryGroups + 1));

// --- QSOs per card ---

class QsosPerCardLimit : public ::testing::TestWithParam<int> {};

TEST_P(QsosPerCardLimit, TwoHundredFiftyFiveAreLaidOutAndOneMoreIsRefused) {
    const int perCard = GetParam();
    RunFixture run;
    run.config.QsosPerCard = perCard;
    run.ReadLog("<EOH>\r\n" + AdifQso("XAA1AB") + AdifQso("XAA1AB") + AdifQso("XAB2CD"));
    const bool written = run.Write();

    if (perCard <= 255) {
        EXPECT_TRUE(written);
        // Two cards (the two QSOs with XAA1AB share one), each of perCard records, under the
        // title line.
        const std::string output = TempDir::read(run.OutputPath());
        EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1 + 2 * perCard);
    } else {
        EXPECT_FALSE(written);
        EXPECT_EQ(run.ui.messages, (std::vector<std::string>{run.texts.MsgBadQsosPerCard}));
        EXPECT_TRUE(run.OutputFiles().empty());
        EXPECT_TRUE(run.ui.dialogRequests.empty()) << "no output file is asked for";
        run.ui.fileAnswers.clear();
    }
}

INSTANTIATE_TEST_SUITE_P(AtAndPastTheLimit, QsosPerCardLimit, ::testing::Values(255, 256));

}  // namespace
}  // namespace velmark::testing
