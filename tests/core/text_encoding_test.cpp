#include "core/text_encoding.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "core/cp1250.h"

namespace velmark {
namespace {

// UTF-8 text of the test cases, written as the UTF-8 bytes a logger writes.
struct DecodeCase {
    const char* utf8;
    const char* cp1250;
    std::int64_t replaced;
};

class Utf8Decoding : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Utf8Decoding, KeepsWhatCp1250HasAndReplacesTheRest) {
    Replacements replacements;
    EXPECT_EQ(Utf8TextToCp1250(GetParam().utf8, &replacements), GetParam().cp1250);
    EXPECT_EQ(replacements.Count, GetParam().replaced);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, Utf8Decoding,
    ::testing::Values(
        // Polish and German letters, the euro sign and typographic quotes are in code page 1250.
        DecodeCase{"Paweł Żółć, Łódź",
                   "Pawe\xB3 \xAF\xF3\xB3\xE6, \xA3\xF3"
                   "d\x9F",
                   0},
        DecodeCase{"Jörg Groß ä", "J\xF6rg Gro\xDF \xE4", 0},
        DecodeCase{"€ „x” – ™", "\x80 \x84x\x94 \x96 \x99", 0},
        // Letters it lacks become the letter without the accent.
        DecodeCase{"Bjørn Ångström", "Bjorn Angstr\xF6m", 2}, DecodeCase{"Muñoz", "Munoz", 1},
        DecodeCase{"Doğan", "Dogan", 1}, DecodeCase{"Nguyễn Văn", "Nguyen V\xE3n", 1},
        DecodeCase{"Ố", "\xD4", 1},
        // Without a letter to stand in: "?".
        DecodeCase{"Иван", "????", 4}, DecodeCase{"斉藤", "??", 2}, DecodeCase{"73 😀", "73 ?", 1},
        // Bytes that are no UTF-8: each one "?"; a character cut short: one "?".
        DecodeCase{"a\xFF"
                   "b",
                   "a?b", 1},
        DecodeCase{"a\xC5"
                   "b",
                   "a?b", 1},
        DecodeCase{"a\xE2\x82", "a?", 1}, DecodeCase{"\xC0\xAF", "??", 2},
        DecodeCase{"\xED\xA0\x80", "???", 3}));

TEST(Utf8Decoding, PiecesGiveWhatTheWholeGivesWithEachByteAccounted) {
    const std::string text = "QSO Paweł\r\nJörg 😀 \xC5 Muñoz\nИ";
    std::string whole;
    std::vector<unsigned char> wholeWidths;
    Utf8ToCp1250Decoder one;
    one.Decode(text, whole, &wholeWidths);
    one.Finish(whole, &wholeWidths);
    EXPECT_EQ(one.Replacements().FirstLine, 2);  // the emoji
    // A line ended by CR, the next one opened by a letter and ended by LF: two lines.
    Utf8ToCp1250Decoder mixed;
    std::string mixedOut;
    mixed.Decode("a\r\xC5\x82\nb\n\xF0\x9F\x98\x80", mixedOut, nullptr);
    mixed.Finish(mixedOut, nullptr);
    EXPECT_EQ(mixed.Replacements().FirstLine, 4);
    EXPECT_EQ(std::accumulate(wholeWidths.begin(), wholeWidths.end(), std::size_t{0}), text.size());
    EXPECT_EQ(wholeWidths.size(), whole.size());
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        std::string pieces;
        std::vector<unsigned char> widths;
        Utf8ToCp1250Decoder decoder;
        decoder.Decode(text.substr(0, cut), pieces, &widths);
        decoder.Decode(text.substr(cut), pieces, &widths);
        decoder.Finish(pieces, &widths);
        EXPECT_EQ(pieces, whole) << cut;
        EXPECT_EQ(widths, wholeWidths) << cut;
        EXPECT_EQ(decoder.Replacements().Count, one.Replacements().Count) << cut;
    }
}

TEST(Utf8Validator, AcceptsOnlyUtf8AndSeesMultiByteCharacters) {
    struct Case {
        std::string bytes;
        bool complete;
        bool multiByte;
    };
    for (const Case& c :
         {Case{"plain ASCII log", true, false}, Case{"Łódź", true, true},
          Case{std::string(20, 'x') + "ö", true, true},
          Case{"\xB3\xF3\x64\xBC", false, true},  // Łódź in code page 1250
          Case{"J\xF6rg", false, true},           // Latin-1
          Case{"\xC3", false, true}, Case{"\xC0\xAF", false, true},
          Case{"\xED\xA0\x80", false, true}, Case{"\xF4\x90\x80\x80", false, true}}) {
        Utf8Validator validator;
        validator.Feed(c.bytes);
        EXPECT_EQ(validator.IsComplete(), c.complete) << c.bytes;
        if (c.complete) {
            EXPECT_EQ(validator.SawMultiByte(), c.multiByte) << c.bytes;
        }
    }
    Utf8Validator pieces;  // a character cut between two pieces
    EXPECT_TRUE(pieces.Feed("\xC5"));
    EXPECT_FALSE(pieces.IsComplete());
    EXPECT_TRUE(pieces.Feed("\x82 ok"));
    EXPECT_TRUE(pieces.IsComplete());
}

TEST(Utf8Length, CountsTheBytesEachCharacterTakesInUtf8) {
    EXPECT_EQ(Utf8Length("Jorg"), 4u);
    EXPECT_EQ(Utf8Length("J\xF6rg"), 5u);
    EXPECT_EQ(Utf8Length("\x80"), 3u);  // the euro sign
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8Length(all), Cp1250ToUtf8(all).size());
}

TEST(OwnFileText, ByteOrderMarkMeansUtf8) {
    EXPECT_EQ(OwnFileText("\xEF\xBB\xBF\xC5\x81\xC3\xB3\x64\xC5\xBA"), "\xA3\xF3\x64\x9F");
    EXPECT_EQ(OwnFileText("\xA3\xF3\x64\x9F"), "\xA3\xF3\x64\x9F");
    EXPECT_EQ(OwnFileText(""), "");
}

}  // namespace
}  // namespace velmark
