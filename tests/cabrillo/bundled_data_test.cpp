// The Cabrillo data shipped in data/: every contest template puts a known QSO into the columns
// of the published Cabrillo QSO line, the new-contest template is the editor's starting content,
// and the name files read as the program reads them.

#include <gtest/gtest.h>

#include <filesystem>

#include "cabrillo/cabrillo_writer.h"
#include "cabrillo/contest_template.h"
#include "cabrillo/template_editor.h"
#include "core/text_lines.h"
#include "tests/cabrillo/cabrillo_test_support.h"

namespace velmark {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

const fs::path kDataDir = VELMARK_SOURCE_DATA_DIR;

// The published QSO line: "QSO:", frequency at column 6, mode 12, date 15, time 26, the sent
// callsign 31, report 45 and exchange 49, the received callsign 56, report 70 and exchange 74.
std::string publishedLine(std::string_view freq, std::string_view mode, std::string_view sentRst,
                          std::string_view sentExchange, std::string_view receivedRst,
                          std::string_view receivedExchange) {
    std::string line(79, ' ');
    const std::pair<std::size_t, std::string_view> columns[] = {{1, "QSO:"},
                                                                {6, freq},
                                                                {12, mode},
                                                                {15, "2024-05-25"},
                                                                {26, "1200"},
                                                                {31, "SP9ZZZ"},
                                                                {45, sentRst},
                                                                {49, sentExchange},
                                                                {56, "Q1AAA"},
                                                                {70, receivedRst},
                                                                {74, receivedExchange}};
    for (const auto& [column, text] : columns) {
        line.replace(column - 1, text.size(), text);
    }
    return line;
}

struct BundledTemplate {
    std::string_view File;
    std::string_view Contest;  // the CONTEST: header line
    std::string Line;          // the known QSO's line
};

class BundledTemplates : public ::testing::Test {
  protected:
    testing::CabrilloRun run;

    void SetUp() override {
        run.Values.StartDirectory = kDataDir.string();
        run.Personal.Callsign = "SP9ZZZ";
    }

    QsoRecord knownQso(std::string_view mode, std::string_view sentRst,
                       std::string_view receivedRst) const {
        return run.Qso(1, {{"FREQ", "14.025"},
                           {"MODE", mode},
                           {"QSO_DATE", "20240525"},
                           {"TIME_ON", "1200"},
                           {"OPERATOR", "SP9ZZZ"},
                           {"RST_SENT", sentRst},
                           {"RST_RCVD", receivedRst},
                           {"CALL", "Q1AAA"},
                           {"STX", "7"},
                           {"SRX", "123"},
                           {"MY_CQ_ZONE", "15"},
                           {"CQZ", "5"},
                           {"TX_PWR", "100"},
                           {"STATE", "MA"},
                           {"MY_ITU_ZONE", "28"},
                           {"ITUZ", "8"},
                           {"MY_STATE", "K"}});
    }
};

TEST_F(BundledTemplates, EachWritesTheKnownQsoIntoThePublishedColumns) {
    const BundledTemplate templates[] = {
        {"CQ-WW-CW.FRM", "CQ-WW-CW", publishedLine("14025", "CW", "599", "15", "579", "5")},
        {"CQ-WW-SSB.FRM", "CQ-WW-SSB", publishedLine("14025", "PH", "59", "15", "57", "5")},
        {"CQ-WPX-CW.FRM", "CQ-WPX-CW", publishedLine("14025", "CW", "599", "0007", "579", "0123")},
        {"CQ-WPX-SSB.FRM", "CQ-WPX-SSB", publishedLine("14025", "PH", "59", "0007", "57", "0123")},
        {"ARRL-DX-CW.FRM", "ARRL-DX-CW", publishedLine("14025", "CW", "599", "100", "579", "MA")},
        {"ARRL-DX-SSB.FRM", "ARRL-DX-SSB", publishedLine("14025", "PH", "59", "100", "57", "MA")},
        {"IARU-HF.FRM", "IARU-HF", publishedLine("14025", "CW", "599", "28", "579", "8")},
        {"SPDX.FRM", "SPDX", publishedLine("14025", "CW", "599", "K", "579", "0123")},
    };
    for (const BundledTemplate& t : templates) {
        SCOPED_TRACE(t.File);
        const CabrilloTemplate form = run.Load(std::string(t.File));
        const bool phone = t.Contest.ends_with("SSB");
        const QsoRecord qso =
            knownQso(phone ? "SSB" : "CW", phone ? "59" : "599", phone ? "57" : "579");
        EXPECT_EQ(BuildQsoLine(form, qso), t.Line);
        EXPECT_EQ(form.HeaderLines[1], "START-OF-LOG: 3.0");
        EXPECT_EQ(form.HeaderLines[2], "CONTEST: " + std::string(t.Contest));
        EXPECT_EQ(form.HeaderLines[3], "CALLSIGN:  SP9ZZZ");
        EXPECT_EQ(CountMaskSlots(form.MaskLine), form.FieldCount());
        for (int k = 1; k <= form.FieldCount(); ++k) {
            EXPECT_NE(form.FieldIndex[k], kNoField) << form.FieldNames[k - 1];
        }
    }
    EXPECT_EQ(ListTemplates(kDataDir.string()).size(), std::size(templates) + 1);
}

TEST_F(BundledTemplates, TheNewContestTemplateIsTheEditorsStartingContent) {
    const fs::path file = kDataDir / kCabrilloFormFolder / "NEW_CONTEST.FRM";
    EXPECT_EQ(ReadTemplateFile(file.string()), NewContestTemplate());
    TempDir dir;
    WriteTemplateFile(dir.file("NEW.FRM"), NewContestTemplate());
    EXPECT_EQ(TempDir::read(dir.file("NEW.FRM")), TempDir::read(file.string()));
    EXPECT_NO_THROW(run.Load("NEW_CONTEST.FRM"));
}

TEST(BundledNameFiles, ReadAsTheProgramReadsThem) {
    const std::vector<std::string> extra =
        ReadExtraFieldNames((kDataDir / kExtraFieldNamesFile).string());
    ASSERT_FALSE(extra.empty());
    const TStrukturaADIF catalogue;
    for (const std::string& name : extra) {
        EXPECT_EQ(catalogue.FindField(name), kNoEntry) << name << " is a standard name already";
    }
    // The column names: "QSO:" first, then catalogue names only.
    const std::vector<std::string> lines =
        SplitLines(TempDir::read((kDataDir / "fields_name_cabrillo_format.txt").string()));
    ASSERT_FALSE(lines.empty());
    std::size_t cursor = 1;
    EXPECT_EQ(NextWord(lines[0], cursor), "QSO_WORD");
    int columns = 0;
    for (std::string name = NextWord(lines[0], cursor); !name.empty();
         name = NextWord(lines[0], cursor), ++columns) {
        EXPECT_NE(catalogue.FindField(name), kNoEntry) << name;
    }
    EXPECT_EQ(columns, 10);
}

}  // namespace
}  // namespace velmark
