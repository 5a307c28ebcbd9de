#pragma once
// The four commands of velmark-batch, run over the same core as the desktop program, so the
// files a batch run writes are byte-identical to those of the same run in the window.

#include <iosfwd>
#include <string>
#include <vector>

#include "batch/batch_options.h"

namespace velmark::batch {

// Exit statuses.
inline constexpr int kExitDone = 0;
inline constexpr int kExitRefused = 1;    // the run was refused or its data had errors
inline constexpr int kExitUsage = 2;      // wrong usage
inline constexpr int kExitFileError = 3;  // a file could not be read or written

// Parses and runs a command line (the words after the program name).
int RunBatchCommandLine(const std::vector<std::string>& words, std::ostream& out,
                        std::ostream& err);

// Runs one parsed command line; messages to out, errors to err. Returns the exit status.
int RunBatch(const BatchOptions& options, std::ostream& out, std::ostream& err);

}  // namespace velmark::batch
