// velmark-batch labels: the exit status and what is written for each way a labels run can go:
// the sheets listed, an unknown sheet (the sheets there are listed), a sheet too small for the
// table (refused before the log is read), a start label past the sheet, a log without QSOs, a
// PDF that cannot be written (and so no file of QSOs sent), and a complete run, twice in one
// process as a test suite or a service would run it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "batch/batch_commands.h"
#include "labels/label_sheet.h"
#include "settings/text_table.h"
#include "support/temp_dir.h"

namespace velmark::batch {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::string LogOf(int qsos) {
    const char* calls[] = {"SP5ABC", "DL1ABC", "G4ABC", "JA1ABC", "W1AW"};
    std::string log = "Test log\r\n<EOH>\r\n";
    for (int i = 0; i < qsos; ++i) {
        const std::string call = calls[i % 5] + std::string(1, static_cast<char>('A' + i % 7));
        log += "<CALL:" + std::to_string(call.size()) + ">" + call +
               "<QSO_DATE:8>20200105<TIME_ON:4>1200<BAND:3>20m<MODE:2>CW<RST_SENT:3>599<EOR>\r\n";
    }
    return log;
}

class BatchLabels : public ::testing::Test {
  protected:
    BatchLabels() {
        texts.Fill(kLanguageEnglish);
        fs::create_directories(start);
        fs::copy_file(fs::path(VELMARK_TEST_DATA_DIR) / ".." / "golden" / "DXCC.LST",
                      start / "DXCC.LST");
        fs::copy(fs::path(VELMARK_SOURCE_DATA_DIR) / kLabelSheetFolder, start / kLabelSheetFolder);
        fs::create_directories(dir.path() / "out");
        input = dir.write("log.adi", LogOf(40));
        config = dir.write("setup.ini", "[MAIN]\r\nLanguage=English\r\n");
    }

    int run(std::vector<std::string> words) {
        out.str({});
        err.str({});
        std::vector<std::string> line = {"--config",     config,     "--start-dir",  start.string(),
                                         "--lang",       "en",       "--input-type", "adif",
                                         "--input-date", "YYYYMMDD", "--order",      "dxcc",
                                         "--per-card",   "3"};
        line.insert(line.end(), words.begin(), words.end());
        return RunBatchCommandLine(line, out, err);
    }

    std::vector<std::string> outFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path() / "out"))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir;
    const fs::path start = dir.path() / "start";
    std::string input;
    std::string config;
    TNazwyJezykowe texts;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(BatchLabels, WritesThePdfAndThenTheFileOfQsosSentTwiceInOneProcess) {
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(run({"--sheet", "l7160", "--dividers", "--mark-sent", dir.file("out/sent.adi"),
                       "labels", input, dir.file("out/labels.pdf")}),
                  kExitDone)
            << err.str();
        EXPECT_EQ(err.str(), "");
        EXPECT_EQ(outFiles(), (std::vector<std::string>{"labels.pdf", "sent.adi"}));
        EXPECT_EQ(TempDir::read(dir.file("out/labels.pdf")).substr(0, 5), "%PDF-");
        const std::string sent = TempDir::read(dir.file("out/sent.adi"));
        std::size_t records = 0;
        for (std::size_t at = sent.find("<EOR>"); at != std::string::npos;
             at = sent.find("<EOR>", at + 1))
            ++records;
        EXPECT_EQ(records, 40u);
        const std::string report = out.str();
        EXPECT_NE(report.find(texts.RepQsoCount + "40\n"), std::string::npos) << report;
        EXPECT_NE(report.find(texts.RepLabelsPdfIn + "\n" + dir.file("out/labels.pdf")),
                  std::string::npos)
            << report;
        EXPECT_NE(report.find(texts.RepMarkSentIn + "\n" + dir.file("out/sent.adi")),
                  std::string::npos);
        EXPECT_FALSE(fs::exists(start / "TYM.LOG"));
    }
}

TEST_F(BatchLabels, ListsTheSheetsWithTheirGeometryAndWhyABrokenOneIsRefused) {
    TempDir::read(dir.write("start/LABEL_SHEETS/broken.sheet", "Columns = 3\r\n"));
    ASSERT_EQ(run({"labels", "--list-sheets"}), kExitDone);
    const std::string list = out.str();
    EXPECT_NE(list.find("L7160  Avery L7160 (A4, 3 x 7, 63.5 x 38.1 mm): 3 x 7" +
                        texts.BatchSheetLabels + "63.5 x 38.1" + texts.BatchSheetPage +
                        "210 x 297" + texts.BatchSheetUpTo + "9\n"),
              std::string::npos)
        << list;
    EXPECT_NE(list.find("broken  " + texts.SheetRefused + "LABEL_SHEETS/broken.sheet " +
                        texts.SheetMissingKey + "Rows\n"),
              std::string::npos)
        << list;
    EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 14);
}

// A run that must not start: its exit status, what standard error says, and no file written.
struct Refusal {
    const char* name;
    std::vector<std::string> options;
    const char* sheetFile;  // a custom sheet put into the start directory first, or nullptr
    const char* sheetText;
    const char* log;  // the input log instead of 40 QSOs, or nullptr
    const char* pdf;  // the PDF's path under the test's folder
    int status;
    std::string (*stderrText)(const TNazwyJezykowe&, const std::string& pdf);
    bool logRead;  // whether the run got as far as reading the log
};

void PrintTo(const Refusal& c, std::ostream* out) {
    *out << c.name;
}

class BatchLabelsRefusal : public BatchLabels, public ::testing::WithParamInterface<Refusal> {};

TEST_P(BatchLabelsRefusal, EndsWithItsStatusAndWritesNoFile) {
    const Refusal& c = GetParam();
    if (c.sheetFile != nullptr)
        dir.write(std::string("start/LABEL_SHEETS/") + c.sheetFile, c.sheetText);
    if (c.log != nullptr)
        dir.write("log.adi", c.log);
    std::vector<std::string> words = c.options;
    words.insert(words.end(),
                 {"--mark-sent", dir.file("out/sent.adi"), "labels", input, dir.file(c.pdf)});
    EXPECT_EQ(run(words), c.status);
    EXPECT_EQ(err.str(), c.stderrText(texts, dir.file(c.pdf)));
    EXPECT_TRUE(outFiles().empty());
    EXPECT_EQ(fs::exists(start / "LISTA.UPO"), c.logRead) << "the DXCC list was loaded";
}

INSTANTIATE_TEST_SUITE_P(
    Runs, BatchLabelsRefusal,
    ::testing::Values(
        Refusal{"UnknownSheetListsTheSheets",
                {"--sheet", "L7651"},
                nullptr,
                nullptr,
                nullptr,
                "out/labels.pdf",
                kExitUsage,
                [](const TNazwyJezykowe& t, const std::string&) {
                    return t.BatchSheetNotFound + "L7651\n" + t.BatchSheetsAvailable +
                           "3422, 3475, 5160, 5161, 5163, 5164, CARD140x90, L7160, L7161, L7162, "
                           "L7163, L7165, ROLL62\n";
                },
                false},
        // Avery L7651, 38.1 x 21.2 mm: the table's 34 characters need 46.33 mm at 6 pt.
        Refusal{"LabelsTooSmallForTheTable",
                {"--sheet", "L7651"},
                "L7651.sheet",
                "Page = A4\nTopMargin = 10.7\nLeftMargin = 4.7\nColumns = 5\nRows = 13\n"
                "ColumnGap = 2.5\nLabelWidth = 38.1\nLabelHeight = 21.2\n",
                nullptr,
                "out/labels.pdf",
                kExitRefused,
                [](const TNazwyJezykowe& t, const std::string&) {
                    return t.SheetRefused + "LABEL_SHEETS/L7651.sheet\n" + t.SheetTooSmallForTable +
                           "46.33: LabelWidth = 38.1\n";
                },
                false},
        Refusal{"StartLabelPastTheSheet",
                {"--start-label", "22"},
                nullptr,
                nullptr,
                nullptr,
                "out/labels.pdf",
                kExitRefused,
                [](const TNazwyJezykowe& t, const std::string&) {
                    return t.MsgLabelStartOutOfRange + "21\n" + t.MsgLabelStartGiven + "22\n";
                },
                false},
        Refusal{"LogWithoutQsos",
                {},
                nullptr,
                nullptr,
                "Test log\r\n<EOH>\r\n",
                "out/labels.pdf",
                kExitRefused,
                [](const TNazwyJezykowe&, const std::string&) { return std::string(); },
                true},
        Refusal{"PdfInAMissingFolder",
                {},
                nullptr,
                nullptr,
                nullptr,
                "missing/labels.pdf",
                kExitFileError,
                [](const TNazwyJezykowe&, const std::string& pdf) {
                    return "No such file or directory: " + pdf + "\n";
                },
                true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmark::batch
