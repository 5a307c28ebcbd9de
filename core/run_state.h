#pragma once
// The state of one sort or translation run: the QSO index, the counters, the column list and
// the field reader's character memory. It belongs to the DXCC list object, so it lives from
// the command that loads the list to the run's finish button; a new run resets it.

#include <cstdint>
#include <string>

#include "core/field_catalogue.h"
#include "core/qso_index.h"
#include "core/qso_record.h"

namespace velmark {

struct RunState {
    QsoIndex Index;
    std::int32_t QsoCount = 0;
    std::int32_t CountryGroupCount = 0;
    std::string UnknownCalls;  // each unknown QSL-route callsign followed by ","
    ColumnList Columns;
    // The CSV/TXT field reader's memory: the last character handled and one read ahead.
    std::string PreviousChar;  // at most 1 character
    char PushbackChar = 0;     // 0 for none
    // The output side's current record (read back from TYM.LOG).
    QsoRecord OutputRecord;

    // Empties everything a new run must start without (the input driver calls it first).
    // Defined here: core/run_*.cpp files belong to the run driver's layer, above this one.
    void ResetForNewRun() {
        Index.Clear();
        QsoCount = 0;
        CountryGroupCount = 0;
        UnknownCalls.clear();
        Columns.Clear();
        PreviousChar.clear();
        PushbackChar = 0;
    }
};

// True when the QSO after sorted position `position` has the same callsign: on the cards it
// goes with this one.
inline bool NextQsoHasSameCall(const RunState& state, int position) {
    return position < state.QsoCount &&
           state.Index.At(position).CallKey == state.Index.At(position + 1).CallKey;
}

}  // namespace velmark
