// The prefix search finds the longest matching text by bisection instead of comparing the key
// with entry after entry. It must end exactly where the entry-by-entry scan ends, with the same
// last examined text, on every key: compared here with the scan (which the search falls back
// to when the list's "*" count is not there) on the bundled DXCC list and on a small list with
// "*" and "?" entries.

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

void ExpectSameSearch(TListaDXCC& list, const std::vector<std::string>& keys) {
    LookupKey(list, "Q1", kDate, false);  // builds the "*" count
    const std::vector<std::int32_t> counts = list.Resolver.StarEntriesUpTo;
    ASSERT_EQ(counts.size(), static_cast<std::size_t>(list.PrefixCount) + 1);
    int differing = 0;
    for (const std::string& key : keys) {
        list.Resolver.StarEntriesUpTo = counts;
        const PrefixSearchResult fast = SearchPrefixTable(list, key, key, kDate);
        list.Resolver.StarEntriesUpTo.clear();
        const PrefixSearchResult scan = SearchPrefixTable(list, key, key, kDate);
        const bool same =
            fast.Status == scan.Status && fast.ListLine == scan.ListLine &&
            fast.FirstLine == scan.FirstLine && fast.ChosenEntry == scan.ChosenEntry &&
            fast.StopEntry == scan.StopEntry && fast.LastExaminedText == scan.LastExaminedText &&
            fast.SeveralEntries == scan.SeveralEntries;
        EXPECT_TRUE(same) << "key " << key << ": entry " << fast.ChosenEntry << " / "
                          << scan.ChosenEntry << ", last examined " << fast.LastExaminedText
                          << " / " << scan.LastExaminedText;
        if (!same && ++differing == 10)
            return;
    }
}

// Keys around every text of the table: the text itself, longer, cut short, changed in its last
// character, as an exact call, and random callsign-like keys of up to 16 characters.
std::vector<std::string> KeysFor(const TListaDXCC& list) {
    std::vector<std::string> keys;
    for (int i = 1; i <= list.PrefixCount; ++i) {
        const std::string& text = list.PrefixTable[i].PrefixText;
        keys.push_back(text);
        keys.push_back(text + "1ABC");
        keys.push_back(text.substr(0, text.size() - 1));
        std::string changed = text;
        changed.back() = static_cast<char>(changed.back() + 1);
        keys.push_back(changed);
        keys.push_back("=" + text + "/P");
    }
    std::mt19937 random(20240105);
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/=?";
    for (int n = 0; n < 30000; ++n) {
        std::string key;
        const std::size_t length = 1 + random() % 16;
        for (std::size_t c = 0; c < length; ++c) key += alphabet[random() % alphabet.size()];
        keys.push_back(key);
    }
    keys.push_back("");
    return keys;
}

TEST(PrefixSearchShortcut, EndsWhereTheScanEndsOnTheBundledList) {
    DxccListFixture fixture;
    std::ifstream in(std::string(VELMARK_SOURCE_DATA_DIR) + "/DXCC.LST", std::ios::binary);
    ASSERT_TRUE(in) << "data/DXCC.LST";
    TListaDXCC& list =
        fixture.LoadBytes({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    ASSERT_GT(list.PrefixCount, 1000);
    ExpectSameSearch(list, KeysFor(list));
}

TEST(PrefixSearchShortcut, EndsWhereTheScanEndsWithStarAndWildcardEntries) {
    DxccListFixture fixture;
    TListaDXCC& list = fixture.Load(
        {HeaderLine("Alpha", 1, 1, "EU", "101"), PrefixLine("QA,QA1,QA12,=QA1ABC,=QA1AB"),
         HeaderLine("Bravo", 2, 2, "AS", "102"), PrefixLine("=QA2*/R,=QA1*,QB,Q"),
         HeaderLine("Russia", 16, 29, "EU", "110"), PrefixLine("UA,U?9,R,RA9,=R1ABC"),
         HeaderLine("Double One", 12, 12, "EU", "112"), PrefixLine("QD"),
         HeaderLine("Double Two", 13, 13, "EU", "113"), PrefixLine("QD,=QD")});
    ASSERT_EQ(fixture.values.RunStatus, 0);
    std::vector<std::string> keys = KeysFor(list);
    for (const char* key : {"=QA2XYZ/R", "=QA1XYZ", "=QA1AB", "=QA1ABCD", "U?9ABC", "UA9ABC",
                            "RA9AA", "R9AA", "=R1ABC", "=QD", "QD1A", "Q", "QZ"}) {
        keys.push_back(key);
    }
    ExpectSameSearch(list, keys);
}

}  // namespace
}  // namespace velmark::testing
