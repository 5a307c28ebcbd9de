#pragma once
// The import command of both programs: DXCC.LST of the start directory made anew from a country
// file the user downloaded (cty.csv or cty.dat).
//
// The new list is written beside DXCC.LST and loaded with the program's own loader before it
// takes the old one's place; the old list is kept as DXCC.LST.bak (one generation) and
// LISTA.UPO is rewritten for the new list. A country file that cannot be read, or that gives
// a list the loader refuses, is reported with its line in the error box, and no file of the
// start directory changes. The caller holds the start directory's lock.

#include <string>

namespace velmark {
class TNazwyJezykowe;
class UserInterface;
}  // namespace velmark

namespace velmark::dxcc_import {

inline constexpr const char* kDxccListBackupFileName = "DXCC.LST.bak";

// Imports the country file into startDirectory/DXCC.LST, reporting in the message list. True
// when the new list is in place; false after the error box of a refused file. File-system
// failures throw FileError (nothing has been replaced then either).
bool ImportDxccList(const std::string& countryFilePath, const std::string& startDirectory,
                    const TNazwyJezykowe& texts, UserInterface& ui);

}  // namespace velmark::dxcc_import
