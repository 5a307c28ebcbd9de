#pragma once
// Whole-file reading and writing of the DXCC subsystem's text files: lines are bytes (code page
// 1250, never converted) and every written line ends with carriage return and line feed.

#include <string>
#include <vector>

namespace velmark {

struct NumberedLine {
    std::string Text;  // without its line end
    int Number = 0;    // 1-based line number in the file
};

// Splits a file into lines; CR LF, LF alone and CR alone each end a line, and a last line
// without a line end counts too. A file that begins with a UTF-8 byte-order mark is read as
// UTF-8 into code page 1250. Throws FileError when the file cannot be read.
std::vector<NumberedLine> ReadTextLines(const std::string& path);

// Replaces the file with the given lines, each followed by CR LF; the old file stays whole until
// the new one is complete. Throws FileError on failure.
void WriteCrLfLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace velmark
