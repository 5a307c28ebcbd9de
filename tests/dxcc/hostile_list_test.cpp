// DXCC.LST files written to hurt: lines of 10 MB, NUL bytes and bytes above 127. The loader
// ends promptly, and either loads a list whose lookups make sense or refuses it with a status.

#include <gtest/gtest.h>

#include <string>

#include "dxcc/callsign_resolver.h"
#include "tests/dxcc/dxcc_test_lists.h"

namespace velmark::testing {
namespace {

using namespace std::string_literals;

constexpr std::size_t kTenMegabytes = 10u << 20;

class HostileListTest : public ::testing::Test, public DxccListFixture {
  protected:
    std::string EntityOf(const std::string& callsign) {
        const CallsignResolution found = ResolveCallsign(*list, callsign, 2024.0);
        return found.Status == kResolveNoEntity || found.ListLine == 0
                   ? ""
                   : list->ListLineTable[found.ListLine].LineName;
    }

    const std::string alpha = HeaderLine("Alpha", 1, 1, "EU", "101") + "\r\n";
    const std::string bravo = HeaderLine("Bravo", 2, 2, "AS", "102") + "\r\n  QB\r\n";
};

// Blanks after the last column are no data, however many there are.
TEST_F(HostileListTest, HeaderLineOfTenMegabytesEndingInBlanksLoads) {
    LoadBytes(HeaderLine("Alpha", 1, 1, "EU", "101") + std::string(kTenMegabytes, ' ') +
              "\r\n  QA\r\n" + bravo);
    ASSERT_EQ(values.RunStatus, 0);
    EXPECT_EQ(EntityOf("QA1AB"), "ALPHA");
    EXPECT_EQ(EntityOf("QB1AB"), "BRAVO");
}

// Prefix items stand in columns 1-90; whatever follows is no item, however long the line.
TEST_F(HostileListTest, PrefixLineOfTenMegabytesIsReadUpToColumn90) {
    std::string line = "  QA,QC" + std::string(100, ' ');
    line.reserve(kTenMegabytes);
    while (line.size() < kTenMegabytes) line += "QX,";
    LoadBytes(alpha + line + "\r\n" + bravo);
    ASSERT_EQ(values.RunStatus, 0);
    EXPECT_EQ(EntityOf("QA1AB"), "ALPHA");
    EXPECT_EQ(EntityOf("QC1AB"), "ALPHA");
    EXPECT_EQ(EntityOf("QX1AB"), "");
    EXPECT_EQ(EntityOf("QB1AB"), "BRAVO");
}

TEST_F(HostileListTest, NulAndHighBytesAreTextLikeAnyOther) {
    LoadBytes(HeaderLine("Zu\xBF\xF3\xB3ty", 1, 1, "EU", "101") + "\r\n  Q\0A,Q\xA5\r\n"s + bravo);
    ASSERT_EQ(values.RunStatus, 0);
    EXPECT_EQ(EntityOf("Q\0A1BC"s), "ZU\xBF\xF3\xB3TY");
    EXPECT_EQ(EntityOf("Q\xA5\x31"s), "ZU\xBF\xF3\xB3TY");
    EXPECT_EQ(EntityOf("QB1AB"), "BRAVO");
}

}  // namespace
}  // namespace velmark::testing
