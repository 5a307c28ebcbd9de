// The rules of the configuration elements, the ADIF standard offer and the configuration
// commands: what each change does to the configuration, the notes, the beeps, the boxes, and
// exactly when setup.ini is written.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>

#include "main_window_harness.h"

namespace velmark::testing {
namespace {

// A window started with CSV output, so that no ADIF offer interferes unless a test asks.
std::string csvOutputIni() {
    return IniText({"[MAIN]", "Language=English", "[For Sort and translate]",
                    "Type output file=CSVwy", "[Format QSO_Date For Sort and translate]",
                    "Type format of output date QSO=DDMMYYYY", "[PRINT QSL]",
                    "Number of QSO_s on one QSLcard=3",
                    "Maximum Number of QSL in a one sort file=20"});
}

class MainWindowRules : public ::testing::Test {
  protected:
    MainWindowRules() : start(csvOutputIni()) {
        start.writes = 0;
        start.questions.beeps = 0;
    }
    MainWindowHarness start;
    TKonfiguracja& config() { return start.window->Config(); }
};

TEST_F(MainWindowRules, ListChoicesTakeTheirPositionInMemoryOnly) {
    start.ChooseRow("ListBox2", 2);
    start.ChooseRow("ListBox3", 1);
    start.ChooseRow("ListBox4", 3);
    EXPECT_EQ(config().InputFileType, 2);
    EXPECT_EQ(config().Sorting, 1);
    EXPECT_EQ(config().OutputFileType, 3);
    EXPECT_EQ(start.writes, 0);
}

// The encodings are chosen like the type lists: in memory, stored with the next write.
TEST_F(MainWindowRules, EncodingChoicesAreStoredWithTheConfiguration) {
    auto* input = start.Find<QComboBox>("InputEncodingList");
    auto* output = start.Find<QComboBox>("OutputEncodingList");
    EXPECT_EQ(input->currentIndex(), 0);   // no key in setup.ini: recognise
    EXPECT_EQ(output->currentIndex(), 0);  // and CP1250
    EXPECT_EQ(input->itemText(2), "UTF-8");
    input->setCurrentIndex(2);
    output->setCurrentIndex(1);
    EXPECT_EQ(config().InputEncoding, InputEncoding::Utf8);
    EXPECT_EQ(start.writes, 0);
    start.Click("Button2");
    EXPECT_TRUE(start.SetupIniHas("Input encoding=utf-8"));
    EXPECT_TRUE(start.SetupIniHas("Output encoding=utf-8"));

    MainWindowHarness again(start.SetupIni());
    EXPECT_EQ(again.Find<QComboBox>("InputEncodingList")->currentIndex(), 2);
    EXPECT_EQ(again.Find<QComboBox>("OutputEncodingList")->currentIndex(), 1);
}

TEST_F(MainWindowRules, ChoosingAnItemClearsTheListsNote) {
    MainWindowHarness fresh(IniText(
        {"[MAIN]", "Language=English", "[For Sort and translate]", "Type output file=CSVwy"}));
    // A list whose stored code selects nothing shows the note; choosing clears it.
    fresh.Find<QListWidget>("ListBox3")->setCurrentRow(-1);
    fresh.Trigger("ConfigForSortingAndTtranslate");
    EXPECT_EQ(fresh.Text("Label7"), "Make choice");
    fresh.ChooseRow("ListBox3", 0);
    EXPECT_TRUE(fresh.Text("Label7").isEmpty());
}

struct NumberCase {
    const char* text;
    bool valid;
    std::int32_t value;  // what the field holds afterwards when valid
};

class NumberFieldRule : public MainWindowRules, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(NumberFieldRule, WholeNumbersPassOthersShowNoteAndBeepTwice) {
    const NumberCase& typed = GetParam();
    for (auto [field, note, member] :
         {std::tuple{"Edit1", "Label3", &TKonfiguracja::QsosPerCard},
          std::tuple{"Edit2", "Label4", &TKonfiguracja::MaxQslPerFile}}) {
        const std::int32_t before = config().*member;
        start.questions.beeps = 0;
        start.TypeInto(field, QString::fromLatin1(typed.text));
        EXPECT_EQ(config().*member, typed.valid ? typed.value : before) << field << typed.text;
        EXPECT_EQ(start.Text(note), typed.valid ? QString() : QString("Error in data - edit it"))
            << field;
        EXPECT_EQ(start.questions.beeps, typed.valid ? 0 : 2) << field;
        start.TypeInto(field, "7");  // valid again before the next field
    }
    EXPECT_EQ(start.writes, 0);
}

INSTANTIATE_TEST_SUITE_P(Texts, NumberFieldRule,
                         ::testing::Values(NumberCase{"5", true, 5}, NumberCase{"0", true, 0},
                                           NumberCase{"-4", true, -4},
                                           NumberCase{"   12", true, 12},
                                           NumberCase{"2147483647", true, 2147483647},
                                           NumberCase{"-2147483648", true, -2147483647 - 1},
                                           NumberCase{"2147483648", false, 0},
                                           NumberCase{"", false, 0}, NumberCase{"1a", false, 0},
                                           NumberCase{"12 ", false, 0}, NumberCase{"x", false, 0},
                                           NumberCase{"1.5", false, 0}));

TEST_F(MainWindowRules, DateFormatGroupsWriteOnEveryChange) {
    start.ChooseRadio("FormatWejDatyQSO", 3);
    EXPECT_EQ(config().InputDateFormat, 3);
    EXPECT_EQ(start.writes, 1);
    EXPECT_EQ(start.StoredConfig().InputDateFormat, 3);
    start.ChooseRadio("FormatWyjscDatyQSO", 4);
    EXPECT_EQ(config().OutputDateFormat, 4);
    EXPECT_EQ(start.writes, 2);
    // Choosing the item already selected is no change.
    start.ChooseRadio("FormatWyjscDatyQSO", 4);
    EXPECT_EQ(start.writes, 2);
}

TEST_F(MainWindowRules, OutputDateFormatFillsOrEmptiesTheDateSeparator) {
    start.ChooseRadio("FormatWyjscDatyQSO", 3);
    EXPECT_EQ(start.Text("SeparFormatuDatyWyjscQSO"), "-");
    EXPECT_EQ(config().DateSeparator, "-");
    start.TypeInto("SeparFormatuDatyWyjscQSO", ".");
    start.ChooseRadio("FormatWyjscDatyQSO", 4);
    EXPECT_EQ(start.Text("SeparFormatuDatyWyjscQSO"), ".") << "a separator already there stays";
    start.ChooseRadio("FormatWyjscDatyQSO", 1);
    EXPECT_TRUE(start.Text("SeparFormatuDatyWyjscQSO").isEmpty());
    EXPECT_EQ(config().DateSeparator, "");
    start.TypeInto("SeparFormatuDatyWyjscQSO", "/");
    start.ChooseRadio("FormatWyjscDatyQSO", 0);
    EXPECT_EQ(start.Text("SeparFormatuDatyWyjscQSO"), "/") << "'as input' leaves the field";
}

struct SeparatorCase {
    const char* text;
    bool valid;
    const char* stored;
};

class SeparatorRule : public MainWindowRules,
                      public ::testing::WithParamInterface<SeparatorCase> {};

TEST_P(SeparatorRule, FirstCharacterDecidesDateAndTimeSeparators) {
    const SeparatorCase& typed = GetParam();
    const QString text = QString::fromLatin1(typed.text);
    start.TypeInto("SeparFormatuDatyWyjscQSO", text);
    EXPECT_EQ(config().DateSeparator, typed.valid ? typed.stored : "");
    EXPECT_EQ(start.writes, 0) << "the date separator is kept in memory only";
    start.TypeInto("Separ_FormatuWyjscCzasuQSO", text);
    EXPECT_EQ(config().TimeSeparator, typed.valid ? typed.stored : "");
    EXPECT_EQ(start.writes, 1) << "the time separator writes, valid or not";
    const std::size_t boxes = typed.valid ? 0 : 2;
    ASSERT_EQ(start.questions.errorBoxes.size(), boxes);
    EXPECT_EQ(start.questions.beeps, int(boxes));
    // The field keeps what was typed, and the output uses the field's text.
    EXPECT_EQ(start.window->Values().DateSeparatorText, typed.text);
    EXPECT_EQ(start.window->Values().TimeSeparatorText, typed.text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SeparatorRule,
    ::testing::Values(SeparatorCase{"/", true, "/"}, SeparatorCase{":", true, ":"},
                      SeparatorCase{".", true, "."}, SeparatorCase{"-", true, "-"},
                      SeparatorCase{"/xy", true, "/"}, SeparatorCase{"x", false, ""},
                      SeparatorCase{"x/", false, ""}, SeparatorCase{" ", false, ""}));

TEST_F(MainWindowRules, DivideCheckBoxEnablesQslsPerFile) {
    auto* divide = start.Find<QCheckBox>("CheckBox1");
    divide->setChecked(true);
    EXPECT_TRUE(config().DivideOutputFile);
    EXPECT_TRUE(start.Find<QLineEdit>("Edit2")->isEnabled());
    divide->setChecked(false);
    EXPECT_FALSE(config().DivideOutputFile);
    EXPECT_FALSE(start.Find<QLineEdit>("Edit2")->isEnabled());
    EXPECT_EQ(start.writes, 0);
}

TEST_F(MainWindowRules, CabrilloOutputTypeDisablesAndOtherTypesEnableSeparators) {
    start.ChooseRow("ListBox4", 3);
    EXPECT_FALSE(start.Find<QWidget>("FormatWyjscDatyQSO")->isEnabled());
    EXPECT_FALSE(start.Find<QWidget>("Separ_FormatuWyjscCzasuQSO")->isEnabled());
    EXPECT_FALSE(start.Find<QWidget>("Lab_SeparDatyWyjsc")->isEnabled());
    start.ChooseRow("ListBox4", 2);
    EXPECT_TRUE(start.Find<QWidget>("FormatWyjscDatyQSO")->isEnabled());
    EXPECT_TRUE(start.Find<QWidget>("SeparFormatuDatyWyjscQSO")->isEnabled());
    EXPECT_TRUE(start.Find<QWidget>("Lab_SeparatorFormatuWyjscCzasuQSO")->isEnabled());
}

// --- the ADIF standard offer -----------------------------------------------------------------

const std::string kOffer =
    "Outpt format for Date and Time is not incompatible with ADIF standard    \r"
    "Do you want to put there standard ADIF parameters";

TEST_F(MainWindowRules, AdifOutputWithOtherDateFormatOffersStandardAndOkPutsItIn) {
    start.TypeInto("Separ_FormatuWyjscCzasuQSO", ":");
    start.writes = 0;
    start.questions.warningAnswers.push_back(true);
    start.ChooseRow("ListBox4", 0);
    ASSERT_EQ(start.questions.warningBoxes.size(), 1U);
    EXPECT_EQ(start.questions.warningBoxes[0], kOffer);
    EXPECT_EQ(start.Find<ui::RadioGroup>("FormatWyjscDatyQSO")->ItemIndex(), 1);
    EXPECT_TRUE(start.Text("SeparFormatuDatyWyjscQSO").isEmpty());
    EXPECT_TRUE(start.Text("Separ_FormatuWyjscCzasuQSO").isEmpty());
    EXPECT_EQ(config().OutputDateFormat, 1);
    EXPECT_EQ(config().TimeSeparator, "");
    // The time field's rule, the format group's rule and the offer itself each write.
    EXPECT_EQ(start.writes, 3);
    EXPECT_EQ(start.StoredConfig().OutputDateFormat, 1);
}

TEST_F(MainWindowRules, DeclinedOfferIsNotRepeatedUntilARunOrBookmarkResetsIt) {
    start.questions.warningAnswers.push_back(false);
    start.ChooseRow("ListBox4", 0);
    ASSERT_EQ(start.questions.warningBoxes.size(), 1U);
    EXPECT_EQ(config().OutputDateFormat, 2);
    EXPECT_EQ(start.writes, 0);
    start.ChooseRow("ListBox4", 1);
    start.ChooseRow("ListBox4", 0);
    start.Trigger("TranslationFile1");
    EXPECT_EQ(start.questions.warningBoxes.size(), 1U) << "declined: not asked again";
    // A bookmark run (here one that fails for lack of DXCC.LST) resets the refusal.
    start.Trigger("SortowanieBookmarksWgListyDDXCC_CTY_DAT");
    start.questions.warningAnswers.push_back(false);
    start.Trigger("TranslationFile1");
    EXPECT_EQ(start.questions.warningBoxes.size(), 2U);
}

TEST_F(MainWindowRules, StandardAdifSettingsMakeNoOffer) {
    start.ChooseRadio("FormatWyjscDatyQSO", 1);
    start.ChooseRow("ListBox4", 0);
    EXPECT_TRUE(start.questions.warningBoxes.empty());
}

TEST_F(MainWindowRules, SortCommandMakesItsOfferNearerTheCorner) {
    MainWindowHarness adif(
        IniText({"[MAIN]", "Language=English", "[Format QSO_Date For Sort and translate]",
                 "Type format of output date QSO=DDMMYYYY", "[For Sort and translate]",
                 "Type input file=CBRwe"}));
    struct OffsetRecorder : ScriptedUserInterface {
        std::vector<BoxOffset> offsets;
        bool WarningBox(const std::string& text, BoxOffset offset) override {
            offsets.push_back(offset);
            return ScriptedUserInterface::WarningBox(text, offset);
        }
    };
    // The window was built with the harness's own script; record through a second window.
    OffsetRecorder recorder;
    ui::StartupEnvironment environment;
    environment.SetupIniPath = adif.SetupIniPath();
    environment.StartDirectory = adif.dir.path().string();
    environment.ShowLanguageWindow = &MainWindowHarness::PressOk;
    environment.Questions = &recorder;
    ui::TForm4 window(environment);
    recorder.warningAnswers = {false};
    window.findChild<QAction*>("SortFileCSV1")->trigger();
    ASSERT_EQ(recorder.offsets.size(), 1U);
    EXPECT_EQ(recorder.offsets[0], BoxOffset::Near);
    // The Cabrillo input is refused after the offer; no panel changes.
    ASSERT_EQ(recorder.errorBoxes.size(), 1U);
    EXPECT_EQ(recorder.errorBoxes[0],
              "For type file CBR is not possible sorting file\rChoice for this type Translate "
              "file from menu");
    EXPECT_TRUE(window.findChild<QGroupBox*>("GroupBox1")->isVisibleTo(&window));
    EXPECT_FALSE(window.findChild<QGroupBox*>("Panel1")->isVisibleTo(&window));
    EXPECT_EQ(window.Values().TranslationMode, 0);
}

// --- configuration commands ----------------------------------------------------------------

TEST_F(MainWindowRules, ConfirmConfigurationWritesAndHidesWhenAllValid) {
    start.ChooseRow("ListBox3", 2);
    start.TypeInto("Edit1", "4");
    start.Click("Button2");
    EXPECT_EQ(start.writes, 1);
    const TKonfiguracja stored = start.StoredConfig();
    EXPECT_EQ(stored.Sorting, 2);
    EXPECT_EQ(stored.QsosPerCard, 4);
    for (const char* hidden : {"GroupBox1", "GroupBox7", "Button2", "Help_Sort"}) {
        EXPECT_FALSE(start.Shown(hidden)) << hidden;
    }
}

TEST_F(MainWindowRules, ConfirmConfigurationWithBadNumberShowsErrorAndWritesNothing) {
    start.TypeInto("Edit2", "many");
    start.questions.beeps = 0;
    start.Click("Button2");
    ASSERT_EQ(start.questions.errorBoxes.size(), 1U);
    EXPECT_EQ(start.questions.errorBoxes[0], "Error in data - edit it");
    EXPECT_EQ(start.questions.beeps, 2) << "the confirmation checks the field again";
    EXPECT_EQ(start.writes, 0);
    EXPECT_TRUE(start.Shown("GroupBox1"));
    EXPECT_EQ(config().MaxQslPerFile, 20) << "the former number stays";
}

TEST_F(MainWindowRules, ConfirmConfigurationWithoutListChoiceStoresNothingForIt) {
    start.Find<QListWidget>("ListBox2")->setCurrentRow(-1);
    start.Trigger("ConfigForSortingAndTtranslate");
    EXPECT_EQ(start.Text("Label5"), "Make choice");
    start.Click("Button2");
    EXPECT_EQ(config().InputFileType, kNoSelection);
    EXPECT_EQ(start.questions.errorBoxes.size(), 1U);
    EXPECT_EQ(start.writes, 0);
}

TEST_F(MainWindowRules, PersonalDataAreCutToTheirWidthAndWritten) {
    start.Trigger("ConfigPersonalInfo1");
    EXPECT_TRUE(start.Shown("Personal_Config"));
    EXPECT_FALSE(start.Shown("GroupBox1"));
    EXPECT_FALSE(start.Shown("Button2"));
    start.TypeInto("Callsign", "SP9ABC");
    start.TypeInto("Imie_Nazwisko", QString::fromUtf8("Łukasz Żółć"));
    start.TypeInto("ZIPP", "12-345678");
    // Typed but not confirmed: the Cabrillo header takes the fields as they stand.
    EXPECT_EQ(start.window->PersonalFieldTexts().Callsign, "SP9ABC");
    EXPECT_EQ(start.window->Config().PersonalInfo.Callsign, "");
    start.Click("Zatw_Personal_Info");
    EXPECT_EQ(start.writes, 1);
    EXPECT_FALSE(start.Shown("Personal_Config"));
    const TPersonalInfo stored = start.StoredConfig().PersonalInfo;
    EXPECT_EQ(stored.Callsign, "SP9ABC");
    EXPECT_EQ(stored.FirstAndLastName, "\xA3ukasz \xAF\xF3\xB3\xE6");  // code page 1250
    EXPECT_EQ(stored.Zip, "12-3456");
}

TEST_F(MainWindowRules, ExitWritesAndClosesOtherClosingWritesNothing) {
    start.window->show();
    start.window->close();
    EXPECT_EQ(start.writes, 0);
    start.window->show();
    start.TypeInto("SeparFormatuDatyWyjscQSO", ".");
    start.Trigger("ExitFromProgram");
    EXPECT_EQ(start.writes, 1);
    EXPECT_FALSE(start.window->isVisible());
    EXPECT_EQ(start.StoredConfig().DateSeparator, ".");
}

TEST_F(MainWindowRules, FailedExitWriteKeepsTheProgramRunning) {
    start.window->show();
    start.failWrites = true;
    start.Trigger("ExitFromProgram");
    EXPECT_EQ(start.questions.errorBoxes.size(), 1U);
    EXPECT_TRUE(start.window->isVisible());
}

}  // namespace
}  // namespace velmark::testing
