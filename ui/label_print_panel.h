#pragma once
// The labels panel of the main window: the choice of the label sheet (the files of the start
// directory's LABEL_SHEETS folder), the first label to use on a partly used sheet, divider
// labels, the ADIF file of the QSOs sent, and the three ways out: print preview, printing and
// saving as PDF. The run itself is the main window's (main_window_labels.cpp).

#include <QGroupBox>

#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace velmark {
class TNazwyJezykowe;
struct TKonfiguracja;
}  // namespace velmark

namespace velmark::ui {

class TLabelPanel : public QGroupBox {
    Q_OBJECT
  public:
    explicit TLabelPanel(QWidget* parent = nullptr);

    // Captions from the text table.
    void SetTexts(const TNazwyJezykowe& texts);
    // Lists the sheet files of the start directory and shows the configuration's choices: the
    // sheet chosen last (else the first), dividers, the file of QSOs sent. The start label
    // begins at 1 every time: a partly used sheet is a thing of one printing.
    void Fill(const std::string& startDirectory, const TKonfiguracja& config,
              const TNazwyJezykowe& texts);
    // The choices that setup.ini keeps.
    void TakeChoices(TKonfiguracja& config) const;

    // The chosen sheet file's path, or nothing when the folder has none.
    std::optional<std::string> SheetPath() const;
    int StartLabel() const;

    QComboBox* LabelSheetList;
    QLabel* LabelSheetNote;
    QLabel* Lab_LabelStart;
    QSpinBox* LabelStart;
    QCheckBox* LabelDividers;
    QCheckBox* LabelMarkSent;
    QPushButton* LabelPreview;
    QPushButton* LabelPrint;
    QPushButton* LabelSavePdf;
    QPushButton* Help_Labels;

  signals:
    void previewRequested();
    void printRequested();
    void pdfRequested();

  private:
    // A sheet chosen: the start label's range, or the refusal in the note (no output then).
    void sheetChosen(int index);

    QLabel* m_sheetCaption;
    std::string m_startDirectory;
    std::vector<std::string> m_sheetFiles;
    const TNazwyJezykowe* m_texts = nullptr;
};

}  // namespace velmark::ui
