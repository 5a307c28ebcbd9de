#pragma once
// The batch tool's side of the user-interface boundary: the message list goes to standard
// output line by line (the same code page 1250 bytes the files get), error boxes to standard
// error, and every question is answered without asking, from the command line.

#include <iosfwd>
#include <optional>
#include <string>

#include "core/user_interface.h"

namespace velmark::batch {

struct ConsoleAnswers {
    std::string inputFile;       // the open dialog's answer
    std::string outputFile;      // the save dialog's answer
    bool warningAnswer = false;  // OK/No questions (the QSL-manager order: --via-manager)
    bool showProgress = false;   // a progress bar on standard error
};

class ConsoleUserInterface : public UserInterface {
  public:
    ConsoleUserInterface(std::ostream& out, std::ostream& err, ConsoleAnswers answers,
                         std::string answerTakenText);

    void SetCaption(const std::string& text) override;
    void SetProgress(int percent) override;
    void AppendMessage(const std::string& line) override;
    void ShowEndButtons(bool) override {}
    void ProcessEvents() override {}

    void ErrorBox(const std::string& text, BoxOffset offset = BoxOffset::Standard) override;
    bool WarningBox(const std::string& text, BoxOffset offset = BoxOffset::Standard) override;
    void PlainMessage(const std::string& text) override;
    std::string InputBox(const std::string& caption, const std::string& prompt,
                         const std::string& proposed) override;
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override;
    void Beep() override {}

    // True once an error box was shown: the run failed, whatever else it printed.
    bool errorShown() const { return m_errorShown; }

  private:
    void finishProgressLine();

    std::ostream& m_out;
    std::ostream& m_err;
    ConsoleAnswers m_answers;
    std::string m_answerTakenText;
    int m_lastProgress = -1;
    bool m_errorShown = false;
};

}  // namespace velmark::batch
