#include "core/cp1250.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <mutex>

#include "core/errors.h"
#include "core/text_encoding.h"

namespace velmark {
namespace {

// The code page is a fixed 256-entry table; glibc's iconv is the authority for it. It is asked
// once, byte by byte, and the answers are kept, which also lets us give the five undefined
// bytes their C1 stand-ins instead of failing on them.
struct Cp1250Tables {
    std::array<char32_t, 256> toUnicode{};
};

char32_t decodeOneByte(iconv_t converter, unsigned char byte) {
    char in[1] = {static_cast<char>(byte)};
    char out[4] = {};
    char* inPtr = in;
    char* outPtr = out;
    size_t inLeft = 1;
    size_t outLeft = sizeof out;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
        return byte;  // undefined in CP1250: keep the byte as the C1 character of that value
    }
    const auto* u = reinterpret_cast<const unsigned char*>(out);
    return static_cast<char32_t>(u[0]) | static_cast<char32_t>(u[1]) << 8 |
           static_cast<char32_t>(u[2]) << 16 | static_cast<char32_t>(u[3]) << 24;
}

const Cp1250Tables& tables() {
    static Cp1250Tables built;
    static std::once_flag once;
    std::call_once(once, [] {
        iconv_t converter = iconv_open("UTF-32LE", "CP1250");
        if (converter == reinterpret_cast<iconv_t>(-1)) {
            throw FileError("iconv cannot convert from CP1250", "CP1250");
        }
        for (int b = 0; b < 256; ++b) {
            const char32_t c = decodeOneByte(converter, static_cast<unsigned char>(b));
            built.toUnicode[b] = c;
        }
        iconv_close(converter);
    });
    return built;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

const std::array<char32_t, 256>& Cp1250CodePoints() {
    return tables().toUnicode;
}

std::string Cp1250ToUtf8(std::string_view bytes) {
    const auto& table = tables().toUnicode;
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char ch : bytes) {
        appendUtf8(out, table[static_cast<unsigned char>(ch)]);
    }
    return out;
}

std::string Utf8ToCp1250(std::string_view utf8) {
    // The reading of UTF-8 logs, which never fails; here a character it had to replace is an
    // error.
    Replacements replaced;
    std::string out = Utf8TextToCp1250(utf8, &replaced);
    if (replaced.Count > 0) {
        throw FileError("UTF-8 text that code page 1250 cannot hold", std::string(utf8));
    }
    return out;
}

}  // namespace velmark
