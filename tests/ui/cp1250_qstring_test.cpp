// The boundary between the core's code page 1250 bytes and Qt's Unicode strings, and the
// Qt forms of the core's dialog requests.

#include <gtest/gtest.h>

#include "ui/cp1250_qstring.h"
#include "ui/qt_user_interface.h"

namespace velmark::testing {
namespace {

TEST(Cp1250Boundary, PolishLettersCrossBothWays) {
    // Every Polish letter, small and capital, as code page 1250 bytes.
    const std::string bytes =
        "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF \xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF";
    const QString text = QString::fromUtf8("ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ");
    EXPECT_EQ(ui::FromCp1250(bytes), text);
    EXPECT_EQ(ui::ToCp1250(text), bytes);
}

TEST(Cp1250Boundary, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    // Cyrillic, a CJK character and an emoji (two UTF-16 units) around letters that fit.
    const QString typed = QString::fromUtf8("aЖbÅ漢c😀ł");
    EXPECT_EQ(ui::ToCp1250(typed),
              "a?b?\x3F"
              "c?\xB3");
}

TEST(Cp1250Boundary, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    EXPECT_EQ(ui::ToCp1250(ui::FromCp1250(all)), all);
}

TEST(QtFileFilter, DescriptionPatternPairsBecomeQtNameFilters) {
    EXPECT_EQ(ui::QtFileFilter("File *.adi|*.adi"), "File *.adi (*.adi)");
    EXPECT_EQ(ui::QtFileFilter("Logs|*.adi;*.adif|All|*"), "Logs (*.adi *.adif);;All (*)");
    EXPECT_EQ(ui::QtFileFilter(""), "");
}

}  // namespace
}  // namespace velmark::testing
