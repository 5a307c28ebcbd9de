// Fuzzes the CSV, TXT and Cabrillo reader. The first byte picks the form of log (CSV, TXT or
// Cabrillo); the rest is the log. CSV and TXT logs begin with their title line; a Cabrillo log
// takes its columns from the column-name file the program ships, then skips its header.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/field_catalogue.h"
#include "core/processing_object.h"
#include "core/run_state.h"
#include "fuzz/fuzz_support.h"
#include "input/adif_reader.h"
#include "input/byte_source.h"
#include "input/csv_reader.h"
#include "input/log_data_error.h"
#include "input/qso_completion.h"

namespace {

// The column names of a Cabrillo QSO line, the first line of the column-name file the program
// ships.
constexpr const char* kCabrilloColumnNames =
    "QSO_WORD FREQ MODE QSO_DATE TIME_ON OPERATOR RST_SENT STX CALL RST_RCVD SRX\r\n";

constexpr std::int32_t kMaxRecords = 1 << 20;

enum class LogForm { Csv, Txt, Cabrillo };

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmark;
    if (size == 0)
        return 0;
    const auto form = static_cast<LogForm>(data[0] % 3);
    ByteSource source =
        ByteSource::FromString(std::string(fuzz::AsText(data + 1, size - 1)), "fuzz.log");
    RunState run;
    TStrukturaADIF catalogue;
    TObiektyInputOutput processing;
    try {
        if (form == LogForm::Cabrillo) {
            ByteSource names = ByteSource::FromString(kCabrilloColumnNames, "names");
            CsvReader(names, run, FieldSplitting::BlankSeparated).ReadColumnTitles(catalogue);
        }
        CsvReader reader(
            source, run,
            form == LogForm::Csv ? FieldSplitting::Csv : FieldSplitting::BlankSeparated);
        if (form == LogForm::Cabrillo) {
            reader.SkipCabrilloHeader();
        } else {
            reader.ReadColumnTitles(catalogue);
        }
        for (std::int32_t number = 1; number <= kMaxRecords; ++number) {
            processing.InputRecord.Clear();
            RecordTarget target{catalogue, run.Columns, processing.InputRecord, number};
            if (reader.ReadCsvRecord(target).InputEnded)
                break;
            NormaliseQslVia(processing.InputRecord.Slot(kQslViaKind));
            DateLooksValid(processing.InputRecord.Slot(kQsoDateKind));
        }
    } catch (const LogDataError&) {
        // A broken log is refused with a message: an expected outcome.
    }
    return 0;
}
