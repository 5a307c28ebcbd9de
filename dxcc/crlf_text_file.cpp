#include "dxcc/crlf_text_file.h"

#include "core/errors.h"
#include "core/replacing_file.h"
#include "core/text_encoding.h"
#include "core/text_lines.h"
#include "core/whole_file.h"

namespace velmark {

std::vector<NumberedLine> ReadTextLines(const std::string& path) {
    // A list saved by an editor that marks UTF-8 with a byte-order mark.
    const std::string bytes = OwnFileText(ReadWholeFile(path));

    std::vector<NumberedLine> lines;
    for (std::string& text : SplitLines(bytes))
        lines.push_back({std::move(text), static_cast<int>(lines.size()) + 1});
    return lines;
}

void WriteCrLfLines(const std::string& path, const std::vector<std::string>& lines) {
    ReplacingFile file(path);
    for (const std::string& line : lines) {
        file.Write(line);
        file.Write("\r\n");
    }
    file.Commit();
}

}  // namespace velmark
