// Contest templates written to hurt: lines of 10 MB, masks of millions of slots, NUL bytes and
// bytes above 127 in names and masks. Loading and building QSO lines end promptly, and the line
// always has the mask's shape.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cabrillo/cabrillo_test_support.h"

namespace velmark::testing {
namespace {

using namespace std::string_literals;

constexpr std::size_t kTenMegabytes = 10u << 20;
constexpr std::size_t kOneMegabyte = 1u << 20;

class HostileTemplateTest : public ::testing::Test {
  protected:
    CabrilloRun run;
    const QsoRecord qso = run.Qso(7, {{"FREQ", "14.025"}, {"MODE", "CW"}, {"CALL", "Q1ABC"}});
};

TEST_F(HostileTemplateTest, HeaderLineOfTenMegabytesIsWrittenAsItStands) {
    const std::string longLine = "SOAPBOX: " + std::string(kTenMegabytes, 'x');
    run.WriteTemplate("LONG.FRM", TemplateLines("[[ FREQ MODE CALL ]]", "QSO: ##### ## #####",
                                                {"START-OF-LOG: 3.0", longLine}));
    run.WriteTymLog({qso});
    ASSERT_TRUE(run.Export("LONG.FRM"));
    EXPECT_EQ(TempDir::read(run.OutputPath()),
              "START-OF-LOG: 3.0\r\n" + longLine + "\r\nQSO: 14025 CW Q1ABC\r\nEND-OF-LOG:\r\n");
}

TEST_F(HostileTemplateTest, QsoLineKeepsTheShapeOfAnyMask) {
    struct Case {
        const char* name;
        std::string mask;
        std::string expectedStart;
    };
    std::string manySlots;
    manySlots.reserve(kOneMegabyte);
    while (manySlots.size() < kOneMegabyte) manySlots += "# ";
    const Case cases[] = {
        {"one slot of 10 MB", "QSO: " + std::string(kTenMegabytes, '#'), "QSO: 14025"},
        {"half a million slots", "QSO: " + manySlots, "QSO: 1 C Q "},
        {"double width of 1 MB", "QSO: " + std::string(kOneMegabyte, '@'),
         "QSO: \x0E"
         "14025\x14"},
        {"NUL and high bytes as literals", "QSO:\0#####\xFF##\xA5#####"s,
         "QSO:\x00"
         "14025\xFF"
         "CW\xA5Q1ABC"s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CabrilloTemplate form = run.Make(TemplateLines("[[ FREQ MODE CALL ]]", c.mask));
        const std::string line = BuildQsoLine(form, qso);
        EXPECT_EQ(line.rfind(c.expectedStart, 0), 0u) << line.substr(0, 40);
        if (c.mask.find('@') == std::string::npos) {
            // Each slot takes one character of its value or a blank; a blank that ends the
            // mask is never written.
            EXPECT_EQ(line.size(), c.mask.back() == ' ' ? c.mask.size() - 1 : c.mask.size());
        }
    }
}

TEST_F(HostileTemplateTest, NamesWithNulOrHighBytesAreUnknownFieldsWithBlankSlots) {
    const CabrilloTemplate form =
        run.Make(TemplateLines("[[ FREQ\0 MO\xD3"
                               "DE CALL ]]"s,
                               "QSO: ##### ## #####"));
    ASSERT_EQ(form.FieldCount(), 3);
    EXPECT_EQ(form.FieldIndex[1], kNoField);
    EXPECT_EQ(form.FieldIndex[2], kNoField);
    EXPECT_EQ(BuildQsoLine(form, qso), "QSO:          Q1ABC");
}

}  // namespace
}  // namespace velmark::testing
