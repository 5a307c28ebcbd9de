// The batch tool's console: messages on standard output, error boxes on standard error,
// questions answered from the command line without waiting for anybody.

#include "batch/console_user_interface.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "batch/batch_commands.h"
#include "core/program_values.h"

namespace velmark::batch {
namespace {

class Console : public ::testing::Test {
  protected:
    ConsoleUserInterface make(ConsoleAnswers answers) {
        return ConsoleUserInterface(out, err, std::move(answers), "  -> taken: ");
    }

    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(Console, MessagesGoToStandardOutputAsTheyAre) {
    auto ui = make({});
    ui.AppendMessage("Number of QSO             = 20");
    ui.AppendMessage("Zosta\xB3 zapisany w katalogu");  // code page 1250 bytes stay bytes
    EXPECT_EQ(out.str(), "Number of QSO             = 20\nZosta\xB3 zapisany w katalogu\n");
    EXPECT_EQ(err.str(), "");
    EXPECT_FALSE(ui.errorShown());
}

TEST_F(Console, ErrorBoxGoesToStandardErrorOnePartPerLine) {
    auto ui = make({});
    ui.ErrorBox("Sort is not possible\rUse translate");
    EXPECT_EQ(err.str(), "Sort is not possible\nUse translate\n");
    EXPECT_EQ(out.str(), "");
    EXPECT_TRUE(ui.errorShown());
}

TEST_F(Console, QuestionsAreAnsweredFromTheCommandLine) {
    ConsoleAnswers answers;
    answers.inputFile = "log.adi";
    answers.outputFile = "out/qsl.csv";
    answers.warningAnswer = true;
    auto ui = make(answers);
    EXPECT_TRUE(ui.WarningBox("Do you want to put QSO with QSL manger ...", BoxOffset::Near));
    EXPECT_EQ(ui.OpenFileDialog({}), "log.adi");
    EXPECT_EQ(ui.SaveFileDialog({}), "out/qsl.csv");
    EXPECT_EQ(out.str() + err.str(), "") << "answering asks nothing aloud";

    auto withoutManager = make({});
    EXPECT_FALSE(withoutManager.WarningBox("Do you want ...", BoxOffset::Near));
}

TEST_F(Console, TextQuestionTakesTheProposalAndSaysSo) {
    auto ui = make({});
    const std::string answer =
        ui.InputBox("Input date format", "First record holds QSO\rDL1ABC  40M  CW", "YYYYMMDD");
    EXPECT_EQ(answer, "YYYYMMDD");
    EXPECT_EQ(out.str(), "First record holds QSO\nDL1ABC  40M  CW\n  -> taken: YYYYMMDD\n");
    EXPECT_EQ(err.str(), "");
}

TEST_F(Console, ProgressOnlyWhenAskedAndOnStandardError) {
    auto quiet = make({});
    quiet.SetCaption("Reading input file");
    quiet.SetProgress(50);
    EXPECT_EQ(out.str() + err.str(), "");

    ConsoleAnswers answers;
    answers.showProgress = true;
    auto shown = make(answers);
    shown.SetCaption("Sort index QSO-s table");
    shown.SetProgress(0);
    shown.SetProgress(0);  // the same percent again draws nothing
    shown.SetProgress(100);
    shown.SetCaption("Write sorted file ");
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "Sort index QSO-s table\n\r[" + std::string(40, ' ') + "] 0%\r[" +
                             std::string(40, '#') + "] 100%\nWrite sorted file \n");
}

// Whole command lines that end before any file is touched.
struct CommandLineCase {
    const char* name;
    std::vector<std::string> words;
    int exitCode;
    std::string outStart;  // what standard output begins with
    std::string errStart;  // what standard error begins with
};

void PrintTo(const CommandLineCase& c, std::ostream* out) {
    *out << c.name;
}

class BatchCommandLine : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(BatchCommandLine, ExitStatusAndStreams) {
    std::ostringstream out;
    std::ostringstream err;
    const CommandLineCase& c = GetParam();
    EXPECT_EQ(RunBatchCommandLine(c.words, out, err), c.exitCode);
    EXPECT_EQ(out.str().substr(0, c.outStart.size()), c.outStart);
    EXPECT_EQ(err.str().substr(0, c.errStart.size()), c.errStart);
    if (c.outStart.empty()) {
        EXPECT_EQ(out.str(), "");
    }
    if (c.errStart.empty()) {
        EXPECT_EQ(err.str(), "");
    }
}

const CommandLineCase kCommandLines[] = {
    {"HelpOnStandardOutput", {"--help"}, kExitDone, "Usage: velmark-batch", ""},
    {"HelpInPolish", {"--lang", "pl", "--help"}, kExitDone, "U\xBFycie: velmark-batch", ""},
    {"Version",
     {"--version"},
     kExitDone,
     std::string("velmark-batch ") + kVersionNumber + "\n",
     ""},
    {"WrongUsageOnStandardError",
     {"--per-card", "0", "sort", "a", "b"},
     kExitUsage,
     "",
     "Cannot understand the command line at: --per-card 0\nUsage: velmark-batch"},
    {"MissingConfigurationFile",
     {"--config", "/nonexistent/velmark/setup.ini", "find", "SP5XYZ"},
     kExitFileError,
     "",
     "No such file or directory: /nonexistent/velmark/setup.ini\n"},
};

INSTANTIATE_TEST_SUITE_P(Batch, BatchCommandLine, ::testing::ValuesIn(kCommandLines),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmark::batch
