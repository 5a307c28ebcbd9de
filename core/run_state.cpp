#include "core/run_state.h"

namespace velmark {

void RunState::ResetForNewRun() {
    Index.Clear();
    QsoCount = 0;
    CountryGroupCount = 0;
    UnknownCalls.clear();
    Columns.Clear();
    PreviousChar.clear();
    PushbackChar = 0;
}

}  // namespace velmark
