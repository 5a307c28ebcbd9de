#pragma once
// Completing a QSO after a reader has filled the processing object's current record: the QSL
// route is brought to its normal form and decided (DIRECT, a QSL manager, or the station
// itself), the QSO date is checked, the input date format is settled with the user when it is
// not configured, the DXCC entity of the route's callsign is found, and the QSO is appended to
// TYM.LOG and entered into the index. A QSO whose date is unusable is reported and left out.

#include <cstdint>
#include <string>
#include <string_view>

#include "input/run_objects.h"

namespace velmark {

// The normal form of a QSL_VIA text, or the sign that it names conflicting routes.
struct QslViaNormalisation {
    // "DIRECT", a callsign, "DIRECT" and a callsign, or empty; upper case. A callsign alone
    // comes with a leading blank, which the caller trims.
    std::string Text;
    // The text names both the bureau and DIRECT: only the user can tell how the card goes.
    bool Conflict = false;
};

// Reads a QSL_VIA text word by word: a word with two letters and a digit is a callsign (the
// last one counts), a word beginning "DIRECT" asks for a direct card, one beginning "BUR" for
// the bureau; other words (VIA, QSL, MGR ...) are dropped.
QslViaNormalisation NormaliseQslVia(std::string_view text);

// True when a date text is worth reading as a date: a whole number (as 20080105), or a text
// whose first separator ("/", then ":", ".", "-", blank) does not stand first.
bool DateLooksValid(std::string_view text);

// The input date format codes 1..4 by their names, as the user types them.
inline constexpr std::string_view kInputDateFormatNames[] = {"YYYYMMDD", "DDMMYYYY", "YYYY-MM-DD",
                                                             "DD-MM-YYYY"};

// Completes the current record as QSO number qsoNumber. Returns true when it was appended to
// TYM.LOG and the index; false when it was rejected for its date (reported in the message
// list, RunStatus 2).
bool CompleteQso(RunObjects& run, std::int32_t qsoNumber);

// Asks for the input date format of the log (the current record is the first QSO with a usable
// date), sets InputDateFormat, tells the main window and stores the configuration.
void AskInputDateFormat(RunObjects& run);

}  // namespace velmark
