#pragma once
// The 121 field names the catalogue knows from the start, in entry order, each with the size of
// the QSO record text slot its kind selects. Kept as compile-time data so that the record layout
// (field_catalogue.cpp, qso_record.cpp) can be computed and checked while compiling.

#include <array>
#include <string_view>

namespace velmark {

struct StandardField {
    std::string_view Name;
    int SlotSize;  // largest number of characters; 0 for QSO_NUM, which is the integer QsoNr
};

inline constexpr int kExtraFieldSlotSize = 15;  // slots of the names the catalogue learns
inline constexpr int kMaxFieldNameLength = 35;

// Entry n of the catalogue is element n - 1 (so its kind is the element's index).
// "CLASS_" keeps its underscore: the ADIF writer puts the tag CLASS for that kind.
inline constexpr std::array<StandardField, 121> kStandardFields{{
    {"ADDRESS", 100},
    {"ADIF_VER", 9},
    {"AGE", 3},
    {"A_INDEX", 4},
    {"ANT_AZ", 6},
    {"ANT_EL", 6},
    {"ANT_PATH", 7},
    {"ARRL_SECT", 3},
    {"BAND", 6},
    {"BAND_RX", 6},
    {"CALL", 16},
    {"CHECK", 10},
    {"CLASS_", 5},
    {"CNTY", 3},
    {"COMMENT", 70},
    {"CONT", 2},
    {"CONTACTED_OP", 15},
    {"CONTEST_ID", 30},
    {"COUNTRY", 25},
    {"CQZ", 2},
    {"DISTANCE", 6},
    {"DXCC", 3},
    {"EMAIL", 30},
    {"EQ_CALL", 16},
    {"EQSL_QSLRDATE", 11},
    {"EQSL_QSLSDATE", 11},
    {"EQSL_QSL_RCVD", 1},
    {"EQSL_QSL_SENT", 1},
    {"FORCE_INIT", 3},
    {"FREQ", 12},
    {"FREQ_RX", 12},
    {"GRIDSQUARE", 6},
    {"IOTA", 7},
    {"ITUZ", 2},
    {"K_INDEX", 4},
    {"LAT", 10},
    {"LON", 10},
    {"LOTW_QSLRDATE", 11},
    {"LOTW_QSLSDATE", 11},
    {"LOTW_QSL_RCVD", 1},
    {"LOTW_QSL_SENT", 1},
    {"MAX_BURSTS", 2},
    {"MODE", 10},
    {"MS_SHOWER", 15},
    {"MY_CITY", 30},
    {"MY_CNTY", 4},
    {"MY_COUNTRY", 15},
    {"MY_CQ_ZONE", 2},
    {"MY_GRIDSQUARE", 6},
    {"MY_IOTA", 7},
    {"MY_ITU_ZONE", 2},
    {"MY_LAT", 10},
    {"MY_LON", 10},
    {"MY_NAME", 15},
    {"MY_POSTAL_CODE", 8},
    {"MY_RIG", 10},
    {"MY_SIG", 10},
    {"MY_SIG_INFO", 10},
    {"MY_STATE", 3},
    {"MY_STREET", 15},
    {"NAME", 25},
    {"NOTES", 60},
    {"NR_BURSTS", 2},
    {"NR_PINGS", 2},
    {"OPERATOR", 16},
    {"OWNER_CALLSIGN", 16},
    {"PFX", 6},
    {"PRECEDENCE", 30},
    {"PROGRAMID", 10},
    {"PROGRAMVERSION", 10},
    {"PROP_MODE", 6},
    {"PUBLIC_KEY", 20},
    {"QSLMSG", 15},
    {"QSLRDATE", 11},
    {"QSLSDATE", 11},
    {"QSL_RCVD", 1},
    {"QSL_RCVD_VIA", 1},
    {"QSL_SENT", 1},
    {"QSL_SENT_VIA", 1},
    {"QSL_VIA", 65},
    {"QSO_COMPLETE", 1},
    {"QSO_DATE", 11},
    {"QSO_RANDOM", 2},
    {"QTH", 30},
    {"RIG", 30},
    {"RST_RCVD", 4},
    {"RST_SENT", 4},
    {"RX_PWR", 10},
    {"SAT_MODE", 4},
    {"SAT_NAME", 6},
    {"SFI", 3},
    {"SIG", 10},
    {"SIG_INFO", 10},
    {"SRX", 5},
    {"SRX_STRING", 5},
    {"STATE", 3},
    {"STX", 5},
    {"STX_STRING", 15},
    {"SWL", 2},
    {"TEN_TEN", 10},
    {"TIME_OFF", 5},
    {"TIME_ON", 5},
    {"TX_PWR", 3},
    {"VE_PROV", 3},
    {"WEB", 20},
    {"RES1", 6},
    {"RES2", 6},
    {"RES3", 6},
    {"RES4", 6},
    {"RES5", 6},
    {"JCC", 3},
    {"JCG", 3},
    {"SUB_MODE", 10},
    {"eQSL_SENT", 1},
    {"eQSL_RCVD", 1},
    {"LOTW_SENT", 1},
    {"LOTW_RCVD", 1},
    {"QSO_NUM", 0},
    {"USER_1", 15},
    {"USER_2", 15},
    {"USER_3", 15},
}};

// Slot size of a kind 0..159 (0 for kind 117); callers check the range.
constexpr int SlotSizeOfKind(int kind) {
    return kind < static_cast<int>(kStandardFields.size()) ? kStandardFields[kind].SlotSize
                                                           : kExtraFieldSlotSize;
}

// The kind of a standard field, found by its name while compiling: a misspelt name does not
// compile, so code can name fields instead of carrying bare kind numbers.
consteval int StandardKind(std::string_view name) {
    for (std::size_t kind = 0; kind < kStandardFields.size(); ++kind) {
        if (kStandardFields[kind].Name == name) {
            return static_cast<int>(kind);
        }
    }
    throw "not a standard field name";
}

}  // namespace velmark
