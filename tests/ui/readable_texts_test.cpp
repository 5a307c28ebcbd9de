// Every title and caption readable in both languages: a window manager's title bar shows the
// whole title of every window and box, the captions inside the windows are not cut at the
// windows' sizes, and the headings of the country search grid wrap in the grid's one font.

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTableWidget>
#include <QTest>
#include <QTextLayout>
#include <QTimer>

#include <functional>

#include "core/field_catalogue.h"
#include "core/program_values.h"
#include "second_window_harness.h"
#include "tests/dxcc/dxcc_test_lists.h"
#include "ui/about_window.h"
#include "ui/cp1250_qstring.h"
#include "ui/language_window.h"
#include "ui/qt_user_interface.h"

namespace velmark::testing {
namespace {

// The least a title bar needs beside the title: an icon and a close button.
constexpr int kLeastTitleBarDecorations = 60;

int boldWidth(const QString& text) {
    QFont font = QApplication::font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(text);
}

void expectTitleFits(const QWidget& window, const std::string& what) {
    EXPECT_GE(window.width(), boldWidth(window.windowTitle()) + kLeastTitleBarDecorations)
        << what << ": \"" << window.windowTitle().toStdString() << "\" in " << window.width()
        << " pixels";
}

// Every text shown in the window is shown whole: labels that do not wrap, buttons and frame
// titles are at least as wide as their text needs.
void expectCaptionsWhole(const QWidget& window, const std::string& what) {
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->isVisibleTo(&window) && !label->wordWrap() && !label->text().isEmpty() &&
            label->pixmap().isNull()) {
            EXPECT_GE(label->width(), label->fontMetrics().size(0, label->text()).width())
                << what << ": label " << label->objectName().toStdString() << " \""
                << label->text().toStdString() << "\"";
        }
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (button->isVisibleTo(&window) && !button->text().isEmpty()) {
            EXPECT_GE(button->width(), button->minimumSizeHint().width())
                << what << ": button " << button->objectName().toStdString() << " \""
                << button->text().toStdString() << "\"";
        }
    }
    for (const QGroupBox* frame : window.findChildren<QGroupBox*>()) {
        if (frame->isVisibleTo(&window) && !frame->title().isEmpty()) {
            EXPECT_GE(frame->width(), frame->minimumSizeHint().width())
                << what << ": frame " << frame->objectName().toStdString() << " \""
                << frame->title().toStdString() << "\"";
        }
    }
}

void showAndSettle(QWidget& window) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
}

class ReadableTexts : public SecondWindowFixture, public ::testing::WithParamInterface<int> {
  protected:
    ReadableTexts() {
        texts.Fill(GetParam());
        QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
        CopyBundledCabrilloData(dir.path());
    }
    std::string language() const { return GetParam() == kLanguagePolish ? "Polish" : "English"; }

    TStrukturaADIF catalogue;
};

TEST_P(ReadableTexts, TheWindowsShowTheirWholeTitleAndCaptions) {
    TKonfiguracja config;
    ui::TForm1 languageWindow(config, dir.file("setup.ini"));
    showAndSettle(languageWindow);
    expectTitleFits(languageWindow, "language window");
    expectCaptionsWhole(languageWindow, "language window");

    ui::TAboutBox about;
    about.SetProduct(QStringLiteral("velmark"), QStringLiteral("V: 1.0.2.0"));
    about.SetAuthor(ui::FromCp1250(texts.AboutAuthor));
    about.SetComments({ui::FromCp1250(texts.AboutLine1), ui::FromCp1250(texts.AboutLine2),
                       ui::FromCp1250(texts.AboutLine3), ui::FromCp1250(texts.AboutLine4),
                       ui::FromCp1250(texts.AboutLine5)});
    showAndSettle(about);
    expectTitleFits(about, "about window");
    expectCaptionsWhole(about, "about window");

    DxccListFixture lists;
    lists.Load({HeaderLine("Alpha Land", 14, 28, "EU", "230"), PrefixLine("QA")});
    const std::vector<std::pair<std::string, std::function<void(ui::TForm3&)>>> panels{
        {"template editor", [](ui::TForm3& w) { w.ShowTemplateEditor(); }},
        {"Cabrillo export",
         [&](ui::TForm3& w) {
             w.ShowCabrilloExport({catalogue, TPersonalInfo{}, dir.file("out.cbr")});
         }},
        {"country search", [&](ui::TForm3& w) { w.ShowCountrySearch(*lists.list); }},
    };
    for (const auto& [name, show] : panels) {
        auto window = Open();
        show(*window);
        showAndSettle(*window);
        expectTitleFits(*window, language() + " " + name);
        expectCaptionsWhole(*window, language() + " " + name);
    }
}

// The boxes the program asks and tells through, as the user sees them: each one is looked at
// while it is open, then closed.
TEST_P(ReadableTexts, EveryBoxShowsItsWholeTitle) {
    QWidget owner;
    owner.resize(800, 600);
    ui::QtUserInterface boxes(owner, {});
    int looked = 0;
    const auto lookAtTheBox = [&](const std::string& what) {
        QTimer::singleShot(0, [&, what] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr) << what;
            EXPECT_TRUE(QTest::qWaitForWindowExposed(box)) << what;
            expectTitleFits(*box, language() + " " + what);
            ++looked;
            if (auto* message = qobject_cast<QMessageBox*>(box)) {
                message->button(QMessageBox::Ok)->click();
            } else {
                qobject_cast<QDialog*>(box)->reject();
            }
        });
    };
    lookAtTheBox("error box");
    boxes.ErrorBox(texts.MsgNoFileChosen);
    lookAtTheBox("warning box");
    boxes.WarningBox(texts.MsgDataError);
    lookAtTheBox("message");
    boxes.PlainMessage(texts.MsgNoFileChosen);
    lookAtTheBox("date format question");
    boxes.InputBox(texts.CapEnterInputDateFormat, texts.MsgFirstRecordQso, "YYYYMMDD");
    lookAtTheBox("QSL route question");
    boxes.InputBox(texts.CapEnterQslVia, texts.MsgEnterQslViaAgain, "");
    EXPECT_EQ(looked, 5);
}

// Headings wrap at word boundaries (and after a hyphen) in the grid's own font, as the item
// view lays out a cell's text: no line of a heading may be wider than its cell, and all of
// them fit the heading row.
TEST_P(ReadableTexts, TheCountrySearchHeadingsWrapInOneReadableSize) {
    DxccListFixture lists;
    lists.Load({HeaderLine("Alpha Land", 14, 28, "EU", "230"), PrefixLine("QA")});
    auto window = Open();
    window->ShowCountrySearch(*lists.list);
    showAndSettle(*window);
    QTableWidget* grid = window->PoszukanieKraju->WynikiSzukaniaZnaku;
    const int margins = ui::SearchGridTextMargins(*grid);
    for (int column = 1; column < ui::kSearchGridColumns; ++column) {
        const QString heading = grid->item(0, column)->text();
        const QRect cell = grid->visualRect(grid->model()->index(0, column));
        const int room = cell.width() - margins;
        QTextLayout layout(heading, grid->font());
        QTextOption wrapping;
        wrapping.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(wrapping);
        layout.beginLayout();
        qreal height = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(room);
            EXPECT_LE(line.naturalTextWidth(), room)
                << language() << " \"" << heading.toStdString() << "\" line \""
                << heading.mid(line.textStart(), line.textLength()).toStdString() << "\"";
            height += line.height();
        }
        layout.endLayout();
        EXPECT_LE(height, cell.height()) << language() << " \"" << heading.toStdString() << "\"";
    }
    // The widened grid still fits its window.
    EXPECT_LE(grid->mapTo(window.get(), QPoint(grid->width(), 0)).x(), window->width());
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, ReadableTexts,
                         ::testing::Values(kLanguagePolish, kLanguageEnglish),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == kLanguagePolish ? "Polish" : "English";
                         });

}  // namespace
}  // namespace velmark::testing
