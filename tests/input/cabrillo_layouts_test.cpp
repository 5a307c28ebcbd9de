#include "input/cabrillo_layouts.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/run_state.h"
#include "input/byte_source.h"
#include "input/cabrillo_frequency.h"
#include "input/log_data_error.h"

namespace velmark {
namespace {

std::string bundledLayouts() {
    std::ifstream in(std::string(VELMARK_SOURCE_DATA_DIR) + "/" + kCabrilloLayoutsFile,
                     std::ios::binary);
    EXPECT_TRUE(in) << kCabrilloLayoutsFile;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ContestMatches, StarStandsForAnyRunAndLetterCaseDoesNotMatter) {
    struct Case {
        const char* pattern;
        const char* contest;
        bool matches;
    };
    for (const Case& c : {Case{"CQ-WW-*", "CQ-WW-CW", true}, Case{"CQ-WW-*", "cq-ww-ssb", true},
                          Case{"CQ-WW-*", "CQ-WW-", true}, Case{"CQ-WW-*", "CQ-WPX-CW", false},
                          Case{"ARRL-10", "ARRL-10", true}, Case{"ARRL-10", "ARRL-10-GHZ", false},
                          Case{"*VHF*", "CQ-VHF", true}, Case{"*VHF*", "ARRL-VHF-JUN", true},
                          Case{"*VHF*", "UHF", false}, Case{"**", "", true},
                          Case{"A*B*C", "AxxBxxC", true}, Case{"A*B*C", "AxxCxxB", false}}) {
        EXPECT_EQ(ContestMatches(c.pattern, c.contest), c.matches)
            << c.pattern << " / " << c.contest;
    }
}

TEST(LayoutsForContest, FirstMatchingPatternChoosesAllItsLinesInOrder) {
    const std::string text =
        "# comment CQ-WW-CW - CALL\r\n\r\n"
        "CQ-WW-RTTY - CALL STATE\r\n"
        "cq-ww-*  - FREQ CALL\n"
        "CQ-WW-RTTY - CALL\r"
        "CQ-WW-*\t- FREQ MODE CALL\n";
    const auto layouts = LayoutsForContest(text, "CQ-WW-CW");
    ASSERT_EQ(layouts.size(), 2u);
    EXPECT_EQ(layouts[0].Names, (std::vector<std::string>{"-", "FREQ", "CALL"}));
    EXPECT_EQ(layouts[0].Line, 4);
    EXPECT_EQ(layouts[1].Names, (std::vector<std::string>{"-", "FREQ", "MODE", "CALL"}));
    EXPECT_EQ(LayoutsForContest(text, "CQ-WW-RTTY").size(), 2u);
    EXPECT_TRUE(LayoutsForContest(text, "SPDX").empty());
    EXPECT_TRUE(LayoutsForContest(text, "").empty());
}

TEST(RegisterCabrilloLayouts, RefusesEmptyLayoutsAndNamesGivenTwice) {
    for (const auto& names :
         {std::vector<std::string>{}, std::vector<std::string>{"CALL", "CALL"}}) {
        TStrukturaADIF catalogue;
        ColumnList columns;
        try {
            RegisterCabrilloLayouts({{names, 7}}, catalogue, columns);
            ADD_FAILURE() << "no error";
        } catch (const LogDataError& error) {
            EXPECT_EQ(error.Problem, LogProblem::BadCabrilloLayout);
            EXPECT_EQ(error.Line, 7);
        }
    }
    // Dropped fields may repeat; a name shared by two layouts gets one column.
    TStrukturaADIF catalogue;
    ColumnList columns;
    const auto layouts = RegisterCabrilloLayouts(
        {{{"-", "FREQ", "-", "CALL"}, 1}, {{"-", "CALL", "SRX"}, 2}}, catalogue, columns);
    EXPECT_EQ(columns.ColumnCount, 3);
    EXPECT_EQ(layouts[0].CallField, 4);
    EXPECT_EQ(layouts[1].CallField, 2);
    EXPECT_EQ(layouts[0].Entries[0], kNoEntry);
}

// Real-shaped QSO lines of every contest the bundled file lists: the worked station lands in
// CALL on every line, and one exchange field in its own field.
struct ContestCase {
    const char* contest;
    const char* line;
    const char* call;
    const char* field;
    const char* value;
    const char* afterContestKey = " ";  // what stands between "CONTEST:" and the name
};

class BundledLayout : public ::testing::TestWithParam<ContestCase> {};

TEST_P(BundledLayout, PutsTheWorkedStationIntoCall) {
    const ContestCase& c = GetParam();
    TStrukturaADIF catalogue;
    auto run = std::make_unique<RunState>();
    ByteSource log =
        ByteSource::FromString(std::string("START-OF-LOG: 3.0\r\nCONTEST:") + c.afterContestKey +
                               c.contest + "\r\n" + c.line + "\r\nEND-OF-LOG:\r\n");
    CsvReader reader(log, *run, FieldSplitting::BlankSeparated);
    ASSERT_EQ(reader.SkipCabrilloHeader(), c.contest);
    const auto layouts = LayoutsForContest(bundledLayouts(), c.contest);
    ASSERT_FALSE(layouts.empty()) << c.contest;
    reader.UseCabrilloLayouts(RegisterCabrilloLayouts(layouts, catalogue, run->Columns));
    QsoRecord record;
    RecordTarget target{catalogue, run->Columns, record, 1};
    const CsvRecordResult result = reader.ReadCsvRecord(target);
    ASSERT_FALSE(result.InputEnded);
    EXPECT_EQ(result.FieldCount, result.ExpectedFieldCount) << "the line fits its layout";
    EXPECT_EQ(record.Slot(kCallKind), c.call);
    EXPECT_EQ(record.Slot(catalogue.Entry(catalogue.FindField(c.field)).Kind), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Contests, BundledLayout,
    ::testing::Values(
        ContestCase{"CQ-WW-CW",
                    "QSO: 14025 CW 2024-11-23 0001 SP9ZZZ        599 15     DL1ABC        599 14",
                    "DL1ABC", "CQZ", "14"},
        ContestCase{"CQ-WW-CW",
                    "QSO: 14025 CW 2024-11-23 0001 SP9ZZZ        599 15     DL1ABC        599 14",
                    "DL1ABC", "CQZ", "14", "\t"},
        ContestCase{
            "CQ-WW-SSB",
            "QSO: 14205 PH 2024-10-26 0002 SP9ZZZ        59  15     K1AR          59  05     1",
            "K1AR", "CQZ", "05"},
        ContestCase{
            "CQ-WW-RTTY",
            "QSO:  3580 RY 2024-09-28 0001 K1AR          599 05 MA  W1AW          599 05 CT",
            "W1AW", "STATE", "CT"},
        ContestCase{
            "CQ-WW-RTTY",
            "QSO:  3580 RY 2024-09-28 0002 SP9ZZZ        599 15     W1AW          599 05 CT",
            "W1AW", "STATE", "CT"},
        ContestCase{"CQ-WW-RTTY",
                    "QSO:  3580 RY 2024-09-28 0003 K1AR          599 05 MA  SP9ZZZ        599 15",
                    "SP9ZZZ", "CQZ", "15"},
        ContestCase{"CQ-WPX-CW",
                    "QSO: 21025 CW 2024-05-25 1200 SP9ZZZ        599 001    JA1ABC        599 012",
                    "JA1ABC", "SRX", "012"},
        ContestCase{"CQ-160-CW",
                    "QSO:  1830 CW 2024-01-26 2200 SP9ZZZ        599 SP     W1AW          599 CT",
                    "W1AW", "SRX_STRING", "CT"},
        ContestCase{"ARRL-DX-CW",
                    "QSO: 28025 CW 2024-02-17 1530 SP9ZZZ        599 100    W1AW          599 CT",
                    "W1AW", "STATE", "CT"},
        ContestCase{
            "ARRL-SS-CW",
            "QSO: 14042 CW 2023-11-04 2101 K1ABC         1 A 72 CT    W1XYZ         2 B 84 NH",
            "W1XYZ", "CHECK", "84"},
        ContestCase{"ARRL-10",
                    "QSO: 28050 CW 2023-12-09 0005 SP9ZZZ        599 1      W1AW          599 CT",
                    "W1AW", "SRX_STRING", "CT"},
        ContestCase{"ARRL-160",
                    "QSO:  1830 CW 2023-12-02 2200 K1ABC         599 CT     W1XYZ         599 NH",
                    "W1XYZ", "SRX_STRING", "NH"},
        ContestCase{"ARRL-160",
                    "QSO:  1830 CW 2023-12-02 2201 K1ABC         599 CT     SP9ZZZ        599",
                    "SP9ZZZ", "STX_STRING", "CT"},
        ContestCase{"ARRL-160",
                    "QSO:  1830 CW 2023-12-02 2202 SP9ZZZ        599        K1ABC         599 CT",
                    "K1ABC", "SRX_STRING", "CT"},
        ContestCase{"ARRL-VHF-JAN",
                    "QSO: 50 PH 2024-01-20 1900 K1ABC         FN42   W1XYZ/R       FN31", "W1XYZ/R",
                    "GRIDSQUARE", "FN31"},
        ContestCase{"ARRL-FD",
                    "QSO: 14000 CW 2023-06-24 1800 K1ABC         2A  CT  W1XYZ         1D  ENY",
                    "W1XYZ", "ARRL_SECT", "ENY"},
        ContestCase{"WFD",
                    "QSO: 14336 PH 2024-01-27 1904 K1ABC         1O  WI  KD9VGV        1O  WI",
                    "KD9VGV", "SRX_STRING", "1O"},
        ContestCase{
            "NAQP-CW",
            "QSO: 14035 CW 2024-01-13 1800 K1ABC      JOHN       CT  W1XYZ      BOB        NH",
            "W1XYZ", "NAME", "BOB"},
        ContestCase{
            "NAQP-SSB",
            "QSO: 14235 PH 2024-01-20 1801 SP9ZZZ     JAN            W1XYZ      BOB        NH",
            "W1XYZ", "NAME", "BOB"},
        ContestCase{"IARU-HF",
                    "QSO: 14025 CW 2024-07-13 1205 SP9ZZZ        599 28     DL0HQ         599 DARC",
                    "DL0HQ", "SRX_STRING", "DARC"},
        ContestCase{"RDXC",
                    "QSO: 14025 CW 2024-03-16 1200 SP9ZZZ        599 001    RA3ABC        599 MA",
                    "RA3ABC", "SRX_STRING", "MA"},
        ContestCase{"SPDX",
                    "QSO:  7025 CW 2024-04-06 1500 SP9ZZZ        599 K      DL1ABC        599 012",
                    "DL1ABC", "SRX", "012"},
        ContestCase{"EU-HF",
                    "QSO: 14025 CW 2024-08-10 1200 SP9ZZZ        599 85     DL1ABC        599 90",
                    "DL1ABC", "SRX_STRING", "90"},
        ContestCase{"CQ-VHF", "QSO: 144 CW 2024-07-20 1800 SP9ZZZ        KN09   OK1ABC        JO70",
                    "OK1ABC", "GRIDSQUARE", "JO70"},
        ContestCase{"IARU-R1-VHF",
                    "QSO: 144 CW 2024-09-07 1400 SP9ZZZ 599 001 KN09 OK1ABC 599 123 JO70", "OK1ABC",
                    "SRX", "123"}),
    [](const auto& info) {
        std::string name = std::string(info.param.contest) + "_" + std::to_string(info.index);
        for (char& c : name) {
            if (c == '-')
                c = '_';
        }
        return name;
    });

// --- frequencies ---

TEST(CabrilloFrequency, KilohertzBecomeMegahertzAndDesignatorsGiveTheBandOnly) {
    struct Case {
        const char* field;
        bool understood;
        const char* mhz;
        const char* band;
    };
    for (const Case& c : {Case{"7005", true, "7.005", "40m"},
                          Case{"14025.5", true, "14.0255", "20m"},
                          Case{" 1830", false, "", ""},
                          Case{"1830", true, "1.830", "160m"},
                          Case{"01830", true, "1.830", "160m"},
                          Case{"28000", true, "28.000", "10m"},
                          Case{"50125", true, "50.125", "6m"},
                          Case{"472", true, "0.472", "630m"},
                          Case{"50", true, "", "6m"},
                          Case{"144", true, "", "2m"},
                          Case{"432", true, "", "70cm"},
                          Case{"1.2G", true, "", "23cm"},
                          Case{"1.2g", true, "", "23cm"},
                          Case{"10G", true, "", "3cm"},
                          Case{"LIGHT", true, "", "submm"},
                          Case{"14", false, "", ""},
                          Case{"12345", false, "", ""},
                          Case{"14.025.5", false, "", ""},
                          Case{"", false, "", ""},
                          Case{"SSB", false, "", ""}}) {
        const CabrilloFrequency frequency = ReadCabrilloFrequency(c.field);
        EXPECT_EQ(frequency.Understood, c.understood) << c.field;
        EXPECT_EQ(frequency.FreqMhz, c.mhz) << c.field;
        EXPECT_EQ(frequency.Band, c.band) << c.field;
    }
}

TEST(CabrilloFrequency, BandsAndDesignatorsBothWays) {
    EXPECT_EQ(AdifBandOfMhz("14.025"), "20m");
    EXPECT_EQ(AdifBandOfMhz("3.7995"), "80m");
    EXPECT_EQ(AdifBandOfMhz("144.300"), "2m");
    EXPECT_EQ(AdifBandOfMhz("13.9"), "");
    EXPECT_EQ(AdifBandOfMhz("abc"), "");
    EXPECT_EQ(CabrilloBandDesignator("2m"), "144");
    EXPECT_EQ(CabrilloBandDesignator("2M"), "144");
    EXPECT_EQ(CabrilloBandDesignator("23cm"), "1.2G");
    EXPECT_EQ(CabrilloBandDesignator("submm"), "LIGHT");
    EXPECT_EQ(CabrilloBandDesignator("20m"), "");  // HF: Cabrillo wants kHz
    // Every designator gives a band whose designator reads back as the same band.
    for (const char* designator :
         {"50", "70", "144", "222", "432", "902", "1.2G", "2.3G", "3.4G", "5.7G", "10G", "24G",
          "47G", "75G", "122G", "134G", "241G", "LIGHT"}) {
        const std::string band = ReadCabrilloFrequency(designator).Band;
        EXPECT_EQ(CabrilloBandDesignator(band), designator);
    }
}

}  // namespace
}  // namespace velmark
