#pragma once
// Numbers with decimals written with a point whatever the C library's locale: the desktop
// program runs under the user's locale (Qt sets it), where printf would write "99,64".

#include <charconv>
#include <string>

namespace velmark {

inline std::string FixedDecimalText(double value, int decimals) {
    char text[64];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, result.ptr);
}

}  // namespace velmark
