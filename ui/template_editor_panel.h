#pragma once
// The Cabrillo template editor: a text editor for contest templates (".FRM" files) with a few
// aids: the list of existing templates to start from, twelve field boxes that write a field
// name into the pattern's field-name line, and a save command.

#include <QGroupBox>

#include <array>
#include <string>
#include <vector>

#include "cabrillo/contest_template.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace velmark {
class TNazwyJezykowe;
class UserInterface;
}  // namespace velmark

namespace velmark::ui {

class TemplateEditorPanel : public QGroupBox {
    Q_OBJECT
  public:
    // contestEntries: "New contest", then the template files; fieldChoices: the choices of
    // every field box. The boxes start with the new-contest template.
    TemplateEditorPanel(const TNazwyJezykowe& texts, std::string startDirectory,
                        const std::vector<std::string>& contestEntries,
                        const std::vector<std::string>& fieldChoices, UserInterface& ui,
                        QWidget* parent = nullptr);

    // The header, pattern and end-line boxes as a template.
    TemplateText Content() const;
    // Puts a template into the header, pattern and end-line boxes, and the names of its
    // field-name line into the field boxes.
    void ShowContent(const TemplateText& text);

    QLabel* Lab_WyborContestu;
    QComboBox* WyborContestu;
    QLabel* Lab_Naglowek;
    QPlainTextEdit* Naglowek;
    QLabel* Lab_Wzorzec;
    QPlainTextEdit* Wzorzec;
    std::array<QComboBox*, kMaxTemplateFields> FieldBoxes{};  // Pole1ADIF .. Pole12ADIF
    QLabel* Lab_END_OF_LOG;
    QLineEdit* END_OF_LOG;
    QLabel* Lab_NazwaZbioruDoZapisu;
    QLineEdit* NazwaZbioruDoZapisu;
    QPushButton* Zapisz_formularz_contestu;
    QPushButton* Cofnij;
    QPushButton* HelpFormularzCabrillo;

  private:
    void build();
    QLayout* buildFieldBoxes();
    void applyTexts();
    void showFieldNames(const std::vector<std::string>& names);
    void chooseContest(int index);
    void chooseField(int k, int index);
    void save();

    const TNazwyJezykowe& m_texts;
    std::string m_startDirectory;
    UserInterface& m_ui;
};

}  // namespace velmark::ui
