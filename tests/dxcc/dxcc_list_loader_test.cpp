#include "dxcc/dxcc_list_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "dxcc/callsign_resolver.h"
#include "tests/dxcc/dxcc_test_lists.h"

namespace velmark::testing {
namespace {

std::vector<std::string> PrefixTexts(const TListaDXCC& list) {
    std::vector<std::string> texts;
    for (int q = 1; q <= list.PrefixCount; ++q) texts.push_back(list.PrefixTable[q].PrefixText);
    return texts;
}

// The list line a prefix entry points to (the table is sorted, so search it by text).
int LineOfPrefix(const TListaDXCC& list, const std::string& prefix) {
    for (int q = 1; q <= list.PrefixCount; ++q) {
        if (list.PrefixTable[q].PrefixText == prefix)
            return list.PrefixTable[q].ListLine;
    }
    return -1;
}

bool HasMessageStartingWith(const ScriptedUserInterface& ui, const std::string& start) {
    return std::any_of(ui.messages.begin(), ui.messages.end(),
                       [&](const std::string& m) { return m.rfind(start, 0) == 0; });
}

class DxccListLoaderTest : public ::testing::Test, public DxccListFixture {};

// --- list lines -----------------------------------------------------------------------------

TEST_F(DxccListLoaderTest, ZoneMarksOpenListLinesWhenTheZonesChange) {
    const TListaDXCC& list =
        Load({HeaderLine("Entity", 14, 28, "EU", "1"), PrefixLine("AA,AB(15),AC")});

    ASSERT_EQ(values.RunStatus, 0);
    ASSERT_EQ(list.ListLineCount, 3);
    const std::vector<std::pair<std::string, int>> expected = {{"AA", 14}, {"AB", 15}, {"AC", 14}};
    for (int r = 1; r <= 3; ++r) {
        SCOPED_TRACE(r);
        const ListLine& line = list.ListLineTable[r];
        EXPECT_EQ(line.PrefixText, expected[r - 1].first);
        EXPECT_EQ(line.CqZone, expected[r - 1].second);
        EXPECT_EQ(line.ItuZone, 28);
        EXPECT_EQ(line.FirstLine, 1);
        EXPECT_EQ(line.LineName, "ENTITY");
        EXPECT_EQ(LineOfPrefix(list, expected[r - 1].first), r);
    }
    EXPECT_TRUE(list.ListLineTable[4].LineName.empty()) << "end mark after the last line";
}

TEST_F(DxccListLoaderTest, ItuMarkOpensALineAndTheNextItemReturnsToTheHeaderZones) {
    const TListaDXCC& list =
        Load({HeaderLine("Entity", 14, 28, "EU", "1"), PrefixLine("AA[29],AB")});

    ASSERT_EQ(list.ListLineCount, 3);
    EXPECT_EQ(list.ListLineTable[1].PrefixText, "");
    EXPECT_EQ(list.ListLineTable[2].ItuZone, 29);
    EXPECT_EQ(list.ListLineTable[3].ItuZone, 28);
    EXPECT_EQ(list.ListLineTable[3].PrefixText, "AB");
}

TEST_F(DxccListLoaderTest, ADifferentValidFromDateOpensALineForTheFirstItemOnly) {
    // A prefix line of 110 characters: a valid-from date and a short valid-to text. Its dates
    // stay in force for the entity's following prefix lines.
    std::string dated = PrefixLine("AA,AB", "2001/01/01");
    PutAt(dated, 106, "12345");
    ASSERT_EQ(dated.size(), 110u);
    const TListaDXCC& list =
        Load({HeaderLine("Entity", 14, 28, "EU", "1", "1990/01/01"), dated, PrefixLine("AC")});

    ASSERT_EQ(list.ListLineCount, 2);
    EXPECT_EQ(list.ListLineTable[1].ValidFrom, "1990/01/01");
    EXPECT_EQ(list.ListLineTable[1].PrefixText, "");
    EXPECT_EQ(list.ListLineTable[2].ValidFrom, "2001/01/01");
    EXPECT_EQ(list.ListLineTable[2].ValidTo, "12345");
    EXPECT_EQ(list.ListLineTable[2].PrefixText, "AA,AB,AC");
}

TEST_F(DxccListLoaderTest, PrefixLineDatesCountWhenTheLineEndsWithThem) {
    const TListaDXCC& list =
        Load({HeaderLine("Entity", 14, 28, "EU", "1"), PrefixLine("AA", "2001/01/01", "2009/12/31"),
              PrefixLine("AB", "2001/01/01")});

    ASSERT_EQ(list.ListLineCount, 2);
    EXPECT_EQ(list.ListLineTable[2].ValidFrom, "2001/01/01");
    EXPECT_EQ(list.ListLineTable[2].ValidTo, "2009/12/31");
    EXPECT_EQ(list.ListLineTable[2].PrefixText, "AA,AB");
}

TEST_F(DxccListLoaderTest, MoreThanFortyCharactersOfPrefixTextOpenANewLine) {
    // Eight items of 4 characters fill 39 characters; the ninth does not fit. Its prefix entry
    // was stored before the new line opened, so it belongs to the first line.
    const TListaDXCC& list =
        Load({HeaderLine("Entity", 14, 28, "EU", "1"),
              PrefixLine("AB01,AB02,AB03,AB04,AB05,AB06,AB07,AB08,AB09,AB10")});

    ASSERT_EQ(list.ListLineCount, 2);
    EXPECT_EQ(list.ListLineTable[1].PrefixText, "AB01,AB02,AB03,AB04,AB05,AB06,AB07,AB08");
    EXPECT_EQ(list.ListLineTable[2].PrefixText, "AB09,AB10");
    EXPECT_EQ(list.ListLineTable[2].CqZone, 14);
    EXPECT_EQ(list.ListLineTable[2].FirstLine, 1);
    EXPECT_EQ(LineOfPrefix(list, "AB09"), 1);
    EXPECT_EQ(LineOfPrefix(list, "AB10"), 2);
}

TEST_F(DxccListLoaderTest, HeaderFieldsAndCountryRecords) {
    const TListaDXCC& list =
        Load({HeaderLine("Old island (deleted)", 3, 4, "OC", "88"), PrefixLine("QA(5)[6],QB"),
              HeaderLine("No Number", 1, 2, "", "")});

    ASSERT_EQ(values.RunStatus, 0);
    ASSERT_EQ(list.CountryCount, 2);
    const TypRecordu_CSV& first = list.CountryTable[1];
    EXPECT_EQ(first.CountryNr, "001");
    EXPECT_EQ(first.CountryName, "OLD ISLAND (DELETED)");
    EXPECT_EQ(first.CountryAdif, " 88");
    EXPECT_EQ(first.CountryPrefixes, " QA QB");
    EXPECT_EQ(list.CountryTable[2].CountryAdif, "") << "header shorter than 87 characters";
    EXPECT_EQ(list.DeletedCount, 1);

    const ListLine& header = list.ListLineTable[1];
    EXPECT_EQ(header.ListNr, 1);
    EXPECT_EQ(header.AdifNr, 88);
    EXPECT_EQ(header.Continent, "OC");
    EXPECT_EQ(list.ListLineTable[list.ListLineCount].ListNr, 2);
    EXPECT_EQ(list.ListLineTable[list.ListLineCount].Continent, "");
}

// --- prefix items ---------------------------------------------------------------------------

TEST_F(DxccListLoaderTest, QuotesAndTrailingColonOrSemicolonAreNotPartOfAnItem) {
    const TListaDXCC& list =
        Load({HeaderLine("Entity", 14, 28, "EU", "1"), PrefixLine("\"AA\",AB;"),
              PrefixLine("AC:,\"AD\""), PrefixLine("AE,\"AF\",AG")});

    EXPECT_EQ(PrefixTexts(list),
              (std::vector<std::string>{"AA", "AB", "AC", "AD", "AE", "AF", "AG"}));
}

// The layout lets a zone mark, ":" or ";" follow a quoted item before its comma; the quotes
// are still no part of the prefix.
TEST_F(DxccListLoaderTest, QuotedItemFollowedByAZoneMarkOrColonLosesItsQuotes) {
    const TListaDXCC& list = Load({HeaderLine("Entity", 14, 28, "EU", "1"),
                                   PrefixLine("\"QC\"(15),\"QD\"[20],\"QE\":,\"QF\";")});

    EXPECT_EQ(PrefixTexts(list), (std::vector<std::string>{"QC", "QD", "QE", "QF"}));
    EXPECT_EQ(list.ListLineTable[2].CqZone, 15);
    EXPECT_EQ(list.ListLineTable[3].ItuZone, 20);
}

// An editor that saves UTF-8 marks the file, and keeps the columns in characters.
TEST_F(DxccListLoaderTest, AListBeginningWithAByteOrderMarkIsReadAsUtf8) {
    std::string header = HeaderLine("LOdz", 14, 28, "EU", "1");
    header.replace(0, 2, "\xC5\x81\xC3\xB3");  // "Łó" in UTF-8
    const TListaDXCC& list =
        LoadBytes("\xEF\xBB\xBF" + header + "\r\n" + PrefixLine("AA") + "\r\n");
    EXPECT_EQ(list.CountryCount, 1);
    EXPECT_EQ(PrefixTexts(list), (std::vector<std::string>{"AA"}));
    EXPECT_EQ(list.CountryTable[1].CountryName,
              "\xA3\xF3"
              "DZ");
    EXPECT_EQ(list.ListLineTable[1].CqZone, 14);
    EXPECT_EQ(list.ListLineTable[1].ItuZone, 28);
}

TEST_F(DxccListLoaderTest, BlankSeparatedPrefixesInOneItem) {
    const TListaDXCC& list =
        Load({HeaderLine("Entity", 14, 28, "EU", "1"), PrefixLine("AA AB AC(15)")});

    EXPECT_EQ(PrefixTexts(list), (std::vector<std::string>{"AA", "AB", "AC"}));
    EXPECT_EQ(list.ListLineTable[2].PrefixText, "AA AB AC");
    EXPECT_EQ(list.ListLineTable[2].CqZone, 15);
}

TEST_F(DxccListLoaderTest, ALastItemOfOneCharacterIsRead) {
    const TListaDXCC& list = Load({HeaderLine("Entity", 14, 28, "EU", "1"), PrefixLine("AA,K")});

    EXPECT_EQ(PrefixTexts(list), (std::vector<std::string>{"AA", "K"}));
}

TEST_F(DxccListLoaderTest, CommaErrorIsReportedAndTheEmptyPrefixStored) {
    const TListaDXCC& list =
        Load({HeaderLine("Entity", 14, 28, "EU", "1"), PrefixLine("QA"), PrefixLine("AA  AB")});

    EXPECT_EQ(values.RunStatus, 0) << "loading goes on";
    EXPECT_EQ(PrefixTexts(list), (std::vector<std::string>{"", "AA", "AB", "QA"}));
    const std::vector<std::string> expected = {
        "Comma error for country symbolQA for number 1 in a last to one ", "Press any key"};
    ASSERT_GE(ui.messages.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(ui.messages.begin(), ui.messages.begin() + 2), expected);
}

TEST_F(DxccListLoaderTest, EmptyItemBetweenCommasIsACommaError) {
    const TListaDXCC& list = Load({HeaderLine("Entity", 14, 28, "EU", "1"), PrefixLine("AA,,AB")});

    EXPECT_EQ(PrefixTexts(list), (std::vector<std::string>{"", "AA", "AB"}));
    EXPECT_TRUE(HasMessageStartingWith(ui, "Comma error for country symbolAA for number 1"));
}

TEST(ExpandPrefixItemTest, RangesExpandInOrderBeforeSorting) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"SV0..SV9", {"SV0", "SV1", "SV2", "SV3", "SV4", "SV5", "SV6", "SV7", "SV8", "SV9"}},
        {"A0..B9", {"A0", "A1", "A2", "A3", "A4", "A5", "A6", "A7", "A8", "A9",
                    "B0", "B1", "B2", "B3", "B4", "B5", "B6", "B7", "B8", "B9"}},
        {"ZS8..ZS1", {"ZS8", "ZS9", "ZS0", "ZS1"}},
        {"KG4A..KG4C", {"KG4A", "KG4B", "KG4C"}},
        {"A5B..B6B", {"A5B", "A6B", "B5B", "B6B"}},
        {"DL", {"DL"}},
        {"DL DA", {"DL", "DA"}},
        {"=Q1AB", {"=Q1AB"}},
    };
    TNazwyJezykowe texts;
    texts.Fill(kLanguageEnglish);
    for (const auto& [item, expected] : cases) {
        SCOPED_TRACE(item);
        auto list = std::make_unique<TListaDXCC>();
        ScriptedUserInterface ui;
        ProgramValues values;
        DxccListLoader(*list, texts, ui, values).ExpandPrefixItem(item, 7, kValidForever);
        EXPECT_EQ(PrefixTexts(*list), expected);
        EXPECT_EQ(list->PrefixTable[1].ListLine, 7);
        EXPECT_EQ(list->PrefixTable[1].ValidUntil, 9999.0);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(values.RunStatus, 0);
    }
}

// --- first pass -----------------------------------------------------------------------------

TEST_F(DxccListLoaderTest, CountryPrefixesStopAfterReaching245Characters) {
    // Items of 9 characters add 10 characters each: three full lines give 240, the first item
    // of the fourth line reaches 250; the rest of the entity stays out of the country record.
    std::vector<std::string> lines = {HeaderLine("Big", 14, 28, "EU", "1")};
    int number = 0;
    for (int line = 0; line < 5; ++line) {
        std::string items;
        for (int i = 0; i < 8; ++i) {
            char item[16];
            std::snprintf(item, sizeof item, "PFX%06d", ++number);
            items += (i ? "," : "") + std::string(item);
        }
        lines.push_back(PrefixLine(items));
    }
    lines.push_back(HeaderLine("Next", 15, 29, "EU", "2"));
    lines.push_back(PrefixLine("QA"));
    const TListaDXCC& list = Load(lines);

    const std::string& prefixes = list.CountryTable[1].CountryPrefixes;
    EXPECT_EQ(prefixes.size(), 250u);
    EXPECT_EQ(prefixes.substr(prefixes.size() - 10), " PFX000025");
    EXPECT_EQ(list.PrefixCount, 41) << "the second pass reads every prefix";
    EXPECT_EQ(list.CountryCount, 2);
    EXPECT_EQ(list.CountryTable[2].CountryName, "NEXT");
    EXPECT_EQ(list.CountryTable[2].CountryPrefixes, " QA");
}

// --- file handling --------------------------------------------------------------------------

TEST_F(DxccListLoaderTest, SmallListGivesItsReportByteForByte) {
    const std::string source =
        TempDir::read(std::string(VELMARK_TEST_DATA_DIR) + "/dxcc/small_list.lst");
    LoadBytes(source);

    ASSERT_EQ(values.RunStatus, 0);
    EXPECT_EQ(TempDir::read(dir.file("LISTA.UPO")),
              TempDir::read(std::string(VELMARK_TEST_DATA_DIR) + "/dxcc/small_list.upo"));
    const std::vector<std::string> expected = {
        "To this time for buliding list DXCC was used =4   lines",
        "Permited number of all lines is equal  =3000  lines",
        "Number of actual countries in a official DXCC list   =2",
        "Number of countries in DXCC list from file DXCC.LST  = 2",
        "Number of deleted countries  =0",
        "Writing sorted list DXCC named   LIST.UPO",
    };
    EXPECT_EQ(ui.messages, expected);
    EXPECT_EQ(ui.captions, (std::vector<std::string>{"Reading list DXCC from file DXCC.LST",
                                                     "Reading file DXCC.LST"}));
    EXPECT_EQ(ui.progress, (std::vector<int>{25, 65, 100}));
}

TEST_F(DxccListLoaderTest, EveryKindOfLineEndEndsALine) {
    const std::vector<std::string> lines = {
        "{ comment", HeaderLine("Alpha", 14, 28, "EU", "1"), PrefixLine("QA,QB(15)"),
        HeaderLine("Beta", 5, 9, "NA", "12"), PrefixLine("QC0..QC2")};
    for (const std::string lineEnd : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(static_cast<int>(lineEnd.back()));
        const TListaDXCC& list = Load(lines, lineEnd);
        EXPECT_EQ(values.RunStatus, 0);
        EXPECT_EQ(list.CountryCount, 2);
        EXPECT_EQ(list.ListLineCount, 3);
        EXPECT_EQ(PrefixTexts(list), (std::vector<std::string>{"QA", "QB", "QC0", "QC1", "QC2"}));
        EXPECT_EQ(list.CountryTable[2].CountryAdif, " 12");
    }
}

TEST_F(DxccListLoaderTest, EmptyLinesBlankLinesCommentsAndAMissingLastLineEnd) {
    const TListaDXCC& list =
        LoadBytes("\r\n   \r\n{ comment\r\n" + HeaderLine("Alpha", 14, 28, "EU", "1") + "\r\n\r\n" +
                  PrefixLine("QA") + "\r\n \r\n" + PrefixLine("QB"));

    EXPECT_EQ(values.RunStatus, 0);
    EXPECT_EQ(list.CountryCount, 1);
    EXPECT_EQ(list.ListLineCount, 1);
    EXPECT_EQ(list.ListLineTable[1].PrefixText, "QA,QB");
}

TEST_F(DxccListLoaderTest, ListWithoutPrefixesLoadsAndFindsNothing) {
    TListaDXCC& list = Load({HeaderLine("Alpha", 14, 28, "EU", "1")});

    EXPECT_EQ(values.RunStatus, 0);
    EXPECT_EQ(list.PrefixCount, 0);
    EXPECT_EQ(ResolveCallsign(list, "QA1AA", 2009.0).Status, kResolveNoEntity);
    EXPECT_EQ(TempDir::read(dir.file("LISTA.UPO")).find("\r\n", 2) + 2,
              TempDir::read(dir.file("LISTA.UPO")).size())
        << "an empty line and the heading only";
}

TEST_F(DxccListLoaderTest, MissingListFileSetsRunStatusOne) {
    list = std::make_unique<TListaDXCC>();
    LoadDxccList(*list, texts, ui, values);

    EXPECT_EQ(values.RunStatus, 1);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"File  DXCC.LST Not present"}));
    EXPECT_EQ(list->CountryCount, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("LISTA.UPO")));
}

TEST_F(DxccListLoaderTest, NothingIsDoneWhileRunStatusIsOne) {
    values.RunStatus = 1;
    const TListaDXCC& list = Load({HeaderLine("Alpha", 14, 28, "EU", "1"), PrefixLine("QA")});

    EXPECT_EQ(values.RunStatus, 1);
    EXPECT_EQ(list.CountryCount, 0);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("LISTA.UPO")));
}

TEST_F(DxccListLoaderTest, ListAtAnyPathWritesItsReportWhereAsked) {
    TempDir reportDir;
    const std::string path =
        dir.write("own.lst", HeaderLine("Alpha", 14, 28, "EU", "1") + "\n  QA\n");
    TListaDXCC& loaded = *(list = std::make_unique<TListaDXCC>());
    LoadDxccList(loaded, path, reportDir.path().string(), texts, ui, values);

    EXPECT_EQ(values.RunStatus, 0);
    EXPECT_EQ(loaded.PrefixCount, 1);
    EXPECT_TRUE(std::filesystem::exists(reportDir.file("LISTA.UPO")));
}

TEST_F(DxccListLoaderTest, FindCountryByNameGivesTheFirstRecordOrRunStatusTwo) {
    const TListaDXCC& list =
        Load({HeaderLine("Alpha", 14, 28, "EU", "1"), HeaderLine("Beta", 1, 1, "EU", "12"),
              HeaderLine("Alpha", 2, 2, "EU", "3")});

    const auto beta = FindCountryByName(list, "BETA", values);
    ASSERT_TRUE(beta.has_value());
    EXPECT_EQ(*beta, std::make_pair(2, 12));
    EXPECT_EQ(list.ListLineTable[3].ListNr, 1) << "a repeated name gets the first's numbers";
    EXPECT_EQ(list.ListLineTable[3].AdifNr, 1);
    EXPECT_EQ(values.RunStatus, 0);
    EXPECT_FALSE(FindCountryByName(list, "Beta", values).has_value());
    EXPECT_EQ(values.RunStatus, 2);
}

// --- refusals -------------------------------------------------------------------------------

struct RefusalCase {
    const char* name;
    std::vector<std::string> lines;
    std::string TNazwyJezykowe::*text;
    std::string detail;  // line number and item as the message ends
};

class DxccListRefusalTest : public DxccListLoaderTest,
                            public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(DxccListRefusalTest, GivesRunStatusTwoAndSaysWhereTheProblemIs) {
    const RefusalCase& refusal = GetParam();
    Load(refusal.lines);

    EXPECT_EQ(values.RunStatus, 2);
    const std::string expected = texts.*refusal.text + refusal.detail;
    EXPECT_TRUE(std::find(ui.messages.begin(), ui.messages.end(), expected) != ui.messages.end())
        << "expected message: " << expected;
}

std::vector<std::string> EntityWith(const std::string& items) {
    return {HeaderLine("Entity", 14, 28, "EU", "1"), PrefixLine("QA"), PrefixLine(items)};
}

INSTANTIATE_TEST_SUITE_P(
    DataErrors, DxccListRefusalTest,
    ::testing::Values(RefusalCase{"PrefixLineBeforeHeader",
                                  {"{ comment", PrefixLine("QA"),
                                   HeaderLine("Entity", 14, 28, "EU", "1")},
                                  &TNazwyJezykowe::DxccPrefixBeforeHeader,
                                  "2"},
                      RefusalCase{"UnknownContinent",
                                  {HeaderLine("Entity", 14, 28, "XY", "1"), PrefixLine("QA")},
                                  &TNazwyJezykowe::DxccBadContinent,
                                  "1, item XY"},
                      RefusalCase{"LowerCaseContinent",
                                  {HeaderLine("Entity", 14, 28, "eu", "1")},
                                  &TNazwyJezykowe::DxccBadContinent,
                                  "1, item eu"},
                      RefusalCase{"RangeBoundsOfDifferentLength", EntityWith("SV0..SV10"),
                                  &TNazwyJezykowe::DxccRangeLengthDiffers, "3, item SV0..SV10"},
                      RefusalCase{"RangeWithoutUpperBound", EntityWith("SV0.."),
                                  &TNazwyJezykowe::DxccRangeLengthDiffers, "3, item SV0.."},
                      RefusalCase{"RangeFromDigitToLetter", EntityWith("A5..AB"),
                                  &TNazwyJezykowe::DxccRangeNeverReached, "3, item A5..AB"},
                      RefusalCase{"RangeFromSlashPastTheDigits", EntityWith("A/..AA"),
                                  &TNazwyJezykowe::DxccRangeNeverReached, "3, item A/..AA"},
                      RefusalCase{"RangeDownwardsInLetters", EntityWith("AZ..AA"),
                                  &TNazwyJezykowe::DxccRangePastCode255, "3, item AZ..AA"}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

TEST_F(DxccListLoaderTest, MoreThan600CountriesAreRefused) {
    std::vector<std::string> lines;
    for (int r = 1; r <= 601; ++r)
        lines.push_back(HeaderLine("Country " + std::to_string(r), 1, 1, "EU", "1"));
    Load(lines);

    EXPECT_EQ(values.RunStatus, 2);
    EXPECT_EQ(ui.messages.back(), texts.DxccTooManyCountries + "601");
    EXPECT_FALSE(std::filesystem::exists(dir.file("LISTA.UPO")));

    lines.pop_back();
    values.RunStatus = 0;
    Load(lines);
    EXPECT_EQ(values.RunStatus, 0);
    EXPECT_EQ(list->CountryCount, 600);
}

// An entity whose items alternate between two CQ zones, so each item opens a list line.
std::vector<std::string> AlternatingZones(int items) {
    std::vector<std::string> lines = {HeaderLine("Entity", 1, 1, "EU", "1")};
    std::string line;
    for (int i = 0; i < items; ++i) {
        const std::string item = "Q" + std::to_string(i) + (i % 2 == 0 ? "(2)" : "");
        if (line.size() + item.size() + 1 > 80) {
            lines.push_back(PrefixLine(line));
            line.clear();
        }
        line += (line.empty() ? "" : ",") + item;
    }
    lines.push_back(PrefixLine(line));
    return lines;
}

TEST_F(DxccListLoaderTest, MoreThan2999ListLinesAreRefused) {
    Load(AlternatingZones(2998));
    EXPECT_EQ(values.RunStatus, 0);
    EXPECT_EQ(list->ListLineCount, 2999);

    const std::vector<std::string> lines = AlternatingZones(2999);
    Load(lines);
    EXPECT_EQ(values.RunStatus, 2);
    EXPECT_EQ(ui.messages.back(),
              texts.DxccTooManyListLines + std::to_string(static_cast<int>(lines.size())));
}

TEST_F(DxccListLoaderTest, MoreThan9000PrefixesAreRefused) {
    std::vector<std::string> lines = {HeaderLine("Entity", 1, 1, "EU", "1")};
    for (const char letter : std::string("BCDEFGHIJ")) {
        lines.push_back(PrefixLine(std::string(1, letter) + "000.." + letter + "999"));
    }
    Load(lines);
    EXPECT_EQ(values.RunStatus, 0);
    EXPECT_EQ(list->PrefixCount, 9000);

    lines.push_back(PrefixLine("K"));
    Load(lines);
    EXPECT_EQ(values.RunStatus, 2);
    EXPECT_EQ(ui.messages.back(), texts.DxccTooManyPrefixes + "11");
    EXPECT_EQ(ResolveCallsign(*list, "B123", 2009.0).Status, kResolveNoEntity)
        << "a list cut short finds nothing";
}

// --- item functions -------------------------------------------------------------------------

TEST(NextListItemTest, CutsALineIntoItems) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {" AA,AB(15),AC", {"AA", "AB(15)", "AC"}},
        {" AA,K", {"AA", "K"}},
        {" AA, AB", {"AA", "AB"}},
        {" \"AA\",AB", {"AA", "AB"}},
        {" DL,\"DA\",DB", {"DL", "DA", "DB"}},
        {" AB;", {"AB"}},
        {" AC:,AD", {"AC", "AD"}},
        {" AA,,AB", {"AA", ",AB"}},
        {" AA  AB", {"AA  AB"}},
        {" AA,", {"AA"}},
        {"", {""}},
    };
    for (const auto& [line, expected] : cases) {
        SCOPED_TRACE(line);
        std::vector<std::string> items;
        int cursor = 1;
        NextItem next;
        do {
            next = NextListItem(line, cursor);
            items.push_back(next.Item);
        } while (!next.EndOfLine && items.size() < 20);
        EXPECT_EQ(items, expected);
    }
}

TEST(TrimListTextTest, RemovesTrailingBlanksAndForItemsOneColonOrSemicolon) {
    const std::vector<std::tuple<std::string, ListTextTrim, std::string>> cases = {
        {" ", ListTextTrim::Item, ""},       {"   ", ListTextTrim::Plain, ""},
        {"", ListTextTrim::Item, ""},        {"AB  ", ListTextTrim::Plain, "AB"},
        {"AB;", ListTextTrim::Item, "AB"},   {"AB:", ListTextTrim::Item, "AB"},
        {"AB;;", ListTextTrim::Item, "AB;"}, {"AB;", ListTextTrim::Plain, "AB;"},
        {" AB ", ListTextTrim::Item, " AB"},
    };
    for (const auto& [text, trim, expected] : cases) {
        EXPECT_EQ(TrimListText(text, trim), expected) << "[" << text << "]";
    }
}

}  // namespace
}  // namespace velmark::testing
