// The import command: DXCC.LST of a start directory made anew from a country file.

#include "dxcc_import/dxcc_import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "core/errors.h"
#include "cty_excerpt.h"
#include "dxcc_import/list_making.h"
#include "dxcc_import/scratch_directory.h"
#include "settings/text_table.h"
#include "support/scripted_user_interface.h"
#include "support/temp_dir.h"

namespace velmark::dxcc_import {
namespace {

namespace fs = std::filesystem;
using testing::kCtyDatExcerpt;
using testing::kCtyExcerpt;

const std::string kOldList =
    "{ an older list\r\n"
    "ITALY                              15   28   EU                                       248\r\n"
    "  I\r\n";

// Every file of a directory with its bytes.
std::map<std::string, std::string> filesOf(const fs::path& directory) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(directory)) {
        files[entry.path().filename().string()] =
            velmark::testing::TempDir::read(entry.path().string());
    }
    return files;
}

bool anyStartsWith(const std::vector<std::string>& lines, const std::string& start) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.rfind(start, 0) == 0; });
}

class DxccImport : public ::testing::Test {
  protected:
    DxccImport() { texts.Fill(kLanguageEnglish); }

    bool import(const std::string& countryFile) {
        return ImportDxccList(countryFile, start.path().string(), texts, ui);
    }
    std::string listMadeFrom(const std::string& countryFileText) {
        const ScratchDirectory scratch;
        return MakeDxccList(testing::ParseText(countryFileText), scratch, texts).text;
    }

    velmark::testing::TempDir start;
    velmark::testing::TempDir downloads;
    TNazwyJezykowe texts;
    velmark::testing::ScriptedUserInterface ui;
};

TEST_F(DxccImport, WritesTheListKeepsThePreviousOneAndReports) {
    start.write("DXCC.LST", kOldList);
    start.write("LISTA.UPO", "old report\r\n");
    ASSERT_TRUE(import(downloads.write("cty.csv", kCtyExcerpt)));
    EXPECT_TRUE(ui.errorBoxes.empty()) << ui.errorBoxes.front();

    const std::map<std::string, std::string> files = filesOf(start.path());
    // Nothing else is left in the start directory: no temporary file, no trial list.
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files.at("DXCC.LST"), listMadeFrom(kCtyExcerpt));
    EXPECT_EQ(files.at("DXCC.LST.bak"), kOldList);
    // The report of the new list, as the next load writes it.
    EXPECT_NE(files.at("LISTA.UPO").find("=R9ABA"), std::string::npos);

    const std::string dir = start.path().string();
    EXPECT_EQ(ui.captions.front(), texts.ImpCaption);
    EXPECT_EQ(ui.progress.back(), 100);
    const std::vector<std::string> expected = {
        "Country file: " + downloads.file("cty.csv") + "  (cty.csv layout, release 20230502)",
        "Entities in the file: 6, DXCC entities once their parts are joined: 4",
        // Germany 2 (DL0ABC's zone), Italy 2 (African Italy's zones), European Russia 2 (R9AB's
        // zones), Asiatic Russia 3 (a full prefix text, the zones of UA0).
        "DXCC list lines: 9 of 2999",
        "Prefix table entries: 46 of 9000  (prefixes: 14, exact calls: 6, guard entries: 26)",
        "Exact calls (=CALL) in the file: 10, of which the prefixes alone answer right: 4",
        "Exact calls kept in the list: 6, dropped for lack of room: 0, dropped as they would "
        "catch longer calls of another entity or are too long: 0",
        "Agreement with the country file: 27 of 27 prefixes and exact calls resolve to their own "
        "entity  (100.00 %)",
        "The new DXCC list was written: " + dir + "/DXCC.LST",
        "The previous list is kept as: " + dir + "/DXCC.LST.bak",
        "The next commands use the new list.",
    };
    EXPECT_EQ(ui.messages, expected);
}

TEST_F(DxccImport, KeepsOneGenerationAndNeedsNoPreviousList) {
    ASSERT_TRUE(import(downloads.write("cty.csv", kCtyExcerpt)));
    EXPECT_FALSE(fs::exists(start.file("DXCC.LST.bak")));
    EXPECT_EQ(ui.messages[ui.messages.size() - 2], texts.ImpNoPrevious);
    const std::string first = velmark::testing::TempDir::read(start.file("DXCC.LST"));

    const std::string smaller = "DL,Fed. Rep. of Germany,230,EU,14,28,51.00,-10.00,-1.0,DA DL;\n";
    ASSERT_TRUE(import(downloads.write("cty2.csv", smaller)));
    EXPECT_EQ(velmark::testing::TempDir::read(start.file("DXCC.LST")), listMadeFrom(smaller));
    EXPECT_EQ(velmark::testing::TempDir::read(start.file("DXCC.LST.bak")), first);
}

TEST_F(DxccImport, CtyDatAndCtyCsvGiveTheSameList) {
    ASSERT_TRUE(import(downloads.write("cty.dat", kCtyDatExcerpt)));
    const std::string fromDat = velmark::testing::TempDir::read(start.file("DXCC.LST"));
    EXPECT_NE(ui.messages.front().find("(cty.dat layout"), std::string::npos);
    ASSERT_TRUE(import(downloads.write("cty.csv", kCtyExcerpt)));
    EXPECT_EQ(velmark::testing::TempDir::read(start.file("DXCC.LST")), fromDat);
    EXPECT_EQ(fromDat, listMadeFrom(kCtyExcerpt));
}

TEST_F(DxccImport, ARefusedFileChangesNothingAndNamesItsLine) {
    const std::string manyEntities = testing::TooManyEntitiesFile();
    const std::string manyPrefixes = testing::TooManyPrefixesFile();
    const std::string germany = "DL,Germany,230,EU,14,28,0,0,0,DL;\n";
    struct Case {
        std::string countryFile;
        std::string problem;
    };
    const Case cases[] = {
        {germany + "I,Italy,248,EU,15,28,0,0,0,I D.A;\n",
         "line no. 2: not a callsign or prefix (capital letters, digits and \"/\" only): D.A"},
        {germany + "I,Italy,248,XY,15,28,0,0,0,I;\n",
         "line no. 2: unknown continent (allowed EU AF AS OC NA SA AN): XY"},
        {germany + "Italy:  15:  28:  EU:  0:  0:  0:  I:\n", "line no. 2: too few fields"},
        {manyEntities, "more DXCC entities than the list holds (600): 601"},
        {manyPrefixes, "more prefixes than the list holds (9000), even without exact calls: 9001"},
        {"", "the file holds no entity"},
    };
    start.write("DXCC.LST", kOldList);
    start.write("LISTA.UPO", "old report\r\n");
    const std::map<std::string, std::string> before = filesOf(start.path());
    for (const Case& c : cases) {
        ui.errorBoxes.clear();
        const std::string path = downloads.write("cty.csv", c.countryFile);
        EXPECT_FALSE(import(path));
        ASSERT_EQ(ui.errorBoxes.size(), 1u);
        EXPECT_EQ(ui.errorBoxes[0].substr(0, ui.errorBoxes[0].find(c.problem)),
                  texts.ImpRefused + "\rCountry file " + path + ", ")
            << ui.errorBoxes[0];
        EXPECT_EQ(filesOf(start.path()), before) << c.problem;
    }
    EXPECT_FALSE(anyStartsWith(ui.messages, texts.ImpWritten));
}

TEST_F(DxccImport, AFileThatCannotBeReadIsAFileErrorAndChangesNothing) {
    start.write("DXCC.LST", kOldList);
    const std::map<std::string, std::string> before = filesOf(start.path());
    EXPECT_THROW(import(downloads.file("missing.csv")), FileError);
    EXPECT_THROW(import(downloads.path().string()), FileError);  // a directory
    {
        // No folder for the trial lists: a file error too, not an exception nothing catches.
        const std::string kept = std::getenv("TMPDIR") != nullptr ? std::getenv("TMPDIR") : "";
        ::setenv("TMPDIR", downloads.file("no-such-folder").c_str(), 1);
        const std::string countryFile = downloads.write("cty.csv", kCtyExcerpt);
        EXPECT_THROW(import(countryFile), FileError);
        kept.empty() ? ::unsetenv("TMPDIR") : ::setenv("TMPDIR", kept.c_str(), 1);
    }
    EXPECT_EQ(filesOf(start.path()), before);
}

TEST_F(DxccImport, SpeaksPolishWithADecimalComma) {
    texts.Fill(kLanguagePolish);
    ASSERT_TRUE(import(downloads.write("cty.csv", kCtyExcerpt)));
    EXPECT_TRUE(anyStartsWith(ui.messages, texts.ImpAgreement + "27" + texts.ImpOf + "27"));
    const std::string& agreement = ui.messages[6];
    EXPECT_NE(agreement.find("(100,00 %)"), std::string::npos) << agreement;
}

}  // namespace
}  // namespace velmark::dxcc_import
