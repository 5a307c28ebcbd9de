#include "cabrillo/contest_template.h"

#include <algorithm>
#include <filesystem>

#include "core/ascii_case.h"
#include "core/errors.h"
#include "core/field_catalogue.h"
#include "core/program_values.h"
#include "core/text_encoding.h"
#include "core/text_lines.h"
#include "core/whole_file.h"
#include "output/output_sink.h"
#include "settings/configuration.h"
#include "settings/text_table.h"

namespace velmark {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kCreatedByKey = "Created BY:";
constexpr std::string_view kPersonalDataGap = "  ";
constexpr std::size_t kFieldNamesStart = 3;       // after "[["
constexpr std::size_t kCabrilloFormatsStart = 5;  // after "QSO:"
constexpr int kStoredFormatsLine = 7;
constexpr int kCabrilloFormatsLine = 9;

// A header key that the personal data complete, and with what.
struct PersonalDataKey {
    std::string_view Key;
    std::string (*Value)(const TPersonalInfo&);
};

const PersonalDataKey kPersonalDataKeys[] = {
    {"ARRL-SECTION:", [](const TPersonalInfo& p) { return p.ArrlSection; }},
    {"CALLSIGN:", [](const TPersonalInfo& p) { return p.Callsign; }},
    {"CLUB:", [](const TPersonalInfo& p) { return p.ClubCallsign; }},
    {"OPERATORS:", [](const TPersonalInfo& p) { return p.Callsign; }},
    {"NAME:", [](const TPersonalInfo& p) { return p.FirstAndLastName; }},
    {"ADDRESS1:", [](const TPersonalInfo& p) { return p.Address1; }},
    {"ADDRESS2:", [](const TPersonalInfo& p) { return p.Address2; }},
    {"ADDRESS3:", [](const TPersonalInfo& p) { return p.QthCity + " " + p.County + " " + p.Zip; }},
};

// A template saved by an editor that marks UTF-8 with a byte-order mark.
std::string readTemplateText(const std::string& path) {
    return OwnFileText(ReadWholeFile(path));
}

bool hasFieldNameLineEnd(std::string_view line) {
    const std::size_t last = line.find_last_not_of(' ');
    return last != std::string_view::npos && last >= 3 && line.substr(last - 1, 2) == "]]";
}

// The n-th word of a line, the words counted from a position (from 1); empty when missing.
std::string wordAt(std::string_view line, std::size_t start, int n) {
    std::string word;
    for (int k = 1; k <= n; ++k) {
        word = NextWord(line, start);
    }
    return word;
}

// Step 1 of the check: the sections are there and within their capacities.
void checkSections(const TemplateText& text, const std::string& name) {
    if (text.PatternLines.empty()) {
        throw TemplateError(TemplateProblem::NoFieldNameLine, name);
    }
    if (text.EndLine != kEndOfLogLine) {
        throw TemplateError(TemplateProblem::NoEndLine, name);
    }
    if (text.HeaderLines.empty()) {
        throw TemplateError(TemplateProblem::NoHeaderLine, name);
    }
    if (text.HeaderLines.size() > kMaxHeaderLines) {
        throw TemplateError(TemplateProblem::TooManyHeaderLines, name);
    }
    if (text.PatternLines.size() < kMinPatternLines) {
        throw TemplateError(TemplateProblem::TooFewPatternLines, name);
    }
}

// Step 2: the field names, at most 12, closed by "]]".
void takeFieldNames(const std::string& line, const std::string& name,
                    const TStrukturaADIF& catalogue, CabrilloTemplate& form) {
    if (!hasFieldNameLineEnd(line)) {
        throw TemplateError(TemplateProblem::NoFieldNameLineEnd, name);
    }
    form.FieldNames = FieldNamesOf(line);
    if (form.FieldCount() > kMaxTemplateFields) {
        throw TemplateError(TemplateProblem::TooManyFieldNames, name);
    }
    for (int k = 1; k <= form.FieldCount(); ++k) {
        form.FieldIndex[k] = FindFieldIndex(form.FieldNames[k - 1], catalogue);
    }
}

// Step 3: the stored formats of line 7 and the Cabrillo date format of line 9.
void takeFormats(const TemplateText& text, const std::string& name, CabrilloTemplate& form) {
    const std::string& stored = text.PatternLines[kStoredFormatsLine - 1];
    form.FreqUnitIn = wordAt(stored, 1, 1);
    form.DateFormatIn = wordAt(stored, 1, 2);
    if (form.DateFormatIn.empty()) {
        throw TemplateError(TemplateProblem::TooFewStoredFormats, name);
    }
    form.DateFormatOut =
        wordAt(text.PatternLines[kCabrilloFormatsLine - 1], kCabrilloFormatsStart, 3);
    if (form.DateFormatOut.empty()) {
        throw TemplateError(TemplateProblem::TooFewCabrilloFormats, name);
    }
}

// "*.FRM" as a Windows folder listing matches it: the extension in any letter case.
bool hasTemplateExtension(const std::string& name) {
    return name.size() > kTemplateExtension.size() &&
           UpperAscii(std::string_view(name).substr(name.size() - kTemplateExtension.size())) ==
               kTemplateExtension;
}

}  // namespace

std::string TemplateRefusalMessage(const TemplateError& error, const TNazwyJezykowe& texts) {
    const std::string* problem = nullptr;
    switch (error.Problem) {
        case TemplateProblem::NoFieldNameLine:
            problem = &texts.CabNoFieldNameLine;
            break;
        case TemplateProblem::NoEndLine:
            problem = &texts.CabNoEndLine;
            break;
        case TemplateProblem::NoHeaderLine:
            problem = &texts.CabNoHeaderLine;
            break;
        case TemplateProblem::TooManyHeaderLines:
            problem = &texts.CabTooManyHeaderLines;
            break;
        case TemplateProblem::TooManyFieldNames:
            problem = &texts.CabTooManyFieldNames;
            break;
        case TemplateProblem::NoFieldNameLineEnd:
            problem = &texts.CabNoFieldNameLineEnd;
            break;
        case TemplateProblem::TooFewPatternLines:
            problem = &texts.CabTooFewPatternLines;
            break;
        case TemplateProblem::TooFewStoredFormats:
            problem = &texts.CabTooFewStoredFormats;
            break;
        case TemplateProblem::TooFewCabrilloFormats:
            problem = &texts.CabTooFewCabrilloFormats;
            break;
    }
    return texts.CabTemplateRefused + error.TemplateName + *problem;
}

std::string NextWord(std::string_view line, std::size_t& cursor) {
    std::size_t start = cursor == 0 ? 0 : cursor - 1;
    while (start < line.size() && line[start] == ' ') {
        ++start;
    }
    std::size_t end = start;
    while (end < line.size() && line[end] != ' ') {
        ++end;
    }
    cursor = end + 1;
    return start < line.size() ? std::string(line.substr(start, end - start)) : std::string();
}

std::vector<std::string> FieldNamesOf(std::string_view fieldNameLine) {
    std::vector<std::string> names;
    std::size_t cursor = kFieldNamesStart;
    for (std::string word = NextWord(fieldNameLine, cursor); !word.empty() && word[0] != ']';
         word = NextWord(fieldNameLine, cursor)) {
        names.push_back(std::move(word));
    }
    return names;
}

int FindFieldIndex(std::string_view name, const TStrukturaADIF& catalogue) {
    return catalogue.FindField(name);  // kNoEntry, which is kNoField, for an unknown name
}

TemplateText SplitTemplateLines(const std::vector<std::string>& lines) {
    TemplateText text;
    auto line = lines.begin();
    for (; line != lines.end() && !line->starts_with(kFieldNameLineStart); ++line) {
        text.HeaderLines.push_back(*line);
    }
    for (; line != lines.end() && *line != kEndOfLogLine; ++line) {
        text.PatternLines.push_back(*line);
    }
    if (line != lines.end()) {
        text.EndLine = *line;  // lines after the end line belong to no section
    }
    return text;
}

TemplateText ReadTemplateFile(const std::string& path) {
    return SplitTemplateLines(SplitLines(readTemplateText(path)));
}

std::string CompleteHeaderLine(const std::string& line, const TPersonalInfo& personal,
                               const ProgramValues& values) {
    for (const PersonalDataKey& key : kPersonalDataKeys) {
        if (line == key.Key) {
            return line + std::string(kPersonalDataGap) + key.Value(personal);
        }
    }
    if (line.starts_with(kCreatedByKey)) {
        return std::string(kCreatedByKey) + std::string(kPersonalDataGap) + values.ProgramFileName +
               std::string(kPersonalDataGap) + values.VersionText +
               line.substr(kCreatedByKey.size());
    }
    return line;
}

CabrilloTemplate MakeCabrilloTemplate(const TemplateText& text, const std::string& templateName,
                                      const TPersonalInfo& personal, const ProgramValues& values,
                                      const TStrukturaADIF& catalogue) {
    checkSections(text, templateName);
    CabrilloTemplate form;
    form.PatternIndex = static_cast<int>(text.HeaderLines.size());
    for (int k = 1; k <= form.PatternIndex; ++k) {
        form.HeaderLines[k] = CompleteHeaderLine(text.HeaderLines[k - 1], personal, values);
    }
    form.FieldNameLine = text.PatternLines[0];
    takeFieldNames(form.FieldNameLine, templateName, catalogue, form);
    form.MaskLine = text.PatternLines[1];
    takeFormats(text, templateName, form);
    form.EndLine = text.EndLine;
    return form;
}

CabrilloTemplate LoadTemplate(const std::string& fileName, const TPersonalInfo& personal,
                              const ProgramValues& values, const TStrukturaADIF& catalogue) {
    const TemplateText text = ReadTemplateFile(TemplatePath(values.StartDirectory, fileName));
    return MakeCabrilloTemplate(text, fileName, personal, values, catalogue);
}

void WriteTemplateFile(const std::string& path, const TemplateText& text) {
    FileSink file(path);
    auto writeUpToEmptyLine = [&file](const std::vector<std::string>& lines) {
        for (const std::string& line : lines) {
            if (line.empty()) {
                return;
            }
            file.WriteLine(line);
        }
    };
    writeUpToEmptyLine(text.HeaderLines);
    writeUpToEmptyLine(text.PatternLines);
    file.WriteLine(text.EndLine);
    file.Close();
}

std::string TemplateFolder(const std::string& startDirectory) {
    return (fs::path(startDirectory) / kCabrilloFormFolder).string();
}

std::string TemplatePath(const std::string& startDirectory, const std::string& fileName) {
    return (fs::path(TemplateFolder(startDirectory)) / fileName).string();
}

std::vector<std::string> ListTemplates(const std::string& startDirectory) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator entry(TemplateFolder(startDirectory), error), end;
         !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (hasTemplateExtension(name) && entry->is_regular_file(error)) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> ReadExtraFieldNames(const std::string& path) {
    std::vector<std::string> names;
    for (std::string& line : SplitLines(readTemplateText(path))) {
        if (line.find_first_not_of(' ') == std::string::npos || line[0] == '{') {
            continue;
        }
        names.push_back(std::move(line));
    }
    return names;
}

}  // namespace velmark
