// The configuration menu's "update DXCC list from a country file…": the file dialog, the
// messages in the message list, the new list in use by the next command.

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>

#include <filesystem>

#include "dxcc_import/cty_excerpt.h"
#include "main_window_harness.h"

namespace velmark::testing {
namespace {

namespace fs = std::filesystem;

class MainWindowImport : public ::testing::Test {
  protected:
    MainWindowImport()
        : start(IniText({"[MAIN]", "Language=English", "Sorting=Sort_according_to_DXCC_list",
                         "[For Sort and translate]", "Type input file=ADIFwe",
                         "Type output file=CSVwy", "[PRINT QSL]",
                         "Number of QSO_s on one QSLcard=3"})) {
        start.dir.write("DXCC.LST", OrderTestDxccList());
        countryFile = downloads.write("cty.csv", dxcc_import::testing::kCtyExcerpt);
    }
    QString memo() const { return start.Find<QPlainTextEdit>("Memo1")->toPlainText(); }
    std::string listFile() const { return TempDir::read(start.dir.file("DXCC.LST")); }

    MainWindowHarness start;
    TempDir downloads;
    std::string countryFile;
};

TEST_F(MainWindowImport, TheConfigurationMenuOffersTheCommand) {
    auto* action = start.window->findChild<QAction*>("UpdateDxccListFromCountryFile");
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), QString::fromUtf8("update DXCC list from a country file…"));
    EXPECT_TRUE(start.Find<QMenu>("Configuration1")->actions().contains(action));
}

TEST_F(MainWindowImport, WritesTheListShowsTheMessagesAndTheNextCommandLoadsIt) {
    // A sort loads the old list and waits for its start.
    start.Trigger("SortFileCSV1");
    ASSERT_NE(start.window->DxccList(), nullptr);
    EXPECT_EQ(start.window->DxccList()->CountryCount, 3);

    start.questions.fileAnswers.push_back(countryFile);
    start.Trigger("UpdateDxccListFromCountryFile");
    ASSERT_EQ(start.questions.dialogRequests.size(), 1u);
    EXPECT_EQ(start.questions.dialogRequests[0].title, start.window->Texts().ImpChooseFile);
    EXPECT_TRUE(start.questions.errorBoxes.empty());
    EXPECT_TRUE(start.Shown("Panel1"));
    EXPECT_FALSE(start.Shown("ZatListyDXCC"));  // the waiting sort is given up
    EXPECT_TRUE(memo().contains("Country file: " + QString::fromStdString(countryFile)));
    EXPECT_TRUE(memo().contains("Exact calls kept in the list: 6"));
    EXPECT_TRUE(memo().endsWith("The next commands use the new list."));
    EXPECT_EQ(TempDir::read(start.dir.file("DXCC.LST.bak")), OrderTestDxccList());
    EXPECT_NE(listFile().find("ASIATIC RUSSIA"), std::string::npos);
    // The old list is released; the next command loads the new one.
    EXPECT_EQ(start.window->DxccList(), nullptr);
    EXPECT_EQ(start.window->ProcessingObject(), nullptr);
    start.Trigger("SortFileCSV1");
    ASSERT_NE(start.window->DxccList(), nullptr);
    EXPECT_EQ(start.window->DxccList()->CountryCount, 4);
    EXPECT_TRUE(start.Shown("ZatListyDXCC"));
}

TEST_F(MainWindowImport, ACancelledDialogChangesNothing) {
    start.Trigger("SortFileCSV1");
    TListaDXCC* loaded = start.window->DxccList();
    start.questions.fileAnswers.push_back(std::nullopt);
    start.Trigger("UpdateDxccListFromCountryFile");
    ASSERT_EQ(start.questions.plainMessages.size(), 1u);
    EXPECT_EQ(start.questions.plainMessages[0], start.window->Texts().MsgNoFileChosen);
    EXPECT_EQ(listFile(), OrderTestDxccList());
    EXPECT_FALSE(fs::exists(start.dir.file("DXCC.LST.bak")));
    EXPECT_EQ(start.window->DxccList(), loaded);
}

TEST_F(MainWindowImport, ARefusedFileIsShownInTheErrorBoxAndTheListStays) {
    start.questions.fileAnswers.push_back(downloads.write(
        "bad.csv", "DL,Germany,230,EU,14,28,0,0,0,DL;\nI,Italy,248,XX,15,28,0,0,0,I;\n"));
    start.Trigger("UpdateDxccListFromCountryFile");
    ASSERT_EQ(start.questions.errorBoxes.size(), 1u);
    EXPECT_NE(start.questions.errorBoxes[0].find("line no. 2: unknown continent"),
              std::string::npos)
        << start.questions.errorBoxes[0];
    EXPECT_EQ(listFile(), OrderTestDxccList());
    EXPECT_FALSE(fs::exists(start.dir.file("DXCC.LST.bak")));
    start.Trigger("SortFileCSV1");
    ASSERT_NE(start.window->DxccList(), nullptr);
    EXPECT_EQ(start.window->DxccList()->CountryCount, 3);
}

TEST_F(MainWindowImport, AMissingListCanBeMadeFromACountryFile) {
    fs::remove(start.dir.file("DXCC.LST"));
    start.Trigger("SortFileCSV1");
    EXPECT_EQ(start.questions.errorBoxes.size(), 1u);  // the missing list
    start.questions.fileAnswers.push_back(countryFile);
    start.Trigger("UpdateDxccListFromCountryFile");
    EXPECT_EQ(start.questions.errorBoxes.size(), 1u);
    EXPECT_TRUE(memo().contains(QString::fromStdString(start.window->Texts().ImpNoPrevious)));
    start.Trigger("SortFileCSV1");
    EXPECT_EQ(start.questions.errorBoxes.size(), 1u);
    ASSERT_NE(start.window->DxccList(), nullptr);
    EXPECT_EQ(start.window->DxccList()->CountryCount, 4);
}

}  // namespace
}  // namespace velmark::testing
