// Fuzzes the Cabrillo template loader and the QSO line built through the loaded template. The
// input is a template file, optionally followed by a NUL byte and field values, one a line,
// which go in turn to the fields the template names; fields without a fuzzed value keep a
// typical value, so that the frequency, mode, date and serial rewriting all run.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "cabrillo/cabrillo_writer.h"
#include "cabrillo/contest_template.h"
#include "core/field_catalogue.h"
#include "core/program_values.h"
#include "core/qso_record.h"
#include "fuzz/fuzz_support.h"
#include "settings/configuration.h"

namespace {

constexpr const char* kTemplateName = "FUZZ.FRM";

struct TypicalValue {
    std::string_view Name;
    std::string_view Value;
};

constexpr TypicalValue kTypicalValues[] = {
    {"FREQ", "14.0255"}, {"MODE", "SSB"},      {"QSO_DATE", "20240115"}, {"TIME_ON", "1230"},
    {"CALL", "Q1ABC"},   {"RST_SENT", "599"},  {"RST_RCVD", "59"},       {"STX", "7"},
    {"SRX", "123"},      {"OPERATOR", "Q2XYZ"}};

// Personal data at its full length, so that completed header lines are as long as they get.
velmark::TPersonalInfo FullPersonalInfo() {
    velmark::TPersonalInfo personal;
    for (const velmark::PersonalInfoField& field : velmark::kPersonalInfoFields) {
        personal.*field.Member = std::string(field.Capacity, 'W');
    }
    return personal;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmark;
    const auto parts = fuzz::SplitAtNul(fuzz::AsText(data, size), 2);
    const std::filesystem::path& start = fuzz::ScratchDirectory();
    static const bool folderMade = std::filesystem::create_directories(start / kCabrilloFormFolder);
    (void)folderMade;
    fuzz::WriteWholeFile(TemplatePath(start.string(), kTemplateName), parts[0]);

    static const TPersonalInfo personal = FullPersonalInfo();
    ProgramValues values;
    values.StartDirectory = start.string();
    values.ProgramFileName = "velmark-fuzz";
    TStrukturaADIF catalogue;
    try {
        const CabrilloTemplate form = LoadTemplate(kTemplateName, personal, values, catalogue);

        QsoRecord record;
        record.QsoNr = 42;
        for (const TypicalValue& typical : kTypicalValues) {
            const int entry = catalogue.FindField(typical.Name);
            record.SetSlot(catalogue.Entry(entry).Kind, typical.Value);
        }
        std::string_view fuzzedValues = parts[1];
        for (int k = 1; k <= form.FieldCount() && !fuzzedValues.empty(); ++k) {
            const std::size_t end = fuzzedValues.find('\n');
            const std::string_view value = fuzzedValues.substr(0, end);
            fuzzedValues.remove_prefix(end == std::string_view::npos ? fuzzedValues.size()
                                                                     : end + 1);
            const int entry = form.FieldIndex[static_cast<std::size_t>(k)];
            if (entry != kNoField && catalogue.Entry(entry).Kind != kQsoNumKind)
                record.SetSlot(catalogue.Entry(entry).Kind, value);
        }
        BuildQsoLine(form, record);
    } catch (const TemplateError&) {
        // A template that breaks the layout is refused with a message: an expected outcome.
    }
    return 0;
}
