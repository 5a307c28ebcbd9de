#include "ui/help_system.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

#include <array>
#include <filesystem>
#include <set>
#include <system_error>

#include "settings/text_table.h"
#include "ui/help_viewer.h"

namespace velmark::ui {
namespace {

constexpr char kPreparedProperty[] = "helpPrepared";
constexpr int kMainWindowContext = 10;

// The windows by object name: the main window, the second window (template editor, Cabrillo
// export, country search), the language window and the about window.
constexpr std::string_view kMain = "TForm4";
constexpr std::string_view kSecond = "TForm3";
constexpr std::string_view kLanguage = "TForm1";
constexpr std::string_view kAbout = "TAboutBox";

constexpr std::array kContextTable{
    // The main window; its Help menu entry opens the main window's topic, while the entry's
    // own number (shown by F1 on the highlighted entry) is that of the Help menu.
    HelpContextEntry{kMain, kMain, 10, 0},
    HelpContextEntry{kMain, "Help1", 1350, kMainWindowContext},
    HelpContextEntry{kMain, "ConfigForSortingAndTtranslate", 150, 0},
    HelpContextEntry{kMain, "ConfigPersonalInfo1", 580, 0},
    HelpContextEntry{kMain, "ConfigCabrilloFormat1", 620, 0},
    HelpContextEntry{kMain, "UpdateDxccListFromCountryFile", 1800, 0},
    HelpContextEntry{kMain, "SortFileCSV1", 900, 0},
    HelpContextEntry{kMain, "TranslationFile1", 1160, 0},
    HelpContextEntry{kMain, "BookmarksForQSLArchive", 1200, 0},
    HelpContextEntry{kMain, "SortowanieBookmarksWgListyDDXCC_CTY_DAT", 1210, 0},
    HelpContextEntry{kMain, "SortowanieBookmarksWgNumerowStandarduADIF", 1260, 0},
    HelpContextEntry{kMain, "SzukanieKrajuDlaZnaku", 1300, 0},
    HelpContextEntry{kMain, "About1", 1340, 0},
    HelpContextEntry{kMain, "ExitFromProgram", 1390, 0},
    HelpContextEntry{kMain, "GroupBox1", 170, 0},
    HelpContextEntry{kMain, "GroupBox4", 200, 0},
    HelpContextEntry{kMain, "GroupBox5", 210, 0},
    HelpContextEntry{kMain, "ListBox2", 210, 0},
    HelpContextEntry{kMain, "GroupBox6", 260, 0},
    HelpContextEntry{kMain, "ListBox4", 260, 0},
    HelpContextEntry{kMain, "FormatDatyQSO", 310, 0},
    HelpContextEntry{kMain, "FormatWejDatyQSO", 320, 0},
    HelpContextEntry{kMain, "DataWyjsciowa", 330, 0},
    HelpContextEntry{kMain, "SeparFormatuDatyWyjscQSO", 340, 0},
    HelpContextEntry{kMain, "FormatWyjscDatyQSO", 350, 0},
    HelpContextEntry{kMain, "Separ_FormatuWyjscCzasuQSO", 410, 0},
    HelpContextEntry{kMain, "GroupBox2", 420, 0},
    HelpContextEntry{kMain, "ListBox3", 420, 0},
    HelpContextEntry{kMain, "GroupBox3", 480, 0},
    HelpContextEntry{kMain, "ListBox1", 480, 0},
    HelpContextEntry{kMain, "GroupBox7", 490, 0},
    HelpContextEntry{kMain, "Edit1", 510, 0},
    HelpContextEntry{kMain, "CheckBox1", 520, 0},
    HelpContextEntry{kMain, "Edit2", 530, 0},
    HelpContextEntry{kMain, "LastInputDir", 540, 0},
    HelpContextEntry{kMain, "LastOutputDir", 550, 0},
    HelpContextEntry{kMain, "Button2", 550, 0},
    HelpContextEntry{kMain, "Personal_Config", 590, 0},
    HelpContextEntry{kMain, "Panel1", 990, 0},
    HelpContextEntry{kMain, "Memo1", 990, 0},
    HelpContextEntry{kMain, "Help_Sort", 900, 900},
    HelpContextEntry{kMain, "Help_Translate", 1160, 1160},
    HelpContextEntry{kMain, "Help_Cabrillo", 1500, 1500},
    HelpContextEntry{kMain, "Help_DXCC_LST", 1600, 1600},
    HelpContextEntry{kMain, "GroupBoxEncoding", 1900, 0},
    HelpContextEntry{kMain, "InputEncodingList", 1900, 0},
    HelpContextEntry{kMain, "OutputEncodingList", 1900, 0},
    HelpContextEntry{kMain, "Help_Encoding", 1900, 1900},
    // QSL labels: the menu entry, the labels panel and its elements.
    HelpContextEntry{kMain, "PrintLabels1", 1700, 0},
    HelpContextEntry{kMain, "LabelPanel", 1700, 0},
    HelpContextEntry{kMain, "Help_Labels", 1700, 1700},
    HelpContextEntry{kMain, "LabelSheetList", 1710, 0},
    HelpContextEntry{kMain, "LabelSheetNote", 1710, 0},
    HelpContextEntry{kMain, "LabelStart", 1720, 0},
    HelpContextEntry{kMain, "LabelDividers", 1730, 0},
    HelpContextEntry{kMain, "LabelMarkSent", 1740, 0},
    HelpContextEntry{kMain, "LabelPreview", 1750, 0},
    HelpContextEntry{kMain, "LabelPrint", 1750, 0},
    HelpContextEntry{kMain, "LabelSavePdf", 1750, 0},
    // The second window: template editor, Cabrillo export and country search.
    HelpContextEntry{kSecond, kSecond, 1, 0},
    HelpContextEntry{kSecond, "Formularz_cabrillo", 680, 0},
    HelpContextEntry{kSecond, "HelpFormularzCabrillo", 630, 630},
    HelpContextEntry{kSecond, "Naglowek", 670, 0},
    HelpContextEntry{kSecond, "Wzorzec", 730, 0},
    HelpContextEntry{kSecond, "Pole1ADIF", 730, 0},
    HelpContextEntry{kSecond, "Pole2ADIF", 730, 0},
    HelpContextEntry{kSecond, "Pole3ADIF", 730, 0},
    HelpContextEntry{kSecond, "Pole4ADIF", 730, 0},
    HelpContextEntry{kSecond, "Pole5ADIF", 730, 0},
    HelpContextEntry{kSecond, "Pole6ADIF", 730, 0},
    HelpContextEntry{kSecond, "Pole7ADIF", 730, 0},
    HelpContextEntry{kSecond, "Pole8ADIF", 730, 0},
    HelpContextEntry{kSecond, "Pole9ADIF", 730, 0},
    HelpContextEntry{kSecond, "Pole10ADIF", 730, 0},
    HelpContextEntry{kSecond, "Pole11ADIF", 730, 0},
    HelpContextEntry{kSecond, "Pole12ADIF", 730, 0},
    HelpContextEntry{kSecond, "END_OF_LOG", 850, 0},
    HelpContextEntry{kSecond, "ZapisCabrillo", 1500, 0},
    HelpContextEntry{kSecond, "Komunikaty_cabrillo", 1500, 0},
    HelpContextEntry{kSecond, "HelpZapisuCabrillo", 1500, 1500},
    HelpContextEntry{kSecond, "WyborFormularzaContestu", 1590, 0},
    HelpContextEntry{kSecond, "PoszukanieKraju", 1300, 0},
    HelpContextEntry{kSecond, "ZnakSzukany", 1300, 0},
    HelpContextEntry{kSecond, "HelpSzukanieZnaku", 1300, 1300},
    HelpContextEntry{kSecond, "Help_dla_Listy_DXCC", 1600, 1600},
    HelpContextEntry{kSecond, "Lab_UwagaDoWyniku", 1801, 0},
    // The small windows, as a whole.
    HelpContextEntry{kLanguage, kLanguage, 160, 0},
    HelpContextEntry{kAbout, kAbout, 1340, 0},
};

HelpSystem* g_current = nullptr;

bool isPopup(const QWidget* widget) {
    return widget->windowType() == Qt::Popup;
}

// The window an element belongs to; a menu belongs to the window of its menu bar.
const QWidget* ownerWindow(const QWidget* widget) {
    const QWidget* window = widget->window();
    while (isPopup(window) && window->parentWidget() != nullptr) {
        window = window->parentWidget()->window();
    }
    return window;
}

int ownContext(const QObject* element) {
    return element->property(kHelpContextProperty).toInt();
}

}  // namespace

std::span<const HelpContextEntry> HelpContextTable() {
    return kContextTable;
}

int HelpContextOf(const QObject* element) {
    if (element == nullptr) {
        return 0;
    }
    if (const int own = ownContext(element); own > 0) {
        return own;
    }
    const auto* widget = qobject_cast<const QWidget*>(element);
    if (widget == nullptr) {
        // An action without a number: that of the window it belongs to.
        return HelpContextOf(element->parent());
    }
    if (widget->isWindow() && !isPopup(widget)) {
        return 0;
    }
    return HelpContextOf(widget->parentWidget());
}

std::string HelpFileName(int language) {
    return language == kLanguagePolish ? kPolishHelpFileName : kHelpFileName;
}

HelpSystem::HelpSystem(THTMLHelpViewer& viewer, QObject* parent)
    : QObject(parent),
      m_viewer(viewer),
      m_programHelpFile(std::string("./") + kHelpFileName),
      m_language(kLanguageEnglish) {
    g_current = this;
    QApplication::instance()->installEventFilter(this);
}

HelpSystem::~HelpSystem() {
    if (g_current == this) {
        g_current = nullptr;
    }
}

HelpSystem* HelpSystem::Current() {
    return g_current;
}

std::string HelpSystem::namedHelpFile(const QWidget* window, const std::string& name) const {
    const std::string windowName = window == nullptr ? "" : window->objectName().toStdString();
    if (windowName == kMain || windowName == kSecond) {
        return name;
    }
    if (name == kHelpFileName) {
        return m_programHelpFile;
    }
    // The program's help file in another language: the same folder, that language's name.
    return std::filesystem::path(m_programHelpFile).replace_filename(name).string();
}

std::string HelpSystem::HelpFileFor(const QWidget* window) const {
    return namedHelpFile(window, HelpFileName(m_language));
}

std::vector<std::string> HelpSystem::HelpFilePlacesFor(const QWidget* window) const {
    std::vector<std::string> names{HelpFileName(m_language)};
    if (names.front() != kHelpFileName) {
        names.emplace_back(kHelpFileName);
    }
    std::vector<std::string> places;
    std::set<std::filesystem::path> seen;
    const auto add = [&](const std::filesystem::path& place) {
        std::error_code error;
        if (seen.insert(std::filesystem::absolute(place, error).lexically_normal()).second) {
            places.push_back(place.string());
        }
    };
    for (const std::string& name : names) {
        add(namedHelpFile(window, name));
        add(std::filesystem::path(".") / name);
        if (!m_programDirectory.empty()) {
            add(std::filesystem::path(m_programDirectory) / name);
        }
    }
    return places;
}

void HelpSystem::Prepare(QWidget& window) {
    if (window.property(kPreparedProperty).toBool()) {
        return;
    }
    const std::string windowName = window.objectName().toStdString();
    for (const HelpContextEntry& entry : kContextTable) {
        if (entry.Window != windowName) {
            continue;
        }
        QObject* element =
            entry.Element == entry.Window
                ? &window
                : window.findChild<QObject*>(QString::fromLatin1(
                      entry.Element.data(), static_cast<qsizetype>(entry.Element.size())));
        if (element == nullptr) {
            continue;
        }
        element->setProperty(kHelpContextProperty, entry.Context);
        if (auto* menu = qobject_cast<QMenu*>(element)) {
            menu->menuAction()->setProperty(kHelpContextProperty, entry.Context);
        }
        if (entry.Opens == 0) {
            continue;
        }
        const int opens = entry.Opens;
        if (auto* button = qobject_cast<QAbstractButton*>(element)) {
            connect(button, &QAbstractButton::clicked, this,
                    [this, button, opens] { RequestContext(button, opens); });
        } else if (auto* action = qobject_cast<QAction*>(element)) {
            connect(action, &QAction::triggered, this,
                    [this, target = &window, opens] { RequestContext(target, opens); });
        }
    }
    window.setProperty(kPreparedProperty, true);
}

void HelpSystem::RequestContext(const QWidget* from, int context) {
    if (context <= 0) {
        return;
    }
    const QWidget* window = from == nullptr ? nullptr : ownerWindow(from);
    const std::vector<std::string> places = HelpFilePlacesFor(window);
    for (const std::string& place : places) {
        std::error_code error;
        if (std::filesystem::is_regular_file(place, error)) {
            m_viewer.DisplayHelpByContext(place, context);
            return;
        }
    }
    std::vector<std::string> shown;
    for (const std::string& place : places) {
        std::error_code error;
        shown.push_back(std::filesystem::absolute(place, error).lexically_normal().string());
    }
    m_viewer.ReportMissingHelpFile(shown);
}

bool HelpSystem::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow()) {
            Prepare(*widget);
        }
    } else if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && !key->isAutoRepeat() && helpKeyPressed(watched)) {
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool HelpSystem::helpKeyPressed(QObject* receiver) {
    const auto* widget = qobject_cast<const QWidget*>(receiver);
    if (widget == nullptr) {
        return false;
    }
    if (const auto* menu = qobject_cast<const QMenu*>(widget)) {
        // F1 on a highlighted menu item: the item's number, else the menu's, else the window's.
        const QAction* item = menu->activeAction();
        int context = item == nullptr ? 0 : ownContext(item);
        if (context == 0) {
            context = HelpContextOf(menu);
        }
        RequestContext(menu, context);
        return true;
    }
    const QWidget* window = ownerWindow(widget);
    // In the main window F1 is the Help menu entry's shortcut, which has already had its turn.
    if (window->objectName().toStdString() == kMain) {
        return false;
    }
    const int context = HelpContextOf(widget);
    if (context == 0) {
        return false;
    }
    RequestContext(widget, context);
    return true;
}

bool ShowHelp(const std::string& chmPath, int contextNumber) {
    HelpSystem* system = HelpSystem::Current();
    return system != nullptr && system->Viewer().DisplayHelpByContext(chmPath, contextNumber);
}

}  // namespace velmark::ui
