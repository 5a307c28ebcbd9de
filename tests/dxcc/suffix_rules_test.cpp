#include "dxcc/suffix_rules.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "support/temp_dir.h"

namespace velmark {
namespace {

TEST(SuffixRules, ReadsPrefixAndNoteSkippingCommentsAndEmptyLines) {
    const testing::TempDir dir;
    const std::vector<SuffixRule> rules =
        ReadSuffixRules(dir.write("SUFFIX_RULES.TXT",
                                  "{ comment\r\n\r\n# another\r\n  kg4   two letters: GTMO  \r\n"
                                  "VP2E\r\nQQ9\tnote after a tab\n"));
    ASSERT_EQ(rules.size(), 3u);
    EXPECT_EQ(rules[0].Prefix, "KG4");
    EXPECT_EQ(rules[0].Note, "two letters: GTMO");
    EXPECT_EQ(rules[1].Prefix, "VP2E");
    EXPECT_EQ(rules[1].Note, "");
    EXPECT_EQ(rules[2].Note, "note after a tab");
    EXPECT_TRUE(ReadSuffixRules(dir.file("missing.txt")).empty());
    EXPECT_THROW(ReadSuffixRules(dir.path().string()), FileError);
}

TEST(SuffixRules, ApplyToTheSearchedPartWhenASuffixFollowsThePrefix) {
    const std::vector<SuffixRule> rules = {{"KG4", "k"}, {"KG44", "longer"}, {"VP2", "v"}};
    const std::pair<const char*, const char*> cases[] = {
        {"KG4AB", "k"},        {"KG4A", "k"},        {"KG4ABC", "k"},  {"KG4AB/P", "k"},
        {"KG4ABC/4", "k"},     {"KG44WW", "longer"}, {"KG4", nullptr}, {"W1AW/KG4", nullptr},
        {"KG4/W1AW", nullptr}, {"K1ABC", nullptr},   {"", nullptr},    {"VP2EAB", "v"},
    };
    for (const auto& [call, note] : cases) {
        const SuffixRule* rule = FindSuffixRule(rules, call);
        if (note == nullptr) {
            EXPECT_EQ(rule, nullptr) << call;
        } else {
            ASSERT_NE(rule, nullptr) << call;
            EXPECT_EQ(rule->Note, note) << call;
        }
    }
}

TEST(SuffixRules, TheBundledTableNamesGuantanamoBay) {
    const std::vector<SuffixRule> rules =
        ReadSuffixRules(std::string(VELMARK_SOURCE_DATA_DIR) + "/" + kSuffixRulesFileName);
    const SuffixRule* rule = FindSuffixRule(rules, "KG4XY");
    ASSERT_NE(rule, nullptr);
    EXPECT_NE(rule->Note.find("GUANTANAMO BAY"), std::string::npos);
}

}  // namespace
}  // namespace velmark
