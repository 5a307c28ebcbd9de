#include "dxcc/callsign_resolver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/dxcc/dxcc_test_lists.h"

namespace velmark::testing {
namespace {

constexpr double kDate2009 = 2009.0;

// One entity per header, each on its own list line, so list line = list number = entity.
class CallsignResolverTest : public ::testing::Test, public DxccListFixture {
  protected:
    void SetUp() override {
        Load({HeaderLine("Alpha", 1, 1, "EU", "101"),
              PrefixLine("QA"),
              HeaderLine("Bravo", 2, 2, "AS", "102"),
              PrefixLine("QB"),
              HeaderLine("Bravo One", 3, 3, "AF", "103"),
              PrefixLine("QB1"),
              HeaderLine("Charlie", 4, 4, "OC", "104"),
              PrefixLine("QC"),
              HeaderLine("Charlie Three", 5, 5, "NA", "105"),
              PrefixLine("QC3"),
              HeaderLine("Exact Call", 6, 6, "SA", "106"),
              PrefixLine("=QB1ABC"),
              HeaderLine("America", 7, 7, "", "107"),
              PrefixLine("AM"),
              HeaderLine("Starred", 8, 8, "AN", "108"),
              PrefixLine("=3D2*/R"),
              HeaderLine("Long", 9, 9, "EU", "109"),
              PrefixLine("QA3456789012345X"),
              HeaderLine("Russia", 16, 29, "EU", "110"),
              PrefixLine("UA"),
              HeaderLine("Asiatic Russia", 17, 30, "AS", "111"),
              PrefixLine("U?9"),
              HeaderLine("Double One", 12, 12, "EU", "112"),
              PrefixLine("QD"),
              HeaderLine("Double Two", 13, 13, "EU", "113"),
              PrefixLine("QD")});
        ASSERT_EQ(values.RunStatus, 0);
        ASSERT_EQ(list->ListLineCount, 13);
    }

    CallsignResolution Resolve(const std::string& callsign, double date = kDate2009) {
        return ResolveCallsign(*list, callsign, date);
    }

    // Entries of the sorted prefix table with a text.
    std::vector<int> EntriesOf(const std::string& prefix) const {
        std::vector<int> entries;
        for (int q = 1; q <= list->PrefixCount; ++q) {
            if (list->PrefixTable[q].PrefixText == prefix)
                entries.push_back(q);
        }
        return entries;
    }
};

TEST_F(CallsignResolverTest, ChoosesTheEntityOfTheExactCallOrTheLongestPrefix) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"QB1XYZ", 103},
        {"QB1ABC", 106},
        {"QB1ABC/P", 106},
        {"QB1ABCD", 106},
        {"QB1AB", 103},
        {"QB2XYZ", 102},
        {"QA/QB1XYZ", 101},
        {"QB1XYZ/QC3", 105},
        {"QB1XYZ/4", 103},
        {"QB1XYZ/QRP", 103},
        {"QB1XYZ/MM", 103},
        {"QB1XYZ/P", 103},
        {"QB1XYZ/A", 103},
        {"QB1XYZ/M", 103},
        {"QB1XYZ/AM", 107},
        {"QC3ZZ", 105},
        {"QC4ZZ", 104},
        {"3D2ABC/R", 108},
        {"3D2QQQQ/R", 108},
        {"QB1XYZ/QC3/P", 105},
        {"QA3456789012345X", 101},  // the 16th character is lost to the "=" of the first pass
    };
    for (const auto& [callsign, adif] : cases) {
        const CallsignResolution result = Resolve(callsign);
        EXPECT_EQ(result.Status, kResolveFound) << callsign;
        EXPECT_EQ(result.AdifNr, adif) << callsign;
    }
}

TEST_F(CallsignResolverTest, GivesTheNumbersZonesAndContinentOfTheListLine) {
    const CallsignResolution charlie = Resolve("QC3ZZ");
    EXPECT_EQ(charlie, (CallsignResolution{kResolveFound, 5, 5, 5, 105, 5, 5, 5}));

    const CallsignResolution america = Resolve("AM1A");
    EXPECT_EQ(america.ListNr, 7);
    EXPECT_EQ(america.Continent, 8) << "an empty continent code";
}

TEST_F(CallsignResolverTest, CallsWithoutEntity) {
    for (const std::string callsign : {"Q1XYZ", "XX1A", "3D2ABC", "qb1xyz", "", "QB1XYZ/"}) {
        EXPECT_EQ(Resolve(callsign), CallsignResolution{}) << "[" << callsign << "]";
    }
}

TEST_F(CallsignResolverTest, SeveralEntriesWithEqualValidityNameNoEntity) {
    EXPECT_EQ(Resolve("QD1AA"), (CallsignResolution{kResolveFound, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(CallsignResolverTest, AmongEqualPrefixesTheFirstThatAppliesIsTaken) {
    const std::vector<int> entries = EntriesOf("QD");
    ASSERT_EQ(entries.size(), 2u);
    list->PrefixTable[entries[0]].ValidUntil = 2000.0;

    const CallsignResolution result = Resolve("QD1AA");
    EXPECT_EQ(result.Status, kResolveFound);
    EXPECT_EQ(result.ListLine, list->PrefixTable[entries[1]].ListLine);
    EXPECT_EQ(result.ListNr, result.ListLine);
}

TEST_F(CallsignResolverTest, APrefixWhoseEntriesAllExpiredGivesStatusTwo) {
    list->PrefixTable[EntriesOf("QC")[0]].ValidUntil = 2000.0;

    EXPECT_EQ(Resolve("QC1AA", 2001.0), (CallsignResolution{kResolveExpired, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Resolve("QC1AA", 1999.5).AdifNr, 104);
    EXPECT_EQ(Resolve("QC3AA", 2001.0).AdifNr, 105) << "the longer prefix still applies";
}

TEST_F(CallsignResolverTest, RussianCallAreaEntryWinsOnlyWhenItExpiresEarlier) {
    EXPECT_EQ(Resolve("UA9ABC").AdifNr, 110);
    EXPECT_EQ(Resolve("UA1ABC").AdifNr, 110);

    list->PrefixTable[EntriesOf("U?9")[0]].ValidUntil = 5000.0;
    EXPECT_EQ(Resolve("UA9ABC").AdifNr, 111);
    EXPECT_EQ(Resolve("UA9ABC").CqZone, 17);
    EXPECT_EQ(Resolve("UA1ABC").AdifNr, 110);
}

TEST_F(CallsignResolverTest, RepeatedKeyIsAnsweredFromMemoryOnTheSameDateOnly) {
    const CallsignResolution first = LookupKey(*list, "QC1AA", kDate2009, false);
    list->PrefixTable[EntriesOf("QC")[0]].ValidUntil = 2000.0;

    EXPECT_EQ(LookupKey(*list, "QC1AA", kDate2009, false), first);
    EXPECT_EQ(LookupKey(*list, "QC1AA", 2001.0, false).Status, kResolveExpired);
    EXPECT_EQ(Resolve("QB1XYZ"), Resolve("QB1XYZ"));
}

// Wildcard entries reached only by the retries, each on its own: "?" for the 2nd character,
// for the 3rd, and inserted before the 2nd.
TEST(CallsignResolverRetryTest, WildcardRetriesFindEntriesWithQuestionMarks) {
    for (const std::string wildcard : {"Q?X", "Q1?Y", "Q?1X"}) {
        SCOPED_TRACE(wildcard);
        DxccListFixture fixture;
        TListaDXCC& list =
            fixture.Load({HeaderLine("Alpha", 1, 1, "EU", "101"), PrefixLine("QA"),
                          HeaderLine("Wild", 2, 2, "EU", "102"), PrefixLine(wildcard)});
        EXPECT_EQ(ResolveCallsign(list, "Q1XYZ", kDate2009).AdifNr, 102);
        EXPECT_EQ(ResolveCallsign(list, "Q2ZZZ", kDate2009).Status, kResolveNoEntity);
    }
}

TEST(CallsignResolverRetryTest, EmptyPrefixTableFindsNothing) {
    auto list = std::make_unique<TListaDXCC>();
    EXPECT_EQ(ResolveCallsign(*list, "QA1AA", kDate2009), CallsignResolution{});
}

}  // namespace
}  // namespace velmark::testing
