// Fuzzes the DXCC list import on a country file: reading either layout (cty.csv, cty.dat), and
// for a file that reads, making the list. A list the import makes must load cleanly with the
// counts it foresaw, since the program would otherwise refuse the user's import.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "core/errors.h"
#include "core/replacing_file.h"
#include "dxcc_import/country_file.h"
#include "dxcc_import/list_making.h"
#include "dxcc_import/loaded_list.h"
#include "dxcc_import/scratch_directory.h"
#include "fuzz/fuzz_support.h"
#include "settings/text_table.h"

namespace {

// One directory for the trial lists of the whole fuzzing process, removed when it exits.
const velmark::dxcc_import::ScratchDirectory& Scratch() {
    static const velmark::dxcc_import::ScratchDirectory scratch;
    return scratch;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    velmark::fuzz::DiscardStandardError();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmark;
    using namespace velmark::dxcc_import;
    std::istringstream in(std::string(fuzz::AsText(data, size)));
    CountryFile file;
    try {
        file = ParseCountryFile(in);
    } catch (const CountryFileError& error) {
        DescribeCountryFileError(error, fuzz::EnglishTexts());
        return 0;
    }
    MadeList made;
    try {
        made = MakeDxccList(file, Scratch(), fuzz::EnglishTexts());
    } catch (const CountryFileError& error) {
        DescribeCountryFileError(error, fuzz::EnglishTexts());
        return 0;
    }
    const std::string path = Scratch().file("DXCC.LST");
    ReplaceFileContents(path, made.text);
    const LoadedList loaded(path, Scratch().path());
    try {
        CheckLoadedList(loaded, made.layout);
    } catch (const CountryFileError& error) {
        std::fprintf(stderr, "the import made a list the loader refuses: %s\n", error.what());
        std::abort();
    }
    return 0;
}
