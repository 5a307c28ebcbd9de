#pragma once
// Conversion between code page 1250 (the byte form of every text the program reads or writes)
// and UTF-8. The core keeps text as CP1250 bytes; only the edges convert.

#include <array>
#include <string>
#include <string_view>

namespace velmark {

// CP1250 bytes to UTF-8. Bytes that CP1250 leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98)
// become the C1 control characters of the same value, so nothing is ever lost or refused.
std::string Cp1250ToUtf8(std::string_view bytes);

// UTF-8 to CP1250 bytes. C1 control characters U+0081 etc. map back to their single byte, so
// Cp1250ToUtf8 and Utf8ToCp1250 round-trip every byte string. A character that CP1250 cannot
// represent, or malformed UTF-8, throws FileError (a conversion failure stops the command).
std::string Utf8ToCp1250(std::string_view utf8);

// The Unicode code point of every code page 1250 byte (the five undefined bytes give the C1
// control character of their own value).
const std::array<char32_t, 256>& Cp1250CodePoints();

}  // namespace velmark
