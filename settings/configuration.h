#pragma once
// The configuration record: every user setting of the program, kept between runs in setup.ini
// beside the program file. One record lives for the whole program; the other parts read and
// assign its fields directly, and ConfigRead / ConfigWrite move it from and to the file.
// Text is code page 1250 bytes, as everywhere in the core.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/bounded_text.h"
#include "core/text_encoding.h"

namespace velmark {

// The station's own data, which Cabrillo headers need. Every field has a capacity; storing a
// longer text keeps its first characters (Assign does that).
struct TPersonalInfo {
    static constexpr std::size_t kCallsignCapacity = 15;
    static constexpr std::size_t kFirstAndLastNameCapacity = 30;
    static constexpr std::size_t kAddress1Capacity = 30;
    static constexpr std::size_t kAddress2Capacity = 30;
    static constexpr std::size_t kQthCityCapacity = 20;
    static constexpr std::size_t kCountyCapacity = 10;
    static constexpr std::size_t kZipCapacity = 7;
    static constexpr std::size_t kCountryCapacity = 25;
    static constexpr std::size_t kGridSquareCapacity = 7;
    static constexpr std::size_t kCqZoneCapacity = 4;
    static constexpr std::size_t kItuZoneCapacity = 4;
    static constexpr std::size_t kLicenceClassCapacity = 8;
    static constexpr std::size_t kTrxRxCapacity = 25;
    static constexpr std::size_t kPowerWattCapacity = 15;
    static constexpr std::size_t kAntennaCapacity = 20;
    static constexpr std::size_t kArrlSectionCapacity = 6;
    static constexpr std::size_t kClubCallsignCapacity = 15;
    static constexpr std::size_t kEmailCapacity = 35;

    std::string Callsign;
    std::string FirstAndLastName;
    std::string Address1;
    std::string Address2;
    std::string QthCity;
    std::string County;  // county or province abbreviation
    std::string Zip;
    std::string Country;
    std::string GridSquare;  // Maidenhead locator
    std::string CQ_Zone;
    std::string ITU_Zone;
    std::string LicenceClass;
    std::string TrxRx;  // transceiver or receiver type
    std::string PowerWatt;
    std::string Antenna;
    std::string ArrlSection;  // own ARRL section
    std::string ClubCallsign;
    std::string Email;

    // Stores text into one of the fields above, keeping only as many characters as it holds.
    void Assign(std::string TPersonalInfo::*field, std::string_view text);
    // The capacity of one of the fields above.
    static std::size_t Capacity(std::string TPersonalInfo::*field);

    bool operator==(const TPersonalInfo&) const = default;
};

// One personal-data field: its key in the "Personal info" section of setup.ini, the member and
// its capacity. In the order the keys are written.
struct PersonalInfoField {
    std::string_view IniKey;
    std::string TPersonalInfo::*Member;
    std::size_t Capacity;
};

inline constexpr std::array<PersonalInfoField, 18> kPersonalInfoFields{{
    {"Callsign", &TPersonalInfo::Callsign, TPersonalInfo::kCallsignCapacity},
    {"First and last name", &TPersonalInfo::FirstAndLastName,
     TPersonalInfo::kFirstAndLastNameCapacity},
    {"Adres 1", &TPersonalInfo::Address1, TPersonalInfo::kAddress1Capacity},
    {"Adres 2", &TPersonalInfo::Address2, TPersonalInfo::kAddress2Capacity},
    {"QTH City", &TPersonalInfo::QthCity, TPersonalInfo::kQthCityCapacity},
    {"County", &TPersonalInfo::County, TPersonalInfo::kCountyCapacity},
    {"ZIPP", &TPersonalInfo::Zip, TPersonalInfo::kZipCapacity},
    {"Country", &TPersonalInfo::Country, TPersonalInfo::kCountryCapacity},
    {"GridSquare - Locator", &TPersonalInfo::GridSquare, TPersonalInfo::kGridSquareCapacity},
    {"CQ_Zone", &TPersonalInfo::CQ_Zone, TPersonalInfo::kCqZoneCapacity},
    {"ITU_Zone", &TPersonalInfo::ITU_Zone, TPersonalInfo::kItuZoneCapacity},
    {"Licence class", &TPersonalInfo::LicenceClass, TPersonalInfo::kLicenceClassCapacity},
    {"Typ_TRX_RX", &TPersonalInfo::TrxRx, TPersonalInfo::kTrxRxCapacity},
    {"Power - Watt", &TPersonalInfo::PowerWatt, TPersonalInfo::kPowerWattCapacity},
    {"Antena", &TPersonalInfo::Antenna, TPersonalInfo::kAntennaCapacity},
    {"Own_ARRL_Section", &TPersonalInfo::ArrlSection, TPersonalInfo::kArrlSectionCapacity},
    {"Club callsign", &TPersonalInfo::ClubCallsign, TPersonalInfo::kClubCallsignCapacity},
    {"E_mail", &TPersonalInfo::Email, TPersonalInfo::kEmailCapacity},
}};

inline std::size_t TPersonalInfo::Capacity(std::string TPersonalInfo::*field) {
    for (const PersonalInfoField& entry : kPersonalInfoFields) {
        if (entry.Member == field)
            return entry.Capacity;
    }
    return 0;
}

inline void TPersonalInfo::Assign(std::string TPersonalInfo::*field, std::string_view text) {
    AssignBounded(this->*field, text, Capacity(field));
}

// A list of the main window with no item selected gives -1, which a code field holds as 255.
// Such a code is no setting: ConfigWrite leaves the key's stored value alone.
inline constexpr std::uint8_t kNoSelection = 255;

// Every user setting. Created with every field zero, false or empty.
struct TKonfiguracja {
    static constexpr std::size_t kSeparatorCapacity = 1;

    std::uint8_t Language = 0;          // 0 Polish, 1 English
    std::uint8_t Sorting = 0;           // 0 DXCC list order, 1 ADIF entity number, 2 callsign
    std::uint8_t InputFileType = 0;     // 0 ADIF, 1 CSV, 2 TXT, 3 Cabrillo
    std::uint8_t OutputFileType = 0;    // 0 ADIF, 1 CSV, 2 TXT, 3 Cabrillo
    std::uint8_t InputDateFormat = 0;   // 0 unknown, 1 YYYYMMDD, 2 DDMMYYYY, 3 YYYY-MM-DD,
                                        // 4 DD-MM-YYYY
    std::uint8_t OutputDateFormat = 0;  // 0 as the input, then the same codes as the input
    std::string DateSeparator;          // at most one character, put between date parts
    std::string TimeSeparator;          // at most one character, put between time parts
    std::int32_t QsosPerCard = 0;
    bool DivideOutputFile = false;   // split the sorted output into part files
    std::int32_t MaxQslPerFile = 0;  // largest number of QSL cards in one part file
    std::string LastInputDir;
    std::string LastOutputDir;
    TPersonalInfo PersonalInfo;
    // The encoding of input logs (most logging programs now write UTF-8) and of the logs the
    // program writes; a setup.ini from before knows neither and reads as auto and CP1250.
    velmark::InputEncoding InputEncoding = velmark::InputEncoding::Auto;
    velmark::OutputEncoding OutputEncoding = velmark::OutputEncoding::Cp1250;

    // QSL labels printed directly (the labels panel of the window; velmark-batch labels).
    std::string LabelSheetName;  // the sheet file chosen last; empty: the first sheet
    bool LabelDividers = false;  // a divider label before each country group
    bool LabelMarkSent = false;  // write the ADIF file of the QSOs sent after printing

    bool operator==(const TKonfiguracja&) const = default;
};

// Fills the record from the INI file at iniPath. Absent keys, unknown words and numbers that do
// not parse leave fields as they were, except Language, which becomes English unless the file
// says "Polish". A missing or unreadable file is no error: the record keeps its values.
void ConfigRead(TKonfiguracja& config, const std::string& iniPath);

// Stores every field into the INI file at iniPath, rewriting an existing file in place (its other
// sections, keys and comments stay). The file is replaced as a whole or not at all; on failure
// throws FileError "Unable to write to <full path>".
void ConfigWrite(const TKonfiguracja& config, const std::string& iniPath);

// setup.ini in the directory of the running program file (not the working directory).
std::string DefaultSetupIniPath();

}  // namespace velmark
