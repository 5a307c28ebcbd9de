#pragma once
// Building small DXCC.LST files for tests, column by column, and loading them.

#include <memory>
#include <string>
#include <vector>

#include "core/program_values.h"
#include "dxcc/dxcc_list.h"
#include "dxcc/dxcc_list_loader.h"
#include "settings/text_table.h"
#include "support/scripted_user_interface.h"
#include "support/temp_dir.h"

namespace velmark::testing {

// Puts text at a 1-based column of line, widening the line with blanks.
inline void PutAt(std::string& line, std::size_t column, const std::string& text) {
    if (line.size() < column - 1 + text.size())
        line.resize(column - 1 + text.size(), ' ');
    line.replace(column - 1, text.size(), text);
}

inline std::string RightIn(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

// A header line: name in columns 1-35, zones in 36-37 and 41-42, continent 46-47, ADIF number
// right-aligned in 87-89 (left out when adif is empty), dates in 93-102 and 106-115.
inline std::string HeaderLine(const std::string& name, int cq, int itu,
                              const std::string& continent, const std::string& adif,
                              const std::string& from = "", const std::string& to = "") {
    std::string line;
    PutAt(line, 1, name);
    PutAt(line, 36, RightIn(std::to_string(cq), 2));
    PutAt(line, 41, RightIn(std::to_string(itu), 2));
    PutAt(line, 46, continent);
    if (!adif.empty())
        PutAt(line, 87, RightIn(adif, 3));
    if (!from.empty())
        PutAt(line, 93, from);
    if (!to.empty())
        PutAt(line, 106, to);
    return line;
}

// A prefix line: two blanks (the second column blank marks it), then the items; optional dates in 93-102 and 106-115.
inline std::string PrefixLine(const std::string& items, const std::string& from = "",
                              const std::string& to = "") {
    std::string line = "  " + items;
    if (!from.empty())
        PutAt(line, 93, from);
    if (!to.empty())
        PutAt(line, 106, to);
    return line;
}

// A start directory with a DXCC.LST, English texts and a scripted panel.
class DxccListFixture {
  public:
    DxccListFixture() {
        texts.Fill(kLanguageEnglish);
        values.StartDirectory = dir.path().string();
    }

    // Writes the lines (each ended by lineEnd) as DXCC.LST and loads it into a new list.
    TListaDXCC& Load(const std::vector<std::string>& lines, const std::string& lineEnd = "\r\n") {
        std::string bytes;
        for (const std::string& line : lines) bytes += line + lineEnd;
        return LoadBytes(bytes);
    }

    TListaDXCC& LoadBytes(const std::string& bytes) {
        dir.write("DXCC.LST", bytes);
        list = std::make_unique<TListaDXCC>();
        LoadDxccList(*list, texts, ui, values);
        return *list;
    }

    TempDir dir;
    TNazwyJezykowe texts;
    ScriptedUserInterface ui;
    ProgramValues values;
    std::unique_ptr<TListaDXCC> list;
};

}  // namespace velmark::testing
