#pragma once
// The user-interface text table: every text the program shows or writes into its reports, in
// the language chosen at start-up. The texts themselves are data, one row per key with both
// languages side by side, in the *.def files beside this header (UTF-8 in the source, turned
// into code page 1250 bytes when the table is filled).

#include <string>

namespace velmark {

class TNazwyJezykowe {
public:
#define VELMARK_TEXT(key, polish, english) std::string key;
#include "settings/text_table.def"
#include "settings/text_table_added.def"
#undef VELMARK_TEXT

    // 0 fills every text in Polish, 1 in English; any other code leaves the texts as they were.
    void Fill(int languageCode);
};

inline constexpr int kLanguagePolish = 0;
inline constexpr int kLanguageEnglish = 1;

}  // namespace velmark
