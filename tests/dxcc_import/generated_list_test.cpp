// The converter's output read back by the program's own loader and resolver: what the tool
// relies on when it proves data/DXCC.LST.

#include <gtest/gtest.h>

#include "cty_excerpt.h"
#include "dxcc_import/exact_calls.h"
#include "dxcc_import/list_layout.h"
#include "dxcc_import/loaded_list.h"
#include "support/temp_dir.h"

namespace velmark::dxcc_import {
namespace {

using testing::kCtyExcerpt;
using testing::ParseText;

class GeneratedList : public ::testing::Test {
  protected:
    velmark::testing::TempDir dir;
    std::vector<ListEntity> entities = FoldNonDxccEntities(ParseText(kCtyExcerpt).entities);

    LoadedList load(const ListLayout& layout) {
        return LoadedList(dir.write("DXCC.LST", ListFileText(layout, " test list")),
                          dir.path().string());
    }

    // The converter's steps: the plain prefixes decide which exact calls are needed.
    ExactCallChoice choose(int capacity) {
        LoadedList plain = load(LayOutList(entities, [](const std::string&) { return false; }));
        EXPECT_TRUE(plain.clean());
        return TakeExactCalls(
            RankExactCalls(entities, [&](const std::string& call) { return plain.Resolve(call); }),
            capacity);
    }

    ListLayout layoutWith(const std::set<std::string>& kept) {
        return LayOutList(entities, [&](const std::string& text) { return kept.count(text) > 0; });
    }
};

TEST_F(GeneratedList, LoadsCleanlyWithTheCountsTheLayoutForesees) {
    const ListLayout layout = layoutWith(choose(100).kept);
    LoadedList loaded = load(layout);
    ASSERT_TRUE(loaded.clean()) << ::testing::PrintToString(loaded.messages());
    EXPECT_EQ(loaded.list().CountryCount, layout.entityCount);
    EXPECT_EQ(loaded.list().ListLineCount, layout.listLineCount);
    EXPECT_EQ(loaded.list().PrefixCount, layout.prefixEntryCount);
    EXPECT_EQ(loaded.list().CountryTable[2].CountryName, "ITALY");
    EXPECT_EQ(loaded.list().CountryTable[2].CountryAdif, "248");
}

TEST_F(GeneratedList, KeepsExactlyTheExactCallsTheLoadedPrefixesGetWrong) {
    // =DL1XYZ, =IT9ABC and =IG9XYZ resolve right through their prefixes; =IT9XYZ/P does too,
    // since the lookup drops a /P designator. The others give another entity or other zones.
    EXPECT_EQ(choose(100).kept, (std::set<std::string>{"=DL0ABC", "=IZ9ABC", "=UA9ABC/3", "=R9AB",
                                                       "=UA3XYZ/9", "=VER20230502"}));
}

TEST_F(GeneratedList, ResolvesEveryItemAsTheCountryFileSaysSaveTheDroppedCalls) {
    for (const int capacity : {0, 2, 4, 100}) {
        const ExactCallChoice choice = choose(capacity);
        LoadedList loaded = load(layoutWith(choice.kept));
        ASSERT_TRUE(loaded.clean()) << capacity;
        int wrong = 0;
        for (const ListEntity& entity : entities) {
            for (const CountryFileItem& item : entity.items) {
                const bool right = loaded.Resolve(item.bare()) == AnswerOf(item, entity);
                EXPECT_TRUE(right || item.isExactCall()) << item.text << " " << capacity;
                wrong += !right;
            }
        }
        EXPECT_EQ(wrong, choice.droppedCount) << capacity;
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
    }
    LoadedList good(dir.write("DXCC.LST", header + "\r\n  I,IT9\r\n"), dir.path().string());
    EXPECT_TRUE(good.clean()) << ::testing::PrintToString(good.messages());
}

}  // namespace
}  // namespace velmark::dxcc_import
