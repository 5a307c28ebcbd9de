#pragma once
// A user-interface double for tests: records everything the core shows and answers questions
// from queues filled by the test. An unexpected question (empty queue) fails the test loudly.

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/user_interface.h"

namespace velmark::testing {

class ScriptedUserInterface : public UserInterface {
public:
    // What was shown, in order.
    std::vector<std::string> captions;
    std::vector<int> progress;
    std::vector<std::string> messages;
    std::vector<std::string> errorBoxes;
    std::vector<std::string> warningBoxes;
    std::vector<std::string> plainMessages;
    std::vector<std::string> inputPrompts;
    std::vector<FileDialogRequest> dialogRequests;
    std::vector<int> inputDateFormatChanges;
    bool endButtonsVisible = false;
    int beeps = 0;
    int eventPumps = 0;

    // Answers, taken front first.
    std::deque<bool> warningAnswers;
    std::deque<std::string> inputAnswers;  // an answer equal to kCancel returns the proposal
    std::deque<std::optional<std::string>> fileAnswers;
    static inline const std::string kCancel = "\x01<cancel>";

    void SetCaption(const std::string& text) override { captions.push_back(text); }
    void SetProgress(int percent) override { progress.push_back(percent); }
    void AppendMessage(const std::string& line) override { messages.push_back(line); }
    void ShowEndButtons(bool visible) override { endButtonsVisible = visible; }
    void ProcessEvents() override { ++eventPumps; }

    void ErrorBox(const std::string& text, BoxOffset) override { errorBoxes.push_back(text); }
    bool WarningBox(const std::string& text, BoxOffset) override {
        warningBoxes.push_back(text);
        return take(warningAnswers, "warning box", text);
    }
    void PlainMessage(const std::string& text) override { plainMessages.push_back(text); }
    std::string InputBox(const std::string&, const std::string& prompt,
                         const std::string& proposed) override {
        inputPrompts.push_back(prompt);
        std::string answer = take(inputAnswers, "input box", prompt);
        return answer == kCancel ? proposed : answer;
    }
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override {
        dialogRequests.push_back(request);
        return take(fileAnswers, "open dialog", request.title);
    }
    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override {
        dialogRequests.push_back(request);
        return take(fileAnswers, "save dialog", request.title);
    }
    void Beep() override { ++beeps; }
    void InputDateFormatChanged(int code) override { inputDateFormatChanges.push_back(code); }

private:
    template <typename T>
    static T take(std::deque<T>& queue, const char* what, const std::string& text) {
        if (queue.empty()) {
            ADD_FAILURE() << "unexpected " << what << ": " << text;
            return T{};
        }
        T answer = std::move(queue.front());
        queue.pop_front();
        return answer;
    }
};

}  // namespace velmark::testing
