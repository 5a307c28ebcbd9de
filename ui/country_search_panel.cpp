#include "ui/country_search_panel.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "core/errors.h"
#include "core/program_values.h"
#include "core/user_interface.h"
#include "dxcc/callsign_resolver.h"
#include "dxcc/date_value.h"
#include "dxcc/suffix_rules.h"
#include "core/ascii_case.h"
#include "settings/text_table.h"
#include "ui/cp1250_qstring.h"
#include "ui/named_widget.h"

namespace velmark::ui {
namespace {

using Text = std::string TNazwyJezykowe::*;

constexpr int kHeadingRow = 0;
constexpr int kResultRow = 1;
constexpr int kLargePointSize = 16;
constexpr int kRowPadding = 8;
constexpr const char* kNumberFontFamily = "Allegro BT";

constexpr std::array<Text, kSearchGridColumns> kHeadings{
    &TNazwyJezykowe::FindCountryName, &TNazwyJezykowe::FindDxccNumber,
    &TNazwyJezykowe::FindAdifNumber,  &TNazwyJezykowe::FindCqZone,
    &TNazwyJezykowe::FindItuZone,     &TNazwyJezykowe::FindContinent,
    &TNazwyJezykowe::FindValidFrom,   &TNazwyJezykowe::FindValidTo};

QLabel* redNote(const char* name, QWidget* parent) {
    auto* label = named<QLabel>(name, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(palette);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setWordWrap(true);
    return label;
}

// The pieces of a heading that no line break splits: its words, a word with hyphens split
// after each hyphen ("No.DXCC-List" wraps as "No.DXCC-" and "List").
QStringList unbreakablePieces(const QString& text) {
    QStringList pieces;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        qsizetype start = 0;
        for (qsizetype hyphen = word.indexOf(QLatin1Char('-')); hyphen >= 0;
             hyphen = word.indexOf(QLatin1Char('-'), hyphen + 1)) {
            pieces << word.mid(start, hyphen + 1 - start);
            start = hyphen + 1;
        }
        pieces << word.mid(start);
    }
    return pieces;
}

QFont largeFont(QFont font) {
    font.setPointSize(kLargePointSize);
    return font;
}

}  // namespace

QFont SearchGridDelegate::NumberFont() {
    QFont font;
    if (QFontDatabase::families().contains(QString::fromLatin1(kNumberFontFamily))) {
        font.setFamily(QString::fromLatin1(kNumberFontFamily));
    } else {
        font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
        font.setStyleHint(QFont::SansSerif);
        font.setBold(true);
    }
    font.setPointSize(kLargePointSize);
    return font;
}

void SearchGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem look(option);
    const int row = index.row();
    const int column = index.column();
    // Headings may need two lines in their narrow columns, and so may a long country name.
    if (row == kHeadingRow || column == 0) {
        look.features |= QStyleOptionViewItem::WrapText;
    }
    look.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    if (column == 0) {
        look.font = largeFont(look.font);
        look.palette.setColor(QPalette::Text, Qt::red);
    } else if ((column == 1 || column == 2) && row == kResultRow) {
        look.font = NumberFont();
        look.palette.setColor(QPalette::Text, Qt::red);
        look.displayAlignment = Qt::AlignCenter;
    } else if (column >= 3 && column <= 5) {
        look.palette.setColor(QPalette::Text, Qt::black);
        look.displayAlignment = Qt::AlignCenter;
    }
    QStyledItemDelegate::paint(painter, look, index);
}

CountrySearchPanel::CountrySearchPanel(const TNazwyJezykowe& texts, const ProgramValues& values,
                                       UserInterface& ui, QWidget* parent)
    : QGroupBox(parent), m_texts(texts), m_values(values), m_ui(ui) {
    setObjectName(QStringLiteral("PoszukanieKraju"));
    build();
    applyTexts();
    connect(ZnakSzukany, &QLineEdit::returnPressed, this, &CountrySearchPanel::search);
    connect(CofnijSzukanie, &QPushButton::clicked, this, [this] { window()->close(); });
}

void CountrySearchPanel::SetList(TListaDXCC& list) {
    m_list = &list;
}

void CountrySearchPanel::build() {
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    Lab_szukanyZnak = named<QLabel>("Lab_szukanyZnak", this);
    ZnakSzukany = named<QLineEdit>("ZnakSzukany", this);
    ZnakSzukany->setFixedWidth(kSearchGridColumnWidths[0]);
    // Nothing to drop: only typed callsigns are searched.
    ZnakSzukany->setAcceptDrops(false);
    ZnakSzukany->setDragEnabled(false);
    Lab_BrakKraju = redNote("Lab_BrakKraju", this);
    buildGrid();
    Lab_UwagaDoWyniku = redNote("Lab_UwagaDoWyniku", this);
    CofnijSzukanie = named<QPushButton>("CofnijSzukanie", this);
    HelpSzukanieZnaku = named<QPushButton>("HelpSzukanieZnaku", this);
    HelpSzukanieZnaku->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    Help_dla_Listy_DXCC = named<QPushButton>("Help_dla_Listy_DXCC", this);
    Help_dla_Listy_DXCC->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    for (QPushButton* button : {CofnijSzukanie, HelpSzukanieZnaku, Help_dla_Listy_DXCC}) {
        // Enter in the callsign field searches; it must not press a button as well.
        button->setAutoDefault(false);
    }

    auto* query = new QHBoxLayout;
    query->addWidget(Lab_szukanyZnak);
    query->addWidget(ZnakSzukany);
    query->addWidget(Lab_BrakKraju, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CofnijSzukanie);
    buttons->addStretch();
    buttons->addWidget(HelpSzukanieZnaku);
    buttons->addWidget(Help_dla_Listy_DXCC);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(query);
    layout->addWidget(WynikiSzukaniaZnaku);
    layout->addWidget(Lab_UwagaDoWyniku);
    layout->addStretch(1);
    layout->addLayout(buttons);
}

void CountrySearchPanel::buildGrid() {
    auto* grid = named<QTableWidget>("WynikiSzukaniaZnaku", this);
    grid->setRowCount(2);
    grid->setColumnCount(kSearchGridColumns);
    // The panel's caption is bold; the grid draws in the normal weight.
    QFont regular = grid->font();
    regular.setBold(false);
    grid->setFont(regular);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Shown, not worked in: no selection, no editing, no keyboard focus.
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setFocusPolicy(Qt::NoFocus);
    grid->setAcceptDrops(false);
    QPalette light = grid->palette();
    light.setColor(QPalette::Base, QColor(0xF4, 0xF8, 0xFF));
    grid->setPalette(light);
    grid->setItemDelegate(new SearchGridDelegate(grid));
    int width = 2 * grid->frameWidth();
    for (int column = 0; column < kSearchGridColumns; ++column) {
        grid->setColumnWidth(column, kSearchGridColumnWidths[column]);
        width += kSearchGridColumnWidths[column];
        for (int row : {kHeadingRow, kResultRow}) {
            grid->setItem(row, column, new QTableWidgetItem);
        }
    }
    const int largeLine = QFontMetrics(largeFont(grid->font())).lineSpacing();
    grid->setRowHeight(kResultRow, 2 * largeLine + kRowPadding);
    WynikiSzukaniaZnaku = grid;
}

int SearchGridTextMargins(const QWidget& grid) {
    // A view item's text keeps the focus frame's margin and one pixel more on either side.
    return 2 * (grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1);
}

void CountrySearchPanel::fitGridToHeadings() {
    // The headings keep the grid's one font and wrap onto more lines where their column is
    // narrow; a column whose heading has a piece wider than the column is widened to it.
    QTableWidget* grid = WynikiSzukaniaZnaku;
    // A cell's text has the column's width less the grid line and the margins beside it;
    // text is measured to the fraction of a pixel, as it is laid out.
    const int besideText = SearchGridTextMargins(*grid) + (grid->showGrid() ? 1 : 0);
    const QFontMetricsF normal(grid->font());
    const QFontMetricsF large(largeFont(grid->font()));
    int width = 2 * grid->frameWidth();
    qreal headingHeight = large.lineSpacing();
    for (int column = 0; column < kSearchGridColumns; ++column) {
        const QFontMetricsF& metrics = column == 0 ? large : normal;
        const QString heading = grid->item(kHeadingRow, column)->text();
        int columnWidth = kSearchGridColumnWidths[column];
        for (const QString& piece : unbreakablePieces(heading)) {
            const int needed = static_cast<int>(std::ceil(metrics.horizontalAdvance(piece)));
            columnWidth = std::max(columnWidth, needed + besideText);
        }
        grid->setColumnWidth(column, columnWidth);
        width += columnWidth;
        const QRectF lines = metrics.boundingRect(QRectF(0, 0, columnWidth - besideText, 1000),
                                                  Qt::TextWordWrap, heading);
        headingHeight = std::max(headingHeight, lines.height());
    }
    grid->setRowHeight(kHeadingRow, static_cast<int>(std::ceil(headingHeight)) + kRowPadding);
    grid->setFixedSize(
        width, grid->rowHeight(kHeadingRow) + grid->rowHeight(kResultRow) + 2 * grid->frameWidth());
}

void CountrySearchPanel::applyTexts() {
    const auto text = [this](Text key) { return FromCp1250(m_texts.*key); };
    setTitle(text(&TNazwyJezykowe::FindCapPanel));
    Lab_szukanyZnak->setText(text(&TNazwyJezykowe::FindEnterCallsign));
    ZnakSzukany->setPlaceholderText(text(&TNazwyJezykowe::FindCallsignColumn));
    for (int column = 0; column < kSearchGridColumns; ++column) {
        WynikiSzukaniaZnaku->item(kHeadingRow, column)->setText(text(kHeadings[column]));
    }
    fitGridToHeadings();
    CofnijSzukanie->setText(text(&TNazwyJezykowe::BtnExit));
    HelpSzukanieZnaku->setText(text(&TNazwyJezykowe::MenuHelp));
    Help_dla_Listy_DXCC->setText(text(&TNazwyJezykowe::BtnHelpDxccList));
}

void CountrySearchPanel::search() {
    // Prefixes are listed in capitals; a lookup key holds at most 16 characters.
    const std::string callsign =
        UpperAscii(ToCp1250(ZnakSzukany->text())).substr(0, kLookupKeySize);
    ZnakSzukany->setText(FromCp1250(callsign));
    if (m_list == nullptr) {
        return;
    }
    showResult(ResolveCallsign(*m_list, callsign, TodayDateValue(m_values.Today())));
    showSuffixRuleNote(callsign);
}

// Read at every search, so that an edit of the table counts at once; a table that cannot be
// read gives no note.
void CountrySearchPanel::showSuffixRuleNote(const std::string& callsign) {
    std::vector<SuffixRule> rules;
    try {
        rules = ReadSuffixRules(m_values.PathInStartDirectory(kSuffixRulesFileName));
    } catch (const FileError&) {
        return;
    }
    const SuffixRule* rule = FindSuffixRule(rules, callsign);
    if (rule == nullptr)
        return;
    QString note = Lab_UwagaDoWyniku->text();
    if (!note.isEmpty())
        note += QLatin1Char('\n');
    note += FromCp1250(m_texts.FindSuffixRuleNote + rule->Prefix + "  " + rule->Note);
    Lab_UwagaDoWyniku->setText(note);
}

void CountrySearchPanel::showResult(const CallsignResolution& result) {
    emptyResultRow();
    Lab_UwagaDoWyniku->clear();
    if (result.Status == kResolveNoEntity) {
        Lab_BrakKraju->setText(FromCp1250(m_texts.FindNoCountry));
        m_ui.Beep();
        m_ui.Beep();
        return;
    }
    Lab_BrakKraju->clear();
    if (result.Status == kResolveExpired) {
        Lab_UwagaDoWyniku->setText(FromCp1250(m_texts.FindValidityEnded));
    } else if (result.ListLine == 0) {
        Lab_UwagaDoWyniku->setText(FromCp1250(m_texts.FindAmbiguousPrefix));
    }
    if (result.ListLine == 0) {
        return;
    }
    const ListLine& line = m_list->ListLineTable[result.ListLine];
    const std::array<QString, kSearchGridColumns> cells{
        FromCp1250(line.LineName),       QString::number(result.ListNr),
        QString::number(result.AdifNr),  QString::number(result.CqZone),
        QString::number(result.ItuZone), FromCp1250(line.Continent),
        FromCp1250(line.ValidFrom),      FromCp1250(line.ValidTo)};
    for (int column = 0; column < kSearchGridColumns; ++column) {
        WynikiSzukaniaZnaku->item(kResultRow, column)->setText(cells[column]);
    }
}

void CountrySearchPanel::emptyResultRow() {
    for (int column = 0; column < kSearchGridColumns; ++column) {
        WynikiSzukaniaZnaku->item(kResultRow, column)->setText(QString());
    }
}

}  // namespace velmark::ui
