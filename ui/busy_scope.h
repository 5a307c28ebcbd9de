#pragma once
// While a command loads the list or runs, it lets events through: the menu and the toolbar (and
// the command's own panel, when it has one) are shut so that no other command starts under it
// and the objects it works on stay alive.

#include <QMenuBar>
#include <QToolBar>

#include "ui/main_window.h"

namespace velmark::ui {

class BusyScope {
  public:
    explicit BusyScope(TForm4& window, QWidget* panel = nullptr)
        : m_window(window), m_panel(panel) {
        setBusy(true);
    }
    ~BusyScope() { setBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    void setBusy(bool busy) {
        m_window.m_busy = busy;
        m_window.menuBar()->setEnabled(!busy);
        m_window.ToolBar1->setEnabled(!busy);
        if (m_panel != nullptr)
            m_panel->setEnabled(!busy);
    }

    TForm4& m_window;
    QWidget* m_panel;
};

}  // namespace velmark::ui
