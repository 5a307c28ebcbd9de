// Whole velmark-batch processes meeting in one start directory, and runs killed half-way.
// A run that holds the start directory is made to wait, for as long as the test likes, by
// giving it a named pipe as its input log: it takes the lock, loads the DXCC list and then
// waits in opening the log, until the test ends it.

#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support/child_process.h"
#include "support/temp_dir.h"

namespace velmark::batch {
namespace {

namespace fs = std::filesystem;
using testing::ChildProcess;
using testing::TempDir;

const std::string kProgram = VELMARK_BATCH_PROGRAM;

// A log of `count` QSOs with stations of ten callsign areas; `variant` changes the callsigns,
// so that two logs of one size give different outputs.
std::string GeneratedLog(int count, char variant) {
    const char* areas[] = {"SP5", "DL1", "G4", "JA1", "W1", "VK2", "F5", "I2", "OK2", "UA3"};
    std::string log = "Generated log\r\n<EOH>\r\n";
    log.reserve(static_cast<std::size_t>(count) * 110);
    for (int i = 0; i < count; ++i) {
        std::string call = areas[i % 10];
        call += variant;
        call += static_cast<char>('A' + i / 10 % 26);
        call += static_cast<char>('A' + i / 260 % 26);
        log += "<CALL:" + std::to_string(call.size()) + ">" + call + "<QSO_DATE:8>202001" +
               std::to_string(10 + i % 19) + "<TIME_ON:4>1200<BAND:3>20m<MODE:2>CW" +
               "<RST_SENT:3>599<EOR>\r\n";
    }
    return log;
}

// Every file under a directory, by relative path, except the lock file itself.
std::map<std::string, std::string> filesUnder(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file() && entry.path().filename() != ".velmark.lock")
            files[fs::relative(entry.path(), root).string()] = TempDir::read(entry.path());
    }
    return files;
}

std::vector<std::string> temporaryFilesUnder(const fs::path& root) {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.path().filename().string().ends_with(".velmark-tmp"))
            found.push_back(entry.path().string());
    }
    return found;
}

class ConcurrentRuns : public ::testing::Test {
  protected:
    ConcurrentRuns() {
        fs::create_directories(start / "out");
        fs::copy_file(fs::path(VELMARK_TEST_DATA_DIR) / ".." / "golden" / "DXCC.LST",
                      start / "DXCC.LST");
        dir.write("setup.ini", "[MAIN]\r\nLanguage=English\r\n");
    }

    // velmark-batch with a sort (or another command) in the start directory; its standard
    // output and error go into a capture folder of its own.
    std::unique_ptr<ChildProcess> Start(const std::vector<std::string>& command) {
        std::vector<std::string> words = {"--config",      dir.file("setup.ini"),
                                          "--start-dir",   start.string(),
                                          "--lang",        "en",
                                          "--input-date",  "YYYYMMDD",
                                          "--per-card",    "3",
                                          "--divide",      "500",
                                          "--order",       "dxcc",
                                          "--output-type", "csv"};
        words.insert(words.end(), command.begin(), command.end());
        const fs::path capture = dir.path() / ("capture" + std::to_string(++m_started));
        fs::create_directories(capture);
        return std::make_unique<ChildProcess>(kProgram, words, start, capture);
    }

    // A sort that holds the start directory until it is killed. It is waiting for its log once
    // it has written LISTA.UPO (loading the DXCC list) and opens nothing else before the log.
    std::unique_ptr<ChildProcess> StartHolder(const std::string& output) {
        const fs::path pipe = dir.path() / "held.adi";
        EXPECT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
        auto holder = Start({"sort", pipe.string(), (start / "out" / output).string()});
        EXPECT_TRUE(testing::WaitUntilStartDirectoryLocked(start)) << holder->Err();
        while (holder->Running() &&
               (!fs::exists(start / "LISTA.UPO") || !temporaryFilesUnder(start).empty()))
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return holder;
    }

    TempDir dir;
    const fs::path start = dir.path() / "start";

  private:
    int m_started = 0;
};

// A second run in the same start directory is refused at once, names the directory, exits 1
// and touches no file; a short command waits for the first run to end and then works.
TEST_F(ConcurrentRuns, SecondRunIsRefusedAndAShortCommandWaitsForTheFirstToEnd) {
    const std::string input = dir.write("log.adi", GeneratedLog(30, 'A'));
    auto holder = StartHolder("first.csv");
    const auto before = filesUnder(start);

    for (const char* command : {"sort", "translate"}) {
        SCOPED_TRACE(command);
        auto second = Start({command, input, (start / "out" / "second.csv").string()});
        EXPECT_EQ(second->Wait(), 1);
        EXPECT_NE(second->Err().find("Another VELMARK run is working in " + start.string()),
                  std::string::npos)
            << second->Err();
        EXPECT_EQ(filesUnder(start), before) << "the refused run touched a file";
    }

    auto find = Start({"find", "SP5ABC"});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(find->Running()) << "the short command did not wait: " << find->Err();
    holder->Kill(SIGKILL);
    holder->Wait();
    EXPECT_EQ(find->Wait(), 0) << find->Err();
    EXPECT_NE(find->Out().find("SP5ABC\t"), std::string::npos) << find->Out();
}

// The system lets go of the lock of a killed run: the next run works.
TEST_F(ConcurrentRuns, KilledHolderLeavesNoLockBehind) {
    auto holder = StartHolder("first.csv");
    holder->Kill(SIGKILL);
    EXPECT_EQ(holder->Wait(), 128 + SIGKILL);
    EXPECT_FALSE(testing::StartDirectoryLocked(start));

    const std::string input = dir.write("log.adi", GeneratedLog(30, 'A'));
    auto next = Start({"sort", input, (start / "out" / "next.csv").string()});
    EXPECT_EQ(next->Wait(), 0) << next->Err();
    EXPECT_TRUE(fs::exists(start / "out" / "next.csv"));
}

// A 200,000-QSO sort killed at random moments: every output file is, byte for byte, either the
// previous run's or the complete new one, never a part of it; what a killed run leaves as
// temporary files the next run removes.
TEST_F(ConcurrentRuns, SortKilledAtRandomMomentsLeavesEveryFileWhole) {
#ifdef VELMARK_SANITIZED
    constexpr int kQsos = 20000;
#else
    constexpr int kQsos = 200000;
#endif
    const std::string previousLog = dir.write("previous.adi", GeneratedLog(kQsos, 'A'));
    const std::string newLog = dir.write("new.adi", GeneratedLog(kQsos, 'B'));
    const std::string output = (start / "out" / "cards.csv").string();
    const auto completeRun = [&](const std::string& log) {
        const auto began = std::chrono::steady_clock::now();
        auto run = Start({"sort", log, output});
        EXPECT_EQ(run->Wait(), 0) << run->Err();
        return std::chrono::steady_clock::now() - began;
    };

    const auto took = completeRun(newLog);
    const auto newFiles = filesUnder(start / "out");
    completeRun(previousLog);
    const auto previousFiles = filesUnder(start / "out");
    ASSERT_GT(previousFiles.size(), 3u) << "main output, part files, COUNTRY.CSV, Report.txt";

    // The output files are written once TYM.LOG holds every QSO: most rounds are killed at a
    // random moment of that phase, the first anywhere in the run.
    const fs::path tymLog = start / "TYM.LOG";
    const auto tymLogComplete = [&] {
        std::error_code error;
        return fs::file_size(tymLog, error) == std::uintmax_t{2052} * kQsos;
    };
    std::mt19937 random(20261209);
    const auto span = std::chrono::duration_cast<std::chrono::milliseconds>(took).count();
    for (int round = 1; round <= 4; ++round) {
        const bool anywhere = round == 1;
        const auto moment =
            std::uniform_int_distribution<long>(0, anywhere ? span : span / 3)(random);
        SCOPED_TRACE("killed " + std::to_string(moment) + " ms after " +
                     (anywhere ? "its start" : "reading ended"));
        fs::remove(tymLog);
        auto run = Start({"sort", newLog, output});
        while (!anywhere && run->Running() && !tymLogComplete())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::this_thread::sleep_for(std::chrono::milliseconds(moment));
        run->Kill(SIGKILL);
        run->Wait();
        for (const auto& [name, bytes] : filesUnder(start / "out")) {
            if (name.ends_with(".velmark-tmp"))
                continue;
            const auto old = previousFiles.find(name);
            const auto complete = newFiles.find(name);
            const bool whole = (old != previousFiles.end() && old->second == bytes) ||
                               (complete != newFiles.end() && complete->second == bytes);
            EXPECT_TRUE(whole) << name << " is neither the previous file nor the new one";
        }
        // Put the previous set back for the next round.
        for (const auto& [name, bytes] : filesUnder(start / "out")) {
            if (!name.ends_with(".velmark-tmp") && previousFiles.count(name) == 0)
                fs::remove(start / "out" / name);
        }
        for (const auto& [name, bytes] : previousFiles) dir.write("start/out/" + name, bytes);
    }
    completeRun(newLog);
    EXPECT_EQ(filesUnder(start / "out"), newFiles);
    EXPECT_EQ(temporaryFilesUnder(start), std::vector<std::string>{})
        << "temporary files of the killed runs stayed";
}

}  // namespace
}  // namespace velmark::batch
