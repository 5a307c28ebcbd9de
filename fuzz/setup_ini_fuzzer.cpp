// Fuzzes the setup.ini reader, and the writer on the same file: a configuration read from any
// file must be written back and read again to the same values, since the program writes it at
// every start and exit. The one difference allowed is blanks and tabs at the ends of texts,
// which an INI value cannot keep (a text cut to its capacity may end in one).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_support.h"
#include "settings/configuration.h"

namespace {

void TrimOuterBlanks(std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

velmark::TKonfiguracja WithoutOuterBlanks(velmark::TKonfiguracja config) {
    for (std::string* text : {&config.DateSeparator, &config.TimeSeparator, &config.LastInputDir,
                              &config.LastOutputDir}) {
        TrimOuterBlanks(*text);
    }
    for (const velmark::PersonalInfoField& field : velmark::kPersonalInfoFields) {
        TrimOuterBlanks(config.PersonalInfo.*field.Member);
    }
    return config;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmark;
    const std::string iniPath = (fuzz::ScratchDirectory() / "setup.ini").string();
    fuzz::WriteWholeFile(iniPath, fuzz::AsText(data, size));

    TKonfiguracja config;
    ConfigRead(config, iniPath);
    ConfigWrite(config, iniPath);
    TKonfiguracja reread;
    ConfigRead(reread, iniPath);
    if (!(WithoutOuterBlanks(reread) == WithoutOuterBlanks(config)))
        std::abort();  // the written file does not give back what was written
    return 0;
}
