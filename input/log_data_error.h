#pragma once
// A fault in the input log that stops the input phase: the user has to correct the file. The
// readers throw it with what they know (the problem, the tag or title concerned, the line); the
// input driver turns it into a message-list line in the user's language and ends the run with
// the data-error status.

#include <stdexcept>
#include <string>

namespace velmark {

enum class LogProblem {
    AdifHeaderWithoutEnd,  // no "<EOH>" within the 30 header lines there is room for
    AdifBadValueLength,    // a tag's length text is not a whole number
    UnclosedQuote,         // a double quote opened and never closed before the end of the log
    EmptyTitle,            // the title line has an empty title
    DuplicateTitle,        // the title line names one field twice
    UnusableTitle,         // a title that can never be a field ("EOR")
    CatalogueFull,         // a title finds no free catalogue entry
    BadCabrilloLayout,     // a layout of the Cabrillo layouts file cannot be used
};

class LogDataError : public std::runtime_error {
  public:
    // detail: the tag text or title concerned (may be empty); line: 0 when no line applies.
    LogDataError(LogProblem problem, std::string detail, int line)
        : std::runtime_error(detail), Problem(problem), Detail(std::move(detail)), Line(line) {}

    LogProblem Problem;
    std::string Detail;
    int Line;
};

}  // namespace velmark
