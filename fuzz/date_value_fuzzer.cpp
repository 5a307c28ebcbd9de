// Fuzzes ReadDateValue: the first byte picks the input date format (1..4, and codes outside
// that range, which a damaged setup.ini can give), the rest is the QSO date text.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "dxcc/date_value.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const int formatCode = data[0] % 6;
    const double value =
        velmark::ReadDateValue(velmark::fuzz::AsText(data + 1, size - 1), formatCode);
    // Every field is a 32-bit integer at most, so the value is always a finite number.
    if (!std::isfinite(value))
        std::abort();
    return 0;
}
