// Writes a realistic QSO log for trying VELMARK out and for benchmarks: chronological QSOs,
// callsigns built from real prefixes with the repeats a real log has (the same station worked
// on several bands), a share of QSOs with a QSL manager or a DIRECT route.
//
//   velmark-generate-log COUNT [SEED] [adif|csv] [cp1250|utf-8] > log.adi
//
// The same COUNT and SEED always give the same bytes. With cp1250 or utf-8 every QSO also gets
// the operator's NAME, with the letters of Central and Northern European names, written in that
// encoding (ADIF lengths count the bytes); without, the log is plain ASCII.

#include <array>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Prefixes of entities a European station works often, and some rarer ones.
constexpr std::array<std::string_view, 72> kPrefixes = {
    "SP", "SQ", "SN", "DL", "DK", "DJ", "DF", "G",   "M",  "2E",  "F",   "EA", "EA8", "I",  "IK",
    "IZ", "OK", "OM", "HA", "YO", "LZ", "UA", "RA",  "R",  "UR",  "UT",  "EW", "LY",  "YL", "ES",
    "OH", "SM", "LA", "OZ", "PA", "ON", "OE", "HB9", "S5", "9A",  "E7",  "YU", "Z3",  "SV", "TA",
    "4X", "K",  "W",  "N",  "AA", "VE", "XE", "PY",  "LU", "CE",  "JA",  "BY", "HL",  "VK", "ZL",
    "ZS", "5B", "CT", "EI", "GM", "GW", "TF", "OY",  "JW", "VP8", "3B8", "A6"};

constexpr std::array<std::string_view, 9> kBands = {"160M", "80M", "40M", "30M", "20M",
                                                    "17M",  "15M", "12M", "10M"};
constexpr std::array<std::string_view, 9> kBandFreqs = {
    "1.830", "3.550", "7.020", "10.120", "14.025", "18.080", "21.030", "24.900", "28.050"};
constexpr std::array<std::string_view, 4> kModes = {"CW", "SSB", "FT8", "RTTY"};

// Operators' names in UTF-8; the code page 1250 log has them in its bytes (the last two letters
// are not in code page 1250, so a UTF-8 log also makes the reader replace some).
constexpr std::array<std::string_view, 12> kNames = {
    "Paweł Żółć", "Łukasz Wąsik", "Jörg Groß", "Małgorzata", "Jiří Dvořák", "Zoltán Kovács",
    "Ştefan",     "Ana María",    "John",      "Hans",       "Bjørn",       "Doğan"};

class LogGenerator {
  public:
    explicit LogGenerator(std::uint32_t seed) : m_random(seed) {}

    std::string callsign() {
        // About a third of the QSOs are with a station already in the log.
        if (!m_worked.empty() && pick(100) < 30)
            return m_worked[pick(m_worked.size())];
        std::string call(kPrefixes[pick(kPrefixes.size())]);
        if (call.back() < '0' || call.back() > '9')
            call += static_cast<char>('0' + pick(10));
        const std::size_t letters = 1 + pick(3);
        for (std::size_t i = 0; i < letters; ++i) call += static_cast<char>('A' + pick(26));
        if (pick(100) < 3)
            call += "/P";
        m_worked.push_back(call);
        return call;
    }

    std::string qslVia() {
        const auto roll = pick(100);
        if (roll < 8)
            return "DIRECT";
        if (roll < 18) {
            std::string manager(kPrefixes[pick(kPrefixes.size())]);
            if (manager.back() < '0' || manager.back() > '9')
                manager += '1';
            manager += static_cast<char>('A' + pick(26));
            manager += static_cast<char>('A' + pick(26));
            return roll < 12 ? "DIRECT " + manager : manager;
        }
        return {};
    }

    std::size_t pick(std::size_t below) {
        return std::uniform_int_distribution<std::size_t>(0, below - 1)(m_random);
    }

  private:
    std::mt19937 m_random;
    std::vector<std::string> m_worked;
};

struct Clock {
    int year = 2024, month = 1, day = 1, minutes = 6 * 60;

    void advance(int by) {
        static constexpr std::array<int, 12> kDays = {31, 29, 31, 30, 31, 30,
                                                      31, 31, 30, 31, 30, 31};
        minutes += by;
        while (minutes >= 24 * 60) {
            minutes -= 24 * 60;
            if (++day > kDays[month - 1]) {
                day = 1;
                if (++month > 12) {
                    month = 1;
                    ++year;
                }
            }
        }
    }
    std::string date() const {
        char text[32];
        std::snprintf(text, sizeof text, "%04d%02d%02d", year % 10000, month, day);
        return text;
    }
    std::string time() const {
        char text[32];
        std::snprintf(text, sizeof text, "%02d%02d", minutes / 60, minutes % 60);
        return text;
    }
};

void adifField(std::string& out, std::string_view name, std::string_view value) {
    if (value.empty())
        return;
    out += '<';
    out += name;
    out += ':';
    out += std::to_string(value.size());
    out += '>';
    out += value;
}

// A UTF-8 name of kNames in code page 1250 ("?" for the letters code page 1250 lacks).
std::string cp1250Of(std::string_view utf8) {
    static constexpr std::array<std::pair<std::string_view, char>, 22> kLetters = {{
        {"ł", '\xB3'}, {"Ż", '\xAF'}, {"ó", '\xF3'}, {"ć", '\xE6'}, {"Ł", '\xA3'}, {"ą", '\xB9'},
        {"ö", '\xF6'}, {"ß", '\xDF'}, {"ř", '\xF8'}, {"í", '\xED'}, {"á", '\xE1'}, {"Ş", '\xAA'},
        {"ş", '\xBA'}, {"é", '\xE9'}, {"ü", '\xFC'}, {"ż", '\xBF'}, {"ś", '\x9C'}, {"ę", '\xEA'},
        {"ń", '\xF1'}, {"ź", '\x9F'}, {"ø", '?'},    {"ğ", '?'},
    }};
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            out += utf8[i++];
            continue;
        }
        char byte = '?';
        std::size_t length = 2;
        for (const auto& [letter, code] : kLetters) {
            if (utf8.substr(i, letter.size()) == letter) {
                byte = code;
                length = letter.size();
                break;
            }
        }
        out += byte;
        i += length;
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s COUNT [SEED] [adif|csv]\n", argv[0]);
        return 2;
    }
    const long count = std::strtol(argv[1], nullptr, 10);
    const auto seed =
        argc > 2 ? static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)) : 1u;
    const bool csv = argc > 3 && std::string_view(argv[3]) == "csv";
    const std::string_view names = argc > 4 ? std::string_view(argv[4]) : std::string_view();
    const bool withNames = names == "cp1250" || names == "utf-8";
    if (count < 1 || count > 1000000) {
        std::fprintf(stderr, "COUNT must be 1 to 1000000\n");
        return 2;
    }

    LogGenerator generator(seed);
    Clock clock;
    std::string out = csv ? "CALL,QSO_DATE,TIME_ON,BAND,FREQ,MODE,RST_SENT,RST_RCVD,QSL_VIA"
                          : "Generated QSO log\r\n<ADIF_VER:5>3.1.4\r\n<EOH>\r\n";
    if (csv) {
        out += withNames ? ",NAME\r\n" : "\r\n";
    }
    for (long n = 0; n < count; ++n) {
        clock.advance(1 + static_cast<int>(generator.pick(n % 50 == 0 ? 600 : 8)));
        const auto band = generator.pick(kBands.size());
        const std::string_view mode = kModes[generator.pick(kModes.size())];
        const std::string rst = mode == "SSB" ? "59" : mode == "FT8" ? "-10" : "599";
        const std::string call = generator.callsign();
        const std::string via = generator.qslVia();
        // Names take nothing from the random numbers, so the rest of the log stays the same.
        const std::string_view nameUtf8 = kNames[static_cast<std::size_t>(n) % kNames.size()];
        const std::string name = names == "utf-8" ? std::string(nameUtf8) : cp1250Of(nameUtf8);
        if (csv) {
            out += call + ',' + clock.date() + ',' + clock.time() + ',' +
                   std::string(kBands[band]) + ',' + std::string(kBandFreqs[band]) + ',' +
                   std::string(mode) + ',' + rst + ',' + rst + ',' + via +
                   (withNames ? ",\"" + name + "\"" : std::string()) + "\r\n";
        } else {
            adifField(out, "CALL", call);
            adifField(out, "QSO_DATE", clock.date());
            adifField(out, "TIME_ON", clock.time());
            adifField(out, "BAND", kBands[band]);
            adifField(out, "FREQ", kBandFreqs[band]);
            adifField(out, "MODE", mode);
            adifField(out, "RST_SENT", rst);
            adifField(out, "RST_RCVD", rst);
            adifField(out, "QSL_VIA", via);
            if (withNames) {
                adifField(out, "NAME", name);
            }
            out += "<EOR>\r\n";
        }
        if (out.size() > (1u << 20)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::ferror(stdout) ? 1 : 0;
}
