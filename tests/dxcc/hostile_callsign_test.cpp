// Callsigns written to hurt, looked up in the bundled DXCC list (with its exact calls, "*"
// entries and call-area rules): empty, only "/" or "=", runs of separators, 1000 characters,
// NUL bytes and bytes above 127. Every lookup ends at once with an answer that fits the list.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "dxcc/callsign_resolver.h"
#include "tests/dxcc/dxcc_test_lists.h"

namespace velmark::testing {
namespace {

using namespace std::string_literals;

constexpr double kDate2024 = 2024.5;

class HostileCallsignTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        fixture = new DxccListFixture;
        std::filesystem::copy_file(std::filesystem::path(VELMARK_SOURCE_DATA_DIR) / "DXCC.LST",
                                   fixture->dir.path() / "DXCC.LST");
        fixture->list = std::make_unique<TListaDXCC>();
        LoadDxccList(*fixture->list, fixture->texts, fixture->ui, fixture->values);
    }
    static void TearDownTestSuite() {
        delete fixture;
        fixture = nullptr;
    }

    void SetUp() override { ASSERT_EQ(fixture->values.RunStatus, 0); }

    static CallsignResolution Resolve(const std::string& callsign) {
        return ResolveCallsign(*fixture->list, callsign, kDate2024);
    }

    // The entity's name, or "" when none was found.
    static std::string EntityOf(const std::string& callsign) {
        const CallsignResolution found = Resolve(callsign);
        if (found.Status == kResolveNoEntity || found.ListLine == 0)
            return "";
        return fixture->list->ListLineTable[found.ListLine].LineName;
    }

    static inline DxccListFixture* fixture = nullptr;
};

TEST_F(HostileCallsignTest, SeparatorsAloneNameNoEntity) {
    for (const std::string& callsign :
         {""s, "/"s, "="s, "//"s, "=="s, "/="s, "=/"s, "/ /"s, std::string(1000, '/'),
          std::string(1000, '='), "?"s, "*"s, "=*"s, "/?/"s}) {
        SCOPED_TRACE("\"" + callsign.substr(0, 20) + "\"");
        const CallsignResolution found = Resolve(callsign);
        EXPECT_EQ(found.Status, kResolveNoEntity);
        EXPECT_EQ(found.ListLine, 0);
    }
}

// Only the first 16 characters of a callsign are looked at, whatever follows them.
TEST_F(HostileCallsignTest, ACallsignOf1000CharactersIsItsFirst16) {
    for (const std::string& start : {"SP5ABC"s, "DL1ABC/P"s, "UA9ABC"s, "VK9XX"s, "=DX0K"s,
                                     "KH6/W1AW"s, "3D2ABC"s, "XX9ZZZ"s}) {
        SCOPED_TRACE(start);
        const std::string longCall = start + std::string(1000 - start.size(), 'A');
        EXPECT_EQ(Resolve(longCall), Resolve(longCall.substr(0, kLookupKeySize)));
        const std::string longSlashes = start + std::string(1000 - start.size(), '/');
        EXPECT_EQ(Resolve(longSlashes), Resolve(longSlashes.substr(0, kLookupKeySize)));
    }
}

// Bytes are compared as they are: a NUL or a byte above 127 after a known prefix still finds
// the prefix's entity, and one in place of the prefix finds none.
TEST_F(HostileCallsignTest, NulAndHighBytesAreComparedAsBytes) {
    const std::string poland = EntityOf("SP5ABC");
    ASSERT_FALSE(poland.empty());
    EXPECT_EQ(EntityOf("SP5\0BC"s), poland);
    EXPECT_EQ(EntityOf("SP5\xA5\xB9"s), poland);
    EXPECT_EQ(EntityOf("SP5\xA5\xB9/P"s), poland);
    // A designator after "/" is searched as a prefix of its own, and no entity has this one.
    EXPECT_EQ(EntityOf("SP5ABC/\xFF"s), "");
    for (const std::string& callsign : {"\0"s, "\0SP5ABC"s, std::string(16, '\0'), "\xFF\xFE"s,
                                        std::string(16, '\xFF'), "\xA5P5ABC"s}) {
        EXPECT_EQ(Resolve(callsign).Status, kResolveNoEntity);
    }
}

// A lookup after a hostile one is answered as if it came first: the resolver's memory of the
// previous key never leaks into the next answer.
TEST_F(HostileCallsignTest, AHostileLookupDoesNotDisturbTheNextOne) {
    const CallsignResolution fresh = Resolve("JA1ABC");
    for (const std::string& callsign : {"/"s, "="s, std::string(1000, 'J'), "\0"s}) {
        Resolve(callsign);
        EXPECT_EQ(Resolve("JA1ABC"), fresh);
    }
}

}  // namespace
}  // namespace velmark::testing
