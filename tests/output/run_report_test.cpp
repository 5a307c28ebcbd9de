#include "output/run_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/errors.h"
#include "output_test_support.h"
#include "settings/text_table.h"
#include "support/scripted_user_interface.h"
#include "support/temp_dir.h"
#include "test_sinks.h"

namespace velmark {
namespace {

using testing::FailingSink;
using testing::Golden;
using testing::MemorySink;
using testing::ScriptedUserInterface;
using testing::TempDir;

TNazwyJezykowe textsIn(int language) {
    TNazwyJezykowe texts;
    texts.Fill(language);
    return texts;
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// 10 QSOs on 4 cards, 3 country groups, two callsigns without an entity.
RunReport tenQsos(const std::string& directory) {
    RunReport report;
    report.QsoCount = 10;
    report.CardCount = 4;
    report.CountryGroupCount = 3;
    report.UnknownCalls = "XX1ABC,QQ0Z,";
    report.OutputDirectory = directory;
    report.OutputFileName = directory + "/qsl.sorted.csv";
    return report;
}

RunReport dividedIntoThree(const std::string& directory) {
    RunReport report = tenQsos(directory);
    report.Divided = true;
    report.LastPartFileName = directory + "/qsl_003.csv";
    return report;
}

struct ReportCase {
    const char* what;
    int language;
    bool divided;
    const char* goldenFile;
    const char* goldenMessages;
};

class Report : public ::testing::TestWithParam<ReportCase> {};

TEST_P(Report, IsWrittenToTheFileAndTheMessageListInTheChosenLanguage) {
    const ReportCase& c = GetParam();
    const std::string directory = "/home/op/logi";
    const RunReport report = c.divided ? dividedIntoThree(directory) : tenQsos(directory);
    ScriptedUserInterface ui;
    MemorySink file;
    WriteRunReport(report, textsIn(c.language), ui, file);
    EXPECT_EQ(file.text, Golden(c.goldenFile));
    EXPECT_EQ(joinLines(ui.messages), Golden(c.goldenMessages));
}

INSTANTIATE_TEST_SUITE_P(Languages, Report,
                         ::testing::Values(ReportCase{"PolishDivided", kLanguagePolish, true,
                                                      "report_pl.txt", "messages_pl.txt"},
                                           ReportCase{"EnglishWhole", kLanguageEnglish, false,
                                                      "report_en.txt", "messages_en.txt"}),
                         [](const ::testing::TestParamInfo<ReportCase>& info) {
                             return info.param.what;
                         });

TEST(Report, FileLandsInTheOutputDirectory) {
    TempDir outputDirectory;
    const std::string directory = outputDirectory.path().string();
    const TNazwyJezykowe texts = textsIn(kLanguageEnglish);
    ScriptedUserInterface ui;
    WriteRunReport(tenQsos(directory), texts, ui);
    EXPECT_EQ(TempDir::read(outputDirectory.file("Report.txt")),
              joinLines(ReportFileLines(tenQsos(directory), texts)));
    EXPECT_EQ(ui.messages.back(), texts.RepAlsoInReportTxt);
}

// When Report.txt cannot be written the message list keeps the counts but never claims the
// report was saved, and the error goes on to the command that shows it.
TEST(Report, AFailedReportFileIsNotReportedAsWritten) {
    const TNazwyJezykowe texts = textsIn(kLanguagePolish);
    const RunReport report = dividedIntoThree("/home/op/logi");
    const std::vector<std::string> allMessages = ReportMessageLines(report, texts);

    ScriptedUserInterface ui;
    FailingSink file(120);
    EXPECT_THROW(WriteRunReport(report, texts, ui, file), FileError);
    EXPECT_EQ(file.text.size(), 120u);
    EXPECT_EQ(ui.messages, std::vector<std::string>(allMessages.begin(), allMessages.end() - 2));

    ScriptedUserInterface missingDirectoryUi;
    TempDir scratch;
    const RunReport nowhere = tenQsos(scratch.file("no-such-directory"));
    try {
        WriteRunReport(nowhere, texts, missingDirectoryUi);
        ADD_FAILURE() << "Report.txt written into a missing directory";
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), scratch.file("no-such-directory") + "/Report.txt");
    }
    EXPECT_EQ(missingDirectoryUi.messages.size(), 15u - 2u);
}

}  // namespace
}  // namespace velmark
