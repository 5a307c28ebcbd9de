#pragma once
// The ADIF form of the output: a field is a tag with the value's length followed by the value,
// a record ends with <EOR> and an empty line, and the file begins with a header that copies
// the input log's ADIF header and closes with lines naming the program that wrote it.

#include <string>
#include <string_view>
#include <vector>

#include "output/output_sink.h"

namespace velmark {

class TNazwyJezykowe;
class TObiektyInputOutput;
struct ProgramValues;

// The two files a record can go to: the output the user named, and the part file open while
// the output is divided. Only their ADIF headers differ.
enum class OutputTarget { MainOutput = 0, PartOutput = 1 };

// The end of an ADIF record: the tag, the line end and an empty line.
inline constexpr std::string_view kAdifRecordEnd = "<EOR>\r\n\r\n";

// The tag, value and trailing blank of one field, "<CALL:6>N0CALL "; an empty value gives an
// empty text, leaving the field out of the record. No data type is written and the value is
// taken as it is: its length counts every character, blanks and angle brackets included, or,
// for a file written in UTF-8 (utf8Lengths), the bytes the value takes there, as the ADIF
// standard counts.
std::string AdifField(std::string_view name, std::string_view value, bool utf8Lengths = false);

// Writes the ADIF header: the input log's header lines up to its "<EOH>" line, then the
// closing block ("Translated by" line, maker line, "<EOH>"). An input header whose first line
// is empty is not copied; the file then begins with the closing block and one more empty line.
void WriteAdifHeader(OutputSink& target, OutputTarget which,
                     const std::vector<std::string>& inputHeaderLines, const ProgramValues& values,
                     const TNazwyJezykowe& texts);

// The header lines the input side kept, in order (none when the input log was not ADIF).
std::vector<std::string> AdifHeaderLinesOf(const TObiektyInputOutput& processing);

}  // namespace velmark
