#include "ui/about_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/program_picture.h"
#include "ui/window_title.h"

namespace velmark::ui {
namespace {

QLabel* namedLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QLabel* rowCaption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent),
      ProgramIcon(namedLabel(QStringLiteral("ProgramIcon"), this)),
      ProductName(namedLabel(QStringLiteral("ProductName"), this)),
      Version(namedLabel(QStringLiteral("Version"), this)),
      Copyright(namedLabel(QStringLiteral("Copyright"), this)),
      Comments(namedLabel(QStringLiteral("Comments"), this)),
      OKButton(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("TAboutBox"));
    setWindowTitle(QStringLiteral("About"));
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    ProgramIcon->setPixmap(ProgramPicture(64));

    auto* rows = new QGridLayout;
    rows->addWidget(ProgramIcon, 0, 0, 4, 1, Qt::AlignTop);
    rows->addWidget(rowCaption(QStringLiteral("Product Name"), this), 0, 1);
    rows->addWidget(ProductName, 0, 2);
    rows->addWidget(rowCaption(QStringLiteral("Version"), this), 1, 1);
    rows->addWidget(Version, 1, 2);
    rows->addWidget(Copyright, 2, 1, 1, 2);
    rows->addWidget(rowCaption(QStringLiteral("Comments"), this), 3, 1);
    rows->addWidget(Comments, 3, 2);
    rows->setColumnStretch(2, 1);
    rows->setHorizontalSpacing(12);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rows);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ReserveTitleBarWidth(*this);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::SetProduct(const QString& programFileName, const QString& versionText) {
    ProductName->setText(programFileName);
    Version->setText(versionText);
}

void TAboutBox::SetAuthor(const QString& author) {
    Copyright->setText(author);
}

void TAboutBox::SetComments(const QStringList& lines) {
    Comments->setText(lines.join(QLatin1Char('\n')));
}

}  // namespace velmark::ui
