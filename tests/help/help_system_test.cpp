// The help manager: which help file each window asks for, how an element finds its help
// context number, and the ways to ask for help in the real windows: help buttons, the Help
// menu entry, F1 on the focused element and F1 on a highlighted menu item.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "help/help_fixture.h"
#include "support/scripted_user_interface.h"
#include "support/temp_dir.h"
#include "ui/about_window.h"
#include "ui/help_system.h"
#include "ui/help_viewer.h"
#include "ui/language_window.h"
#include "ui/main_window_harness.h"
#include "ui/second_window.h"

namespace velmark::testing {
namespace {

using ui::HelpContextOf;
using ui::HelpSystem;
using ui::kHelpContextProperty;
using ui::kHelpFileName;

TEST(HelpFileRule, TheMainAndSecondWindowLookInTheWorkingDirectoryTheOthersBesideTheProgram) {
    ui::THTMLHelpViewer viewer;
    HelpSystem system(viewer);
    const std::string atStart = std::string("./") + kHelpFileName;
    const std::string besideProgram = std::string("/opt/velmark/bin/") + kHelpFileName;
    const struct {
        const char* window;
        std::string before;
        std::string after;
    } cases[] = {
        {"TForm4", kHelpFileName, kHelpFileName},    {"TForm3", kHelpFileName, kHelpFileName},
        {"TForm1", atStart, besideProgram},          {"TAboutBox", atStart, besideProgram},
        {"SomeOtherWindow", atStart, besideProgram},
    };
    for (const auto& c : cases) {
        QWidget window;
        window.setObjectName(QString::fromLatin1(c.window));
        EXPECT_EQ(system.HelpFileFor(&window), c.before) << c.window;
    }
    system.SetProgramHelpFile(besideProgram);
    for (const auto& c : cases) {
        QWidget window;
        window.setObjectName(QString::fromLatin1(c.window));
        EXPECT_EQ(system.HelpFileFor(&window), c.after) << c.window;
    }
    EXPECT_EQ(HelpSystem::Current(), &system);

    // With Polish chosen, every window names the Polish help in the same place.
    system.SetLanguage(kLanguagePolish);
    for (const char* window : {"TForm4", "TForm3"}) {
        QWidget shown;
        shown.setObjectName(QString::fromLatin1(window));
        EXPECT_EQ(system.HelpFileFor(&shown), ui::kPolishHelpFileName) << window;
    }
    QWidget about;
    about.setObjectName(QStringLiteral("TAboutBox"));
    EXPECT_EQ(system.HelpFileFor(&about),
              std::string("/opt/velmark/bin/") + ui::kPolishHelpFileName);
}

TEST(HelpFileRule, AFileNotWhereTheWindowNamesItIsLookedForBesideTheProgramThenInEnglish) {
    ui::THTMLHelpViewer viewer;
    HelpSystem system(viewer);
    const std::string program = "/opt/velmark/bin/";
    const std::string english = kHelpFileName;
    const std::string polish = ui::kPolishHelpFileName;
    QWidget main;
    main.setObjectName(QStringLiteral("TForm4"));
    QWidget about;
    about.setObjectName(QStringLiteral("TAboutBox"));

    // Before the program's folder is known only the working directory is looked in.
    EXPECT_EQ(system.HelpFilePlacesFor(&main), std::vector<std::string>{english});
    system.SetProgramDirectory("/opt/velmark/bin");
    system.SetProgramHelpFile(program + english);
    const struct {
        int language;
        QWidget* window;
        std::vector<std::string> places;
    } cases[] = {
        {kLanguageEnglish, &main, {english, program + english}},
        {kLanguageEnglish, &about, {program + english, "./" + english}},
        {kLanguagePolish, &main, {polish, program + polish, english, program + english}},
        {kLanguagePolish,
         &about,
         {program + polish, "./" + polish, program + english, "./" + english}},
    };
    for (const auto& c : cases) {
        system.SetLanguage(c.language);
        EXPECT_EQ(system.HelpFilePlacesFor(c.window), c.places)
            << c.window->objectName().toStdString() << " in language " << c.language;
    }
}

TEST(HelpContextWalk, AnElementWithoutANumberTakesTheNearestEnclosingOne) {
    QWidget window;
    auto* group = new QGroupBox(&window);
    auto* inner = new QWidget(group);
    auto* field = new QLineEdit(inner);
    auto* own = new QLineEdit(inner);
    auto* action = new QAction(&window);
    own->setProperty(kHelpContextProperty, 510);
    EXPECT_EQ(HelpContextOf(field), 0) << "no number anywhere up to the window";
    EXPECT_EQ(HelpContextOf(action), 0);
    window.setProperty(kHelpContextProperty, 10);
    EXPECT_EQ(HelpContextOf(field), 10);
    EXPECT_EQ(HelpContextOf(action), 10);
    group->setProperty(kHelpContextProperty, 490);
    EXPECT_EQ(HelpContextOf(field), 490);
    EXPECT_EQ(HelpContextOf(inner), 490);
    EXPECT_EQ(HelpContextOf(own), 510);
    EXPECT_EQ(HelpContextOf(nullptr), 0);

    // The walk stops at the window: a dialog inside another window does not borrow its number.
    QWidget dialog(&window, Qt::Dialog);
    auto* dialogField = new QLineEdit(&dialog);
    EXPECT_EQ(HelpContextOf(dialogField), 0);
}

// The real windows with the program's help in the working directory.
class HelpInTheWindows : public ::testing::Test {
  protected:
    HelpInTheWindows() : working(helpDir.path()) {
        std::filesystem::copy_file(kBuiltHelpFile, helpDir.file(kHelpFileName));
        viewer.SetMessages(&harness.questions);
        viewer.SetTexts(&harness.window->Texts());
    }

    // The topic of a context number in the program's help.
    std::string topicOf(int context) const {
        return help->TopicForContext(static_cast<std::uint32_t>(context)).value_or("?");
    }
    std::string shown() const {
        return viewer.Window() == nullptr ? "(no help window)" : viewer.Window()->CurrentTopic();
    }
    void pressF1(QWidget* widget) {
        ASSERT_NE(widget, nullptr);
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key_F1);
    }

    TempDir helpDir;
    WorkingDirectory working;
    std::unique_ptr<ui::ChmFile> help = OpenHelp(kBuiltHelpFile);
    ui::THTMLHelpViewer viewer;
    HelpSystem system{viewer};
    MainWindowHarness harness;
};

TEST_F(HelpInTheWindows, EveryElementOfTheContextTableExistsInItsWindow) {
    ui::TForm1 language(harness.window->Config(), harness.SetupIniPath());
    ui::TAboutBox about;
    ui::TForm3 second({harness.window->Texts(), harness.window->Values(), &harness.questions});
    QWidget* windows[] = {harness.window.get(), &second, &language, &about};
    std::set<std::string> prepared;
    for (QWidget* window : windows) {
        system.Prepare(*window);
        prepared.insert(window->objectName().toStdString());
    }
    for (const ui::HelpContextEntry& entry : ui::HelpContextTable()) {
        ASSERT_EQ(prepared.count(std::string(entry.Window)), 1u) << entry.Window;
        QWidget* window = *std::find_if(std::begin(windows), std::end(windows), [&](QWidget* w) {
            return w->objectName().toStdString() == entry.Window;
        });
        const QObject* element =
            entry.Element == entry.Window
                ? window
                : window->findChild<QObject*>(QString::fromLatin1(
                      entry.Element.data(), static_cast<qsizetype>(entry.Element.size())));
        ASSERT_NE(element, nullptr) << entry.Window << " has no " << entry.Element;
        EXPECT_EQ(element->property(kHelpContextProperty).toInt(), entry.Context) << entry.Element;
    }
}

TEST_F(HelpInTheWindows, TheHelpMenuAndF1InTheMainWindowOpenTheMainWindowTopic) {
    ui::TForm4& window = *harness.window;
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    harness.Trigger("Help1");
    EXPECT_EQ(shown(), topicOf(10));
    viewer.SoftShutDown();
    // F1 is the Help menu entry's shortcut in the main window, whichever element has the focus.
    QApplication::setActiveWindow(&window);
    pressF1(harness.Find<QWidget>("ListBox3"));
    EXPECT_EQ(shown(), topicOf(10));
    EXPECT_TRUE(harness.questions.errorBoxes.empty());
}

TEST_F(HelpInTheWindows, HelpButtonsOpenTheirOwnTopics) {
    harness.window->show();
    const struct {
        const char* button;
        int context;
    } cases[] = {
        {"Help_Sort", 900},
        {"Help_Translate", 1160},
        {"Help_Cabrillo", 1500},
        {"Help_DXCC_LST", 1600},
    };
    for (const auto& c : cases) {
        harness.Click(c.button);
        EXPECT_EQ(shown(), topicOf(c.context)) << c.button;
    }
}

TEST_F(HelpInTheWindows, F1OnAHighlightedMenuItemOpensThatItemsTopic) {
    ui::TForm4& window = *harness.window;
    window.show();
    QMenu* menu = window.BookmarksForQSLArchive;
    menu->popup(window.mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    menu->setActiveAction(window.SortowanieBookmarksWgNumerowStandarduADIF);
    QTest::keyClick(menu, Qt::Key_F1);
    EXPECT_EQ(shown(), topicOf(1260));
    menu->setActiveAction(window.SzukanieKrajuDlaZnaku);
    QTest::keyClick(menu, Qt::Key_F1);
    EXPECT_EQ(shown(), topicOf(1300));
    menu->close();
}

TEST_F(HelpInTheWindows, F1InTheTemplateEditorOpensTheFocusedElementsTopic) {
    bool opened = false;
    harness.secondWindow = [&](ui::TForm3& second) {
        opened = true;
        second.show();
        QApplication::setActiveWindow(&second);
        const struct {
            const char* element;
            int context;
        } cases[] = {
            {"Naglowek", 670},
            {"Wzorzec", 730},
            {"Pole3ADIF", 730},
            {"END_OF_LOG", 850},
            // Without a number of its own: that of the editor panel around it.
            {"NazwaZbioruDoZapisu", 680},
        };
        for (const auto& c : cases) {
            pressF1(second.findChild<QWidget*>(QString::fromLatin1(c.element)));
            EXPECT_EQ(shown(), topicOf(c.context)) << c.element;
        }
        // The editor's help button.
        second.findChild<QPushButton*>(QStringLiteral("HelpFormularzCabrillo"))->click();
        EXPECT_EQ(shown(), topicOf(630));
    };
    harness.Trigger("ConfigCabrilloFormat1");
    EXPECT_TRUE(opened);
}

TEST_F(HelpInTheWindows, F1InTheLanguageWindowOpensItsTopicAndLeavesTheWindowOpen) {
    ui::TForm1 language(harness.window->Config(), harness.SetupIniPath());
    language.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&language));
    // The program's help file is still "./VELMARK_TRANSLATION.chm" while the language is asked.
    pressF1(language.ComboBox1);
    EXPECT_EQ(shown(), topicOf(160));
    EXPECT_TRUE(language.isVisible()) << "F1 must not count as the key that closes the window";
}

// Started from another working directory: the help beside the program serves every window.
TEST_F(HelpInTheWindows, FromAnotherWorkingDirectoryTheHelpBesideTheProgramIsUsed) {
    TempDir elsewhere;
    WorkingDirectory started(elsewhere.path());
    system.SetProgramDirectory(helpDir.path().string());
    system.SetProgramHelpFile(helpDir.file(kHelpFileName));

    harness.window->show();
    harness.Trigger("Help1");
    EXPECT_EQ(shown(), topicOf(10));
    ui::TAboutBox about;
    about.show();
    pressF1(about.OKButton);
    EXPECT_EQ(shown(), topicOf(1340));
    EXPECT_TRUE(harness.questions.errorBoxes.empty());
    EXPECT_EQ(std::filesystem::path(viewer.Window()->File()->Path()).parent_path(), helpDir.path());
}

TEST_F(HelpInTheWindows, WithoutAnyHelpFileTheBoxNamesEveryPlaceLookedIn) {
    TempDir elsewhere;
    TempDir program;
    WorkingDirectory started(elsewhere.path());
    system.SetProgramDirectory(program.path().string());
    system.SetLanguage(kLanguagePolish);

    harness.window->show();
    harness.Trigger("Help1");
    ASSERT_EQ(harness.questions.errorBoxes.size(), 1u);
    EXPECT_EQ(harness.questions.errorBoxes[0], harness.window->Texts().MsgHelpFileNotFoundIn +
                                                   "\r" + elsewhere.file(ui::kPolishHelpFileName) +
                                                   "\r" + program.file(ui::kPolishHelpFileName) +
                                                   "\r" + elsewhere.file(kHelpFileName) + "\r" +
                                                   program.file(kHelpFileName));
    EXPECT_EQ(viewer.Window(), nullptr);
}

// With Polish chosen every way of asking for help opens the Polish topic of the same number;
// without the Polish file the English topic opens instead.
TEST_F(HelpInTheWindows, WithPolishChosenHelpOpensThePolishTopicOfTheSameNumber) {
    std::filesystem::copy_file(kBuiltHelpFilePl, helpDir.file(ui::kPolishHelpFileName));
    const auto polish = OpenHelp(kBuiltHelpFilePl);
    system.SetLanguage(kLanguagePolish);
    const auto polishTopic = [&](int context) {
        return polish->TopicForContext(static_cast<std::uint32_t>(context)).value_or("?");
    };
    harness.window->show();
    harness.Trigger("Help1");
    EXPECT_EQ(shown(), polishTopic(10));
    EXPECT_EQ(shown(), "/topics_pl/main_window.html");
    for (const auto& [button, context] :
         {std::pair{"Help_Sort", 900}, std::pair{"Help_DXCC_LST", 1600}}) {
        harness.Click(button);
        EXPECT_EQ(shown(), polishTopic(context)) << button;
    }
    ui::TAboutBox about;
    about.show();
    pressF1(about.OKButton);
    EXPECT_EQ(shown(), polishTopic(1340));

    std::filesystem::remove(helpDir.file(ui::kPolishHelpFileName));
    harness.Trigger("Help1");
    EXPECT_EQ(shown(), topicOf(10));
    EXPECT_TRUE(harness.questions.errorBoxes.empty());
}

}  // namespace
}  // namespace velmark::testing
