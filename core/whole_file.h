#pragma once
// Reading a whole file into memory: the small files the program reads at once (DXCC.LST, a
// country file, templates, label sheets, setup.ini, the help files it copies).

#include <string>

namespace velmark {

// The file's bytes as they are. A folder, a missing or unreadable file throws FileError with
// the system's message and the path.
std::string ReadWholeFile(const std::string& path);

}  // namespace velmark
