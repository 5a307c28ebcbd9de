#include "dxcc_import/exact_calls.h"

#include <gtest/gtest.h>

#include "cty_excerpt.h"
#include "dxcc/callsign_resolver.h"
#include "dxcc_import/list_making.h"

namespace velmark::dxcc_import {
namespace {

using testing::ParseText;

// USA: =K1A and =K1ABC only change the CQ zone, =K1AB and =W1AW change nothing, =KH6XX lives on
// the mainland. Hawaii and Canada hold calls the prefixes give to the USA; =K1HIA/P is a "/"
// call, =VE1ABC changes the ITU zone alone. Short calls (=KH6XX, =K9VE, =K1HI) need guards,
// =W9ABC does not.
const std::string kCalls =
    "K,United States,291,NA,5,8,0,0,0,K W =K1A(4) =K1AB =K1ABC(4) =KH6XX =W1AW;\n"
    "KH6,Hawaii,110,OC,31,61,0,0,0,KH6 =K1HI =K2HI =K3HI =K1HIA/P;\n"
    "VE,Canada,1,NA,5,9,0,0,0,VE =VE1ZZ(4) =K9VE =VE1ABC[4] =W9ABC;\n";

class ExactCalls : public ::testing::Test {
  protected:
    std::vector<ListEntity> entities = FoldNonDxccEntities(ParseText(kCalls).entities);
    CountryFileResolver prefixes{entities, false};
    CountryFileResolver full{entities, true};
    // The list's prefix pass: the searched part of a "/" call, then its longest prefix.
    PrefixResolver byPrefixes = [this](const std::string& call) {
        return prefixes.Resolve(SearchedPart(call));
    };

    ExactCallRanking rank() {
        return RankExactCalls(entities, byPrefixes, PlainPrefixes(entities));
    }

    // How the list answers with these entries in it: an exact entry matches as the start of the
    // callsign, the longest one winning; without one the prefixes decide.
    std::optional<Answer> listAnswer(const ExactCallChoice& choice, const std::string& call) {
        const WrittenEntry* best = nullptr;
        for (const auto& [text, entry] : choice.kept) {
            if (("=" + call).rfind(text, 0) == 0 && (!best || text.size() > best->text.size()))
                best = &entry;
        }
        return best ? std::optional<Answer>(best->answer) : byPrefixes(call);
    }
};

std::vector<std::string> headsOf(const ExactCallRanking& ranking) {
    std::vector<std::string> heads;
    for (const auto& group : ranking.groups) heads.push_back(group.front().text);
    return heads;
}

TEST(CanBeginLongerCall, ShortSuffixesWithoutSlash) {
    const std::pair<const char*, bool> cases[] = {
        {"4U1G", true},    {"VY0A", true},      {"K1AB", true},  {"EF6", true},
        {"KC4AAA", false}, {"DL0ABC/P", false}, {"RAEM", false}, {"", false},
        {"4U1ITU", false}, {"VE2/K5YG", false},
    };
    for (const auto& [call, expected] : cases)
        EXPECT_EQ(CanBeginLongerCall(call), expected) << call;
}

TEST_F(ExactCalls, RanksByHowMuchTheyChangeThenByRoomAndRarity) {
    const ExactCallRanking ranking = rank();
    EXPECT_EQ(ranking.exactCallCount, 13);
    EXPECT_EQ(ranking.neededCount, 11);
    EXPECT_EQ(ranking.redundantCount, 2);
    EXPECT_EQ(ranking.tooLongCount, 0);
    EXPECT_EQ(ranking.noFormCount, 0);
    // Another entity without "/" (the call without guards first, then the USA's single call
    // before Canada's and Hawaii's, each with its guards), then with "/", then the CQ zone
    // (Canada's single call, the USA's call before =K1A with its companion), then the ITU zone.
    EXPECT_EQ(headsOf(ranking),
              (std::vector<std::string>{"=W9ABC", "=KH6XX", "=K9VE", "=K1HI", "=K2HI", "=K3HI",
                                        "=K1HIA/P", "=VE1ZZ", "=K1ABC", "=K1A", "=VE1ABC"}));
}

TEST_F(ExactCalls, AShortCallComesWithGuardsOrTheCallsItWouldCatch) {
    const ExactCallRanking ranking = rank();
    // =KH6XX: every longer KH6XX... is Hawaii's, as its prefix says; 26 guards, one per letter.
    const std::vector<WrittenEntry>& kh6xx = ranking.groups[1];
    ASSERT_EQ(kh6xx.size(), 27u);
    EXPECT_EQ(kh6xx[0], (WrittenEntry{"=KH6XX", {291, 5, 8}, false}));
    EXPECT_EQ(kh6xx[1], (WrittenEntry{"=KH6XXA", {110, 31, 61}, true}));
    EXPECT_EQ(kh6xx[26], (WrittenEntry{"=KH6XXZ", {110, 31, 61}, true}));
    // =K1A keeps the entity: longer K1A... calls stay in the USA, so no guard; but =K1AB, which
    // the prefixes answer right, would take K1A's zone and comes along.
    EXPECT_EQ(ranking.groups[9], (std::vector<WrittenEntry>{{"=K1A", {291, 4, 8}, false},
                                                            {"=K1AB", {291, 5, 8}, false}}));
    // Calls with "/" and long suffixes cannot begin a longer call.
    EXPECT_EQ(ranking.groups[0].size(), 1u);
    EXPECT_EQ(ranking.groups[6].size(), 1u);
    EXPECT_EQ(ranking.groups[10].size(), 1u);
}

TEST_F(ExactCalls, FillsTheCapacityInRankOrderWithWholeGroups) {
    const ExactCallRanking ranking = rank();
    struct Case {
        int capacity;
        int keptNeeded;
        int guards;
        bool k1aKept;
    };
    const Case cases[] = {
        {0, 0, 0, false},        {-1, 0, 0, false}, {1, 1, 0, false},  // =W9ABC
        {27, 6, 0, true},    // the groups of 27 are passed over for the smaller ones after them
        {28, 2, 26, false},  // =W9ABC, then =KH6XX with its guards
        {33, 6, 26, true},   // and =K1HIA/P, =VE1ZZ, =K1ABC, =K1A with =K1AB
        {200, 11, 5 * 26, true},
    };
    for (const Case& c : cases) {
        const ExactCallChoice choice = TakeExactCalls(ranking, c.capacity);
        EXPECT_EQ(choice.keptNeededCount, c.keptNeeded) << c.capacity;
        EXPECT_EQ(choice.droppedCount, 11 - c.keptNeeded) << c.capacity;
        EXPECT_EQ(choice.guardCount, c.guards) << c.capacity;
        EXPECT_EQ(choice.keepsExactCall("=K1A"), c.k1aKept) << c.capacity;
        EXPECT_LE(static_cast<int>(choice.kept.size()), std::max(c.capacity, 0)) << c.capacity;
        EXPECT_EQ(choice.keptExactCallCount + choice.guardCount,
                  static_cast<int>(choice.kept.size()));
    }
}

TEST_F(ExactCalls, NothingKeptSendsACallAstrayThatThePrefixesAnswerRight) {
    // Whatever the room, every exact call of the file resolves as the file says unless it was
    // dropped, and longer calls that no exact call names keep the entity their prefixes give.
    const ExactCallRanking ranking = rank();
    const char* longerCalls[] = {"KH6XXA", "KH6XXQZ", "K9VEB", "K1HIAB", "K2HIZ", "VE1ZZA"};
    for (int capacity = 0; capacity <= 150; capacity += 5) {
        const ExactCallChoice choice = TakeExactCalls(ranking, capacity);
        int wrong = 0;
        for (const ListEntity& entity : entities) {
            for (const CountryFileItem& item : entity.items) {
                if (!item.isExactCall())
                    continue;
                const bool right = listAnswer(choice, item.bare()) == AnswerOf(item, entity);
                EXPECT_TRUE(right || byPrefixes(item.bare()) != AnswerOf(item, entity))
                    << item.text << " " << capacity;
                wrong += !right;
            }
        }
        EXPECT_LE(wrong, choice.droppedCount) << capacity;
        for (const char* call : longerCalls) {
            EXPECT_EQ(listAnswer(choice, call)->adifNr, byPrefixes(call)->adifNr)
                << call << " " << capacity;
        }
    }
}

TEST_F(ExactCalls, CallsWithoutARoomyFormAreLeftOut) {
    // Mainland calls that the prefixes give to Hawaii: 17 characters with "=" is longer than a
    // lookup key; 16 fits, but a guard after it would not, so it has no form either.
    entities[0].items.push_back({"=KH6ABCDEFGHIJKLM", 5, 8});
    entities[0].items.push_back({"=KH6ABCDEFGHIJK1", 5, 8});
    entities[0].items.push_back({"=KH6ABCDEFGHIJKL", 5, 8});  // no digit at its end: no guards
    const ExactCallRanking ranking = rank();
    EXPECT_EQ(ranking.neededCount, 14);
    EXPECT_EQ(ranking.tooLongCount, 1);
    EXPECT_EQ(ranking.noFormCount, 1);
    const ExactCallChoice choice = TakeExactCalls(ranking, 1000);
    EXPECT_EQ(choice.droppedCount, 2);
    EXPECT_FALSE(choice.keepsExactCall("=KH6ABCDEFGHIJKLM"));
    EXPECT_FALSE(choice.keepsExactCall("=KH6ABCDEFGHIJK1"));
    EXPECT_TRUE(choice.keepsExactCall("=KH6ABCDEFGHIJKL"));
}

}  // namespace
}  // namespace velmark::dxcc_import
