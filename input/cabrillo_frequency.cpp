#include "input/cabrillo_frequency.h"

#include <array>
#include <cstdint>
#include <optional>

#include "core/ascii_case.h"

namespace velmark {
namespace {

// The amateur bands of the ADIF band list, in Hz.
struct Band {
    std::string_view Name;
    std::uint64_t Lowest;
    std::uint64_t Highest;
};

constexpr std::array<Band, 33> kBands{{
    {"2190m", 135'700, 137'800},
    {"630m", 472'000, 479'000},
    {"560m", 501'000, 504'000},
    {"160m", 1'800'000, 2'000'000},
    {"80m", 3'500'000, 4'000'000},
    {"60m", 5'060'000, 5'450'000},
    {"40m", 7'000'000, 7'300'000},
    {"30m", 10'100'000, 10'150'000},
    {"20m", 14'000'000, 14'350'000},
    {"17m", 18'068'000, 18'168'000},
    {"15m", 21'000'000, 21'450'000},
    {"12m", 24'890'000, 24'990'000},
    {"10m", 28'000'000, 29'700'000},
    {"8m", 40'000'000, 45'000'000},
    {"6m", 50'000'000, 54'000'000},
    {"5m", 54'000'001, 69'900'000},
    {"4m", 70'000'000, 71'000'000},
    {"2m", 144'000'000, 148'000'000},
    {"1.25m", 222'000'000, 225'000'000},
    {"70cm", 420'000'000, 450'000'000},
    {"33cm", 902'000'000, 928'000'000},
    {"23cm", 1'240'000'000, 1'300'000'000},
    {"13cm", 2'300'000'000, 2'450'000'000},
    {"9cm", 3'300'000'000, 3'500'000'000},
    {"6cm", 5'650'000'000, 5'925'000'000},
    {"3cm", 10'000'000'000, 10'500'000'000},
    {"1.25cm", 24'000'000'000, 24'250'000'000},
    {"6mm", 47'000'000'000, 47'200'000'000},
    {"4mm", 75'500'000'000, 81'000'000'000},
    {"2.5mm", 119'980'000'000, 123'000'000'000},
    {"2mm", 134'000'000'000, 149'000'000'000},
    {"1mm", 241'000'000'000, 250'000'000'000},
    {"submm", 300'000'000'000, 7'500'000'000'000},
}};

// Cabrillo's band designators above 30 MHz and their ADIF bands. Where two designators name one
// band (the millimetre bands were renamed when their edges moved), the first is the one written.
struct Designator {
    std::string_view Cabrillo;
    std::string_view Band;
};

constexpr std::array<Designator, 21> kDesignators{{
    {"50", "6m"},       {"70", "4m"},      {"144", "2m"},    {"222", "1.25m"}, {"432", "70cm"},
    {"902", "33cm"},    {"1.2G", "23cm"},  {"2.3G", "13cm"}, {"3.4G", "9cm"},  {"5.7G", "6cm"},
    {"10G", "3cm"},     {"24G", "1.25cm"}, {"47G", "6mm"},   {"75G", "4mm"},   {"76G", "4mm"},
    {"122G", "2.5mm"},  {"119G", "2.5mm"}, {"134G", "2mm"},  {"142G", "2mm"},  {"241G", "1mm"},
    {"LIGHT", "submm"},
}};

// A longer number is no frequency of this world (and would not fit 64 bits in Hz).
constexpr std::size_t kMaxIntegerDigits = 9;

// A decimal number ("14025", "14025.5", "14.025") in Hz, the number being in kHz (unitDigits
// 3) or MHz (6); digits beyond the Hz are dropped. Nothing for any other text.
std::optional<std::uint64_t> hertz(std::string_view text, int unitDigits) {
    const std::size_t point = text.find('.');
    const std::string_view integer = text.substr(0, point);
    const std::string_view decimals =
        point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    const auto allDigits = [](std::string_view digits) {
        return digits.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (integer.empty() || integer.size() > kMaxIntegerDigits || !allDigits(integer) ||
        !allDigits(decimals)) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char digit : integer) {
        value = value * 10 + static_cast<std::uint64_t>(digit - '0');
    }
    for (int k = 0; k < unitDigits; ++k) {
        const std::size_t at = static_cast<std::size_t>(k);
        value = value * 10 +
                (at < decimals.size() ? static_cast<std::uint64_t>(decimals[at] - '0') : 0);
    }
    return value;
}

std::string bandOfHertz(std::uint64_t hz) {
    for (const Band& band : kBands) {
        if (hz >= band.Lowest && hz <= band.Highest) {
            return std::string(band.Name);
        }
    }
    return {};
}

// kHz into MHz by moving the decimal point three digits left: "7005" 7.005, "14025.5" 14.0255.
std::string khzTextInMhz(std::string_view khz) {
    const std::size_t point = khz.find('.');
    std::string integer(khz.substr(0, point));
    const std::string_view decimals =
        point == std::string_view::npos ? std::string_view{} : khz.substr(point + 1);
    integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size()));
    if (integer.size() < 4) {
        integer.insert(0, 4 - integer.size(), '0');
    }
    std::string mhz = integer.substr(0, integer.size() - 3) + "." +
                      integer.substr(integer.size() - 3) + std::string(decimals);
    return mhz;
}

}  // namespace

CabrilloFrequency ReadCabrilloFrequency(std::string_view field) {
    const std::string upper = UpperAscii(field);
    for (const Designator& designator : kDesignators) {
        if (upper == designator.Cabrillo) {
            return {true, {}, std::string(designator.Band)};
        }
    }
    const std::optional<std::uint64_t> hz = hertz(field, 3);
    if (!hz) {
        return {};
    }
    std::string band = bandOfHertz(*hz);
    if (band.empty()) {
        return {};  // not kHz of an amateur band: perhaps something else, kept as it is
    }
    return {true, khzTextInMhz(field), std::move(band)};
}

std::string AdifBandOfMhz(std::string_view mhz) {
    const std::optional<std::uint64_t> hz = hertz(mhz, 6);
    return hz ? bandOfHertz(*hz) : std::string();
}

std::string CabrilloBandDesignator(std::string_view adifBand) {
    const std::string lower = LowerAscii(adifBand);
    for (const Designator& designator : kDesignators) {
        if (lower == designator.Band) {
            return std::string(designator.Cabrillo);
        }
    }
    return {};
}

}  // namespace velmark
