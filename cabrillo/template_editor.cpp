#include "cabrillo/template_editor.h"

#include <filesystem>

#include "core/errors.h"
#include "core/standard_fields.h"
#include "core/user_interface.h"
#include "settings/text_table.h"

namespace velmark {
namespace {

constexpr std::size_t kFieldNamesStart = 3;  // after "[["
constexpr int kRulerColumns = 99;

// Where the k-th name of a field-name line lies, or where a new last name goes.
struct NamePlace {
    std::size_t Start = 0;   // from 0
    std::size_t Length = 0;  // 0: nothing to replace, insert at Start
    bool Found = false;
};

// Finds the k-th name, counting the words from the third character up to the one that begins
// with "]"; when the line has fewer names, the place is that closing word (or the line's end).
NamePlace findNamePlace(std::string_view line, int k) {
    std::size_t cursor = kFieldNamesStart;
    for (int n = 1;; ++n) {
        const std::string word = NextWord(line, cursor);
        const std::size_t start = cursor - 1 - word.size();
        if (word.empty() || word[0] == ']') {
            return {word.empty() ? line.size() : start, 0, false};
        }
        if (n == k) {
            return {start, word.size(), true};
        }
    }
}

bool isBlankName(std::string_view name) {
    return name.empty() || name == " ";
}

// One of the two ruler lines under the mask: read downwards, they give the column numbers
// 1 to 99 (the tens digit for a step of 10, the units digit for a step of 1).
std::string columnRuler(int step) {
    std::string ruler;
    for (int column = 1; column <= kRulerColumns; ++column) {
        ruler += static_cast<char>('0' + column / step % 10);
    }
    return ruler;
}

}  // namespace

TemplateText NewContestTemplate() {
    TemplateText text;
    text.HeaderLines = {
        "START-OF-LOG: 3.0",
        "ARRL-SECTION:",
        "CALLSIGN:",
        "CLUB:",
        "CONTEST:",
        "CATEGORY:",
        "CLAIMED-SCORE:",
        "OPERATORS:",
        "NAME:",
        "ADDRESS1:",
        "ADDRESS2:",
        "ADDRESS3:",
        "Created BY:    author KOLDAR ",
    };
    text.PatternLines = {
        "[[   FREQ MODE QSO_DATE TIME_ON  OPERATOR_  RST_SENT STX CALL    RST_RCVD SRX ]]",
        "QSO: ##### ## ########## #### ############# ### ###### ############# ### ######",
        "QSO: 14085 RY 2008-01-05 1807 N0CALL        599 0001   Q1AAA         599 0003  ",
        columnRuler(10),
        columnRuler(1),
        "//Input format for freuency , QSO_DATE and TIME_ON",
        "      MHZ     yyyymmdd   hhmm",
        "//Output format for QSO_DATE and rest field from "
        "https://wwrof.org/cabrillo/cabrillo-qso-data/",
        "QSO: ***** ** yyyy-mm-dd nnnn ************* nnn ****** ************* nnn ****** ",
        "QSO:  3799 PH 2008-01-05 0711 N0CALL        59  0001   Q1AAA         59  0003",
    };
    text.EndLine = kEndOfLogLine;
    return text;
}

std::vector<std::string> ContestListEntries(const std::vector<std::string>& templateNames,
                                            const TNazwyJezykowe& texts) {
    std::vector<std::string> entries{texts.CabNewContest};
    entries.insert(entries.end(), templateNames.begin(), templateNames.end());
    return entries;
}

std::vector<std::string> FieldChoices(const std::vector<std::string>& extraNames) {
    std::vector<std::string> choices{std::string(kNoFieldChoice)};
    for (const StandardField& field : kStandardFields) {
        choices.emplace_back(field.Name);
    }
    choices.insert(choices.end(), extraNames.begin(), extraNames.end());
    return choices;
}

std::string PlaceFieldName(std::string_view fieldNameLine, int k, std::string_view name) {
    std::string line(fieldNameLine);
    if (name == kNoFieldChoice) {
        return line;
    }
    const NamePlace place = findNamePlace(fieldNameLine, k);
    if (place.Found) {
        return line.replace(place.Start, place.Length, name);
    }
    if (place.Start == line.size()) {
        // No closing "]]" to put the name before: close the line after it.
        return line + " " + std::string(name) + " ]]";
    }
    return line.insert(place.Start, std::string(name) + " ");
}

std::optional<std::string> SaveTemplate(std::string_view fileName, const TemplateText& content,
                                        const std::string& startDirectory,
                                        const TNazwyJezykowe& texts, UserInterface& ui) {
    // 1. A name is needed.
    if (isBlankName(fileName)) {
        ui.ErrorBox(texts.CabOutputNameRequired, BoxOffset::Standard);
        return std::nullopt;
    }
    // 2. A name without an extension becomes a template file name.
    std::string name(fileName);
    if (name.find('.') == std::string::npos) {
        name += kTemplateExtension;
    }
    // 3. Written into CABRILLO_FORM, replacing a file of that name without asking.
    const std::string folder = TemplateFolder(startDirectory);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        throw FileError(error.message() + ": " + folder, folder);
    }
    WriteTemplateFile(TemplatePath(startDirectory, name), content);
    return name;
}

}  // namespace velmark
