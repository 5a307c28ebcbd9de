// The run commands of the main window: sort, translate, start, finish, bookmarks; which
// elements each shows and hides, when the DXCC list object and the processing object exist,
// and a whole sort run whose files equal those of the core driven directly.

#include <QCheckBox>
#include <QGroupBox>
#include <QPlainTextEdit>

#include <sys/stat.h>

#include <csignal>
#include <filesystem>

#include "dxcc/dxcc_list_loader.h"
#include "main_window_harness.h"
#include "run/run_driver.h"
#include "support/child_process.h"

namespace velmark::testing {
namespace {

namespace fs = std::filesystem;

std::string adifQso(const std::string& call, const std::string& date) {
    return "<CALL:" + std::to_string(call.size()) + ">" + call +
           " <QSO_DATE:" + std::to_string(date.size()) + ">" + date +
           " <TIME_ON:4>1200 <BAND:3>20M <MODE:3>SSB <EOR>\r\n";
}

std::string smallLog() {
    return "Exported log\r\n<EOH>\r\n" + adifQso("QC3CC", "20230105") +
           adifQso("QA1AA", "20230106") + adifQso("QB2BB", "20230107") +
           adifQso("QA1AA", "20230108") + adifQso("XX9XX", "20230109");
}

// English, entity-order sort of an ADIF log into CSV, 3 QSOs per card.
std::string sortIni() {
    return IniText(
        {"[MAIN]", "Language=English", "Sorting=Sort_according_to_DXCC_list",
         "[For Sort and translate]", "Type input file=ADIFwe", "Type output file=CSVwy",
         "[Format QSO_Date For Sort and translate]", "Type format of input date QSO=YYYYMMDD",
         "Type format of output date QSO=DD-MM-YYYY", "Character for separtor QSO_date=.",
         "[PRINT QSL]", "Number of QSO_s on one QSLcard=3", "Divide output file=0",
         "Maximum Number of QSL in a one sort file=10"});
}

class MainWindowRuns : public ::testing::Test {
  protected:
    MainWindowRuns() : start(sortIni()) {
        start.dir.write("DXCC.LST", OrderTestDxccList());
        fs::create_directory(start.dir.path() / "out");
        logPath = start.dir.write("log.adi", smallLog());
        start.writes = 0;
    }
    std::string outFile(const std::string& name) const {
        return (start.dir.path() / "out" / name).string();
    }
    QStringList memoLines() const {
        return start.Find<QPlainTextEdit>("Memo1")->toPlainText().split('\n');
    }
    void expectShown(std::initializer_list<const char*> shown,
                     std::initializer_list<const char*> hidden) const {
        for (const char* name : shown) {
            EXPECT_TRUE(start.Shown(name)) << name << " should be shown";
        }
        for (const char* name : hidden) {
            EXPECT_FALSE(start.Shown(name)) << name << " should be hidden";
        }
    }

    MainWindowHarness start;
    std::string logPath;
};

TEST_F(MainWindowRuns, SortLoadsTheListAndOffersTheStart) {
    start.Trigger("SortFileCSV1");
    expectShown({"Panel1", "ZatListyDXCC", "Help_DXCC_LST"},
                {"GroupBox1", "GroupBox7", "Button2", "Help_Translate", "Help_Sort", "ZatwSortow",
                 "ZatwierdzBookmarksDlaArchiwum"});
    EXPECT_NE(start.window->DxccList(), nullptr);
    EXPECT_EQ(start.window->ProcessingObject(), nullptr);
    EXPECT_EQ(start.window->Values().TranslationMode, 0);
    EXPECT_TRUE(start.questions.errorBoxes.empty());
    EXPECT_TRUE(fs::exists(start.dir.path() / "LISTA.UPO"));
}

struct UnusablePrintValues {
    const char* name;
    const char* qsosPerCard;
    bool divide;
    const char* qslsPerFile;
    const char* refusal;
};

void PrintTo(const UnusablePrintValues& values, std::ostream* stream) {
    *stream << values.name;
}

class SortRefusal : public MainWindowRuns,
                    public ::testing::WithParamInterface<UnusablePrintValues> {};

TEST_P(SortRefusal, ComesInAnErrorBoxBeforeTheListOrTheLogIsRead) {
    const UnusablePrintValues& values = GetParam();
    start.TypeInto("Edit1", QString::fromLatin1(values.qsosPerCard));
    start.Find<QCheckBox>("CheckBox1")->setChecked(values.divide);
    start.TypeInto("Edit2", QString::fromLatin1(values.qslsPerFile));
    start.Trigger("SortFileCSV1");
    ASSERT_EQ(start.questions.errorBoxes.size(), 1U);
    EXPECT_EQ(start.questions.errorBoxes[0],
              std::string(values.refusal) +
                  "\rSet it under Configuration > Configuration for sort and translate, in the "
                  "options for printing QSL cards, and confirm the configuration.");
    EXPECT_TRUE(start.questions.dialogRequests.empty()) << "no log is asked for";
    EXPECT_EQ(start.window->DxccList(), nullptr);
    EXPECT_FALSE(fs::exists(start.dir.path() / "LISTA.UPO"));
    EXPECT_FALSE(fs::exists(start.dir.path() / "TYM.LOG"));
    expectShown({"GroupBox1", "GroupBox7", "Button2"}, {"Panel1"});
}

INSTANTIATE_TEST_SUITE_P(
    OfTheSort, SortRefusal,
    ::testing::Values(UnusablePrintValues{"NoQsosPerCard", "0", false, "10",
                                          "The number of QSOs on one card must be 1 to 255."},
                      UnusablePrintValues{"TooManyQsosPerCard", "256", false, "10",
                                          "The number of QSOs on one card must be 1 to 255."},
                      UnusablePrintValues{
                          "DividedIntoPartsOfNoCard", "3", true, "0",
                          "The maximum number of QSL cards in one file must be above 0."}),
    [](const ::testing::TestParamInfo<UnusablePrintValues>& info) { return info.param.name; });

TEST_F(MainWindowRuns, SortAgainReusesTheLoadedList) {
    start.Trigger("SortFileCSV1");
    const TListaDXCC* loaded = start.window->DxccList();
    start.Trigger("ConfigForSortingAndTtranslate");
    expectShown({"GroupBox1", "GroupBox7", "Button2", "Help_Sort"}, {"Panel1"});
    start.Trigger("SortFileCSV1");
    EXPECT_EQ(start.window->DxccList(), loaded);
    EXPECT_TRUE(start.Find<QPlainTextEdit>("Memo1")->toPlainText().isEmpty())
        << "no second load reports its counts";
    expectShown({"ZatListyDXCC", "Help_DXCC_LST"}, {});
}

TEST_F(MainWindowRuns, WholeSortRunWritesTheSameFilesAsTheCore) {
    start.Trigger("SortFileCSV1");
    start.questions.fileAnswers = {logPath, outFile("sorted.csv")};
    start.Click("ZatListyDXCC");
    ASSERT_TRUE(start.questions.errorBoxes.empty()) << start.questions.errorBoxes[0];
    ASSERT_EQ(start.questions.dialogRequests.size(), 2U);
    const FileDialogRequest& open = start.questions.dialogRequests[0];
    EXPECT_EQ(open.filter, "File *.adi *.adif|*.adi;*.adif");
    EXPECT_EQ(start.window->Values().InputFileName, logPath);
    EXPECT_EQ(start.Text("LastInputDir").toStdString(), start.dir.path().string());
    EXPECT_EQ(start.Text("LastOutputDir").toStdString(), (start.dir.path() / "out").string());
    expectShown({"ZatwSortow"}, {"ZatListyDXCC"});
    EXPECT_NE(start.window->ProcessingObject(), nullptr);
    EXPECT_TRUE(memoLines().contains("     Sorts report"));

    // The same run through the core alone, with the settings the window holds.
    std::map<std::string, std::string> fromWindow;
    for (const char* name : {"sorted.csv", "COUNTRY.CSV"}) {
        ASSERT_TRUE(fs::exists(outFile(name))) << name;
        fromWindow[name] = TempDir::read(outFile(name));
        fs::remove(outFile(name));
    }
    TKonfiguracja config = start.window->Config();
    TNazwyJezykowe texts;
    texts.Fill(kLanguageEnglish);
    TStrukturaADIF catalogue;
    auto list = std::make_unique<TListaDXCC>();
    TObiektyInputOutput processing;
    ProgramValues values = start.window->Values();
    values.RunStatus = 0;
    ScriptedUserInterface direct;
    LoadDxccList(*list, texts, direct, values);
    direct.fileAnswers = {outFile("sorted.csv")};
    RunObjects run{
        config, texts, catalogue, *list, processing, values, direct, start.SetupIniPath(), {}};
    ReadInputLog(run, InputKindFor(config.InputFileType));
    ASSERT_EQ(values.RunStatus, 0);
    WriteRun(run);
    for (const auto& [name, bytes] : fromWindow) {
        EXPECT_EQ(TempDir::read(outFile(name)), bytes) << name;
    }

    start.Click("ZatwSortow");
    expectShown({}, {"Panel1"});
    EXPECT_EQ(start.window->ProcessingObject(), nullptr);
    EXPECT_EQ(start.window->DxccList(), nullptr);
    EXPECT_TRUE(start.Find<QPlainTextEdit>("Memo1")->toPlainText().isEmpty());
}

// A velmark-batch run working in the same start directory (held there by a named pipe as its
// input log) refuses the window's run at once, before any dialog; once it has ended the window
// runs as ever.
TEST_F(MainWindowRuns, RunOfAnotherProcessRefusesTheStartAndTheWindowStaysUsable) {
    start.Trigger("SortFileCSV1");
    const fs::path pipe = start.dir.path() / "held.adi";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    fs::create_directory(start.dir.path() / "capture");
    ChildProcess holder(VELMARK_BATCH_PROGRAM,
                        {"--config", start.SetupIniPath(), "--start-dir", start.dir.path().string(),
                         "--per-card", "3", "sort", pipe.string(), outFile("held.csv")},
                        start.dir.path(), start.dir.path() / "capture");
    ASSERT_TRUE(WaitUntilStartDirectoryLocked(start.dir.path())) << holder.Err();

    start.questions.fileAnswers = {logPath, outFile("sorted.csv")};
    start.Click("ZatListyDXCC");
    ASSERT_EQ(start.questions.errorBoxes.size(), 1u);
    EXPECT_EQ(start.questions.errorBoxes[0], "Another VELMARK run is working in " +
                                                 start.dir.path().string() +
                                                 "\rTry again when it has finished.");
    EXPECT_TRUE(start.questions.dialogRequests.empty()) << "asked for the log before refusing";
    expectShown({"ZatListyDXCC"}, {"ZatwSortow"});
    EXPECT_FALSE(fs::exists(outFile("sorted.csv")));

    holder.Kill(SIGKILL);
    holder.Wait();
    start.Click("ZatListyDXCC");
    EXPECT_EQ(start.questions.errorBoxes.size(), 1u);
    EXPECT_TRUE(fs::exists(outFile("sorted.csv")));
    expectShown({"ZatwSortow"}, {"ZatListyDXCC"});
}

TEST_F(MainWindowRuns, CancelledOpenDialogEndsTheRunAndFinishReleasesBoth) {
    start.Trigger("SortFileCSV1");
    start.questions.fileAnswers = {std::nullopt};
    start.Click("ZatListyDXCC");
    ASSERT_EQ(start.questions.plainMessages.size(), 1U);
    EXPECT_EQ(start.questions.plainMessages[0], "Dont choice file!");
    expectShown({"ZatwSortow"}, {"ZatListyDXCC"});
    EXPECT_NE(start.window->ProcessingObject(), nullptr);
    EXPECT_NE(start.window->DxccList(), nullptr);
    start.Click("ZatwSortow");
    EXPECT_EQ(start.window->ProcessingObject(), nullptr);
    EXPECT_EQ(start.window->DxccList(), nullptr);
}

TEST_F(MainWindowRuns, CancelledSaveDialogWritesNothing) {
    start.Trigger("SortFileCSV1");
    start.questions.fileAnswers = {logPath, std::nullopt};
    start.Click("ZatListyDXCC");
    EXPECT_EQ(start.questions.plainMessages, std::vector<std::string>{"Dont choice file!"});
    EXPECT_FALSE(fs::exists(outFile("sorted.csv")));
    expectShown({"ZatwSortow"}, {"ZatListyDXCC"});
}

TEST_F(MainWindowRuns, BadDateInTheLogStopsWithDataErrorAndNoEndButtons) {
    start.dir.write("log.adi", "<EOH>\r\n" + adifQso("QA1AA", "2023XX05"));
    start.Trigger("SortFileCSV1");
    start.questions.fileAnswers = {logPath};
    start.Click("ZatListyDXCC");
    ASSERT_FALSE(start.questions.errorBoxes.empty());
    EXPECT_EQ(start.questions.errorBoxes.back(), "Error in data - edit it");
    EXPECT_EQ(start.window->Values().RunStatus, 2);
    expectShown({"Panel1"}, {"ZatListyDXCC", "ZatwSortow"});
    // The loaded list stays: the next sort offers the start at once and the start resets.
    start.Trigger("SortFileCSV1");
    expectShown({"ZatListyDXCC"}, {});
}

TEST_F(MainWindowRuns, MissingDxccListIsReportedByEveryLaterCommand) {
    fs::remove(start.dir.path() / "DXCC.LST");
    const std::string missing = "Input file not exists  - exit from program and corect problem";
    start.Trigger("SortFileCSV1");
    start.Trigger("SortowanieBookmarksWgNumerowStandarduADIF");
    start.Trigger("TranslationFile1");
    start.Click("Zatw_transla");
    start.Trigger("SortFileCSV1");
    EXPECT_EQ(start.questions.errorBoxes, std::vector<std::string>(4, missing));
    EXPECT_EQ(start.window->DxccList(), nullptr) << "a failed load keeps no list";
    EXPECT_EQ(start.window->Values().RunStatus, 1);
    expectShown({"Panel1"}, {"ZatListyDXCC", "ZatwSortow", "ZatwierdzBookmarksDlaArchiwum"});
    EXPECT_FALSE(fs::exists(start.dir.path() / "COUNTRIS.CSV"));
}

TEST_F(MainWindowRuns, DataErrorInTheListIsReportedAndAMendedListLoads) {
    start.dir.write("DXCC.LST", "  QA\r\n" + OrderTestDxccList());  // prefix before any entity
    start.Trigger("SortFileCSV1");
    ASSERT_EQ(start.questions.errorBoxes.size(), 1U);
    EXPECT_EQ(start.questions.errorBoxes[0], "Error in data - edit it");
    EXPECT_EQ(start.window->DxccList(), nullptr);
    start.dir.write("DXCC.LST", OrderTestDxccList());
    start.Trigger("SortFileCSV1");
    EXPECT_EQ(start.questions.errorBoxes.size(), 1U);
    expectShown({"ZatListyDXCC"}, {});
}

TEST_F(MainWindowRuns, TranslateShowsTheTranslationView) {
    start.Trigger("SortFileCSV1");
    start.Trigger("TranslationFile1");
    expectShown({"GroupBox1", "GroupBox4", "Zatw_transla", "Help_Translate"},
                {"GroupBox2", "GroupBox3", "GroupBox7", "Button2", "Help_Sort", "Help_DXCC_LST",
                 "Panel1", "ZatwierdzBookmarksDlaArchiwum"});
}

TEST_F(MainWindowRuns, ConfirmTranslationStoresUserSettingsAndKeepsThemForTheNextSort) {
    start.Find<QCheckBox>("CheckBox1")->setChecked(true);
    start.Trigger("TranslationFile1");
    start.Trigger("SortFileCSV1");
    // The confirmation loads the list anew, so it sees the file as it is now.
    start.dir.write("DXCC.LST", OrderTestDxccList().substr(0, OrderTestDxccList().find("CHARLIE")));
    start.Trigger("TranslationFile1");
    start.questions.fileAnswers = {std::nullopt};
    start.Click("Zatw_transla");
    const TKonfiguracja stored = start.StoredConfig();
    EXPECT_EQ(stored.QsosPerCard, 3);
    EXPECT_TRUE(stored.DivideOutputFile);
    EXPECT_EQ(start.window->Config().QsosPerCard, 3);
    EXPECT_TRUE(start.window->Config().DivideOutputFile);
    EXPECT_EQ(start.Text("Edit1"), "3");
    EXPECT_EQ(start.window->Values().TranslationMode, 1);
    ASSERT_NE(start.window->DxccList(), nullptr);
    EXPECT_EQ(start.window->DxccList()->CountryCount, 2);
    // The start ran at once: its open dialog was asked.
    ASSERT_EQ(start.questions.dialogRequests.size(), 1U);
    EXPECT_EQ(start.questions.dialogRequests[0].filter, "File *.adi *.adif|*.adi;*.adif");
    expectShown({"Panel1", "ZatwSortow"}, {"GroupBox1", "GroupBox7", "Button2", "ZatListyDXCC"});
}

TEST_F(MainWindowRuns, ATranslationDoesNotChangeTheNextSortNorTheStoredSettings) {
    start.TypeInto("Edit1", "3");
    start.Click("Button2");
    start.Trigger("TranslationFile1");
    start.questions.fileAnswers = {logPath, outFile("translated.csv")};
    start.Click("Zatw_transla");
    start.Click("ZatwSortow");
    start.Trigger("SortFileCSV1");
    start.questions.fileAnswers = {logPath, outFile("sorted.csv")};
    start.Click("ZatListyDXCC");
    start.Trigger("ExitFromProgram");
    ASSERT_TRUE(start.questions.errorBoxes.empty()) << start.questions.errorBoxes[0];

    const auto lines = [](const std::string& text) {
        return std::count(text.begin(), text.end(), '\n');
    };
    // The translation: the title line and the five QSOs, one record each.
    EXPECT_EQ(lines(TempDir::read(outFile("translated.csv"))), 1 + 5);
    // The sort: four stations, each on a card of three records completed with fillers.
    EXPECT_EQ(lines(TempDir::read(outFile("sorted.csv"))), 1 + 4 * 3);
    EXPECT_TRUE(memoLines().contains("Number of QSL-s send      = 4"));
    EXPECT_EQ(start.Text("Edit1"), "3");
    EXPECT_TRUE(start.SetupIniHas("Number of QSO_s on one QSLcard=3"));
}

TEST_F(MainWindowRuns, UnknownInputDateFormatIsAskedShownAndStored) {
    start.ChooseRadio("FormatWejDatyQSO", 0);
    start.writes = 0;
    start.Trigger("SortFileCSV1");
    start.questions.fileAnswers = {logPath, outFile("sorted.csv")};
    start.questions.inputAnswers = {"YYYYMMDD"};
    start.Click("ZatListyDXCC");
    ASSERT_EQ(start.questions.inputPrompts.size(), 1U);
    EXPECT_EQ(start.Find<ui::RadioGroup>("FormatWejDatyQSO")->ItemIndex(), 1);
    EXPECT_EQ(start.StoredConfig().InputDateFormat, 1);
    EXPECT_EQ(start.writes, 1) << "the format group's rule stores the settled format once";
    EXPECT_TRUE(fs::exists(outFile("sorted.csv")));
}

TEST_F(MainWindowRuns, CommandsAndClosingAreRefusedWhileARunLetsEventsThrough) {
    start.window->show();
    start.Trigger("SortFileCSV1");
    const TListaDXCC* list = start.window->DxccList();
    bool menuShut = false;
    start.questions.whileSaveDialogOpen = [&] {
        menuShut = !start.window->menuBar()->isEnabled();
        start.questions.beeps = 0;
        start.Trigger("SortowanieBookmarksWgListyDDXCC_CTY_DAT");
        start.Trigger("ConfigForSortingAndTtranslate");
        start.window->close();
        EXPECT_EQ(start.questions.beeps, 3);
    };
    start.questions.fileAnswers = {logPath, outFile("sorted.csv")};
    start.Click("ZatListyDXCC");
    EXPECT_TRUE(menuShut);
    EXPECT_TRUE(start.window->isVisible());
    EXPECT_EQ(start.window->DxccList(), list) << "the run's list was not replaced under it";
    EXPECT_FALSE(fs::exists(start.dir.path() / "COUNTRIS.CSV"));
    EXPECT_TRUE(fs::exists(outFile("sorted.csv")));
    EXPECT_TRUE(start.window->menuBar()->isEnabled());
    expectShown({"Panel1", "ZatwSortow"}, {"GroupBox1"});
}

struct BookmarkCase {
    const char* name;
    const char* action;
    std::vector<std::string> lines;  // COUNTRIS.CSV after its heading
    const char* orderMessage;
};

class Bookmarks : public MainWindowRuns, public ::testing::WithParamInterface<BookmarkCase> {};

TEST_P(Bookmarks, WriteCountrisCsvInTheChosenOrder) {
    const BookmarkCase& order = GetParam();
    // An ADIF-order run first, unconfirmed, so a list-order run must put the table back.
    start.Trigger("SortowanieBookmarksWgNumerowStandarduADIF");
    start.Trigger(order.action);
    EXPECT_TRUE(start.questions.errorBoxes.empty());
    std::string expected = "\"NR_CTY_COUNTRY\",\"NR_ADIF_DXCC\",\"COUNTRY\",\"PREFIKSES\"\r\n";
    for (const std::string& line : order.lines) {
        expected += line + "\r\n";
    }
    EXPECT_EQ(TempDir::read((start.dir.path() / "COUNTRIS.CSV").string()), expected);
    const QStringList lines = memoLines();
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.back().toStdString(), order.orderMessage);
    expectShown({"Panel1", "ZatwierdzBookmarksDlaArchiwum"},
                {"GroupBox1", "GroupBox7", "Button2", "ZatListyDXCC", "ZatwSortow", "Help_Sort"});
    EXPECT_NE(start.window->DxccList(), nullptr);
    start.Click("ZatwierdzBookmarksDlaArchiwum");
    EXPECT_EQ(start.window->DxccList(), nullptr);
    expectShown({}, {"Panel1"});
}

INSTANTIATE_TEST_SUITE_P(
    BothOrders, Bookmarks,
    ::testing::Values(
        BookmarkCase{
            "DxccListOrder",
            "SortowanieBookmarksWgListyDDXCC_CTY_DAT",
            {"\"001\",\"230\",\"ALPHA LAND\",\" QA\"", "\"002\",\"  1\",\"BRAVO ISLE\",\" QB\"",
             "\"003\",\" 12\",\"CHARLIE REEF\",\" QC\""},
            "Order in this file is exactly the same what is present in a list DXCCC - "
            "DXCC.LST"},
        BookmarkCase{
            "AdifNumberOrder",
            "SortowanieBookmarksWgNumerowStandarduADIF",
            {"\"002\",\"  1\",\"BRAVO ISLE\",\" QB\"", "\"003\",\" 12\",\"CHARLIE REEF\",\" QC\"",
             "\"001\",\"230\",\"ALPHA LAND\",\" QA\""},
            "Order in this file is exacly the same what is present in a standard ADIF"}),
    [](const ::testing::TestParamInfo<BookmarkCase>& info) { return info.param.name; });

}  // namespace
}  // namespace velmark::testing
