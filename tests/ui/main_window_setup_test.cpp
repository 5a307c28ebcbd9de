// Building the main window: the language chosen at start, the texts in that language, the
// set-up from setup.ini with its writes, and the views at start.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QMenu>
#include <QMessageBox>
#include <QToolButton>

#include "main_window_harness.h"

namespace velmark::testing {
namespace {

TEST(MainWindowStart, FirstStartWithoutSetupIniIsEnglishAndCreatesSetupIni) {
    MainWindowHarness start;
    EXPECT_EQ(start.window->windowTitle(), "VELMARK_TRANSLATION");
    EXPECT_EQ(start.Find<QListWidget>("ListBox1")->currentRow(), 1);
    EXPECT_EQ(start.Find<QGroupBox>("GroupBox1")->title(), "Main Configuration");
    EXPECT_EQ(start.Find<QAction>("SortFileCSV1")->text(), "Sorting file");
    const TKonfiguracja stored = start.StoredConfig();
    EXPECT_EQ(stored.Language, kLanguageEnglish);
    EXPECT_TRUE(start.SetupIniHas("Language=English"));
    // The two date-format groups write once each; nothing else at a first start.
    EXPECT_EQ(start.writes, 2);
    EXPECT_TRUE(start.questions.errorBoxes.empty());
}

TEST(MainWindowStart, PolishTextsShowWithTheirLetters) {
    MainWindowHarness start(IniText({"[MAIN]", "Language=Polish"}));
    EXPECT_EQ(start.Find<QGroupBox>("GroupBox1")->title(),
              QString::fromUtf8("Konfiguracja główna"));
    EXPECT_EQ(start.Find<QGroupBox>("GroupBox3")->title(), QString::fromUtf8("Język"));
    EXPECT_EQ(start.Find<QPushButton>("Button2")->text(),
              QString::fromUtf8("Zatwierdź konfigurację"));
    EXPECT_EQ(start.Find<QToolButton>("ToolButton1")->toolTip(), "Konfiguracja");
    EXPECT_EQ(start.Find<QToolButton>("ToolButton7")->toolTip(),
              QString::fromUtf8("W jaką przegrodke w archiwum kart wsadzic QSL"));
}

// Qt's own texts: the buttons of message boxes, the file dialogs and the input boxes.
TEST(MainWindowStart, QtSpeaksTheChosenLanguageWhileTheWindowLives) {
    const auto qtTexts = [] {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        return QStringList{box.button(QMessageBox::Yes)->text(),
                           box.button(QMessageBox::No)->text(),
                           box.button(QMessageBox::Cancel)->text(),
                           QCoreApplication::translate("QFileDialog", "File &name:"),
                           QCoreApplication::translate("QInputDialog", "Enter a value:")};
    };
    const QStringList english = qtTexts();
    ASSERT_EQ(english.first(), "&Yes");
    {
        MainWindowHarness polish(IniText({"[MAIN]", "Language=Polish"}));
        const QStringList shown = qtTexts();
        EXPECT_EQ(shown[0], "&Tak");
        EXPECT_EQ(shown[1], "&Nie");
        EXPECT_EQ(shown[2], "Anuluj");
        EXPECT_EQ(shown[3], QString::fromUtf8("Nazwa &pliku:"));
        EXPECT_NE(shown[4], english[4]);
    }
    EXPECT_EQ(qtTexts(), english) << "the translation leaves with the window";
    MainWindowHarness englishWindow(IniText({"[MAIN]", "Language=English"}));
    EXPECT_EQ(qtTexts(), english);
}

TEST(MainWindowStart, ChoiceInLanguageWindowDecidesTheTextsAndIsStored) {
    MainWindowHarness start(IniText({"[MAIN]", "Language=Polish"}),
                            [](ui::TForm1& window) { emit window.ComboBox1->activated(1); });
    EXPECT_EQ(start.Find<QGroupBox>("GroupBox1")->title(), "Main Configuration");
    EXPECT_EQ(start.StoredConfig().Language, kLanguageEnglish);
}

TEST(MainWindowStart, CloseBoxLeavesLanguageListEmptyAndConfirmKeepsStoredLanguage) {
    MainWindowHarness start(IniText({"[MAIN]", "Language=Polish"}),
                            [](ui::TForm1& window) { window.close(); });
    EXPECT_EQ(start.Find<QListWidget>("ListBox1")->currentRow(), -1);
    start.Click("Button2");
    // No selection gives code 255, which is not written: the file keeps Polish.
    EXPECT_EQ(start.window->Config().Language, kNoSelection);
    EXPECT_TRUE(start.SetupIniHas("Language=Polish"));
}

TEST(MainWindowStart, StartViewShowsConfigurationPanels) {
    MainWindowHarness start;
    for (const char* shown : {"GroupBox1", "GroupBox2", "GroupBox3", "GroupBox4", "GroupBox7",
                              "Button2", "Help_Sort"}) {
        EXPECT_TRUE(start.Shown(shown)) << shown;
    }
    for (const char* hidden : {"Zatw_transla", "Panel1", "Personal_Config"}) {
        EXPECT_FALSE(start.Shown(hidden)) << hidden;
    }
    EXPECT_FALSE(start.Find<QListWidget>("ListBox1")->isEnabled());
}

TEST(MainWindowStart, StoredSettingsFillTheElements) {
    MainWindowHarness start(IniText({"[MAIN]",
                                     "Language=English",
                                     "Sorting=Sort_alfanumeric_acording_to_callsign",
                                     "[For Sort and translate]",
                                     "Type input file=CSVwe",
                                     "Type output file=TXTwy",
                                     "[Format QSO_Date For Sort and translate]",
                                     "Type format of input date QSO=DDMMYYYY",
                                     "Type format of output date QSO=YYYYMMDD",
                                     "Character for separtor QSO_date=",
                                     "Character for separtor QSO_Time=:",
                                     "[PRINT QSL]",
                                     "Number of QSO_s on one QSLcard=3",
                                     "Divide output file=1",
                                     "Maximum Number of QSL in a one sort file=50",
                                     "Last used catalog for input=/logs/in",
                                     "Last used catalog for output=/logs/out",
                                     "[Personal info]",
                                     "Callsign=SP9XYZ",
                                     "E_mail=op@example.org"}));
    EXPECT_EQ(start.Find<QListWidget>("ListBox3")->currentRow(), 2);
    EXPECT_EQ(start.Find<QListWidget>("ListBox2")->currentRow(), 1);
    EXPECT_EQ(start.Find<QListWidget>("ListBox4")->currentRow(), 2);
    EXPECT_EQ(start.Find<ui::RadioGroup>("FormatWejDatyQSO")->ItemIndex(), 2);
    EXPECT_EQ(start.Find<ui::RadioGroup>("FormatWyjscDatyQSO")->ItemIndex(), 1);
    for (const char* note : {"Label3", "Label4", "Label5", "Label6", "Label7"}) {
        EXPECT_TRUE(start.Text(note).isEmpty()) << note;
    }
    EXPECT_EQ(start.Text("Separ_FormatuWyjscCzasuQSO"), ":");
    EXPECT_EQ(start.Text("Edit1"), "3");
    EXPECT_EQ(start.Text("Edit2"), "50");
    EXPECT_TRUE(start.Find<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_TRUE(start.Find<QLineEdit>("Edit2")->isEnabled());
    EXPECT_EQ(start.Text("LastInputDir"), "/logs/in");
    EXPECT_EQ(start.Text("LastOutputDir"), "/logs/out");
    EXPECT_EQ(start.Text("Callsign"), "SP9XYZ");
    EXPECT_EQ(start.Text("E_mail"), "op@example.org");
    // The two date groups write, and the stored time separator makes one more write.
    EXPECT_EQ(start.writes, 3);
}

TEST(MainWindowStart, DashedOutputFormatForcesDashSeparatorWhateverWasStored) {
    for (const char* format : {"YYYY-MM-DD", "DD-MM-YYYY"}) {
        MainWindowHarness start(
            IniText({"[MAIN]", "Language=English", "[Format QSO_Date For Sort and translate]",
                     std::string("Type format of output date QSO=") + format,
                     "Character for separtor QSO_date=/"}));
        EXPECT_EQ(start.Text("SeparFormatuDatyWyjscQSO"), "-") << format;
        EXPECT_EQ(start.window->Config().DateSeparator, "-") << format;
        EXPECT_EQ(start.window->Values().DateSeparatorText, "-") << format;
    }
}

TEST(MainWindowStart, UndashedOutputFormatKeepsStoredSeparator) {
    MainWindowHarness start(
        IniText({"[MAIN]", "Language=English", "[Format QSO_Date For Sort and translate]",
                 "Type format of output date QSO=YYYYMMDD", "Character for separtor QSO_date=/"}));
    EXPECT_EQ(start.Text("SeparFormatuDatyWyjscQSO"), "/");
    EXPECT_EQ(start.window->Config().DateSeparator, "/");
}

TEST(MainWindowStart, LetterAsStoredDateSeparatorShowsDataErrorOnceAndStays) {
    MainWindowHarness start(IniText(
        {"[MAIN]", "Language=English", "[Format QSO_Date For Sort and translate]",
         "Type format of output date QSO=As input format", "Character for separtor QSO_date=x"}));
    ASSERT_EQ(start.questions.errorBoxes.size(), 1U);
    EXPECT_EQ(start.questions.errorBoxes[0], "Error in data - edit it");
    EXPECT_EQ(start.questions.beeps, 1);
    EXPECT_EQ(start.Text("SeparFormatuDatyWyjscQSO"), "x");
    EXPECT_EQ(start.window->Config().DateSeparator, "x");
}

TEST(MainWindowStart, CabrilloOutputDisablesDateAndSeparatorElements) {
    MainWindowHarness start(IniText(
        {"[MAIN]", "Language=English", "[For Sort and translate]", "Type output file=CBRwy"}));
    for (const char* element :
         {"FormatWyjscDatyQSO", "SeparFormatuDatyWyjscQSO", "Separ_FormatuWyjscCzasuQSO",
          "Lab_SeparDatyWyjsc", "Lab_SeparatorFormatuWyjscCzasuQSO"}) {
        EXPECT_FALSE(start.Find<QWidget>(element)->isEnabled()) << element;
    }
    EXPECT_TRUE(start.Find<QWidget>("FormatWejDatyQSO")->isEnabled());
}

TEST(MainWindowStart, UnwritableSetupIniIsReportedAndStartGoesOn) {
    MainWindowHarness start;
    start.failWrites = true;
    start.questions.errorBoxes.clear();
    start.Start();
    ASSERT_EQ(start.questions.errorBoxes.size(), 2U);
    EXPECT_EQ(start.questions.errorBoxes[0], "Unable to write to " + start.SetupIniPath());
    // The remaining steps ran: the run values are set.
    EXPECT_EQ(start.window->Values().StartDirectory, start.dir.path().string());
    EXPECT_EQ(start.window->Values().ProgramFileName, "velmark");
    EXPECT_EQ(start.window->Values().VersionText, "V: 1.0.2.0");
}

}  // namespace
}  // namespace velmark::testing
