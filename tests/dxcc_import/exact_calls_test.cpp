#include "dxcc_import/exact_calls.h"

#include <gtest/gtest.h>

#include "cty_excerpt.h"

namespace velmark::dxcc_import {
namespace {

using testing::ParseText;

// USA: =K1A and =K1ABC only change zones, =K1AB and =W1AW change nothing, =KH6XX lives on the
// mainland. Hawaii and Canada each hold calls the prefixes give to the USA.
const std::string kCalls =
    "K,United States,291,NA,5,8,0,0,0,K W =K1A(4) =K1AB =K1ABC(4) =KH6XX =W1AW;\n"
    "KH6,Hawaii,110,OC,31,61,0,0,0,KH6 =K1HI =K2HI =K3HI;\n"
    "VE,Canada,1,NA,5,9,0,0,0,VE =VE1ZZ(4) =K9VE;\n";

class ExactCalls : public ::testing::Test {
  protected:
    std::vector<ListEntity> entities = FoldNonDxccEntities(ParseText(kCalls).entities);
    CountryFileResolver prefixes{entities, false};
    CountryFileResolver full{entities, true};
    PrefixResolver byPrefixes = [this](const std::string& call) { return prefixes.Resolve(call); };

    // How the list answers with these exact calls in it: an exact entry matches as the start of
    // the callsign, the longest one winning; without one the prefixes decide.
    std::optional<Answer> listAnswer(const std::set<std::string>& kept, const std::string& call) {
        std::string best;
        for (const std::string& text : kept) {
            if (("=" + call).rfind(text, 0) == 0 && text.size() > best.size())
                best = text;
        }
        return best.empty() ? prefixes.Resolve(call) : full.Resolve(best.substr(1));
    }
};

TEST_F(ExactCalls, RanksOtherEntitiesFirstThenRareEntitiesFirst) {
    const ExactCallRanking ranking = RankExactCalls(entities, byPrefixes);
    EXPECT_EQ(ranking.exactCallCount, 10);
    EXPECT_EQ(ranking.neededCount, 8);
    EXPECT_EQ(ranking.redundantCount, 2);
    EXPECT_EQ(ranking.tooLongCount, 0);
    std::vector<std::string> heads;
    for (const auto& group : ranking.groups) heads.push_back(group.front());
    EXPECT_EQ(heads, (std::vector<std::string>{"=KH6XX", "=K9VE", "=K1HI", "=K2HI", "=K3HI",
                                               "=VE1ZZ", "=K1A", "=K1ABC"}));
    // =K1A would catch =K1AB (right through the prefixes alone) and =K1ABC, so they come along.
    EXPECT_EQ(ranking.groups[6], (std::vector<std::string>{"=K1A", "=K1AB", "=K1ABC"}));
}

TEST_F(ExactCalls, FillsTheCapacityInRankOrderWithWholeGroups) {
    const ExactCallRanking ranking = RankExactCalls(entities, byPrefixes);
    struct Case {
        int capacity;
        std::size_t kept;
        int dropped;
        bool k1aKept;
    };
    // Six single calls first; the three of =K1A's group need room together, =K1ABC alone does
    // with less.
    const Case cases[] = {{0, 0, 8, false}, {5, 5, 3, false}, {7, 7, 1, false},
                          {8, 7, 1, false}, {9, 9, 0, true},  {-1, 0, 8, false}};
    for (const Case& c : cases) {
        const ExactCallChoice choice = TakeExactCalls(ranking, c.capacity);
        EXPECT_EQ(choice.kept.size(), c.kept) << c.capacity;
        EXPECT_EQ(choice.droppedCount, c.dropped) << c.capacity;
        EXPECT_EQ(choice.kept.count("=K1A") == 1, c.k1aKept) << c.capacity;
        EXPECT_EQ(choice.kept.count("=KH6XX"), c.capacity >= 1 ? 1u : 0u) << c.capacity;
    }
}

TEST_F(ExactCalls, NoKeptCallSendsAnotherExactCallAstray) {
    // Whatever the room, every exact call resolves as the country file says, except the needed
    // calls that found no room.
    const ExactCallRanking ranking = RankExactCalls(entities, byPrefixes);
    for (int capacity = 0; capacity <= 10; ++capacity) {
        const ExactCallChoice choice = TakeExactCalls(ranking, capacity);
        int wrong = 0;
        for (const ListEntity& entity : entities) {
            for (const CountryFileItem& item : entity.items) {
                if (!item.isExactCall())
                    continue;
                wrong += listAnswer(choice.kept, item.bare()) != AnswerOf(item, entity);
            }
        }
        EXPECT_EQ(wrong, choice.droppedCount) << capacity;
    }
}

TEST_F(ExactCalls, CallsLongerThanALookupKeyAreDropped) {
    // Mainland calls that the prefixes give to Hawaii.
    entities[0].items.push_back({"=KH6ABCDEFGHIJKLM", 5, 8});  // 17 characters with "="
    entities[0].items.push_back({"=KH6ABCDEFGHIJKL", 5, 8});   // 16: fits
    const ExactCallRanking ranking = RankExactCalls(entities, byPrefixes);
    EXPECT_EQ(ranking.neededCount, 10);
    EXPECT_EQ(ranking.tooLongCount, 1);
    const ExactCallChoice choice = TakeExactCalls(ranking, 100);
    EXPECT_EQ(choice.droppedCount, 1);
    EXPECT_EQ(choice.kept.count("=KH6ABCDEFGHIJKLM"), 0u);
    EXPECT_EQ(choice.kept.count("=KH6ABCDEFGHIJKL"), 1u);
}

}  // namespace
}  // namespace velmark::dxcc_import
