#include "output/adif_writer.h"

#include "core/processing_object.h"
#include "core/program_values.h"
#include "core/text_encoding.h"
#include "settings/text_table.h"

namespace velmark {

namespace {

constexpr std::string_view kEndOfHeader = "<EOH>";

// The lines that close every header this program writes. The main output names the program
// and its version; a part file names the application title with a fixed version text.
void writeClosingBlock(OutputSink& target, OutputTarget which, const ProgramValues& values,
                       const TNazwyJezykowe& texts) {
    target.WriteLine("");
    if (which == OutputTarget::MainOutput) {
        target.WriteLine(texts.AdifTranslatedBy + values.ProgramFileName + texts.AdifVersionLabel +
                         values.VersionText);
    } else {
        target.WriteLine(texts.AdifTranslatedBy + kApplicationTitle + texts.AdifPartFileVersion);
    }
    target.WriteLine(texts.AdifMakerLine);
    target.WriteLine(kEndOfHeader);
    target.WriteLine("");
}

}  // namespace

std::string AdifField(std::string_view name, std::string_view value, bool utf8Lengths) {
    if (value.empty()) {
        return {};
    }
    std::string field;
    field.reserve(name.size() + value.size() + 8);
    field += '<';
    field += name;
    field += ':';
    field += std::to_string(utf8Lengths ? Utf8Length(value) : value.size());
    field += '>';
    field += value;
    field += ' ';
    return field;
}

void WriteAdifHeader(OutputSink& target, OutputTarget which,
                     const std::vector<std::string>& inputHeaderLines, const ProgramValues& values,
                     const TNazwyJezykowe& texts) {
    // A log that was not ADIF has no header lines, which reads as an empty first line.
    const bool firstLineEmpty = inputHeaderLines.empty() || inputHeaderLines.front().empty();
    if (firstLineEmpty) {
        writeClosingBlock(target, which, values, texts);
        target.WriteLine("");
        return;
    }
    for (const std::string& line : inputHeaderLines) {
        if (line == kEndOfHeader) {
            writeClosingBlock(target, which, values, texts);
            return;
        }
        target.WriteLine(line);
    }
    // The kept lines ended without "<EOH>": close the header all the same, since a header
    // without its end would make every record of the file part of the header.
    writeClosingBlock(target, which, values, texts);
}

std::vector<std::string> AdifHeaderLinesOf(const TObiektyInputOutput& processing) {
    std::vector<std::string> lines;
    const int count = processing.AdifHeaderLineCount;
    for (int i = 1; i <= count && i <= kMaxAdifHeaderLines; ++i) {
        lines.push_back(processing.AdifHeaderLines[i]);
    }
    return lines;
}

}  // namespace velmark
