// The run driver when a write fails half-way: the error goes up to the command with the
// system's message, the message list claims no file, and the input log is left as it was.

#include <gtest/gtest.h>
#include <algorithm>
#include <map>
#include <vector>

#include <filesystem>
#include <string>
#include <vector>

#include "core/errors.h"
#include "support/file_obstacles.h"
#include "support/temp_dir.h"
#include "tests/run/run_fixture.h"

namespace velmark::testing {
namespace {

using TextKey = std::string TNazwyJezykowe::*;

// A log of `count` QSOs of two entities and some without one.
std::string LogOf(int count) {
    std::string log = "Test log\r\n<EOH>\r\n";
    const char* calls[] = {"XAA1AB", "XAB2CD", "Q9ZZZ"};
    for (int i = 0; i < count; ++i) log += AdifQso(calls[i % 3] + std::to_string(i));
    return log;
}

void ExpectNoClaims(const RunFixture& run) {
    for (const TextKey claim :
         {&TNazwyJezykowe::RepTitle, &TNazwyJezykowe::RepSortedFileIn,
          &TNazwyJezykowe::RepWrittenInDir, &TNazwyJezykowe::MsgTranslatedFileIn,
          &TNazwyJezykowe::MsgCountryCsvWritten, &TNazwyJezykowe::RepAlsoInReportTxt}) {
        for (const std::string& message : run.ui.messages) {
            EXPECT_EQ(message.find(run.texts.*claim), std::string::npos)
                << "a failed run claims: " << message;
        }
    }
}

// Each output file may hold 1500 bytes; the sorted output of 100 QSOs needs about 2800, so
// the disk "fills up" in the middle of the main output. The previous run's complete files
// (main output, part files, COUNTRY.CSV, Report.txt) must come through byte for byte, with no
// temporary file left beside them.
TEST(RunFailure, OutputThatFillsUpMidWriteStopsTheRunAndKeepsThePreviousFiles) {
    for (const bool divided : {false, true}) {
        SCOPED_TRACE(divided ? "divided into part files" : "one output file");
        RunFixture run;
        run.config.DivideOutputFile = divided;
        run.config.MaxQslPerFile = 10;
        std::map<std::string, std::string> previous;
        for (const char* name :
             {"qsl.csv", "qsl_001.csv", "qsl_002.csv", "COUNTRY.CSV", "Report.txt"})
            previous[name] = TempDir::read(run.dir.write(std::string("out/") + name,
                                                         std::string("previous ") + name + "\r\n"));
        const std::string log = LogOf(100);
        run.ReadLog(log);
        try {
            const FileSizeLimit diskFull(1500);
            run.Write();
            ADD_FAILURE() << "the run reported no error";
        } catch (const FileError& error) {
            EXPECT_EQ(std::string(error.what()), "File too large: " + run.OutputPath());
        }
        EXPECT_FALSE(run.ui.endButtonsVisible) << "the run is not shown as finished";
        ExpectNoClaims(run);
        std::vector<std::string> expectedNames;
        for (const auto& [name, bytes] : previous) {
            EXPECT_EQ(TempDir::read(run.OutputPath(name)), bytes) << name;
            expectedNames.push_back(name);
        }
        std::vector<std::string> names = run.OutputFiles();
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, expectedNames) << "a temporary file was left behind";
        EXPECT_EQ(TempDir::read(run.values.InputFileName), log);
    }
}

// The window stores the input date format once the user has given it; a setup.ini that may not
// be written stops the run there, as any failed write does, and keeps its old text.
TEST(RunFailure, ReadOnlySetupIniStopsTheRunWhenTheDateFormatIsStored) {
    RunFixture run;
    const std::string before = "[MAIN]\r\nLanguage=English\r\n";
    const std::string setupIni = run.dir.write("setup.ini", before);
    const ReadOnlyFile protect(setupIni);
    if (!protect.inForce())
        GTEST_SKIP() << "this file system lets root write any file";
    run.objects.SetupIniPath = setupIni;
    run.config.InputDateFormat = 0;
    run.ui.inputAnswers.push_back("YYYYMMDD");
    const std::string log = LogOf(3);
    run.values.InputFileName = run.dir.write("input.adi", log);

    try {
        ReadInputLog(run.objects, InputKindFor(0));
        ADD_FAILURE() << "the run reported no error";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + setupIni);
    }
    EXPECT_EQ(TempDir::read(setupIni), before);
    EXPECT_EQ(TempDir::read(run.values.InputFileName), log);
    EXPECT_FALSE(run.processing.InputTymLog && run.processing.InputTymLog->isOpen())
        << "TYM.LOG is closed when the run stops";
}

}  // namespace
}  // namespace velmark::testing
