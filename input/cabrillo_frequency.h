#pragma once
// The frequency field of a Cabrillo QSO line and the ADIF bands. Cabrillo gives the frequency
// in kHz (7005, 14025.5) or, above 30 MHz, a band designator (50, 144, 432, 1.2G ... LIGHT);
// ADIF keeps FREQ in MHz and the band by its wavelength (20m, 2m, 70cm).

#include <string>
#include <string_view>

namespace velmark {

// What the frequency field of a Cabrillo QSO line says.
struct CabrilloFrequency {
    bool Understood = false;  // false: not a Cabrillo frequency, the value stays as it is
    std::string FreqMhz;      // the frequency in MHz for ADIF FREQ; empty for a band designator
    std::string Band;         // its ADIF band, empty when no amateur band holds it
};

// Reads a frequency field: kHz ("7005" gives 7.005 MHz and 40m, "14025.5" 14.0255 MHz and 20m),
// or a band designator ("144" gives 2m and no frequency). The kHz are moved into MHz by
// their digits, so nothing is rounded.
CabrilloFrequency ReadCabrilloFrequency(std::string_view field);

// The ADIF band of a frequency in MHz ("14.025" gives "20m"), empty when it is no amateur band
// or no number.
std::string AdifBandOfMhz(std::string_view mhz);

// The Cabrillo band designator of an ADIF band from 6m up ("2m" gives "144", "23cm" "1.2G"),
// letter case aside; empty for the bands below, where Cabrillo wants the frequency in kHz.
std::string CabrilloBandDesignator(std::string_view adifBand);

}  // namespace velmark
