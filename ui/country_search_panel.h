#pragma once
// The country search panel: into which compartment of the QSL archive does a card go? The user
// types a callsign and presses Enter; the panel shows the callsign's DXCC entity with its list
// number, ADIF number, zones, continent and validity dates.

#include <QGroupBox>
#include <QStyledItemDelegate>

#include <array>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace velmark {
class TListaDXCC;
class TNazwyJezykowe;
class UserInterface;
struct CallsignResolution;
struct ProgramValues;
}  // namespace velmark

namespace velmark::ui {

inline constexpr int kSearchGridColumns = 8;
// The columns' widths; a column is wider where its heading needs it in the fonts at hand.
inline constexpr std::array<int, kSearchGridColumns> kSearchGridColumnWidths{218, 73, 61, 58,
                                                                             55,  65, 97, 97};

// The room a grid cell leaves beside its text, on both sides together.
int SearchGridTextMargins(const QWidget& grid);

// Draws the result grid: the headings in the grid's font, wrapped onto more lines where needed;
// the country name in large red letters, the two numbers that name the
// archive compartment (list number and ADIF number) large, red and centred, the zones and the
// continent centred; the dates as they come.
class SearchGridDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // The font of the compartment numbers: "Allegro BT" where the system has it, otherwise a
    // bold sans-serif face of the same size.
    static QFont NumberFont();
};

class CountrySearchPanel : public QGroupBox {
    Q_OBJECT
  public:
    CountrySearchPanel(const TNazwyJezykowe& texts, const ProgramValues& values, UserInterface& ui,
                       QWidget* parent = nullptr);

    // The loaded DXCC list the searches use; it outlives the panel.
    void SetList(TListaDXCC& list);

    QLabel* Lab_szukanyZnak;
    QLineEdit* ZnakSzukany;
    QLabel* Lab_BrakKraju;
    QTableWidget* WynikiSzukaniaZnaku;
    // Says why a found prefix gives no row (listed twice) or that the entity's validity ended,
    // and, for a prefix of the suffix-length table, what to check by hand.
    QLabel* Lab_UwagaDoWyniku;
    QPushButton* CofnijSzukanie;
    QPushButton* HelpSzukanieZnaku;
    QPushButton* Help_dla_Listy_DXCC;

  private:
    void build();
    void buildGrid();
    void applyTexts();
    void fitGridToHeadings();
    void search();
    void showResult(const CallsignResolution& result);
    void showSuffixRuleNote(const std::string& callsign);
    void emptyResultRow();

    const TNazwyJezykowe& m_texts;
    const ProgramValues& m_values;
    UserInterface& m_ui;
    TListaDXCC* m_list = nullptr;
};

}  // namespace velmark::ui
