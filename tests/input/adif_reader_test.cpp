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
    std::vector<QsoRecord> readLog(const std::string& log,
                                   InputEncoding encoding = InputEncoding::Cp1250) {
        ByteSource source = ByteSource::FromString(log, "text", encoding);
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
        unfinishedLine = reader.UnfinishedRecordLine();
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
    int unfinishedLine = 0;
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

// Today's loggers write times with seconds; a card shows HHMM, the seconds dropped.
TEST_F(AdifReaderTest, TimesWithSecondsKeepHoursAndMinutes) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"185930", "1859"},   {"235959", "2359"}, {"18:59:30", "1859"}, {"18.59.30", "1859"},
        {"1859", "1859"},     {"18:59", "18:59"}, {"18593", "18593"},   {"18:59.30", "18:59"},
        {"1859300", "18593"}, {"ab5930", "ab593"}};
    for (const auto& [time, stored] : cases) {
        SCOPED_TRACE(time);
        const std::string log = "<TIME_ON:" + std::to_string(time.size()) + ">" + time +
                                "<TIME_OFF:" + std::to_string(time.size()) + ">" + time + "<EOR>";
        const auto records = readLog(log);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(valueOf(records[0], "TIME_ON"), stored);
        EXPECT_EQ(valueOf(records[0], "TIME_OFF"), stored);
    }
}

// LoTW downloads end with <APP_LoTW_EOF>, other programs with <EOF>: a tail without values is
// no record and no column; a tail with values is a record the end of the file cut off.
TEST_F(AdifReaderTest, EndOfFileMarkerTagsAreDroppedSilently) {
    struct Case {
        const char* tail;
        int unfinishedLine;
    };
    for (const Case& c :
         {Case{"<APP_LoTW_EOF>\r\n", 0}, Case{"<APP_LoTW_EOF>", 0}, Case{"<EOF>", 0},
          Case{"<eof>\r\n\r\n", 0}, Case{"<EOF:0>\r\n<APP_X:3>   ", 0}, Case{"<CALL:5>Q2BBB", 2},
          Case{"<EOF><CALL:5>Q2", 2}, Case{"<CALL:5>Q2BBB<APP_LoTW_EOF>", 2}}) {
        SCOPED_TRACE(c.tail);
        catalogue = TStrukturaADIF();
        columns.Clear();
        const auto records = readLog(std::string("<CALL:5>Q1AAA<EOR>\r\n") + c.tail);
        EXPECT_EQ(records.size(), 1u);
        EXPECT_EQ(unfinishedLine, c.unfinishedLine);
        if (c.unfinishedLine == 0) {
            EXPECT_EQ(columnNames(), (std::vector<std::string>{"CALL"}));
        }
    }
}

TEST_F(AdifReaderTest, EmptyValuesOfARecordStayInTheirPlace) {
    const auto records = readLog("<NAME:3>Bob<QSL_VIA:0><NAME:0><CALL:5>Q1AAA<EOR>");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(valueOf(records[0], "NAME"), "");
    EXPECT_EQ(columnNames(), (std::vector<std::string>{"NAME", "QSL_VIA", "CALL"}));
}

// UTF-8 logs: some programs count a value's bytes (as the standard says), others its
// characters; both give the value, and the count never reaches into the next tag.
TEST_F(AdifReaderTest, Utf8LengthsInBytesOrInCharacters) {
    struct Case {
        const char* log;
        const char* field;
        const char* expected;  // code page 1250
    };
    const std::vector<Case> cases = {
        {"<NAME:5>Jörg <CALL:5>Q1AAA<EOR>", "NAME", "J\xF6rg"},
        {"<NAME:4>Jörg <CALL:5>Q1AAA<EOR>", "NAME", "J\xF6rg"},
        {"<NAME:5>Jörg<CALL:5>Q1AAA<EOR>", "NAME", "J\xF6rg"},
        {"<NAME:4>Jörg<CALL:5>Q1AAA<EOR>", "NAME", "J\xF6rg"},
        {"<NAME:4>Jörg<CALL:5>Q1AAA<EOR>", "CALL", "Q1AAA"},
        {"<NAME:2>Jö<EOR>", "NAME", "J\xF6"},
        {"<NAME:10>Paweł Żółć<EOR>", "NAME", "Pawe\xB3 \xAF\xF3\xB3\xE6"},
        {"<NAME:14>Paweł Żółć<EOR>", "NAME", "Pawe\xB3 \xAF\xF3\xB3\xE6"},
        {"<QTH:6>Łódź<CALL:5>Q1AAA<EOR>", "QTH",
         "\xA3\xF3"
         "d\x9F"},
        // Counted in characters, never past the next tag: the rest of the count is dropped.
        {"<QTH:7>Łódź<CALL:5>Q1AAA<EOR>", "QTH",
         "\xA3\xF3"
         "d\x9F"},
        {"<QTH:7>Łódź<CALL:5>Q1AAA<EOR>", "CALL", "Q1AAA"},
        // A value with "<" in it, counted in characters.
        {"<NOTES:6>ö<b>xy<CALL:5>Q1AAA<EOR>", "NOTES", "\xF6<b>xy"},
        {"<COMMENT:6>ö a b <CALL:5>Q1AAA<EOR>", "COMMENT", "\xF6 a b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.log);
        catalogue = TStrukturaADIF();
        columns.Clear();
        const auto records = readLog(c.log, InputEncoding::Utf8);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(valueOf(records[0], c.field), c.expected);
    }
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

// WSJT-X, QRZ and others begin the header with a tag and end it with <EOH>.
TEST_P(AdifHeaderTest, HeaderBeginningWithATagEndsAtEoh) {
    const auto records = readLogIn(
        "<ADIF_VER:5>3.1.4\n<PROGRAMID:6>WSJT-X\n<EOH>\n<CALL:5>Q2BBB<EOR>\n<CALL:5>Q3CCC<EOR>\n");
    EXPECT_EQ(headerLines(),
              (std::vector<std::string>{"<ADIF_VER:5>3.1.4", "<PROGRAMID:6>WSJT-X", "<EOH>"}));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(valueOf(records[0], "CALL"), "Q2BBB");
    EXPECT_EQ(columnNames(), (std::vector<std::string>{"CALL"}));
}

TEST_P(AdifHeaderTest, ByteOrderMarkBeforeALogWithoutHeaderIsSkipped) {
    const auto records = readLogIn("\xEF\xBB\xBF<CALL:5>Q2BBB<EOR>\n");
    EXPECT_TRUE(headerLines().empty());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(valueOf(records[0], "CALL"), "Q2BBB");
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
