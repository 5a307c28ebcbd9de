// setup.ini files that the fuzzer made: a write must give back what was read, whatever the
// file held, and a file that may not be written is left exactly as it was, for root as well.

#include <gtest/gtest.h>

#include <string>

#include "core/errors.h"
#include "settings/configuration.h"
#include "support/file_obstacles.h"
#include "support/temp_dir.h"

namespace velmark {
namespace {

using testing::TempDir;

// The writer marks the end of the loaded text with a section of its own, whose line it takes
// out again. A section name of the file that merely contains the marker's text is no marker:
// taking that text out of it joined its line with the next and lost the next section's keys.
TEST(ConfigWriteHardening, SectionNameHoldingTheEndMarkerSurvivesAWrite) {
    TempDir dir;
    const std::string head = "[MAI[\x1Fvelmark end of loaded text\x1F]\r\n";
    const std::string path =
        dir.write("setup.ini", head + "[For Sort and translate]\r\nType output file=CSVwy\r\n");
    TKonfiguracja config;
    ConfigRead(config, path);
    ASSERT_EQ(config.OutputFileType, 1);

    ConfigWrite(config, path);
    TKonfiguracja reread;
    ConfigRead(reread, path);
    EXPECT_EQ(reread, config);
    EXPECT_EQ(TempDir::read(path).rfind(head, 0), 0u) << "the file's own section line stays";
}

// A file with a section of exactly the marker's name: its keys must stay out of the section
// before it, where they would overwrite the station's own data.
TEST(ConfigWriteHardening, SectionNamedLikeTheEndMarkerKeepsItsKeysToItself) {
    TempDir dir;
    const std::string path = dir.write("setup.ini",
                                       "[Personal info]\r\nZIPP=00-950\r\n; note\r\n"
                                       "[\x1Fvelmark end of loaded text\x1F]\r\nZIPP=30-001\r\n");
    TKonfiguracja config;
    ConfigRead(config, path);
    ASSERT_EQ(config.PersonalInfo.Zip, "00-950");

    ConfigWrite(config, path);
    TKonfiguracja reread;
    ConfigRead(reread, path);
    EXPECT_EQ(reread, config);
    ConfigWrite(reread, path);
    TKonfiguracja third;
    ConfigRead(third, path);
    EXPECT_EQ(third.PersonalInfo.Zip, "00-950");
}

TEST(ConfigWriteHardening, WriteProtectedFileIsLeftAsItWas) {
    TempDir dir;
    const std::string before = "[MAIN]\r\nLanguage=Polish\r\n; the station's own notes\r\n";
    const std::string path = dir.write("setup.ini", before);
    const testing::ReadOnlyFile protect(path);
    if (!protect.inForce())
        GTEST_SKIP() << "this file system lets root write any file";
    TKonfiguracja config;
    config.Language = 1;
    try {
        ConfigWrite(config, path);
        ADD_FAILURE() << "a write-protected setup.ini was written";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + path);
    }
    EXPECT_EQ(TempDir::read(path), before);
}

}  // namespace
}  // namespace velmark
