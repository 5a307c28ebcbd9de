// ADIF -> CSV -> ADIF and ADIF -> TXT -> ADIF over hostile values: every value that fits its
// slot comes back byte for byte, in either output encoding, and nothing is lost on the way.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "core/processing_object.h"
#include "input/adif_reader.h"
#include "input/byte_source.h"
#include "tests/run/run_fixture.h"

namespace velmark {
namespace {

using testing::RunFixture;

// Values a logger may put into a field: quotes (a nickname, a JSON application field),
// separators, blanks, tabs and line ends inside, Polish letters.
const std::vector<std::vector<std::pair<std::string, std::string>>> kQsos = {
    {{"NAME", "Riichi Saito \"RICH\""},
     {"COMMENT", "{\"rig\":\"IC-7300\",\"pwr\":\"100\",\"ant\":\"3el; yagi\"}"},
     {"QTH", "Tokyo, JP"},
     {"APP_JSON", "\"a\"b\"c\""}},
    {{"NAME", "\""}, {"COMMENT", "line one\r\nline two"}, {"QTH", "a;b;c"}, {"APP_JSON", "\"\""}},
    {{"NAME", "O'Brien, Jr"},
     {"COMMENT", ";starts with a semicolon, ends with a quote\""},
     {"QTH", "tab\tinside\t"},
     {"APP_JSON", ",,,"}},
    {{"NAME", "Pawe\xB3 \xAF\xF3\xB3\xE6"},
     {"COMMENT", "\tleading tab and   three blanks"},
     {"QTH",
      "\xA3\xF3"
      "d\x9F"},
     {"APP_JSON", "x\ny"}},
};

std::string adifField(const std::string& name, const std::string& value) {
    return "<" + name + ":" + std::to_string(value.size()) + ">" + value;
}

std::string hostileLog() {
    std::string log = "Hostile values\r\n<EOH>\r\n";
    int n = 0;
    for (const auto& fields : kQsos) {
        log += adifField("CALL", "XAA" + std::to_string(++n)) + adifField("QSO_DATE", "20200105");
        for (const auto& [name, value] : fields) {
            log += adifField(name, value);
        }
        log += "<EOR>\r\n";
    }
    return log;
}

// Every record of an ADIF file as field name -> value, read as the program reads it.
std::vector<std::map<std::string, std::string>> adifRecords(const std::string& path) {
    ByteSource source = ByteSource::OpenLog(path, InputEncoding::Auto);
    AdifReader reader(source);
    TObiektyInputOutput processing;
    TStrukturaADIF catalogue;
    ColumnList columns;
    reader.ReadAdifHeader(processing);
    std::vector<std::map<std::string, std::string>> records;
    for (;;) {
        processing.InputRecord.Clear();
        RecordTarget target{catalogue, columns, processing.InputRecord,
                            static_cast<std::int32_t>(records.size() + 1)};
        if (!reader.ReadAdifRecord(target)) {
            return records;
        }
        auto& record = records.emplace_back();
        for (int k = 1; k <= columns.ColumnCount; ++k) {
            const CatalogueEntry& entry = catalogue.Entry(columns.Positions[k]);
            record[entry.Name] = std::string(processing.InputRecord.Slot(entry.Kind));
        }
    }
}

struct RoundTrip {
    int form;  // 1 CSV, 2 TXT
    OutputEncoding encoding;
};

class HostileRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(HostileRoundTrip, GivesBackEveryValueByteForByte) {
    RunFixture there;
    there.values.TranslationMode = 1;
    there.config.OutputFileType = static_cast<std::uint8_t>(GetParam().form);
    there.config.OutputEncoding = GetParam().encoding;
    there.ReadLog(hostileLog());
    const std::string middle = GetParam().form == 1 ? "middle.csv" : "middle.txt";
    ASSERT_TRUE(there.Write(middle));

    RunFixture back;
    back.values.TranslationMode = 1;
    back.config.InputFileType = static_cast<std::uint8_t>(GetParam().form);
    back.config.OutputFileType = 0;
    back.config.OutputEncoding = GetParam().encoding;
    back.values.InputFileName = there.OutputPath(middle);
    ReadInputLog(back.objects, InputKindFor(GetParam().form));
    ASSERT_EQ(back.values.RunStatus, 0);
    ASSERT_TRUE(back.Write("back.adi"));

    const auto original = adifRecords(there.values.InputFileName);
    const auto returned = adifRecords(back.OutputPath("back.adi"));
    ASSERT_EQ(returned.size(), original.size());
    for (std::size_t q = 0; q < original.size(); ++q) {
        for (const auto& [name, value] : original[q]) {
            if (name == "QSO_NUM") {
                continue;
            }
            ASSERT_TRUE(returned[q].count(name)) << name;
            EXPECT_EQ(returned[q].at(name), value) << "QSO " << q + 1 << " " << name;
        }
    }
    // The two values with line ends are named, and no line has a wrong number of fields.
    const auto count = [&](const std::string& text) {
        return std::count_if(
            back.ui.messages.begin(), back.ui.messages.end(),
            [&](const std::string& m) { return m.find(text) != std::string::npos; });
    };
    EXPECT_EQ(count(back.texts.MsgLinesReadAsOneQso), 2);
    EXPECT_EQ(count(back.texts.MsgRowFieldCount), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, HostileRoundTrip,
    ::testing::Values(RoundTrip{1, OutputEncoding::Cp1250}, RoundTrip{2, OutputEncoding::Cp1250},
                      RoundTrip{1, OutputEncoding::Utf8}, RoundTrip{2, OutputEncoding::Utf8}),
    [](const auto& info) {
        return std::string(info.param.form == 1 ? "Csv" : "Txt") +
               (info.param.encoding == OutputEncoding::Utf8 ? "Utf8" : "Cp1250");
    });

// The end-to-end pair of the corpus: a QRZ log with quoted nicknames and JSON written as CSV
// (real-qrz-quotes-to-csv) and that CSV read back (real-qrz-quotes-csv-back-to-adif).
TEST(QuotesRoundTrip, TheGoldenPairReadsWhatTheOtherWrites) {
    const std::filesystem::path golden =
        std::filesystem::path(VELMARK_TEST_DATA_DIR) / ".." / "golden";
    EXPECT_EQ(
        testing::TempDir::read(
            (golden / "real-qrz-quotes-csv-back-to-adif/start/qrz.csv").string()),
        testing::TempDir::read((golden / "real-qrz-quotes-to-csv/expected/out/qrz.csv").string()));
    const auto original =
        adifRecords((golden / "real-qrz-quotes-to-csv/start/qrzlog.adi").string());
    const auto back =
        adifRecords((golden / "real-qrz-quotes-csv-back-to-adif/expected/out/qrz.adi").string());
    ASSERT_EQ(back.size(), original.size());
    for (std::size_t q = 0; q < original.size(); ++q) {
        for (const char* name : {"NAME", "COMMENT", "CALL"}) {
            EXPECT_EQ(back[q].at(name), original[q].at(name)) << name;
        }
    }
}

}  // namespace
}  // namespace velmark
