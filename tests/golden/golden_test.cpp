// End-to-end tests of velmark-batch: every folder here with a `command` file is one case. The
// runner fills a fresh start directory, runs the built program there with the case's command
// line, and compares standard output, standard error, the exit status and every file the run
// left behind with the expected ones, byte for byte. A file the run wrote that the case does not
// expect fails the case, and so does a file that was put there and is gone afterwards.
//
// Case layout (tests/golden/<case>/):
//   command    the arguments after the program name, on one line; words are separated by
//              blanks, a word in double quotes may hold blanks or be empty (""), and {start}
//              stands for the start directory
//   start/     files put into the start directory after the shared DXCC.LST and setup.ini
//   expected/  every file the run creates or changes in the start directory
//   stdout, stderr, exit_code   what the program prints and returns
//   unchecked  optional: names of files that must be there but whose bytes are not compared
// The run's current directory is the start directory, which also holds an empty out/ folder.
// In every output the start directory's path reads {start} and the build's version {version}.
//
// VELMARK_UPDATE_GOLDEN=1 rewrites the expected files from what the program does now; check the
// changes with git diff before committing them.


#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "run/start_directory_lock.h"
#include "support/child_process.h"

namespace velmark {
namespace {

namespace fs = std::filesystem;

const fs::path kCasesDir = VELMARK_GOLDEN_DIR;
const fs::path kScratchDir = VELMARK_GOLDEN_SCRATCH;
const std::string kProgram = VELMARK_BATCH_PROGRAM;
const std::string kVersion = VELMARK_VERSION_TEXT;
const std::string kStartPlaceholder = "{start}";
const std::string kVersionPlaceholder = "{version}";
// Files every start directory gets before the case's own.
const std::vector<std::string> kSharedFiles = {"DXCC.LST", "setup.ini"};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    if (from.empty())
        return;
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

// Splits the command line into words; "" gives an empty word, quotes may hold blanks.
std::vector<std::string> splitCommand(const std::string& line) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (true) {
        at = line.find_first_not_of(" \t\r\n", at);
        if (at == std::string::npos)
            return words;
        std::string word;
        while (at < line.size() && line[at] != ' ' && line[at] != '\t' && line[at] != '\r' &&
               line[at] != '\n') {
            if (line[at] == '"') {
                const std::size_t close = line.find('"', at + 1);
                if (close == std::string::npos)
                    throw std::runtime_error("unclosed quote");
                word += line.substr(at + 1, close - at - 1);
                at = close + 1;
            } else {
                word += line[at++];
            }
        }
        words.push_back(word);
    }
}

// Every regular file under a directory, by path relative to it.
std::map<std::string, std::string> filesUnder(const fs::path& root) {
    std::map<std::string, std::string> files;
    if (!fs::exists(root))
        return files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        // The lock every command holds on the start directory while it works: an empty file
        // that stays, not an output.
        if (entry.path().filename() == kStartDirectoryLockName)
            continue;
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), root).generic_string()] = readFile(entry.path());
        }
    }
    return files;
}

std::set<std::string> linesOf(const fs::path& path) {
    std::set<std::string> lines;
    if (!fs::exists(path))
        return lines;
    std::istringstream in(readFile(path));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.insert(line);
    }
    return lines;
}

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the program in the start directory with the words as its arguments.
RunResult runProgram(const fs::path& start, const fs::path& captureDir,
                     const std::vector<std::string>& words) {
    testing::ChildProcess program(kProgram, words, start, captureDir);
    RunResult result;
    result.exitCode = program.Wait();
    result.out = program.Out();
    result.err = program.Err();
    return result;
}

// Text with unprintable bytes shown as \xNN, for failure messages.
std::string printable(const std::string& text) {
    std::string shown;
    for (const unsigned char ch : text) {
        if (ch >= 0x20 && ch < 0x7F) {
            shown += static_cast<char>(ch);
        } else {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", ch);
            shown += code;
        }
    }
    return shown;
}

// Where two texts first differ, line by line.
std::string firstDifference(const std::string& expected, const std::string& actual) {
    std::istringstream e(expected);
    std::istringstream a(actual);
    std::string expectedLine;
    std::string actualLine;
    for (int line = 1;; ++line) {
        const bool moreExpected = static_cast<bool>(std::getline(e, expectedLine));
        const bool moreActual = static_cast<bool>(std::getline(a, actualLine));
        if (!moreExpected && !moreActual)
            return "the line ends differ";
        if (!moreExpected || !moreActual || expectedLine != actualLine) {
            return "line " + std::to_string(line) +
                   "\n  expected: " + (moreExpected ? printable(expectedLine) : "(end of file)") +
                   "\n  actual:   " + (moreActual ? printable(actualLine) : "(end of file)");
        }
    }
}

std::vector<std::string> listCases() {
    std::vector<std::string> cases;
    for (const auto& entry : fs::directory_iterator(kCasesDir)) {
        if (entry.is_directory() && fs::exists(entry.path() / "command")) {
            cases.push_back(entry.path().filename().string());
        }
    }
    std::sort(cases.begin(), cases.end());
    return cases;
}

class GoldenCase : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        caseDir = kCasesDir / GetParam();
        const fs::path scratch = kScratchDir / GetParam();
        fs::remove_all(scratch);
        start = scratch / "start";
        capture = scratch / "capture";
        fs::create_directories(start / "out");
        fs::create_directories(capture);
        for (const std::string& name : kSharedFiles) {
            fs::copy_file(kCasesDir / name, start / name);
        }
        if (fs::exists(caseDir / "start")) {
            fs::copy(caseDir / "start", start,
                     fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        }
        placed = filesUnder(start);
    }

    // Output as the expected files hold it: the scratch path and the version as placeholders.
    std::string normalised(std::string text) const {
        replaceAll(text, start.string(), kStartPlaceholder);
        replaceAll(text, kVersion, kVersionPlaceholder);
        return text;
    }

    // The files the run created or changed.
    std::map<std::string, std::string> outputs() const {
        std::map<std::string, std::string> written;
        for (const auto& [name, bytes] : filesUnder(start)) {
            const auto before = placed.find(name);
            if (before == placed.end() || before->second != bytes) {
                written[name] = normalised(bytes);
            }
        }
        return written;
    }

    void update(const RunResult& result, const std::map<std::string, std::string>& written,
                const std::set<std::string>& unchecked) const {
        fs::remove_all(caseDir / "expected");
        for (const auto& [name, bytes] : written) {
            if (unchecked.count(name) == 0)
                writeFile(caseDir / "expected" / name, bytes);
        }
        writeFile(caseDir / "stdout", normalised(result.out));
        writeFile(caseDir / "stderr", normalised(result.err));
        writeFile(caseDir / "exit_code", std::to_string(result.exitCode) + "\n");
    }

    fs::path caseDir;
    fs::path start;
    fs::path capture;
    std::map<std::string, std::string> placed;
};

TEST_P(GoldenCase, WritesExactlyTheExpectedFiles) {
    std::string commandLine = readFile(caseDir / "command");
    replaceAll(commandLine, kStartPlaceholder, start.string());
    const RunResult result = runProgram(start, capture, splitCommand(commandLine));
    const auto written = outputs();
    const std::set<std::string> unchecked = linesOf(caseDir / "unchecked");

    const char* updating = std::getenv("VELMARK_UPDATE_GOLDEN");
    if (updating != nullptr && std::string(updating) == "1") {
        update(result, written, unchecked);
        return;
    }

    EXPECT_EQ(std::to_string(result.exitCode) + "\n", readFile(caseDir / "exit_code"))
        << "exit status";
    const std::string expectedOut = readFile(caseDir / "stdout");
    EXPECT_TRUE(normalised(result.out) == expectedOut)
        << "standard output, " << firstDifference(expectedOut, normalised(result.out));
    const std::string expectedErr = readFile(caseDir / "stderr");
    EXPECT_TRUE(normalised(result.err) == expectedErr)
        << "standard error, " << firstDifference(expectedErr, normalised(result.err));

    const auto expected = filesUnder(caseDir / "expected");
    for (const auto& [name, bytes] : expected) {
        const auto actual = written.find(name);
        if (actual == written.end()) {
            ADD_FAILURE() << "expected output file not written: " << name;
        } else if (actual->second != bytes) {
            ADD_FAILURE() << "output file " << name << " differs, "
                          << firstDifference(bytes, actual->second);
        }
    }
    for (const std::string& name : unchecked) {
        EXPECT_TRUE(written.count(name) == 1) << "file not written: " << name;
    }
    for (const auto& [name, bytes] : written) {
        EXPECT_TRUE(expected.count(name) == 1 || unchecked.count(name) == 1)
            << "unexpected output file: " << name;
    }
    for (const auto& [name, bytes] : placed) {
        EXPECT_TRUE(fs::exists(start / name)) << "file removed by the run: " << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Batch, GoldenCase, ::testing::ValuesIn(listCases()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
}  // namespace velmark
