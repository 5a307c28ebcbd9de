#pragma once
// Test logs are written with "\n" line ends and turned into each line-end form a logger may use.

#include <ostream>
#include <string>
#include <string_view>

namespace velmark::testing {

enum class LineEnd { CrLf, Lf, Cr };

inline const char* LineEndName(LineEnd lineEnd) {
    switch (lineEnd) {
        case LineEnd::CrLf:
            return "CrLf";
        case LineEnd::Lf:
            return "Lf";
        case LineEnd::Cr:
            return "Cr";
    }
    return "?";
}

inline std::ostream& operator<<(std::ostream& out, LineEnd lineEnd) {
    return out << LineEndName(lineEnd);
}

// The text with every "\n" replaced by the line end of the given form.
inline std::string WithLineEnds(std::string_view text, LineEnd lineEnd) {
    const std::string_view end = lineEnd == LineEnd::CrLf ? "\r\n"
                                 : lineEnd == LineEnd::Lf ? "\n"
                                                          : "\r";
    std::string converted;
    for (const char c : text) {
        if (c == '\n') {
            converted += end;
        } else {
            converted += c;
        }
    }
    return converted;
}

}  // namespace velmark::testing
