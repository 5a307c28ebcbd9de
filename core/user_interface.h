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

// A user interface that shows nothing and asks nobody: every question is answered no, with the
// proposed text, or cancelled. Tools that run the core without a user (the list import's trial
// loads, benchmarks, fuzzing) override only what they listen to.
class SilentUserInterface : public UserInterface {
  public:
    void SetCaption(const std::string&) override {}
    void SetProgress(int) override {}
    void AppendMessage(const std::string&) override {}
    void ShowEndButtons(bool) override {}
    void ProcessEvents() override {}
    void ErrorBox(const std::string&, BoxOffset) override {}
    bool WarningBox(const std::string&, BoxOffset) override { return false; }
    void PlainMessage(const std::string&) override {}
    std::string InputBox(const std::string&, const std::string&,
                         const std::string& proposed) override {
        return proposed;
    }
    std::optional<std::string> OpenFileDialog(const FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFileDialog(const FileDialogRequest&) override {
        return std::nullopt;
    }
    void Beep() override {}
};

}  // namespace velmark
