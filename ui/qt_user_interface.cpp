#include "ui/qt_user_interface.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>

#include <algorithm>

#include "ui/cp1250_qstring.h"
#include "ui/window_title.h"

namespace velmark::ui {
namespace {

// Texts join their parts with a carriage return; Qt breaks lines at a line feed.
QString boxText(const std::string& text) {
    QString shown = FromCp1250(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

// Sets up a Qt file dialog as the request says; Qt's own dialog, so it looks the same everywhere
// and tests can reach it.
void prepareDialog(QFileDialog& dialog, const FileDialogRequest& request) {
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (!request.title.empty()) {
        dialog.setWindowTitle(FromCp1250(request.title));
    }
    dialog.setNameFilter(QtFileFilter(request.filter));
    dialog.setDefaultSuffix(FromCp1250(request.defaultExtension));
    if (!request.initialDirectory.empty()) {
        dialog.setDirectory(PathText(request.initialDirectory));
    }
}

std::optional<std::string> chosenFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return PathBytes(dialog.selectedFiles().constFirst());
}

}  // namespace

QString QtFileFilter(const std::string& filter) {
    const QStringList parts = FromCp1250(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << QStringLiteral("%1 (%2)").arg(parts.at(i), patterns);
    }
    return filters.join(QStringLiteral(";;"));
}

QtUserInterface::QtUserInterface(QWidget& owner, ProcessingPanelWidgets panel,
                                 UserInterface* questions)
    : m_owner(owner), m_panel(panel), m_questions(questions) {}

void QtUserInterface::SetCaption(const std::string& text) {
    m_panel.Caption->setText(FromCp1250(text));
}

void QtUserInterface::SetProgress(int percent) {
    m_panel.Progress->setValue(std::clamp(percent, 0, 100));
}

void QtUserInterface::AppendMessage(const std::string& line) {
    m_panel.Messages->appendPlainText(FromCp1250(line));
}

void QtUserInterface::ShowEndButtons(bool visible) {
    m_panel.Finish->setVisible(visible);
}

void QtUserInterface::ProcessEvents() {
    QCoreApplication::processEvents();
}

int QtUserInterface::execPlaced(QMessageBox& box, BoxOffset offset) {
    ReserveTitleBarWidth(box);
    const int pixels = static_cast<int>(offset);
    box.move(m_owner.window()->pos() + QPoint(pixels, pixels));
    return box.exec();
}

void QtUserInterface::ErrorBox(const std::string& text, BoxOffset offset) {
    if (m_questions != nullptr) {
        m_questions->ErrorBox(text, offset);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), boxText(text),
                    QMessageBox::Ok, &m_owner);
    execPlaced(box, offset);
}

bool QtUserInterface::WarningBox(const std::string& text, BoxOffset offset) {
    if (m_questions != nullptr) {
        return m_questions->WarningBox(text, offset);
    }
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), boxText(text),
                    QMessageBox::Ok | QMessageBox::No, &m_owner);
    box.setDefaultButton(QMessageBox::Ok);
    return execPlaced(box, offset) == QMessageBox::Ok;
}

void QtUserInterface::PlainMessage(const std::string& text) {
    if (m_questions != nullptr) {
        m_questions->PlainMessage(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), boxText(text),
                    QMessageBox::Ok, &m_owner);
    execPlaced(box, BoxOffset::Standard);
}

std::string QtUserInterface::InputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& proposed) {
    if (m_questions != nullptr) {
        return m_questions->InputBox(caption, prompt, proposed);
    }
    QInputDialog dialog(&m_owner);
    dialog.setWindowTitle(FromCp1250(caption));
    dialog.setLabelText(boxText(prompt));
    dialog.setTextValue(FromCp1250(proposed));
    // The input box builds its layout when first asked for its size.
    dialog.adjustSize();
    ReserveTitleBarWidth(dialog);
    if (dialog.exec() != QDialog::Accepted) {
        return proposed;
    }
    return ToCp1250(dialog.textValue());
}

std::optional<std::string> QtUserInterface::OpenFileDialog(const FileDialogRequest& request) {
    if (m_questions != nullptr) {
        return m_questions->OpenFileDialog(request);
    }
    QFileDialog dialog(&m_owner);
    prepareDialog(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return chosenFile(dialog);
}

std::optional<std::string> QtUserInterface::SaveFileDialog(const FileDialogRequest& request) {
    if (m_questions != nullptr) {
        return m_questions->SaveFileDialog(request);
    }
    QFileDialog dialog(&m_owner);
    prepareDialog(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    return chosenFile(dialog);
}

void QtUserInterface::Beep() {
    if (m_questions != nullptr) {
        m_questions->Beep();
        return;
    }
    QApplication::beep();
}

void QtUserInterface::InputDateFormatChanged(int code) {
    if (m_inputDateFormatListener) {
        m_inputDateFormatListener(code);
    }
}

void QtUserInterface::SetInputDateFormatListener(std::function<void(int)> listener) {
    m_inputDateFormatListener = std::move(listener);
}

}  // namespace velmark::ui
