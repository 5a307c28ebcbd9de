#include "dxcc_import/entity_folding.h"

#include <gtest/gtest.h>

#include "cty_excerpt.h"

namespace velmark::dxcc_import {
namespace {

using testing::kCtyExcerpt;
using testing::ParseText;

std::vector<std::string> textsOf(const ListEntity& entity) {
    std::vector<std::string> texts;
    for (const CountryFileItem& item : entity.items) texts.push_back(item.text);
    return texts;
}

TEST(EntityFolding, PartsJoinTheEntityWithTheirNumberAndKeepTheirZones) {
    const std::vector<ListEntity> entities = FoldNonDxccEntities(ParseText(kCtyExcerpt).entities);
    ASSERT_EQ(entities.size(), 4u);  // Germany, Italy, European and Asiatic Russia
    const ListEntity& italy = entities[1];
    EXPECT_EQ(italy.name, "Italy");
    EXPECT_EQ(italy.adifNr, 248);
    EXPECT_EQ(italy.continent, "EU");
    EXPECT_EQ(italy.cqZone, 15);
    EXPECT_EQ(italy.ituZone, 28);
    // Own items first, then Sicily's and African Italy's; =IT9ABC, listed by Italy and Sicily,
    // appears once.
    EXPECT_EQ(textsOf(italy),
              (std::vector<std::string>{"I", "IZ9", "=IZ9ABC", "=IT9ABC", "IT9", "IW9", "=IT9XYZ/P",
                                        "IG9", "IH9", "=IG9XYZ"}));
    // African Italy's items carry that part's zones, not Italy's.
    for (std::size_t i = 7; i < italy.items.size(); ++i) {
        EXPECT_EQ(italy.items[i].cqZone, 33) << italy.items[i].text;
        EXPECT_EQ(italy.items[i].ituZone, 37) << italy.items[i].text;
    }
    EXPECT_EQ(italy.items[4].cqZone, 15);
}

TEST(EntityFolding, KeepsTheFileOrderOfTheDxccEntities) {
    const std::vector<ListEntity> entities =
        FoldNonDxccEntities(ParseText("*IT9,Sicily,248,EU,15,28,0,0,0,IT9;\n"
                                      "UA9,Asiatic Russia,15,AS,17,30,0,0,0,UA9;\n"
                                      "I,Italy,248,EU,15,28,0,0,0,I;\n")
                                .entities);
    ASSERT_EQ(entities.size(), 2u);
    EXPECT_EQ(entities[0].primaryPrefix, "UA9");
    EXPECT_EQ(textsOf(entities[1]), (std::vector<std::string>{"I", "IT9"}));
}

TEST(EntityFolding, RefusesWhatWouldMakeLookupsAmbiguous) {
    const std::string bad[] = {
        // a part whose entity number has no DXCC entity
        "I,Italy,248,EU,15,28,0,0,0,I;\n*JW/b,Bear Island,259,EU,40,18,0,0,0,=JW0BEA;\n",
        // two DXCC entities with one number
        "I,Italy,248,EU,15,28,0,0,0,I;\nIT9,Sicily,248,EU,15,28,0,0,0,IT9;\n",
        // one prefix in two entities
        "I,Italy,248,EU,15,28,0,0,0,I IT9;\nDL,Germany,230,EU,14,28,0,0,0,DL IT9;\n",
        // one exact call in a part and in another entity
        "I,Italy,248,EU,15,28,0,0,0,I;\n*IT9,Sicily,248,EU,15,28,0,0,0,=DL1A;\n"
        "DL,Germany,230,EU,14,28,0,0,0,DL =DL1A;\n",
    };
    for (const std::string& text : bad) {
        EXPECT_THROW(FoldNonDxccEntities(ParseText(text).entities), CountryFileError) << text;
    }
}

}  // namespace
}  // namespace velmark::dxcc_import
