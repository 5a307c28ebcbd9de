#pragma once
// Letter case of log text. Field names, tags and route words are compared in ASCII capitals;
// bytes above 127 (the Polish letters of code page 1250) are left as they are, so a value's
// own spelling never changes.

#include <string>
#include <string_view>

namespace velmark {

// The text with a-z turned into A-Z and every other byte unchanged.
inline std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

// The text with A-Z turned into a-z and every other byte unchanged.
inline std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

}  // namespace velmark
