#include "dxcc_import/list_layout.h"

#include <gtest/gtest.h>

#include "cty_excerpt.h"

namespace velmark::dxcc_import {
namespace {

using testing::kCtyExcerpt;
using testing::ParseText;

ListEntity entity(std::string name, int cq, int itu, std::string continent, int adif) {
    return {std::move(name), "X", adif, std::move(continent), cq, itu, {}};
}

CountryFileItem item(std::string text, int cq, int itu) {
    return {std::move(text), cq, itu};
}

TEST(ListLayout, HeaderLineColumns) {
    struct Case {
        std::string name;
        int cq, itu, adif;
        std::string columns1to35, cq36to37, itu41to42, adif87to89;
    };
    const Case cases[] = {
        {"Fed. Rep. of Germany", 14, 28, 230, "FED. REP. OF GERMANY", "14", "28", "230"},
        {"Canada", 5, 9, 1, "CANADA", " 5", " 9", "  1"},
        {"Asiatic Russia", 17, 30, 15, "ASIATIC RUSSIA", "17", "30", " 15"},
        // Longer names keep their first 35 characters.
        {"Heard & McDonald Islands and something longer", 39, 68, 111,
         "HEARD & MCDONALD ISLANDS AND SOMETH", "39", "68", "111"},
        {"Sao Tome & Principe", 36, 47, 219, "SAO TOME & PRINCIPE", "36", "47", "219"},
    };
    for (const Case& c : cases) {
        const std::string line = HeaderLine(entity(c.name, c.cq, c.itu, "AF", c.adif));
        ASSERT_EQ(line.size(), 89u) << c.name;
        std::string name = c.columns1to35;
        name.resize(35, ' ');
        EXPECT_EQ(line.substr(0, 35), name);
        EXPECT_EQ(line.substr(35, 2), c.cq36to37) << c.name;
        EXPECT_EQ(line.substr(37, 3), "   ") << c.name;
        EXPECT_EQ(line.substr(40, 2), c.itu41to42) << c.name;
        EXPECT_EQ(line.substr(42, 3), "   ") << c.name;
        EXPECT_EQ(line.substr(45, 2), "AF") << c.name;
        EXPECT_EQ(line.substr(47, 39), std::string(39, ' ')) << c.name;
        EXPECT_EQ(line.substr(86, 3), c.adif87to89) << c.name;
    }
}

TEST(ListLayout, ItemsWriteOnlyTheZonesThatDifferFromTheHeader) {
    const ListEntity canada = entity("Canada", 5, 9, "NA", 1);
    EXPECT_EQ(ItemText(item("VE", 5, 9), canada), "VE");
    EXPECT_EQ(ItemText(item("VE2", 5, 4), canada), "VE2[4]");
    EXPECT_EQ(ItemText(item("VE3", 4, 9), canada), "VE3(4)");
    EXPECT_EQ(ItemText(item("=VY0AA", 4, 3), canada), "=VY0AA(4)[3]");
}

TEST(ListLayout, GroupsItemsByZonesHeaderZonesFirst) {
    const ListEntity canada = entity("Canada", 5, 9, "NA", 1);
    const std::vector<CountryFileItem> items = {
        item("VE3", 4, 4), item("VE", 5, 9),  item("VE2", 5, 4),    item("VA3", 4, 4),
        item("VA", 5, 9),  item("VA2", 5, 4), item("=VY0AA", 4, 3), item("=VE1X", 5, 9),
    };
    std::vector<std::string> order;
    for (const CountryFileItem& i : OrderByZones(canada, items)) order.push_back(i.text);
    EXPECT_EQ(order, (std::vector<std::string>{"VE", "VA", "=VE1X", "VE3", "VA3", "VE2", "VA2",
                                               "=VY0AA"}));
    // Grouped, every zone pair opens one list line, instead of one per change.
    EXPECT_EQ(CountListLines(canada, OrderByZones(canada, items)), 4);
    EXPECT_EQ(CountListLines(canada, items), 9);
}

TEST(ListLayout, CountsListLinesAsTheLoaderOpensThem) {
    const ListEntity header = entity("Test", 14, 28, "EU", 1);
    struct Case {
        const char* what;
        std::vector<CountryFileItem> items;
        int lines;
    };
    const Case cases[] = {
        {"header only", {}, 1},
        {"header zones", {item("AA", 14, 28), item("AB", 14, 28)}, 1},
        {"a zone change and back", {item("AA", 14, 28), item("AB", 15, 28), item("AC", 14, 28)}, 3},
        {"ITU zone alone", {item("AA", 14, 27)}, 2},
        // 4 x 9 characters and 3 commas make 39; a fifth item passes 40.
        {"prefix text full",
         {item("=AB1CDEFG", 14, 28), item("=AB2CDEFG", 14, 28), item("=AB3CDEFG", 14, 28),
          item("=AB4CDEFG", 14, 28), item("=AB5CDEFG", 14, 28)},
         2},
        {"exactly 40",
         {item("=AB1CDEFG", 14, 28), item("=AB2CDEFG", 14, 28), item("=AB3CDEFG", 14, 28),
          item("=AB4CDEFGH", 14, 28)},
         1},
    };
    for (const Case& c : cases) EXPECT_EQ(CountListLines(header, c.items), c.lines) << c.what;
}

TEST(ListLayout, PrefixLinesStayWithin90ColumnsAndKeepEveryItemInOrder) {
    std::vector<std::string> texts;
    for (int i = 0; i < 300; ++i) {
        texts.push_back(std::string(1 + i % 13, static_cast<char>('A' + i % 26)) + "(4)");
    }
    const std::vector<std::string> lines = PrefixLines(texts);
    std::vector<std::string> back;
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const std::string& line = lines[l];
        ASSERT_LE(line.size(), kPrefixLineWidth);
        ASSERT_EQ(line.substr(0, 2), "  ");  // the loader tells prefix lines by blank columns
        ASSERT_NE(line[2], ' ');
        std::size_t start = 2;
        std::size_t itemsOnLine = 0;
        for (;;) {
            const std::size_t comma = line.find(',', start);
            back.push_back(line.substr(start, comma - start));
            ++itemsOnLine;
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
        // A line ends only when the next item would not fit.
        if (l + 1 < lines.size()) {
            EXPECT_GT(line.size() + 1 + texts[back.size()].size(), kPrefixLineWidth);
        }
        EXPECT_GT(itemsOnLine, 0u);
    }
    EXPECT_EQ(back, texts);
}

TEST(ListLayout, LaysOutEntitiesWithTheChosenExactCalls) {
    std::vector<ListEntity> entities = FoldNonDxccEntities(ParseText(kCtyExcerpt).entities);
    const ListLayout layout =
        LayOutList(entities, [](const std::string& text) { return text == "=IG9XYZ"; });
    EXPECT_EQ(layout.entityCount, 4);
    // Germany 3 prefixes, Italy 6 and =IG9XYZ, European Russia 2, Asiatic Russia 6.
    EXPECT_EQ(layout.prefixEntryCount, 3 + 7 + 2 + 6);
    // Germany 1, Italy 2 (African Italy's zones), European Russia 1, Asiatic Russia 2.
    EXPECT_EQ(layout.listLineCount, 6);
    const std::vector<std::string> expected = {
        HeaderLine(entities[0]), "  DA,DB,DL",
        HeaderLine(entities[1]), "  I,IZ9,IT9,IW9,IG9(33)[37],IH9(33)[37],=IG9XYZ(33)[37]",
        HeaderLine(entities[2]), "  R,U",
        HeaderLine(entities[3]), "  R9,RA9,UA9,UA0(19)[33],RA0(19)[33],R0(19)[33]",
    };
    EXPECT_EQ(layout.lines, expected);
    EXPECT_EQ(ListFileText(layout, " made for a test").substr(0, 40),
              "{ made for a test\r\n" + expected[0].substr(0, 21));
    EXPECT_EQ(ListFileText(layout, "").find('{'), std::string::npos);
    const std::string text = ListFileText(layout, "");
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST(ListLayout, RefusesNamesTheLoaderCouldNotTellApart) {
    const auto never = [](const std::string&) { return false; };
    // Equal once upper-cased and cut to 35 characters: the loader finds numbers by name.
    EXPECT_THROW(LayOutList({entity("Saint Helena", 38, 66, "AF", 250),
                             entity("SAINT HELENA", 38, 66, "AF", 251)},
                            never),
                 CountryFileError);
    EXPECT_THROW(LayOutList({entity(std::string(35, 'A') + "X", 1, 1, "EU", 1),
                             entity(std::string(35, 'A') + "Y", 1, 1, "EU", 2)},
                            never),
                 CountryFileError);
    // A blank second character would make the header read as a prefix line.
    EXPECT_THROW(LayOutList({entity("A Island", 1, 1, "EU", 1)}, never), CountryFileError);
    EXPECT_NO_THROW(LayOutList({entity("AB Island", 1, 1, "EU", 1)}, never));
}

}  // namespace
}  // namespace velmark::dxcc_import
