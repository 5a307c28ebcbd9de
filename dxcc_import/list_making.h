#pragma once
// A DXCC list made from a country file: the entities with their parts joined, the plain
// prefixes without the ones that change nothing, and as many exact calls as the list's 9000
// prefix entries and 2999 list lines leave room for, in the order of exact_calls.h. Each step
// that depends on what the list answers asks the program's own loader and resolver.

#include <map>
#include <string>
#include <vector>

#include "dxcc_import/country_file.h"
#include "dxcc_import/entity_folding.h"
#include "dxcc_import/exact_calls.h"
#include "dxcc_import/list_layout.h"
#include "dxcc_import/loaded_list.h"

namespace velmark {
class TNazwyJezykowe;
}

namespace velmark::dxcc_import {

class ScratchDirectory;

// Removes every plain prefix that answers exactly as the longest shorter prefix of the list it
// begins with (DL1 under DL, with the same zones): no lookup changes, and each one leaves room
// for an exact call. Returns how many were removed.
int DropRedundantPrefixes(std::vector<ListEntity>& entities);

// The plain prefixes of the entities by their text, with what each answers.
std::map<std::string, Answer> PlainPrefixes(const std::vector<ListEntity>& entities);

struct MadeList {
    std::vector<ListEntity> entities;  // as the country file gives them (parts joined)
    int fileEntityCount = 0;           // entity lines of the file, parts included
    int redundantPrefixCount = 0;      // plain prefixes left out as they change nothing
    int plainPrefixEntryCount = 0;     // prefix entries of the plain prefixes written
    ExactCallRanking ranking;
    ExactCallChoice choice;
    ListLayout layout;
    std::string text;  // the bytes of DXCC.LST
};

// Makes the list. Trial lists are loaded in the scratch directory; the loader's messages of a
// list it refuses are in the language of texts. Throws CountryFileError when the file gives no
// list the program can load (too many entities, too many prefixes or list lines even without
// exact calls, a name the list cannot carry, a refusal of the loader).
MadeList MakeDxccList(const CountryFile& file, const ScratchDirectory& scratch,
                      const TNazwyJezykowe& texts);

// The comment line that opens the list (without its "{").
std::string ListComment(const CountryFile& file);

// Loads the list file with the program's loader and checks that it loads cleanly with the counts
// the layout foresaw; otherwise throws CountryFileError (LoaderRefused) with the loader's
// messages.
void CheckLoadedList(const LoadedList& loaded, const ListLayout& layout);

}  // namespace velmark::dxcc_import
