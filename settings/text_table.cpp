#include "settings/text_table.h"

#include "core/cp1250.h"

namespace velmark {

void TNazwyJezykowe::Fill(int languageCode) {
    if (languageCode != kLanguagePolish && languageCode != kLanguageEnglish) {
        return;
    }
    const bool polish = languageCode == kLanguagePolish;
#define VELMARK_TEXT(key, polishText, englishText) \
    key = Utf8ToCp1250(polish ? polishText : englishText);
#include "settings/text_table.def"
#include "settings/text_table_added.def"
#undef VELMARK_TEXT
}

}  // namespace velmark
