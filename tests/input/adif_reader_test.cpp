#include "input/adif_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/log_data_error.h"
#include "tests/input/line_ends.h"

namespace velmark {
namespace {

using testing::LineEnd;
using testing::WithLineEnds;

class AdifReaderTest : public ::testing::Test {
  protected:
    // Reads the header and every complete record of a log.
    std::vector<QsoRecord> readLog(const std::string& log) {
        ByteSource source = ByteSource::FromString(log);
        AdifReader reader(source);
        reader.ReadAdifHeader(processing);
        std::vector<QsoRecord> records;
        for (;;) {
            processing.InputRecord.Clear();
            RecordTarget target{catalogue, columns, processing.InputRecord,
                                static_cast<std::int32_t>(records.size() + 1)};
            if (!reader.ReadAdifRecord(target)) {
                break;
            }
            records.push_back(processing.InputRecord);
        }
        refused = reader.RefusedNames();
        return records;
    }

    std::string valueOf(const QsoRecord& record, std::string_view name) const {
        const int entry = catalogue.FindField(name);
        EXPECT_NE(entry, kNoEntry) << name;
        return std::string(record.Slot(catalogue.Entry(entry).Kind));
    }

    std::vector<std::string> headerLines() const {
        std::vector<std::string> lines;
        for (int i = 1; i <= processing.AdifHeaderLineCount; ++i) {
            lines.push_back(processing.AdifHeaderLines[static_cast<std::size_t>(i)]);
        }
        return lines;
    }

    std::vector<std::string> columnNames() const {
        std::vector<std::string> names;
        for (int k = 1; k <= columns.ColumnCount; ++k) {
            names.push_back(catalogue.Entry(columns.Positions[static_cast<std::size_t>(k)]).Name);
        }
        return names;
    }

    TStrukturaADIF catalogue;
    ColumnList columns;
    TObiektyInputOutput processing;
    std::vector<std::string> refused;
};

// What one record stores for one field, tag by tag.
TEST_F(AdifReaderTest, StoresEachTagFormAsTheValueItCarries) {
    struct Case {
        const char* record;
        const char* field;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"<call:6>Q1AAAA<eor>", "CALL", "Q1AAAA"},
        {"<CALL:6:S>Q1AAAA<EOR>", "CALL", "Q1AAAA"},
        {"<QSO_DATE:8:D>20080105<EOR>", "QSO_DATE", "20080105"},
        {"<NOTES:12>abc<def>ghij<EOR>", "NOTES", "abc<def>ghij"},
        {"<COMMENT:9>line\r\ntwo<EOR>", "COMMENT", "line\r\ntwo"},
        {"<COMMENT:9>two\nlines<EOR>", "COMMENT", "two\nlines"},
        {"<MODE:2>RY<EOR>", "MODE", "RTTY"},
        {"<MODE:2>PH<EOR>", "MODE", "SSB"},
        {"<MODE:2>ry<EOR>", "MODE", "ry"},
        {"<MODE:3>SSB<EOR>", "MODE", "SSB"},
        {"<COMMENT:3>   <EOR>", "COMMENT", ""},
        {"<NAME:8>  Jan K <EOR>", "NAME", "Jan K"},
        {"<CALL:20>Q1ABCDEFGHIJKLMNOPQ/<EOR>", "CALL", "Q1ABCDEFGHIJKLMN"},
        {"<Call:5>q1aaa<Eor>", "CALL", "q1aaa"},
        {"header\n<EOH>\ntext between\n<CALL:5>Q1AAA text <EOR>", "CALL", "Q1AAA"},
        {"<CALL:5>Q1AAA<CALL:5>Q2BBB<EOR>", "CALL", "Q2BBB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        const auto records = readLog(c.record);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(valueOf(records[0], c.field), c.expected);
    }
}

TEST_F(AdifReaderTest, QsoNumTakesTheRunningNumberNotTheLogs) {
    const auto records = readLog("<QSO_NUM:3>999<CALL:3>Q1A<EOR>\n<QSO_NUM:1>7<EOR>\n");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].QsoNr, 1);
    EXPECT_EQ(records[1].QsoNr, 2);
}

TEST_F(AdifReaderTest, ClassIsReadButNeverStored) {
    const auto records = readLog("<CLASS:2>3A<CALL:3>Q1A<EOR>");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(valueOf(records[0], "CLASS_"), "");
    EXPECT_EQ(valueOf(records[0], "CALL"), "Q1A");
}

TEST_F(AdifReaderTest, UnknownTagsTakeFreeCatalogueEntriesAndColumnsAsTheyAppear) {
    const auto records = readLog(
        "<CALL:5>Q1AAA<APP_X_FIELD:3>abc<EOR>\n"
        "<CALL:5>Q2BBB<EOR>\n"
        "<CALL:5>Q3CCC<MODE:2>CW<APP_Y:1>y<EOR>\n");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(catalogue.FindField("APP_X_FIELD"), kStandardFieldCount + 1);
    EXPECT_EQ(catalogue.FindField("APP_Y"), kStandardFieldCount + 2);
    EXPECT_EQ(valueOf(records[0], "APP_X_FIELD"), "abc");
    EXPECT_EQ(valueOf(records[1], "APP_X_FIELD"), "");
    EXPECT_EQ(valueOf(records[2], "APP_Y"), "y");
    EXPECT_EQ(columnNames(), (std::vector<std::string>{"CALL", "APP_X_FIELD", "MODE", "APP_Y"}));
}

TEST_F(AdifReaderTest, ColumnWidthFollowsTheLongerOfTagNameAndStoredValue) {
    readLog(
        "<CONTACTED_OP:3>ABC<EOR>"
        "<CALL:20>Q1ABCDEFGHIJKLMNOPQ/<EOR>"
        "<MODE:2>CW<EOR>"
        "<COMMENT:25>abcdefghijklmnopqrstuvwxy<EOR><COMMENT:12>abcdefghijkl<EOR>");
    auto width = [&](const char* name) {
        return catalogue.Entry(catalogue.FindField(name)).ColumnWidth;
    };
    EXPECT_EQ(width("CONTACTED_OP"), 12);  // the name is longer than the value
    EXPECT_EQ(width("CALL"), 16);          // the value as its slot keeps it
    EXPECT_EQ(width("MODE"), 10);          // never below 10
    EXPECT_EQ(width("COMMENT"), 25);       // widths only grow
}

TEST_F(AdifReaderTest, RecordCutShortByTheEndOfTheLogIsNotTaken) {
    EXPECT_EQ(readLog("<CALL:5>Q1AAA<EOR><CALL:5>Q2BBB").size(), 1u);
    EXPECT_EQ(readLog("<CALL:5>Q1AAA<EOR><CALL:5>Q2B").size(), 1u);
    EXPECT_EQ(readLog("<CALL:5>Q1AAA<EOR><CALL:5").size(), 1u);
    EXPECT_EQ(readLog("<CALL:5>Q1AAA<EOR>").size(), 1u);
    EXPECT_EQ(readLog("<CALL:5>Q1AAA<EOR>\r\n\r\n").size(), 1u);
}

// A value may be far longer than 255 characters: it is read whole, so the tags after it are
// found where they are, and stored cut to its slot.
TEST_F(AdifReaderTest, LongValueIsReadWholeAndCutToItsSlot) {
    const std::string notes(400, 'n');
    const auto records = readLog("<NOTES:400>" + notes + "<CALL:5>Q1AAA<EOR>");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(valueOf(records[0], "NOTES"), notes.substr(0, 60));
    EXPECT_EQ(valueOf(records[0], "CALL"), "Q1AAA");
}

TEST_F(AdifReaderTest, LengthThatIsNotAWholeNumberStopsWithTheTagAndItsLine) {
    for (const char* tag : {"<CALL:x5>", "<CALL:>", "<CALL:-1>", "<CALL:5a:S>", "<CALL: 5>"}) {
        SCOPED_TRACE(tag);
        try {
            readLog(std::string("<EOH>\n<CALL:5>Q1AAA<EOR>\n\n") + tag + "Q2BBB<EOR>\n");
            ADD_FAILURE() << "no error";
        } catch (const LogDataError& error) {
            EXPECT_EQ(error.Problem, LogProblem::AdifBadValueLength);
            EXPECT_EQ(error.Detail, tag);
            EXPECT_EQ(error.Line, 4);
        }
    }
}

TEST_F(AdifReaderTest, StrayHeaderEndAmongRecordsIsNoField) {
    // After the first "<EOR>" an "<EOH>" can no longer end a header.
    const auto records = readLog("<CALL:5>Q1AAA<EOR><CALL:5>Q2BBB<EOH><EOR>");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(columnNames(), (std::vector<std::string>{"CALL"}));
}

TEST_F(AdifReaderTest, FullCatalogueRefusesNewNamesOnceEachAndSkipsTheirValues) {
    for (int i = 0; i < kCatalogueSize - kStandardFieldCount; ++i) {
        catalogue.RegisterField("TAKEN_" + std::to_string(i), columns);
    }
    columns.Clear();
    const auto records =
        readLog("<APP_A:1>a<CALL:5>Q1AAA<EOR><APP_A:1>b<APP_B:1>c<CALL:5>Q2BBB<EOR>");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(valueOf(records[1], "CALL"), "Q2BBB");
    EXPECT_EQ(refused, (std::vector<std::string>{"APP_A", "APP_B"}));
    EXPECT_EQ(columnNames(), (std::vector<std::string>{"CALL"}));
}

// --- the header, in each line-end form ---

class AdifHeaderTest : public AdifReaderTest, public ::testing::WithParamInterface<LineEnd> {
  protected:
    std::vector<QsoRecord> readLogIn(std::string_view text) {
        return readLog(WithLineEnds(text, GetParam()));
    }
};

TEST_P(AdifHeaderTest, HeaderEndingInAnExactEohLine) {
    const auto records = readLogIn(
        "Log of Q1AAA\n<ADIF_VER:5>3.1.0\n<EOH>\n<CALL:5>Q2BBB<EOR>\n<CALL:5>Q3CCC<EOR>\n");
    EXPECT_EQ(headerLines(),
              (std::vector<std::string>{"Log of Q1AAA", "<ADIF_VER:5>3.1.0", "<EOH>"}));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(valueOf(records[1], "CALL"), "Q3CCC");
}

TEST_P(AdifHeaderTest, LogBeginningWithATagHasNoHeader) {
    const auto records = readLogIn("<CALL:5>Q2BBB<EOR>\n<CALL:5>Q3CCC<EOR>\n");
    EXPECT_TRUE(headerLines().empty());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(valueOf(records[0], "CALL"), "Q2BBB");
}

// Many loggers write the whole header, and even the first record, on one line.
TEST_P(AdifHeaderTest, EohInAnyCaseAfterTextEndsTheHeaderThere) {
    const auto records = readLogIn(
        "Generated by Logger 5 <adif_ver:5>3.1.4 <programid:6>Logger <eoh><CALL:5>Q2BBB<EOR>\n"
        "<CALL:5>Q3CCC<EOR>\n");
    EXPECT_EQ(headerLines(),
              (std::vector<std::string>{
                  "Generated by Logger 5 <adif_ver:5>3.1.4 <programid:6>Logger ", "<EOH>"}));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(valueOf(records[0], "CALL"), "Q2BBB");
}

TEST_P(AdifHeaderTest, LowerCaseEohAloneOnItsLine) {
    const auto records = readLogIn("header\n<Eoh>\n<CALL:5>Q2BBB<EOR>\n");
    EXPECT_EQ(headerLines(), (std::vector<std::string>{"header", "<EOH>"}));
    EXPECT_EQ(records.size(), 1u);
}

TEST_P(AdifHeaderTest, ThirtyHeaderLinesFitAndOneMoreDoesNot) {
    std::string lines;
    for (int i = 1; i <= 29; ++i) {
        lines += "header line " + std::to_string(i) + "\n";
    }
    EXPECT_EQ(readLogIn(lines + "<EOH>\n<CALL:5>Q2BBB<EOR>\n").size(), 1u);
    EXPECT_EQ(headerLines().size(), 30u);

    for (const std::string& tooLong : {lines + "line 30\n<EOH>\n<CALL:5>Q2BBB<EOR>\n",
                                       lines + "line 30 <EOH>\n", lines + "line 30\nline 31\n"}) {
        try {
            readLogIn(tooLong);
            ADD_FAILURE() << "no error";
        } catch (const LogDataError& error) {
            EXPECT_EQ(error.Problem, LogProblem::AdifHeaderWithoutEnd);
        }
    }
}

TEST_P(AdifHeaderTest, HeaderWithoutEohStopsTheRun) {
    EXPECT_THROW(readLogIn("header\n<CALL:5>Q2BBB<EOR>\n"), LogDataError);
}

INSTANTIATE_TEST_SUITE_P(LineEnds, AdifHeaderTest,
                         ::testing::Values(LineEnd::CrLf, LineEnd::Lf, LineEnd::Cr),
                         [](const auto& info) { return testing::LineEndName(info.param); });

}  // namespace
}  // namespace velmark
