// The start-up language window: what it reads, and how each way of closing it sets the
// language and the position the main window's language list shows.

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "ui/language_window.h"

namespace velmark::testing {
namespace {

struct ClosingCase {
    const char* name;
    const char* storedLanguage;  // the "Language" value in setup.ini, nullptr: no setup.ini
    std::function<void(ui::TForm1&)> close;
    int expectedLanguage;
    int expectedListPosition;
};

class LanguageWindowClosing : public ::testing::TestWithParam<ClosingCase> {};

TEST_P(LanguageWindowClosing, SetsLanguageAndListPosition) {
    const ClosingCase& scenario = GetParam();
    TempDir dir;
    if (scenario.storedLanguage != nullptr) {
        dir.write("setup.ini",
                  std::string("[MAIN]\r\nLanguage=") + scenario.storedLanguage + "\r\n");
    }
    TKonfiguracja config;
    ui::TForm1 window(config, dir.file("setup.ini"));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    scenario.close(window);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(config.Language, scenario.expectedLanguage);
    EXPECT_EQ(window.ChosenListPosition(), scenario.expectedListPosition);
}

void chooseInDropDown(ui::TForm1& window, int position) {
    emit window.ComboBox1->activated(position);
}

INSTANTIATE_TEST_SUITE_P(
    EveryWayOfClosing, LanguageWindowClosing,
    ::testing::Values(
        // The drop-down shows the stored language; without setup.ini that is English.
        ClosingCase{"OkWithoutSetupIniKeepsEnglish", nullptr,
                    [](ui::TForm1& w) { QTest::mouseClick(w.Button1, Qt::LeftButton); }, 1, 1},
        ClosingCase{"OkKeepsStoredPolish", "Polish",
                    [](ui::TForm1& w) { QTest::mouseClick(w.Button1, Qt::LeftButton); }, 0, 0},
        ClosingCase{"ChoosingEnglishOverStoredPolish", "Polish",
                    [](ui::TForm1& w) { chooseInDropDown(w, 1); }, 1, 1},
        ClosingCase{"ChoosingPolishOverStoredEnglish", "English",
                    [](ui::TForm1& w) { chooseInDropDown(w, 0); }, 0, 0},
        ClosingCase{"TabOntoOkTakesLanguageShown", "Polish",
                    [](ui::TForm1& w) {
                        w.ComboBox1->setFocus();
                        QTest::keyClick(w.ComboBox1, Qt::Key_Tab);
                    },
                    0, 0},
        ClosingCase{"ClickOnBackgroundTakesLanguageShown", "Polish",
                    [](ui::TForm1& w) { QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(2, 2)); },
                    0, 0},
        ClosingCase{"KeyOnWindowTakesLanguageShown", "English",
                    [](ui::TForm1& w) { QTest::keyClick(&w, Qt::Key_Space); }, 1, 1},
        // The close box changes nothing and leaves the main window's list without selection.
        ClosingCase{"CloseBoxKeepsStoredLanguageWithoutSelection", "Polish",
                    [](ui::TForm1& w) { w.close(); }, 0, -1}),
    [](const ::testing::TestParamInfo<ClosingCase>& info) { return info.param.name; });

TEST(LanguageWindow, ShowsFixedTextsAndTheStoredLanguage) {
    TempDir dir;
    dir.write("setup.ini", "[MAIN]\r\nLanguage=Polish\r\n");
    TKonfiguracja config;
    ui::TForm1 window(config, dir.file("setup.ini"));
    EXPECT_EQ(window.windowTitle(), "Program VELMARK_TRANSLATION");
    EXPECT_EQ(window.Label1->text(), "Choice language");
    ASSERT_EQ(window.ComboBox1->count(), 2);
    EXPECT_EQ(window.ComboBox1->itemText(0), "Polish");
    EXPECT_EQ(window.ComboBox1->itemText(1), "English");
    EXPECT_EQ(window.ComboBox1->currentIndex(), 0);
    EXPECT_EQ(window.Button1->text(), "OK");
}

TEST(LanguageWindow, StaysOpenWhileTheUserLooksAtIt) {
    // Showing the window must not close it: the focus starts on the drop-down, not on OK.
    TempDir dir;
    TKonfiguracja config;
    ui::TForm1 window(config, dir.file("setup.ini"));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(20);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.ComboBox1->hasFocus());
}

}  // namespace
}  // namespace velmark::testing
