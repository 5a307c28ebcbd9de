#pragma once
// The small window that asks for the user-interface language at every start. It is created
// while the main window is being built, before any text of the text table exists, so its own
// texts are fixed and the same in both languages. Creating it reads setup.ini.

#include <QDialog>

#include <string>

#include "settings/configuration.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace velmark::ui {

class TForm1 : public QDialog {
    Q_OBJECT
  public:
    // Reads setup.ini into the configuration and shows the stored language in the drop-down.
    TForm1(TKonfiguracja& config, const std::string& setupIniPath, QWidget* parent = nullptr);

    // The position the main window's language list selects: the drop-down's position when the
    // window was closed by a choice, OK, a click or a key; -1 after the close box.
    int ChosenListPosition() const { return m_chosenListPosition; }

    QLabel* Label1;
    QComboBox* ComboBox1;
    QPushButton* Button1;

  protected:
    // A click on the window's background takes the language shown.
    void mousePressEvent(QMouseEvent* event) override;
    // Any key that reaches the window itself takes the language shown.
    void keyPressEvent(QKeyEvent* event) override;
    // The OK button getting the keyboard focus (the Tab key) takes the language shown.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildLayout();
    // Choosing an item in the drop-down sets the language and closes the window at once.
    void chooseFromDropDown(int position);
    // Closes the window keeping the stored language and showing the drop-down's position.
    void takeShownLanguage();

    TKonfiguracja& m_config;
    int m_chosenListPosition = -1;
};

}  // namespace velmark::ui
