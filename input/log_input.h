#pragma once
// The input phase of a sort or translation run: the whole input log, of the configured type,
// read into TYM.LOG and the QSO index, each QSO completed on the way.

#include <cstdint>

#include "input/run_objects.h"

namespace velmark {

// Reads run.Values.InputFileName, an ADIF log (kind.FieldSeparator "<>"), a CSV log (","), a
// TXT log (" ") or a Cabrillo log (kind.CabrilloInput, with its column names from
// fields_name_cabrillo_format.txt in the start directory). It first resets the run state
// (column list, counters, UnknownCalls, ADIF header) and then:
// - fills the column list from the title line or from the fields the ADIF records name;
// - appends every QSO with a usable date to TYM.LOG in run.Values.StartDirectory and enters it
//   into the index at position QsoNr; QSOs with an unusable date are reported in the message
//   list, one after another, and not stored;
// - reports lines whose number of fields differs from the columns (they are still read);
// - sets QsoCount to the number of QSOs read (also when the phase ends by an error),
//   LastColumnName, and the progress bar as it goes, ending at 100.
// RunStatus becomes 2 when a QSO was rejected for its date or the log cannot be read on (a
// fault of the file, more than 200,000 QSOs), with the reason in the message list; otherwise
// it stays as the caller set it. File-system failures throw FileError after TYM.LOG is closed.
void ReadLogIntoRun(RunObjects& run, const InputKind& kind);

// The progress bar after qsoCount QSOs of a log of logSize bytes, reckoning 330 bytes a QSO:
// qsoCount * 100 / (logSize / 330), rounded half to even, at most 100.
int InputProgressPercent(std::int64_t qsoCount, std::int64_t logSize);

}  // namespace velmark
