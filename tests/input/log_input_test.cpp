#include "input/log_input.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/tym_log.h"
#include "input/csv_reader.h"
#include "tests/input/input_run_fixture.h"
#include "tests/input/line_ends.h"

namespace velmark {
namespace {

using testing::LineEnd;
using testing::WithLineEnds;

const InputKind kAdif{"<>", false, {}, {}};
const InputKind kCsv{",", false, {}, {}};
const InputKind kTxt{" ", false, {}, {}};
const InputKind kCabrillo{" ", true, {}, {}};

class LogInputTest : public ::testing::Test, public testing::InputRunFixture {
  protected:
    // Writes the log (with "\n" line ends turned into lineEnd) and reads it as a run would.
    void readLog(const InputKind& kind, std::string_view log, LineEnd lineEnd = LineEnd::CrLf) {
        values.InputFileName = dir.write("input.log", WithLineEnds(log, lineEnd));
        ReadLogIntoRun(objects, kind);
    }

    std::vector<QsoRecord> storedRecords() {
        TymLog tymLog(dir.file(kTymLogName));
        tymLog.OpenForReading();
        std::vector<QsoRecord> records;
        for (QsoRecord record; tymLog.ReadNext(record);) {
            records.push_back(record);
        }
        return records;
    }

    std::string valueOf(const QsoRecord& record, std::string_view name) const {
        const int entry = catalogue.FindField(name);
        EXPECT_NE(entry, kNoEntry) << name;
        return std::string(record.Slot(catalogue.Entry(entry).Kind));
    }

    std::vector<std::string> stored(std::string_view name) {
        std::vector<std::string> values;
        for (const QsoRecord& record : storedRecords()) {
            values.push_back(valueOf(record, name));
        }
        return values;
    }

    std::vector<std::string> columnNames() {
        std::vector<std::string> names;
        const ColumnList& columns = State().Columns;
        for (int k = 1; k <= columns.ColumnCount; ++k) {
            names.push_back(catalogue.Entry(columns.Positions[static_cast<std::size_t>(k)]).Name);
        }
        return names;
    }

    std::string fileLine() const { return texts.MsgInputDataFile + " " + values.InputFileName; }
};

// --- a whole log into TYM.LOG and the index ---

TEST_F(LogInputTest, AdifLogFillsTymLogIndexColumnsAndProgress) {
    readLog(kAdif,
            "Log of Q1AAA\n<EOH>\n"
            "<CALL:5>Q2BBB<QSO_DATE:8>20080105<QSL_VIA:6>direct<EOR>\n"
            "<CALL:5>Q1CCC<QSO_DATE:8>20080106<MODE:2>CW<EOR>\n"
            "<CALL:5>X1DDD<QSO_DATE:8>20080107<EOR>\n");
    EXPECT_EQ(values.RunStatus, 0);
    EXPECT_EQ(State().QsoCount, 3);
    EXPECT_EQ(stored("CALL"), (std::vector<std::string>{"Q2BBB", "Q1CCC", "X1DDD"}));
    EXPECT_EQ(State().Index.At(1).EntityAdifNr, kEntityDirect);
    EXPECT_EQ(State().Index.At(2).EntityAdifNr, testing::kAlphaAdif);
    EXPECT_EQ(State().Index.At(3).EntityAdifNr, kEntityUnknown);
    EXPECT_EQ(State().Index.At(3).QsoNr, 3);
    EXPECT_EQ(State().UnknownCalls, "X1DDD,");
    EXPECT_EQ(columnNames(), (std::vector<std::string>{"CALL", "QSO_DATE", "QSL_VIA", "MODE"}));
    EXPECT_EQ(State().Columns.LastColumnName, "MODE");
    EXPECT_EQ(processing.AdifHeaderLineCount, 2);
    EXPECT_FALSE(processing.InputTymLog->isOpen());
    ASSERT_FALSE(ui.progress.empty());
    EXPECT_EQ(ui.progress.back(), 100);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(LogInputTest, EveryBadDateIsReportedAndCountedButNotStored) {
    readLog(kCsv,
            "CALL,QSO_DATE,BAND\n"
            "Q1AAA,20080105,20M\n"
            "Q1BBB,ABC,40M\n"
            "Q1CCC,20080107,20M\n"
            "Q1DDD,,80M\n");
    EXPECT_EQ(values.RunStatus, 2);
    EXPECT_EQ(State().QsoCount, 4);
    EXPECT_EQ(stored("CALL"), (std::vector<std::string>{"Q1AAA", "Q1CCC"}));
    EXPECT_EQ(ui.messages,
              (std::vector<std::string>{
                  "QSO Q1BBB ON BAND 40MData Error in Line  =   2 Field = ABC", fileLine(),
                  "QSO Q1DDD ON BAND 80MData Error in Line  =   4 Field = ", fileLine()}));
}

TEST_F(LogInputTest, NewRunForgetsThePreviousRunsState) {
    readLog(kAdif, "head <EOH><CALL:5>X1AAA<QSO_DATE:8>20080105<APP_A:1>a<EOR>");
    readLog(kCsv, "QSO_DATE,CALL\n20080105,Q1AAA\n");
    EXPECT_EQ(State().QsoCount, 1);
    EXPECT_EQ(State().UnknownCalls, "");
    EXPECT_EQ(processing.AdifHeaderLineCount, 0);
    EXPECT_EQ(columnNames(), (std::vector<std::string>{"QSO_DATE", "CALL"}));
    EXPECT_EQ(storedRecords().size(), 1u);
}

TEST_F(LogInputTest, TxtLogIsReadLikeCsv) {
    readLog(kTxt, "CALL  QSO_DATE  NAME\nQ1AAA 20080105 \"Jan K\"\nQ2BBB 20080106 Ewa\n");
    EXPECT_EQ(values.RunStatus, 0);
    EXPECT_EQ(stored("NAME"), (std::vector<std::string>{"Jan K", "Ewa"}));
}

TEST_F(LogInputTest, CabrilloLogTakesItsColumnsFromTheNamesFile) {
    dir.write(kCabrilloFieldNamesFile, "QSO_WORD FREQ MODE QSO_DATE TIME_ON OPERATOR CALL\n");
    readLog(kCabrillo,
            "START-OF-LOG: 3.0\nCREATED-BY: Logger\nCALLSIGN: Q1AAA\n"
            "QSO: 7005 CW 2008-01-05 1200 Q1AAA Q2BBB\n"
            "QSO: 7005 CW 2008-01-05 1201 Q1AAA Q1CCC\n"
            "END-OF-LOG:\n",
            LineEnd::Lf);
    EXPECT_EQ(values.RunStatus, 0);
    EXPECT_EQ(State().QsoCount, 2);
    EXPECT_EQ(stored("CALL"), (std::vector<std::string>{"Q2BBB", "Q1CCC"}));
    // Cabrillo's kHz become ADIF's MHz, and the band column is added.
    EXPECT_EQ(stored("FREQ"), (std::vector<std::string>{"7.005", "7.005"}));
    EXPECT_EQ(stored("BAND"), (std::vector<std::string>{"40m", "40m"}));
    EXPECT_EQ(State().Columns.LastColumnName, "BAND");
}

// A double quote left open swallows the lines after it into one value: the lines are named.
TEST_F(LogInputTest, LinesReadAsOneQsoAreNamed) {
    readLog(kCsv,
            "CALL,QSO_DATE,NAME\nQ1AAA,20080105,\"Joe \"JJ\" Smith\"\nQ2BBB,20080106,\"Ann\"\n"
            "Q1CCC,20080107,\"5\" tall\"\nQ2DDD,20080108,Eve\nQ1EEE,20080109,Bob\"\n"
            "Q2FFF,20080110,Ann\n");
    EXPECT_EQ(State().QsoCount, 4);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{texts.MsgLinesReadAsOneFrom + "4" +
                                                     texts.MsgLinesReadAsOneTo + "6" +
                                                     texts.MsgLinesReadAsOneQso}));
}

// A UTF-8 log: its letters reach the record in code page 1250, and the one line says how many
// characters code page 1250 lacked and where the first stands.
TEST_F(LogInputTest, Utf8LogIsConvertedAndItsReplacementsCounted) {
    readLog(kAdif,
            "WSJT-X ADIF Export\n<adif_ver:5>3.1.1\n<eoh>\n"
            "<call:5>Q1AAA <name:10>Paweł Żółć <qso_date:8>20080105 <time_on:6>185930 <eor>\n"
            "<call:5>Q2BBB <name:5>Bjørn <qth:4>Oslo <qso_date:8>20080105 <eor>\n"
            "<call:5>Q2CCC <name:4>Иван <qso_date:8>20080105 <eor>\n");
    EXPECT_EQ(values.RunStatus, 0);
    EXPECT_EQ(stored("NAME"),
              (std::vector<std::string>{"Pawe\xB3 \xAF\xF3\xB3\xE6", "Bjorn", "????"}));
    EXPECT_EQ(stored("TIME_ON"), (std::vector<std::string>{"1859", "", ""}));
    EXPECT_EQ(ui.messages, (std::vector<std::string>{texts.MsgCharsReplaced + "5" +
                                                     texts.MsgCharsReplacedFirstLine + "5"}));
}

TEST_F(LogInputTest, ConfiguredCp1250ReadsAUtf8LogByteForByte) {
    config.InputEncoding = InputEncoding::Cp1250;
    readLog(kAdif, "<call:5>Q1AAA <name:5>J\xC3\xB6rg <qso_date:8>20080105 <eor>\n");
    EXPECT_EQ(stored("NAME"), (std::vector<std::string>{"J\xC3\xB6rg"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(LogInputTest, CabrilloLayoutOfTheContestFromTheLayoutsFile) {
    dir.write(kCabrilloFieldNamesFile, "QSO_WORD FREQ MODE QSO_DATE TIME_ON OPERATOR CALL\n");
    dir.write("cabrillo_contest_layouts.txt",
              "# test\nCQ-WW-* - FREQ MODE QSO_DATE TIME_ON OPERATOR RST_SENT MY_CQ_ZONE CALL "
              "RST_RCVD CQZ\n");
    readLog(kCabrillo,
            "START-OF-LOG: 3.0\nCONTEST: CQ-WW-CW\nCALLSIGN: Q1AAA\n"
            "QSO: 144 CW 2008-01-05 1200 Q1AAA 599 15 Q2BBB 599 14\n"
            "QSO: 14025 CW 2008-01-05 1201 Q1AAA 599 15 Q1CCC 599 5 1\nEND-OF-LOG:\n");
    EXPECT_EQ(values.RunStatus, 0);
    EXPECT_EQ(stored("CALL"), (std::vector<std::string>{"Q2BBB", "Q1CCC"}));
    EXPECT_EQ(stored("CQZ"), (std::vector<std::string>{"14", "5"}));
    EXPECT_EQ(stored("FREQ"), (std::vector<std::string>{"", "14.025"}));
    EXPECT_EQ(stored("BAND"), (std::vector<std::string>{"2m", "20m"}));
    EXPECT_EQ(ui.messages, (std::vector<std::string>{texts.MsgCabrilloLayoutUsed + "CQ-WW-CW"}));
    EXPECT_EQ(columnNames(), (std::vector<std::string>{"FREQ", "MODE", "QSO_DATE", "TIME_ON",
                                                       "OPERATOR", "RST_SENT", "MY_CQ_ZONE", "CALL",
                                                       "RST_RCVD", "CQZ", "BAND"}));
}

TEST_F(LogInputTest, FaultyCabrilloLayoutStopsTheRunNamingItsLine) {
    dir.write("cabrillo_contest_layouts.txt", "\nSPDX - CALL FREQ CALL\n");
    readLog(kCabrillo, "CONTEST: SPDX\nQSO: 7005 Q2BBB Q2BBB\n");
    EXPECT_EQ(values.RunStatus, 2);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages[0], texts.MsgCabrilloLayoutBad + "CALL" + texts.MsgInLineNr + "2");
}

TEST_F(LogInputTest, MissingLogOrNamesFileIsAFileError) {
    values.InputFileName = dir.file("absent.adi");
    EXPECT_THROW(ReadLogIntoRun(objects, kAdif), FileError);
    values.InputFileName = dir.write("log.cbr", "CREATED-BY: x\nQSO: 7005 Q2BBB\n");
    EXPECT_THROW(ReadLogIntoRun(objects, kCabrillo), FileError);
    EXPECT_EQ(State().QsoCount, 0);
}

TEST(InputProgressPercent, ReckonsThreeHundredThirtyBytesAQso) {
    EXPECT_EQ(InputProgressPercent(50, 33000), 50);
    EXPECT_EQ(InputProgressPercent(1, 13200), 2);  // 2.5 rounds to the even 2
    EXPECT_EQ(InputProgressPercent(3, 13200), 8);  // 7.5 rounds to the even 8
    EXPECT_EQ(InputProgressPercent(500, 33000), 100);
    EXPECT_EQ(InputProgressPercent(1, 0), 100);
}

// A log as a logger exports it: the whole header on one line with lower-case tags, LF line
// ends, application fields and a long NOTES value in the middle of a record.
TEST_F(LogInputTest, RealWorldAdifExportKeepsEveryQsoAndField) {
    const std::string notes = [] {
        std::string text;
        for (int i = 0; text.size() < 400; ++i) {
            text += "note " + std::to_string(i) + " <b>; ";
        }
        return text.substr(0, 400);
    }();
    std::string log =
        "ADIF export from Logger 5.2 <adif_ver:5>3.1.4 <programid:8>Logger 5 "
        "<created_timestamp:15>20240101 120000 <eoh>\n\n";
    const std::vector<std::string> calls = {"Q1AAA", "Q2BBB", "X1CCC"};
    for (std::size_t i = 0; i < calls.size(); ++i) {
        log += "<call:5>" + calls[i] + " <qso_date:8>2024010" + std::to_string(i + 1) +
               " <time_on:4>120" + std::to_string(i) +
               " <band:3>20m <mode:3>SSB <rst_sent:2>59 <rst_rcvd:2>57 <name:12>Jan Kowalski "
               "<notes:400>" +
               notes + " <qsl_via:9>via Q2MGR <app_logger_id:4>100" + std::to_string(i) +
               " <app_logger_flag:1>Y <eor>\n";
    }
    readLog(kAdif, log, LineEnd::Lf);

    EXPECT_EQ(values.RunStatus, 0);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(State().QsoCount, 3);
    const auto records = storedRecords();
    ASSERT_EQ(records.size(), 3u);
    for (std::size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(i);
        const QsoRecord& r = records[i];
        EXPECT_EQ(valueOf(r, "CALL"), calls[i]);
        EXPECT_EQ(valueOf(r, "QSO_DATE"), "2024010" + std::to_string(i + 1));
        EXPECT_EQ(valueOf(r, "TIME_ON"), "120" + std::to_string(i));
        EXPECT_EQ(valueOf(r, "BAND"), "20m");
        EXPECT_EQ(valueOf(r, "MODE"), "SSB");
        EXPECT_EQ(valueOf(r, "RST_SENT"), "59");
        EXPECT_EQ(valueOf(r, "RST_RCVD"), "57");
        EXPECT_EQ(valueOf(r, "NAME"), "Jan Kowalski");
        EXPECT_EQ(valueOf(r, "NOTES"), notes.substr(0, 60));
        EXPECT_EQ(valueOf(r, "QSL_VIA"), "Q2MGR");
        EXPECT_EQ(valueOf(r, "APP_LOGGER_ID"), "100" + std::to_string(i));
        EXPECT_EQ(valueOf(r, "APP_LOGGER_FLAG"), "Y");
        EXPECT_EQ(r.EntityAdifNr, testing::kBetaAdif);  // the manager's entity
        EXPECT_EQ(r.QsoNr, static_cast<std::int32_t>(i + 1));
    }
    EXPECT_EQ(columnNames(),
              (std::vector<std::string>{"CALL", "QSO_DATE", "TIME_ON", "BAND", "MODE", "RST_SENT",
                                        "RST_RCVD", "NAME", "NOTES", "QSL_VIA", "APP_LOGGER_ID",
                                        "APP_LOGGER_FLAG"}));
    EXPECT_EQ(processing.AdifHeaderLineCount, 2);
    EXPECT_EQ(processing.AdifHeaderLines[1],
              "ADIF export from Logger 5.2 <adif_ver:5>3.1.4 <programid:8>Logger 5 "
              "<created_timestamp:15>20240101 120000 ");
    EXPECT_EQ(processing.AdifHeaderLines[2], "<EOH>");
}

// The index has room for 200,000 QSOs; one more stops the input phase with a message instead
// of being left out unseen. The same log shows how fast a log of that size is read.
TEST_F(LogInputTest, MoreThan200000QsosStopTheRunAtTheLimit) {
    std::string log = "<EOH>\n";
    const std::string record = "<CALL:5>Q1AAA<QSO_DATE:8>20080105<EOR>\n";
    log.reserve(log.size() + record.size() * (kMaxQsos + 1));
    for (int i = 0; i <= kMaxQsos; ++i) {
        log += record;
    }
    const auto start = std::chrono::steady_clock::now();
    readLog(kAdif, log);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    std::cout << "read " << kMaxQsos << " QSOs in "
              << std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() << " ms\n";
    EXPECT_EQ(values.RunStatus, 2);
    EXPECT_EQ(State().QsoCount, kMaxQsos);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{texts.MsgTooManyQsos}));
    EXPECT_EQ(State().Index.At(kMaxQsos).QsoNr, kMaxQsos);
    TymLog tymLog(dir.file(kTymLogName));
    tymLog.OpenForReading();
    EXPECT_EQ(tymLog.SizeInBytes(), static_cast<std::int64_t>(kMaxQsos) * QsoRecord::kSize);
}

// --- the faults of ordinary logs that the input must survive, each in CR LF and LF form ---

class LogFaultTest : public LogInputTest, public ::testing::WithParamInterface<LineEnd> {
  protected:
    void read(const InputKind& kind, std::string_view log) { readLog(kind, log, GetParam()); }
};

TEST_P(LogFaultTest, LineEndsOfEveryFormEndTitleAndDataLines) {
    read(kCsv, "CALL,QSO_DATE\nQ1AAA,20080105\nQ2BBB,20080106\n");
    EXPECT_EQ(values.RunStatus, 0);
    EXPECT_EQ(stored("CALL"), (std::vector<std::string>{"Q1AAA", "Q2BBB"}));
    EXPECT_EQ(columnNames(), (std::vector<std::string>{"CALL", "QSO_DATE"}));
}

TEST_P(LogFaultTest, AdifLogWithoutHeaderIsReadFromItsStart) {
    read(kAdif, "<CALL:5>Q1AAA<QSO_DATE:8>20080105<EOR>\n<CALL:5>Q2BBB<QSO_DATE:8>20080106<EOR>\n");
    EXPECT_EQ(values.RunStatus, 0);
    EXPECT_EQ(stored("CALL"), (std::vector<std::string>{"Q1AAA", "Q2BBB"}));
    EXPECT_EQ(processing.AdifHeaderLineCount, 0);
}

TEST_P(LogFaultTest, EohAfterTextEndsTheHeaderOnItsLine) {
    read(kAdif,
         "Exported <ADIF_VER:5>3.1.0 <eoh> <CALL:5>Q1AAA<QSO_DATE:8>20080105<EOR>\n"
         "<CALL:5>Q2BBB<QSO_DATE:8>20080106<EOR>\n");
    EXPECT_EQ(values.RunStatus, 0);
    EXPECT_EQ(stored("CALL"), (std::vector<std::string>{"Q1AAA", "Q2BBB"}));
    EXPECT_EQ(processing.AdifHeaderLines[2], "<EOH>");
}

TEST_P(LogFaultTest, HeaderBeyondThirtyLinesStopsTheRunWithAMessage) {
    std::string log;
    for (int i = 1; i <= 31; ++i) {
        log += "header line " + std::to_string(i) + "\n";
    }
    read(kAdif, log + "<EOH>\n<CALL:5>Q1AAA<QSO_DATE:8>20080105<EOR>\n");
    EXPECT_EQ(values.RunStatus, 2);
    EXPECT_EQ(State().QsoCount, 0);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{texts.MsgAdifNoHeaderEnd, fileLine()}));
}

TEST_P(LogFaultTest, LongValuesAreReadWholeAndBadLengthsStopWithTagAndLine) {
    const std::string comment(300, 'c');
    read(kAdif, "<EOH>\n<COMMENT:300>" + comment +
                    "<CALL:5>Q1AAA<QSO_DATE:8>20080105<EOR>\n"
                    "<CALL:5>Q2BBB<QSO_DATE:8>20080106<EOR>\n"
                    "<CALL:5x>Q3CCC<QSO_DATE:8>20080107<EOR>\n");
    EXPECT_EQ(values.RunStatus, 2);
    EXPECT_EQ(State().QsoCount, 2);
    EXPECT_EQ(stored("CALL"), (std::vector<std::string>{"Q1AAA", "Q2BBB"}));
    EXPECT_EQ(stored("COMMENT")[0], comment.substr(0, 70));
    EXPECT_EQ(ui.messages,
              (std::vector<std::string>{
                  texts.MsgAdifBadLength + "<CALL:5x>" + texts.MsgInLineNr + "4", fileLine()}));
}

TEST_P(LogFaultTest, CsvRowsAreRowsWithOneWarningPerOddLine) {
    read(kCsv,
         "CALL,QSO_DATE,MODE\n"
         "Q1AAA,20080105\n"
         "Q2BBB,20080106,CW,extra\n"
         "Q3CCC,20080107,SSB\n");
    EXPECT_EQ(values.RunStatus, 0);
    EXPECT_EQ(stored("CALL"), (std::vector<std::string>{"Q1AAA", "Q2BBB", "Q3CCC"}));
    EXPECT_EQ(stored("MODE"), (std::vector<std::string>{"", "CW", "SSB"}));
    EXPECT_EQ(ui.messages, (std::vector<std::string>{
                               texts.MsgRowLine + "2" + texts.MsgRowFieldCount + "2" +
                                   texts.MsgRowColumnCount + "3" + texts.MsgRowMissingEmpty,
                               texts.MsgRowLine + "3" + texts.MsgRowFieldCount + "4" +
                                   texts.MsgRowColumnCount + "3" + texts.MsgRowExtraDropped}));
}

TEST_P(LogFaultTest, RowWarningsAreCappedWithACountOfTheRest) {
    std::string log = "CALL,QSO_DATE,MODE\n";
    for (int i = 0; i < 25; ++i) {
        log += "Q1AAA,20080105\n";
    }
    read(kCsv, log);
    EXPECT_EQ(State().QsoCount, 25);
    ASSERT_EQ(ui.messages.size(), 21u);
    EXPECT_EQ(ui.messages.back(), texts.MsgRowMismatchRest + "5");
}

TEST_P(LogFaultTest, EmptyFieldsStayInTheirColumnsAndBlankLinesAreSkipped) {
    read(kCsv,
         "NAME,COMMENT,CALL,QSO_DATE,MODE\n"
         ",,Q1AAA,20080105,CW\n"
         "Jan ,,Q2BBB,20080106,SSB\n"
         "\n"
         "Ewa,fine,Q3CCC,20080107,\n"
         "Ola,x,Q4DDD,20080108,FM\n");
    EXPECT_EQ(values.RunStatus, 0);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(stored("CALL"), (std::vector<std::string>{"Q1AAA", "Q2BBB", "Q3CCC", "Q4DDD"}));
    EXPECT_EQ(stored("NAME"), (std::vector<std::string>{"", "Jan", "Ewa", "Ola"}));
    EXPECT_EQ(stored("MODE"), (std::vector<std::string>{"CW", "SSB", "", "FM"}));
}

TEST_P(LogFaultTest, BlanksInsideCsvValuesBelongToThem) {
    read(kCsv,
         "CALL,NAME,QSO_DATE\nQ1AAA, John Smith ,20080105\nQ2BBB,Anna Maria Nowak,20080106\n");
    EXPECT_EQ(values.RunStatus, 0);
    EXPECT_EQ(stored("NAME"), (std::vector<std::string>{"John Smith", "Anna Maria Nowak"}));
}

TEST_P(LogFaultTest, BadTitleLineIsRejectedWithAMessage) {
    read(kCsv, "CALL,QSO_DATE,CALL\nQ1AAA,20080105,Q1AAA\n");
    EXPECT_EQ(values.RunStatus, 2);
    EXPECT_EQ(State().QsoCount, 0);
    EXPECT_EQ(ui.messages,
              (std::vector<std::string>{texts.MsgDuplicateTitle + "CALL", fileLine()}));
    ui.messages.clear();
    read(kCsv, "CALL,,QSO_DATE\nQ1AAA,x,20080105\n");
    EXPECT_EQ(ui.messages, (std::vector<std::string>{texts.MsgEmptyTitle + "2", fileLine()}));
}

TEST_P(LogFaultTest, EmptyTagNamesAreSkippedAndTheInputGoesOn) {
    read(kAdif,
         "<EOH>\n<>x<:5>Q9ZZZ<CALL:5>Q1AAA<QSO_DATE:8>20080105<EOR>\n"
         "<:3>abc\n<CALL:5>Q2BBB<QSO_DATE:8>20080106<EOR>\n");
    EXPECT_EQ(values.RunStatus, 0);
    EXPECT_EQ(stored("CALL"), (std::vector<std::string>{"Q1AAA", "Q2BBB"}));
    EXPECT_EQ(columnNames(), (std::vector<std::string>{"CALL", "QSO_DATE"}));
    EXPECT_TRUE(catalogue.Entry(kStandardFieldCount + 1).Name.empty());  // no entry taken
}

TEST_P(LogFaultTest, QuoteLeftOpenStopsTheRunWithItsLine) {
    read(kCsv, "CALL,NAME,QSO_DATE\nQ1AAA,Jan,20080105\nQ2BBB,\"Ewa,20080106\nQ3CCC,x,20080107\n");
    EXPECT_EQ(values.RunStatus, 2);
    EXPECT_EQ(State().QsoCount, 1);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{texts.MsgUnclosedQuote + "3", fileLine()}));
}

INSTANTIATE_TEST_SUITE_P(LineEnds, LogFaultTest, ::testing::Values(LineEnd::CrLf, LineEnd::Lf),
                         [](const auto& info) { return testing::LineEndName(info.param); });

}  // namespace
}  // namespace velmark
