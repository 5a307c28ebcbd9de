#pragma once
// The lines of a text file read whole: CR LF, LF alone and CR alone each end one, as files from
// every system and editor end them.

#include <string>
#include <string_view>
#include <vector>

namespace velmark {

// Splits text into lines without their line ends; a last line without a line end counts.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace velmark
