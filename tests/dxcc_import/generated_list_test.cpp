// The list made from a country file, read back by the program's own loader and resolver.

#include <gtest/gtest.h>

#include "cty_excerpt.h"
#include "dxcc_import/agreement.h"
#include "dxcc_import/list_making.h"
#include "dxcc_import/loaded_list.h"
#include "dxcc_import/scratch_directory.h"
#include "settings/text_table.h"
#include "support/temp_dir.h"

namespace velmark::dxcc_import {
namespace {

using testing::kCtyExcerpt;
using testing::ParseText;

class GeneratedList : public ::testing::Test {
  protected:
    GeneratedList() { texts.Fill(kLanguageEnglish); }

    MadeList make(const std::string& countryFile) {
        return MakeDxccList(ParseText(countryFile), scratch, texts);
    }
    LoadedList load(const MadeList& made) {
        return LoadedList(dir.write("DXCC.LST", made.text), dir.path().string());
    }

    velmark::testing::TempDir dir;
    ScratchDirectory scratch;
    TNazwyJezykowe texts;
};

std::set<std::string> textsOf(const ExactCallChoice& choice, bool guards) {
    std::set<std::string> result;
    for (const auto& [text, entry] : choice.kept) {
        if (entry.guard == guards)
            result.insert(text);
    }
    return result;
}

TEST_F(GeneratedList, LoadsCleanlyWithTheCountsTheLayoutForesees) {
    const MadeList made = make(kCtyExcerpt);
    LoadedList loaded = load(made);
    ASSERT_TRUE(loaded.clean()) << ::testing::PrintToString(loaded.messages());
    EXPECT_NO_THROW(CheckLoadedList(loaded, made.layout));
    EXPECT_EQ(loaded.list().CountryCount, 4);
    EXPECT_EQ(loaded.list().CountryTable[2].CountryName, "ITALY");
    EXPECT_EQ(loaded.list().CountryTable[2].CountryAdif, "248");
    EXPECT_EQ(made.fileEntityCount, 6);
    EXPECT_EQ(made.text.substr(0, 2), "{ ");
    EXPECT_NE(made.text.find("release 20230502"), std::string::npos);
}

TEST_F(GeneratedList, KeepsTheExactCallsThePrefixesGetWrongWithGuardsWhereNeeded) {
    const MadeList made = make(kCtyExcerpt);
    // =DL1XYZ, =IT9ABC and =IG9XYZ resolve right through their prefixes; =IT9XYZ/P does too,
    // since the lookup drops a /P designator. The others give another entity or other zones.
    EXPECT_EQ(textsOf(made.choice, false),
              (std::set<std::string>{"=DL0ABC", "=IZ9ABC", "=UA9ABC/3", "=R9AB", "=UA3XYZ/9",
                                     "=VER20230502"}));
    // =R9AB (European Russia) would catch every longer R9AB... call of Asiatic Russia; the
    // guards keep them there, written as one range.
    const std::set<std::string> guards = textsOf(made.choice, true);
    ASSERT_EQ(guards.size(), 26u);
    EXPECT_EQ(*guards.begin(), "=R9ABA");
    EXPECT_NE(made.text.find("=R9ABA..=R9ABZ"), std::string::npos);
    EXPECT_EQ(made.choice.droppedCount, 0);
}

TEST_F(GeneratedList, LeavesOutPrefixesThatChangeNothingYetAnswersEveryItemAsTheFileSays) {
    const MadeList made = make(kCtyExcerpt);
    // Sicily's IT9 and IW9 and Italy's IZ9 answer as I does.
    EXPECT_EQ(made.redundantPrefixCount, 3);
    EXPECT_EQ(made.text.find("IT9,"), std::string::npos);
    LoadedList loaded = load(made);
    const SelfAgreement agreement = MeasureSelfAgreement(
        made.entities, [&](const std::string& call) { return loaded.Resolve(call); });
    EXPECT_EQ(agreement.items, 27);
    EXPECT_EQ(agreement.sameAnswer, agreement.items);
    EXPECT_EQ(agreement.sameEntity, agreement.items);
    EXPECT_EQ(loaded.Resolve("IT9ZZZ"), (Answer{248, 15, 28}));
    EXPECT_EQ(loaded.Resolve("R9ABC"), (Answer{15, 17, 30}));  // kept there by a guard
    EXPECT_EQ(loaded.Resolve("R9AB"), (Answer{54, 17, 30}));
}

TEST_F(GeneratedList, AntarcticaIsWrittenOnItsOwnContinent) {
    const MadeList made = make(
        "CE9,Antarctica,13,SA,13,74,-90.00,0.00,0.0,CE9 KC4 =KC4AAA(39);\n"
        "K,United States,291,NA,5,8,0,0,0,K W;\n");
    LoadedList loaded = load(made);
    ASSERT_TRUE(loaded.clean());
    EXPECT_EQ(loaded.list().ListLineTable[1].LineName, "ANTARCTICA");
    EXPECT_EQ(loaded.list().ListLineTable[1].Continent, "AN");
    EXPECT_EQ(loaded.Resolve("KC4AAA"), (Answer{13, 39, 74}));
}

TEST_F(GeneratedList, RefusesFilesTheListHasNoRoomFor) {
    const std::string manyEntities = testing::TooManyEntitiesFile();
    const std::string manyPrefixes = testing::TooManyPrefixesFile();
    const std::pair<std::string, CountryFileProblem> cases[] = {
        {manyEntities, CountryFileProblem::TooManyEntities},
        {manyPrefixes, CountryFileProblem::TooManyPrefixes},
    };
    for (const auto& [file, problem] : cases) {
        try {
            make(file);
            ADD_FAILURE() << "no refusal";
        } catch (const CountryFileError& e) {
            EXPECT_EQ(e.problem(), problem);
        }
    }
}

TEST_F(GeneratedList, AListTheLoaderComplainsAboutIsNotClean) {
    const std::string header =
        "ITALY                              15   28   EU                                       248";
    std::string tooManyPrefixes = header + "\r\n";
    for (int i = 0; i < 9001; i += 10) {
        tooManyPrefixes +=
            "  I" + std::to_string(10000 + i) + "..I" + std::to_string(10009 + i) + "\r\n";
    }
    const std::string broken[] = {
        header + "\r\n  I,IA  IB,IT9\r\n",   // comma error (two blanks)
        "  I\r\n" + header + "\r\n  I\r\n",  // prefix line before a header
        header.substr(0, 45) + "XX" + header.substr(47) + "\r\n  I\r\n",  // continent
        tooManyPrefixes,
    };
    for (const std::string& text : broken) {
        LoadedList loaded(dir.write("DXCC.LST", text), dir.path().string());
        EXPECT_FALSE(loaded.clean()) << text.substr(0, 200);
        EXPECT_THROW(CheckLoadedList(loaded, ListLayout{}), CountryFileError);
    }
    LoadedList good(dir.write("DXCC.LST", header + "\r\n  I,IT9\r\n"), dir.path().string());
    EXPECT_TRUE(good.clean()) << ::testing::PrintToString(good.messages());
    // Clean, but not what the layout foresaw.
    EXPECT_THROW(CheckLoadedList(good, ListLayout{{}, 1, 1, 3}), CountryFileError);
}

}  // namespace
}  // namespace velmark::dxcc_import
