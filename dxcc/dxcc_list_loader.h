#pragma once
// Loading the DXCC entity list file DXCC.LST into a TListaDXCC.
//
// The file is fixed-column text. A line whose first character is "{" is a comment; a line whose
// second character is not a blank (or that has only one character) is a header line that starts an
// entity (name in columns 1-35, CQ zone 36-37, ITU zone 41-42, continent 46-47, ADIF number 87-89,
// validity dates 93-102 and 106-115); any other line is a prefix line of the last entity (prefix
// items in columns 1-90, optional dates in 93-102 and 106-115). Empty lines and lines of blanks are
// skipped; CR LF, LF and CR all end a line.
//
// The list is read in two passes: the first builds the country table, the second the list lines
// and the prefix table, which is then sorted for the bisection of callsign lookups. The loader
// reports counts in the message list and writes the report LISTA.UPO. Data the list cannot hold
// or that would make lookups meaningless (a capacity exceeded, a prefix line before the first
// header, an unknown continent, a range that cannot be expanded) is reported with its line
// number and sets RunStatus 2.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/program_values.h"
#include "core/user_interface.h"
#include "dxcc/crlf_text_file.h"
#include "dxcc/dxcc_list.h"
#include "settings/text_table.h"

namespace velmark {

inline constexpr const char* kDxccListFileName = "DXCC.LST";
inline constexpr const char* kListReportFileName = "LISTA.UPO";

// Loads values.StartDirectory/DXCC.LST and writes LISTA.UPO there. RunStatus becomes 1 when the
// file is missing and 2 on a data error, and is left alone otherwise; nothing is done while it
// is already 1. File-system failures throw FileError.
void LoadDxccList(TListaDXCC& list, const TNazwyJezykowe& texts, UserInterface& ui,
                  ProgramValues& values);

// The same for a list file at any path, writing LISTA.UPO into reportDirectory (the import tool
// checks its own output this way).
void LoadDxccList(TListaDXCC& list, const std::string& listPath, const std::string& reportDirectory,
                  const TNazwyJezykowe& texts, UserInterface& ui, ProgramValues& values);

// Which trimming TrimListText applies.
enum class ListTextTrim {
    Plain,  // trailing blanks only
    Item,   // trailing blanks, then one trailing ":" or ";"
};

// A text that is exactly one blank, empty or only blanks becomes empty; otherwise trailing blanks
// are removed and, for items, then one trailing ":" or ";".
std::string TrimListText(std::string_view text, ListTextTrim trim = ListTextTrim::Item);

struct NextItem {
    std::string Item;
    bool EndOfLine = false;
};

// Cuts the next comma-separated item out of a prefix line whose trailing blanks are removed.
// cursor is the 1-based column where the search starts; it is advanced past the item and its
// comma. An item may be enclosed in double quotes. An empty item between two commas comes back
// as the rest of the line beginning with its comma, which the range expansion reports.
NextItem NextListItem(std::string_view line, int& cursor);

// The list number and ADIF number of the first country record whose name equals name exactly.
// When there is none, RunStatus becomes 2 and nothing is returned.
std::optional<std::pair<std::int32_t, std::int32_t>> FindCountryByName(const TListaDXCC& list,
                                                                       std::string_view name,
                                                                       ProgramValues& values);

// The loader's working state for one load. Public so that the pieces can be used one at a time;
// LoadDxccList is the usual entry.
class DxccListLoader {
  public:
    DxccListLoader(TListaDXCC& list, const TNazwyJezykowe& texts, UserInterface& ui,
                   ProgramValues& values);

    // Both passes, the sort, the count messages and LISTA.UPO.
    void Load(const std::string& listPath, const std::string& reportDirectory);

    // Adds the prefix entries of one prefix item (zone marks already removed) for a list line:
    // its blank- or comma-separated parts, each a prefix or a range such as SV0..SV9.
    void ExpandPrefixItem(std::string_view itemText, std::int32_t listLine, double validUntil);

  private:
    void readCountryTable(const std::vector<NumberedLine>& lines);
    void buildListTables(const std::vector<NumberedLine>& lines);
    void readHeaderLine(const std::string& line);
    void readPrefixLine(std::string line);
    void addPrefixItem(std::string item, const std::string& itemFrom, const std::string& itemTo);
    void openListLine(std::uint8_t cq, std::uint8_t itu, const std::string& from,
                      const std::string& to);
    void expandPart(const std::string& part, std::int32_t listLine, double validUntil);
    void storePrefix(const std::string& prefix, std::int32_t listLine, double validUntil);
    void sortPrefixTable(int first, int last);
    void appendCountMessages();
    void writeListReport(const std::string& reportDirectory) const;

    void reportCommaError(std::int32_t listLine);
    void reportDataError(const std::string& text, const std::string& item = {});
    [[noreturn]] void refuseCapacity(const std::string& text);

    TListaDXCC& m_list;
    const TNazwyJezykowe& m_texts;
    UserInterface& m_ui;
    ProgramValues& m_values;
    int m_sourceLine = 0;

    // Second-pass state: the current list line, the entity's header zones and first line, the
    // zones of the previous item and the dates in force.
    std::int32_t m_line = 0;
    std::uint8_t m_headerCq = 0;
    std::uint8_t m_headerItu = 0;
    std::uint8_t m_prevCq = 0;
    std::uint8_t m_prevItu = 0;
    std::string m_curFrom;
    std::string m_curTo;
    std::int32_t m_curFirst = 0;
    std::int32_t m_headerListNr = 0;
    std::int32_t m_headerAdifNr = 0;
    int m_cursor = 1;
};

}  // namespace velmark
