#include "ui/language_window.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "settings/text_table.h"
#include "ui/window_title.h"

namespace velmark::ui {

TForm1::TForm1(TKonfiguracja& config, const std::string& setupIniPath, QWidget* parent)
    : QDialog(parent),
      Label1(new QLabel(QStringLiteral("Choice language"), this)),
      ComboBox1(new QComboBox(this)),
      Button1(new QPushButton(QStringLiteral("OK"), this)),
      m_config(config) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Program VELMARK_TRANSLATION"));
    Label1->setObjectName(QStringLiteral("Label1"));
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    Button1->setObjectName(QStringLiteral("Button1"));
    ComboBox1->addItems({QStringLiteral("Polish"), QStringLiteral("English")});
    // The button must not grab Return (any key closes the window the same way) nor take the
    // focus first (the focus arriving on it closes the window).
    Button1->setAutoDefault(false);
    Button1->installEventFilter(this);
    buildLayout();

    ConfigRead(m_config, setupIniPath);
    ComboBox1->setCurrentIndex(m_config.Language);
    ComboBox1->setFocus();

    connect(ComboBox1, &QComboBox::activated, this, &TForm1::chooseFromDropDown);
    connect(Button1, &QPushButton::clicked, this, &TForm1::takeShownLanguage);
}

void TForm1::buildLayout() {
    auto* author = new QLabel(QStringLiteral("VELMARK team, 2026"), this);
    author->setObjectName(QStringLiteral("AuthorLine"));
    author->setEnabled(false);
    auto* layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0, 1, 2);
    layout->addWidget(ComboBox1, 1, 0);
    layout->addWidget(Button1, 1, 1);
    layout->addWidget(author, 2, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ReserveTitleBarWidth(*this);
    setTabOrder(ComboBox1, Button1);
}

void TForm1::chooseFromDropDown(int position) {
    m_config.Language = position == 0 ? kLanguagePolish : kLanguageEnglish;
    m_chosenListPosition = position;
    accept();
}

void TForm1::takeShownLanguage() {
    m_chosenListPosition = ComboBox1->currentIndex();
    accept();
}

void TForm1::mousePressEvent(QMouseEvent* /*event*/) {
    takeShownLanguage();
}

void TForm1::keyPressEvent(QKeyEvent* /*event*/) {
    takeShownLanguage();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Button1 && event->type() == QEvent::FocusIn && isVisible()) {
        takeShownLanguage();
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace velmark::ui
