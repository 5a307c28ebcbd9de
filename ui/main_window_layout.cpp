// Building the main window's widgets: which element lies in which panel. Texts are set later,
// from the text table, by the set-up.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
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
#include <QScrollArea>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/main_window.h"
#include "ui/named_widget.h"
#include "ui/program_picture.h"
#include "ui/radio_group.h"

namespace velmark::ui {
namespace {

QAction* namedAction(const char* name, QObject* parent) {
    auto* action = new QAction(parent);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

// A short red text beside an element; empty while the element is valid.
QLabel* note(const char* name, QWidget* parent) {
    auto* label = named<QLabel>(name, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(palette);
    return label;
}

// A caption that may need more than one line.
QLabel* caption(const char* name, QWidget* parent) {
    auto* label = named<QLabel>(name, parent);
    label->setWordWrap(true);
    return label;
}

// A list as high as its items, so none of them needs scrolling.
QListWidget* fixedList(const char* name, const QStringList& items, QWidget* parent) {
    auto* list = named<QListWidget>(name, parent);
    list->addItems(items);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int rows = int(items.size());
    list->setFixedHeight(list->sizeHintForRow(0) * rows + 2 * list->frameWidth() + 2);
    return list;
}

QLineEdit* separatorField(const char* name, QWidget* parent) {
    auto* field = named<QLineEdit>(name, parent);
    field->setFixedWidth(60);
    return field;
}

QPushButton* helpButton(const char* name, QWidget* parent) {
    auto* button = named<QPushButton>(name, parent);
    button->setIcon(parent->style()->standardIcon(QStyle::SP_DialogHelpButton));
    return button;
}

QStringList dateFormatItems() {
    return {QString(), QStringLiteral("YYYYMMDD"), QStringLiteral("DDMMYYYY"),
            QStringLiteral("YYYY-MM-DD"), QStringLiteral("DD-MM-YYYY")};
}

}  // namespace

void TForm4::buildMenu() {
    Configuration1 = menuBar()->addMenu(QString());
    Configuration1->setObjectName(QStringLiteral("Configuration1"));
    ConfigForSortingAndTtranslate = namedAction("ConfigForSortingAndTtranslate", this);
    ConfigPersonalInfo1 = namedAction("ConfigPersonalInfo1", this);
    ConfigCabrilloFormat1 = namedAction("ConfigCabrilloFormat1", this);
    Configuration1->addActions(
        {ConfigForSortingAndTtranslate, ConfigPersonalInfo1, ConfigCabrilloFormat1});
    UpdateDxccListFromCountryFile = namedAction("UpdateDxccListFromCountryFile", this);
    Configuration1->addAction(UpdateDxccListFromCountryFile);

    SortFileCSV1 = namedAction("SortFileCSV1", this);
    TranslationFile1 = namedAction("TranslationFile1", this);
    menuBar()->addAction(SortFileCSV1);
    menuBar()->addAction(TranslationFile1);

    BookmarksForQSLArchive = menuBar()->addMenu(QString());
    BookmarksForQSLArchive->setObjectName(QStringLiteral("BookmarksForQSLArchive"));
    SortowanieBookmarksWgListyDDXCC_CTY_DAT =
        namedAction("SortowanieBookmarksWgListyDDXCC_CTY_DAT", this);
    SortowanieBookmarksWgNumerowStandarduADIF =
        namedAction("SortowanieBookmarksWgNumerowStandarduADIF", this);
    SzukanieKrajuDlaZnaku = namedAction("SzukanieKrajuDlaZnaku", this);
    BookmarksForQSLArchive->addActions({SortowanieBookmarksWgListyDDXCC_CTY_DAT,
                                        SortowanieBookmarksWgNumerowStandarduADIF,
                                        SzukanieKrajuDlaZnaku});

    About1 = namedAction("About1", this);
    Help1 = namedAction("Help1", this);
    Help1->setShortcut(QKeySequence(Qt::Key_F1));
    ExitFromProgram = namedAction("ExitFromProgram", this);
    menuBar()->addAction(About1);
    menuBar()->addAction(Help1);
    menuBar()->addAction(ExitFromProgram);
}

void TForm4::buildToolBar() {
    ToolBar1 = addToolBar(QString());
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(32, 32));
    const QStyle* look = style();
    // In toolbar order: configuration, sort, translate, bookmarks, about, help, find country,
    // exit. The buttons of the two entries with sub-items open the sub-menu.
    const std::array<QIcon, 8> pictures{look->standardIcon(QStyle::SP_FileDialogDetailedView),
                                        look->standardIcon(QStyle::SP_ArrowDown),
                                        look->standardIcon(QStyle::SP_BrowserReload),
                                        look->standardIcon(QStyle::SP_DirIcon),
                                        QIcon(ProgramPicture(32)),
                                        look->standardIcon(QStyle::SP_DialogHelpButton),
                                        look->standardIcon(QStyle::SP_FileDialogContentsView),
                                        look->standardIcon(QStyle::SP_DialogCloseButton)};
    const std::array<QAction*, 8> actions{Configuration1->menuAction(),
                                          SortFileCSV1,
                                          TranslationFile1,
                                          BookmarksForQSLArchive->menuAction(),
                                          About1,
                                          Help1,
                                          SzukanieKrajuDlaZnaku,
                                          ExitFromProgram};
    for (std::size_t i = 0; i < ToolButtons.size(); ++i) {
        auto* button = new QToolButton(ToolBar1);
        button->setObjectName(QStringLiteral("ToolButton%1").arg(i + 1));
        button->setIcon(pictures[i]);
        button->setAutoRaise(true);
        ToolBar1->addWidget(button);
        ToolButtons[i] = button;
    }
    ToolButtons[0]->setMenu(Configuration1);
    ToolButtons[0]->setPopupMode(QToolButton::InstantPopup);
    ToolButtons[3]->setMenu(BookmarksForQSLArchive);
    ToolButtons[3]->setPopupMode(QToolButton::InstantPopup);
    for (std::size_t i : {1, 2, 4, 5, 6, 7}) {
        connect(ToolButtons[i], &QToolButton::clicked, actions[i], &QAction::trigger);
    }
}

QWidget* TForm4::buildDateFormatFrame() {
    FormatDatyQSO = named<QGroupBox>("FormatDatyQSO", nullptr);
    FormatWejDatyQSO = named<RadioGroup>("FormatWejDatyQSO", FormatDatyQSO);
    FormatWejDatyQSO->SetItems(dateFormatItems());

    DataWyjsciowa = named<QGroupBox>("DataWyjsciowa", FormatDatyQSO);
    FormatWyjscDatyQSO = named<RadioGroup>("FormatWyjscDatyQSO", DataWyjsciowa);
    FormatWyjscDatyQSO->SetItems(dateFormatItems());
    Lab_SeparDatyWyjsc = caption("Lab_SeparDatyWyjsc", DataWyjsciowa);
    SeparFormatuDatyWyjscQSO = separatorField("SeparFormatuDatyWyjscQSO", DataWyjsciowa);
    auto* output = new QVBoxLayout(DataWyjsciowa);
    output->addWidget(FormatWyjscDatyQSO);
    output->addWidget(Lab_SeparDatyWyjsc);
    output->addWidget(SeparFormatuDatyWyjscQSO);

    auto* frame = new QHBoxLayout(FormatDatyQSO);
    frame->addWidget(FormatWejDatyQSO, 1, Qt::AlignTop);
    frame->addWidget(DataWyjsciowa, 1);
    return FormatDatyQSO;
}

QWidget* TForm4::buildSortTranslateGroup() {
    GroupBox4 = named<QGroupBox>("GroupBox4", nullptr);
    GroupBox5 = named<QGroupBox>("GroupBox5", GroupBox4);
    ListBox2 = fixedList("ListBox2",
                         {QStringLiteral(".ADIF"), QStringLiteral(".CSV"), QStringLiteral(".TXT"),
                          QStringLiteral(".CBR cabr")},
                         GroupBox5);
    Label5 = note("Label5", GroupBox5);
    auto* input = new QVBoxLayout(GroupBox5);
    input->addWidget(ListBox2);
    input->addWidget(Label5);

    GroupBox6 = named<QGroupBox>("GroupBox6", GroupBox4);
    ListBox4 = fixedList("ListBox4",
                         {QStringLiteral(".ADIF"), QStringLiteral(".CSV"), QStringLiteral(".TXT"),
                          QStringLiteral(".CBR - cabrillo")},
                         GroupBox6);
    Label6 = note("Label6", GroupBox6);
    auto* output = new QVBoxLayout(GroupBox6);
    output->addWidget(ListBox4);
    output->addWidget(Label6);

    QWidget* dates = buildDateFormatFrame();
    dates->setParent(GroupBox4);
    Lab_SeparatorFormatuWyjscCzasuQSO = caption("Lab_SeparatorFormatuWyjscCzasuQSO", GroupBox4);
    Separ_FormatuWyjscCzasuQSO = separatorField("Separ_FormatuWyjscCzasuQSO", GroupBox4);
    Zatw_transla = named<QPushButton>("Zatw_transla", GroupBox4);
    Help_Translate = helpButton("Help_Translate", GroupBox4);
    Help_Cabrillo = helpButton("Help_Cabrillo", GroupBox4);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Zatw_transla);
    buttons->addStretch();
    buttons->addWidget(Help_Translate);
    buttons->addWidget(Help_Cabrillo);

    auto* layout = new QGridLayout(GroupBox4);
    layout->addWidget(GroupBox5, 0, 0);
    layout->addWidget(GroupBox6, 0, 1);
    layout->addWidget(dates, 1, 0, 1, 2);
    layout->addWidget(Lab_SeparatorFormatuWyjscCzasuQSO, 2, 0);
    layout->addWidget(Separ_FormatuWyjscCzasuQSO, 2, 1, Qt::AlignLeft);
    layout->addLayout(buttons, 3, 0, 1, 2);
    return GroupBox4;
}

// The encodings of the logs read and written; the item texts come from the text table.
QWidget* TForm4::buildEncodingGroup() {
    GroupBoxEncoding = named<QGroupBox>("GroupBoxEncoding", nullptr);
    Lab_InputEncoding = caption("Lab_InputEncoding", GroupBoxEncoding);
    InputEncodingList = named<QComboBox>("InputEncodingList", GroupBoxEncoding);
    InputEncodingList->addItems({QString(), QString(), QString()});
    Lab_OutputEncoding = caption("Lab_OutputEncoding", GroupBoxEncoding);
    OutputEncodingList = named<QComboBox>("OutputEncodingList", GroupBoxEncoding);
    OutputEncodingList->addItems({QString(), QString()});
    Help_Encoding = helpButton("Help_Encoding", GroupBoxEncoding);
    auto* layout = new QVBoxLayout(GroupBoxEncoding);
    layout->addWidget(Lab_InputEncoding);
    layout->addWidget(InputEncodingList);
    layout->addWidget(Lab_OutputEncoding);
    layout->addWidget(OutputEncodingList);
    layout->addWidget(Help_Encoding, 0, Qt::AlignRight);
    return GroupBoxEncoding;
}

QWidget* TForm4::buildMainConfiguration() {
    GroupBox1 = named<QGroupBox>("GroupBox1", nullptr);
    QWidget* sortTranslate = buildSortTranslateGroup();
    sortTranslate->setParent(GroupBox1);

    GroupBox2 = named<QGroupBox>("GroupBox2", GroupBox1);
    ListBox3 = fixedList("ListBox3", {QString(), QString(), QString()}, GroupBox2);
    Label7 = note("Label7", GroupBox2);
    auto* sort = new QVBoxLayout(GroupBox2);
    sort->addWidget(ListBox3);
    sort->addWidget(Label7);

    GroupBox3 = named<QGroupBox>("GroupBox3", GroupBox1);
    ListBox1 =
        fixedList("ListBox1", {QStringLiteral("Polish"), QStringLiteral("English")}, GroupBox3);
    // Shows the language chosen at start-up; it is changed only there.
    ListBox1->setEnabled(false);
    auto* language = new QVBoxLayout(GroupBox3);
    language->addWidget(ListBox1);

    QWidget* encoding = buildEncodingGroup();
    encoding->setParent(GroupBox1);

    auto* side = new QVBoxLayout;
    side->addWidget(GroupBox2);
    side->addWidget(GroupBox3);
    side->addWidget(encoding);
    side->addStretch(1);
    auto* layout = new QHBoxLayout(GroupBox1);
    layout->addWidget(sortTranslate, 3);
    layout->addLayout(side, 2);
    return GroupBox1;
}

QWidget* TForm4::buildQslPrintOptions() {
    GroupBox7 = named<QGroupBox>("GroupBox7", nullptr);
    Label1 = caption("Label1", GroupBox7);
    Edit1 = named<QLineEdit>("Edit1", GroupBox7);
    Label3 = note("Label3", GroupBox7);
    CheckBox1 = named<QCheckBox>("CheckBox1", GroupBox7);
    Label2 = caption("Label2", GroupBox7);
    Edit2 = named<QLineEdit>("Edit2", GroupBox7);
    Label4 = note("Label4", GroupBox7);
    Lab_LastInputDir = caption("Lab_LastInputDir", GroupBox7);
    LastInputDir = named<QLineEdit>("LastInputDir", GroupBox7);
    LastInputDir->setReadOnly(true);
    Lab_LastOutputDir = caption("Lab_LastOutputDir", GroupBox7);
    LastOutputDir = named<QLineEdit>("LastOutputDir", GroupBox7);
    LastOutputDir->setReadOnly(true);
    Edit1->setFixedWidth(80);
    Edit2->setFixedWidth(80);

    auto* layout = new QGridLayout(GroupBox7);
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(Edit1, 0, 1);
    layout->addWidget(Label3, 1, 0, 1, 2);
    layout->addWidget(CheckBox1, 2, 0, 1, 2);
    layout->addWidget(Label2, 3, 0);
    layout->addWidget(Edit2, 3, 1);
    layout->addWidget(Label4, 4, 0, 1, 2);
    layout->addWidget(Lab_LastInputDir, 5, 0, 1, 2);
    layout->addWidget(LastInputDir, 6, 0, 1, 2);
    layout->addWidget(Lab_LastOutputDir, 7, 0, 1, 2);
    layout->addWidget(LastOutputDir, 8, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    return GroupBox7;
}

QWidget* TForm4::buildProcessingPanel() {
    Panel1 = named<QGroupBox>("Panel1", nullptr);
    Label8 = named<QLabel>("Label8", Panel1);
    ProgressBar1 = named<QProgressBar>("ProgressBar1", Panel1);
    ProgressBar1->setRange(0, 100);
    Memo1 = named<QPlainTextEdit>("Memo1", Panel1);
    Memo1->setReadOnly(true);
    Memo1->setMinimumHeight(260);
    Memo1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ZatListyDXCC = named<QPushButton>("ZatListyDXCC", Panel1);
    ZatListyDXCC->setText(QStringLiteral("OK"));
    ZatwSortow = named<QPushButton>("ZatwSortow", Panel1);
    ZatwSortow->setText(QStringLiteral("OK"));
    ZatwierdzBookmarksDlaArchiwum = named<QPushButton>("ZatwierdzBookmarksDlaArchiwum", Panel1);
    Help_DXCC_LST = helpButton("Help_DXCC_LST", Panel1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ZatListyDXCC);
    buttons->addWidget(ZatwSortow);
    buttons->addWidget(ZatwierdzBookmarksDlaArchiwum);
    buttons->addStretch();
    buttons->addWidget(Help_DXCC_LST);
    auto* layout = new QVBoxLayout(Panel1);
    layout->addWidget(Label8);
    layout->addWidget(ProgressBar1);
    layout->addWidget(Memo1, 1);
    layout->addLayout(buttons);
    return Panel1;
}

QWidget* TForm4::buildPersonalData() {
    // The fields in the order of the configuration's personal data; the labels of the first
    // group come from the text table, the others are the same in both languages.
    static constexpr std::array<const char*, kPersonalFieldCount> kFieldNames{
        "Callsign",   "Imie_Nazwisko",
        "Adres1",     "Adres2",
        "QTH_Miasto", "Skrot_wojewodztwa",
        "ZIPP",       "Country",
        "Locator",    "CQ_Zone",
        "ITU_Zone",   "Kategoria_Licencji",
        "Typ_TRX_RX", "Power",
        "Antena",     "Own_ARRL_Section",
        "Znak_Klubu", "E_mail"};
    Personal_Config = named<QGroupBox>("Personal_Config", nullptr);
    auto* layout = new QGridLayout(Personal_Config);
    constexpr int kRowsPerColumn = 9;
    for (int i = 0; i < kPersonalFieldCount; ++i) {
        PersonalLabels[i] = new QLabel(Personal_Config);
        PersonalLabels[i]->setObjectName(QStringLiteral("Lab_") + kFieldNames[i]);
        PersonalFields[i] = named<QLineEdit>(kFieldNames[i], Personal_Config);
        PersonalFields[i]->setMaxLength(int(kPersonalInfoFields[i].Capacity));
        PersonalLabels[i]->setBuddy(PersonalFields[i]);
        const int column = 2 * (i / kRowsPerColumn);
        layout->addWidget(PersonalLabels[i], i % kRowsPerColumn, column);
        layout->addWidget(PersonalFields[i], i % kRowsPerColumn, column + 1);
    }
    Zatw_Personal_Info = named<QPushButton>("Zatw_Personal_Info", Personal_Config);
    Zatw_Personal_Info->setText(QStringLiteral("OK"));
    layout->addWidget(Zatw_Personal_Info, kRowsPerColumn, 3, Qt::AlignRight);
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(3, 1);
    return Personal_Config;
}

}  // namespace velmark::ui
