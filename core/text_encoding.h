#pragma once
// The encodings of the files the program reads and writes. Inside, every text is code page 1250;
// most logging programs now write UTF-8, so a log may be read from UTF-8 and an output file
// written in UTF-8. The conversions live here, at the edge; nothing else of the core sees UTF-8.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmark {

// How an input log is read. Auto takes a log as UTF-8 when it begins with a byte-order mark, or
// when it is valid UTF-8 holding at least one character beyond ASCII; otherwise as code page
// 1250, which is also what a pure ASCII log is.
enum class InputEncoding : std::uint8_t { Auto = 0, Cp1250 = 1, Utf8 = 2 };

// How the log files of a run are written (mail-merge files, ADIF and Cabrillo logs).
enum class OutputEncoding : std::uint8_t { Cp1250 = 0, Utf8 = 1 };

// The UTF-8 byte-order mark that some programs put at the very start of a file.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

inline bool StartsWithUtf8Bom(std::string_view bytes) {
    return bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom;
}

// The number of bytes at the start of a text that are ASCII (below 0x80).
std::size_t AsciiRunLength(std::string_view bytes);

// Checks bytes, fed in pieces, for being UTF-8 (shortest forms only, no surrogates, nothing past
// U+10FFFF). Once a byte breaks the rules the answer stays no.
class Utf8Validator {
  public:
    // Feeds the next bytes; false as soon as the bytes so far cannot be UTF-8.
    bool Feed(std::string_view bytes);
    // True when everything fed is UTF-8 and no sequence is left unfinished.
    bool IsComplete() const { return m_valid && m_needed == 0; }
    // True when a character of two or more bytes was met.
    bool SawMultiByte() const { return m_sawMultiByte; }

  private:
    bool m_valid = true;
    bool m_sawMultiByte = false;
    int m_needed = 0;               // continuation bytes still to come
    unsigned char m_lowest = 0x80;  // bounds of the next continuation byte
    unsigned char m_highest = 0xBF;
};

// Characters of a UTF-8 text that code page 1250 could not hold.
struct Replacements {
    std::int64_t Count = 0;
    int FirstLine = 0;  // the line of the first one, from 1; 0 while there is none
};

// Turns UTF-8 into code page 1250, piece by piece (a character may be cut between two pieces).
// A character that code page 1250 lacks becomes its letter without the accent where there is
// one ("ø" o, "ñ" n, "ğ" g), otherwise "?"; so do bytes that are not UTF-8. Each is counted.
class Utf8ToCp1250Decoder {
  public:
    // Appends the code page 1250 text of the next bytes to out and, for every byte appended, the
    // number of UTF-8 bytes it stands for to widths (when widths is given).
    void Decode(std::string_view bytes, std::string& out, std::vector<unsigned char>* widths);
    // The end of the input: a character cut short there becomes "?".
    void Finish(std::string& out, std::vector<unsigned char>* widths);
    const velmark::Replacements& Replacements() const { return m_replacements; }

  private:
    void put(unsigned char byte, int width, std::string& out, std::vector<unsigned char>* widths);
    void putCodePoint(char32_t code, int width, std::string& out,
                      std::vector<unsigned char>* widths);
    void replaced();
    void countLine(unsigned char byte);

    velmark::Replacements m_replacements;
    char32_t m_code = 0;
    int m_needed = 0;  // continuation bytes still to come
    int m_taken = 0;   // bytes of the current sequence so far
    unsigned char m_lowest = 0x80;
    unsigned char m_highest = 0xBF;
    int m_line = 1;
    unsigned char m_lastByte = 0;
};

// The whole of a UTF-8 text in code page 1250, by the rules of the decoder.
std::string Utf8TextToCp1250(std::string_view utf8, velmark::Replacements* replacements = nullptr);

// The number of bytes a code page 1250 text takes in UTF-8.
std::size_t Utf8Length(std::string_view cp1250);

// The text of one of the program's own files (DXCC.LST, templates, name files) from its bytes:
// a file that begins with a byte-order mark is UTF-8, and is returned without the mark in code
// page 1250; any other file is code page 1250 already and is returned as it is.
std::string OwnFileText(std::string bytes);

}  // namespace velmark
