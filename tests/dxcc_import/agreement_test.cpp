#include "dxcc_import/agreement.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace velmark::dxcc_import {
namespace {

TEST(Agreement, ReadsCallsignsSkippingCommentsAndBlankLines) {
    std::istringstream in("#\r\n# Release 2023.05.02.00\r\nDL1ABC\r\n\r\nK1AB/P \r\n");
    EXPECT_EQ(ReadCallsignList(in), (std::vector<std::string>{"DL1ABC", "K1AB/P"}));
}

TEST(Agreement, CountsEntityAndCqZoneAgreement) {
    const std::map<std::string, std::optional<Answer>> file = {
        {"DL1A", Answer{230, 14, 28}}, {"K1A", Answer{291, 5, 8}}, {"K1B/4", Answer{291, 5, 8}},
        {"VE1A", Answer{1, 5, 9}},     {"Q1A", std::nullopt},      {"R9A", Answer{15, 17, 30}},
    };
    const std::map<std::string, std::optional<Answer>> list = {
        {"DL1A", Answer{230, 14, 27}},  // ITU zone aside: agrees
        {"K1A", Answer{291, 4, 8}},     // same entity, other CQ zone
        {"K1B/4", Answer{291, 5, 8}},  {"VE1A", std::nullopt},
        {"Q1A", std::nullopt},  // no entity in both: agrees
        {"R9A", Answer{54, 17, 30}},
    };
    std::vector<std::string> calls;
    for (const auto& [call, answer] : file) calls.push_back(call);
    const AgreementCounts counts = MeasureAgreement(
        calls, [&](const std::string& c) { return file.at(c); },
        [&](const std::string& c) { return list.at(c); }, 2);
    EXPECT_EQ(counts.calls, 6);
    EXPECT_EQ(counts.agreeing, 3);
    EXPECT_EQ(counts.sameEntity, 4);
    EXPECT_EQ(counts.slashCalls, 1);
    EXPECT_EQ(counts.slashAgreeing, 1);
    EXPECT_EQ(counts.examples,
              (std::vector<std::string>{"K1A file 291/5 list 291/4", "R9A file 15/17 list 54/17"}));
}

TEST(Agreement, CountryFileRulesExactCallBeforeLongestPrefix) {
    const std::vector<ListEntity> entities = {
        {"United States", "K", 291, "NA", 5, 8, {{"K", 5, 8}, {"KH6", 31, 61}, {"=KH6XX", 5, 8}}},
    };
    const CountryFileResolver full(entities);
    const CountryFileResolver prefixes(entities, false);
    EXPECT_EQ(full.Resolve("KH6XX"), (Answer{291, 5, 8}));
    EXPECT_EQ(prefixes.Resolve("KH6XX"), (Answer{291, 31, 61}));
    EXPECT_EQ(full.Resolve("KH6XXX"), (Answer{291, 31, 61}));  // exact means exact
    EXPECT_EQ(full.Resolve("K1ABC/P"), (Answer{291, 5, 8}));
    EXPECT_EQ(full.Resolve("DL1ABC"), std::nullopt);
    EXPECT_EQ(full.Resolve(""), std::nullopt);
}

}  // namespace
}  // namespace velmark::dxcc_import
