#pragma once
// The public country file cty.csv (AD1C "big cty"), read into plain records. One line per
// entity: primary prefix, name, DXCC (ADIF) entity number, continent, CQ zone, ITU zone,
// latitude, longitude, UTC offset, and the blank-separated prefix items closed by ";".
// A primary prefix with a leading "*" marks a part of an entity that is not a DXCC entity of
// its own (Sicily, European Turkey, ...). A prefix item is a prefix ("DL") or an exact callsign
// ("=DL0ABC"), followed by optional overrides: "(n)" CQ zone, "[n]" ITU zone, "<lat/lon>",
// "{continent}" and "~offset~".

#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmark::dxcc_import {

// A line of the country file that cannot be read; the message names the line.
class CountryFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One prefix item with its effective zones (the entity's own zones unless overridden).
struct CountryFileItem {
    std::string text;  // as the list writes it: "DL" or "=DL0ABC", overrides removed
    int cqZone = 0;
    int ituZone = 0;

    bool isExactCall() const { return !text.empty() && text.front() == '='; }
    // The callsign or prefix without the leading "=".
    std::string bare() const { return isExactCall() ? text.substr(1) : text; }
};

struct CountryFileEntity {
    int lineNumber = 0;
    std::string primaryPrefix;  // without the "*" mark
    bool isDxccEntity = true;   // false for the "*" parts
    std::string name;
    int adifNr = 0;
    std::string continent;
    int cqZone = 0;
    int ituZone = 0;
    std::vector<CountryFileItem> items;
};

struct CountryFile {
    std::vector<CountryFileEntity> entities;
    // The file's release, from its "=VERyyyymmdd" marker entry; empty when there is none.
    std::string version;
};

// Reads the whole country file; throws CountryFileError on a malformed line.
CountryFile ParseCountryFile(std::istream& in);

// Opens and reads a country file; a file that cannot be opened throws FileError.
CountryFile ReadCountryFile(const std::string& path);

}  // namespace velmark::dxcc_import
