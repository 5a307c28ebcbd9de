#include "output/adif_writer.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "output/record_writer.h"
#include "output_test_support.h"
#include "settings/text_table.h"
#include "test_sinks.h"

namespace velmark {
namespace {

using testing::Golden;
using testing::MemorySink;
using testing::OutputRun;
using testing::WriteCards;

TNazwyJezykowe textsIn(int language) {
    TNazwyJezykowe texts;
    texts.Fill(language);
    return texts;
}

OutputRun adifRun() {
    OutputRun run(
        {{"CALL"}, {"QSO_DATE"}, {"TIME_ON"}, {"MODE"}, {"QSO_NUM"}, {"CLASS_"}, {"MY_AWARD"}});
    run.Config.OutputFileType = 0;
    run.Config.InputDateFormat = 1;
    run.Config.OutputDateFormat = 0;  // as the input
    run.Values.TimeSeparatorText = "";
    run.Values.ProgramFileName = "velmark.exe";
    run.Values.VersionText = "V: 9.8.7.6";
    return run;
}

// A CSV log translated to ADIF with two QSOs per card: the header is the closing block alone,
// empty fields are left out of their records, and fillers carry every column.
TEST(AdifOutput, MainOutputOfALogThatWasNotAdif) {
    const OutputRun run = adifRun();
    const RecordLayout layout = run.Layout();
    const std::vector<QsoRecord> qsos = {
        run.Qso(
            1, {{"CALL", "SP9ABC"}, {"QSO_DATE", "20080105"}, {"TIME_ON", "1807"}, {"MODE", "CW"}}),
        run.Qso(2, {{"CALL", "SP9ABC"},
                    {"QSO_DATE", "20080105"},
                    {"TIME_ON", "1812"},
                    {"MODE", "SSB"},
                    {"MY_AWARD", "WAP"}}),
        run.Qso(
            3, {{"CALL", "SP9ABC"}, {"QSO_DATE", "20080106"}, {"TIME_ON", "0905"}, {"MODE", "CW"}}),
        run.Qso(5, {{"CALL", "DL1XYZ"},
                    {"QSO_DATE", "20080110"},
                    {"MODE", "RTTY"},
                    {"CLASS_", "A"},
                    {"MY_AWARD", "DLD-100"}}),
        run.Qso(
            6,
            {{"CALL", "OK1ZZ"}, {"QSO_DATE", "20080111"}, {"TIME_ON", "23.59"}, {"MODE", "FT8"}}),
    };
    MemorySink sink;
    WriteAdifHeader(sink, OutputTarget::MainOutput, {}, run.Values, textsIn(kLanguageEnglish));
    WriteCards(sink, layout, qsos, 2);
    EXPECT_EQ(sink.text, Golden("translated_n2.adi"));
}

// A part file of an ADIF log: the input header is copied up to its <EOH> line, and the
// "Translated by" line names the application title; Polish texts in code page 1250.
TEST(AdifOutput, PartFileCopiesTheInputHeader) {
    const OutputRun run = adifRun();
    MemorySink sink;
    WriteAdifHeader(sink, OutputTarget::PartOutput,
                    {"Log exported 2008-01-12", "<ADIF_VER:5>3.1.0", "<EOH>"}, run.Values,
                    textsIn(kLanguagePolish));
    WriteQsoRecord(sink, run.Layout(),
                   run.Qso(5, {{"CALL", "DL1XYZ"},
                               {"QSO_DATE", "20080110"},
                               {"MODE", "RTTY"},
                               {"CLASS_", "A"},
                               {"MY_AWARD", "D\xA3-100"}}));
    EXPECT_EQ(sink.text, Golden("part_with_header.adi"));
}

struct HeaderCase {
    const char* what;
    std::vector<std::string> inputLines;
    std::string copied;        // what precedes the closing block
    std::string afterClosing;  // what follows it
};

class AdifHeader : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(AdifHeader, CopiesTheInputHeaderAndClosesItOnce) {
    const HeaderCase& c = GetParam();
    ProgramValues values;
    values.ProgramFileName = "velmark";
    values.VersionText = "V: 1.2.3.4";
    const TNazwyJezykowe texts = textsIn(kLanguageEnglish);
    const std::string closingBlock = "\r\nTranslated by   velmark   Version  V: 1.2.3.4\r\n" +
                                     texts.AdifMakerLine + "\r\n<EOH>\r\n\r\n";

    MemorySink sink;
    WriteAdifHeader(sink, OutputTarget::MainOutput, c.inputLines, values, texts);
    EXPECT_EQ(sink.text, c.copied + closingBlock + c.afterClosing) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    InputHeaders, AdifHeader,
    ::testing::Values(HeaderCase{"no header", {}, "", "\r\n"},
                      HeaderCase{"first line empty", {"", "Some logger", "<EOH>"}, "", "\r\n"},
                      HeaderCase{"one line", {"Some logger", "<EOH>"}, "Some logger\r\n", ""},
                      HeaderCase{"only <EOH>", {"<EOH>"}, "", ""},
                      // Only the exact line ends the header; look-alikes are ordinary text.
                      HeaderCase{"look-alikes",
                                 {"x", "<eoh>", "<EOH> ", "<EOH>"},
                                 "x\r\n<eoh>\r\n<EOH> \r\n",
                                 ""},
                      // Header lines cut off before their <EOH>: the file still gets a header end.
                      HeaderCase{"no <EOH> kept", {"a", "b"}, "a\r\nb\r\n", ""}),
    [](const ::testing::TestParamInfo<HeaderCase>& info) {
        std::string name = info.param.what;
        for (char& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        }
        return name;
    });

}  // namespace
}  // namespace velmark
