// The input phase at the catalogue's limit: 39 field names of the log's own fit beside the 121
// standard ones; a 40th is refused with a message, in an ADIF log field by field (its values
// skipped, the QSOs kept), in a CSV log at the title line (the run stops).

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/field_catalogue.h"
#include "input/log_input.h"
#include "tests/input/input_run_fixture.h"

namespace velmark::testing {
namespace {

constexpr int kExtraNames = kCatalogueSize - kStandardFieldCount;  // 39

const InputKind kAdif{"<>", false, {}, {}};
const InputKind kCsv{",", false, {}, {}};

std::string ExtraName(int k) {
    return "APP_TEST_" + std::to_string(k);
}

class ExtraFieldLimit : public ::testing::TestWithParam<int> {};

TEST_P(ExtraFieldLimit, AdifLogKeepsEveryQsoAndRefusesTheNamesBeyond39) {
    const int names = GetParam();
    InputRunFixture run;
    std::string log = "<EOH>\r\n";
    for (const char* call : {"Q1AAA", "Q2BBB"}) {
        log += std::string("<CALL:5>") + call + "<QSO_DATE:8>20080105";
        for (int k = 1; k <= names; ++k) log += "<" + ExtraName(k) + ":1>v";
        log += "<EOR>\r\n";
    }
    run.values.InputFileName = run.dir.write("log.adi", log);
    ReadLogIntoRun(run.objects, kAdif);

    EXPECT_EQ(run.values.RunStatus, 0);
    EXPECT_EQ(run.State().QsoCount, 2);
    // CALL and QSO_DATE, then the extra names that found an entry.
    EXPECT_EQ(run.State().Columns.ColumnCount, 2 + std::min(names, kExtraNames));
    std::vector<std::string> expected;
    for (int k = kExtraNames + 1; k <= names; ++k) {
        expected.push_back(run.texts.MsgNoRoomNonStandardFields + "\r" + ExtraName(k));
    }
    EXPECT_EQ(run.ui.messages, expected);
}

TEST_P(ExtraFieldLimit, CsvTitleLineBeyond39NewNamesStopsTheRun) {
    const int names = GetParam();
    InputRunFixture run;
    std::string titles = "CALL,QSO_DATE";
    std::string values = "Q1AAA,20080105";
    for (int k = 1; k <= names; ++k) {
        titles += "," + ExtraName(k);
        values += ",v";
    }
    run.values.InputFileName = run.dir.write("log.csv", titles + "\r\n" + values + "\r\n");
    ReadLogIntoRun(run.objects, kCsv);

    if (names <= kExtraNames) {
        EXPECT_EQ(run.values.RunStatus, 0);
        EXPECT_EQ(run.State().QsoCount, 1);
        EXPECT_EQ(run.State().Columns.ColumnCount, 2 + names);
        EXPECT_TRUE(run.ui.messages.empty());
    } else {
        EXPECT_EQ(run.values.RunStatus, 2);
        EXPECT_EQ(run.State().QsoCount, 0);
        ASSERT_FALSE(run.ui.messages.empty());
        EXPECT_EQ(run.ui.messages[0],
                  run.texts.MsgNoRoomNonStandardFields + "\r" + ExtraName(kExtraNames + 1));
    }
}

INSTANTIATE_TEST_SUITE_P(AtAndPastTheLimit, ExtraFieldLimit,
                         ::testing::Values(kExtraNames, kExtraNames + 1));

}  // namespace
}  // namespace velmark::testing
