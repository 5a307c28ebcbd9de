#include "ui/cabrillo_export_panel.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "settings/text_table.h"
#include "ui/cp1250_qstring.h"
#include "ui/named_widget.h"

namespace velmark::ui {

CabrilloExportPanel::CabrilloExportPanel(const TNazwyJezykowe& texts,
                                         const std::vector<std::string>& templateNames,
                                         QWidget* parent)
    : QGroupBox(parent) {
    setObjectName(QStringLiteral("ZapisCabrillo"));
    Lab_WyborFormularzaContestu = named<QLabel>("Lab_WyborFormularzaContestu", this);
    WyborFormularzaContestu = named<QComboBox>("WyborFormularzaContestu", this);
    for (const std::string& name : templateNames) {
        WyborFormularzaContestu->addItem(FromCp1250(name));
    }
    WyborFormularzaContestu->setCurrentIndex(-1);
    Lab_PostepZapisuCabrillo = named<QLabel>("Lab_PostepZapisuCabrillo", this);
    PostepZapisuCabrillo = named<QProgressBar>("PostepZapisuCabrillo", this);
    PostepZapisuCabrillo->setRange(0, 100);
    Komunikaty_cabrillo = named<QPlainTextEdit>("Komunikaty_cabrillo", this);
    Komunikaty_cabrillo->setReadOnly(true);
    Komunikaty_cabrillo->setLineWrapMode(QPlainTextEdit::NoWrap);
    ZatwZapisuCabrillo = named<QPushButton>("ZatwZapisuCabrillo", this);
    ZatwZapisuCabrillo->setAutoDefault(false);
    HelpZapisuCabrillo = named<QPushButton>("HelpZapisuCabrillo", this);
    HelpZapisuCabrillo->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    HelpZapisuCabrillo->setAutoDefault(false);

    const auto text = [&texts](std::string TNazwyJezykowe::*key) { return FromCp1250(texts.*key); };
    Lab_WyborFormularzaContestu->setText(text(&TNazwyJezykowe::CabChooseFormFile));
    WyborFormularzaContestu->setPlaceholderText(text(&TNazwyJezykowe::CabFormChoice));
    Lab_PostepZapisuCabrillo->setText(text(&TNazwyJezykowe::CapWritingCabrillo));
    ZatwZapisuCabrillo->setText(text(&TNazwyJezykowe::BtnConfirmCabrilloWrite));
    HelpZapisuCabrillo->setText(text(&TNazwyJezykowe::MenuHelp));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ZatwZapisuCabrillo);
    buttons->addStretch();
    buttons->addWidget(HelpZapisuCabrillo);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Lab_WyborFormularzaContestu);
    layout->addWidget(WyborFormularzaContestu);
    layout->addWidget(Lab_PostepZapisuCabrillo);
    layout->addWidget(PostepZapisuCabrillo);
    layout->addWidget(Komunikaty_cabrillo, 1);
    layout->addLayout(buttons);
    Reset();

    connect(WyborFormularzaContestu, &QComboBox::activated, this, [this](int index) {
        emit templatePicked(ToCp1250(WyborFormularzaContestu->itemText(index)));
    });
    connect(ZatwZapisuCabrillo, &QPushButton::clicked, this, [this] { window()->close(); });
}

ProcessingPanelWidgets CabrilloExportPanel::Widgets() const {
    return {Lab_PostepZapisuCabrillo, PostepZapisuCabrillo, Komunikaty_cabrillo,
            ZatwZapisuCabrillo};
}

void CabrilloExportPanel::Reset() {
    PostepZapisuCabrillo->setValue(0);
    Komunikaty_cabrillo->clear();
    ZatwZapisuCabrillo->hide();
}

}  // namespace velmark::ui
