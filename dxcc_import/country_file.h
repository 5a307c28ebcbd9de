#pragma once
// The public country file (AD1C, country-files.com) read into plain records. It comes in two
// layouts with the same content:
//
//  - cty.csv: one line per entity: primary prefix, name, DXCC (ADIF) entity number, continent,
//    CQ zone, ITU zone, latitude, longitude, UTC offset, and the blank-separated prefix items
//    closed by ";".
//  - cty.dat, the classic text layout most programs download: an entity line of colon-ended
//    fields (name, CQ zone, ITU zone, continent, latitude, longitude, UTC offset, primary
//    prefix), then indented lines of comma-separated prefix items, the last closed by ";".
//    It carries no entity number; the number is taken from the primary prefix (see
//    entity_numbers.h).
//
// A primary prefix with a leading "*" marks a part of an entity that is not a DXCC entity of
// its own (Sicily, European Turkey, ...). A prefix item is a prefix ("DL") or an exact callsign
// ("=DL0ABC"), followed by optional overrides: "(n)" CQ zone, "[n]" ITU zone, "<lat/lon>",
// "{continent}" and "~offset~".

#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmark {
class TNazwyJezykowe;
}

namespace velmark::dxcc_import {

// What is wrong with a country file, or with the list it would give.
enum class CountryFileProblem {
    // A line of the file.
    FieldCount,            // too few fields for an entity line
    EmptyPrefixOrName,     // an entity line without primary prefix or name
    EntityNumber,          // not a number from 1 to 999
    UnknownContinent,      // not one of EU AF AS OC NA SA AN
    CqZone,                // not a number from 1 to 40
    ItuZone,               // not a number from 1 to 90
    NoClosingSemicolon,    // the prefix items are not closed by ";"
    BadItem,               // an item that is not a callsign or prefix
    UnclosedOverride,      // "(14" without ")"
    TextAfterOverride,     // "DL(14)X"
    UnknownPrimaryPrefix,  // cty.dat: no entity number is known for this primary prefix
    PrefixLineFirst,       // cty.dat: prefix items before the first entity line
    // The whole file, or the list made from it.
    NoEntity,              // nothing that reads as a country file
    SecondEntityNumber,    // two DXCC entities with one number
    PartWithoutEntity,     // a "*" part whose number has no DXCC entity
    ItemOfTwoEntities,     // one prefix or exact call in two entities
    NameCannotOpenHeader,  // a name the list cannot write as a header line
    DuplicateName,         // two entities with one name in the list
    TooManyEntities,       // more than the list's 600
    TooManyPrefixes,       // more than the list's 9000 entries without any exact call
    TooManyListLines,      // more than the list's 2999 list lines without any exact call
    LoaderRefused,         // the program's loader refuses the list made from the file
};

// A country file that cannot be made into a list: the problem, the line of the file it was
// found in (0 for the file as a whole) and the text concerned. what() is a short English
// description for developers; DescribeCountryFileError gives the user's message.
class CountryFileError : public std::runtime_error {
  public:
    CountryFileError(CountryFileProblem problem, int lineNumber, std::string detail = {});

    CountryFileProblem problem() const { return m_problem; }
    int lineNumber() const { return m_lineNumber; }
    const std::string& detail() const { return m_detail; }

  private:
    CountryFileProblem m_problem;
    int m_lineNumber;
    std::string m_detail;
};

// The problem in the user's language: "line no. 12: unknown continent ...: XX" (the line part
// only when the problem has a line).
std::string DescribeCountryFileError(const CountryFileError& error, const TNazwyJezykowe& texts);

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

enum class CountryFileLayout { Csv, Dat };

struct CountryFile {
    std::vector<CountryFileEntity> entities;
    // The file's release, from its "=VERyyyymmdd" marker entry; empty when there is none.
    std::string version;
    CountryFileLayout layout = CountryFileLayout::Csv;
};

// Reads a whole country file in either layout (told apart by its first line); throws
// CountryFileError on a malformed line.
CountryFile ParseCountryFile(std::istream& in);

// Opens and reads a country file; a file that cannot be opened or read throws FileError.
CountryFile ReadCountryFile(const std::string& path);

}  // namespace velmark::dxcc_import
