#pragma once
// The one place where the core's code page 1250 bytes become Qt's Unicode strings and back.
// Every text a window shows comes from the core as CP1250; every text the user types goes to
// the core as CP1250.

#include <QString>

#include <string>
#include <string_view>

namespace velmark::ui {

// CP1250 bytes to a QString.
QString FromCp1250(std::string_view bytes);

// A QString to CP1250 bytes. A character that CP1250 cannot hold (the user may type or paste
// anything) becomes "?", so what the user typed never stops a command.
std::string ToCp1250(const QString& text);

// File paths are not log text: the core keeps them in the file system's own encoding, as it
// opens them. A path to a QString, and back.
QString PathText(const std::string& path);
std::string PathBytes(const QString& path);

}  // namespace velmark::ui
