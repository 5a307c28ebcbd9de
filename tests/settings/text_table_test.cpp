#include "settings/text_table.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace velmark {
namespace {

using TextField = std::string TNazwyJezykowe::*;

struct KeyedField {
    const char* key;
    TextField field;
};

// Every field of the table, taken from the same row lists the class is built from.
const std::vector<KeyedField>& allFields() {
    static const std::vector<KeyedField> fields = {
#define VELMARK_TEXT(key, polish, english) {#key, &TNazwyJezykowe::key},
#include "settings/text_table.def"
#include "settings/text_table_added.def"
#undef VELMARK_TEXT
    };
    return fields;
}

std::set<std::string> emptyKeys(const TNazwyJezykowe& table) {
    std::set<std::string> keys;
    for (const auto& [key, field] : allFields()) {
        if ((table.*field).empty())
            keys.insert(key);
    }
    return keys;
}

TEST(TextTable, TheOriginalTableHasOneFieldPerText) {
    int originalKeys = 0;
#define VELMARK_TEXT(key, polish, english) ++originalKeys;
#include "settings/text_table.def"
#undef VELMARK_TEXT
    EXPECT_EQ(originalKeys, 153);
}

// Filling converts every text to code page 1250 (a text that does not convert would throw), and
// leaves empty only the texts that are empty in that language: lines built with them simply
// lack that part.
TEST(TextTable, EachLanguageFillsEveryTextButItsEmptyOnes) {
    TNazwyJezykowe polish;
    ASSERT_NO_THROW(polish.Fill(kLanguagePolish));
    EXPECT_EQ(emptyKeys(polish), (std::set<std::string>{"MsgFieldEquals"}));

    TNazwyJezykowe english;
    ASSERT_NO_THROW(english.Fill(kLanguageEnglish));
    EXPECT_EQ(emptyKeys(english), (std::set<std::string>{"MsgForField", "MsgFromSourceCsv"}));
}

struct TextCase {
    const char* key;
    TextField field;
    int language;
    std::string bytes;  // the expected code page 1250 bytes
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.key << '/' << c.language;
}

class TextTableTexts : public testing::TestWithParam<TextCase> {};

TEST_P(TextTableTexts, FillGivesTheExactBytes) {
    const TextCase& c = GetParam();
    TNazwyJezykowe table;
    table.Fill(c.language);
    EXPECT_EQ(table.*c.field, c.bytes);
}

#define VELMARK_CASE(key, language, bytes) (TextCase{#key, &TNazwyJezykowe::key, language, bytes})

// Polish letters as single CP1250 bytes: ą B9, ć E6, ę EA, ł B3, ó F3, ś 9C, ź 9F.
INSTANTIATE_TEST_SUITE_P(
    PolishLetters, TextTableTexts,
    testing::Values(VELMARK_CASE(RepQslCount, kLanguagePolish, "Ilo\x9C\xE6 QSL ek  wysylanych = "),
                    VELMARK_CASE(CapLanguage, kLanguagePolish, "J\xEAzyk"),
                    VELMARK_CASE(BtnConfirmConfig, kLanguagePolish, "Zatwierd\x9F konfiguracj\xEA"),
                    VELMARK_CASE(CabHeader, kLanguagePolish, "Nag\xB3\xF3wek"),
                    VELMARK_CASE(FindWhichCompartment, kLanguagePolish,
                                 "W jak\xB9 przegrodke w archiwum kart wsadzic QSL")));

// Blanks at either end and doubled blanks are part of the text: messages and the report join
// these texts with numbers and file names and rely on the blanks to line them up.
INSTANTIATE_TEST_SUITE_P(
    Blanks, TextTableTexts,
    testing::Values(VELMARK_CASE(MsgForNumber, kLanguageEnglish, " for number "),
                    VELMARK_CASE(MsgLines, kLanguagePolish, "  linii"),
                    VELMARK_CASE(MsgDated, kLanguageEnglish, "  dated  "),
                    VELMARK_CASE(MsgDateErrorInLine, kLanguagePolish, "Blad Daty w Lini Nr =  "),
                    VELMARK_CASE(RepQsoCount, kLanguageEnglish, "Number of QSO             = "),
                    VELMARK_CASE(AboutLine1, kLanguageEnglish,
                                 "Program for sorting file type  .ADIF .CSV and .TXT")));

// Texts empty in one language, a text cut short, and a text that quotes a file name.
INSTANTIATE_TEST_SUITE_P(
    Unusual, TextTableTexts,
    testing::Values(VELMARK_CASE(MsgFieldEquals, kLanguagePolish, ""),
                    VELMARK_CASE(MsgFieldEquals, kLanguageEnglish, "Field ="),
                    VELMARK_CASE(MsgForField, kLanguageEnglish, ""),
                    VELMARK_CASE(MsgFromSourceCsv, kLanguageEnglish, ""),
                    VELMARK_CASE(MenuConfigSortTranslate, kLanguageEnglish,
                                 "Configuration for sort and translate fil"),
                    VELMARK_CASE(RepAlsoInReportTxt, kLanguageEnglish,
                                 "This report also was writed in a text file \"Report.txt\" ")));

#undef VELMARK_CASE

TEST(TextTable, FillingAgainSwitchesEveryText) {
    TNazwyJezykowe switched;
    switched.Fill(kLanguagePolish);
    switched.Fill(kLanguageEnglish);
    TNazwyJezykowe english;
    english.Fill(kLanguageEnglish);
    for (const auto& [key, field] : allFields()) {
        EXPECT_EQ(switched.*field, english.*field) << key;
    }
}

class TextTableOtherCodes : public testing::TestWithParam<int> {};

TEST_P(TextTableOtherCodes, LeaveAFreshTableEmpty) {
    TNazwyJezykowe table;
    table.Fill(GetParam());
    EXPECT_EQ(emptyKeys(table).size(), allFields().size());
}

TEST_P(TextTableOtherCodes, KeepTheTextsOfThePreviousFill) {
    for (const int language : {kLanguagePolish, kLanguageEnglish}) {
        TNazwyJezykowe filled;
        filled.Fill(language);
        TNazwyJezykowe table;
        table.Fill(language);
        table.Fill(GetParam());
        for (const auto& [key, field] : allFields()) {
            EXPECT_EQ(table.*field, filled.*field) << key << " after language " << language;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, TextTableOtherCodes, testing::Values(2, 255, -1));

}  // namespace
}  // namespace velmark
