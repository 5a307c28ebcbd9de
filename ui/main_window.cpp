#include "ui/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <charconv>
#include <limits>

#include "core/bounded_text.h"
#include "core/errors.h"
#include "ui/about_window.h"
#include "ui/cp1250_qstring.h"
#include "ui/language_window.h"
#include "ui/qt_translation.h"
#include "ui/qt_user_interface.h"
#include "ui/radio_group.h"
#include "ui/second_window.h"

namespace velmark::ui {
namespace {

constexpr std::size_t kDataErrorTextCapacity = 40;
constexpr std::size_t kFieldNoteTextCapacity = 25;
constexpr std::size_t kProgramFileNameCapacity = 50;
constexpr int kAdifOutput = 0;
constexpr int kCabrilloType = 3;

// A whole signed 32-bit number in decimal, leading blanks allowed, nothing after it.
bool readWholeNumber(const std::string& text, std::int32_t& value) {
    std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos) {
        return false;
    }
    if (text[start] == '+') {
        ++start;
    }
    const char* first = text.data() + start;
    const char* last = text.data() + text.size();
    std::int32_t number = 0;
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc() || end != last || first == last) {
        return false;
    }
    value = number;
    return true;
}

// The directories are paths: they keep the file system's own encoding.

// The list's position as a configuration code: 255 when nothing is selected.
std::uint8_t listCode(const QListWidget* list) {
    const int row = list->currentRow();
    return row < 0 ? kNoSelection : static_cast<std::uint8_t>(row);
}

void selectRow(QListWidget* list, int row) {
    list->setCurrentRow(row >= 0 && row < list->count() ? row : -1);
}

}  // namespace

TForm4::TForm4(StartupEnvironment environment, QWidget* parent)
    : QMainWindow(parent), m_environment(std::move(environment)) {
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("VELMARK_TRANSLATION"));
    if (!m_environment.WriteConfig) {
        m_environment.WriteConfig = ConfigWrite;
    }
    buildMenu();
    buildToolBar();
    auto* content = new QWidget;
    auto* top = new QHBoxLayout;
    top->addWidget(buildMainConfiguration(), 3);
    auto* side = new QVBoxLayout;
    side->addWidget(buildQslPrintOptions());
    Button2 = new QPushButton;
    Button2->setObjectName(QStringLiteral("Button2"));
    Help_Sort = new QPushButton;
    Help_Sort->setObjectName(QStringLiteral("Help_Sort"));
    Help_Sort->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    auto* confirm = new QHBoxLayout;
    confirm->addWidget(Button2);
    confirm->addStretch();
    confirm->addWidget(Help_Sort);
    side->addLayout(confirm);
    side->addStretch(1);
    top->addLayout(side, 1);
    auto* layout = new QVBoxLayout(content);
    layout->addLayout(top);
    layout->addWidget(buildProcessingPanel(), 2);
    layout->addWidget(buildPersonalData());
    layout->addStretch(1);
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("ScrollArea"));
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    setCentralWidget(scroll);
    m_content = content;

    m_ui = std::make_unique<QtUserInterface>(
        *this, ProcessingPanelWidgets{Label8, ProgressBar1, Memo1, ZatwSortow},
        m_environment.Questions);
    m_ui->SetInputDateFormatListener([this](int code) { FormatWejDatyQSO->SetItemIndex(code); });
    connectCommands();
    connectRules();

    // Start-up, in this order: the language (which reads setup.ini), Qt's texts and the
    // program's texts in that language, the set-up from the configuration (which writes setup.ini),
    // then the run values.
    Zatw_transla->hide();
    askLanguage();
    m_qtTranslation = std::make_unique<QtTranslation>();
    m_qtTranslation->Apply(m_config.Language);
    m_texts.Fill(m_config.Language);
    setUp();
    setUpLabels();
    Panel1->hide();
    m_values.StartDirectory = m_environment.StartDirectory;
    m_values.ProgramFileName = m_environment.ProgramFileName.substr(0, kProgramFileNameCapacity);
    fitToContent();
}

void TForm4::fitToContent() {
    // As large as the start view needs, but never beyond the screen; the panels scroll then.
    ensurePolished();
    m_content->layout()->activate();
    const QSize content = m_content->sizeHint();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    QSize wanted(content.width() + scrollBar, content.height() + menuBar()->sizeHint().height() +
                                                  ToolBar1->sizeHint().height() + scrollBar);
    if (const QScreen* display = screen()) {
        wanted = wanted.boundedTo(display->availableGeometry().size() * 0.95);
    }
    resize(wanted);
}

TForm4::~TForm4() = default;

UserInterface& TForm4::Ui() {
    return *m_ui;
}

std::function<void()> TForm4::whenIdle(std::function<void()> command) {
    return [this, command = std::move(command)] {
        if (m_busy) {
            m_ui->Beep();
            return;
        }
        command();
    };
}

void TForm4::connectCommands() {
    const auto member = [this](void (TForm4::*handler)()) {
        return [this, handler] { (this->*handler)(); };
    };
    connect(ConfigForSortingAndTtranslate, &QAction::triggered, this,
            whenIdle(member(&TForm4::configForSortingAndTranslate)));
    connect(ConfigPersonalInfo1, &QAction::triggered, this,
            whenIdle(member(&TForm4::configPersonalInfo)));
    connect(ConfigCabrilloFormat1, &QAction::triggered, this,
            whenIdle(member(&TForm4::cabrilloTemplate)));
    connect(SortFileCSV1, &QAction::triggered, this, whenIdle(member(&TForm4::sortFile)));
    connect(TranslationFile1, &QAction::triggered, this, whenIdle(member(&TForm4::translateFile)));
    connect(SortowanieBookmarksWgListyDDXCC_CTY_DAT, &QAction::triggered, this,
            whenIdle([this] { bookmarks(0); }));
    connect(SortowanieBookmarksWgNumerowStandarduADIF, &QAction::triggered, this,
            whenIdle([this] { bookmarks(1); }));
    connect(SzukanieKrajuDlaZnaku, &QAction::triggered, this,
            whenIdle(member(&TForm4::findCountry)));
    connect(UpdateDxccListFromCountryFile, &QAction::triggered, this,
            whenIdle(member(&TForm4::importDxccList)));
    connect(About1, &QAction::triggered, this, whenIdle(member(&TForm4::about)));
    connect(ExitFromProgram, &QAction::triggered, this, whenIdle(member(&TForm4::exitFromProgram)));
    connect(Button2, &QPushButton::clicked, this, whenIdle(member(&TForm4::confirmConfiguration)));
    connect(Zatw_Personal_Info, &QPushButton::clicked, this,
            whenIdle(member(&TForm4::confirmPersonalInfo)));
    connect(Zatw_transla, &QPushButton::clicked, this,
            whenIdle(member(&TForm4::confirmTranslation)));
    connect(ZatListyDXCC, &QPushButton::clicked, this, whenIdle(member(&TForm4::startRun)));
    connect(ZatwSortow, &QPushButton::clicked, this, whenIdle(member(&TForm4::finishRun)));
    connect(ZatwierdzBookmarksDlaArchiwum, &QPushButton::clicked, this,
            whenIdle(member(&TForm4::confirmBookmarks)));
}

void TForm4::connectRules() {
    connect(ListBox2, &QListWidget::currentRowChanged, this, &TForm4::inputTypeChanged);
    connect(ListBox4, &QListWidget::currentRowChanged, this, &TForm4::outputTypeChanged);
    connect(ListBox3, &QListWidget::currentRowChanged, this, &TForm4::sortTypeChanged);
    connect(Edit1, &QLineEdit::textChanged, this,
            [this] { takeNumberField(Edit1, Label3, m_config.QsosPerCard); });
    connect(Edit2, &QLineEdit::textChanged, this,
            [this] { takeNumberField(Edit2, Label4, m_config.MaxQslPerFile); });
    connect(FormatWejDatyQSO, &RadioGroup::itemIndexChanged, this, &TForm4::inputDateFormatChanged);
    connect(FormatWyjscDatyQSO, &RadioGroup::itemIndexChanged, this,
            &TForm4::outputDateFormatChanged);
    connect(SeparFormatuDatyWyjscQSO, &QLineEdit::textChanged, this, &TForm4::dateSeparatorChanged);
    connect(Separ_FormatuWyjscCzasuQSO, &QLineEdit::textChanged, this,
            &TForm4::timeSeparatorChanged);
    connect(CheckBox1, &QCheckBox::toggled, this, &TForm4::divideChanged);
    // Held in memory like the type lists, and stored with the next write of the configuration.
    connect(InputEncodingList, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            m_config.InputEncoding = static_cast<InputEncoding>(index);
    });
    connect(OutputEncodingList, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            m_config.OutputEncoding = static_cast<OutputEncoding>(index);
    });
}

// ---------------------------------------------------------------------------------------------
// Start-up and set-up

void TForm4::askLanguage() {
    TForm1 languageWindow(m_config, m_environment.SetupIniPath);
    if (m_environment.ShowLanguageWindow) {
        m_environment.ShowLanguageWindow(languageWindow);
    } else {
        languageWindow.exec();
    }
    selectRow(ListBox1, languageWindow.ChosenListPosition());
}

void TForm4::setUp() {
    Zatw_transla->hide();
    applyTexts();
    Label3->clear();
    Label4->clear();
    m_dataErrorText = KeepFirst(m_texts.MsgDataError, kDataErrorTextCapacity);
    m_fieldNoteText = KeepFirst(m_texts.MsgDataError, kFieldNoteTextCapacity);
    selectStoredLists();
    // Selecting the stored date formats runs their rules, so the configuration (with the
    // language just chosen) is written at every start; an output format with dashes fills in
    // the date separator while its field is still empty.
    FormatWejDatyQSO->SetItemIndex(m_config.InputDateFormat);
    FormatWyjscDatyQSO->SetItemIndex(m_config.OutputDateFormat);
    fillFieldsFromConfiguration();
    if (ListBox4->currentRow() == kCabrilloType) {
        setSeparatorsEnabled(false);
    }
    Panel1->hide();
    Personal_Config->hide();
}

void TForm4::applyTexts() {
    using Text = std::string TNazwyJezykowe::*;
    const auto text = [this](Text key) { return FromCp1250(m_texts.*key); };
    Configuration1->setTitle(text(&TNazwyJezykowe::MenuConfiguration));
    BookmarksForQSLArchive->setTitle(text(&TNazwyJezykowe::MenuBookmarks));
    const std::array<std::pair<QAction*, Text>, 11> actions{{
        {ConfigForSortingAndTtranslate, &TNazwyJezykowe::MenuConfigSortTranslate},
        {ConfigPersonalInfo1, &TNazwyJezykowe::MenuConfigPersonal},
        {ConfigCabrilloFormat1, &TNazwyJezykowe::MenuConfigCabrillo},
        {SortFileCSV1, &TNazwyJezykowe::MenuSortFile},
        {TranslationFile1, &TNazwyJezykowe::MenuTranslateFile},
        {SortowanieBookmarksWgListyDDXCC_CTY_DAT, &TNazwyJezykowe::SortByDxccList},
        {SortowanieBookmarksWgNumerowStandarduADIF, &TNazwyJezykowe::SortByAdifNumber},
        {SzukanieKrajuDlaZnaku, &TNazwyJezykowe::MenuFindCountry},
        {About1, &TNazwyJezykowe::MenuAbout},
        {Help1, &TNazwyJezykowe::MenuHelp},
        {ExitFromProgram, &TNazwyJezykowe::MenuExit},
    }};
    for (const auto& [action, key] : actions) {
        action->setText(text(key));
    }
    UpdateDxccListFromCountryFile->setText(text(&TNazwyJezykowe::MenuImportDxcc));
    const std::array<Text, 8> toolTips{&TNazwyJezykowe::MenuConfiguration,
                                       &TNazwyJezykowe::MenuSortFile,
                                       &TNazwyJezykowe::MenuTranslateFile,
                                       &TNazwyJezykowe::MenuBookmarks,
                                       &TNazwyJezykowe::MenuAbout,
                                       &TNazwyJezykowe::HintHelpContents,
                                       &TNazwyJezykowe::FindWhichCompartment,
                                       &TNazwyJezykowe::MenuExit};
    for (std::size_t i = 0; i < toolTips.size(); ++i) {
        ToolButtons[i]->setToolTip(text(toolTips[i]));
    }
    const std::array<std::pair<QGroupBox*, Text>, 12> frames{{
        {GroupBoxEncoding, &TNazwyJezykowe::GroupEncoding},
        {GroupBox1, &TNazwyJezykowe::CapMainConfiguration},
        {GroupBox4, &TNazwyJezykowe::CapSortTranslateConfig},
        {GroupBox5, &TNazwyJezykowe::CapInputFileType},
        {GroupBox6, &TNazwyJezykowe::CapOutputFileType},
        {FormatDatyQSO, &TNazwyJezykowe::CapQsoDateFormat},
        {FormatWejDatyQSO, &TNazwyJezykowe::CapInputDateFormat},
        {DataWyjsciowa, &TNazwyJezykowe::CapOutputDate},
        {FormatWyjscDatyQSO, &TNazwyJezykowe::CapOutputDateFormat},
        {GroupBox2, &TNazwyJezykowe::CapSortType},
        {GroupBox3, &TNazwyJezykowe::CapLanguage},
        {GroupBox7, &TNazwyJezykowe::CapQslPrintOptions},
    }};
    for (const auto& [frame, key] : frames) {
        frame->setTitle(text(key));
    }
    Personal_Config->setTitle(text(&TNazwyJezykowe::CapPersonalData));
    FormatWejDatyQSO->Button(0)->setText(text(&TNazwyJezykowe::ItemDontKnow));
    FormatWyjscDatyQSO->Button(0)->setText(text(&TNazwyJezykowe::ItemAsInput));
    const std::array<std::pair<QLabel*, Text>, 8> labels{{
        {Lab_InputEncoding, &TNazwyJezykowe::LabInputEncoding},
        {Lab_OutputEncoding, &TNazwyJezykowe::LabOutputEncoding},
        {Lab_SeparDatyWyjsc, &TNazwyJezykowe::LblDateSeparator},
        {Lab_SeparatorFormatuWyjscCzasuQSO, &TNazwyJezykowe::LblTimeSeparator},
        {Label1, &TNazwyJezykowe::LblQsosPerCard},
        {Label2, &TNazwyJezykowe::LblMaxQslPerFile},
        {Lab_LastInputDir, &TNazwyJezykowe::LblLastInputDir},
        {Lab_LastOutputDir, &TNazwyJezykowe::LblLastOutputDir},
    }};
    for (const auto& [label, key] : labels) {
        label->setText(text(key));
    }
    CheckBox1->setText(text(&TNazwyJezykowe::LblDivideOutputFile));
    Button2->setText(text(&TNazwyJezykowe::BtnConfirmConfig));
    Zatw_transla->setText(text(&TNazwyJezykowe::BtnConfirmTranslation));
    ZatwierdzBookmarksDlaArchiwum->setText(text(&TNazwyJezykowe::BtnConfirmBookmarks));
    InputEncodingList->setItemText(0, text(&TNazwyJezykowe::ItemEncodingAuto));
    InputEncodingList->setItemText(1, text(&TNazwyJezykowe::ItemEncodingCp1250));
    InputEncodingList->setItemText(2, text(&TNazwyJezykowe::ItemEncodingUtf8));
    OutputEncodingList->setItemText(0, text(&TNazwyJezykowe::ItemEncodingCp1250));
    OutputEncodingList->setItemText(1, text(&TNazwyJezykowe::ItemEncodingUtf8));
    for (QPushButton* help :
         {Help_Sort, Help_Translate, Help_Cabrillo, Help_DXCC_LST, Help_Encoding}) {
        help->setText(text(&TNazwyJezykowe::MenuHelp));
    }
    const std::array<Text, 3> sortItems{&TNazwyJezykowe::SortByDxccList,
                                        &TNazwyJezykowe::SortByAdifNumber,
                                        &TNazwyJezykowe::SortByCallsign};
    for (int i = 0; i < 3; ++i) {
        ListBox3->item(i)->setText(text(sortItems[i]));
    }
    applyPersonalLabels();
    setListNotes();
}

void TForm4::applyPersonalLabels() {
    // Five labels follow the language; the others read the same in both.
    using Text = std::string TNazwyJezykowe::*;
    const std::array<std::pair<const char*, Text>, kPersonalFieldCount> labels{{
        {"Callsign station", nullptr},
        {nullptr, &TNazwyJezykowe::LblName},
        {"Adres_1", nullptr},
        {"Adres_2", nullptr},
        {nullptr, &TNazwyJezykowe::LblQthCity},
        {nullptr, &TNazwyJezykowe::LblCounty},
        {"ZIPP", nullptr},
        {"Country", nullptr},
        {"Locator", nullptr},
        {"CQ_Zone", nullptr},
        {"ITU_Zone", nullptr},
        {nullptr, &TNazwyJezykowe::LblLicenceClass},
        {"Typ TRX/RX", nullptr},
        {"Power", nullptr},
        {"Antena", nullptr},
        {"ARRL Section", nullptr},
        {nullptr, &TNazwyJezykowe::LblClubCallsign},
        {"E-mail", nullptr},
    }};
    for (int i = 0; i < kPersonalFieldCount; ++i) {
        const auto& [fixed, key] = labels[i];
        PersonalLabels[i]->setText(fixed != nullptr ? QString::fromLatin1(fixed)
                                                    : FromCp1250(m_texts.*key));
    }
}

void TForm4::setListNotes() {
    const QString makeChoice = FromCp1250(m_texts.NoteMakeChoice);
    for (auto [list, note] :
         {std::pair{ListBox2, Label5}, std::pair{ListBox4, Label6}, std::pair{ListBox3, Label7}}) {
        note->setText(list->currentRow() < 0 ? makeChoice : QString());
    }
}

// The stored codes select their list items. The lists' own rules are left out here: they are
// there for the user's choices, and the stored values need no offer or write.
void TForm4::selectStoredLists() {
    const std::array<std::pair<QListWidget*, std::uint8_t>, 3> stored{
        {{ListBox3, m_config.Sorting},
         {ListBox2, m_config.InputFileType},
         {ListBox4, m_config.OutputFileType}}};
    for (const auto& [list, code] : stored) {
        const QSignalBlocker quiet(list);
        selectRow(list, code);
    }
    for (const auto& [box, code] :
         {std::pair{InputEncodingList, static_cast<int>(m_config.InputEncoding)},
          std::pair{OutputEncodingList, static_cast<int>(m_config.OutputEncoding)}}) {
        const QSignalBlocker quiet(box);
        box->setCurrentIndex(code < box->count() ? code : 0);
    }
    for (auto [list, note] :
         {std::pair{ListBox2, Label5}, std::pair{ListBox4, Label6}, std::pair{ListBox3, Label7}}) {
        if (list->currentRow() >= 0) {
            note->clear();
        }
    }
}

void TForm4::fillFieldsFromConfiguration() {
    // Copies first: each field's rule may change the configuration as the field changes.
    const TKonfiguracja stored = m_config;
    SeparFormatuDatyWyjscQSO->setText(FromCp1250(m_config.DateSeparator));
    Separ_FormatuWyjscCzasuQSO->setText(FromCp1250(stored.TimeSeparator));
    Edit1->setText(QString::number(stored.QsosPerCard));
    Edit2->setText(QString::number(stored.MaxQslPerFile));
    CheckBox1->setChecked(stored.DivideOutputFile);
    Edit2->setEnabled(CheckBox1->isChecked());
    for (int i = 0; i < kPersonalFieldCount; ++i) {
        PersonalFields[i]->setText(FromCp1250(stored.PersonalInfo.*kPersonalInfoFields[i].Member));
    }
    LastInputDir->setText(PathText(stored.LastInputDir));
    LastOutputDir->setText(PathText(stored.LastOutputDir));
}

void TForm4::setSeparatorsEnabled(bool enabled) {
    for (QWidget* element : {static_cast<QWidget*>(FormatWyjscDatyQSO),
                             static_cast<QWidget*>(SeparFormatuDatyWyjscQSO),
                             static_cast<QWidget*>(Separ_FormatuWyjscCzasuQSO),
                             static_cast<QWidget*>(Lab_SeparDatyWyjsc),
                             static_cast<QWidget*>(Lab_SeparatorFormatuWyjscCzasuQSO)}) {
        element->setEnabled(enabled);
    }
}

TPersonalInfo TForm4::PersonalFieldTexts() const {
    TPersonalInfo info;
    for (int i = 0; i < kPersonalFieldCount; ++i) {
        info.Assign(kPersonalInfoFields[i].Member, ToCp1250(PersonalFields[i]->text()));
    }
    return info;
}

bool TForm4::writeConfiguration() {
    try {
        m_environment.WriteConfig(m_config, m_environment.SetupIniPath);
        return true;
    } catch (const FileError& error) {
        m_ui->ErrorBox(error.what());
        return false;
    }
}

// ---------------------------------------------------------------------------------------------
// Rules of the configuration elements: each runs whenever its element changes.

void TForm4::inputTypeChanged(int row) {
    m_config.InputFileType = static_cast<std::uint8_t>(row);
    Label5->clear();
}

void TForm4::sortTypeChanged(int row) {
    m_config.Sorting = static_cast<std::uint8_t>(row);
    Label7->clear();
}

void TForm4::outputTypeChanged(int row) {
    m_config.OutputFileType = static_cast<std::uint8_t>(row);
    Label6->clear();
    if (row == kAdifOutput) {
        makeAdifStandardOffer(BoxOffset::Standard);
    }
    // Cabrillo output takes its dates and times from the contest template.
    const bool separatorsApply = row != kCabrilloType;
    setSeparatorsEnabled(separatorsApply);
    if (separatorsApply) {
        FormatWejDatyQSO->setEnabled(true);
    }
}

bool TForm4::takeNumberField(QLineEdit* field, QLabel* note, std::int32_t& target) {
    std::int32_t value = 0;
    if (readWholeNumber(ToCp1250(field->text()), value)) {
        target = value;
        note->clear();
        return true;
    }
    note->setText(FromCp1250(m_fieldNoteText));
    m_ui->Beep();
    m_ui->Beep();
    return false;
}

void TForm4::inputDateFormatChanged(int index) {
    if (index < 0) {
        return;
    }
    m_config.InputDateFormat = static_cast<std::uint8_t>(index);
    writeConfiguration();
}

void TForm4::outputDateFormatChanged(int index) {
    if (index < 0) {
        return;
    }
    m_config.OutputDateFormat = static_cast<std::uint8_t>(index);
    if ((index == 3 || index == 4) && SeparFormatuDatyWyjscQSO->text().isEmpty()) {
        SeparFormatuDatyWyjscQSO->setText(QStringLiteral("-"));
    } else if (index == 1 || index == 2) {
        // These formats have no room for a separator.
        SeparFormatuDatyWyjscQSO->clear();
    }
    writeConfiguration();
}

bool TForm4::takeSeparator(const QString& text, std::string& target) {
    const QString first = text.left(1);
    if (first.isEmpty() || QStringLiteral("/:.-").contains(first)) {
        target = ToCp1250(first);
        return true;
    }
    m_ui->ErrorBox(m_dataErrorText);
    m_ui->Beep();
    return false;
}

void TForm4::dateSeparatorChanged(const QString& text) {
    m_values.DateSeparatorText = ToCp1250(text);
    takeSeparator(text, m_config.DateSeparator);
}

void TForm4::timeSeparatorChanged(const QString& text) {
    m_values.TimeSeparatorText = ToCp1250(text);
    takeSeparator(text, m_config.TimeSeparator);
    writeConfiguration();
}

void TForm4::divideChanged(bool checked) {
    m_config.DivideOutputFile = checked;
    Edit2->setEnabled(checked);
}

// ---------------------------------------------------------------------------------------------
// The ADIF standard offer: an ADIF log wants dates as YYYYMMDD and no separators.

bool TForm4::adifOfferApplies() const {
    if (m_adifStandardDeclined || ListBox4->currentRow() != kAdifOutput) {
        return false;
    }
    return FormatWyjscDatyQSO->ItemIndex() != 1 || !Separ_FormatuWyjscCzasuQSO->text().isEmpty() ||
           !SeparFormatuDatyWyjscQSO->text().isEmpty();
}

void TForm4::makeAdifStandardOffer(BoxOffset offset) {
    if (!adifOfferApplies()) {
        return;
    }
    const std::string question = m_texts.MsgNotAdifStandard + "  \r" + m_texts.MsgPutStandardAdif;
    if (!m_ui->WarningBox(question, offset)) {
        m_adifStandardDeclined = true;
        return;
    }
    SeparFormatuDatyWyjscQSO->clear();
    Separ_FormatuWyjscCzasuQSO->clear();
    FormatWyjscDatyQSO->SetItemIndex(1);
    m_config.OutputDateFormat = 1;
    m_config.DateSeparator.clear();
    m_config.TimeSeparator.clear();
    m_adifStandardDeclined = false;
    writeConfiguration();
}

// ---------------------------------------------------------------------------------------------
// Configuration commands

void TForm4::configForSortingAndTranslate() {
    for (QWidget* shown : {static_cast<QWidget*>(GroupBox1), static_cast<QWidget*>(GroupBox2),
                           static_cast<QWidget*>(GroupBox3), static_cast<QWidget*>(GroupBox4),
                           static_cast<QWidget*>(GroupBox7), static_cast<QWidget*>(Button2),
                           static_cast<QWidget*>(Help_Sort)}) {
        shown->show();
    }
    Zatw_transla->hide();
    Panel1->hide();
    Personal_Config->hide();
    setListNotes();
}

void TForm4::configPersonalInfo() {
    GroupBox1->hide();
    GroupBox7->hide();
    Panel1->hide();
    Button2->hide();
    Personal_Config->show();
}

void TForm4::confirmConfiguration() {
    m_config.Language = listCode(ListBox1);
    m_config.Sorting = listCode(ListBox3);
    m_config.InputFileType = listCode(ListBox2);
    m_config.OutputFileType = listCode(ListBox4);
    takeNumberField(Edit1, Label3, m_config.QsosPerCard);
    divideChanged(CheckBox1->isChecked());
    takeNumberField(Edit2, Label4, m_config.MaxQslPerFile);
    const bool allValid = Label3->text().isEmpty() && Label4->text().isEmpty() &&
                          Label5->text().isEmpty() && Label6->text().isEmpty() &&
                          Label7->text().isEmpty();
    if (!allValid) {
        m_ui->ErrorBox(m_dataErrorText);
        return;
    }
    GroupBox1->hide();
    GroupBox7->hide();
    Button2->hide();
    Help_Sort->hide();
    m_config.LastInputDir = PathBytes(LastInputDir->text());
    m_config.LastOutputDir = PathBytes(LastOutputDir->text());
    writeConfiguration();
}

void TForm4::confirmPersonalInfo() {
    m_config.PersonalInfo = PersonalFieldTexts();
    if (writeConfiguration()) {
        Personal_Config->hide();
    }
}

void TForm4::exitFromProgram() {
    if (writeConfiguration()) {
        close();
    }
}

void TForm4::about() {
    TAboutBox box(this);
    box.SetProduct(FromCp1250(m_values.ProgramFileName), FromCp1250(m_values.VersionText));
    // The texts follow the language list, which shows the language chosen at start-up.
    m_texts.Fill(ListBox1->currentRow());
    box.SetAuthor(FromCp1250(m_texts.AboutAuthor));
    box.SetComments({FromCp1250(m_texts.AboutLine1), FromCp1250(m_texts.AboutLine2),
                     FromCp1250(m_texts.AboutLine3), FromCp1250(m_texts.AboutLine4),
                     FromCp1250(m_texts.AboutLine5)});
    box.exec();
}

void TForm4::cabrilloTemplate() {
    GroupBox1->hide();
    GroupBox7->hide();
    Help_Sort->hide();
    Button2->hide();
    TForm3 window({m_texts, m_values, m_environment.Questions}, this);
    window.ShowTemplateEditor();
    showSecondWindow(window);
}

void TForm4::showSecondWindow(TForm3& window) {
    if (m_environment.ShowSecondWindow) {
        m_environment.ShowSecondWindow(window);
    } else {
        window.exec();
    }
}

void TForm4::closeEvent(QCloseEvent* event) {
    if (m_busy) {
        m_ui->Beep();
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

}  // namespace velmark::ui
