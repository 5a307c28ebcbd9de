#pragma once
// The report of a sort run: a summary of the counts and the files written, shown in the
// message list and kept in Report.txt in the output directory. The message list and the file
// differ slightly: the list indents its title, draws longer rules and ends by pointing to
// Report.txt; the file names the last part file by the path the run driver built.

#include <cstdint>
#include <string>
#include <vector>

#include "output/output_sink.h"

namespace velmark {

class TNazwyJezykowe;
class UserInterface;

inline constexpr const char* kReportFileName = "Report.txt";

// The values the run driver hands over at the end of a sort run.
struct RunReport {
    std::int32_t QsoCount = 0;
    // Records written to the main output (QSOs and fillers) divided by QSOs per card.
    std::int32_t CardCount = 0;
    std::int32_t CountryGroupCount = 0;
    std::string UnknownCalls;     // each callsign followed by ","
    std::string OutputFileName;   // full path of the main output
    std::string OutputDirectory;  // without a trailing separator
    bool Divided = false;
    std::string LastPartFileName;  // full path of the last part file, when divided
};

// The lines of the report as the message list shows them.
std::vector<std::string> ReportMessageLines(const RunReport& report, const TNazwyJezykowe& texts);

// The lines of Report.txt.
std::vector<std::string> ReportFileLines(const RunReport& report, const TNazwyJezykowe& texts);

// Report.txt in the output directory.
std::string ReportFilePath(const RunReport& report);

// Writes Report.txt into the output directory, then puts the report into the message list.
// When the file cannot be written the list still gets the counts but not the line that says
// the report was saved, and the FileError goes on to the caller.
void WriteRunReport(const RunReport& report, const TNazwyJezykowe& texts, UserInterface& ui);

// The same with the file's sink given (a test's, or one the caller opened).
void WriteRunReport(const RunReport& report, const TNazwyJezykowe& texts, UserInterface& ui,
                    OutputSink& reportFile);

}  // namespace velmark
