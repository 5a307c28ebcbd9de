#include "core/cp1250.h"

#include <gtest/gtest.h>

#include "core/errors.h"

namespace velmark {
namespace {

TEST(Cp1250, PolishLettersRoundTripThroughUtf8) {
    const std::string letters = "ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ";
    const std::string bytes = Utf8ToCp1250(letters);
    EXPECT_EQ(bytes, "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF \xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF");
    EXPECT_EQ(Cp1250ToUtf8(bytes), letters);
}

TEST(Cp1250, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(all)), all);
}

TEST(Cp1250, UndefinedBytesPassThroughAsC1Characters) {
    for (const unsigned char b : {0x81, 0x83, 0x88, 0x90, 0x98}) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(Cp1250ToUtf8(byte), std::string({'\xC2', static_cast<char>(b)})) << int(b);
    }
}

TEST(Cp1250, UnrepresentableOrMalformedTextIsAConversionError) {
    EXPECT_THROW(Utf8ToCp1250("\xE2\x82\xAC\xE6\x97\xA5"), FileError);  // "€日": 日 has no byte
    EXPECT_THROW(Utf8ToCp1250("\xC3"), FileError);                      // cut sequence
    EXPECT_THROW(Utf8ToCp1250("\xC1\x81"), FileError);                  // "A" written too long
    EXPECT_EQ(Utf8ToCp1250("\xE2\x82\xAC"), "\x80");                    // € is 0x80
}

}  // namespace
}  // namespace velmark
