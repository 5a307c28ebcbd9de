#include "batch/console_user_interface.h"

#include <ostream>

namespace velmark::batch {
namespace {

// Texts that join parts with a carriage return are shown one part per line.
void writeLines(std::ostream& stream, const std::string& text) {
    for (const char ch : text) {
        stream << (ch == '\r' ? '\n' : ch);
    }
    stream << '\n';
}

}  // namespace

ConsoleUserInterface::ConsoleUserInterface(std::ostream& out, std::ostream& err,
                                           ConsoleAnswers answers, std::string answerTakenText)
    : m_out(out),
      m_err(err),
      m_answers(std::move(answers)),
      m_answerTakenText(std::move(answerTakenText)) {}

void ConsoleUserInterface::SetCaption(const std::string& text) {
    if (m_answers.showProgress) {
        finishProgressLine();
        writeLines(m_err, text);
    }
}

void ConsoleUserInterface::SetProgress(int percent) {
    if (!m_answers.showProgress || percent == m_lastProgress) {
        return;
    }
    m_lastProgress = percent;
    constexpr int kWidth = 40;
    const int filled = percent * kWidth / 100;
    m_err << '\r' << '[' << std::string(filled, '#') << std::string(kWidth - filled, ' ') << "] "
          << percent << '%' << std::flush;
    if (percent >= 100) {
        finishProgressLine();
    }
}

void ConsoleUserInterface::finishProgressLine() {
    if (m_lastProgress >= 0) {
        m_err << '\n';
        m_lastProgress = -1;
    }
}

void ConsoleUserInterface::AppendMessage(const std::string& line) {
    writeLines(m_out, line);
}

void ConsoleUserInterface::ErrorBox(const std::string& text, BoxOffset) {
    finishProgressLine();
    m_errorShown = true;
    writeLines(m_err, text);
}

bool ConsoleUserInterface::WarningBox(const std::string&, BoxOffset) {
    return m_answers.warningAnswer;
}

void ConsoleUserInterface::PlainMessage(const std::string& text) {
    writeLines(m_out, text);
}

std::string ConsoleUserInterface::InputBox(const std::string&, const std::string& prompt,
                                           const std::string& proposed) {
    // Nobody is there to answer: the proposed answer is taken, and the output says so.
    writeLines(m_out, prompt);
    m_out << m_answerTakenText << proposed << '\n';
    return proposed;
}

std::optional<std::string> ConsoleUserInterface::OpenFileDialog(const FileDialogRequest&) {
    return m_answers.inputFile;
}

std::optional<std::string> ConsoleUserInterface::SaveFileDialog(const FileDialogRequest&) {
    return m_answers.outputFile;
}

}  // namespace velmark::batch
