#include "screenshot_script.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTextStream>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace velmark::gui {
namespace {

// Time for each step's effect to be painted before the next one.
constexpr int kStepPauseMs = 400;
constexpr int kPollMs = 100;
constexpr int kMaxWaitMs = 60000;

// The object of that name in any window, a shown one first (the panels of hidden windows keep
// their names too).
template <typename Type>
Type* findNamed(const QString& name) {
    Type* hidden = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* self = qobject_cast<Type*>(window);
            self != nullptr && window->objectName() == name) {
            return self;
        }
        for (Type* found : window->findChildren<Type*>(name)) {
            auto* widget = qobject_cast<QWidget*>(found);
            if (widget == nullptr || widget->isVisible()) {
                return found;
            }
            hidden = found;
        }
    }
    return hidden;
}

// The rest of a step after its first n words.
QString wordsFrom(const QString& step, int n) {
    return step.section(QLatin1Char(' '), n, -1, QString::SectionSkipEmpty);
}

// Actions that may open a modal window run on their own, after the step returns, so the script
// goes on inside the modal window's event loop.
template <typename Action>
void later(Action action) {
    QTimer::singleShot(0, qApp, action);
}

}  // namespace

ScreenshotScript::ScreenshotScript(const QString& path, QObject* parent) : QObject(parent) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        fail(QStringLiteral("cannot read the script ") + path);
        return;
    }
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('#'))) {
            m_steps << line;
        }
    }
    QTimer::singleShot(kStepPauseMs, this, &ScreenshotScript::playNext);
}

void ScreenshotScript::fail(const QString& why) {
    std::fprintf(stderr, "screenshot script: %s\n", qPrintable(why));
    // What stood in the way, usually a box nobody expected.
    if (const QWidget* modal = QApplication::activeModalWidget()) {
        const auto* box = qobject_cast<const QMessageBox*>(modal);
        std::fprintf(stderr, "screenshot script: on screen: %s %s %s\n",
                     modal->metaObject()->className(), qPrintable(modal->objectName()),
                     box != nullptr ? qPrintable(box->text()) : "");
    }
    std::fflush(stderr);
    std::_Exit(2);
}

void ScreenshotScript::playNext() {
    if (m_next >= m_steps.size()) {
        return;
    }
    const QString step = m_steps.at(m_next);
    if (!ready(step)) {
        m_waited += kPollMs;
        if (m_waited > kMaxWaitMs) {
            fail(QStringLiteral("waited in vain: ") + step);
        }
        QTimer::singleShot(kPollMs, this, &ScreenshotScript::playNext);
        return;
    }
    m_waited = 0;
    ++m_next;
    std::fprintf(stderr, "screenshot script: %s\n", qPrintable(step));
    play(step);
    QTimer::singleShot(kStepPauseMs, this, &ScreenshotScript::playNext);
}

bool ScreenshotScript::ready(const QString& step) const {
    if (step.startsWith(QStringLiteral("wait-shown "))) {
        const auto* widget = findNamed<QWidget>(wordsFrom(step, 1));
        return widget != nullptr && widget->isVisible();
    }
    if (step.startsWith(QStringLiteral("file "))) {
        return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()) != nullptr;
    }
    return true;
}

void ScreenshotScript::play(const QString& step) {
    const QString verb = step.section(QLatin1Char(' '), 0, 0);
    const QString name = step.section(QLatin1Char(' '), 1, 1);
    const QString rest = wordsFrom(step, 2);
    if (verb == QLatin1String("wait-shown")) {
        return;
    }
    if (verb == QLatin1String("file")) {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            fail(QStringLiteral("no file dialog for: ") + step);
        }
        // Typed into the name field as a user would: selectFile() leaves the selection empty
        // until the dialog's file list has loaded.
        auto* typed = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (typed == nullptr) {
            fail(QStringLiteral("no file name field in the dialog for: ") + step);
        }
        typed->setText(wordsFrom(step, 1));
        later([dialog] { QMetaObject::invokeMethod(dialog, "accept"); });
    } else if (verb == QLatin1String("pick")) {
        auto* box = findNamed<QComboBox>(name);
        const int index = box != nullptr ? box->findText(rest) : -1;
        if (index < 0) {
            fail(QStringLiteral("nothing to pick: ") + step);
        }
        box->setCurrentIndex(index);
        later([box, index] { emit box->activated(index); });
    } else if (auto* list = findNamed<QListWidget>(name); verb == QLatin1String("row") && list) {
        list->setCurrentRow(rest.toInt());
    } else if (auto* field = findNamed<QLineEdit>(name); verb == QLatin1String("type") && field) {
        field->setText(rest);
    } else if (verb == QLatin1String("enter") && field != nullptr) {
        later([field] {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(field, &press);
        });
    } else if (auto* button = findNamed<QAbstractButton>(name);
               verb == QLatin1String("click") && button) {
        later([button] { button->click(); });
    } else if (auto* action = findNamed<QAction>(name);
               verb == QLatin1String("trigger") && action) {
        later([action] { action->trigger(); });
    } else if (auto* window = findNamed<QWidget>(name); verb == QLatin1String("grab") && window) {
        if (!window->grab().save(rest, "PNG")) {
            fail(QStringLiteral("cannot save ") + rest);
        }
    } else if (verb == QLatin1String("close") && window != nullptr) {
        later([window] { window->close(); });
    } else {
        fail(QStringLiteral("cannot play: ") + step);
    }
}

}  // namespace velmark::gui
