#pragma once
// The main window: menu, toolbar, the configuration panels for sorting and translating, the
// QSL printing options, the station's personal data and the processing panel through which a
// run reports. It owns the program-wide objects (configuration, text table, field catalogue,
// run values) and, while a command needs them, the DXCC list object and the processing object.

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "core/field_catalogue.h"
#include "core/processing_object.h"
#include "core/program_values.h"
#include "core/user_interface.h"
#include "dxcc/dxcc_list.h"
#include "labels/label_run.h"
#include "run/run_driver.h"
#include "settings/configuration.h"
#include "settings/text_table.h"

class QAction;
class QCheckBox;
class QComboBox;
class QPrinter;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QToolBar;
class QToolButton;
class QWidget;

namespace velmark::ui {

class QtTranslation;
class QtUserInterface;
class RadioGroup;
class TLabelPanel;
class TForm1;
class TForm3;

// What the main window takes from the process it runs in. The program fills it from the
// running process; tests fill it from a scratch directory and answer the questions themselves.
struct StartupEnvironment {
    std::string SetupIniPath;     // setup.ini beside the program file
    std::string StartDirectory;   // the working directory, without a trailing separator
    std::string ProgramFileName;  // the program file's bare name
    // Shows the language window; empty: shows it modally.
    std::function<void(TForm1&)> ShowLanguageWindow;
    // Shows the second window (template editor, Cabrillo export, country search) until it
    // closes; empty: shows it modally.
    std::function<void(TForm3&)> ShowSecondWindow;
    // Stores the configuration; empty: ConfigWrite.
    std::function<void(const TKonfiguracja&, const std::string&)> WriteConfig;
    // Answers every question, box and beep instead of Qt's dialogs; empty: Qt's dialogs.
    UserInterface* Questions = nullptr;
    // QSL labels: shows the print preview of the labels until it closes (paint draws them on
    // the printer it is given), true when they were printed from it; and the print dialog, true
    // when the user chose to print. Empty: Qt's dialogs.
    std::function<bool(QPrinter&, const std::function<void(QPrinter&)>& paint)> ShowLabelPreview;
    std::function<bool(QPrinter&)> ShowPrintDialog;
};

inline constexpr int kPersonalFieldCount = 18;

class TForm4 : public QMainWindow {
    Q_OBJECT
  public:
    // Builds the window: asks for the language, reads and writes setup.ini, sets every text.
    explicit TForm4(StartupEnvironment environment, QWidget* parent = nullptr);
    ~TForm4() override;

    // The program-wide objects, for the windows this one opens.
    TKonfiguracja& Config() { return m_config; }
    const TNazwyJezykowe& Texts() const { return m_texts; }
    TStrukturaADIF& Catalogue() { return m_catalogue; }
    ProgramValues& Values() { return m_values; }
    UserInterface& Ui();
    // The loaded DXCC list, or nullptr while none is loaded.
    TListaDXCC* DxccList() { return m_dxccList.get(); }
    // The processing object of the current run, or nullptr between runs.
    TObiektyInputOutput* ProcessingObject() { return m_processing.get(); }
    // The personal data as they stand in their fields (typed but perhaps not confirmed), as
    // Cabrillo headers are filled from them.
    TPersonalInfo PersonalFieldTexts() const;

    // --- menu and toolbar ---
    QMenu* Configuration1;
    QAction* ConfigForSortingAndTtranslate;
    QAction* ConfigPersonalInfo1;
    QAction* ConfigCabrilloFormat1;
    // Makes DXCC.LST anew from a country file the user downloaded (cty.csv or cty.dat).
    QAction* UpdateDxccListFromCountryFile;
    QAction* SortFileCSV1;
    QAction* TranslationFile1;
    QMenu* BookmarksForQSLArchive;
    QAction* SortowanieBookmarksWgListyDDXCC_CTY_DAT;
    QAction* SortowanieBookmarksWgNumerowStandarduADIF;
    QAction* SzukanieKrajuDlaZnaku;
    QAction* About1;
    QAction* Help1;
    QAction* ExitFromProgram;
    QToolBar* ToolBar1;
    std::array<QToolButton*, 8> ToolButtons{};

    // --- main configuration panel ---
    QGroupBox* GroupBox1;
    QGroupBox* GroupBox4;
    QGroupBox* GroupBox5;
    QListWidget* ListBox2;
    QLabel* Label5;
    QGroupBox* GroupBox6;
    QListWidget* ListBox4;
    QLabel* Label6;
    QGroupBox* FormatDatyQSO;
    RadioGroup* FormatWejDatyQSO;
    QGroupBox* DataWyjsciowa;
    RadioGroup* FormatWyjscDatyQSO;
    QLabel* Lab_SeparDatyWyjsc;
    QLineEdit* SeparFormatuDatyWyjscQSO;
    QLabel* Lab_SeparatorFormatuWyjscCzasuQSO;
    QLineEdit* Separ_FormatuWyjscCzasuQSO;
    QPushButton* Zatw_transla;
    QPushButton* Help_Translate;
    QPushButton* Help_Cabrillo;
    QGroupBox* GroupBox2;
    QListWidget* ListBox3;
    QLabel* Label7;
    QGroupBox* GroupBox3;
    QListWidget* ListBox1;
    QGroupBox* GroupBoxEncoding;
    QLabel* Lab_InputEncoding;
    QComboBox* InputEncodingList;  // auto, CP1250, UTF-8
    QLabel* Lab_OutputEncoding;
    QComboBox* OutputEncodingList;  // CP1250, UTF-8
    QPushButton* Help_Encoding;

    // --- QSL print options ---
    QGroupBox* GroupBox7;
    QLabel* Label1;
    QLineEdit* Edit1;
    QLabel* Label3;
    QCheckBox* CheckBox1;
    QLabel* Label2;
    QLineEdit* Edit2;
    QLabel* Label4;
    QLabel* Lab_LastInputDir;
    QLineEdit* LastInputDir;
    QLabel* Lab_LastOutputDir;
    QLineEdit* LastOutputDir;
    QPushButton* Button2;
    QPushButton* Help_Sort;

    // --- processing panel ---
    QGroupBox* Panel1;
    QLabel* Label8;
    QProgressBar* ProgressBar1;
    QPlainTextEdit* Memo1;
    QPushButton* ZatListyDXCC;
    QPushButton* ZatwSortow;
    QPushButton* ZatwierdzBookmarksDlaArchiwum;
    QPushButton* Help_DXCC_LST;

    // --- personal data panel ---
    QGroupBox* Personal_Config;
    std::array<QLabel*, kPersonalFieldCount> PersonalLabels{};
    std::array<QLineEdit*, kPersonalFieldCount> PersonalFields{};
    QPushButton* Zatw_Personal_Info;

    // --- QSL labels (main_window_labels.cpp): the menu entry beside the sort and its panel ---
    QAction* PrintLabels1 = nullptr;
    TLabelPanel* LabelPanel = nullptr;

  protected:
    // A run lets events through while it works; the window must not close under it.
    void closeEvent(QCloseEvent* event) override;

  private:
    // --- building (main_window_layout.cpp) ---
    void buildMenu();
    void buildToolBar();
    QWidget* buildMainConfiguration();
    QWidget* buildSortTranslateGroup();
    QWidget* buildDateFormatFrame();
    QWidget* buildEncodingGroup();
    QWidget* buildQslPrintOptions();
    QWidget* buildProcessingPanel();
    QWidget* buildPersonalData();
    void connectCommands();
    void connectRules();
    void fitToContent();

    // --- start-up and set-up ---
    void askLanguage();
    void setUp();
    void applyTexts();
    void applyPersonalLabels();
    void setListNotes();
    void selectStoredLists();
    void fillFieldsFromConfiguration();
    void setSeparatorsEnabled(bool enabled);

    // --- rules of the configuration elements ---
    void inputTypeChanged(int row);
    void outputTypeChanged(int row);
    void sortTypeChanged(int row);
    bool takeNumberField(QLineEdit* field, QLabel* note, std::int32_t& target);
    void inputDateFormatChanged(int index);
    void outputDateFormatChanged(int index);
    void dateSeparatorChanged(const QString& text);
    void timeSeparatorChanged(const QString& text);
    bool takeSeparator(const QString& text, std::string& target);
    void divideChanged(bool checked);
    bool adifOfferApplies() const;
    void makeAdifStandardOffer(BoxOffset offset);
    // Writes setup.ini; a failure shows its message. False when the write failed.
    bool writeConfiguration();

    // --- configuration commands ---
    void configForSortingAndTranslate();
    void configPersonalInfo();
    void confirmConfiguration();
    void confirmPersonalInfo();
    void exitFromProgram();
    void about();
    void cabrilloTemplate();

    // --- run commands (main_window_run_commands.cpp) ---
    void sortFile();
    void translateFile();
    void confirmTranslation();
    void startRun();
    // Asks for the input log in the dialog of the configured type; the chosen file's folder
    // becomes the last input folder, and the run starts from it. Nothing, with the message,
    // when the user cancels.
    std::optional<std::string> askInputLog();
    void finishRun();
    void bookmarks(int order);
    void confirmBookmarks();
    void findCountry();
    // Asks for a country file and makes DXCC.LST anew from it; the messages go to the message
    // list. Any list loaded before is released, so the next command loads the new one.
    void importDxccList();
    // The run driver's Cabrillo output: the second window with its export panel.
    void openCabrilloExport(RunObjects& run);
    // Shows the second window until it closes.
    void showSecondWindow(TForm3& window);
    // Creates the DXCC list object and loads DXCC.LST; false (after the error box) when the
    // load failed, in which case no list is kept.
    bool loadNewDxccList();
    // Error boxes for RunStatus 1 and 2; true when RunStatus reports a failure.
    bool reportRunStatus();
    void readAndWriteRun();
    RunObjects runObjects();
    void showPanel(bool withEmptyMessages);

    // --- QSL labels (main_window_labels.cpp) ---
    enum class LabelOutput { Preview, Printer, Pdf };
    // Adds the menu entry and the panel to the window built so far, with their texts.
    void setUpLabels();
    // The menu entry: the labels panel with the sheets of the start directory.
    void printLabels();
    // The command as a slot that runs it only while no other command works: one started while
    // another lets events through is refused with a beep.
    std::function<void()> whenIdle(std::function<void()> command);
    // A labels run to the output chosen in the panel: the log asked for, read and sorted, the
    // labels drawn, then the file of QSOs sent and the report.
    void runLabels(LabelOutput output);
    // Draws the run's labels on a printer (the preview's or the real one); false when it was
    // not asked to print. drawn gets the counts of the last drawing.
    bool printLabelsOn(RunObjects& run, const LabelJob& job, LabelOutput output, LabelsDrawn& drawn,
                       std::string& destination);

    QWidget* m_content = nullptr;  // everything below the toolbar, in a scroll area
    StartupEnvironment m_environment;
    TKonfiguracja m_config;
    TNazwyJezykowe m_texts;
    TStrukturaADIF m_catalogue;
    ProgramValues m_values;
    std::unique_ptr<QtUserInterface> m_ui;
    // Qt's own texts (box buttons, file dialogs) in the chosen language.
    std::unique_ptr<QtTranslation> m_qtTranslation;
    std::unique_ptr<TListaDXCC> m_dxccList;
    std::unique_ptr<TObiektyInputOutput> m_processing;
    // FieldSeparator and CabrilloInput of the chosen input type, with its dialog filter.
    InputKind m_inputKind;

    std::string m_dataErrorText;  // MsgDataError, at most 40 characters
    std::string m_fieldNoteText;  // the same, at most 25 characters: a number field's note
    bool m_adifStandardDeclined = false;
    // True while a command loads the list or runs: the window then refuses other commands.
    bool m_busy = false;

    friend class BusyScope;
};

}  // namespace velmark::ui
