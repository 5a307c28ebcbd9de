// Logs written to hurt: NUL bytes, bytes above 127, single lines of 10 MB, a length tag that
// claims 99999 characters, quotes nested a hundred thousand deep, a callsign of 1000 characters
// and callsigns that are only "/" or "=". Each goes through the whole input phase (reader, QSO
// completion, callsign resolution, TYM.LOG), which must end promptly with a sensible result.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/tym_log.h"
#include "input/log_input.h"
#include "tests/input/input_run_fixture.h"

namespace velmark::testing {
namespace {

using namespace std::string_literals;

const InputKind kAdif{"<>", false, {}, {}};
const InputKind kCsv{",", false, {}, {}};
const InputKind kTxt{" ", false, {}, {}};

constexpr std::size_t kTenMegabytes = 10u << 20;
constexpr std::size_t kOneMegabyte = 1u << 20;

class HostileRun : public InputRunFixture {
  public:
    std::vector<QsoRecord> Stored() {
        TymLog tymLog(dir.file(kTymLogName));
        tymLog.OpenForReading();
        std::vector<QsoRecord> records;
        for (QsoRecord record; tymLog.ReadNext(record);) records.push_back(record);
        return records;
    }

    std::string Value(const QsoRecord& record, std::string_view name) const {
        return std::string(record.Slot(catalogue.Entry(catalogue.FindField(name)).Kind));
    }
};

// What the input phase must make of one hostile log: the QSOs it stores (field values and the
// entity of each), RunStatus, the first message when something is refused, and the number of
// QSOs read when some were read but not stored.
struct StoredQso {
    std::vector<std::pair<std::string, std::string>> Fields;
    std::int32_t EntityAdifNr;
};

struct HostileLog {
    const char* name;
    const InputKind* kind;
    std::function<std::string()> log;
    std::vector<StoredQso> stored;
    int runStatus = 0;
    std::string TNazwyJezykowe::*firstMessage = nullptr;
    int qsosRead = -1;  // -1: as many as stored
};

void PrintTo(const HostileLog& c, std::ostream* os) {
    *os << c.name;
}

class HostileLogTest : public ::testing::TestWithParam<HostileLog> {};

TEST_P(HostileLogTest, IsReadToASensibleEnd) {
    const HostileLog& c = GetParam();
    HostileRun run;
    run.values.InputFileName = run.dir.write("hostile.log", c.log());
    ReadLogIntoRun(run.objects, *c.kind);

    EXPECT_EQ(run.values.RunStatus, c.runStatus);
    if (c.firstMessage != nullptr) {
        ASSERT_FALSE(run.ui.messages.empty());
        EXPECT_EQ(run.ui.messages[0].rfind(run.texts.*c.firstMessage, 0), 0u) << run.ui.messages[0];
    }
    EXPECT_EQ(run.State().QsoCount,
              c.qsosRead >= 0 ? c.qsosRead : static_cast<std::int32_t>(c.stored.size()));
    const std::vector<QsoRecord> records = run.Stored();
    ASSERT_EQ(records.size(), c.stored.size());
    for (std::size_t q = 0; q < records.size(); ++q) {
        SCOPED_TRACE("QSO " + std::to_string(q + 1));
        for (const auto& [field, value] : c.stored[q].Fields) {
            EXPECT_EQ(run.Value(records[q], field), value) << field;
        }
        EXPECT_EQ(records[q].EntityAdifNr, c.stored[q].EntityAdifNr);
    }
}

std::string Tags(const std::string& call, const std::string& rest = "") {
    return "<CALL:" + std::to_string(call.size()) + ">" + call + "<QSO_DATE:8>20080105" + rest +
           "<EOR>\r\n";
}

const std::string kThousandCharacterCall = "Q1" + std::string(998, 'A');

INSTANTIATE_TEST_SUITE_P(
    Logs, HostileLogTest,
    ::testing::Values(
        // --- ADIF ---
        HostileLog{"AdifNulBytesInsideValuesAreKept",
                   &kAdif,
                   [] { return "<EOH>\r\n" + Tags("Q1\0AB"s, "<NOTES:3>\0\0\0"s); },
                   {{{{"CALL", "Q1\0AB"s}, {"NOTES", "\0\0\0"s}}, kAlphaAdif}}},
        HostileLog{"AdifNulBytesBetweenTagsAreSkipped",
                   &kAdif,
                   [] { return "\0\0<EOH>\0"s + Tags("Q2BBB") + "\0\0"s; },
                   {{{{"CALL", "Q2BBB"}}, kBetaAdif}}},
        HostileLog{
            "AdifBytesAbove127AreKeptAsTheyAre",
            &kAdif,
            [] { return "<EOH>\r\n" + Tags("Q1\xA5\xB9Z", "<NOTES:6>\xBF\xF3\xB3\xE6\x9C\xFF"); },
            {{{{"CALL", "Q1\xA5\xB9Z"}, {"NOTES", "\xBF\xF3\xB3\xE6\x9C\xFF"}}, kAlphaAdif}}},
        HostileLog{"AdifValueOfTenMegabytesIsCutToItsSlot",
                   &kAdif,
                   [] {
                       return "<EOH>\r\n<NOTES:" + std::to_string(kTenMegabytes) + ">" +
                              std::string(kTenMegabytes, 'x') + Tags("Q2BBB");
                   },
                   {{{{"NOTES", std::string(60, 'x')}, {"CALL", "Q2BBB"}}, kBetaAdif}}},
        HostileLog{"AdifLineOfTenMegabytesWithoutTagsIsSkipped",
                   &kAdif,
                   [] { return "<EOH>\r\n" + std::string(kTenMegabytes, 'z') + Tags("Q1AAA"); },
                   {{{{"CALL", "Q1AAA"}}, kAlphaAdif}}},
        HostileLog{
            "AdifTagOfTenMegabytesNamesNoKnownField",
            &kAdif,
            [] { return "<EOH>\r\n<" + std::string(kOneMegabyte, 'T') + ":1>v" + Tags("Q1AAA"); },
            {{{{"CALL", "Q1AAA"}}, kAlphaAdif}}},
        HostileLog{"AdifLengthOf99999TakesTheRestOfTheLog",
                   &kAdif,
                   [] {
                       return "<EOH>\r\n" + Tags("Q1AAA") + "<CALL:99999>" + Tags("Q2BBB") +
                              Tags("Q2CCC");
                   },
                   {{{{"CALL", "Q1AAA"}}, kAlphaAdif}},
                   0,
                   &TNazwyJezykowe::MsgAdifRecordCutOff},
        HostileLog{"AdifLengthBeyondAnyNumberIsRefused",
                   &kAdif,
                   [] { return "<EOH>\r\n<CALL:999999999999999999999999>Q1AAA<EOR>\r\n"s; },
                   {},
                   2,
                   &TNazwyJezykowe::MsgAdifBadLength},
        HostileLog{"AdifTagsNestedAHundredThousandDeep",
                   &kAdif,
                   [] {
                       return "<EOH>\r\n" + std::string(100000, '<') + std::string(100000, '>') +
                              Tags("Q2BBB");
                   },
                   {{{{"CALL", "Q2BBB"}}, kBetaAdif}}},
        HostileLog{"AdifCallsignOf1000CharactersKeepsItsFirst16",
                   &kAdif,
                   [] { return "<EOH>\r\n" + Tags(kThousandCharacterCall); },
                   {{{{"CALL", kThousandCharacterCall.substr(0, 16)}}, kAlphaAdif}}},
        HostileLog{"AdifCallsignOnlySlashHasNoEntity",
                   &kAdif,
                   [] { return "<EOH>\r\n" + Tags("/"); },
                   {{{{"CALL", "/"}}, kEntityUnknown}}},
        HostileLog{"AdifCallsignOnlyEqualsHasNoEntity",
                   &kAdif,
                   [] { return "<EOH>\r\n" + Tags("="); },
                   {{{{"CALL", "="}}, kEntityUnknown}}},
        HostileLog{"AdifDateOfNulBytesIsRejected",
                   &kAdif,
                   [] { return "<EOH>\r\n<CALL:5>Q1AAA<QSO_DATE:8>\0\0\0\0\0\0\0\0<EOR>\r\n"s; },
                   {},
                   2,
                   &TNazwyJezykowe::MsgQsoWord,
                   1},
        // --- CSV and TXT ---
        HostileLog{"CsvNulBytesArePaddingOutsideQuotesAndKeptInside",
                   &kCsv,
                   [] { return "CALL,QSO_DATE,NOTES\r\nQ1\0AAA,20080105,\"a\0b\"\r\n"s; },
                   {{{{"CALL", "Q1AAA"}, {"NOTES", "a\0b"s}}, kAlphaAdif}}},
        HostileLog{
            "CsvBytesAbove127AreKeptAsTheyAre",
            &kCsv,
            [] { return "CALL,QSO_DATE,NOTES\r\nQ2\xA5\xB9,20080105,\xBF\xF3\xB3\xE6\xFF\r\n"s; },
            {{{{"CALL", "Q2\xA5\xB9"}, {"NOTES", "\xBF\xF3\xB3\xE6\xFF"}}, kBetaAdif}}},
        HostileLog{"CsvLineOfTenMegabytesIsCutToItsSlots",
                   &kCsv,
                   [] {
                       return "CALL,QSO_DATE,NOTES\r\nQ1AAA,20080105," +
                              std::string(kTenMegabytes, 'n') + "\r\nQ2BBB,20080106,x\r\n";
                   },
                   {{{{"NOTES", std::string(60, 'n')}}, kAlphaAdif},
                    {{{"CALL", "Q2BBB"}, {"NOTES", "x"}}, kBetaAdif}}},
        // Inside the outer pair every doubled quote stands for one.
        HostileLog{
            "CsvQuotesNestedAHundredThousandDeepAreDoubledQuotes",
            &kCsv,
            [] {
                return "CALL,QSO_DATE,NOTES\r\nQ1AAA,20080105," + std::string(100000, '"') +
                       "\r\nQ2BBB,20080106,x\r\n";
            },
            {{{{"NOTES", std::string(60, '"')}}, kAlphaAdif}, {{{"CALL", "Q2BBB"}}, kBetaAdif}}},
        HostileLog{"CsvOddNumberOfNestedQuotesIsAnUnclosedQuote",
                   &kCsv,
                   [] {
                       return "CALL,QSO_DATE,NOTES\r\nQ1AAA,20080105," + std::string(100001, '"') +
                              "\r\nQ2BBB,20080106,x\r\n";
                   },
                   {},
                   2,
                   &TNazwyJezykowe::MsgUnclosedQuote},
        HostileLog{"CsvCallsignOf1000CharactersKeepsItsFirst16",
                   &kCsv,
                   [] { return "CALL,QSO_DATE\r\n" + kThousandCharacterCall + ",20080105\r\n"; },
                   {{{{"CALL", kThousandCharacterCall.substr(0, 16)}}, kAlphaAdif}}},
        HostileLog{"CsvCallsignsOnlySlashOrEqualsHaveNoEntity",
                   &kCsv,
                   [] { return "CALL,QSO_DATE\r\n/,20080105\r\n=,20080106\r\n"s; },
                   {{{{"CALL", "/"}}, kEntityUnknown}, {{{"CALL", "="}}, kEntityUnknown}}},
        HostileLog{"TxtTenMegabytesOfBlanksSeparateTwoFields",
                   &kTxt,
                   [] {
                       return "CALL QSO_DATE\r\nQ1AAA" + std::string(kTenMegabytes, ' ') +
                              "20080105\r\n";
                   },
                   {{{{"CALL", "Q1AAA"}, {"QSO_DATE", "20080105"}}, kAlphaAdif}}}),
    [](const auto& info) { return std::string(info.param.name); });

// A record that the end of the log cuts short is not taken, and the message list says where it
// began, so that a damaged length or a missing last "<EOR>" cannot drop QSOs unseen.
TEST(UnfinishedAdifRecord, IsReportedWithTheLineItBeganOn) {
    struct Case {
        const char* name;
        std::string log;
        int storedQsos;
        int reportedLine;  // 0: no report
    };
    const Case cases[] = {
        {"complete log", "<EOH>\r\n" + Tags("Q1AAA") + Tags("Q2BBB") + "\r\n\r\n", 2, 0},
        {"last <EOR> missing",
         "<EOH>\r\n" + Tags("Q1AAA") + "\r\n<CALL:5>Q2BBB<QSO_DATE:8>20080105\r\n", 1, 4},
        {"cut inside a tag", "<EOH>\r\n" + Tags("Q1AAA") + "<CALL:5>Q2BBB<QSO_DA", 1, 3},
        {"length past the end", "<EOH>\r\n" + Tags("Q1AAA") + Tags("Q2BBB", "<NOTES:99999>x"), 1,
         3},
        {"text after the last record", "<EOH>\r\n" + Tags("Q1AAA") + "end of log\r\n", 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HostileRun run;
        run.values.InputFileName = run.dir.write("log.adi", c.log);
        ReadLogIntoRun(run.objects, kAdif);
        EXPECT_EQ(run.values.RunStatus, 0);
        EXPECT_EQ(run.State().QsoCount, c.storedQsos);
        const std::vector<std::string> expected =
            c.reportedLine == 0 ? std::vector<std::string>{}
                                : std::vector<std::string>{run.texts.MsgAdifRecordCutOff +
                                                           std::to_string(c.reportedLine)};
        EXPECT_EQ(run.ui.messages, expected);
    }
}

}  // namespace
}  // namespace velmark::testing
