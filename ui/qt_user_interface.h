#pragma once
// The desktop program's side of the core's user-interface boundary: the processing panel of the
// main window (caption line, progress bar, message list, finish button) and the questions as
// Qt dialogs placed relative to the main window. Texts cross here from code page 1250 to
// Unicode and back.

#include <functional>
#include <optional>
#include <string>

#include "core/user_interface.h"

#include <QString>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QWidget;
class QMessageBox;

namespace velmark::ui {

// The widgets of the processing panel that the core writes to.
struct ProcessingPanelWidgets {
    QLabel* Caption = nullptr;           // Label8
    QProgressBar* Progress = nullptr;    // ProgressBar1
    QPlainTextEdit* Messages = nullptr;  // Memo1
    QPushButton* Finish = nullptr;       // ZatwSortow, the end-of-run button
};

// "File *.adi|*.adi" (description|pattern pairs) as a Qt name filter: "File *.adi (*.adi)".
QString QtFileFilter(const std::string& filter);

class QtUserInterface final : public UserInterface {
  public:
    // owner: the window the boxes are placed against. questions: when given, every question,
    // box and beep goes to it instead of a Qt dialog (tests answer from a script this way).
    QtUserInterface(QWidget& owner, ProcessingPanelWidgets panel,
                    UserInterface* questions = nullptr);

    void SetCaption(const std::string& text) override;
    void SetProgress(int percent) override;
    void AppendMessage(const std::string& line) override;
    void ShowEndButtons(bool visible) override;
    void ProcessEvents() override;

    void ErrorBox(const std::string& text, BoxOffset offset = BoxOffset::Standard) override;
    bool WarningBox(const std::string& text, BoxOffset offset = BoxOffset::Standard) override;
    void PlainMessage(const std::string& text) override;
    std::string InputBox(const std::string& caption, const std::string& prompt,
                         const std::string& proposed) override;
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override;
    void Beep() override;
    void InputDateFormatChanged(int code) override;

    // Called when the input side settles the input date format, so the window can show it.
    void SetInputDateFormatListener(std::function<void(int)> listener);

  private:
    // Shows a box modally with its top-left corner at the offset from the owner's corner.
    int execPlaced(QMessageBox& box, BoxOffset offset);

    QWidget& m_owner;
    ProcessingPanelWidgets m_panel;
    UserInterface* m_questions;
    std::function<void(int)> m_inputDateFormatListener;
};

}  // namespace velmark::ui
