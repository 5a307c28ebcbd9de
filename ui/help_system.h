#pragma once
// The help manager: which help context number belongs to which window and element, which help
// file a request uses, and the ways to ask for help (help buttons, the Help menu entry, F1).
//
// Windows need no help code of their own. When a window is shown for the first time the
// manager looks its elements up by object name in the context table, gives each its number as
// the dynamic property "helpContext" and connects the window's help buttons and Help menu
// entry. F1 opens the number of the focused element or of the nearest enclosing element that
// has one, up to the window's own number; with a menu open, that of the highlighted item. In
// the main window F1 is the Help menu entry's shortcut and opens the main window's topic.

#include <QObject>

#include <span>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace velmark::ui {

class THTMLHelpViewer;

// The help in English, and the same topics under the same numbers in Polish.
inline constexpr char kHelpFileName[] = "VELMARK_TRANSLATION.chm";
inline constexpr char kPolishHelpFileName[] = "VELMARK_TRANSLATION_PL.chm";
inline constexpr char kHelpContextProperty[] = "helpContext";

// The name of the help file in a language: the Polish help for Polish, else the English one.
std::string HelpFileName(int language);

// One row of the context table: the element (an object name, or the window's own name for the
// window itself) of a window (its object name), its help context number, and what activating
// it opens: its own number for a help button, the main window's topic for the Help menu entry,
// 0 for elements that only carry a number.
struct HelpContextEntry {
    std::string_view Window;
    std::string_view Element;
    int Context;
    int Opens;
};

// Every element that carries a help context number.
std::span<const HelpContextEntry> HelpContextTable();

// The help context of an element: its own number, else that of the nearest enclosing element
// that has one, up to its window (a menu counts as part of the window it belongs to). 0 when
// none has a number.
int HelpContextOf(const QObject* element);

class HelpSystem : public QObject {
    Q_OBJECT
  public:
    // Registers the manager for the whole application (it watches every window).
    explicit HelpSystem(THTMLHelpViewer& viewer, QObject* parent = nullptr);
    ~HelpSystem() override;

    // The manager registered now, or nullptr.
    static HelpSystem* Current();

    // The help file of the windows that do not name their own: "./VELMARK_TRANSLATION.chm" at
    // start, the file beside the program once the main window has been created.
    void SetProgramHelpFile(std::string path) { m_programHelpFile = std::move(path); }
    const std::string& ProgramHelpFile() const { return m_programHelpFile; }

    // The language chosen at start-up: help opens the file of that language (English until
    // the language is known).
    void SetLanguage(int language) { m_language = language; }
    // The folder of the program file: a help file that is not where a window names it is
    // looked for there too.
    void SetProgramDirectory(std::string directory) { m_programDirectory = std::move(directory); }

    // The help file a request from this window names, in the chosen language: the main window
    // and the second window name it without a directory (so it is looked up in the working
    // directory); every other window names the program's help file.
    std::string HelpFileFor(const QWidget* window) const;
    // Every place a request from this window looks for its help file, in order: the file the
    // window names, the same name in the working directory and in the program's folder; for
    // Polish, then the English file in the same places. No place is named twice.
    std::vector<std::string> HelpFilePlacesFor(const QWidget* window) const;

    // Gives the window's elements their numbers and connects its help buttons and Help menu
    // entry; done by itself when a window is first shown, and harmless to repeat.
    void Prepare(QWidget& window);

    // Opens a help context in the first help file found for the window that holds the
    // element; when none is found, the error box names every place looked in.
    void RequestContext(const QWidget* from, int context);

    THTMLHelpViewer& Viewer() { return m_viewer; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool helpKeyPressed(QObject* receiver);

    // The help file the window names for a help file name.
    std::string namedHelpFile(const QWidget* window, const std::string& name) const;

    THTMLHelpViewer& m_viewer;
    std::string m_programHelpFile;
    std::string m_programDirectory;
    int m_language;
};

// Opens a help context in the given help file through the program's help manager. False when
// there is no help manager or the topic could not be shown (the user has been told why).
bool ShowHelp(const std::string& chmPath, int contextNumber);

}  // namespace velmark::ui
