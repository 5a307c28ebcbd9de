#pragma once
// A list file loaded with the program's own loader, as VELMARK itself would load DXCC.LST, so
// the import can prove its output and look callsigns up in it.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dxcc/dxcc_list.h"
#include "dxcc_import/country_file_resolver.h"

namespace velmark {
class TNazwyJezykowe;
}

namespace velmark::dxcc_import {

class LoadedList {
  public:
    // Loads the list file; LISTA.UPO goes into reportDirectory, the loader's messages are in
    // the language of texts (English when none is given). File-system failures throw FileError.
    LoadedList(const std::string& listPath, const std::string& reportDirectory,
               const TNazwyJezykowe* texts = nullptr);

    // True when the loader set no error status and showed nothing beyond its count messages.
    bool clean() const;
    // Everything the loader put into the message list, errors first among them.
    const std::vector<std::string>& messages() const { return m_messages; }
    const TListaDXCC& list() const { return *m_list; }
    double loadSeconds() const { return m_loadSeconds; }

    // The list's answer for a callsign (today's date): nothing unless an entity was determined.
    std::optional<Answer> Resolve(const std::string& callsign);

  private:
    std::unique_ptr<TListaDXCC> m_list;
    std::vector<std::string> m_messages;
    int m_runStatus = 0;
    double m_loadSeconds = 0.0;
    double m_today = 0.0;
};

}  // namespace velmark::dxcc_import
