// Loading DXCC.LST and looking callsigns up in it.
//
//   velmark-bench-dxcc WORK_DIR LOG.adi
//
// WORK_DIR holds DXCC.LST (LISTA.UPO is written there). Loads the list LOADS times and prints
// the best load; then resolves the CALL of every QSO of the log on its QSO_DATE, in log order
// (as the input side does, which also meets repeated callsigns), and prints lookups a second.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/program_values.h"
#include "core/user_interface.h"
#include "dxcc/callsign_resolver.h"
#include "dxcc/date_value.h"
#include "dxcc/dxcc_list.h"
#include "dxcc/dxcc_list_loader.h"
#include "settings/text_table.h"

namespace {

using velmark::BoxOffset;

class ErrorsToStandardError : public velmark::SilentUserInterface {
  public:
    void ErrorBox(const std::string& text, BoxOffset) override {
        std::fprintf(stderr, "error: %s\n", text.c_str());
    }
};

constexpr int kLoads = 5;

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

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s WORK_DIR LOG.adi\n", argv[0]);
        return 2;
    }
    velmark::TNazwyJezykowe texts;
    texts.Fill(velmark::kLanguageEnglish);
    velmark::ProgramValues values;
    values.StartDirectory = argv[1];
    ErrorsToStandardError ui;

    auto list = std::make_unique<velmark::TListaDXCC>();
    double bestLoad = 0;
    for (int load = 0; load < kLoads; ++load) {
        list = std::make_unique<velmark::TListaDXCC>();
        const auto start = std::chrono::steady_clock::now();
        velmark::LoadDxccList(*list, texts, ui, values);
        const double took = secondsSince(start);
        bestLoad = load == 0 ? took : std::min(bestLoad, took);
        if (values.RunStatus != 0)
            return 1;
    }
    std::printf("prefixes %d\n", list->PrefixCount);
    std::printf("load %.4f\n", bestLoad);

    std::ifstream in(argv[2], std::ios::binary);
    if (!in) {
        std::perror(argv[2]);
        return 1;
    }
    const std::string log{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::pair<std::string, double>> lookups;
    std::size_t at = log.find("<EOH>");
    at = at == std::string::npos ? 0 : at + 5;
    for (std::size_t end = log.find("<EOR>", at); end != std::string::npos;
         at = end + 5, end = log.find("<EOR>", at)) {
        const std::string_view record = std::string_view(log).substr(at, end - at);
        lookups.emplace_back(fieldValue(record, "CALL"),
                             velmark::ReadDateValue(fieldValue(record, "QSO_DATE"), 1));
    }

    int found = 0;
    const auto start = std::chrono::steady_clock::now();
    for (const auto& [callsign, date] : lookups) {
        if (velmark::ResolveCallsign(*list, callsign, date).Status == velmark::kResolveFound)
            ++found;
    }
    const double took = secondsSince(start);
    std::printf("lookups %zu\n", lookups.size());
    std::printf("found %d\n", found);
    std::printf("lookup_seconds %.4f\n", took);
    std::printf("lookups_per_second %.0f\n", static_cast<double>(lookups.size()) / took);
    return 0;
}
