// The country search panel of the second window: what Enter does with the typed text, the
// result row, the notes and beeps, how the grid draws, and the main window's command.

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <ctime>

#include "main_window_harness.h"
#include "second_window_harness.h"
#include "tests/dxcc/dxcc_test_lists.h"
#include "ui/country_search_panel.h"

namespace velmark::testing {
namespace {

constexpr int kResultRow = 1;

// 15 June 2009, noon.
std::time_t June2009() {
    std::tm date{};
    date.tm_year = 109;
    date.tm_mon = 5;
    date.tm_mday = 15;
    date.tm_hour = 12;
    return std::mktime(&date);
}

class CountrySearch : public SecondWindowFixture {
  protected:
    CountrySearch() {
        values.FixedToday = June2009();
        lists.Load({HeaderLine("Alpha Land", 14, 28, "EU", "230", "1945/01/01"), PrefixLine("QA"),
                    HeaderLine("Bravo Isle", 5, 8, "NA", "1"), PrefixLine("QB"),
                    HeaderLine("Charlie Reef", 32, 56, "OC", "12", "1960/05/01", "2000/12/31"),
                    PrefixLine("QC"), HeaderLine("Double One", 12, 12, "EU", "112"),
                    PrefixLine("QD"), HeaderLine("Double Two", 13, 13, "EU", "113"),
                    PrefixLine("QD")});
        // Charlie Reef counts no more: every entry of its prefix has expired.
        for (int q = 1; q <= lists.list->PrefixCount; ++q) {
            if (lists.list->PrefixTable[q].PrefixText == "QC") {
                lists.list->PrefixTable[q].ValidUntil = 2001.0;
            }
        }
        window = Open();
        window->ShowCountrySearch(*lists.list);
        panel = window->PoszukanieKraju;
    }

    void Search(const QString& typed) {
        panel->ZnakSzukany->setText(typed);
        QTest::keyClick(panel->ZnakSzukany, Qt::Key_Return);
    }
    QStringList ResultRow() const {
        QStringList cells;
        for (int column = 0; column < ui::kSearchGridColumns; ++column) {
            cells << panel->WynikiSzukaniaZnaku->item(kResultRow, column)->text();
        }
        return cells;
    }
    // The row a list line gives: name, list number, ADIF number, zones, continent, dates.
    QStringList RowOf(int listLine) const {
        const ListLine& line = lists.list->ListLineTable[listLine];
        return {QString::fromStdString(line.LineName),  QString::number(line.ListNr),
                QString::number(line.AdifNr),           QString::number(line.CqZone),
                QString::number(line.ItuZone),          QString::fromStdString(line.Continent),
                QString::fromStdString(line.ValidFrom), QString::fromStdString(line.ValidTo)};
    }
    static QStringList EmptyRow() { return QStringList(ui::kSearchGridColumns, QString()); }

    DxccListFixture lists;
    std::unique_ptr<ui::TForm3> window;
    ui::CountrySearchPanel* panel = nullptr;
};

TEST_F(CountrySearch, ShowsThePanelAloneWithItsHeadings) {
    EXPECT_TRUE(panel->isVisibleTo(window.get()));
    EXPECT_FALSE(window->Formularz_cabrillo->isVisibleTo(window.get()));
    EXPECT_FALSE(window->ZapisCabrillo->isVisibleTo(window.get()));
    EXPECT_GE(window->width(), 770);
    const QStringList headings{"Country name", "No.DXCC-List", "No.ADIF",         "CQ Zone",
                               "ITU Zone",     "Continent",    "Date Valid FROM", "Date Valid TO"};
    for (int column = 0; column < ui::kSearchGridColumns; ++column) {
        EXPECT_EQ(panel->WynikiSzukaniaZnaku->item(0, column)->text(), headings[column]);
        EXPECT_GE(panel->WynikiSzukaniaZnaku->columnWidth(column),
                  ui::kSearchGridColumnWidths[column]);
    }
    EXPECT_EQ(ResultRow(), EmptyRow());
}

TEST_F(CountrySearch, EnterSearchesTheTypedTextInCapitalsCutTo16) {
    struct Case {
        const char* typed;
        const char* searched;
        int listLine;  // 0: no row
        const char* noCountry;
        const char* note;
        int beeps;
    };
    const char* none = "";
    const char* ambiguous =
        "The prefix stands in the DXCC list several times with equal "
        "validity - no single country";
    const char* ended = "This country's validity ended before the given date";
    const Case cases[] = {
        {"qb1abc", "QB1ABC", 2, none, none, 0},
        {"Qa1żółw", "QA1żółW", 1, none, none, 0},
        {"qa1bcdefghijklmnopq", "QA1BCDEFGHIJKLMN", 1, none, none, 0},
        {"xx1a", "XX1A", 0, "Country not present", none, 2},
        {"QD1AA", "QD1AA", 0, none, ambiguous, 0},
        {"QC1AA", "QC1AA", 0, none, ended, 0},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.typed);
        // The previous result must not stay behind: start from a found one each time.
        Search(QStringLiteral("QA1A"));
        ASSERT_EQ(ResultRow(), RowOf(1));
        questions.beeps = 0;

        Search(QString::fromUtf8(each.typed));
        EXPECT_EQ(panel->ZnakSzukany->text(), QString::fromUtf8(each.searched));
        EXPECT_EQ(ResultRow(), each.listLine == 0 ? EmptyRow() : RowOf(each.listLine));
        EXPECT_EQ(panel->Lab_BrakKraju->text(), each.noCountry);
        EXPECT_EQ(panel->Lab_UwagaDoWyniku->text(), each.note);
        EXPECT_EQ(questions.beeps, each.beeps);
    }
}

TEST_F(CountrySearch, EnterTwiceGivesTheSameAnswerTwice) {
    Search(QStringLiteral("qa9zz"));
    const QStringList first = ResultRow();
    Search(panel->ZnakSzukany->text());
    EXPECT_EQ(ResultRow(), first);
    EXPECT_EQ(first, RowOf(1));

    Search(QStringLiteral("xx1a"));
    Search(panel->ZnakSzukany->text());
    EXPECT_EQ(panel->Lab_BrakKraju->text(), "Country not present");
    EXPECT_EQ(questions.beeps, 4);
}

TEST_F(CountrySearch, EnterDoesNotPressAButtonOfTheWindow) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    Search(QStringLiteral("qb1abc"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(ResultRow(), RowOf(2));
}

// Where the ink of a cell lies and whether any of it is red.
struct Ink {
    QRect box;
    bool red = false;
    bool dark = false;
};

Ink inkIn(const QImage& image, const QRect& cell) {
    const QColor background = image.pixelColor(cell.left() + 2, cell.top() + 2);
    Ink ink;
    for (int y = cell.top() + 1; y < cell.bottom(); ++y) {
        for (int x = cell.left() + 1; x < cell.right(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            if (colour == background) {
                continue;
            }
            ink.box |= QRect(x, y, 1, 1);
            ink.red |= colour.red() > 150 && colour.green() < 100 && colour.blue() < 100;
            ink.dark |= colour.red() < 80 && colour.green() < 80 && colour.blue() < 80;
        }
    }
    return ink;
}

TEST_F(CountrySearch, GridDrawsNumbersLargeRedAndCentredAndZonesCentred) {
    Search(QStringLiteral("QA1A"));
    QTableWidget* grid = panel->WynikiSzukaniaZnaku;
    grid->resize(grid->size());
    const QImage image = grid->viewport()->grab().toImage();
    const auto cell = [grid](int column) {
        return grid->visualRect(grid->model()->index(kResultRow, column));
    };
    const Ink name = inkIn(image, cell(0));
    EXPECT_TRUE(name.red);
    EXPECT_LT(name.box.left() - cell(0).left(), 10) << "the name stays at the left";
    for (int column = 1; column <= 5; ++column) {
        SCOPED_TRACE(column);
        const Ink ink = inkIn(image, cell(column));
        ASSERT_FALSE(ink.box.isEmpty());
        EXPECT_EQ(ink.red, column <= 2);
        EXPECT_EQ(ink.dark, column >= 3);
        EXPECT_NEAR(ink.box.center().x(), cell(column).center().x(), 3) << "centred";
        EXPECT_NEAR(ink.box.center().y(), cell(column).center().y(), 4) << "centred";
    }
    // The compartment numbers are drawn large: taller than the zones beside them.
    EXPECT_GT(inkIn(image, cell(1)).box.height(), inkIn(image, cell(3)).box.height() + 3);
    const QFont numbers = ui::SearchGridDelegate::NumberFont();
    EXPECT_EQ(numbers.pointSize(), 16);
    EXPECT_TRUE(numbers.family() == "Allegro BT" || numbers.bold());
}

TEST_F(CountrySearch, PrefixesOfTheSuffixLengthTableGetANote) {
    dir.write("SUFFIX_RULES.TXT", "{ test table\r\nQB1  two letters: BRAVO ISLE\r\nQC  check\r\n");
    const QString note = QString::fromStdString(texts.FindSuffixRuleNote);
    Search("qb1xy");
    EXPECT_EQ(ResultRow(), RowOf(2));
    EXPECT_EQ(panel->Lab_UwagaDoWyniku->text(), note + "QB1  two letters: BRAVO ISLE");
    Search("QB2XY");
    EXPECT_EQ(panel->Lab_UwagaDoWyniku->text(), QString());
    // Under the note of an expired entity; the table is read anew at every search.
    Search("QC1AB");
    EXPECT_EQ(panel->Lab_UwagaDoWyniku->text(),
              QString::fromStdString(texts.FindValidityEnded) + "\n" + note + "QC  check");
    dir.write("SUFFIX_RULES.TXT", "");
    Search("QB1XY");
    EXPECT_EQ(panel->Lab_UwagaDoWyniku->text(), QString());
}

TEST(CountrySearchCommand, LoadsTheListShowsThePanelAloneAndKeepsTheList) {
    MainWindowHarness start;
    start.dir.write("DXCC.LST", OrderTestDxccList());
    QPointer<ui::TForm3> shown;
    QString found;
    start.secondWindow = [&](ui::TForm3& window) {
        shown = &window;
        EXPECT_TRUE(window.PoszukanieKraju->isVisibleTo(&window));
        EXPECT_FALSE(window.Formularz_cabrillo->isVisibleTo(&window));
        EXPECT_FALSE(window.ZapisCabrillo->isVisibleTo(&window));
        window.PoszukanieKraju->ZnakSzukany->setText(QStringLiteral("qc3cc"));
        QTest::keyClick(window.PoszukanieKraju->ZnakSzukany, Qt::Key_Return);
        found = window.PoszukanieKraju->WynikiSzukaniaZnaku->item(kResultRow, 0)->text();
        window.PoszukanieKraju->CofnijSzukanie->click();
    };
    start.Trigger("SzukanieKrajuDlaZnaku");
    EXPECT_EQ(found, "CHARLIE REEF");
    EXPECT_TRUE(shown.isNull()) << "discarded when it closed";
    const TListaDXCC* list = start.window->DxccList();
    ASSERT_NE(list, nullptr) << "the list stays loaded for later commands";
    for (const char* hidden : {"GroupBox1", "GroupBox7", "Button2", "Help_Sort", "Panel1"}) {
        EXPECT_FALSE(start.Shown(hidden)) << hidden;
    }

    // A second search reuses the loaded list.
    start.dir.write("DXCC.LST", "");
    start.Trigger("SzukanieKrajuDlaZnaku");
    EXPECT_EQ(start.window->DxccList(), list);
    EXPECT_TRUE(start.questions.errorBoxes.empty());
}

TEST(CountrySearchCommand, MissingListShowsTheErrorAndNoWindow) {
    MainWindowHarness start;
    start.Trigger("SzukanieKrajuDlaZnaku");
    EXPECT_EQ(
        start.questions.errorBoxes,
        std::vector<std::string>{"Input file not exists  - exit from program and corect problem"});
    EXPECT_EQ(start.window->DxccList(), nullptr);
}

}  // namespace
}  // namespace velmark::testing
