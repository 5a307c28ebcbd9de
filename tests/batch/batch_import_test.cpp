// velmark-batch import-dxcc: the next command of the same start directory uses the new list,
// and a refused country file leaves the one there in use. find adds the note of the
// suffix-length table.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "batch/batch_commands.h"
#include "support/temp_dir.h"

namespace velmark::batch {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

class BatchImport : public ::testing::Test {
  protected:
    BatchImport() {
        // The small list of the end-to-end tests knows no Russian prefix.
        fs::copy_file(fs::path(VELMARK_TEST_DATA_DIR) / ".." / "golden" / "DXCC.LST",
                      start.path() / "DXCC.LST");
        config = downloads.write("setup.ini", "[MAIN]\r\nLanguage=English\r\n");
    }

    int run(const std::vector<std::string>& command) {
        out.str("");
        err.str("");
        std::vector<std::string> words = {"--config", config, "--start-dir", start.path().string(),
                                          "--lang",   "en"};
        words.insert(words.end(), command.begin(), command.end());
        return RunBatchCommandLine(words, out, err);
    }

    TempDir start;
    TempDir downloads;
    std::string config;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(BatchImport, TheNextCommandUsesTheNewList) {
    ASSERT_EQ(run({"find", "UA9ABC"}), kExitDone);
    EXPECT_NE(out.str().find("UA9ABC\tCountry not present\n"), std::string::npos) << out.str();

    const std::string countryFile = downloads.write(
        "cty.csv",
        "UA,European Russia,54,EU,16,29,53.65,-41.37,-4.0,R U;\r\n"
        "UA9,Asiatic Russia,15,AS,17,30,55.88,-84.08,-7.0,R9 RA9 UA9 UA0(19)[33];\r\n");
    ASSERT_EQ(run({"import-dxcc", countryFile}), kExitDone) << err.str();
    EXPECT_EQ(err.str(), "");
    EXPECT_TRUE(fs::exists(start.file("DXCC.LST.bak")));

    ASSERT_EQ(run({"find", "UA9ABC", "UA0XYZ"}), kExitDone);
    EXPECT_NE(out.str().find("UA9ABC\tASIATIC RUSSIA\t2\t15\t17\t30\tAS"), std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("UA0XYZ\tASIATIC RUSSIA\t2\t15\t19\t33\tAS"), std::string::npos)
        << out.str();
}

TEST_F(BatchImport, ARefusedFileLeavesTheListInUse) {
    const std::string before = TempDir::read(start.file("DXCC.LST"));
    const std::string countryFile =
        downloads.write("cty.csv", "UA,European Russia,54,EU,16,29,53.65,-41.37,-4.0,R U\r\n");
    EXPECT_EQ(run({"import-dxcc", countryFile}), kExitRefused);
    EXPECT_NE(err.str().find("line no. 1: the entity's prefix list does not end with \";\""),
              std::string::npos)
        << err.str();
    EXPECT_EQ(TempDir::read(start.file("DXCC.LST")), before);
    EXPECT_FALSE(fs::exists(start.file("DXCC.LST.bak")));

    EXPECT_EQ(run({"import-dxcc", downloads.file("missing.csv")}), kExitFileError);
    EXPECT_NE(err.str().find("missing.csv"), std::string::npos) << err.str();
    EXPECT_EQ(TempDir::read(start.file("DXCC.LST")), before);
}

TEST_F(BatchImport, FindAddsTheNoteOfASuffixLengthPrefix) {
    start.write("SUFFIX_RULES.TXT", "SP5  check the suffix\r\n");
    ASSERT_EQ(run({"find", "SP5XYZ", "SP6XYZ"}), kExitDone);
    const std::string text = out.str();
    const std::size_t sp5 = text.find("SP5XYZ\tPOLAND");
    ASSERT_NE(sp5, std::string::npos) << text;
    EXPECT_EQ(text.substr(text.find('\n', sp5) + 1),
              "\tThe DXCC entity of calls with this prefix depends on the length of the suffix, "
              "which the DXCC list cannot tell - check the card by hand: SP5  check the suffix\n"
              "SP6XYZ\tPOLAND\t1\t269\t15\t28\tEU\t\t\n");
}

}  // namespace
}  // namespace velmark::batch
