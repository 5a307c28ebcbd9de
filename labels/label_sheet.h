#pragma once
// Label sheets: where the labels of a sheet of self-adhesive labels lie on the page, read from
// a small text file the user can edit. The same file describes a roll printer (one label a
// page) and QSL cards printed directly (one card a page, the table at an offset). The bundled
// presets are such files too, in the folder LABEL_SHEETS of the start directory:
//
//   # Avery L7160: 21 labels of 63.5 x 38.1 mm on A4
//   Name = Avery L7160 (3 x 7, 63.5 x 38.1 mm)
//   Page = A4
//   TopMargin = 15.15
//   LeftMargin = 7.2
//   Columns = 3
//   Rows = 7
//   ColumnGap = 2.54
//   LabelWidth = 63.5
//   LabelHeight = 38.1
//   FontSize = 8
//
// Lengths are millimetres (a decimal point or comma, an optional "mm"), FontSize points. Lines
// starting with "#" or ";" are comments; keys are matched without regard to letter case.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmark {

class TNazwyJezykowe;

// The folder of sheet files in the start directory, and their extension.
inline constexpr const char* kLabelSheetFolder = "LABEL_SHEETS";
inline constexpr const char* kLabelSheetExtension = ".sheet";

// Below this size a QSO table is hard to read on a label; above the largest one it makes no
// sense on any label.
inline constexpr double kMinReadableFontSize = 6.0;
inline constexpr double kMaxFontSize = 36.0;

// A rectangle in millimetres, from the page's top-left corner (or the label's, where said).
struct MmRect {
    double X = 0;
    double Y = 0;
    double Width = 0;
    double Height = 0;
};

struct LabelSheet {
    std::string FileName;  // the file's name in the folder, "L7160.sheet"
    std::string Title;     // its Name, or the file name without extension
    double PageWidth = 0;
    double PageHeight = 0;
    double TopMargin = 0;   // page edge to the first row's top
    double LeftMargin = 0;  // page edge to the first column's left side
    int Columns = 0;
    int Rows = 0;
    double ColumnGap = 0;  // between two labels side by side
    double RowGap = 0;     // between two labels one above the other
    double LabelWidth = 0;
    double LabelHeight = 0;
    double FontSize = 8;   // the QSO table's size in points, made smaller when it does not fit
    bool Outline = false;  // draw each label's outline (plain paper, test prints)

    int LabelsPerPage() const { return Columns * Rows; }
    // The label at a place on the page (0 = top-left, row by row): its rectangle on the page.
    MmRect Cell(int slotOnPage) const;
};

// What is wrong with a sheet file. The message names the file, the key and its value.
enum class SheetFault {
    Unreadable,        // the file cannot be read (Value: the system's message)
    NotKeyValue,       // a line that is not KEY = VALUE
    UnknownKey,        // a key no sheet has
    NotANumber,        // a value that is not a number (or a yes/no word for Outline)
    OutOfRange,        // a number outside what the key allows
    MissingKey,        // a key every sheet needs
    Overlap,           // a negative gap: neighbouring labels overlap
    BeyondPage,        // the labels reach past the page's right or bottom edge
    FontTooSmall,      // FontSize below the readable size
    TooSmallForTable,  // no readable font size fits the QSO table into the label
};

struct SheetProblem {
    SheetFault Fault = SheetFault::Unreadable;
    int Line = 0;       // line of the file, 0 when the problem is not one line's
    std::string Key;    // the key concerned, as the sheet format names it
    std::string Value;  // its value, as written or as read
    // Extra numbers for the geometry faults: the allowed range (OutOfRange), where the labels
    // end (BeyondPage), what the table needs (TooSmallForTable), in mm.
    std::string Detail;
};

struct SheetReadResult {
    std::optional<LabelSheet> Sheet;
    std::optional<SheetProblem> Problem;
};

// Reads the sheet from text (the file's bytes) and checks its geometry: every label on the
// page, no two labels overlapping, a readable font size. fileName names it in the result.
SheetReadResult ParseLabelSheet(std::string_view text, const std::string& fileName);

// Reads and checks the sheet file at path.
SheetReadResult ReadLabelSheet(const std::string& path);

// The sheet files of the start directory's folder, by name (letter case aside).
std::vector<std::string> ListLabelSheets(const std::string& startDirectory);

// The path of the sheet file a name means: a file name of the folder, with or without the
// extension, letter case aside. Nothing when there is no such file.
std::optional<std::string> FindLabelSheet(const std::string& startDirectory,
                                          const std::string& name);

// The full path of a file in the sheet folder.
std::string LabelSheetPath(const std::string& startDirectory, const std::string& fileName);

// The message for the error box, in the texts' language: the refusal naming the file, a
// carriage return, then what is wrong, naming the key and the value.
std::string SheetProblemMessage(const SheetProblem& problem, const std::string& fileName,
                                const TNazwyJezykowe& texts);

// A length or size as the messages and the sheet list show it: at most two decimals, no
// trailing zeros ("63.5", "7.25", "210").
std::string MmText(double value);

}  // namespace velmark
