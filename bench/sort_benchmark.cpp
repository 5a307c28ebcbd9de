// Times the callsign sort alone (SortIndex, callsign order) on the QSOs of a generated log,
// once by the station's callsign and once by the QSL manager's.
//
//   velmark-bench-sort LOG.adi
//
// The index entries get CALL and QSL_VIA as the input side would store them (the generator
// writes routes already in their normal form); the time is the sort's only, not the reading.

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "core/run_state.h"
#include "core/sorting.h"
#include "core/user_interface.h"
#include "run/run_driver.h"
#include "settings/text_table.h"

namespace {

using velmark::BoxOffset;

// Answers the QSL-manager question as told and shows nothing.
class ManagerAnswer : public velmark::SilentUserInterface {
  public:
    explicit ManagerAnswer(bool byManager) : m_byManager(byManager) {}
    bool WarningBox(const std::string&, BoxOffset) override { return m_byManager; }

  private:
    bool m_byManager;
};

// The value of the field `name` in one ADIF record, or an empty text.
std::string_view fieldValue(std::string_view record, std::string_view name) {
    const std::string tag = "<" + std::string(name) + ":";
    const std::size_t at = record.find(tag);
    if (at == std::string_view::npos)
        return {};
    const std::size_t close = record.find('>', at);
    const std::size_t length = std::stoul(std::string(record.substr(at + tag.size())));
    return record.substr(close + 1, length);
}

// Fills the index from the records of the log; returns the number of QSOs.
int fillIndex(const std::string& log, velmark::RunState& state) {
    std::size_t at = log.find("<EOH>");
    at = at == std::string::npos ? 0 : at + 5;
    int count = 0;
    for (std::size_t end = log.find("<EOR>", at);
         end != std::string::npos && count < velmark::kMaxQsos;
         at = end + 5, end = log.find("<EOR>", at)) {
        const std::string_view record = std::string_view(log).substr(at, end - at);
        velmark::QsoIndexEntry& entry = state.Index.At(++count);
        entry.CallKey = fieldValue(record, "CALL").substr(0, 7);
        entry.ViaKey = fieldValue(record, "QSL_VIA").substr(0, 14);
        entry.QsoNr = count;
    }
    state.QsoCount = count;
    return count;
}

double sortSeconds(const std::string& log, bool byManager) {
    velmark::RunState state;
    fillIndex(log, state);
    velmark::TNazwyJezykowe texts;
    texts.Fill(velmark::kLanguageEnglish);
    ManagerAnswer ui(byManager);
    const auto start = std::chrono::steady_clock::now();
    velmark::SortIndex(velmark::kOrderByCall, state, velmark::SortTextsOf(texts), ui);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s LOG.adi\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::perror(argv[1]);
        return 1;
    }
    const std::string log{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    velmark::RunState counting;
    const int count = fillIndex(log, counting);
    std::printf("entries %d\n", count);
    std::printf("by_call %.4f\n", sortSeconds(log, false));
    std::printf("by_manager %.4f\n", sortSeconds(log, true));
    return 0;
}
