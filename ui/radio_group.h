#pragma once
// A framed group of radio buttons with one selected position, like a list: position -1 means
// no button is checked. It tells its listeners whenever the position changes, whether the user
// clicked or the program set it, and only then.

#include <QGroupBox>
#include <QList>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace velmark::ui {

class RadioGroup : public QGroupBox {
    Q_OBJECT
  public:
    explicit RadioGroup(QWidget* parent = nullptr);

    // Replaces the buttons with one per item; no position is selected afterwards.
    void SetItems(const QStringList& items);
    // Renames the buttons in order, keeping the selection.
    void SetItemTexts(const QStringList& items);
    int ItemIndex() const { return m_itemIndex; }
    // Selects a position; -1 or a position beyond the buttons selects none.
    void SetItemIndex(int index);
    QRadioButton* Button(int index) const { return m_buttons.value(index); }

  signals:
    void itemIndexChanged(int index);

  private:
    void checkOnly(int index);

    QButtonGroup* m_group;
    QList<QRadioButton*> m_buttons;
    int m_itemIndex = -1;
};

}  // namespace velmark::ui
