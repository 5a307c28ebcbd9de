#include "output/record_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/errors.h"
#include "output_test_support.h"
#include "test_sinks.h"

namespace velmark {
namespace {

using testing::FailingSink;
using testing::Golden;
using testing::MemorySink;
using testing::OutputRun;
using testing::WriteCards;

// Eight QSOs of three stations in output order: SP9ABC four (one with a month-name date),
// DL1XYZ one (no time, a name with double quotes, a CLASS), OK1ZZ three. NAME holds code page
// 1250 bytes ("\xA3" is the capital L with stroke).
std::vector<QsoRecord> mailMergeQsos(const OutputRun& run) {
    return {
        run.Qso(1, {{"CALL", "SP9ABC"},
                    {"QSO_DATE", "20080105"},
                    {"TIME_ON", "1807"},
                    {"BAND", "20M"},
                    {"MODE", "CW"},
                    {"NAME", "\xA3ukasz"}}),
        run.Qso(2, {{"CALL", "SP9ABC"},
                    {"QSO_DATE", "20080105"},
                    {"TIME_ON", "1812"},
                    {"BAND", "20M"},
                    {"MODE", "SSB"},
                    {"NAME", "\xA3ukasz"},
                    {"MY_AWARD", "WAP"}}),
        run.Qso(3, {{"CALL", "SP9ABC"},
                    {"QSO_DATE", "20080106"},
                    {"TIME_ON", "0905"},
                    {"BAND", "40M"},
                    {"MODE", "CW"}}),
        run.Qso(4, {{"CALL", "SP9ABC"},
                    {"QSO_DATE", "2008JAN07"},
                    {"TIME_ON", "0910"},
                    {"BAND", "40M"},
                    {"MODE", "CW"}}),
        run.Qso(5, {{"CALL", "DL1XYZ"},
                    {"QSO_DATE", "20080110"},
                    {"BAND", "80M"},
                    {"MODE", "RTTY"},
                    {"CLASS_", "A"},
                    {"NAME", "Hans \"Big\" M"},
                    {"MY_AWARD", "DLD-100"}}),
        run.Qso(6, {{"CALL", "OK1ZZ"},
                    {"QSO_DATE", "20080111"},
                    {"TIME_ON", "23.59"},
                    {"BAND", "15M"},
                    {"MODE", "FT8"},
                    {"NAME", "Bartholomew Jr"}}),
        run.Qso(7, {{"CALL", "OK1ZZ"},
                    {"QSO_DATE", "20080112"},
                    {"TIME_ON", "0001"},
                    {"BAND", "15M"},
                    {"MODE", "FT8"}}),
        run.Qso(8, {{"CALL", "OK1ZZ"},
                    {"QSO_DATE", "20080112"},
                    {"TIME_ON", "1200"},
                    {"BAND", "10M"},
                    {"MODE", "FT8"}}),
    };
}

// CSV output in the order the log brought the fields, ending with a field the catalogue learnt.
OutputRun csvRun() {
    OutputRun run({{"CALL"},
                   {"QSO_DATE"},
                   {"TIME_ON"},
                   {"BAND"},
                   {"MODE"},
                   {"QSO_NUM"},
                   {"CLASS_"},
                   {"NAME"},
                   {"MY_AWARD"}});
    run.Config.OutputFileType = 1;
    run.Config.InputDateFormat = 1;   // YYYYMMDD
    run.Config.OutputDateFormat = 3;  // YYYY-MM-DD
    run.Values.DateSeparatorText = ".";
    run.Values.TimeSeparatorText = ":";
    return run;
}

std::string writeMailMerge(const OutputRun& run, int qsosPerCard) {
    const RecordLayout layout = run.Layout();
    MemorySink sink;
    WriteColumnTitles(sink, layout);
    WriteCards(sink, layout, mailMergeQsos(run), qsosPerCard);
    return sink.text;
}

TEST(MailMergeOutput, CsvWithThreeQsosPerCardCompletesEachStationsLastCardWithFillers) {
    EXPECT_EQ(writeMailMerge(csvRun(), 3), Golden("cards_n3.csv"));
}

TEST(MailMergeOutput, CsvWithOneQsoPerCardHasNoFillers) {
    EXPECT_EQ(writeMailMerge(csvRun(), 1), Golden("cards_n1.csv"));
}

TEST(MailMergeOutput, TxtPadsEveryColumnButTheLastToItsWidth) {
    // Widths as the reader measured them: CALL 6 and TIME_ON 5 are raised to 10, NAME 12;
    // QSO_NUM was never measured (width 0) and is the last column.
    OutputRun run({{"CALL", 6}, {"QSO_DATE", 10}, {"TIME_ON", 5}, {"NAME", 12}, {"QSO_NUM"}});
    run.Config.OutputFileType = 2;
    run.Config.InputDateFormat = 1;
    run.Config.OutputDateFormat = 3;
    run.Values.DateSeparatorText = ".";
    run.Values.TimeSeparatorText = ":";
    // MY_AWARD is known from an earlier run (the catalogue keeps learnt names) but is no column
    // of this one: its values are not written.
    ColumnList earlierRun;
    run.Catalogue.RegisterField("MY_AWARD", earlierRun);
    EXPECT_EQ(writeMailMerge(run, 3), Golden("cards_n3.txt"));
}

struct FieldCase {
    const char* separator;
    int width;
    const char* value;
    bool lastColumn;
    const char* expected;
};

class FieldSyntax : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FieldSyntax, WritesTheValueQuotedWithItsQuotesDoubled) {
    const FieldCase& c = GetParam();
    MemorySink sink;
    WriteField(sink, "NAME", c.value, c.width, c.separator, c.lastColumn);
    EXPECT_EQ(sink.text, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    CsvAndTxt, FieldSyntax,
    ::testing::Values(
        // TXT: blanks up to the width and one more; a value as wide or wider gets one blank.
        FieldCase{" ", 10, "N0CALL", false, "\"N0CALL\"     "},
        FieldCase{" ", 10, "N0CALL/P/MM", false, "\"N0CALL/P/MM\" "},
        FieldCase{" ", 10, "0123456789", false, "\"0123456789\" "},
        FieldCase{" ", 0, "X", false, "\"X\" "}, FieldCase{" ", 10, "", false, "\"\"           "},
        // Nothing follows the last column, not even padding.
        FieldCase{" ", 10, "N0CALL", true, "\"N0CALL\""},
        // CSV: a double quote inside is doubled, commas stay; the width plays no part.
        FieldCase{",", 10, "a \"b\", c", false, "\"a \"\"b\"\", c\","},
        FieldCase{",", 10, "\"", true, "\"\"\"\""},
        // TXT pads what is written between the quotes, doubled quotes included.
        FieldCase{" ", 10, "\"RICH\"", false, "\"\"\"RICH\"\"\"   "},
        FieldCase{",", 10, "", false, "\"\","}, FieldCase{",", 10, "", true, "\"\""},
        // ADIF: tag with the length; an empty value leaves the field out.
        FieldCase{"<>", 10, "A <B>", false, "<NAME:5>A <B> "},
        FieldCase{"<>", 10, "\xA3ukasz", true, "<NAME:6>\xA3ukasz "},
        FieldCase{"<>", 10, "", false, ""},
        // Cabrillo and unknown forms have no field syntax here.
        FieldCase{"cbr", 10, "N0CALL", false, ""}, FieldCase{";", 10, "N0CALL", false, ""}));

// One column written in CSV, so the value shows between its quotes.
struct ValueRun {
    OutputRun run;
    explicit ValueRun(std::string_view field) : run({{field}}) { run.Config.OutputFileType = 1; }

    std::string written(const QsoRecord& record) const {
        MemorySink sink;
        WriteQsoRecord(sink, run.Layout(), record);
        return sink.text;
    }
};

TEST(QsoNumColumn, IsTheQsoNumberRightAlignedInSixCharacters) {
    ValueRun csv("QSO_NUM");
    EXPECT_EQ(csv.written(csv.run.Qso(42, {})), "\"    42\"\r\n");
    EXPECT_EQ(csv.written(csv.run.Qso(123456, {})), "\"123456\"\r\n");
    EXPECT_EQ(csv.written(csv.run.Qso(1234567, {})), "\"1234567\"\r\n");

    ValueRun adif("QSO_NUM");
    adif.run.Config.OutputFileType = 0;
    EXPECT_EQ(adif.written(adif.run.Qso(42, {})), "<QSO_NUM:6>    42 <EOR>\r\n\r\n");
}

struct DateCase {
    int inputFormat;
    int outputFormat;
    const char* separator;
    const char* stored;
    const char* expected;
};

class QsoDateColumn : public ::testing::TestWithParam<DateCase> {};

TEST_P(QsoDateColumn, IsRewrittenFromTheInputToTheOutputFormat) {
    const DateCase& c = GetParam();
    ValueRun csv("QSO_DATE");
    csv.run.Config.InputDateFormat = static_cast<std::uint8_t>(c.inputFormat);
    csv.run.Config.OutputDateFormat = static_cast<std::uint8_t>(c.outputFormat);
    csv.run.Values.DateSeparatorText = c.separator;
    const QsoRecord record = csv.run.Qso(1, {{"QSO_DATE", c.stored}});
    EXPECT_EQ(csv.written(record), std::string("\"") + c.expected + "\"\r\n");
    EXPECT_EQ(record.Slot(kQsoDateKind), c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, QsoDateColumn,
    ::testing::Values(DateCase{1, 3, ".", "20080105", "2008.01.05"},
                      DateCase{1, 4, "-", "20080105", "05-01-2008"},
                      DateCase{1, 2, ".", "20080105", "05012008"},
                      DateCase{3, 1, "", "2008-01-05", "20080105"},
                      // An invalid separator text still in the main window's field is used.
                      DateCase{1, 3, "ab", "20080105", "2008ab01ab05"},
                      // Output "as the input": the stored date, month names and all.
                      DateCase{1, 0, ".", "2008JAN05", "2008JAN05"},
                      // Unknown input format: nothing to convert from.
                      DateCase{0, 3, ".", "20080105", "20080105"},
                      // A list with no selection (255) names no output format.
                      DateCase{1, 255, ".", "20080105", "20080105"}));

struct TimeCase {
    const char* separator;
    const char* stored;
    const char* expected;
};

class TimeColumns : public ::testing::TestWithParam<TimeCase> {};

// The run driver writes each record to the main output and then to the part file; both must
// get the same time, and a QSO without a time keeps an empty field.
TEST_P(TimeColumns, GetTheTimeSeparatorOnceInEveryFileTheRecordGoesTo) {
    const TimeCase& c = GetParam();
    OutputRun run({{"TIME_ON"}, {"TIME_OFF"}});
    run.Config.OutputFileType = 1;
    run.Values.TimeSeparatorText = c.separator;
    const RecordLayout layout = run.Layout();
    const QsoRecord record = run.Qso(1, {{"TIME_ON", c.stored}, {"TIME_OFF", c.stored}});
    const std::string expected = std::string("\"") + c.expected + "\",\"" + c.expected + "\"\r\n";

    MemorySink mainOutput;
    MemorySink partOutput;
    WriteQsoRecord(mainOutput, layout, record);
    WriteQsoRecord(partOutput, layout, record);
    EXPECT_EQ(mainOutput.text, expected);
    EXPECT_EQ(partOutput.text, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Separators, TimeColumns,
    ::testing::Values(TimeCase{":", "1807", "18:07"}, TimeCase{":", "18.07", "18:07"},
                      TimeCase{"", "18:07", "1807"}, TimeCase{"", "1807", "1807"},
                      // Only the first character of the text counts.
                      TimeCase{"-/", "1807", "18-07"}, TimeCase{":", "5", "5:"},
                      TimeCase{":", "", ""}, TimeCase{"", "", ""}));

TEST(FillerRecord, HoldsDashesSizedByColumn) {
    OutputRun run({{"PFX"},
                   {"QSO_DATE"},
                   {"QSO_RANDOM"},
                   {"QSO_NUM"},
                   {"TIME_ON"},
                   {"CLASS_"},
                   {"APP_LOGGER_X"}});
    run.Config.OutputFileType = 1;
    MemorySink sink;
    WriteFillerRecord(sink, run.Layout());
    EXPECT_EQ(sink.text,
              "\"------\",\"----------\",\"----------\",\"-------\",\"-------\",\"-------\","
              "\"-------\"\r\n");
}

TEST(ColumnTitles, UseTheAdifNamesAndTheNamesTheLogBrought) {
    OutputRun run({{"CLASS_"}, {"CALL"}, {"app_logger_x"}});
    run.Config.OutputFileType = 1;
    MemorySink sink;
    WriteColumnTitles(sink, run.Layout());
    EXPECT_EQ(sink.text, "\"CLASS\",\"CALL\",\"app_logger_x\"\r\n");

    // The ADIF tag of the kind is CLASS as well.
    run.Config.OutputFileType = 0;
    MemorySink adif;
    WriteQsoRecord(adif, run.Layout(), run.Qso(1, {{"CLASS_", "B"}}));
    EXPECT_EQ(adif.text, "<CLASS:1>B <EOR>\r\n\r\n");
}

// Cabrillo output has a writer of its own: nothing is written here.
TEST(OutputForm, CabrilloGetsNothingFromTheRecordWriter) {
    OutputRun run({{"CALL"}});
    run.Config.OutputFileType = 3;
    const RecordLayout layout = run.Layout();
    EXPECT_EQ(layout.Separator, "cbr");
    MemorySink sink;
    WriteColumnTitles(sink, layout);
    WriteQsoRecord(sink, layout, run.Qso(1, {{"CALL", "N0CALL"}}));
    WriteFillerRecord(sink, layout);
    EXPECT_EQ(sink.text, "");
}

// A full disk in the middle of the file stops the writing with the system's message; the bytes
// taken before are those of a correct file, nothing is written after.
TEST(WriteFailure, StopsTheOutputWithTheFileError) {
    const OutputRun run = csvRun();
    const std::string complete = writeMailMerge(run, 3);
    for (const std::size_t capacity : {std::size_t{0}, std::size_t{50}, complete.size() - 1}) {
        FailingSink sink(capacity);
        const RecordLayout layout = run.Layout();
        try {
            WriteColumnTitles(sink, layout);
            WriteCards(sink, layout, mailMergeQsos(run), 3);
            ADD_FAILURE() << "no error after " << capacity << " bytes";
        } catch (const FileError& error) {
            EXPECT_STREQ(error.what(), "No space left on device: out.csv");
        }
        EXPECT_EQ(sink.text, complete.substr(0, capacity));
    }
}

}  // namespace
}  // namespace velmark
