#include "cabrillo/template_editor.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cabrillo/cabrillo_test_support.h"

namespace velmark {
namespace {

using testing::CabrilloRun;
using testing::TempDir;

const std::string kDefaultNames =
    "[[   FREQ MODE QSO_DATE TIME_ON  OPERATOR_  RST_SENT STX CALL    RST_RCVD SRX ]]";

struct PlaceCase {
    std::string_view Line;
    int Box;
    std::string_view Name;
    std::string_view Expected;
};

TEST(PlaceFieldName, ReplacesTheKthNameOrAppendsBeforeTheClosingBrackets) {
    const PlaceCase cases[] = {
        {kDefaultNames, 3, "CALL",
         "[[   FREQ MODE CALL TIME_ON  OPERATOR_  RST_SENT STX CALL    RST_RCVD SRX ]]"},
        {kDefaultNames, 5, "OPERATOR",
         "[[   FREQ MODE QSO_DATE TIME_ON  OPERATOR  RST_SENT STX CALL    RST_RCVD SRX ]]"},
        {kDefaultNames, 1, "FREQ_RX",
         "[[   FREQ_RX MODE QSO_DATE TIME_ON  OPERATOR_  RST_SENT STX CALL    RST_RCVD SRX ]]"},
        {kDefaultNames, 10, "SRX_STRING",
         "[[   FREQ MODE QSO_DATE TIME_ON  OPERATOR_  RST_SENT STX CALL    RST_RCVD SRX_STRING ]]"},
        {kDefaultNames, 12, "CALL",
         "[[   FREQ MODE QSO_DATE TIME_ON  OPERATOR_  RST_SENT STX CALL    RST_RCVD SRX CALL ]]"},
        {kDefaultNames, 7, "NONE", kDefaultNames},
        {"[[ ]]", 1, "FREQ", "[[ FREQ ]]"},
        {"[[ FREQ", 4, "MODE", "[[ FREQ MODE ]]"},
    };
    for (const PlaceCase& c : cases) {
        EXPECT_EQ(PlaceFieldName(c.Line, c.Box, c.Name), c.Expected)
            << c.Line << " box " << c.Box << " " << c.Name;
    }
}

TEST(FieldChoices, OffersNoneTheStandardNamesInCatalogueOrderThenTheExtraNames) {
    const std::vector<std::string> choices = FieldChoices({"STATION_CALLSIGN", "MY_DXCC"});
    ASSERT_EQ(choices.size(), 1u + 121u + 2u);
    EXPECT_EQ(choices[0], "NONE");
    EXPECT_EQ(choices[1], "ADDRESS");
    EXPECT_EQ(choices[13], "CLASS_");
    EXPECT_EQ(choices[121], "USER_3");
    EXPECT_EQ(choices[122], "STATION_CALLSIGN");
    EXPECT_EQ(choices[123], "MY_DXCC");
}

class SaveTemplateTest : public ::testing::Test {
  protected:
    CabrilloRun run;
    const TemplateText content = NewContestTemplate();

    std::optional<std::string> save(std::string_view name) {
        return SaveTemplate(name, content, run.Values.StartDirectory, run.Texts, run.Ui);
    }
    std::filesystem::path folder() const { return run.Dir.path() / kCabrilloFormFolder; }
};

TEST_F(SaveTemplateTest, AddsFrmToANameWithoutAnExtension) {
    EXPECT_EQ(save("CQWW"), "CQWW.FRM");
    EXPECT_EQ(ReadTemplateFile((folder() / "CQWW.FRM").string()), content);
}

TEST_F(SaveTemplateTest, KeepsANameWithAnExtensionAndReplacesAnOldFile) {
    run.Dir.write("CABRILLO_FORM/cqww.txt", "old");
    EXPECT_EQ(save("cqww.txt"), "cqww.txt");
    EXPECT_EQ(ReadTemplateFile((folder() / "cqww.txt").string()), content);
    EXPECT_FALSE(std::filesystem::exists(folder() / "cqww.txt.FRM"));
}

TEST_F(SaveTemplateTest, CreatesAMissingTemplateFolder) {
    std::filesystem::remove(folder());
    EXPECT_EQ(save("WPX"), "WPX.FRM");
    EXPECT_TRUE(std::filesystem::exists(folder() / "WPX.FRM"));
}

TEST_F(SaveTemplateTest, RefusesAnEmptyNameWithTheErrorBox) {
    for (const std::string_view name : {"", " "}) {
        run.Ui.errorBoxes.clear();
        EXPECT_EQ(save(name), std::nullopt);
        EXPECT_EQ(run.Ui.errorBoxes, std::vector<std::string>{run.Texts.CabOutputNameRequired});
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder()));
}

}  // namespace
}  // namespace velmark
