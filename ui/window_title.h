#pragma once
// A window manager draws a window's title in the title bar, beside the window's icon and its
// buttons; a window narrower than that cuts the title short ("Prog…TION"). The dialogs here
// size themselves to their contents, so each one reserves the width its title needs.

#include <QString>

class QWidget;

namespace velmark::ui {

// The width a title bar needs to show the whole title: the title in a bold face of the title
// bar font (the application's font where the system names none), a tenth more for window
// managers whose title font is larger, and room for the icon and three buttons.
int TitleBarWidth(const QString& title);

// Makes the window at least as wide as its title bar needs. The room is reserved in the
// window's layout, since a dialog that sizes itself to its layout (a message box, an input box,
// a window of fixed size) sets its own minimum width. Call once the title and the layout are
// set; a message box rebuilds its layout when its icon or buttons change, so call it after
// those too.
void ReserveTitleBarWidth(QWidget& window);

}  // namespace velmark::ui
