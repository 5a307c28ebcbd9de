// Fuzzes ConvertQsoDate. The input is the date, the source layout, the target layout and the
// separator, parted by NUL bytes; a layout given as one byte 1..6 stands for one of the six
// layouts the program knows, so the fuzzer reaches every rearrangement at once.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "output/date_time_conversion.h"

namespace {

constexpr std::string_view kLayouts[] = {"YYYYMMDD",   "DDMMYYYY",   "MMDDYYYY",
                                         "YYYY-MM-DD", "DD-MM-YYYY", "MM-DD-YYYY"};

std::string_view Layout(std::string_view text) {
    if (text.size() == 1 && text[0] >= 1 && text[0] <= 6)
        return kLayouts[static_cast<std::size_t>(text[0] - 1)];
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = velmark::fuzz::SplitAtNul(velmark::fuzz::AsText(data, size), 4);
    std::string date(parts[0]);
    velmark::ConvertQsoDate(date, Layout(parts[1]), Layout(parts[2]), parts[3]);
    return 0;
}
