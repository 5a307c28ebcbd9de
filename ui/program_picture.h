#pragma once
// The program's picture, drawn rather than loaded so the program needs no image files: a QSL
// card with a globe and radio waves. The window icon, the about window and the installed
// desktop icon (app/gui/velmark.svg, the same drawing) show it.

#include <QPixmap>

namespace velmark::ui {

// The picture at size x size pixels.
QPixmap ProgramPicture(int size);

}  // namespace velmark::ui
