#pragma once
// A hidden test hook of the desktop program for tools/screenshots.sh: when the environment
// variable VELMARK_SCREENSHOT_SCRIPT names a file of steps, the program plays them one after
// another from its own event loop (so also while a modal window waits) and saves pictures of its
// windows. Steps, one a line, "#" starts a comment; NAME is a Qt object name:
//   pick NAME TEXT      a drop-down list's item, chosen as a user would
//   row NAME N          row N (from 0) of a list
//   type NAME TEXT      the text of a one-line field
//   enter NAME          the Enter key in a field
//   click NAME          a button
//   trigger NAME        a menu command
//   file PATH           the answer to the open or save dialog (waits until one is shown)
//   wait-shown NAME     waits until the element is shown (a run has finished)
//   grab NAME FILE      saves a picture of a window as PNG
//   close NAME          closes a window
// A step that finds nothing to act on ends the program with exit status 2.

#include <QObject>
#include <QStringList>

namespace velmark::gui {

class ScreenshotScript : public QObject {
    Q_OBJECT
  public:
    // Reads the steps; the first is played once the event loop runs (the language window's).
    explicit ScreenshotScript(const QString& path, QObject* parent = nullptr);

  private:
    void playNext();
    void play(const QString& step);
    // Whether the step can be played now: what it waits for is on screen.
    bool ready(const QString& step) const;
    void fail(const QString& why);

    QStringList m_steps;
    int m_next = 0;
    int m_waited = 0;
};

}  // namespace velmark::gui
