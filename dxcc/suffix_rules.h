#pragma once
// Prefixes whose DXCC entity depends on the length of the suffix, which the DXCC list cannot
// express: KG4 with a two-letter suffix is Guantanamo Bay, with one or three letters the United
// States. The list answers such calls by their prefix alone, so the country search shows the
// note of the prefix under the result and the user checks the card by hand. The table is a
// small text file in the start directory that the user may edit:
//
//   { comment lines begin with "{" (or "#"); empty lines are skipped
//   KG4  two-letter suffix (KG4AB): GUANTANAMO BAY; one or three letters: UNITED STATES
//
// one prefix a line, then blanks and the note, shown as written (code page 1250).

#include <string>
#include <string_view>
#include <vector>

namespace velmark {

inline constexpr const char* kSuffixRulesFileName = "SUFFIX_RULES.TXT";

struct SuffixRule {
    std::string Prefix;  // in capitals
    std::string Note;
};

// The rules of a table file; a missing file is an empty table. A file that cannot be read
// throws FileError.
std::vector<SuffixRule> ReadSuffixRules(const std::string& path);

// The rule for a callsign: the one whose prefix begins the part of the callsign the lookup
// searches and is followed there by a suffix (KG4ABC, KG4AB/P; not W1AW/KG4, where KG4 names
// the place). The longest such prefix wins; nullptr when none applies.
const SuffixRule* FindSuffixRule(const std::vector<SuffixRule>& rules, std::string_view callsign);

}  // namespace velmark
