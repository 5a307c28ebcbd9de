#include "ui/radio_group.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QStringList>
#include <QVBoxLayout>

namespace velmark::ui {

RadioGroup::RadioGroup(QWidget* parent) : QGroupBox(parent), m_group(new QButtonGroup(this)) {
    // Not exclusive: the group must be able to show no selection at all.
    m_group->setExclusive(false);
    new QVBoxLayout(this);
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) { SetItemIndex(id); });
}

void RadioGroup::SetItems(const QStringList& items) {
    qDeleteAll(m_buttons);
    m_buttons.clear();
    m_itemIndex = -1;
    for (qsizetype i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items.at(i), this);
        button->setObjectName(objectName() + QString::number(i));
        m_group->addButton(button, int(i));
        layout()->addWidget(button);
        m_buttons.append(button);
    }
}

void RadioGroup::SetItemTexts(const QStringList& items) {
    for (qsizetype i = 0; i < items.size() && i < m_buttons.size(); ++i) {
        m_buttons.at(i)->setText(items.at(i));
    }
}

void RadioGroup::SetItemIndex(int index) {
    if (index < 0 || index >= m_buttons.size()) {
        index = -1;
    }
    checkOnly(index);
    if (index == m_itemIndex) {
        return;
    }
    m_itemIndex = index;
    emit itemIndexChanged(index);
}

void RadioGroup::checkOnly(int index) {
    for (qsizetype i = 0; i < m_buttons.size(); ++i) {
        m_buttons.at(i)->setChecked(i == index);
    }
}

}  // namespace velmark::ui
