#include "cabrillo/cabrillo_writer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "cabrillo/template_editor.h"
#include "core/errors.h"
#include "tests/cabrillo/cabrillo_test_support.h"

namespace velmark {
namespace {

using testing::CabrilloRun;
using testing::CrLfLines;
using testing::TempDir;
using testing::TemplateLines;

// A line of blanks with texts put at their columns (from 1).
std::string lineWithColumns(std::size_t length,
                            std::initializer_list<std::pair<std::size_t, std::string_view>> texts) {
    std::string line(length, ' ');
    for (const auto& [column, text] : texts) {
        line.replace(column - 1, text.size(), text);
    }
    return line;
}

std::vector<std::string> newContestLines() {
    const TemplateText text = NewContestTemplate();
    std::vector<std::string> lines = text.HeaderLines;
    lines.insert(lines.end(), text.PatternLines.begin(), text.PatternLines.end());
    lines.push_back(text.EndLine);
    return lines;
}

class CabrilloWriterTest : public ::testing::Test {
  protected:
    CabrilloRun run;

    // The QSO line of one record through a template of the given field names and mask.
    std::string line(std::string_view names, std::string_view mask, testing::Fields fields,
                     std::int32_t qsoNr = 1) {
        return BuildQsoLine(run.Make(TemplateLines(std::string(names), std::string(mask))),
                            run.Qso(qsoNr, fields));
    }
};

TEST_F(CabrilloWriterTest, FillsTheNewContestMaskColumnByColumn) {
    const CabrilloTemplate form = run.Make(newContestLines());
    const QsoRecord qso = run.Qso(1, {{"FREQ", "14.085"},
                                      {"MODE", "RTTY"},
                                      {"QSO_DATE", "20080105"},
                                      {"TIME_ON", "1807"},
                                      {"RST_SENT", "599"},
                                      {"STX", "1"},
                                      {"CALL", "N0CALL"},
                                      {"RST_RCVD", "599"},
                                      {"SRX", "3"}});
    // OPERATOR_ is no catalogue name: columns 31 to 43 stay blank.
    EXPECT_EQ(BuildQsoLine(form, qso), lineWithColumns(79, {{1, "QSO:"},
                                                            {6, "14085"},
                                                            {12, "RY"},
                                                            {15, "2008-01-05"},
                                                            {26, "1807"},
                                                            {45, "599"},
                                                            {49, "0001"},
                                                            {56, "N0CALL"},
                                                            {70, "599"},
                                                            {74, "0003"}}));
}

TEST(FreqMhzToKhz, WritesKilohertzWithThreeDecimalsAlignedToFiveCharacters) {
    struct Case {
        std::string_view Stored, Unit, Written;
    };
    const Case cases[] = {
        {"14.085", "MHZ", "14085"},
        {"3.7995", "MHZ", " 3799"},
        {"7.025", "MHZ", " 7025"},
        {"14.08", "MHZ", "14080"},
        {"7.1", "MHZ", " 7100"},
        {"14,085", "MHZ", "14085"},
        {"144.300", "MHZ", "144300"},
        {"1,8305", "MHZ", " 1830"},
        {"14.085", "mhz", "14085"},
        {"14085", "MHZ", "14085"},
        {"", "MHZ", ""},
        {"14.085", "KHZ", "14.085"},
        {"14085.5", "KHZ", "14085.5"},
        {"14.085", "", "14.085"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FreqMhzToKhz(std::string(c.Stored), c.Unit), c.Written)
            << c.Stored << " " << c.Unit;
    }
}

TEST(PadToFour, PadsOneToThreeCharactersWithZeros) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", ""},        {"1", "0001"},    {"12", "0012"},
        {"123", "0123"}, {"1234", "1234"}, {"12345", "12345"}};
    for (const auto& [stored, written] : cases) {
        EXPECT_EQ(PadToFour(std::string(stored)), written) << stored;
    }
}

TEST_F(CabrilloWriterTest, MapsPhoneAndTeleprinterModesAndKeepsTheOthers) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"SSB", "PH"}, {"ssb", "PH"}, {"RTTY", "RY"}, {"PSK31", "RY"}, {"BPSK31", "RY"},
        {"CW", "CW"},  {"FM", "FM"},  {"FT8", "FT8"}, {"USB", "USB"},  {"", ""}};
    for (const auto& [stored, written] : cases) {
        EXPECT_EQ(line("[[ MODE ]]", "QSO: ###", {{"MODE", stored}}),
                  "QSO: " + lineWithColumns(3, {{1, written}}))
            << stored;
    }
}

TEST_F(CabrilloWriterTest, CutsAValueToItsSlot) {
    // A VHF frequency in kHz does not fit a five-position slot.
    auto form = run.Make(TemplateLines("[[ FREQ CALL ]]", "QSO: ##### ####"));
    form.FreqUnitIn = "KHZ";
    EXPECT_EQ(BuildQsoLine(form, run.Qso(1, {{"FREQ", "144300"}, {"CALL", "Q1ABCD/P"}})),
              "QSO: 14430 Q1AB");
}

// A VHF Cabrillo log read in keeps its band designator as BAND only; written out, the band
// gives the designator back. HF bands have none: Cabrillo wants their frequency.
TEST_F(CabrilloWriterTest, WritesTheBandDesignatorForAQsoWithoutFrequency) {
    for (const auto& [band, written] : std::initializer_list<std::pair<const char*, const char*>>{
             {"2m", "144  "}, {"23CM", "1.2G "}, {"submm", "LIGHT"}, {"20m", "     "}}) {
        EXPECT_EQ(line("[[ FREQ CALL ]]", "QSO: ##### ######", {{"BAND", band}, {"CALL", "Q1AAA"}}),
                  std::string("QSO: ") + written + " Q1AAA ")
            << band;
    }
    EXPECT_EQ(line("[[ FREQ ]]", "QSO: #####", {{"BAND", "2m"}, {"FREQ", "144.300"}}),
              "QSO: 14430");
}

TEST_F(CabrilloWriterTest, RewritesQsoNumberAndSerials) {
    EXPECT_EQ(line("[[ QSO_NUM STX SRX ]]", "###### ##### #####",
                   {{"STX", "7"}, {"SRX", "12345678"}}, 42),
              "    42 0007  12345");
}

TEST_F(CabrilloWriterTest, AFieldNamedTwiceGetsTheSameTextInBothSlots) {
    EXPECT_EQ(line("[[ QSO_DATE FREQ QSO_DATE FREQ ]]", "########## ##### ########## #####",
                   {{"QSO_DATE", "20080105"}, {"FREQ", "7.025"}}),
              "2008-01-05  7025 2008-01-05  7025");
}

TEST_F(CabrilloWriterTest, LeavesTheSlotsOfUnknownNamesAndMissingNamesBlank) {
    EXPECT_EQ(
        line("[[ CALL CLASS ]]", "QSO: ###### ##### ### #", {{"CALL", "Q1AAA"}, {"CLASS_", "A"}}),
        lineWithColumns(23, {{1, "QSO:"}, {6, "Q1AAA"}}));
}

TEST_F(CabrilloWriterTest, DropsASingleBlankAtTheEndOfTheMaskOnly) {
    EXPECT_EQ(line("[[ CALL ]]", "QSO: ###### ", {{"CALL", "Q1AA"}}), "QSO: Q1AA  ");
    EXPECT_EQ(line("[[ CALL ]]", "QSO: ######  ", {{"CALL", "Q1AA"}}), "QSO: Q1AA   ");
    EXPECT_EQ(line("[[ CALL ]]", "QSO: ######  x", {{"CALL", "Q1AA"}}), "QSO: Q1AA    x");
}

TEST_F(CabrilloWriterTest, WritesDoubleWidthValuesBetweenShiftOutAndDeviceControl4) {
    const std::string on(1, kDoubleWidthOn);
    const std::string off(1, kDoubleWidthOff);
    EXPECT_EQ(line("[[ CALL ]]", "<@@@@@@>", {{"CALL", "AB"}}), "<" + on + "AB" + off + "  >");
    EXPECT_EQ(line("[[ CALL ]]", "<@@@@>", {{"CALL", "AB"}}), "<" + on + "AB" + off + ">");
    EXPECT_EQ(line("[[ CALL ]]", "<@@@@>", {{"CALL", ""}}), "<    >");
    // A value cut to its slot still ends the double width.
    EXPECT_EQ(line("[[ CALL ]]", "<@@@@>", {{"CALL", "ABC"}}), "<" + on + "AB" + off + ">");
    EXPECT_EQ(line("[[ CALL MODE ]]", "@@@ ##", {{"CALL", "AB"}, {"MODE", "CW"}}),
              on + "AB" + off + " CW");
}

TEST_F(CabrilloWriterTest, WritesTheWholeMaskWhenTheTemplateNamesNoField) {
    EXPECT_EQ(line("[[ ]]", "QSO: ### x", {}), "QSO:     x");
}

TEST(CabrilloProgressPercent, StandsNearEightyEightAfterTheLastRecord) {
    EXPECT_EQ(CabrilloProgressPercent(100, 100 * 2052), 88);
    EXPECT_EQ(CabrilloProgressPercent(1, 2052), 88);
    EXPECT_EQ(CabrilloProgressPercent(50, 100 * 1800), 50);
    EXPECT_EQ(CabrilloProgressPercent(200, 100 * 1800), 100);
}

class ExportCabrilloTest : public CabrilloWriterTest {
  protected:
    void SetUp() override {
        run.Personal.Callsign = "N0CALL";
        run.WriteTemplate("TEST.FRM",
                          TemplateLines("[[ QSO_NUM CALL MODE ]]", "QSO: ###### ###### ##",
                                        {"START-OF-LOG: 3.0", "CALLSIGN:"}));
    }
};

TEST_F(ExportCabrilloTest, WritesHeaderQsoLinesInFileOrderAndTheEndLine) {
    run.WriteTymLog({run.Qso(1, {{"CALL", "Q3CCC"}, {"MODE", "CW"}}),
                     run.Qso(2, {{"CALL", "Q1AAA"}, {"MODE", "SSB"}}),
                     run.Qso(3, {{"CALL", "Q2BBB"}, {"MODE", "RTTY"}})});
    ASSERT_TRUE(run.Export("TEST.FRM"));
    EXPECT_EQ(TempDir::read(run.OutputPath()),
              CrLfLines({"START-OF-LOG: 3.0", "CALLSIGN:  N0CALL", "QSO:      1 Q3CCC  CW",
                         "QSO:      2 Q1AAA  PH", "QSO:      3 Q2BBB  RY", "END-OF-LOG:"}));
    EXPECT_EQ(run.Ui.messages,
              (std::vector<std::string>{run.Texts.MsgCabrilloFileFor, "contest.cbr",
                                        run.Texts.RepWrittenInDir, run.Dir.path().string()}));
    ASSERT_FALSE(run.Ui.progress.empty());
    EXPECT_EQ(run.Ui.progress.back(), 100);
    EXPECT_TRUE(run.Ui.endButtonsVisible);
    EXPECT_TRUE(std::filesystem::exists(run.Values.PathInStartDirectory(kTymLogName)));
}

TEST_F(ExportCabrilloTest, WritesUtf8WithoutAByteOrderMarkWhenAsked) {
    run.WriteTymLog({run.Qso(1, {{"CALL", "SP\xA3"}, {"MODE", "CW"}})});
    ASSERT_TRUE(ExportCabrillo(
        "TEST.FRM", CabrilloExportRun{run.Catalogue, run.Texts, run.Values, run.Personal, run.Ui,
                                      run.OutputPath(), OutputEncoding::Utf8}));
    EXPECT_EQ(TempDir::read(run.OutputPath()),
              CrLfLines({"START-OF-LOG: 3.0", "CALLSIGN:  N0CALL", "QSO:      1 SP\xC5\x81    CW",
                         "END-OF-LOG:"}));
}

TEST_F(ExportCabrilloTest, WritesNothingForAnEmptyTymLog) {
    run.WriteTymLog({});
    EXPECT_FALSE(run.Export("TEST.FRM"));
    EXPECT_EQ(run.Ui.messages, std::vector<std::string>{run.Texts.CabEmptyTymLog});
    EXPECT_FALSE(std::filesystem::exists(run.OutputPath()));
}

TEST_F(ExportCabrilloTest, WritesNothingThroughABrokenTemplate) {
    run.Dir.write("contest.cbr", "earlier");
    run.WriteTemplate("BROKEN.FRM",
                      {"START-OF-LOG: 3.0", "[[ CALL ]]", "QSO: #####", "END-OF-LOG:"});
    run.WriteTymLog({run.Qso(1, {{"CALL", "Q1AAA"}})});
    EXPECT_FALSE(run.Export("BROKEN.FRM"));
    ASSERT_EQ(run.Ui.messages.size(), 1u);
    EXPECT_EQ(run.Ui.messages[0],
              run.Texts.CabTemplateRefused + "BROKEN.FRM" + run.Texts.CabTooFewPatternLines);
    EXPECT_EQ(TempDir::read(run.OutputPath()), "earlier");
}

TEST_F(ExportCabrilloTest, WarnsOnceAboutNamesBeyondTheMaskAndAboutEachUnknownName) {
    run.WriteTemplate("MORE.FRM", TemplateLines("[[ CALL CLASS MODE RST_SENT ]]", "QSO: ##### ##"));
    run.WriteTymLog({run.Qso(1, {{"CALL", "Q1AAA"}, {"MODE", "CW"}}),
                     run.Qso(2, {{"CALL", "Q2BBB"}, {"MODE", "CW"}})});
    ASSERT_TRUE(run.Export("MORE.FRM"));
    ASSERT_GE(run.Ui.messages.size(), 2u);
    EXPECT_EQ(run.Ui.messages[0], run.Texts.CabUnknownFieldName + "CLASS");
    EXPECT_EQ(run.Ui.messages[1], run.Texts.CabMoreNamesThanSlots + "MODE RST_SENT");
    EXPECT_EQ(TempDir::read(run.OutputPath()),
              CrLfLines({"START-OF-LOG: 3.0", "QSO: Q1AAA   ", "QSO: Q2BBB   ", "END-OF-LOG:"}));
}

TEST_F(ExportCabrilloTest, AMissingTymLogIsAFileError) {
    EXPECT_THROW(run.Export("TEST.FRM"), FileError);
    EXPECT_FALSE(std::filesystem::exists(run.OutputPath()));
}

}  // namespace
}  // namespace velmark
