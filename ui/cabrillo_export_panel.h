#pragma once
// The Cabrillo export panel: the run has read the log into TYM.LOG and asked for the output
// file; the user picks a contest template here and the whole log is written through it, with
// the progress and the closing messages shown in the panel.

#include <QGroupBox>

#include <string>
#include <vector>

#include "ui/qt_user_interface.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace velmark {
class TNazwyJezykowe;
}

namespace velmark::ui {

class CabrilloExportPanel : public QGroupBox {
    Q_OBJECT
  public:
    // templateNames: the ".FRM" files of CABRILLO_FORM. The OK button stays hidden until a
    // file has been written.
    CabrilloExportPanel(const TNazwyJezykowe& texts, const std::vector<std::string>& templateNames,
                        QWidget* parent = nullptr);

    // Where an export reports: the title line, the progress bar, the message list and the OK
    // button that an export shows when it has written the file.
    ProcessingPanelWidgets Widgets() const;
    // Makes the panel ready for the next export: bar at 0, no messages, no OK button.
    void Reset();

    QLabel* Lab_WyborFormularzaContestu;
    QComboBox* WyborFormularzaContestu;
    QLabel* Lab_PostepZapisuCabrillo;
    QProgressBar* PostepZapisuCabrillo;
    QPlainTextEdit* Komunikaty_cabrillo;
    QPushButton* ZatwZapisuCabrillo;
    QPushButton* HelpZapisuCabrillo;

  signals:
    // The user picked a template (its file name in CABRILLO_FORM), also the same one again.
    void templatePicked(const std::string& templateName);
};

}  // namespace velmark::ui
