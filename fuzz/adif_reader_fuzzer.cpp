// Fuzzes the ADIF reader: the header, then every record to the end of the log, and the
// QSL-route and date checks that the input phase applies to each record's values.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/field_catalogue.h"
#include "core/processing_object.h"
#include "core/qso_record.h"
#include "fuzz/fuzz_support.h"
#include "input/adif_reader.h"
#include "input/byte_source.h"
#include "input/log_data_error.h"
#include "input/qso_completion.h"

namespace {

// A fuzz input cannot hold more records than this; the bound only guards against a reader
// that stops consuming input.
constexpr std::int32_t kMaxRecords = 1 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmark;
    ByteSource source = ByteSource::FromString(std::string(fuzz::AsText(data, size)), "fuzz.adi");
    AdifReader reader(source);
    TObiektyInputOutput processing;
    TStrukturaADIF catalogue;
    ColumnList columns;
    try {
        reader.ReadAdifHeader(processing);
        for (std::int32_t number = 1; number <= kMaxRecords; ++number) {
            processing.InputRecord.Clear();
            RecordTarget target{catalogue, columns, processing.InputRecord, number};
            if (!reader.ReadAdifRecord(target))
                break;
            const QsoRecord& record = processing.InputRecord;
            NormaliseQslVia(record.Slot(kQslViaKind));
            DateLooksValid(record.Slot(kQsoDateKind));
            (void)record.Serialize();
        }
    } catch (const LogDataError&) {
        // A broken log is refused with a message: an expected outcome.
    }
    return 0;
}
