#include "dxcc_import/country_file.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "cty_excerpt.h"
#include "dxcc_import/entity_numbers.h"
#include "settings/text_table.h"
#include "support/temp_dir.h"

namespace velmark::dxcc_import {
namespace {

using testing::kCtyDatExcerpt;
using testing::kCtyExcerpt;
using testing::ParseText;

CountryFileProblem problemOf(const std::string& text) {
    try {
        ParseText(text);
    } catch (const CountryFileError& e) {
        return e.problem();
    }
    ADD_FAILURE() << "no refusal: " << text;
    return CountryFileProblem::NoEntity;
}

TEST(CountryFile, ReadsEntitiesWithTheirZonesAndItems) {
    const CountryFile file = ParseText(kCtyExcerpt);
    ASSERT_EQ(file.entities.size(), 6u);
    const CountryFileEntity& germany = file.entities[0];
    EXPECT_EQ(germany.lineNumber, 1);
    EXPECT_EQ(germany.primaryPrefix, "DL");
    EXPECT_TRUE(germany.isDxccEntity);
    EXPECT_EQ(germany.name, "Fed. Rep. of Germany");
    EXPECT_EQ(germany.adifNr, 230);
    EXPECT_EQ(germany.continent, "EU");
    EXPECT_EQ(germany.cqZone, 14);
    EXPECT_EQ(germany.ituZone, 28);
    ASSERT_EQ(germany.items.size(), 5u);
    EXPECT_EQ(germany.items[3].text, "=DL0ABC");
    EXPECT_TRUE(germany.items[3].isExactCall());
    EXPECT_EQ(germany.items[3].bare(), "DL0ABC");
    EXPECT_FALSE(germany.items[0].isExactCall());

    const CountryFileEntity& sicily = file.entities[2];
    EXPECT_FALSE(sicily.isDxccEntity);
    EXPECT_EQ(sicily.primaryPrefix, "IT9");
}

TEST(CountryFile, ZoneOverridesApplyToTheirItemOnly) {
    struct Case {
        std::string items;
        int cq, itu;
    };
    const Case cases[] = {
        {"DL", 14, 28},
        {"DL(15)", 15, 28},
        {"DL[27]", 14, 27},
        {"DL(15)[27]", 15, 27},
        {"DL[27](15)", 15, 27},
        {"=DL0ABC(40)[90]", 40, 90},
        {"DL<50.0/-8.0>", 14, 28},
        {"DL{AS}(16)~-2.0~", 16, 28},
    };
    for (const Case& c : cases) {
        const CountryFile file =
            ParseText("DL,Germany,230,EU,14,28,51.00,-10.00,-1.0," + c.items + " DA;\n");
        const auto& items = file.entities.at(0).items;
        ASSERT_EQ(items.size(), 2u) << c.items;
        EXPECT_EQ(items[0].cqZone, c.cq) << c.items;
        EXPECT_EQ(items[0].ituZone, c.itu) << c.items;
        EXPECT_EQ(items[0].text.find_first_of("([<{~"), std::string::npos) << c.items;
        EXPECT_EQ(items[1].cqZone, 14) << c.items;
        EXPECT_EQ(items[1].ituZone, 28) << c.items;
    }
}

TEST(CountryFile, TakesTheReleaseFromTheVersionMarker) {
    EXPECT_EQ(ParseText(kCtyExcerpt).version, "20230502");
    EXPECT_EQ(ParseText("DL,Germany,230,EU,14,28,0,0,0,DL =VER2023;\n").version, "");
}

TEST(CountryFile, ANameMayHoldCommas) {
    const CountryFile file = ParseText("PJ2,Curacao, Bonaire, Saba,517,SA,9,11,0,0,0,PJ2;\n");
    EXPECT_EQ(file.entities.at(0).name, "Curacao, Bonaire, Saba");
    EXPECT_EQ(file.entities.at(0).adifNr, 517);
}

TEST(CountryFile, RefusesLinesTheListCouldNotCarry) {
    const std::string good = "DL,Germany,230,EU,14,28,51.00,-10.00,-1.0,";
    const std::string bad[] = {
        good + "DL DA",                                    // no closing ";"
        good + "DL D.A;",                                  // "." would read as a range
        good + "DL D*;",                                   // "*" is a wildcard in the list
        good + "dl;",                                      // lower case
        good + "DL(41);",                                  // no CQ zone 41
        good + "DL[0];",                                   // no ITU zone 0
        good + "DL(14;",                                   // unclosed override
        good + "DL(14)X;",                                 // text after an override
        good + "=;",                                       // empty exact call
        "DL,Germany,230,EU,14,28,51.00,-10.00,DL;",        // a field short
        "DL,Germany,230,XX,14,28,51.00,-10.00,-1.0,DL;",   // unknown continent
        "DL,Germany,2300,EU,14,28,51.00,-10.00,-1.0,DL;",  // entity number
        "DL,Germany,23a,EU,14,28,51.00,-10.00,-1.0,DL;",   // entity number
        "",                                                // no entity at all
    };
    for (const std::string& text : bad) {
        EXPECT_THROW(ParseText("\n" + text + "\n"), CountryFileError) << text;
    }
}

TEST(CountryFile, AnErrorNamesTheLineInTheUsersLanguage) {
    TNazwyJezykowe english;
    english.Fill(kLanguageEnglish);
    TNazwyJezykowe polish;
    polish.Fill(kLanguagePolish);
    try {
        ParseText("DL,Germany,230,EU,14,28,0,0,0,DL;\r\n\r\nI,Italy,248,EU,15,28,0,0,0,I(99);\n");
        FAIL() << "no error";
    } catch (const CountryFileError& e) {
        EXPECT_EQ(e.lineNumber(), 3);
        EXPECT_EQ(DescribeCountryFileError(e, english),
                  "line no. 3: the CQ zone is not a number from 1 to 40: 99");
        EXPECT_EQ(DescribeCountryFileError(e, polish).substr(0, 12), "linia nr 3: ");
    }
    // A problem of the whole file names no line.
    EXPECT_EQ(DescribeCountryFileError(
                  CountryFileError(CountryFileProblem::TooManyEntities, 0, "601"), english),
              "more DXCC entities than the list holds (600): 601");
}

TEST(CountryFile, ReadsTheCtyDatLayoutAsTheSameEntities) {
    const CountryFile csv = ParseText(kCtyExcerpt);
    const CountryFile dat = ParseText(kCtyDatExcerpt);
    EXPECT_EQ(csv.layout, CountryFileLayout::Csv);
    EXPECT_EQ(dat.layout, CountryFileLayout::Dat);
    EXPECT_EQ(dat.version, "20230502");
    ASSERT_EQ(dat.entities.size(), csv.entities.size());
    for (std::size_t i = 0; i < csv.entities.size(); ++i) {
        const CountryFileEntity& a = csv.entities[i];
        const CountryFileEntity& b = dat.entities[i];
        EXPECT_EQ(b.name, a.name);
        EXPECT_EQ(b.primaryPrefix, a.primaryPrefix);
        EXPECT_EQ(b.isDxccEntity, a.isDxccEntity);
        EXPECT_EQ(b.adifNr, a.adifNr) << a.name;
        EXPECT_EQ(b.continent, a.continent);
        EXPECT_EQ(b.cqZone, a.cqZone);
        EXPECT_EQ(b.ituZone, a.ituZone);
        ASSERT_EQ(b.items.size(), a.items.size()) << a.name;
        for (std::size_t k = 0; k < a.items.size(); ++k) {
            EXPECT_EQ(b.items[k].text, a.items[k].text);
            EXPECT_EQ(b.items[k].cqZone, a.items[k].cqZone);
            EXPECT_EQ(b.items[k].ituZone, a.items[k].ituZone);
        }
    }
    // The second entity line is line 3; Asiatic Russia's items run over lines 12 and 13.
    EXPECT_EQ(dat.entities[1].lineNumber, 3);
    EXPECT_EQ(dat.entities[5].lineNumber, 11);
}

TEST(CountryFile, RefusesCtyDatLinesWithTheirProblem) {
    const std::string germany =
        "Fed. Rep. of Germany:  14:  28:  EU:  51.00:  -10.00:  -1.0:  DL:\n";
    const std::pair<std::string, CountryFileProblem> cases[] = {
        {germany + "    DA,DB,DL\n", CountryFileProblem::NoClosingSemicolon},
        {germany + "    DA,DB,DL\nItaly:  15:  28:  EU:  0:  0:  0:  I:\n    I;\n",
         CountryFileProblem::NoClosingSemicolon},
        {"    DA,DB;\n" + germany, CountryFileProblem::PrefixLineFirst},
        {"Germany:  14:  28:  EU:  51.00:  -10.00:  -1.0:  DL\n    DL;\n",
         CountryFileProblem::FieldCount},
        {"Nowhere:  14:  28:  EU:  51.00:  -10.00:  -1.0:  Q9Q:\n    Q9;\n",
         CountryFileProblem::UnknownPrimaryPrefix},
        {"Germany:  14:  28:  XX:  51.00:  -10.00:  -1.0:  DL:\n    DL;\n",
         CountryFileProblem::UnknownContinent},
        {"Germany:  41:  28:  EU:  51.00:  -10.00:  -1.0:  DL:\n    DL;\n",
         CountryFileProblem::CqZone},
        {"Germany:  14:  9O:  EU:  51.00:  -10.00:  -1.0:  DL:\n    DL;\n",
         CountryFileProblem::ItuZone},
        {germany + "    DA,D A;\n", CountryFileProblem::BadItem},
        {":  14:  28:  EU:  51.00:  -10.00:  -1.0:  DL:\n    DL;\n",
         CountryFileProblem::EmptyPrefixOrName},
        {"\r\n  \n", CountryFileProblem::NoEntity},
    };
    for (const auto& [text, problem] : cases) EXPECT_EQ(problemOf(text), problem) << text;
}

TEST(EntityNumbers, KnowsEveryPrimaryPrefixOfTheTableAndNoOther) {
    const auto table = PrimaryPrefixTable();
    EXPECT_GE(table.size(), 340u);
    EXPECT_TRUE(std::is_sorted(table.begin(), table.end()));
    for (const auto& [prefix, number] : table) {
        EXPECT_EQ(EntityNumberOfPrimaryPrefix(prefix), number) << prefix;
        EXPECT_GE(number, 1);
        EXPECT_LE(number, 999);
    }
    EXPECT_EQ(EntityNumberOfPrimaryPrefix("SP"), 269);
    EXPECT_EQ(EntityNumberOfPrimaryPrefix("3D2/c"), 489);
    EXPECT_EQ(EntityNumberOfPrimaryPrefix("*IT9"), 248);
    EXPECT_EQ(EntityNumberOfPrimaryPrefix("IT9"), std::nullopt);
    EXPECT_EQ(EntityNumberOfPrimaryPrefix(""), std::nullopt);
}

TEST(CountryFile, AMissingFileIsAFileError) {
    const velmark::testing::TempDir dir;
    EXPECT_THROW(ReadCountryFile(dir.file("cty.csv")), FileError);
    EXPECT_EQ(ReadCountryFile(dir.write("cty.csv", kCtyExcerpt)).entities.size(), 6u);
}

}  // namespace
}  // namespace velmark::dxcc_import
