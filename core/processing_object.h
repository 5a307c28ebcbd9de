#pragma once
// The processing object: the input side's state of a run and the output file's name. It is
// created by the first start of a run and released by the run's finish button.

#include <memory>
#include <string>

#include "core/one_based_array.h"
#include "core/qso_record.h"
#include "core/tym_log.h"

namespace velmark {

inline constexpr int kMaxAdifHeaderLines = 30;

class TObiektyInputOutput {
  public:
    // Lines 1..30 of an ADIF log's header, "<EOH>" included; the ADIF writer copies them.
    OneBasedArray<std::string, kMaxAdifHeaderLines> AdifHeaderLines;
    // Number of header lines held in AdifHeaderLines (0 when the log has none).
    int AdifHeaderLineCount = 0;
    // Set by the field reader when the field it returned was the last of its line or record.
    bool EndOfLine = false;
    // The QSO being read; emptied with Clear() before each QSO, then appended to TYM.LOG.
    QsoRecord InputRecord;
    // Full path of the main output file chosen in the save dialog.
    std::string OutputFileName;
    // The input side's handle of TYM.LOG (created empty when the input phase begins).
    std::unique_ptr<TymLog> InputTymLog;

    // Forgets the previous run's ADIF header, which a new run must not copy.
    void ClearAdifHeader() {
        AdifHeaderLines.fill({});
        AdifHeaderLineCount = 0;
    }
};

}  // namespace velmark
