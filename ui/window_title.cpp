#include "ui/window_title.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLayout>
#include <QSpacerItem>
#include <QWidget>

namespace velmark::ui {
namespace {

// The window icon, the minimise, maximise and close buttons and the bar's margins.
constexpr int kTitleBarDecorations = 150;
constexpr double kLargerTitleFont = 1.1;

}  // namespace

int TitleBarWidth(const QString& title) {
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const int text = QFontMetrics(font).horizontalAdvance(title);
    return static_cast<int>(text * kLargerTitleFont) + kTitleBarDecorations;
}

void ReserveTitleBarWidth(QWidget& window) {
    const int needed = TitleBarWidth(window.windowTitle());
    QLayout* layout = window.layout();
    if (layout == nullptr) {
        window.setMinimumWidth(needed);
        return;
    }
    const QMargins margins = layout->contentsMargins();
    auto* room = new QSpacerItem(needed - margins.left() - margins.right(), 0, QSizePolicy::Minimum,
                                 QSizePolicy::Minimum);
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        grid->addItem(room, grid->rowCount(), 0, 1, grid->columnCount());
    } else if (auto* box = qobject_cast<QBoxLayout*>(layout)) {
        box->addItem(room);
    } else {
        delete room;
        window.setMinimumWidth(needed);
    }
}

}  // namespace velmark::ui
