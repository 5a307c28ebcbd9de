// velmark-batch when the disk says no: an output that cannot be created or fills up, a start
// directory where TYM.LOG or LISTA.UPO cannot be written. Each command ends with the system's
// message and exit status 3, leaves the input log as it was, and prints no line that claims a
// file was written.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "batch/batch_commands.h"
#include "settings/text_table.h"
#include "support/file_obstacles.h"
#include "support/temp_dir.h"

namespace velmark::batch {
namespace {

namespace fs = std::filesystem;
using testing::SmallFileSystem;
using testing::TempDir;

// A log of 400 QSOs with stations of ten callsign areas, so that the sorted CSV output (about 14
// kB) outgrows a file system of two pages.
std::string SampleLog() {
    const char* calls[] = {"SP5ABC", "DL1ABC", "G4ABC", "JA1ABC", "W1AW",
                           "VK2ABC", "F5ABC",  "I2ABC", "OK2ABC", "UA3ABC"};
    std::string log = "Test log\r\n<EOH>\r\n";
    for (int i = 0; i < 400; ++i) {
        const std::string call = calls[i % 10] + std::string(1, static_cast<char>('A' + i % 26));
        log += "<CALL:" + std::to_string(call.size()) + ">" + call + "<QSO_DATE:8>202001" +
               (i % 28 < 9 ? "0" : "") + std::to_string(i % 28 + 1) +
               "<TIME_ON:4>1200<BAND:3>20m<MODE:2>CW<RST_SENT:3>599<EOR>\r\n";
    }
    return log;
}

// The text-table lines that claim a file was written.
using TextKey = std::string TNazwyJezykowe::*;
const std::vector<TextKey> kWrittenClaims = {&TNazwyJezykowe::RepTitle,
                                             &TNazwyJezykowe::RepSortedFileIn,
                                             &TNazwyJezykowe::RepWrittenInDir,
                                             &TNazwyJezykowe::MsgTranslatedFileIn,
                                             &TNazwyJezykowe::MsgCountryCsvWritten,
                                             &TNazwyJezykowe::RepAlsoInReportTxt};

class BatchFailureTest : public ::testing::Test {
  protected:
    BatchFailureTest() {
        texts.Fill(kLanguageEnglish);
        fs::create_directories(start);
        // The small list of the end-to-end tests: eight entities, quick to load.
        fs::copy_file(fs::path(VELMARK_TEST_DATA_DIR) / ".." / "golden" / "DXCC.LST",
                      start / "DXCC.LST");
        fs::create_directories(dir.path() / "out");
        input = dir.write("log.adi", log);
        config = dir.write("setup.ini", "[MAIN]\r\nLanguage=English\r\n");
    }

    // Runs "COMMAND log.adi OUTPUT" with English texts, ADIF in and CSV out, one QSO a card.
    int run(const std::string& command, const std::string& output) {
        return RunBatchCommandLine(
            {"--config",      config,     "--start-dir",  start.string(), "--lang",        "en",
             "--input-type",  "adif",     "--input-date", "YYYYMMDD",     "--output-type", "csv",
             "--output-date", "as-input", "--order",      "dxcc",         "--per-card",    "1",
             "--no-divide",   command,    input,          output},
            out, err);
    }

    // What every failed command must show.
    void expectFailedWith(int status, const std::string& message,
                          const std::vector<TextKey>& claims = kWrittenClaims) {
        EXPECT_EQ(status, kExitFileError);
        EXPECT_NE(err.str().find(message), std::string::npos)
            << "expected \"" << message << "\" on standard error, got: " << err.str();
        EXPECT_EQ(TempDir::read(input), log) << "the input log was changed";
        for (const TextKey claim : claims) {
            EXPECT_EQ(out.str().find(texts.*claim), std::string::npos)
                << "a failed run claims \"" << texts.*claim << "\":\n"
                << out.str();
        }
    }

    TempDir dir;
    const fs::path start = dir.path() / "start";
    const std::string log = SampleLog();
    std::string input;
    std::string config;
    TNazwyJezykowe texts;
    std::ostringstream out;
    std::ostringstream err;
};

// An output that cannot be created at all, by the road the system refuses it.
struct UncreatableOutput {
    const char* name;
    const char* command;
    // Makes the obstacle and returns the output path.
    std::function<std::string(const TempDir&)> prepare;
    const char* systemMessage;
};

void PrintTo(const UncreatableOutput& c, std::ostream* os) {
    *os << c.name;
}

class UncreatableOutputTest : public BatchFailureTest,
                              public ::testing::WithParamInterface<UncreatableOutput> {};

TEST_P(UncreatableOutputTest, EndsWithTheSystemMessageAndClaimsNothing) {
    const UncreatableOutput& c = GetParam();
    const std::string output = c.prepare(dir);
    expectFailedWith(run(c.command, output), std::string(c.systemMessage) + ": " + output);
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, UncreatableOutputTest,
    ::testing::Values(
        // As root, permissions stop nothing; a directory that is really a file always does.
        UncreatableOutput{"SortIntoADirectoryThatIsAFile", "sort",
                          [](const TempDir& d) {
                              d.write("plain", "x");
                              return d.file("plain/qsl.csv");
                          },
                          "Not a directory"},
        UncreatableOutput{"TranslateIntoAMissingDirectory", "translate",
                          [](const TempDir& d) { return d.file("missing/qsl.csv"); },
                          "No such file or directory"},
        UncreatableOutput{"SortOntoADirectoryOfTheSameName", "sort",
                          [](const TempDir& d) {
                              fs::create_directories(d.path() / "out" / "qsl.csv");
                              return d.file("out/qsl.csv");
                          },
                          "Is a directory"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BatchFailureTest, TranslationOntoAFullDeviceEndsWithNoSpaceLeft) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full on this system";
    expectFailedWith(run("translate", "/dev/full"), "No space left on device: /dev/full");
}

TEST_F(BatchFailureTest, DiskThatFillsUpMidWriteEndsWithNoSpaceLeft) {
    const SmallFileSystem small(dir.path() / "small", 8192);
    if (!small.mounted())
        GTEST_SKIP() << "no right to mount a small file system";
    const std::string output = (dir.path() / "small" / "qsl.csv").string();
    expectFailedWith(run("sort", output), "No space left on device: " + output);
    // The file took what fitted before the disk was full: the failure came mid-write.
    std::error_code error;
    EXPECT_GT(fs::file_size(output, error), 0u);
}

TEST_F(BatchFailureTest, ReadOnlyOutputFileSystemEndsWithItsMessage) {
    SmallFileSystem readOnly(dir.path() / "ro", 65536);
    if (!readOnly.mounted() || !readOnly.MakeReadOnly())
        GTEST_SKIP() << "no right to mount a read-only file system";
    const std::string output = (dir.path() / "ro" / "qsl.csv").string();
    expectFailedWith(run("sort", output), "Read-only file system: " + output);
}

// --- the start directory ---

TEST_F(BatchFailureTest, TymLogThatIsADirectoryEndsTheRunBeforeAnyOutput) {
    fs::create_directories(start / "TYM.LOG");
    const std::string output = dir.file("out/qsl.csv");
    expectFailedWith(run("sort", output), "Is a directory: " + (start / "TYM.LOG").string());
    EXPECT_FALSE(fs::exists(output));
}

TEST_F(BatchFailureTest, ReadOnlyStartDirectoryEndsTheRunAtItsFirstFile) {
    SmallFileSystem readOnlyStart(dir.path() / "ro-start", 1 << 20);
    if (!readOnlyStart.mounted())
        GTEST_SKIP() << "no right to mount a read-only file system";
    fs::copy_file(start / "DXCC.LST", dir.path() / "ro-start" / "DXCC.LST");
    ASSERT_TRUE(readOnlyStart.MakeReadOnly());
    const std::string output = dir.file("out/qsl.csv");
    const int status =
        RunBatchCommandLine({"--config", config, "--start-dir", dir.file("ro-start"),
                             "--input-date", "YYYYMMDD", "--per-card", "1", "sort", input, output},
                            out, err);
    // LISTA.UPO is the first file the run writes there, before TYM.LOG.
    expectFailedWith(status, "Read-only file system: " + dir.file("ro-start/LISTA.UPO"));
    EXPECT_FALSE(fs::exists(output));
}

// TYM.LOG takes 2052 bytes a QSO: the 400 QSOs fill a start directory of 64 kB long before
// the log ends.
TEST_F(BatchFailureTest, StartDirectoryThatFillsUpWithTymLogEndsWithNoSpaceLeft) {
    SmallFileSystem smallStart(dir.path() / "small-start", 65536);
    if (!smallStart.mounted())
        GTEST_SKIP() << "no right to mount a small file system";
    fs::copy_file(start / "DXCC.LST", dir.path() / "small-start" / "DXCC.LST");
    const std::string output = dir.file("out/qsl.csv");
    const int status =
        RunBatchCommandLine({"--config", config, "--start-dir", dir.file("small-start"),
                             "--input-date", "YYYYMMDD", "--per-card", "1", "sort", input, output},
                            out, err);
    expectFailedWith(status, "No space left on device: " + dir.file("small-start/TYM.LOG"));
    EXPECT_FALSE(fs::exists(output));
}

TEST_F(BatchFailureTest, MissingStartDirectoryIsAMissingDxccList) {
    const std::string output = dir.file("out/qsl.csv");
    const int status =
        RunBatchCommandLine({"--config", config, "--start-dir", dir.file("no-such-start"),
                             "--per-card", "1", "sort", input, output},
                            out, err);
    expectFailedWith(status, texts.MsgInputFileMissing);
    EXPECT_FALSE(fs::exists(output));
}

// --- the files written after the main output ---

TEST_F(BatchFailureTest, CountryCsvThatCannotBeWrittenStopsBeforeTheReport) {
    fs::create_directories(dir.path() / "out" / "COUNTRY.CSV");
    expectFailedWith(run("sort", dir.file("out/qsl.csv")),
                     "Is a directory: " + dir.file("out/COUNTRY.CSV"));
}

TEST_F(BatchFailureTest, ReportFileThatCannotBeWrittenIsNotClaimed) {
    fs::create_directories(dir.path() / "out" / "Report.txt");
    expectFailedWith(run("sort", dir.file("out/qsl.csv")),
                     "Is a directory: " + dir.file("out/Report.txt"),
                     {&TNazwyJezykowe::RepAlsoInReportTxt});
}

// velmark-batch reads setup.ini and never writes it, so a write-protected one is no obstacle,
// even when the date format is settled on the way (the window stores it; the batch does not).
TEST_F(BatchFailureTest, ReadOnlySetupIniIsReadAndLeftAlone) {
    const std::string before =
        "[MAIN]\r\nLanguage=English\r\n[Format QSO_Date For Sort and "
        "translate]\r\nType format of input date QSO=Dont know\r\n";
    config = dir.write("setup.ini", before);
    const testing::ReadOnlyFile protect(config);
    const int status =
        RunBatchCommandLine({"--config", config, "--start-dir", start.string(), "--per-card", "1",
                             "sort", input, dir.file("out/q.csv")},
                            out, err);
    EXPECT_EQ(status, kExitDone) << err.str();
    EXPECT_EQ(TempDir::read(config), before);
    EXPECT_EQ(TempDir::read(input), log);
}

}  // namespace
}  // namespace velmark::batch
