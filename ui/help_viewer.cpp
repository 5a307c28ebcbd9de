#include "ui/help_viewer.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QSplitter>
#include <QStringDecoder>
#include <QStyle>
#include <QTextDocument>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <filesystem>
#include <system_error>

#include "ui/cp1250_qstring.h"
#include "ui/window_title.h"

namespace velmark::ui {
namespace {

constexpr int kTopicRole = Qt::UserRole;

const TNazwyJezykowe& filledTable(int language) {
    static const TNazwyJezykowe polish = [] {
        TNazwyJezykowe table;
        table.Fill(kLanguagePolish);
        return table;
    }();
    static const TNazwyJezykowe english = [] {
        TNazwyJezykowe table;
        table.Fill(kLanguageEnglish);
        return table;
    }();
    return language == kLanguagePolish ? polish : english;
}

// Texts inside a help file other than ours may be in a Windows code page; a Polish help file
// would be in 1250.
QString fromHelpFileText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return utf8.hasError() ? FromCp1250(bytes) : text;
}

QUrl topicUrl(const std::string& archivePath) {
    QUrl url;
    url.setScheme(QString::fromLatin1(kHelpUrlScheme));
    const auto hash = archivePath.find('#');
    url.setPath(QString::fromStdString(archivePath.substr(0, hash)));
    if (hash != std::string::npos) {
        url.setFragment(QString::fromStdString(archivePath.substr(hash + 1)));
    }
    return url;
}

std::string archivePathOf(const QUrl& url) {
    return url.path(QUrl::FullyDecoded).toStdString();
}

// "ms-its:name.chm::/topic.html" and "mk:@MSITStore:name.chm::/topic.html" name a topic of a
// help file; links between topics of one file are sometimes written so.
std::optional<std::string> compiledHelpLink(const QUrl& url) {
    const QString text = QUrl::fromPercentEncoding(url.toEncoded());
    const auto separator = text.indexOf(QStringLiteral("::"));
    if (separator < 0) {
        return std::nullopt;
    }
    return text.mid(separator + 2).toStdString();
}

}  // namespace

QString HelpText(const TNazwyJezykowe* texts, std::string TNazwyJezykowe::*key,
                 const QString& joiner) {
    if (texts != nullptr) {
        return FromCp1250(texts->*key);
    }
    return FromCp1250(filledTable(kLanguagePolish).*key) + joiner +
           FromCp1250(filledTable(kLanguageEnglish).*key);
}

// -------------------------------------------------------------------------------------------
// HelpBrowser

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    // Links are followed by the window, which keeps them inside the help file.
    setOpenLinks(false);
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    // Only the help file's own files are shown: a topic cannot reach the local disk.
    if (url.scheme() != QLatin1String(kHelpUrlScheme) || m_file == nullptr) {
        return {};
    }
    const std::string path = archivePathOf(url);
    const auto stored = m_file->Files().Find(path);
    const auto bytes = stored ? m_file->Read(*stored) : std::nullopt;
    if (bytes) {
        return QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size()));
    }
    if (type != QTextDocument::HtmlResource) {
        return {};
    }
    return QStringLiteral("<html><body><p>%1%2</p></body></html>")
        .arg(m_missingTopicText.toHtmlEscaped(), QString::fromStdString(path).toHtmlEscaped());
}

// -------------------------------------------------------------------------------------------
// HelpWindow

HelpWindow::HelpWindow(QWidget* parent)
    : QMainWindow(parent, Qt::Window),
      Topic(new HelpBrowser),
      Contents(new QTreeWidget),
      Back(new QAction(this)),
      Forward(new QAction(this)),
      ShowContents(new QAction(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    Topic->setObjectName(QStringLiteral("HelpTopic"));
    Contents->setObjectName(QStringLiteral("HelpContents"));
    Contents->setHeaderHidden(true);
    Back->setObjectName(QStringLiteral("HelpBack"));
    Forward->setObjectName(QStringLiteral("HelpForward"));
    ShowContents->setObjectName(QStringLiteral("HelpShowContents"));
    Back->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    Forward->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    Back->setShortcut(QKeySequence::Back);
    Forward->setShortcut(QKeySequence::Forward);
    Back->setEnabled(false);
    Forward->setEnabled(false);
    ShowContents->setCheckable(true);
    ShowContents->setChecked(true);

    auto* toolBar = addToolBar(QStringLiteral("HelpToolBar"));
    toolBar->setObjectName(QStringLiteral("HelpToolBar"));
    toolBar->setMovable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar->addAction(ShowContents);
    toolBar->addAction(Back);
    toolBar->addAction(Forward);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(Contents);
    splitter->addWidget(Topic);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({320, 680});
    setCentralWidget(splitter);
    resize(1000, 680);

    connect(Back, &QAction::triggered, Topic, &QTextBrowser::backward);
    connect(Forward, &QAction::triggered, Topic, &QTextBrowser::forward);
    connect(Topic, &QTextBrowser::backwardAvailable, Back, &QAction::setEnabled);
    connect(Topic, &QTextBrowser::forwardAvailable, Forward, &QAction::setEnabled);
    connect(ShowContents, &QAction::toggled, Contents, &QWidget::setVisible);
    connect(Topic, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
    connect(Topic, &QTextBrowser::sourceChanged, this, &HelpWindow::selectContentsItem);
    const auto openItem = [this](QTreeWidgetItem* item) {
        const QString topic = item->data(0, kTopicRole).toString();
        if (!topic.isEmpty()) {
            Topic->setSource(topicUrl(topic.toStdString()));
        }
    };
    connect(Contents, &QTreeWidget::itemClicked, this, openItem);
    connect(Contents, &QTreeWidget::itemActivated, this, openItem);
    ApplyTexts(nullptr);
}

void HelpWindow::ApplyTexts(const TNazwyJezykowe* texts) {
    const QString joiner = QStringLiteral(" / ");
    Back->setText(HelpText(texts, &TNazwyJezykowe::HelpBack, joiner));
    Forward->setText(HelpText(texts, &TNazwyJezykowe::HelpForward, joiner));
    ShowContents->setText(HelpText(texts, &TNazwyJezykowe::HelpContents, joiner));
    Topic->SetMissingTopicText(HelpText(texts, &TNazwyJezykowe::MsgHelpTopicMissing, joiner));
}

void HelpWindow::ShowTopic(std::shared_ptr<const ChmFile> file, const std::string& topic) {
    if (file != m_file) {
        m_file = std::move(file);
        Topic->SetFile(m_file);
        Topic->clearHistory();
        setWindowTitle(
            m_file->Title().empty()
                ? QString::fromStdString(std::filesystem::path(m_file->Path()).stem().string())
                : fromHelpFileText(m_file->Title()));
        loadContents();
    }
    const QUrl url = topicUrl(topic);
    if (url == Topic->source()) {
        Topic->reload();
    } else {
        Topic->setSource(url);
    }
}

std::string HelpWindow::CurrentTopic() const {
    return archivePathOf(Topic->source());
}

void HelpWindow::loadContents() {
    Contents->clear();
    if (m_file->ContentsFile().empty()) {
        return;
    }
    const auto sitemap = m_file->Read(m_file->ContentsFile());
    if (sitemap) {
        addContentsItems(nullptr, ParseSitemap(*sitemap));
    }
    Contents->expandAll();
}

void HelpWindow::addContentsItems(QTreeWidgetItem* parent,
                                  const std::vector<SitemapEntry>& entries) {
    for (const SitemapEntry& entry : entries) {
        auto* item =
            parent == nullptr ? new QTreeWidgetItem(Contents) : new QTreeWidgetItem(parent);
        item->setText(0, fromHelpFileText(entry.Name));
        std::string local = entry.Local;
        if (const auto inHelpFile = compiledHelpLink(QUrl(QString::fromStdString(local)))) {
            local = *inHelpFile;
        }
        if (const auto topic = ResolveTopicPath(local, m_file->Files())) {
            item->setData(0, kTopicRole, QString::fromStdString(*topic));
        }
        addContentsItems(item, entry.Children);
    }
}

void HelpWindow::followLink(const QUrl& link) {
    const QUrl url = link.isRelative() ? Topic->source().resolved(link) : link;
    if (url.scheme() == QLatin1String(kHelpUrlScheme)) {
        Topic->setSource(url);
    } else if (const auto inHelpFile = compiledHelpLink(url)) {
        Topic->setSource(
            topicUrl(ResolveTopicPath(*inHelpFile, m_file->Files()).value_or(*inHelpFile)));
    } else {
        // Web and mail addresses go to the desktop's own programs.
        QDesktopServices::openUrl(url);
    }
}

void HelpWindow::selectContentsItem(const QUrl& source) {
    const QString path = source.path(QUrl::FullyDecoded);
    for (QTreeWidgetItemIterator it(Contents); *it != nullptr; ++it) {
        const QString topic = (*it)->data(0, kTopicRole).toString().section(QLatin1Char('#'), 0, 0);
        if (topic.compare(path, Qt::CaseInsensitive) == 0) {
            Contents->setCurrentItem(*it);
            return;
        }
    }
}

// -------------------------------------------------------------------------------------------
// THTMLHelpViewer

THTMLHelpViewer::THTMLHelpViewer(QObject* parent) : QObject(parent) {}

THTMLHelpViewer::~THTMLHelpViewer() {
    // A window without an owner is the viewer's; one opened over a dialog is the dialog's.
    if (m_window != nullptr && m_window->parent() == nullptr) {
        delete m_window;
    }
}

void THTMLHelpViewer::SetTexts(const TNazwyJezykowe* texts) {
    m_texts = texts;
    if (m_window != nullptr) {
        m_window->ApplyTexts(texts);
    }
}

bool THTMLHelpViewer::DisplayHelpByContext(const std::string& helpFile, int context) {
    // Context 0 means "no topic of its own": there is nothing to show.
    if (context <= 0) {
        return false;
    }
    const auto file = open(helpFile);
    if (file == nullptr) {
        return false;
    }
    const auto topic = file->TopicForContext(static_cast<std::uint32_t>(context));
    if (!topic) {
        errorBox(&TNazwyJezykowe::MsgHelpContextMissing, std::to_string(context));
        show(file, file->DefaultTopic());
        return false;
    }
    show(file, *topic);
    return true;
}

bool THTMLHelpViewer::DisplayTopic(const std::string& helpFile, const std::string& topic) {
    const auto file = open(helpFile);
    if (file == nullptr) {
        return false;
    }
    show(file, topic.empty() ? file->DefaultTopic()
                             : ResolveTopicPath(topic, file->Files()).value_or("/" + topic));
    return true;
}

bool THTMLHelpViewer::ShowTableOfContents(const std::string& helpFile) {
    const auto file = open(helpFile);
    if (file == nullptr) {
        return false;
    }
    show(file, file->DefaultTopic());
    m_window->ShowContents->setChecked(true);
    return true;
}

void THTMLHelpViewer::SoftShutDown() {
    if (m_window != nullptr) {
        m_window->close();
    }
}

void THTMLHelpViewer::ReportMissingHelpFile(const std::vector<std::string>& places) {
    std::string list;
    for (const std::string& place : places) {
        list += "\r" + place;
    }
    errorBox(&TNazwyJezykowe::MsgHelpFileNotFoundIn, list, DetailPlace::AfterBothTexts);
}

std::shared_ptr<const ChmFile> THTMLHelpViewer::open(const std::string& helpFile) {
    if (!AcceptsHelpFile(helpFile)) {
        errorBox(&TNazwyJezykowe::MsgHelpNoViewer, helpFile);
        return nullptr;
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(helpFile, error);
    const auto modified = std::filesystem::last_write_time(absolute, error);
    const std::string key =
        absolute.string() + '|' + std::to_string(modified.time_since_epoch().count());
    if (m_file != nullptr && !error && key == m_fileKey) {
        return m_file;
    }
    ChmFile::OpenFailure failure = ChmFile::OpenFailure::None;
    std::shared_ptr<const ChmFile> file = ChmFile::Open(helpFile, failure);
    if (file == nullptr) {
        errorBox(failure == ChmFile::OpenFailure::Missing ? &TNazwyJezykowe::MsgHelpFileMissing
                                                          : &TNazwyJezykowe::MsgHelpFileUnreadable,
                 helpFile);
        return nullptr;
    }
    m_file = file;
    m_fileKey = key;
    return file;
}

HelpWindow& THTMLHelpViewer::window() {
    // A window opened while a modal dialog runs must belong to that dialog, or the dialog's
    // modality would block it.
    QWidget* owner = QApplication::activeModalWidget();
    if (m_window != nullptr && m_window->parentWidget() != owner) {
        m_window->setParent(owner, Qt::Window);
    }
    if (m_window == nullptr) {
        m_window = new HelpWindow(owner);
        m_window->ApplyTexts(m_texts);
    }
    return *m_window;
}

void THTMLHelpViewer::show(const std::shared_ptr<const ChmFile>& file, const std::string& topic) {
    HelpWindow& shown = window();
    shown.ShowTopic(file, topic);
    shown.show();
    shown.raise();
    shown.activateWindow();
}

void THTMLHelpViewer::errorBox(std::string TNazwyJezykowe::*key, const std::string& detail,
                               DetailPlace place) {
    const QString shownDetail = QString::fromStdString(detail);
    QString text;
    if (m_texts != nullptr) {
        text = FromCp1250(m_texts->*key) + shownDetail;
    } else if (place == DetailPlace::AfterEachText) {
        text = FromCp1250(filledTable(kLanguagePolish).*key) + shownDetail + QLatin1Char('\r') +
               FromCp1250(filledTable(kLanguageEnglish).*key) + shownDetail;
    } else {
        text = FromCp1250(filledTable(kLanguagePolish).*key) + QLatin1Char('\r') +
               FromCp1250(filledTable(kLanguageEnglish).*key) + shownDetail;
    }
    if (m_messages != nullptr) {
        m_messages->ErrorBox(ToCp1250(text));
        return;
    }
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), shown, QMessageBox::Ok,
                    QApplication::activeWindow());
    ReserveTitleBarWidth(box);
    box.exec();
}

}  // namespace velmark::ui
