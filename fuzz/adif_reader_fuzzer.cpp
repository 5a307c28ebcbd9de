// Fuzzes the ADIF reader: the header, then every record to the end of the log, and the
// QSL-route and date checks that the input phase applies to each record's values.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/qso_record.h"
#include "fuzz/fuzz_support.h"
#include "input/qso_completion.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmark;
    fuzz::ReadAdifLog(std::string(fuzz::AsText(data, size)), InputEncoding::Auto,
                      [](const QsoRecord& record) {
                          NormaliseQslVia(record.Slot(kQslViaKind));
                          DateLooksValid(record.Slot(kQsoDateKind));
                          (void)record.Serialize();
                      });
    return 0;
}
