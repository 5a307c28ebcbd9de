#include "dxcc_import/loaded_list.h"

#include <chrono>
#include <ctime>

#include "core/program_values.h"
#include "core/user_interface.h"
#include "dxcc/callsign_resolver.h"
#include "dxcc/date_value.h"
#include "dxcc/dxcc_list_loader.h"
#include "settings/text_table.h"

namespace velmark::dxcc_import {
namespace {

// The loader reports through the processing panel; here the panel is a list of messages.
class MessageCollector : public SilentUserInterface {
  public:
    explicit MessageCollector(std::vector<std::string>& messages) : m_messages(messages) {}

    void AppendMessage(const std::string& line) override { m_messages.push_back(line); }
    void ErrorBox(const std::string& text, BoxOffset) override { m_messages.push_back(text); }
    bool WarningBox(const std::string& text, BoxOffset) override {
        m_messages.push_back(text);
        return false;
    }
    void PlainMessage(const std::string& text) override { m_messages.push_back(text); }

  private:
    std::vector<std::string>& m_messages;
};

// A clean load shows exactly the six count messages.
constexpr std::size_t kCountMessages = 6;

}  // namespace

LoadedList::LoadedList(const std::string& listPath, const std::string& reportDirectory,
                       const TNazwyJezykowe* texts)
    : m_list(std::make_unique<TListaDXCC>()), m_today(TodayDateValue(std::time(nullptr))) {
    TNazwyJezykowe english;
    if (texts == nullptr) {
        english.Fill(kLanguageEnglish);
        texts = &english;
    }
    MessageCollector panel(m_messages);
    ProgramValues values;
    const auto start = std::chrono::steady_clock::now();
    LoadDxccList(*m_list, listPath, reportDirectory, *texts, panel, values);
    m_loadSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    m_runStatus = values.RunStatus;
}

bool LoadedList::clean() const {
    return m_runStatus == 0 && m_messages.size() == kCountMessages;
}

std::optional<Answer> LoadedList::Resolve(const std::string& callsign) {
    const CallsignResolution found = ResolveCallsign(*m_list, callsign, m_today);
    if (found.Status != kResolveFound || found.FirstLine == 0)
        return std::nullopt;
    return Answer{found.AdifNr, found.CqZone, found.ItuZone};
}

}  // namespace velmark::dxcc_import
