// Fuzzes the reading of UTF-8 logs: the conversion of UTF-8 into code page 1250, fed in pieces
// as the byte source reads a file, and the ADIF reader's rule for lengths that count bytes or
// characters. The first byte picks where the input is cut into two pieces and how the log is
// read (UTF-8, or recognised); the rest is the log.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include "core/text_encoding.h"
#include "fuzz/fuzz_support.h"

namespace {

// Decoding in two pieces gives what decoding the whole gives, and every byte of the input is
// accounted for by exactly one character of the output.
void checkDecoding(std::string_view log, std::size_t cut) {
    using namespace velmark;
    std::string whole;
    std::vector<unsigned char> wholeWidths;
    Utf8ToCp1250Decoder one;
    one.Decode(log, whole, &wholeWidths);
    one.Finish(whole, &wholeWidths);

    std::string pieces;
    std::vector<unsigned char> widths;
    Utf8ToCp1250Decoder two;
    two.Decode(log.substr(0, cut), pieces, &widths);
    two.Decode(log.substr(cut), pieces, &widths);
    two.Finish(pieces, &widths);

    const std::size_t accounted =
        std::accumulate(wholeWidths.begin(), wholeWidths.end(), std::size_t{0});
    if (pieces != whole || widths != wholeWidths || whole.size() != wholeWidths.size() ||
        accounted != log.size() || one.Replacements().Count != two.Replacements().Count) {
        std::abort();
    }
    // Valid UTF-8 whose characters code page 1250 all has goes there and back unchanged.
    Utf8Validator validator;
    validator.Feed(log);
    if (validator.IsComplete() && one.Replacements().Count == 0 &&
        Utf8Length(whole) != log.size()) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string_view log = velmark::fuzz::AsText(data + 1, size - 1);
    checkDecoding(log, log.empty() ? 0 : data[0] % (log.size() + 1));
    velmark::fuzz::ReadAdifLog(
        std::string(log),
        (data[0] & 1) != 0 ? velmark::InputEncoding::Utf8 : velmark::InputEncoding::Auto,
        [](const velmark::QsoRecord& record) { (void)record.Serialize(); });
    return 0;
}
