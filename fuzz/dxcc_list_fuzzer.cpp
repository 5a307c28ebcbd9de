// Fuzzes the DXCC list loader and callsign resolution on what it loaded. The input is a list
// file, optionally followed by a NUL byte and callsigns, one a line, which are resolved on a
// recent date and on a date before most validity limits; a few fixed callsigns that take the
// resolver's special roads (portable designators, exact calls, wildcards) are resolved too.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/errors.h"
#include "core/program_values.h"
#include "dxcc/callsign_resolver.h"
#include "dxcc/date_value.h"
#include "dxcc/dxcc_list.h"
#include "dxcc/dxcc_list_loader.h"
#include "fuzz/fuzz_support.h"
#include "settings/text_table.h"

namespace {

constexpr std::string_view kFixedCallsigns[] = {
    "",         "/",       "=",         "Q1ABC",     "Q1ABC/P",
    "QA/Q1ABC", "Q1ABC/4", "Q1ABC/QC3", "UA9ABC",    "UA0AAA/1",
    "R1FJ",     "=Q1ABC",  "?",         "DL1ABC/MM", "0123456789ABCDEFGHIJ"};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    velmark::fuzz::DiscardStandardError();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmark;
    const auto parts = fuzz::SplitAtNul(fuzz::AsText(data, size), 2);
    const std::filesystem::path& directory = fuzz::ScratchDirectory();
    const std::string listPath = (directory / kDxccListFileName).string();
    fuzz::WriteWholeFile(listPath, parts[0]);

    auto list = std::make_unique<TListaDXCC>();
    fuzz::SilentUserInterface ui;
    ProgramValues values;
    values.StartDirectory = directory.string();
    LoadDxccList(*list, listPath, directory.string(), fuzz::EnglishTexts(), ui, values);
    if (values.RunStatus != 0)
        return 0;  // the program refuses a list with errors: nothing is looked up in it

    const double dates[] = {DateValueOf(2024, 6, 15), DateValueOf(1950, 1, 1)};
    for (const double date : dates) {
        for (const std::string_view callsign : kFixedCallsigns) {
            ResolveCallsign(*list, callsign, date);
        }
        std::string_view callsigns = parts[1];
        while (!callsigns.empty()) {
            const std::size_t end = callsigns.find('\n');
            ResolveCallsign(*list, callsigns.substr(0, end), date);
            callsigns.remove_prefix(end == std::string_view::npos ? callsigns.size() : end + 1);
        }
    }
    return 0;
}
