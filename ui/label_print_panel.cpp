#include "ui/label_print_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>

#include "labels/label_sheet.h"
#include "settings/configuration.h"
#include "settings/text_table.h"
#include "ui/cp1250_qstring.h"
#include "ui/named_widget.h"

namespace velmark::ui {
namespace {

// "L7160 - Avery L7160 (A4, 3 x 7, 63.5 x 38.1 mm)": the file's name and the sheet's own.
QString sheetItemText(const std::string& startDirectory, const std::string& file) {
    const std::string name = file.substr(0, file.rfind('.'));
    const SheetReadResult read = ReadLabelSheet(LabelSheetPath(startDirectory, file));
    if (!read.Sheet)
        return FromCp1250(name);
    return FromCp1250(name + " - " + read.Sheet->Title);
}

}  // namespace

TLabelPanel::TLabelPanel(QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("LabelPanel"));
    m_sheetCaption = named<QLabel>("Lab_LabelSheet", this);
    LabelSheetList = named<QComboBox>("LabelSheetList", this);
    LabelSheetNote = named<QLabel>("LabelSheetNote", this);
    LabelSheetNote->setWordWrap(true);
    QPalette palette = LabelSheetNote->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    LabelSheetNote->setPalette(palette);
    Lab_LabelStart = named<QLabel>("Lab_LabelStart", this);
    LabelStart = named<QSpinBox>("LabelStart", this);
    LabelStart->setRange(1, 1);
    LabelDividers = named<QCheckBox>("LabelDividers", this);
    LabelMarkSent = named<QCheckBox>("LabelMarkSent", this);
    LabelPreview = named<QPushButton>("LabelPreview", this);
    LabelPrint = named<QPushButton>("LabelPrint", this);
    LabelSavePdf = named<QPushButton>("LabelSavePdf", this);
    Help_Labels = named<QPushButton>("Help_Labels", this);
    Help_Labels->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    m_sheetCaption->setBuddy(LabelSheetList);
    Lab_LabelStart->setBuddy(LabelStart);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(LabelPreview);
    buttons->addWidget(LabelPrint);
    buttons->addWidget(LabelSavePdf);
    buttons->addStretch();
    buttons->addWidget(Help_Labels);
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_sheetCaption, 0, 0);
    layout->addWidget(LabelSheetList, 0, 1);
    layout->addWidget(LabelSheetNote, 1, 0, 1, 2);
    layout->addWidget(Lab_LabelStart, 2, 0);
    layout->addWidget(LabelStart, 2, 1, Qt::AlignLeft);
    layout->addWidget(LabelDividers, 3, 0, 1, 2);
    layout->addWidget(LabelMarkSent, 4, 0, 1, 2);
    layout->addLayout(buttons, 5, 0, 1, 2);
    layout->setColumnStretch(1, 1);

    connect(LabelSheetList, &QComboBox::currentIndexChanged, this, &TLabelPanel::sheetChosen);
    connect(LabelPreview, &QPushButton::clicked, this, &TLabelPanel::previewRequested);
    connect(LabelPrint, &QPushButton::clicked, this, &TLabelPanel::printRequested);
    connect(LabelSavePdf, &QPushButton::clicked, this, &TLabelPanel::pdfRequested);
}

void TLabelPanel::SetTexts(const TNazwyJezykowe& texts) {
    m_texts = &texts;
    setTitle(FromCp1250(texts.CapLabelPanel));
    m_sheetCaption->setText(FromCp1250(texts.LblLabelSheet));
    Lab_LabelStart->setText(FromCp1250(texts.LblStartLabel));
    LabelDividers->setText(FromCp1250(texts.LblDividerLabels));
    LabelMarkSent->setText(FromCp1250(texts.LblMarkSent));
    LabelPreview->setText(FromCp1250(texts.BtnLabelPreview));
    LabelPrint->setText(FromCp1250(texts.BtnLabelPrint));
    LabelSavePdf->setText(FromCp1250(texts.BtnLabelPdf));
    Help_Labels->setText(FromCp1250(texts.MenuHelp));
}

void TLabelPanel::Fill(const std::string& startDirectory, const TKonfiguracja& config,
                       const TNazwyJezykowe& texts) {
    m_texts = &texts;
    m_startDirectory = startDirectory;
    m_sheetFiles = ListLabelSheets(startDirectory);
    {
        const QSignalBlocker quiet(LabelSheetList);
        LabelSheetList->clear();
        for (const std::string& file : m_sheetFiles)
            LabelSheetList->addItem(sheetItemText(startDirectory, file));
    }
    int chosen = m_sheetFiles.empty() ? -1 : 0;
    for (std::size_t i = 0; i < m_sheetFiles.size(); ++i) {
        if (m_sheetFiles[i] == config.LabelSheetName)
            chosen = static_cast<int>(i);
    }
    {
        const QSignalBlocker quiet(LabelSheetList);
        LabelSheetList->setCurrentIndex(chosen);
    }
    sheetChosen(chosen);
    LabelStart->setValue(1);
    LabelDividers->setChecked(config.LabelDividers);
    LabelMarkSent->setChecked(config.LabelMarkSent);
}

void TLabelPanel::TakeChoices(TKonfiguracja& config) const {
    const int index = LabelSheetList->currentIndex();
    if (index >= 0 && index < static_cast<int>(m_sheetFiles.size()))
        config.LabelSheetName = m_sheetFiles[static_cast<std::size_t>(index)];
    config.LabelDividers = LabelDividers->isChecked();
    config.LabelMarkSent = LabelMarkSent->isChecked();
}

std::optional<std::string> TLabelPanel::SheetPath() const {
    const int index = LabelSheetList->currentIndex();
    if (index < 0 || index >= static_cast<int>(m_sheetFiles.size()))
        return std::nullopt;
    return LabelSheetPath(m_startDirectory, m_sheetFiles[static_cast<std::size_t>(index)]);
}

int TLabelPanel::StartLabel() const {
    return LabelStart->value();
}

void TLabelPanel::sheetChosen(int index) {
    bool usable = false;
    QString note;
    if (index < 0 || index >= static_cast<int>(m_sheetFiles.size())) {
        if (m_texts != nullptr)
            note = FromCp1250(m_texts->NoteNoLabelSheets);
    } else {
        const std::string& file = m_sheetFiles[static_cast<std::size_t>(index)];
        const SheetReadResult read = ReadLabelSheet(LabelSheetPath(m_startDirectory, file));
        if (read.Sheet) {
            usable = true;
            LabelStart->setRange(1, read.Sheet->LabelsPerPage());
        } else if (m_texts != nullptr) {
            note = FromCp1250(SheetProblemMessage(*read.Problem, file, *m_texts))
                       .replace(QLatin1Char('\r'), QLatin1Char('\n'));
        }
    }
    LabelSheetNote->setText(note);
    LabelSheetNote->setVisible(!note.isEmpty());
    for (QWidget* output : {static_cast<QWidget*>(LabelPreview), static_cast<QWidget*>(LabelPrint),
                            static_cast<QWidget*>(LabelSavePdf), static_cast<QWidget*>(LabelStart)})
        output->setEnabled(usable);
}

}  // namespace velmark::ui
