#include "input/csv_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "input/log_data_error.h"
#include "tests/input/line_ends.h"

namespace velmark {
namespace {

using testing::LineEnd;
using testing::WithLineEnds;
using Lines = std::vector<std::vector<std::string>>;

constexpr auto kCsv = FieldSplitting::Csv;
constexpr auto kTxt = FieldSplitting::BlankSeparated;

// Every field of a log, line by line, as the field reader returns them.
Lines splitLog(const std::string& log, FieldSplitting splitting) {
    ByteSource source = ByteSource::FromString(log);
    auto run = std::make_unique<RunState>();
    CsvReader reader(source, *run, splitting);
    Lines lines;
    std::vector<std::string> line;
    for (;;) {
        const CsvField field = reader.ReadCsvField();
        if (field.InputEnded) {
            break;
        }
        line.push_back(field.Text);
        if (field.EndOfLine) {
            lines.push_back(line);
            line.clear();
        }
    }
    EXPECT_TRUE(line.empty()) << "a line without its end";
    return lines;
}

class FieldSplittingTest : public ::testing::TestWithParam<LineEnd> {};

TEST_P(FieldSplittingTest, LineSplitsIntoItsFields) {
    enum Forms { CsvOnly, TxtOnly, Both };
    struct Case {
        Forms forms;
        std::string line;
        std::vector<std::string> fields;
    };
    const std::vector<Case> cases = {
        {Both, "a,b,c", {"a", "b", "c"}},
        {Both, R"("a","b","c")", {"a", "b", "c"}},
        {TxtOnly, "a b c", {"a", "b", "c"}},
        {Both, "a;b;c", {"a", "b", "c"}},
        {Both, "a,,c", {"a", "", "c"}},
        {Both, ",b,c", {"", "b", "c"}},
        {Both, "a ,b", {"a", "b"}},
        {Both, "a ,,b", {"a", "", "b"}},
        {Both, "a , , b", {"a", "", "b"}},
        {Both, "a,b,", {"a", "b", ""}},
        {Both, "a,b , ", {"a", "b", ""}},
        {Both, "a;;b", {"a", "", "b"}},
        {CsvOnly, "John Smith,5", {"John Smith", "5"}},
        {CsvOnly, "  John  Smith  ,5", {"John  Smith", "5"}},
        {TxtOnly, "John Smith,5", {"John", "Smith", "5"}},
        {TxtOnly, R"("John Smith" 5)", {"John Smith", "5"}},
        {TxtOnly, "  a   b  ", {"a", "b"}},
        {Both, R"("a,b",c)", {"a,b", "c"}},
        {Both, R"("ab""cd")", {"ab\"cd"}},
        {Both, R"("""RICH""",x)", {"\"RICH\"", "x"}},
        {Both, R"("""",x)", {"\"", "x"}},
        {Both, R"(ab"cd",e)", {"abcd", "e"}},
        {Both, "x;John Smith, Jr;5", {"x", "John Smith, Jr", "5"}},
        {TxtOnly, "x; John Smith", {"x", "John", "Smith"}},
        {Both, "a\t\tb", {"a", "b"}},
        {Both, "\ta\tb\t", {"a", "b"}},
        {Both, "\"a\nb\",c", {"a\nb", "c"}},
        {Both, std::string("a\0b,c", 5), {"ab", "c"}},
    };
    for (const Case& c : cases) {
        for (const FieldSplitting splitting : {kCsv, kTxt}) {
            if ((c.forms == CsvOnly && splitting != kCsv) ||
                (c.forms == TxtOnly && splitting != kTxt)) {
                continue;
            }
            SCOPED_TRACE(c.line + (splitting == kCsv ? "  (CSV)" : "  (TXT)"));
            std::vector<std::string> expected;
            for (const std::string& field : c.fields) {
                expected.push_back(WithLineEnds(field, GetParam()));
            }
            EXPECT_EQ(splitLog(WithLineEnds(c.line + "\nz\n", GetParam()), splitting),
                      (Lines{expected, {"z"}}));
        }
    }
}

TEST_P(FieldSplittingTest, EmptyLinesAreSkippedAndTheLastLineNeedsNoEnd) {
    for (const FieldSplitting splitting : {kCsv, kTxt}) {
        EXPECT_EQ(splitLog(WithLineEnds("\na,b\n\n  \n\t\nc,d\n\n", GetParam()), splitting),
                  (Lines{{"a", "b"}, {"c", "d"}}));
        EXPECT_EQ(splitLog(WithLineEnds("a,b\nc,d", GetParam()), splitting),
                  (Lines{{"a", "b"}, {"c", "d"}}));
        EXPECT_EQ(splitLog(WithLineEnds("a,b\nc,", GetParam()), splitting),
                  (Lines{{"a", "b"}, {"c", ""}}));
        EXPECT_EQ(splitLog(WithLineEnds("a;b\nc;d e", GetParam()), splitting),
                  (Lines{{"a", "b"}, {"c", "d e"}}));
    }
}

INSTANTIATE_TEST_SUITE_P(LineEnds, FieldSplittingTest,
                         ::testing::Values(LineEnd::CrLf, LineEnd::Lf, LineEnd::Cr),
                         [](const auto& info) { return testing::LineEndName(info.param); });

// --- titles and records ---

class CsvRecordTest : public ::testing::TestWithParam<LineEnd> {
  protected:
    struct Row {
        QsoRecord Record;
        CsvRecordResult Result;
    };

    // Reads the title line and every record of a log written with "\n" line ends.
    std::vector<Row> readLog(std::string_view log, FieldSplitting splitting = kCsv) {
        ByteSource source = ByteSource::FromString(WithLineEnds(log, GetParam()));
        CsvReader reader(source, *run, splitting);
        reader.ReadColumnTitles(catalogue);
        return readRecords(reader);
    }

    std::vector<Row> readRecords(CsvReader& reader) {
        std::vector<Row> rows;
        for (;;) {
            record.Clear();
            RecordTarget target{catalogue, run->Columns, record,
                                static_cast<std::int32_t>(rows.size() + 1)};
            const CsvRecordResult result = reader.ReadCsvRecord(target);
            if (result.InputEnded) {
                return rows;
            }
            rows.push_back({record, result});
        }
    }

    std::string valueOf(const Row& row, std::string_view name) const {
        const int entry = catalogue.FindField(name);
        EXPECT_NE(entry, kNoEntry) << name;
        return std::string(row.Record.Slot(catalogue.Entry(entry).Kind));
    }

    int width(std::string_view name) const {
        return catalogue.Entry(catalogue.FindField(name)).ColumnWidth;
    }

    TStrukturaADIF catalogue;
    std::unique_ptr<RunState> run = std::make_unique<RunState>();
    QsoRecord record;
};

// A record ends with its line: short and long lines never shift the following QSOs.
TEST_P(CsvRecordTest, EveryLineIsOneRecordWhateverItsNumberOfFields) {
    const auto rows = readLog(
        "CALL,MODE,QSO_DATE\n"
        "Q1AAA,SSB,20080105\n"
        "Q2BBB,CW\n"
        "Q3CCC,FM,20080107,extra,more\n"
        ",RY,20080108\n"
        "Q5EEE,PH,\n");
    ASSERT_EQ(rows.size(), 5u);
    const std::vector<std::vector<std::string>> expected = {
        {"Q1AAA", "SSB", "20080105"}, {"Q2BBB", "CW", ""},  {"Q3CCC", "FM", "20080107"},
        {"", "RTTY", "20080108"},     {"Q5EEE", "SSB", ""},
    };
    const std::vector<int> fieldCounts = {3, 2, 5, 3, 3};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(valueOf(rows[i], "CALL"), expected[i][0]);
        EXPECT_EQ(valueOf(rows[i], "MODE"), expected[i][1]);
        EXPECT_EQ(valueOf(rows[i], "QSO_DATE"), expected[i][2]);
        EXPECT_EQ(rows[i].Result.FieldCount, fieldCounts[i]);
        EXPECT_EQ(rows[i].Result.Line, static_cast<int>(i) + 2);
    }
}

TEST_P(CsvRecordTest, TxtLogSplitsAtBlanksAndKeepsQuotedBlanks) {
    const auto rows = readLog(
        "CALL NAME  QSO_DATE\n"
        "Q1AAA \"Jan Kowalski\" 20080105\n"
        "Q2BBB;John Smith, Jr;20080106\n",
        kTxt);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(valueOf(rows[0], "NAME"), "Jan Kowalski");
    EXPECT_EQ(valueOf(rows[1], "NAME"), "John Smith, Jr");
    EXPECT_EQ(valueOf(rows[1], "QSO_DATE"), "20080106");
}

TEST_P(CsvRecordTest, TitlesAreCatalogueNamesCompareExactly) {
    const auto rows = readLog("CALL,QSO_DATE,call\nQ1AAA,20080105,q9zzz\n");
    EXPECT_EQ(catalogue.FindField("CALL"), 11);
    EXPECT_EQ(catalogue.FindField("QSO_DATE"), 82);
    EXPECT_EQ(catalogue.FindField("call"), kStandardFieldCount + 1);
    EXPECT_EQ(run->Columns.ColumnCount, 3);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(valueOf(rows[0], "CALL"), "Q1AAA");
    EXPECT_EQ(valueOf(rows[0], "call"), "q9zzz");
}

TEST_P(CsvRecordTest, ColumnWidthIsTheLongestStoredValueAndAtLeastTen) {
    readLog("CALL,MODE,CONTACTED_OP\nQ1AAA,SSB,x\nQ1ABCDEFGHIJ,CW,y\n");
    EXPECT_EQ(width("CALL"), 12);
    EXPECT_EQ(width("MODE"), 10);
    EXPECT_EQ(width("CONTACTED_OP"), 12);  // the title's own length
    readLog("CALL\nQ1ABCDEFGHIJKLMNOPQ/\n");
    EXPECT_EQ(width("CALL"), 16);
}

TEST_P(CsvRecordTest, BadTitleLineIsRejectedBeforeAnyTitleTakesAnEntry) {
    struct Case {
        const char* titles;
        LogProblem problem;
        const char* detail;
    };
    const std::vector<Case> cases = {
        {"CALL,QSO_DATE,CALL", LogProblem::DuplicateTitle, "CALL"},
        {"MY_FIELD,CALL,MY_FIELD", LogProblem::DuplicateTitle, "MY_FIELD"},
        {"MY_FIELD,,CALL", LogProblem::EmptyTitle, "2"},
        {"MY_FIELD,CALL,", LogProblem::EmptyTitle, "3"},
        {R"(MY_FIELD,"",CALL)", LogProblem::EmptyTitle, "2"},
        {"MY_FIELD,EOR", LogProblem::UnusableTitle, "EOR"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.titles);
        try {
            readLog(std::string(c.titles) + "\nQ1AAA,20080105,x\n");
            ADD_FAILURE() << "title line accepted";
        } catch (const LogDataError& error) {
            EXPECT_EQ(error.Problem, c.problem);
            EXPECT_EQ(error.Detail, c.detail);
            EXPECT_EQ(error.Line, 1);
        }
        EXPECT_EQ(catalogue.FindField("MY_FIELD"), kNoEntry);
        EXPECT_EQ(run->Columns.ColumnCount, 0);
    }
}

TEST_P(CsvRecordTest, FullCatalogueStopsAtTheFirstTitleThatFindsNoEntry) {
    ColumnList scratch;
    for (int i = 0; i < kCatalogueSize - kStandardFieldCount; ++i) {
        catalogue.RegisterField("TAKEN_" + std::to_string(i), scratch);
    }
    try {
        readLog("CALL,NEW_ONE\nQ1AAA,x\n");
        ADD_FAILURE() << "no error";
    } catch (const LogDataError& error) {
        EXPECT_EQ(error.Problem, LogProblem::CatalogueFull);
        EXPECT_EQ(error.Detail, "NEW_ONE");
    }
}

// --- Cabrillo ---

TEST_P(CsvRecordTest, CabrilloLogReadsOnlyItsQsoLinesUpToEndOfLog) {
    ByteSource names = ByteSource::FromString(
        WithLineEnds("QSO_WORD FREQ MODE QSO_DATE TIME_ON OPERATOR RST_SENT STX CALL RST_RCVD "
                     "SRX\nsecond line is ignored\n",
                     GetParam()));
    CsvReader(names, *run, kTxt).ReadColumnTitles(catalogue);
    ByteSource log = ByteSource::FromString(
        WithLineEnds("START-OF-LOG: 3.0\n"
                     "CONTEST: SP-DX\n"
                     "Created-By: Logger 5\n"
                     "CALLSIGN: Q1AAA\n"
                     "QSO:  7005 CW 2008-01-05 1200 Q1AAA 599 001 Q2BBB 599 012\n"
                     "X-QSO:  7005 CW 2008-01-05 1201 Q1AAA 599 002 Q9ZZZ 599 013\n"
                     "QSO: 14005 CW 2008-01-05 1202 Q1AAA 599 003 Q3CCC 599 014\n"
                     "END-OF-LOG:\n"
                     "QSO: 14005 CW 2008-01-05 1203 Q1AAA 599 004 Q4DDD 599 015\n",
                     GetParam()));
    CsvReader reader(log, *run, kTxt);
    reader.SkipCabrilloHeader();
    const auto rows = readRecords(reader);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(valueOf(rows[0], "CALL"), "Q2BBB");
    EXPECT_EQ(valueOf(rows[0], "QSO_DATE"), "2008-01-05");
    EXPECT_EQ(valueOf(rows[1], "CALL"), "Q3CCC");
    EXPECT_EQ(valueOf(rows[1], "SRX"), "014");
    EXPECT_EQ(valueOf(rows[1], "QSO_WORD"), "QSO:");
}

// CREATED-BY is optional in Cabrillo 2 and 3: the header then ends at the first QSO line.
TEST_P(CsvRecordTest, CabrilloLogWithoutCreatedLineReadsEveryQsoLine) {
    ByteSource names = ByteSource::FromString("QSO_WORD FREQ CALL\n");
    CsvReader(names, *run, kTxt).ReadColumnTitles(catalogue);
    ByteSource log = ByteSource::FromString(
        WithLineEnds("START-OF-LOG: 3.0\nCONTEST: ARRL-10\nSOAPBOX: 5\" of snow\nQSO: 7005 Q2BBB\n"
                     "qso:\t7006 Q3CCC\nCREATED-BY: late\nQSO: 7007 Q4DDD\nEND-OF-LOG:\n",
                     GetParam()));
    CsvReader reader(log, *run, kTxt);
    EXPECT_EQ(reader.SkipCabrilloHeader(), "ARRL-10");
    const auto rows = readRecords(reader);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(valueOf(rows[0], "CALL"), "Q2BBB");
    EXPECT_EQ(valueOf(rows[0], "QSO_WORD"), "QSO:");
    EXPECT_EQ(valueOf(rows[1], "FREQ"), "7006");
    EXPECT_EQ(valueOf(rows[2], "CALL"), "Q4DDD");
}

INSTANTIATE_TEST_SUITE_P(LineEnds, CsvRecordTest,
                         ::testing::Values(LineEnd::CrLf, LineEnd::Lf, LineEnd::Cr),
                         [](const auto& info) { return testing::LineEndName(info.param); });

}  // namespace
}  // namespace velmark
