#pragma once
// The one narrow channel through which the core talks to the person at the keyboard: the
// processing panel (caption, progress, message list, end-of-run buttons) and the questions
// (error box, warning box, plain message, text-input box, open and save dialogs).
// The Qt window, velmark-batch and the tests each implement it. Every text crossing it is in
// code page 1250 bytes, like all text inside the core; the Qt side converts.

#include <optional>
#include <string>

namespace velmark {

// Where a box appears, in pixels right of and below the main window's top-left corner.
enum class BoxOffset { Standard = 250, Near = 150 };

struct FileDialogRequest {
    std::string title;
    std::string filter;            // "ADIF files (*.adi)|*.adi" style: description|pattern pairs
    std::string defaultExtension;  // without the dot, e.g. "adi"
    std::string initialDirectory;
};

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // --- the processing panel ---
    virtual void SetCaption(const std::string& text) = 0;
    virtual void SetProgress(int percent) = 0;  // 0..100
    virtual void AppendMessage(const std::string& line) = 0;
    // Empties the message list (a stream-based front end has nothing to take back).
    virtual void ClearMessages() {}
    virtual void ShowEndButtons(bool visible) = 0;
    // Lets pending user-interface events through inside a long loop (repaint, progress bar).
    virtual void ProcessEvents() = 0;

    // --- questions ---
    virtual void ErrorBox(const std::string& text, BoxOffset offset = BoxOffset::Standard) = 0;
    // Warning with OK and No; true for OK.
    virtual bool WarningBox(const std::string& text, BoxOffset offset = BoxOffset::Standard) = 0;
    virtual void PlainMessage(const std::string& text) = 0;
    // Text-input box; Cancel gives the proposed answer back.
    virtual std::string InputBox(const std::string& caption, const std::string& prompt,
                                 const std::string& proposed) = 0;
    // File dialogs: the chosen full path, or nothing when the user cancels.
    virtual std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) = 0;

    // The exclamation beep that accompanies a refused answer or a failed search.
    virtual void Beep() = 0;
    // The input side settled the input date format (code 1..4); the main window shows it.
    virtual void InputDateFormatChanged(int /*code*/) {}
};

}  // namespace velmark
