#pragma once
// Column layouts of Cabrillo QSO lines, chosen by contest. What stands after the two callsigns
// of a QSO line (the exchange) differs from contest to contest: a zone in CQ-WW, a serial number
// in CQ-WPX, serial, precedence, check and section in ARRL Sweepstakes, a grid square in VHF
// contests. The log names its contest in its header ("CONTEST: CQ-WW-CW"), and the user-editable
// file cabrillo_contest_layouts.txt in the start directory maps contest names to column lists.
// A contest it does not list is read with the one column list of
// fields_name_cabrillo_format.txt, as before.
//
// The file: one layout a line, a contest pattern ("*" stands for any run of characters, letter
// case aside) and then the catalogue names of the line's fields in order, "-" for a field that
// is read and dropped (the word "QSO:", the sent data the log has no field for). Lines that
// begin with "#" and empty lines are comments. The first pattern that matches the contest
// chooses; every line with that same pattern is one layout of the contest, for QSO lines that
// leave out an exchange the contest allows to leave out (see CsvReader::UseCabrilloLayouts).

#include <string>
#include <string_view>
#include <vector>

#include "core/field_catalogue.h"
#include "input/csv_reader.h"

namespace velmark {

inline constexpr const char* kCabrilloLayoutsFile = "cabrillo_contest_layouts.txt";
inline constexpr std::string_view kDroppedField = "-";

// One layout line of the file.
struct CabrilloLayoutLine {
    std::vector<std::string> Names;
    int Line = 0;  // line of the file, from 1
};

// True when a contest name matches a pattern: letter case aside, "*" stands for any run of
// characters (none included), everything else for itself.
bool ContestMatches(std::string_view pattern, std::string_view contest);

// The layouts of a contest in the file's text (code page 1250): the lines of the first pattern
// that matches it, in file order. None when no pattern matches or the contest is empty.
std::vector<CabrilloLayoutLine> LayoutsForContest(std::string_view fileText,
                                                  std::string_view contest);

// Enters the names of the layouts into the catalogue and, in order of their first appearance,
// into the run's columns, and gives each layout's fields their entries and its CALL field.
// Throws LogDataError (BadCabrilloLayout, the layout's line and the name) for a layout without
// names, a name given twice in one layout and a name that finds the catalogue full.
std::vector<CabrilloColumns> RegisterCabrilloLayouts(const std::vector<CabrilloLayoutLine>& layouts,
                                                     TStrukturaADIF& catalogue,
                                                     ColumnList& columns);

}  // namespace velmark
