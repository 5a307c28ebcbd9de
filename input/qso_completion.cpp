#include "input/qso_completion.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>

#include "core/standard_fields.h"
#include "core/field_catalogue.h"
#include "core/processing_object.h"
#include "core/program_values.h"
#include "core/qso_record.h"
#include "core/user_interface.h"
#include "dxcc/callsign_resolver.h"
#include "dxcc/date_value.h"
#include "dxcc/dxcc_list.h"
#include "input/adif_reader.h"
#include "core/ascii_case.h"
#include "settings/configuration.h"
#include "settings/text_table.h"

namespace velmark {

namespace {

constexpr int kBandKind = StandardKind("BAND");
constexpr int kModeKind = StandardKind("MODE");
constexpr std::size_t kRouteCallsignSize = 16;
constexpr std::size_t kQslViaSize = 65;
constexpr std::size_t kCallKeySize = 7;
constexpr std::size_t kViaKeySize = 14;
constexpr char kCarriageReturn = '\r';  // joins the lines of a box's prompt

bool isLetter(char c) {
    return c >= 'A' && c <= 'Z';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A word counts as a callsign when it holds at least two letters and a digit: "Q9Q" and "Q0ZZ"
// are callsigns, "9A" (a prefix alone) and "DIRECT" are not.
bool looksLikeCallsign(std::string_view word) {
    return std::count_if(word.begin(), word.end(), isLetter) >= 2 &&
           std::any_of(word.begin(), word.end(), isDigit);
}

bool startsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

// True when the digits are, as a whole, a 32-bit number in the given base.
bool readsAsNumber(std::string_view digits, int base, bool negative) {
    if (digits.empty()) {
        return false;
    }
    std::uint64_t value = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return false;
    }
    if (base == 16) {
        return value <= std::numeric_limits<std::uint32_t>::max();
    }
    const std::uint64_t limit =
        static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) + (negative ? 1 : 0);
    return value <= limit;
}

// Whole numbers as the date check accepts them: optional leading blanks, an optional sign, then
// decimal digits, or hexadecimal digits after "$", "x" or "0x".
bool isWholeNumber(std::string_view text) {
    std::size_t pos = text.find_first_not_of(' ');
    if (pos == std::string_view::npos) {
        return false;
    }
    const bool negative = text[pos] == '-';
    if (text[pos] == '+' || text[pos] == '-') {
        ++pos;
    }
    const std::string_view rest = text.substr(pos);
    if (startsWith(rest, "$") || startsWith(rest, "x") || startsWith(rest, "X")) {
        return readsAsNumber(rest.substr(1), 16, negative);
    }
    if (startsWith(rest, "0x") || startsWith(rest, "0X")) {
        return readsAsNumber(rest.substr(2), 16, negative);
    }
    return readsAsNumber(rest, 10, negative);
}

std::string joinLines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        if (!text.empty()) {
            text += kCarriageReturn;
        }
        text += line;
    }
    return text;
}

// The question for a QSL_VIA that names both the bureau and DIRECT; the answer, in upper case,
// becomes the route. Cancel keeps the text as read.
std::string askQslRoute(RunObjects& run, const std::string& viaAsRead) {
    const QsoRecord& record = run.Processing.InputRecord;
    const TNazwyJezykowe& texts = run.Texts;
    const std::string qso =
        std::string(record.Slot(kCallKind)) + " " + std::string(record.Slot(kQsoDateKind)) + " " +
        std::string(record.Slot(kBandKind)) + " " + std::string(record.Slot(kModeKind));
    const std::string prompt = joinLines({texts.MsgQslViaForQso, qso, texts.MsgQslViaConflict,
                                          texts.MsgEnterQslViaAgain, texts.MsgQslViaValues});
    return UpperAscii(run.Ui.InputBox(texts.CapEnterQslVia, prompt, viaAsRead));
}

// Step 2: the QSL_VIA slot takes its normal form.
void normaliseRecordQslVia(RunObjects& run) {
    QsoRecord& record = run.Processing.InputRecord;
    const std::string viaAsRead(record.Slot(kQslViaKind));
    const QslViaNormalisation normal = NormaliseQslVia(viaAsRead);
    const std::string route = normal.Conflict ? askQslRoute(run, viaAsRead) : normal.Text;
    record.SetSlot(kQslViaKind, TrimBlanks(route).substr(0, kQslViaSize));
}

struct QslRoute {
    std::string Callsign;  // empty for DIRECT
    std::int32_t DefaultEntity = kEntityNoCallsign;
};

// Step 3: the card goes to the QSL manager when the log names one, else to the station itself.
// The DXCC list writes prefixes in capitals, so a callsign the log wrote in small letters is
// looked up in capitals (the record keeps it as written).
QslRoute decideRoute(const QsoRecord& record) {
    const std::string_view via = record.Slot(kQslViaKind);
    if (UpperAscii(via.substr(0, 6)) == "DIRECT") {
        return {"", kEntityDirect};
    }
    const std::string_view callsign = via.empty() ? record.Slot(kCallKind) : via;
    return {UpperAscii(callsign.substr(0, kRouteCallsignSize)), kEntityNoCallsign};
}

// The two message-list lines of a QSO whose date cannot be read.
void reportDateError(RunObjects& run, std::int32_t qsoNumber) {
    const QsoRecord& record = run.Processing.InputRecord;
    const TNazwyJezykowe& texts = run.Texts;
    run.Ui.AppendMessage(texts.MsgQsoWord + std::string(record.Slot(kCallKind)) + texts.MsgOnBand +
                         std::string(record.Slot(kBandKind)) + texts.MsgDateErrorInLine + " " +
                         std::to_string(qsoNumber) + " " + texts.MsgFieldEquals + " " +
                         std::string(record.Slot(kQsoDateKind)));
    run.Ui.AppendMessage(texts.MsgInputDataFile + " " + run.Values.InputFileName);
}

// Step 7: the entity of the route's callsign, or the route's special number.
void findEntity(RunObjects& run, const QslRoute& route, double dateValue) {
    QsoRecord& record = run.Processing.InputRecord;
    if (route.Callsign.empty()) {
        record.EntityAdifNr = record.EntityListNr = route.DefaultEntity;
        return;
    }
    const CallsignResolution found = ResolveCallsign(run.DxccList, route.Callsign, dateValue);
    if (found.Status == kResolveNoEntity) {
        record.EntityAdifNr = record.EntityListNr = kEntityUnknown;
        run.DxccList.Run.UnknownCalls += route.Callsign + ",";
        return;
    }
    record.EntityAdifNr = found.AdifNr;
    record.EntityListNr = found.ListNr;
    record.EntityLine = found.ListLine;
}

// Steps 8 and 9: the record goes to TYM.LOG and its keys to the index.
void storeQso(RunObjects& run) {
    const QsoRecord& record = run.Processing.InputRecord;
    run.Processing.InputTymLog->Append(record);
    QsoIndexEntry& entry = run.DxccList.Run.Index.At(record.QsoNr);
    entry.CallKey = record.Slot(kCallKind).substr(0, kCallKeySize);
    entry.ViaKey = record.Slot(kQslViaKind).substr(0, kViaKeySize);
    entry.EntityListNr = record.EntityListNr;
    entry.EntityAdifNr = record.EntityAdifNr;
    entry.QsoNr = record.QsoNr;
}

int dateFormatCode(std::string_view answer) {
    for (int code = 1; code <= 4; ++code) {
        if (answer == kInputDateFormatNames[code - 1]) {
            return code;
        }
    }
    return 0;
}

void settleInputDateFormat(RunObjects& run, int code) {
    run.Config.InputDateFormat = static_cast<std::uint8_t>(code);
    run.Ui.InputDateFormatChanged(code);
    if (!run.SetupIniPath.empty()) {
        ConfigWrite(run.Config, run.SetupIniPath);
    }
}

}  // namespace

QslViaNormalisation NormaliseQslVia(std::string_view text) {
    QslViaNormalisation result;
    const std::string upper = UpperAscii(TrimBlanks(text));
    bool directFound = false;
    bool bureauFound = false;
    std::string callsign;
    for (std::size_t pos = upper.find_first_not_of(' '); pos != std::string::npos;
         pos = upper.find_first_not_of(' ', pos)) {
        const std::size_t end = std::min(upper.find(' ', pos), upper.size());
        const std::string_view word = std::string_view(upper).substr(pos, end - pos);
        pos = end;
        if (looksLikeCallsign(word)) {
            callsign = word.substr(0, kRouteCallsignSize);
        }
        bureauFound = bureauFound || startsWith(word, "BUR");
        directFound = directFound || startsWith(word, "DIRECT");
        if (bureauFound && directFound) {
            result.Conflict = true;
            return result;
        }
    }
    result.Text = directFound ? "DIRECT" : "";
    if (!callsign.empty()) {
        result.Text += " " + callsign;
    }
    return result;
}

bool DateLooksValid(std::string_view text) {
    if (isWholeNumber(text)) {
        return true;
    }
    for (const char separator : {'/', ':', '.', '-', ' '}) {
        const std::size_t found = text.find(separator);
        if (found != std::string_view::npos) {
            return found >= 1;  // the separator must follow at least one character
        }
    }
    return false;
}

bool CompleteQso(RunObjects& run, std::int32_t qsoNumber) {
    QsoRecord& record = run.Processing.InputRecord;
    record.QsoNr = qsoNumber;
    normaliseRecordQslVia(run);
    const QslRoute route = decideRoute(record);
    if (!DateLooksValid(record.Slot(kQsoDateKind))) {
        reportDateError(run, qsoNumber);
        run.Values.RunStatus = 2;
        return false;
    }
    if (run.Config.InputDateFormat == 0) {
        AskInputDateFormat(run);
    }
    const double dateValue = ReadDateValue(record.Slot(kQsoDateKind), run.Config.InputDateFormat);
    findEntity(run, route, dateValue);
    storeQso(run);
    return true;
}

void AskInputDateFormat(RunObjects& run) {
    const QsoRecord& record = run.Processing.InputRecord;
    const TNazwyJezykowe& texts = run.Texts;
    // Until the user answers, the log is taken as YYYYMMDD, the ADIF form.
    settleInputDateFormat(run, 1);
    const std::string proposed(kInputDateFormatNames[0]);
    const std::string qso = std::string(record.Slot(kCallKind)) + "  " +
                            std::string(record.Slot(kBandKind)) + "  " +
                            std::string(record.Slot(kModeKind)) + texts.MsgDated +
                            std::string(record.Slot(kQsoDateKind));
    const std::string prompt =
        joinLines({texts.MsgFirstRecordQso, qso, texts.MsgAssumedFormat + proposed + " "});
    int code = 0;
    while ((code = dateFormatCode(
                run.Ui.InputBox(texts.CapEnterInputDateFormat, prompt, proposed))) == 0) {
        run.Ui.Beep();
    }
    settleInputDateFormat(run, code);
}

}  // namespace velmark
