#pragma once
// The conductor of a sort or translation run: ReadInputLog reads the whole log into TYM.LOG and
// the index; WriteRun sorts (sort runs), asks for the output file, writes the main output, the
// part files, COUNTRY.CSV and the report, or hands Cabrillo output to the Cabrillo export.
// Both report through the user interface and throw FileError on file-system failures; the
// command that called them catches it and shows it in the error box.

#include "core/country_groups.h"
#include "core/sorting.h"
#include "input/run_objects.h"

namespace velmark {

class TNazwyJezykowe;

// The sort's caption and QSL-manager question in the texts' language.
SortTexts SortTextsOf(const TNazwyJezykowe& texts);

// Reads Values.InputFileName into the run's structures. Sets Values.RunStatus to 2 when a QSO
// was rejected or the log cannot be processed (with the reason in the message list); leaves it
// as the caller set it (0) otherwise.
void ReadInputLog(RunObjects& run, const InputKind& kind);

// Everything after the input phase (call only with RunStatus 0). Returns when the output is
// written, when the user cancelled the save dialog, or when the Cabrillo export has ended:
// true when the output was written or handed to the Cabrillo export, false when the run was
// refused (the reason is in the message list) or no output file was chosen.
bool WriteRun(RunObjects& run);

// After a sort by entity: splits the sorted positions into runs of equal EntityListNr (the
// country groups), sorts each run by callsign and notes its first and last callsign. False,
// with a message, past the table's capacity. The labels run shares it with WriteRun.
bool FormCountryGroups(RunObjects& run, CountryGroupTable& groups);

}  // namespace velmark
