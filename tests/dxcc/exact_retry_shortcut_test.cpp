// An exact-call lookup that finds nothing skips its retries with "?" when the list holds no
// entry that such a retry could match (ExactRetriesFindNothing). Every lookup must give the same
// result as with the retries made: compared here on the bundled DXCC list, and the shortcut
// must stay off for lists with entries a retry can match.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "dxcc/callsign_resolver.h"
#include "tests/dxcc/dxcc_test_lists.h"

namespace velmark::testing {
namespace {

constexpr double kDate = 2024.0;

CallsignResolution Resolve(TListaDXCC& list, const std::string& callsign, bool shortcut) {
    list.Resolver.ExactRetriesFindNothing = shortcut;
    list.Resolver.LastKey.reset();  // no answer from the previous lookup
    return ResolveCallsign(list, callsign, kDate);
}

// Callsigns around every text of the table (as it stands, longer, cut short, with "/P", without
// its "=") and random callsign-like texts of up to 14 characters, some with "?" or "/".
std::vector<std::string> CallsignsFor(const TListaDXCC& list) {
    std::vector<std::string> calls;
    for (int i = 1; i <= list.PrefixCount; ++i) {
        const std::string& text = list.PrefixTable[i].PrefixText;
        const std::string bare = !text.empty() && text.front() == '=' ? text.substr(1) : text;
        calls.push_back(bare);
        calls.push_back(bare + "1ABC");
        calls.push_back(bare.substr(0, bare.size() > 0 ? bare.size() - 1 : 0));
        calls.push_back(bare + "/P");
        calls.push_back("X" + bare.substr(bare.size() > 1 ? 1 : 0));
    }
    std::mt19937 random(20240610);
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/?";
    for (int n = 0; n < 20000; ++n) {
        std::string call;
        const std::size_t length = 1 + random() % 14;
        for (std::size_t c = 0; c < length; ++c) call += alphabet[random() % alphabet.size()];
        calls.push_back(call);
    }
    return calls;
}

TEST(ExactRetryShortcut, GivesTheSameEntitiesOnTheBundledList) {
    DxccListFixture fixture;
    std::ifstream in(std::string(VELMARK_SOURCE_DATA_DIR) + "/DXCC.LST", std::ios::binary);
    ASSERT_TRUE(in) << "data/DXCC.LST";
    TListaDXCC& list =
        fixture.LoadBytes({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    ASSERT_GT(list.PrefixCount, 1000);
    ResolveCallsign(list, "Q1", kDate);  // builds the list's search aids
    ASSERT_TRUE(list.Resolver.ExactRetriesFindNothing);
    int differing = 0;
    for (const std::string& call : CallsignsFor(list)) {
        const CallsignResolution fast = Resolve(list, call, true);
        const CallsignResolution full = Resolve(list, call, false);
        EXPECT_EQ(fast, full) << call << ": entity line " << fast.ListLine << " / " << full.ListLine
                              << ", status " << int{fast.Status} << " / " << int{full.Status};
        if (!(fast == full) && ++differing == 10)
            return;
    }
}

// Each list holds an entry that a retry of an exact call can match, so the retries are made;
// the callsign is found only through such a retry.
TEST(ExactRetryShortcut, StaysOffWhenARetryCanMatch) {
    struct Case {
        const char* prefixes;
        const char* callsign;
    };
    const Case cases[] = {
        {"=X?BC", "XYBC"},  // "?" in the 3rd place: the second retry =X?BC
        {"=?YBC", "XYBC"},  // "?" in the 2nd place: the first retry =?YBC
        {"=?XY", "XY"},     // inserted "?": the third retry =?XY
        {"=X", "XQQQ"},     // shorter than 3 characters
        {"=QA*/R", "QB"},   // an entry with "*"
    };
    for (const Case& c : cases) {
        DxccListFixture fixture;
        TListaDXCC& list =
            fixture.Load({HeaderLine("Alpha", 1, 1, "EU", "101"), PrefixLine("QA"),
                          HeaderLine("Bravo", 2, 2, "AS", "102"), PrefixLine(c.prefixes)});
        ASSERT_EQ(fixture.values.RunStatus, 0) << c.prefixes;
        ResolveCallsign(list, "QA1", kDate);
        EXPECT_FALSE(list.Resolver.ExactRetriesFindNothing) << c.prefixes;
    }
    // Found through the retry: the shortcut would have missed it.
    DxccListFixture fixture;
    TListaDXCC& list = fixture.Load({HeaderLine("Alpha", 1, 1, "EU", "101"), PrefixLine("QA"),
                                     HeaderLine("Bravo", 2, 2, "AS", "102"), PrefixLine("=X?BC")});
    ASSERT_EQ(fixture.values.RunStatus, 0);
    const CallsignResolution found = ResolveCallsign(list, "XYBC", kDate);
    EXPECT_EQ(found.Status, kResolveFound);
    EXPECT_EQ(found.AdifNr, 102);
}

}  // namespace
}  // namespace velmark::testing
