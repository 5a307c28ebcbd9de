#include "dxcc/bookmarks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/errors.h"
#include "tests/dxcc/dxcc_test_lists.h"

namespace velmark::testing {
namespace {

std::string CrLf(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return bytes;
}

CountryGroup Group(int first, int last, std::string_view firstCall, std::string_view lastCall,
                   int listNr, int adifNr) {
    CountryGroup group;
    group.FirstPos = first;
    group.LastPos = last;
    group.FirstCall = firstCall;
    group.LastCall = lastCall;
    group.EntityListNr = listNr;
    group.EntityAdifNr = adifNr;
    return group;
}

class BookmarksTest : public ::testing::Test, public DxccListFixture {
  protected:
    // The list file; the entity names carry code page 1250 letters, which pass unchanged.
    void WriteList() {
        std::string bytes;
        for (const std::string& line :
             {HeaderLine("Alpha", 14, 28, "EU", "1"), PrefixLine("QA,QB(15)"),
              HeaderLine("Beta", 5, 9, "NA", "12"), PrefixLine("QC0..QC2"),
              HeaderLine("Wyspa \xA3\xF3"
                         "d\x9F",
                         15, 28, "EU", "7"),
              PrefixLine("QG"), HeaderLine("Delta without number", 1, 1, "EU", ""),
              PrefixLine("QH"), HeaderLine("Epsilon", 1, 1, "EU", "5")}) {
            bytes += line + "\r\n";
        }
        dir.write("DXCC.LST", bytes);
    }

    std::string Countris() const { return TempDir::read(dir.file("COUNTRIS.CSV")); }

    const std::string heading = "\"NR_CTY_COUNTRY\",\"NR_ADIF_DXCC\",\"COUNTRY\",\"PREFIKSES\"";
    const std::string alpha = "\"001\",\"  1\",\"ALPHA\",\" QA QB\"";
    const std::string beta = "\"002\",\" 12\",\"BETA\",\" QC0..QC2\"";
    const std::string wyspa =
        "\"003\",\"  7\",\"WYSPA \xA3\xF3"
        "D\x9F\",\" QG\"";
    const std::string epsilon = "\"005\",\"  5\",\"EPSILON\",\"\"";
};

TEST_F(BookmarksTest, AdifOrderThenListOrderFromTheSameLoadedList) {
    WriteList();

    ASSERT_TRUE(RunBookmarkCommand(list, BookmarkOrder::AdifNumber, texts, ui, values));
    EXPECT_EQ(Countris(), CrLf({heading, alpha, epsilon, wyspa, beta}));
    ASSERT_EQ(ui.messages.size(), 9u) << "six count lines, then three of the command";
    EXPECT_EQ(ui.messages[6], texts.MsgCountrisCsvWritten);
    EXPECT_EQ(ui.messages[7], texts.MsgCountrisCsvUse);
    EXPECT_EQ(ui.messages[8], texts.MsgOrderAdif);

    const TListaDXCC* loaded = list.get();
    ASSERT_TRUE(RunBookmarkCommand(list, BookmarkOrder::DxccList, texts, ui, values));
    EXPECT_EQ(list.get(), loaded) << "a loaded list is used again";
    EXPECT_EQ(Countris(), CrLf({heading, alpha, beta, wyspa, epsilon}));
    ASSERT_EQ(ui.messages.size(), 12u);
    EXPECT_EQ(ui.messages[11], texts.MsgOrderDxccList);
    EXPECT_TRUE(ui.errorBoxes.empty());
}

TEST_F(BookmarksTest, ListThatCannotBeLoadedIsShownAndReleased) {
    EXPECT_FALSE(RunBookmarkCommand(list, BookmarkOrder::DxccList, texts, ui, values));
    EXPECT_EQ(ui.errorBoxes, (std::vector<std::string>{texts.MsgInputFileMissing}));
    EXPECT_EQ(list, nullptr);
    EXPECT_FALSE(std::filesystem::exists(dir.file("COUNTRIS.CSV")));

    values.RunStatus = 0;
    dir.write("DXCC.LST", HeaderLine("Alpha", 14, 28, "XX", "1") + "\r\n");
    EXPECT_FALSE(RunBookmarkCommand(list, BookmarkOrder::DxccList, texts, ui, values));
    EXPECT_EQ(ui.errorBoxes.back(), texts.MsgDataError);
    EXPECT_EQ(list, nullptr);
    EXPECT_FALSE(std::filesystem::exists(dir.file("COUNTRIS.CSV")));
}

TEST(SortCountriesTest, AdifNumbersSortAsTextByteForByte) {
    const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> cases = {
        {{"123", "  1", " 12"}, {"  1", " 12", "123"}},
        {{"123", "2  ", "12 ", "1  "}, {"1  ", "12 ", "123", "2  "}},
        {{"  7", "", "  1"}, {"", "  1", "  7"}},
    };
    for (const auto& [adifs, expected] : cases) {
        auto list = std::make_unique<TListaDXCC>();
        for (std::size_t r = 1; r <= adifs.size(); ++r) {
            list->CountryTable[r].CountryNr = "00" + std::to_string(r);
            list->CountryTable[r].CountryAdif = adifs[r - 1];
        }
        const int count = static_cast<int>(adifs.size());
        SortCountriesByAdif(*list, 1, count);
        std::vector<std::string> sorted;
        for (int r = 1; r <= count; ++r) sorted.push_back(list->CountryTable[r].CountryAdif);
        EXPECT_EQ(sorted, expected);

        SortCountriesByNr(*list, 1, count);
        for (int r = 1; r <= count; ++r) {
            EXPECT_EQ(list->CountryTable[r].CountryAdif, adifs[r - 1]) << "list order again";
        }
    }
}

TEST_F(BookmarksTest, CountryCsvNamesEachGroupsEntityAndItsPrefixes) {
    // The first entity's prefixes stand on three list lines (two zone changes).
    Load({HeaderLine("Principality of Long Name Isles", 14, 28, "EU", "1"),
          PrefixLine("QA,QB(15),QC(16)"), HeaderLine("Next", 14, 28, "EU", "2"), PrefixLine("QN")});
    ASSERT_EQ(values.RunStatus, 0);
    CountryGroupTable groups;
    const std::vector<CountryGroup> content = {
        Group(1, 3, "QA1AA", "QC9ZZ", 1, 1), Group(4, 4, "Q1X", "Q1Y", 998, 998),
        Group(5, 6, "QB1", "QB2", 999, 999), Group(7, 7, "", "", 0, 0),
        Group(8, 8, "QN1A", "QN1A", 2, 2),
    };
    for (std::size_t g = 0; g < content.size(); ++g) groups[g + 1] = content[g];

    WriteCountryCsv(dir.file("COUNTRY.CSV"), groups, static_cast<int>(content.size()), *list);

    EXPECT_EQ(
        TempDir::read(dir.file("COUNTRY.CSV")),
        CrLf({"\"NR_CTY_COUNTRY\",\"NR_ADIF_DXCC\",\"COUNTRY\",\"START_CALL\",\"END_CALL\","
              "\"PREFIKSES\"",
              "\"1\",\"1\",\"PRINCIPALITY OF LONG NAME ISLE\",\"QA1AA\",\"QC9ZZ\",\"QA,QB,QC,\"",
              "\"998\",\"998\",\"COUNTRY NOT PRESENT\",\"Q1X\",\"Q1Y\",\"\"",
              "\"999\",\"999\",\"DIRECT\",\"QB1\",\"QB2\",\"\"", "\"0\",\"0\",\"\",\"\",\"\",\"\"",
              "\"2\",\"2\",\"NEXT\",\"QN1A\",\"QN1A\",\"QN,\""}));
}

TEST_F(BookmarksTest, CountryCsvPrefixesStopAfterPassing250Characters) {
    // 40 items of 9 characters: four to a list line, each line's text 39 characters plus ",".
    std::vector<std::string> lines = {HeaderLine("Big", 14, 28, "EU", "1")};
    for (int line = 0; line < 5; ++line) {
        std::string items;
        for (int i = 1; i <= 8; ++i) {
            char item[16];
            std::snprintf(item, sizeof item, "PFX%06d", line * 8 + i);
            items += (i > 1 ? "," : "") + std::string(item);
        }
        lines.push_back(PrefixLine(items));
    }
    Load(lines);
    CountryGroupTable groups;
    groups[1] = Group(1, 1, "Q1", "Q1", 1, 1);

    WriteCountryCsv(dir.file("COUNTRY.CSV"), groups, 1, *list);

    const std::string csv = TempDir::read(dir.file("COUNTRY.CSV"));
    EXPECT_NE(csv.find("PFX000028,\"\r\n"), std::string::npos) << csv;
    EXPECT_EQ(csv.find("PFX000029"), std::string::npos);
}

TEST_F(BookmarksTest, WriteFailuresThrowFileError) {
    WriteList();
    list = std::make_unique<TListaDXCC>();
    LoadDxccList(*list, texts, ui, values);
    const std::string missing = dir.file("no/such/dir");

    EXPECT_THROW(WriteCountrisCsv(*list, missing), FileError);
    EXPECT_THROW(WriteCountryCsv(missing + "/COUNTRY.CSV", CountryGroupTable{}, 0, *list),
                 FileError);
}

}  // namespace
}  // namespace velmark::testing
