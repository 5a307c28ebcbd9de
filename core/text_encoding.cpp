#include "core/text_encoding.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/cp1250.h"

namespace velmark {
namespace {

// Code points below this bound are looked up in one table; every character code page 1250 has
// (the highest is the trade mark sign, U+2122) lies below it.
constexpr char32_t kTableBound = 0x3000;
constexpr std::int16_t kNoByte = -1;
constexpr std::int16_t kStandIn = 0x100;  // flag: the byte is a stand-in, the character replaced
constexpr char kUnknown = '?';

// Letters code page 1250 lacks and the letter that stands in for each (see the generator).
struct StandIn {
    char32_t Code;
    unsigned char Byte;
};
constexpr StandIn kStandIns[] = {
#include "core/cp1250_fallback_table.inc"
};

// For each code point below kTableBound: its code page 1250 byte, the byte of its stand-in
// with kStandIn added, or kNoByte.
const std::array<std::int16_t, kTableBound>& byteTable() {
    static const std::array<std::int16_t, kTableBound> table = [] {
        std::array<std::int16_t, kTableBound> built;
        built.fill(kNoByte);
        for (const StandIn& standIn : kStandIns) {
            built[standIn.Code] = static_cast<std::int16_t>(kStandIn | standIn.Byte);
        }
        const auto& codes = Cp1250CodePoints();
        for (int byte = 0; byte < 256; ++byte) {
            const char32_t code = codes[static_cast<std::size_t>(byte)];
            if (code < kTableBound) {
                built[code] = static_cast<std::int16_t>(byte);
            }
        }
        return built;
    }();
    return table;
}

// UTF-8 bytes of each code page 1250 byte.
const std::array<unsigned char, 256>& utf8Lengths() {
    static const std::array<unsigned char, 256> lengths = [] {
        std::array<unsigned char, 256> built{};
        const auto& codes = Cp1250CodePoints();
        for (std::size_t byte = 0; byte < 256; ++byte) {
            const char32_t code = codes[byte];
            built[byte] = code < 0x80 ? 1 : code < 0x800 ? 2 : 3;
        }
        return built;
    }();
    return lengths;
}

// The rules for the first continuation byte after a lead byte (Unicode's table of well-formed
// UTF-8): how many continuation bytes follow and the range of the first one. A lead byte that
// cannot start a character gives 0 bytes to follow.
struct LeadRule {
    int Following = 0;
    unsigned char Lowest = 0x80;
    unsigned char Highest = 0xBF;
    char32_t Bits = 0;
};

LeadRule leadRule(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return {1, 0x80, 0xBF, static_cast<char32_t>(lead & 0x1F)};
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        const unsigned char lowest = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char highest = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
        return {2, lowest, highest, static_cast<char32_t>(lead & 0x0F)};
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const unsigned char lowest = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char highest = lead == 0xF4 ? 0x8F : 0xBF;  // nothing past U+10FFFF
        return {3, lowest, highest, static_cast<char32_t>(lead & 0x07)};
    }
    return {};
}

}  // namespace

std::size_t AsciiRunLength(std::string_view bytes) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    std::size_t i = 0;
    // Thirty-two bytes at a time through the long ASCII runs of a log, then eight.
    for (; i + 32 <= bytes.size(); i += 32) {
        std::uint64_t words[4];
        std::memcpy(words, bytes.data() + i, sizeof words);
        if (((words[0] | words[1] | words[2] | words[3]) & kHighBits) != 0) {
            break;
        }
    }
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + i, 8);
        if ((word & kHighBits) != 0) {
            break;
        }
    }
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) {
        ++i;
    }
    return i;
}

// --- Utf8Validator ---

bool Utf8Validator::Feed(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size() && m_valid; ++i) {
        if (m_needed == 0) {
            // Most of a log is ASCII: eight bytes at a time while none has its high bit set.
            i += AsciiRunLength(bytes.substr(i));
            if (i == bytes.size()) {
                break;
            }
        }
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (m_needed == 0) {
            const LeadRule rule = leadRule(byte);
            m_valid = rule.Following > 0;
            m_needed = rule.Following;
            m_lowest = rule.Lowest;
            m_highest = rule.Highest;
            m_sawMultiByte = true;
            continue;
        }
        m_valid = byte >= m_lowest && byte <= m_highest;
        --m_needed;
        m_lowest = 0x80;
        m_highest = 0xBF;
    }
    return m_valid;
}

// --- Utf8ToCp1250Decoder ---

void Utf8ToCp1250Decoder::put(unsigned char byte, int width, std::string& out,
                              std::vector<unsigned char>* widths) {
    out += static_cast<char>(byte);
    if (widths != nullptr) {
        widths->push_back(static_cast<unsigned char>(width));
    }
}

void Utf8ToCp1250Decoder::replaced() {
    if (m_replacements.Count++ == 0) {
        m_replacements.FirstLine = m_line;
    }
}

void Utf8ToCp1250Decoder::putCodePoint(char32_t code, int width, std::string& out,
                                       std::vector<unsigned char>* widths) {
    const std::int16_t entry = code < kTableBound ? byteTable()[code] : kNoByte;
    if (entry == kNoByte) {
        replaced();
        put(kUnknown, width, out, widths);
        return;
    }
    if ((entry & kStandIn) != 0) {
        replaced();
    }
    put(static_cast<unsigned char>(entry & 0xFF), width, out, widths);
}

void Utf8ToCp1250Decoder::countLine(unsigned char byte) {
    // Only the line of the first replacement is ever reported.
    if (m_replacements.Count == 0 && (byte == '\r' || (byte == '\n' && m_lastByte != '\r'))) {
        ++m_line;
    }
    m_lastByte = byte;
}

void Utf8ToCp1250Decoder::Decode(std::string_view bytes, std::string& out,
                                 std::vector<unsigned char>* widths) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (m_needed == 0 && byte < 0x80) {
            // A run of ASCII, the bulk of every log, goes over as it is.
            const std::size_t end = i + AsciiRunLength(bytes.substr(i));
            out.append(bytes.data() + i, end - i);
            if (widths != nullptr) {
                widths->insert(widths->end(), end - i, 1);
            }
            if (m_replacements.Count == 0) {
                std::for_each(bytes.begin() + static_cast<std::ptrdiff_t>(i),
                              bytes.begin() + static_cast<std::ptrdiff_t>(end),
                              [this](char c) { countLine(static_cast<unsigned char>(c)); });
            }
            i = end;
            continue;
        }
        if (m_needed == 0) {
            const LeadRule rule = leadRule(byte);
            if (rule.Following == 0) {
                replaced();  // a byte that starts no character
                put(kUnknown, 1, out, widths);
            } else {
                m_lastByte = byte;  // a CR before it ended its line: a LF after it is the next end
                m_needed = rule.Following;
                m_taken = 1;
                m_code = rule.Bits;
                m_lowest = rule.Lowest;
                m_highest = rule.Highest;
            }
            ++i;
            continue;
        }
        if (byte < m_lowest || byte > m_highest) {
            // The character was cut short: it becomes "?", and this byte starts afresh.
            replaced();
            put(kUnknown, m_taken, out, widths);
            m_needed = 0;
            continue;
        }
        m_code = (m_code << 6) | (byte & 0x3F);
        ++m_taken;
        m_lowest = 0x80;
        m_highest = 0xBF;
        if (--m_needed == 0) {
            putCodePoint(m_code, m_taken, out, widths);
        }
        ++i;
    }
}

void Utf8ToCp1250Decoder::Finish(std::string& out, std::vector<unsigned char>* widths) {
    if (m_needed > 0) {
        replaced();
        put(kUnknown, m_taken, out, widths);
        m_needed = 0;
    }
}

// --- whole texts ---

std::string Utf8TextToCp1250(std::string_view utf8, velmark::Replacements* replacements) {
    Utf8ToCp1250Decoder decoder;
    std::string out;
    out.reserve(utf8.size());
    decoder.Decode(utf8, out, nullptr);
    decoder.Finish(out, nullptr);
    if (replacements != nullptr) {
        *replacements = decoder.Replacements();
    }
    return out;
}

std::size_t Utf8Length(std::string_view cp1250) {
    const auto& lengths = utf8Lengths();
    std::size_t length = 0;
    for (const char c : cp1250) {
        length += lengths[static_cast<unsigned char>(c)];
    }
    return length;
}

std::string OwnFileText(std::string bytes) {
    if (!StartsWithUtf8Bom(bytes)) {
        return bytes;
    }
    return Utf8TextToCp1250(std::string_view(bytes).substr(kUtf8Bom.size()));
}

}  // namespace velmark
