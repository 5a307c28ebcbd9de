#pragma once
// The help viewer: the program's own window for its compiled HTML help file, opened at a topic
// by help context number. THTMLHelpViewer carries out the requests (open a context, a topic or
// the table of contents, close); HelpWindow shows the topics with their links and pictures,
// back and forward, and the table of contents beside them.

#include <QMainWindow>
#include <QObject>
#include <QPointer>
#include <QTextBrowser>

#include <memory>
#include <string>
#include <vector>

#include "core/user_interface.h"
#include "settings/text_table.h"
#include "ui/chm_file.h"
#include "ui/chm_sitemap.h"

class QAction;
class QTreeWidget;
class QTreeWidgetItem;

namespace velmark::ui {

// The URL scheme under which the viewer addresses the files inside the open help file, e.g.
// "velmark-help:/topics/main_window.html"; relative links resolve against it like web paths.
inline constexpr char kHelpUrlScheme[] = "velmark-help";

// A text of the text table for the help's own messages and buttons: in the chosen language
// when a table is given, otherwise (before the language is chosen) Polish and English joined.
QString HelpText(const TNazwyJezykowe* texts, std::string TNazwyJezykowe::*key,
                 const QString& joiner);

// Shows the files of one help file; links inside it stay inside it.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
  public:
    explicit HelpBrowser(QWidget* parent = nullptr);

    void SetFile(std::shared_ptr<const ChmFile> file) { m_file = std::move(file); }
    // The page shown for a topic that the help file does not hold.
    void SetMissingTopicText(const QString& text) { m_missingTopicText = text; }
    QVariant loadResource(int type, const QUrl& name) override;

  private:
    std::shared_ptr<const ChmFile> m_file;
    QString m_missingTopicText;
};

class HelpWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows a topic (an archive path, perhaps with an anchor) of a help file. Another file than
    // the one shown replaces it, with a new table of contents and an empty history.
    void ShowTopic(std::shared_ptr<const ChmFile> file, const std::string& topic);
    void ApplyTexts(const TNazwyJezykowe* texts);

    const ChmFile* File() const { return m_file.get(); }
    // The archive path of the topic shown, without its anchor; empty before the first topic.
    std::string CurrentTopic() const;

    HelpBrowser* Topic;
    QTreeWidget* Contents;
    QAction* Back;
    QAction* Forward;
    QAction* ShowContents;

  private:
    void loadContents();
    void addContentsItems(QTreeWidgetItem* parent, const std::vector<SitemapEntry>& entries);
    void followLink(const QUrl& url);
    void selectContentsItem(const QUrl& source);

    std::shared_ptr<const ChmFile> m_file;
};

// The program's one help viewer. Requests name the help file; the viewer accepts only files
// whose name ends in ".chm" (any letter case). A file that cannot be shown is reported in an
// error box, never by a failure of the program.
class THTMLHelpViewer : public QObject {
    Q_OBJECT
  public:
    explicit THTMLHelpViewer(QObject* parent = nullptr);
    ~THTMLHelpViewer() override;

    static QString ViewerName() { return QStringLiteral("HTMLHelp Viewer"); }
    static bool AcceptsHelpFile(const std::string& helpFile) {
        return IsCompiledHelpFileName(helpFile);
    }

    // The language of the viewer's buttons and messages; none: both languages.
    void SetTexts(const TNazwyJezykowe* texts);
    // Where error boxes go; none: a Qt message box.
    void SetMessages(UserInterface* messages) { m_messages = messages; }

    // Opens the topic of a help context number. A number the file does not map is reported
    // and the file's default topic shown instead. True when the requested topic is shown.
    bool DisplayHelpByContext(const std::string& helpFile, int context);
    // Opens a topic by its path inside the help file ("" for the default topic).
    bool DisplayTopic(const std::string& helpFile, const std::string& topic);
    // Opens the help file at its default topic with the table of contents in view.
    bool ShowTableOfContents(const std::string& helpFile);
    // Closes the help window.
    void SoftShutDown();
    // Tells the user that no help file was found, naming every place looked in.
    void ReportMissingHelpFile(const std::vector<std::string>& places);

    // The window, once a request has opened it.
    HelpWindow* Window() const { return m_window; }

  private:
    // The open help file, reopened when another file is asked for or the file changed.
    std::shared_ptr<const ChmFile> open(const std::string& helpFile);
    HelpWindow& window();
    void show(const std::shared_ptr<const ChmFile>& file, const std::string& topic);
    // Before the language is chosen a box speaks both languages; a short detail (a file name)
    // follows each text, a long one (a list of places) follows the two.
    enum class DetailPlace { AfterEachText, AfterBothTexts };
    void errorBox(std::string TNazwyJezykowe::*key, const std::string& detail,
                  DetailPlace place = DetailPlace::AfterEachText);

    const TNazwyJezykowe* m_texts = nullptr;
    UserInterface* m_messages = nullptr;
    QPointer<HelpWindow> m_window;
    std::shared_ptr<const ChmFile> m_file;
    std::string m_fileKey;  // absolute path and modification time of m_file
};

}  // namespace velmark::ui
