// Fuzzes the setup.ini reader, and the writer on the same file: a configuration read from any
// file must be written back and read again to the same values, since the program writes it at
// every start and exit.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_support.h"
#include "settings/configuration.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmark;
    const std::string iniPath = (fuzz::ScratchDirectory() / "setup.ini").string();
    fuzz::WriteWholeFile(iniPath, fuzz::AsText(data, size));

    TKonfiguracja config;
    ConfigRead(config, iniPath);
    ConfigWrite(config, iniPath);
    TKonfiguracja reread;
    ConfigRead(reread, iniPath);
    if (!(reread == config))
        std::abort();  // the written file does not give back what was written
    return 0;
}
