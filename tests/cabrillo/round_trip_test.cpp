// The round trip ADIF -> Cabrillo -> ADIF is two end-to-end cases of velmark-batch
// (tests/golden/translate-adif-to-cabrillo-wpx and translate-cabrillo-to-adif-round-trip), whose
// outputs the golden runner compares byte for byte. This test ties them together: the second
// case reads exactly what the first one writes, both use the bundled files, and the ADIF that
// comes back carries every field of the template with the value of the original log.

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace velmark {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

const fs::path kGoldenDir = fs::path(VELMARK_TEST_DATA_DIR) / ".." / "golden";
const fs::path kDataDir = VELMARK_SOURCE_DATA_DIR;
const fs::path kToCabrillo = kGoldenDir / "translate-adif-to-cabrillo-wpx";
const fs::path kBack = kGoldenDir / "translate-cabrillo-to-adif-round-trip";

using AdifRecord = std::map<std::string, std::string>;

// The records of an ADIF file: tag name (in capitals) to value; the header is skipped.
std::vector<AdifRecord> readAdifRecords(const fs::path& path) {
    const std::string text = TempDir::read(path.string());
    std::vector<AdifRecord> records(1);
    std::size_t at = text.find("<EOH>");
    while ((at = text.find('<', at + 1)) != std::string::npos) {
        const std::size_t close = text.find('>', at);
        std::string tag = text.substr(at + 1, close - at - 1);
        for (char& c : tag) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (tag == "EOR") {
            records.emplace_back();
            continue;
        }
        const std::size_t colon = tag.find(':');
        const std::size_t length = std::stoul(tag.substr(colon + 1));
        records.back()[tag.substr(0, colon)] = text.substr(close + 1, length);
    }
    records.pop_back();
    return records;
}

TEST(CabrilloRoundTrip, TheCasesReadWhatTheOtherWritesThroughTheBundledFiles) {
    EXPECT_EQ(TempDir::read((kToCabrillo / "start/CABRILLO_FORM/CQ-WPX-CW.FRM").string()),
              TempDir::read((kDataDir / "CABRILLO_FORM/CQ-WPX-CW.FRM").string()));
    EXPECT_EQ(TempDir::read((kBack / "start/contest.cbr").string()),
              TempDir::read((kToCabrillo / "expected/out/contest.cbr").string()));
    EXPECT_EQ(TempDir::read((kBack / "start/fields_name_cabrillo_format.txt").string()),
              TempDir::read((kDataDir / "fields_name_cabrillo_format.txt").string()));
}

TEST(CabrilloRoundTrip, BringsBackEveryFieldTheTemplateCarries) {
    const std::vector<AdifRecord> original = readAdifRecords(kToCabrillo / "start/contest.adi");
    const std::vector<AdifRecord> back = readAdifRecords(kBack / "expected/out/contest.adi");
    ASSERT_EQ(original.size(), 20u);
    ASSERT_EQ(back.size(), original.size());
    for (std::size_t i = 0; i < original.size(); ++i) {
        const AdifRecord& before = original[i];
        const AdifRecord& after = back.at(i);
        SCOPED_TRACE(before.at("CALL"));
        for (const char* same :
             {"CALL", "MODE", "QSO_DATE", "TIME_ON", "OPERATOR", "RST_SENT", "RST_RCVD"}) {
            EXPECT_EQ(after.at(same), before.at(same)) << same;
        }
        // The Cabrillo line holds the frequency in whole kHz, which come back as MHz with the
        // band they lie in, and the serials in four digits.
        const double khz = std::stod(before.at("FREQ")) * 1000.0;
        EXPECT_EQ(static_cast<long>(std::floor(std::stod(after.at("FREQ")) * 1000.0 + 1e-6)),
                  static_cast<long>(std::floor(khz + 1e-6)));
        EXPECT_EQ(after.at("FREQ").find('.'), after.at("FREQ").size() - 4);
        EXPECT_FALSE(after.at("BAND").empty());
        EXPECT_EQ(std::stoi(after.at("STX")), std::stoi(before.at("STX")));
        EXPECT_EQ(std::stoi(after.at("SRX")), std::stoi(before.at("SRX")));
        EXPECT_EQ(after.at("QSO_WORD"), "QSO:");
    }
}

// The QSO lines of a Cabrillo file.
std::vector<std::string> qsoLines(const fs::path& path) {
    std::vector<std::string> lines;
    std::istringstream in(TempDir::read(path.string()));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.rfind("QSO:", 0) == 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

// A VHF contest log read in (band designators, kHz above 30 MHz) and written out again through
// a template gives back its QSO lines: two end-to-end cases, the second reading what the first
// writes, and the Cabrillo cases of the corpus use the bundled layouts and names.
TEST(CabrilloRoundTrip, VhfBandDesignatorsComeBack) {
    const fs::path in = kGoldenDir / "real-cabrillo-vhf-band-designators";
    const fs::path back = kGoldenDir / "real-cabrillo-vhf-back-to-cabrillo";
    EXPECT_EQ(TempDir::read((back / "start/vhf.adi").string()),
              TempDir::read((in / "expected/out/vhf.adi").string()));
    const std::vector<std::string> original = qsoLines(in / "start/vhf.log");
    ASSERT_EQ(original.size(), 5u);
    EXPECT_EQ(qsoLines(back / "expected/out/vhf.log"), original);
    for (const char* name :
         {"real-cabrillo-vhf-band-designators", "real-n1mm-cabrillo3-cqww-layout",
          "real-cabrillo2-sweepstakes-without-created-by"}) {
        for (const char* file :
             {"cabrillo_contest_layouts.txt", "fields_name_cabrillo_format.txt"}) {
            EXPECT_EQ(TempDir::read((kGoldenDir / name / "start" / file).string()),
                      TempDir::read((kDataDir / file).string()))
                << name << " " << file;
        }
    }
}

}  // namespace
}  // namespace velmark
