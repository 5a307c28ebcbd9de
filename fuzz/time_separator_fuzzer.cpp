// Fuzzes ApplyTimeSeparator: the time and the separator, parted by the first NUL byte.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_support.h"
#include "output/date_time_conversion.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = velmark::fuzz::SplitAtNul(velmark::fuzz::AsText(data, size), 2);
    std::string time(parts[0]);
    const std::size_t before = time.size();
    velmark::ApplyTimeSeparator(time, parts[1]);
    // At most one separator goes in, and at most one comes out.
    if (time.size() > before + 1 || time.size() + 1 < before)
        std::abort();
    return 0;
}
