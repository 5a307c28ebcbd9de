#pragma once
// Cabrillo contest templates. Contest logs differ in their header lines and in the columns of
// their QSO lines, so a Cabrillo file is written through a template (a ".FRM" file in the
// folder CABRILLO_FORM of the start directory) with three sections:
// - the header lines, written into the Cabrillo file as they stand, except that a few keys
//   ("CALLSIGN:", "NAME:", ...) are completed with the station's personal data;
// - the pattern, from the first line beginning with "[[" up to the line "END-OF-LOG:". Its line 1
//   names the fields of the QSO line ("[[ FREQ MODE ... ]]"), line 2 is the mask (a run of "#"
//   per field, or of "@" for double width), line 7 gives the frequency unit and the date format
//   the log stores, and line 9 (after "QSO:") the date format the Cabrillo file wants as its
//   third word; the other lines are free for the user's examples and notes;
// - the end line "END-OF-LOG:".
// Template files are code page 1250 text; any of CR LF, LF and CR ends a line when they are read,
// and they are written with CR LF.

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/one_based_array.h"

namespace velmark {

class TNazwyJezykowe;
class TStrukturaADIF;
struct ProgramValues;
struct TPersonalInfo;

inline constexpr const char* kCabrilloFormFolder = "CABRILLO_FORM";
inline constexpr const char* kExtraFieldNamesFile =
    "Non_standardADIF_addition_field_for_cabrillo.txt";
inline constexpr std::string_view kTemplateExtension = ".FRM";
inline constexpr std::string_view kFieldNameLineStart = "[[";
inline constexpr std::string_view kEndOfLogLine = "END-OF-LOG:";
inline constexpr int kMaxHeaderLines = 28;
inline constexpr int kMaxTemplateFields = 12;
inline constexpr int kMinPatternLines = 9;
// FieldIndex of a name the catalogue does not know: its slot is written blank.
inline constexpr int kNoField = 0;

// A template as its file holds it, and as the editor shows it: header lines without the
// personal data, the pattern lines, and the end line (empty when the file has none).
struct TemplateText {
    std::vector<std::string> HeaderLines;
    std::vector<std::string> PatternLines;
    std::string EndLine;

    bool operator==(const TemplateText&) const = default;
};

// A template loaded for writing a Cabrillo file.
struct CabrilloTemplate {
    // The header lines, completed with the personal data.
    OneBasedArray<std::string, kMaxHeaderLines> HeaderLines;
    // The number of header lines.
    int PatternIndex = 0;
    // Pattern line 1: "[[", the field names, "]]".
    std::string FieldNameLine;
    // The names of FieldNameLine, in order, and the catalogue entry of each (kNoField when the
    // catalogue does not know the name).
    std::vector<std::string> FieldNames;
    OneBasedArray<int, kMaxTemplateFields> FieldIndex{};
    // Pattern line 2.
    std::string MaskLine;
    // Words 1 and 2 of pattern line 7: "MHZ" or "KHZ", and the stored date format.
    std::string FreqUnitIn;
    std::string DateFormatIn;
    // Word 3 of pattern line 9 counted after "QSO:": the Cabrillo date format.
    std::string DateFormatOut;
    std::string EndLine{kEndOfLogLine};

    int FieldCount() const { return static_cast<int>(FieldNames.size()); }
};

// What makes a template unusable; a template with any of these is refused as a whole.
enum class TemplateProblem {
    NoFieldNameLine,       // no line begins with "[["
    NoEndLine,             // no line "END-OF-LOG:" after the field-name line
    NoHeaderLine,          // nothing before the field-name line
    TooManyHeaderLines,    // more than 28 header lines
    TooManyFieldNames,     // more than 12 names in the field-name line
    NoFieldNameLineEnd,    // the field-name line does not end with "]]"
    TooFewPatternLines,    // fewer than 9 pattern lines
    TooFewStoredFormats,   // line 7 lacks the frequency unit or the stored date format
    TooFewCabrilloFormats  // line 9 lacks the Cabrillo date format
};

class TemplateError : public std::runtime_error {
  public:
    TemplateError(TemplateProblem problem, std::string templateName)
        : std::runtime_error(templateName),
          Problem(problem),
          TemplateName(std::move(templateName)) {}

    TemplateProblem Problem;
    std::string TemplateName;
};

// The refusal as one message-list line: the template's name and what is wrong with it.
std::string TemplateRefusalMessage(const TemplateError& error, const TNazwyJezykowe& texts);

// The next blank-separated word at or after the cursor (a position from 1), leaving the cursor
// just after the word; an empty text when only blanks are left.
std::string NextWord(std::string_view line, std::size_t& cursor);

// The names of a field-name line, taken from its third character up to a word that begins with
// "]" or the end of the line (all of them, even beyond 12).
std::vector<std::string> FieldNamesOf(std::string_view fieldNameLine);

// The catalogue entry of a field name (exact, case-sensitive), standard names and the extra
// names the current log brought alike; kNoField when the catalogue does not know it.
int FindFieldIndex(std::string_view name, const TStrukturaADIF& catalogue);

// Splits a template's lines into its sections. Never refuses: a file without a "[[" line is
// all header, one without "END-OF-LOG:" has an empty EndLine (MakeCabrilloTemplate refuses
// such a template; the editor shows it so that the user can repair it).
TemplateText SplitTemplateLines(const std::vector<std::string>& lines);

// Reads a template file into its sections; FileError when it cannot be read.
TemplateText ReadTemplateFile(const std::string& path);

// The loaded form of a template: header completed with the personal data and the program's
// name and version, field names looked up, formats taken. Throws TemplateError (naming
// templateName) when the template breaks the layout.
CabrilloTemplate MakeCabrilloTemplate(const TemplateText& text, const std::string& templateName,
                                      const TPersonalInfo& personal, const ProgramValues& values,
                                      const TStrukturaADIF& catalogue);

// Reads and loads the template of that file name in CABRILLO_FORM; FileError when it cannot be
// read, TemplateError when it breaks the layout.
CabrilloTemplate LoadTemplate(const std::string& fileName, const TPersonalInfo& personal,
                              const ProgramValues& values, const TStrukturaADIF& catalogue);

// A header line completed with the personal data, or the line unchanged.
std::string CompleteHeaderLine(const std::string& line, const TPersonalInfo& personal,
                               const ProgramValues& values);

// Writes a template file, created or replaced: the header lines up to the first empty one, the
// pattern lines up to the first empty one, and the end line, each ended by CR LF. FileError
// when it cannot be written.
void WriteTemplateFile(const std::string& path, const TemplateText& text);

// CABRILLO_FORM in the start directory, and the path of a template file in it.
std::string TemplateFolder(const std::string& startDirectory);
std::string TemplatePath(const std::string& startDirectory, const std::string& fileName);

// The names (with extension) of the ".FRM" files in CABRILLO_FORM, the extension matched in any
// letter case, sorted by name; empty when the folder is missing.
std::vector<std::string> ListTemplates(const std::string& startDirectory);

// The extra field names of Non_standardADIF_addition_field_for_cabrillo.txt, in file order,
// without empty lines, lines of blanks and comment lines (first character "{"). FileError
// when the file cannot be read.
std::vector<std::string> ReadExtraFieldNames(const std::string& path);

}  // namespace velmark
