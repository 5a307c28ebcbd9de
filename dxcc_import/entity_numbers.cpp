#include "dxcc_import/entity_numbers.h"

#include <algorithm>
#include <array>

namespace velmark::dxcc_import {
namespace {

using namespace std::string_view_literals;

// From the country file of May 2023 (cty.csv, which gives prefix and number side by side): the
// DXCC entities it lists and the parts it keeps apart. An entity added to DXCC later is not
// here; its country file is read in the cty.csv layout.
constexpr std::array kPrimaryPrefixes = std::to_array<std::pair<std::string_view, int>>({
    {"*4U1V"sv, 206}, {"*GM/s"sv, 279}, {"*IG9"sv, 248},  {"*IT9"sv, 248},  {"*JW/b"sv, 259},
    {"*TA1"sv, 390},  {"1A"sv, 246},    {"1S"sv, 247},    {"3A"sv, 260},    {"3B6"sv, 4},
    {"3B8"sv, 165},   {"3B9"sv, 207},   {"3C"sv, 49},     {"3C0"sv, 195},   {"3D2"sv, 176},
    {"3D2/c"sv, 489}, {"3D2/r"sv, 460}, {"3DA"sv, 468},   {"3V"sv, 474},    {"3W"sv, 293},
    {"3X"sv, 107},    {"3Y/b"sv, 24},   {"3Y/p"sv, 199},  {"4J"sv, 18},     {"4L"sv, 75},
    {"4O"sv, 514},    {"4S"sv, 315},    {"4U1I"sv, 117},  {"4U1U"sv, 289},  {"4W"sv, 511},
    {"4X"sv, 336},    {"5A"sv, 436},    {"5B"sv, 215},    {"5H"sv, 470},    {"5N"sv, 450},
    {"5R"sv, 438},    {"5T"sv, 444},    {"5U"sv, 187},    {"5V"sv, 483},    {"5W"sv, 190},
    {"5X"sv, 286},    {"5Z"sv, 430},    {"6W"sv, 456},    {"6Y"sv, 82},     {"7O"sv, 492},
    {"7P"sv, 432},    {"7Q"sv, 440},    {"7X"sv, 400},    {"8P"sv, 62},     {"8Q"sv, 159},
    {"8R"sv, 129},    {"9A"sv, 497},    {"9G"sv, 424},    {"9H"sv, 257},    {"9J"sv, 482},
    {"9K"sv, 348},    {"9L"sv, 458},    {"9M2"sv, 299},   {"9M6"sv, 46},    {"9N"sv, 369},
    {"9Q"sv, 414},    {"9U"sv, 404},    {"9V"sv, 381},    {"9X"sv, 454},    {"9Y"sv, 90},
    {"A2"sv, 402},    {"A3"sv, 160},    {"A4"sv, 370},    {"A5"sv, 306},    {"A6"sv, 391},
    {"A7"sv, 376},    {"A9"sv, 304},    {"AP"sv, 372},    {"BS7"sv, 506},   {"BV"sv, 386},
    {"BV9P"sv, 505},  {"BY"sv, 318},    {"C2"sv, 157},    {"C3"sv, 203},    {"C5"sv, 422},
    {"C6"sv, 60},     {"C9"sv, 181},    {"CE"sv, 112},    {"CE0X"sv, 217},  {"CE0Y"sv, 47},
    {"CE0Z"sv, 125},  {"CE9"sv, 13},    {"CM"sv, 70},     {"CN"sv, 446},    {"CP"sv, 104},
    {"CT"sv, 272},    {"CT3"sv, 256},   {"CU"sv, 149},    {"CX"sv, 144},    {"CY0"sv, 211},
    {"CY9"sv, 252},   {"D2"sv, 401},    {"D4"sv, 409},    {"D6"sv, 411},    {"DL"sv, 230},
    {"DU"sv, 375},    {"E3"sv, 51},     {"E4"sv, 510},    {"E5/n"sv, 191},  {"E5/s"sv, 234},
    {"E6"sv, 188},    {"E7"sv, 501},    {"EA"sv, 281},    {"EA6"sv, 21},    {"EA8"sv, 29},
    {"EA9"sv, 32},    {"EI"sv, 245},    {"EK"sv, 14},     {"EL"sv, 434},    {"EP"sv, 330},
    {"ER"sv, 179},    {"ES"sv, 52},     {"ET"sv, 53},     {"EU"sv, 27},     {"EX"sv, 135},
    {"EY"sv, 262},    {"EZ"sv, 280},    {"F"sv, 227},     {"FG"sv, 79},     {"FH"sv, 169},
    {"FJ"sv, 516},    {"FK"sv, 162},    {"FK/c"sv, 512},  {"FM"sv, 84},     {"FO"sv, 175},
    {"FO/a"sv, 508},  {"FO/c"sv, 36},   {"FO/m"sv, 509},  {"FP"sv, 277},    {"FR"sv, 453},
    {"FS"sv, 213},    {"FT/g"sv, 99},   {"FT/j"sv, 124},  {"FT/t"sv, 276},  {"FT/w"sv, 41},
    {"FT/x"sv, 131},  {"FT/z"sv, 10},   {"FW"sv, 298},    {"FY"sv, 63},     {"G"sv, 223},
    {"GD"sv, 114},    {"GI"sv, 265},    {"GJ"sv, 122},    {"GM"sv, 279},    {"GU"sv, 106},
    {"GW"sv, 294},    {"H4"sv, 185},    {"H40"sv, 507},   {"HA"sv, 239},    {"HB"sv, 287},
    {"HB0"sv, 251},   {"HC"sv, 120},    {"HC8"sv, 71},    {"HH"sv, 78},     {"HI"sv, 72},
    {"HK"sv, 116},    {"HK0/a"sv, 216}, {"HK0/m"sv, 161}, {"HL"sv, 137},    {"HP"sv, 88},
    {"HR"sv, 80},     {"HS"sv, 387},    {"HV"sv, 295},    {"HZ"sv, 378},    {"I"sv, 248},
    {"IS"sv, 225},    {"J2"sv, 382},    {"J3"sv, 77},     {"J5"sv, 109},    {"J6"sv, 97},
    {"J7"sv, 95},     {"J8"sv, 98},     {"JA"sv, 339},    {"JD/m"sv, 177},  {"JD/o"sv, 192},
    {"JT"sv, 363},    {"JW"sv, 259},    {"JX"sv, 118},    {"JY"sv, 342},    {"K"sv, 291},
    {"KG4"sv, 105},   {"KH0"sv, 166},   {"KH1"sv, 20},    {"KH2"sv, 103},   {"KH3"sv, 123},
    {"KH4"sv, 174},   {"KH5"sv, 197},   {"KH6"sv, 110},   {"KH7K"sv, 138},  {"KH8"sv, 9},
    {"KH8/s"sv, 515}, {"KH9"sv, 297},   {"KL"sv, 6},      {"KP1"sv, 182},   {"KP2"sv, 285},
    {"KP4"sv, 202},   {"KP5"sv, 43},    {"LA"sv, 266},    {"LU"sv, 100},    {"LX"sv, 254},
    {"LY"sv, 146},    {"LZ"sv, 212},    {"OA"sv, 136},    {"OD"sv, 354},    {"OE"sv, 206},
    {"OH"sv, 224},    {"OH0"sv, 5},     {"OJ0"sv, 167},   {"OK"sv, 503},    {"OM"sv, 504},
    {"ON"sv, 209},    {"OX"sv, 237},    {"OY"sv, 222},    {"OZ"sv, 221},    {"P2"sv, 163},
    {"P4"sv, 91},     {"P5"sv, 344},    {"PA"sv, 263},    {"PJ2"sv, 517},   {"PJ4"sv, 520},
    {"PJ5"sv, 519},   {"PJ7"sv, 518},   {"PY"sv, 108},    {"PY0F"sv, 56},   {"PY0S"sv, 253},
    {"PY0T"sv, 273},  {"PZ"sv, 140},    {"R1FJ"sv, 61},   {"S0"sv, 302},    {"S2"sv, 305},
    {"S5"sv, 499},    {"S7"sv, 379},    {"S9"sv, 219},    {"SM"sv, 284},    {"SP"sv, 269},
    {"ST"sv, 466},    {"SU"sv, 478},    {"SV"sv, 236},    {"SV/a"sv, 180},  {"SV5"sv, 45},
    {"SV9"sv, 40},    {"T2"sv, 282},    {"T30"sv, 301},   {"T31"sv, 31},    {"T32"sv, 48},
    {"T33"sv, 490},   {"T5"sv, 232},    {"T7"sv, 278},    {"T8"sv, 22},     {"TA"sv, 390},
    {"TF"sv, 242},    {"TG"sv, 76},     {"TI"sv, 308},    {"TI9"sv, 37},    {"TJ"sv, 406},
    {"TK"sv, 214},    {"TL"sv, 408},    {"TN"sv, 412},    {"TR"sv, 420},    {"TT"sv, 410},
    {"TU"sv, 428},    {"TY"sv, 416},    {"TZ"sv, 442},    {"UA"sv, 54},     {"UA2"sv, 126},
    {"UA9"sv, 15},    {"UK"sv, 292},    {"UN"sv, 130},    {"UR"sv, 288},    {"V2"sv, 94},
    {"V3"sv, 66},     {"V4"sv, 249},    {"V5"sv, 464},    {"V6"sv, 173},    {"V7"sv, 168},
    {"V8"sv, 345},    {"VE"sv, 1},      {"VK"sv, 150},    {"VK0H"sv, 111},  {"VK0M"sv, 153},
    {"VK9C"sv, 38},   {"VK9L"sv, 147},  {"VK9M"sv, 171},  {"VK9N"sv, 189},  {"VK9W"sv, 303},
    {"VK9X"sv, 35},   {"VP2E"sv, 12},   {"VP2M"sv, 96},   {"VP2V"sv, 65},   {"VP5"sv, 89},
    {"VP6"sv, 172},   {"VP6/d"sv, 513}, {"VP8"sv, 141},   {"VP8/g"sv, 235}, {"VP8/h"sv, 241},
    {"VP8/o"sv, 238}, {"VP8/s"sv, 240}, {"VP9"sv, 64},    {"VQ9"sv, 33},    {"VR"sv, 321},
    {"VU"sv, 324},    {"VU4"sv, 11},    {"VU7"sv, 142},   {"XE"sv, 50},     {"XF4"sv, 204},
    {"XT"sv, 480},    {"XU"sv, 312},    {"XW"sv, 143},    {"XX9"sv, 152},   {"XZ"sv, 309},
    {"YA"sv, 3},      {"YB"sv, 327},    {"YI"sv, 333},    {"YJ"sv, 158},    {"YK"sv, 384},
    {"YL"sv, 145},    {"YN"sv, 86},     {"YO"sv, 275},    {"YS"sv, 74},     {"YU"sv, 296},
    {"YV"sv, 148},    {"YV0"sv, 17},    {"Z2"sv, 452},    {"Z3"sv, 502},    {"Z6"sv, 522},
    {"Z8"sv, 521},    {"ZA"sv, 7},      {"ZB"sv, 233},    {"ZC4"sv, 283},   {"ZD7"sv, 250},
    {"ZD8"sv, 205},   {"ZD9"sv, 274},   {"ZF"sv, 69},     {"ZK3"sv, 270},   {"ZL"sv, 170},
    {"ZL7"sv, 34},    {"ZL8"sv, 133},   {"ZL9"sv, 16},    {"ZP"sv, 132},    {"ZS"sv, 462},
    {"ZS8"sv, 201},
});

}  // namespace

std::span<const std::pair<std::string_view, int>> PrimaryPrefixTable() {
    return kPrimaryPrefixes;
}

std::optional<int> EntityNumberOfPrimaryPrefix(std::string_view primaryPrefix) {
    const auto found =
        std::lower_bound(kPrimaryPrefixes.begin(), kPrimaryPrefixes.end(), primaryPrefix,
                         [](const std::pair<std::string_view, int>& row, std::string_view p) {
                             return row.first < p;
                         });
    if (found == kPrimaryPrefixes.end() || found->first != primaryPrefix)
        return std::nullopt;
    return found->second;
}

}  // namespace velmark::dxcc_import
