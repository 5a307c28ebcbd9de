// The help viewer: opening topics by context number, links, pictures, back and forward, the
// table of contents, and what the user is told when a help file cannot be shown.

#include <QAction>
#include <QDialog>
#include <QImage>
#include <QTextDocument>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "help/help_fixture.h"
#include "support/scripted_user_interface.h"
#include "support/temp_dir.h"
#include "ui/cp1250_qstring.h"
#include "ui/help_viewer.h"

namespace velmark::testing {
namespace {

using ui::FromCp1250;
using ui::THTMLHelpViewer;

class HelpViewerTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_dir = new TempDir;
        s_fixture = BuildFixtureHelp(*s_dir);
    }
    static void TearDownTestSuite() {
        delete s_dir;
        s_dir = nullptr;
    }

    HelpViewerTest() {
        english.Fill(kLanguageEnglish);
        viewer.SetMessages(&questions);
        viewer.SetTexts(&english);
    }

    std::string shownTopic() const {
        return viewer.Window() == nullptr ? "" : viewer.Window()->CurrentTopic();
    }
    QString shownText() const { return viewer.Window()->Topic->toPlainText(); }
    void click(const char* link) { emit viewer.Window()->Topic->anchorClicked(QUrl(link)); }

    static inline TempDir* s_dir = nullptr;
    static inline std::string s_fixture;
    TNazwyJezykowe english;
    ScriptedUserInterface questions;
    THTMLHelpViewer viewer;
};

TEST_F(HelpViewerTest, AContextNumberOpensItsTopic) {
    ASSERT_TRUE(viewer.DisplayHelpByContext(s_fixture, kFixtureDeeperContext));
    EXPECT_EQ(shownTopic(), "/sub/deeper.html");
    EXPECT_EQ(viewer.Window()->Topic->documentTitle(), QStringLiteral("Deeper page"));
    EXPECT_TRUE(viewer.Window()->isVisible());
    EXPECT_EQ(viewer.Window()->windowTitle(), QStringLiteral("Fixture help"));

    ASSERT_TRUE(viewer.DisplayHelpByContext(kBuiltHelpFile, 420));
    const auto help = OpenHelp(kBuiltHelpFile);
    EXPECT_EQ(shownTopic(), help->TopicForContext(420).value_or("?"));
    EXPECT_TRUE(shownText().contains(QStringLiteral("Type of sort"))) << shownText().toStdString();
    EXPECT_TRUE(questions.errorBoxes.empty());
}

TEST_F(HelpViewerTest, LinksAreFollowedInsideTheFileWithBackAndForward) {
    ASSERT_TRUE(viewer.DisplayHelpByContext(s_fixture, kFixtureStartContext));
    ui::HelpWindow& window = *viewer.Window();
    EXPECT_FALSE(window.Back->isEnabled());

    click("sub/deeper.html");
    EXPECT_EQ(shownTopic(), "/sub/deeper.html");
    ASSERT_TRUE(window.Back->isEnabled());
    EXPECT_FALSE(window.Forward->isEnabled());

    // A link that climbs out of the folder, with an anchor.
    click("../start.html#end");
    EXPECT_EQ(shownTopic(), "/start.html");
    EXPECT_EQ(window.Topic->source().fragment(), QStringLiteral("end"));

    window.Back->trigger();
    EXPECT_EQ(shownTopic(), "/sub/deeper.html");
    window.Back->trigger();
    EXPECT_EQ(shownTopic(), "/start.html");
    EXPECT_FALSE(window.Back->isEnabled());
    ASSERT_TRUE(window.Forward->isEnabled());
    window.Forward->trigger();
    EXPECT_EQ(shownTopic(), "/sub/deeper.html");

    // The form that names the help file and the topic with "::".
    window.Back->trigger();
    click("ms-its:fixture.chm::/sub/deeper.html");
    EXPECT_EQ(shownTopic(), "/sub/deeper.html");
    window.Back->trigger();
    EXPECT_EQ(shownTopic(), "/start.html");
}

TEST_F(HelpViewerTest, PicturesComeFromTheFileAndNothingFromTheDisk) {
    ASSERT_TRUE(viewer.DisplayHelpByContext(s_fixture, kFixtureDeeperContext));
    ui::HelpBrowser& browser = *viewer.Window()->Topic;
    // The page names the picture as "../img/dot.png".
    const QVariant picture =
        browser.loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("../img/dot.png")));
    const QImage image = QImage::fromData(picture.toByteArray());
    EXPECT_EQ(image.size(), QSize(kPictureWidth, kPictureHeight));

    const std::string outside = s_dir->file("img/dot.png");
    EXPECT_FALSE(browser
                     .loadResource(QTextDocument::ImageResource,
                                   QUrl::fromLocalFile(QString::fromStdString(outside)))
                     .isValid());
}

TEST_F(HelpViewerTest, APageTheFileDoesNotHoldIsShownAsMissing) {
    ASSERT_TRUE(viewer.DisplayHelpByContext(s_fixture, kFixtureStartContext));
    click("sub/none.html");
    EXPECT_EQ(shownTopic(), "/sub/none.html");
    EXPECT_TRUE(shownText().contains(FromCp1250(english.MsgHelpTopicMissing) +
                                     QStringLiteral("/sub/none.html")))
        << shownText().toStdString();
}

TEST_F(HelpViewerTest, TheTableOfContentsListsTheTopicsAndOpensThem) {
    ASSERT_TRUE(viewer.ShowTableOfContents(s_fixture));
    ui::HelpWindow& window = *viewer.Window();
    EXPECT_EQ(shownTopic(), "/start.html") << "the default topic";
    ASSERT_EQ(window.Contents->topLevelItemCount(), 1);
    QTreeWidgetItem* start = window.Contents->topLevelItem(0);
    EXPECT_EQ(start->text(0), QStringLiteral("Start"));
    ASSERT_EQ(start->childCount(), 1);
    QTreeWidgetItem* deeper = start->child(0);
    EXPECT_EQ(deeper->text(0), QStringLiteral("Deeper"));
    EXPECT_TRUE(window.Contents->isVisibleTo(&window));

    emit window.Contents->itemClicked(deeper, 0);
    EXPECT_EQ(shownTopic(), "/sub/deeper.html");
    // Following a link selects the topic's entry.
    click("../start.html");
    EXPECT_EQ(window.Contents->currentItem(), start);

    window.ShowContents->trigger();
    EXPECT_FALSE(window.Contents->isVisibleTo(&window));
}

TEST_F(HelpViewerTest, AMissingOrUnreadableFileIsReportedAndNothingOpens) {
    TempDir dir;
    const std::string missing = dir.file("VELMARK_TRANSLATION.chm");
    EXPECT_FALSE(viewer.DisplayHelpByContext(missing, 10));
    const std::string garbage = dir.write("garbage.chm", std::string(3000, '\x7f'));
    EXPECT_FALSE(viewer.DisplayHelpByContext(garbage, 10));
    ASSERT_EQ(questions.errorBoxes.size(), 2u);
    EXPECT_EQ(questions.errorBoxes[0], english.MsgHelpFileMissing + missing);
    EXPECT_EQ(questions.errorBoxes[1], english.MsgHelpFileUnreadable + garbage);
    EXPECT_EQ(viewer.Window(), nullptr);
}

TEST_F(HelpViewerTest, OnlyFilesEndingInChmAreAccepted) {
    TempDir dir;
    const std::string copy = dir.file("HELP.CHM");
    std::filesystem::copy_file(s_fixture, copy);
    EXPECT_TRUE(viewer.DisplayHelpByContext(copy, kFixtureStartContext));

    for (const char* name : {"help.txt", "HELP.CHM.bak", "help"}) {
        const std::string other = dir.file(name);
        std::filesystem::copy_file(s_fixture, other);
        EXPECT_FALSE(viewer.DisplayHelpByContext(other, kFixtureStartContext)) << name;
        EXPECT_FALSE(viewer.DisplayTopic(other, "start.html")) << name;
        EXPECT_FALSE(viewer.ShowTableOfContents(other)) << name;
    }
    ASSERT_EQ(questions.errorBoxes.size(), 9u);
    EXPECT_EQ(questions.errorBoxes[0], english.MsgHelpNoViewer + dir.file("help.txt"));
}

TEST_F(HelpViewerTest, ANumberTheFileDoesNotMapIsReportedAndTheDefaultTopicShown) {
    EXPECT_FALSE(viewer.DisplayHelpByContext(s_fixture, 4242));
    ASSERT_EQ(questions.errorBoxes.size(), 1u);
    EXPECT_EQ(questions.errorBoxes[0], english.MsgHelpContextMissing + "4242");
    EXPECT_EQ(shownTopic(), "/start.html");
    // Context 0 means "no topic": nothing is shown and nothing reported.
    EXPECT_FALSE(viewer.DisplayHelpByContext(s_fixture, 0));
    EXPECT_EQ(questions.errorBoxes.size(), 1u);
}

TEST_F(HelpViewerTest, BeforeTheLanguageIsChosenMessagesComeInBothLanguages) {
    THTMLHelpViewer early;
    early.SetMessages(&questions);
    TNazwyJezykowe polish;
    polish.Fill(kLanguagePolish);
    EXPECT_FALSE(early.DisplayHelpByContext("absent.chm", 160));
    ASSERT_EQ(questions.errorBoxes.size(), 1u);
    EXPECT_EQ(questions.errorBoxes[0], polish.MsgHelpFileMissing + "absent.chm\r" +
                                           english.MsgHelpFileMissing + "absent.chm");

    ASSERT_TRUE(early.DisplayTopic(s_fixture, "start.html"));
    EXPECT_EQ(early.Window()->Back->text(),
              FromCp1250(polish.HelpBack) + QStringLiteral(" / ") + FromCp1250(english.HelpBack));
    early.SetTexts(&polish);
    EXPECT_EQ(early.Window()->Back->text(), FromCp1250(polish.HelpBack));
}

// Help asked for from a modal dialog must not be blocked by that dialog, and must survive it.
TEST_F(HelpViewerTest, HelpFromAModalDialogBelongsToTheDialogAndOutlivesItSafely) {
    auto dialog = std::make_unique<QDialog>();
    dialog->setModal(true);
    dialog->show();
    ASSERT_TRUE(viewer.DisplayHelpByContext(s_fixture, kFixtureStartContext));
    EXPECT_EQ(viewer.Window()->parentWidget(), dialog.get());
    dialog.reset();
    EXPECT_EQ(viewer.Window(), nullptr);

    ASSERT_TRUE(viewer.DisplayHelpByContext(s_fixture, kFixtureDeeperContext));
    EXPECT_EQ(viewer.Window()->parentWidget(), nullptr);
    EXPECT_EQ(shownTopic(), "/sub/deeper.html");
    viewer.SoftShutDown();
    EXPECT_FALSE(viewer.Window()->isVisible());
}

}  // namespace
}  // namespace velmark::testing
