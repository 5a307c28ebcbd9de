#pragma once
// A small hand-written excerpt in the layout of the country file cty.csv, shared by the
// import's tests: two "*" parts of Italy (one with zones of its own), a duplicate exact call,
// zone overrides, and exact calls that the prefixes resolve rightly, to another entity, or
// to other zones. The same data in the cty.dat layout follow.

#include <sstream>
#include <string>

#include "dxcc_import/country_file.h"

namespace velmark::dxcc_import::testing {

inline const std::string kCtyExcerpt =
    "DL,Fed. Rep. of Germany,230,EU,14,28,51.00,-10.00,-1.0,DA DB DL =DL0ABC(15) =DL1XYZ;\r\n"
    "I,Italy,248,EU,15,28,42.82,-12.58,-1.0,I IZ9 =IZ9ABC(33)[37] =IT9ABC;\r\n"
    "*IT9,Sicily,248,EU,15,28,37.50,-14.00,-1.0,IT9 IW9 =IT9ABC =IT9XYZ/P;\r\n"
    "*IG9,African Italy,248,AF,33,37,35.67,-12.67,-1.0,IG9 IH9 =IG9XYZ;\r\n"
    "UA,European Russia,54,EU,16,29,53.65,-41.37,-4.0,R U =UA9ABC/3 =R9AB(17)[30];\r\n"
    "UA9,Asiatic Russia,15,AS,17,30,55.88,-84.08,-7.0,"
    "R9 RA9 UA9 UA0(19)[33] RA0(19)[33] R0(19)[33] =UA3XYZ/9 =VER20230502;\r\n";

// The same entities in the cty.dat layout: colon-ended fields, the entity number given by the
// primary prefix, comma-separated items over indented lines (Asiatic Russia's over two, with
// LF line ends there).
inline const std::string kCtyDatExcerpt =
    "Fed. Rep. of Germany:     14:  28:  EU:   51.00:   -10.00:    -1.0:  DL:\r\n"
    "    DA,DB,DL,=DL0ABC(15),=DL1XYZ;\r\n"
    "Italy:                    15:  28:  EU:   42.82:   -12.58:    -1.0:  I:\r\n"
    "    I,IZ9,=IZ9ABC(33)[37],=IT9ABC;\r\n"
    "Sicily:                   15:  28:  EU:   37.50:   -14.00:    -1.0:  *IT9:\r\n"
    "    IT9,IW9,=IT9ABC,=IT9XYZ/P;\r\n"
    "African Italy:            33:  37:  AF:   35.67:   -12.67:    -1.0:  *IG9:\r\n"
    "    IG9,IH9,=IG9XYZ;\r\n"
    "European Russia:          16:  29:  EU:   53.65:   -41.37:    -4.0:  UA:\r\n"
    "    R,U,=UA9ABC/3,=R9AB(17)[30];\r\n"
    "Asiatic Russia:           17:  30:  AS:   55.88:   -84.08:    -7.0:  UA9:\n"
    "    R9,RA9,UA9,UA0(19)[33],RA0(19)[33],\n"
    "    R0(19)[33],=UA3XYZ/9,=VER20230502;\n";

inline CountryFile ParseText(const std::string& text) {
    std::istringstream in(text);
    return ParseCountryFile(in);
}

// A cty.csv with one entity more than the list holds (600).
inline std::string TooManyEntitiesFile() {
    std::string file;
    for (int i = 1; i <= 601; ++i) {
        file += "P" + std::to_string(i) + ",Entity " + std::to_string(i) + "," +
                std::to_string(i) + ",EU,14,28,0,0,0,Q" + std::to_string(i) + ";\n";
    }
    return file;
}

// A cty.csv with one prefix more than the list holds (9000), none of them redundant.
inline std::string TooManyPrefixesFile() {
    std::string file = "DL,Germany,230,EU,14,28,0,0,0,";
    for (int i = 0; i < 9001; ++i) file += "D" + std::to_string(10000 + i) + "(15) ";
    return file + ";\n";
}

}  // namespace velmark::dxcc_import::testing
