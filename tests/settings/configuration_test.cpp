#include "settings/configuration.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/errors.h"
#include "support/temp_dir.h"

namespace velmark {

// Readable failure output: the fields that differ show by name.
void PrintTo(const TKonfiguracja& c, std::ostream* out) {
    *out << "{Language=" << int(c.Language) << " Sorting=" << int(c.Sorting)
         << " InputFileType=" << int(c.InputFileType) << " OutputFileType=" << int(c.OutputFileType)
         << " InputDateFormat=" << int(c.InputDateFormat)
         << " OutputDateFormat=" << int(c.OutputDateFormat) << " DateSeparator='" << c.DateSeparator
         << "' TimeSeparator='" << c.TimeSeparator << "' QsosPerCard=" << c.QsosPerCard
         << " DivideOutputFile=" << c.DivideOutputFile << " MaxQslPerFile=" << c.MaxQslPerFile
         << " LastInputDir='" << c.LastInputDir << "' LastOutputDir='" << c.LastOutputDir << "'";
    for (const PersonalInfoField& field : kPersonalInfoFields) {
        *out << " " << field.IniKey << "='" << c.PersonalInfo.*field.Member << "'";
    }
    *out << "}";
}

namespace {

using testing::TempDir;

TKonfiguracja ReadText(const std::string& ini, TKonfiguracja config = {}) {
    TempDir dir;
    ConfigRead(config, dir.write("setup.ini", ini));
    return config;
}

// The lines of a file written with CR LF; fails the test if a line ends otherwise.
std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t lf = text.find('\n'); lf != std::string::npos; lf = text.find('\n', start)) {
        EXPECT_TRUE(lf > start && text[lf - 1] == '\r') << "bare LF after: " << text.substr(start);
        lines.push_back(text.substr(start, lf - start - 1));
        start = lf + 1;
    }
    EXPECT_EQ(start, text.size()) << "last line without a line end";
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), std::ssize(lines)) << "stray CR";
    return lines;
}

TEST(ConfigRead, MissingFileGivesEnglishAndCreationValues) {
    TempDir dir;
    TKonfiguracja config;
    ConfigRead(config, dir.file("setup.ini"));
    TKonfiguracja expected;
    expected.Language = 1;
    EXPECT_EQ(config, expected);
}

// One case: a file, the record before reading, and the changes reading must make to it (on top
// of Language becoming English, which every file without "Language=Polish" gives).
struct ReadCase {
    const char* name;
    std::string ini;
    void (*before)(TKonfiguracja&);
    void (*changes)(TKonfiguracja&);
};

void PrintTo(const ReadCase& c, std::ostream* out) {
    *out << c.name;
}

class ConfigReadCase : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ConfigReadCase, SetsExactlyTheExpectedFields) {
    TKonfiguracja initial;
    GetParam().before(initial);
    TKonfiguracja expected = initial;
    expected.Language = 1;
    GetParam().changes(expected);
    EXPECT_EQ(ReadText(GetParam().ini, initial), expected);
}

const std::string kDates = "[Format QSO_Date For Sort and translate]\r\n";
const std::string kPrint = "[PRINT QSL]\r\n";

INSTANTIATE_TEST_SUITE_P(
    Rules, ConfigReadCase,
    ::testing::Values(
        ReadCase{"LanguageLowerCaseIsEnglish", "[MAIN]\r\nLanguage=polish\r\n", [](auto&) {},
                 [](auto&) {}},
        ReadCase{"LanguageInOtherSectionIgnored", "[Other]\r\nLanguage=Polish\r\n", [](auto&) {},
                 [](auto&) {}},
        ReadCase{"NamesWithoutCaseValuesTrimmedLfOnly",
                 "[ main ]\nLANGUAGE =  Polish \t\n[personal INFO]\ncallsign= SP9XYZ \n",
                 [](auto&) {},
                 [](auto& c) {
                     c.Language = 0;
                     c.PersonalInfo.Callsign = "SP9XYZ";
                 }},
        ReadCase{"SortingAbsentWithPolishKeepsSorting", "[MAIN]\r\nLanguage=Polish\r\n",
                 [](auto& c) { c.Sorting = 2; }, [](auto& c) { c.Language = 0; }},
        ReadCase{"UnknownWordKeepsCode", "[For Sort and translate]\r\nType input file=adifwe\r\n",
                 [](auto& c) { c.InputFileType = 2; }, [](auto&) {}},
        ReadCase{"InputTypeDoesNotCarryToOutputType",
                 "[For Sort and translate]\r\nType input file=CSVwe\r\n",
                 [](auto& c) { c.OutputFileType = 2; }, [](auto& c) { c.InputFileType = 1; }},
        ReadCase{"AbsentOutputDateTakesInputDate",
                 kDates + "Type format of input date QSO=DDMMYYYY", [](auto&) {},
                 [](auto& c) {
                     c.InputDateFormat = 2;
                     c.OutputDateFormat = 2;
                 }},
        ReadCase{"AbsentOutputDateKeptWhenInputUnknown",
                 kDates + "Type format of input date QSO=Dont know\r\n",
                 [](auto& c) {
                     c.InputDateFormat = 4;
                     c.OutputDateFormat = 3;
                 },
                 [](auto& c) { c.InputDateFormat = 0; }},
        ReadCase{"SeparatorsFirstCharacterOrEmpty",
                 kDates + "Character for separtor QSO_date=//\r\n"
                          "Character for separtor QSO_Time=\r\n",
                 [](auto& c) { c.TimeSeparator = ":"; },
                 [](auto& c) {
                     c.DateSeparator = "/";
                     c.TimeSeparator = "";
                 }},
        ReadCase{"EncodingWordsChooseTheEncodings",
                 "[For Sort and translate]\r\nInput encoding=cp1250\r\nOutput encoding=utf-8\r\n",
                 [](auto&) {},
                 [](auto& c) {
                     c.InputEncoding = InputEncoding::Cp1250;
                     c.OutputEncoding = OutputEncoding::Utf8;
                 }},
        ReadCase{"EncodingOtherWordsKeepTheEncodings",
                 "[For Sort and translate]\r\nInput encoding=UTF8\r\nOutput encoding=latin2\r\n",
                 [](auto& c) {
                     c.InputEncoding = InputEncoding::Utf8;
                     c.OutputEncoding = OutputEncoding::Utf8;
                 },
                 [](auto&) {}},
        ReadCase{"ByteOrderMarkBeforeTheFirstSectionIsSkipped",
                 "\xEF\xBB\xBF[MAIN]\r\nLanguage=Polish\r\n", [](auto&) {},
                 [](auto& c) { c.Language = 0; }},
        ReadCase{"ByteOrderMarkMakesTheTextUtf8",
                 "\xEF\xBB\xBF[Personal info]\r\nQTH City=\xC5\x81\xC3\xB3"
                 "d\xC5\xBA\r\n",
                 [](auto&) {},
                 [](auto& c) {
                     c.PersonalInfo.QthCity =
                         "\xA3\xF3"
                         "d\x9F";
                 }},
        ReadCase{"DivideAnyNonZeroIsTrue", kPrint + "Divide output file=5\r\n", [](auto&) {},
                 [](auto& c) { c.DivideOutputFile = true; }},
        ReadCase{"DivideZeroIsFalse", kPrint + "Divide output file=$0\r\n",
                 [](auto& c) { c.DivideOutputFile = true; },
                 [](auto& c) { c.DivideOutputFile = false; }},
        ReadCase{"LabelChoices",
                 "[PRINT LABELS]\r\nLabel sheet=5160.sheet\r\nDivider labels=1\r\n"
                 "Write file of QSOs sent=1\r\n",
                 [](auto&) {},
                 [](auto& c) {
                     c.LabelSheetName = "5160.sheet";
                     c.LabelDividers = true;
                     c.LabelMarkSent = true;
                 }},
        ReadCase{"LabelChoicesAbsentKeepTheirValues", kPrint + "Divide output file=0\r\n",
                 [](auto& c) { c.LabelDividers = true; }, [](auto&) {}},
        ReadCase{"LongValueCutAt2047",
                 kPrint + "Last used catalog for input=" + std::string(3000, 'd') + "\r\n",
                 [](auto&) {}, [](auto& c) { c.LastInputDir = std::string(2047, 'd'); }},
        ReadCase{
            "PersonalNameCutTo30PresentEmptyClears",
            "[Personal info]\r\nFirst and last name=" + std::string(40, 'n') + "\r\nE_mail=\r\n",
            [](auto& c) { c.PersonalInfo.Email = "a@b.pl"; },
            [](auto& c) {
                c.PersonalInfo.FirstAndLastName = std::string(30, 'n');
                c.PersonalInfo.Email = "";
            }}),
    [](const auto& info) { return std::string(info.param.name); });

// Numbers: decimal, or hexadecimal after "0x" or "$"; anything else keeps the value (7).
class QsosPerCardText : public ::testing::TestWithParam<std::pair<std::string, std::int32_t>> {};

TEST_P(QsosPerCardText, ParsesOrKeepsValue) {
    TKonfiguracja before;
    before.QsosPerCard = 7;
    const std::string ini = kPrint + "Number of QSO_s on one QSLcard=" + GetParam().first + "\r\n";
    EXPECT_EQ(ReadText(ini, before).QsosPerCard, GetParam().second) << GetParam().first;
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, QsosPerCardText,
    ::testing::Values(std::pair{"12", 12}, std::pair{" 4 ", 4}, std::pair{"-5", -5},
                      std::pair{"+3", 3}, std::pair{"0x10", 16}, std::pair{"$10", 16},
                      std::pair{"0X1f", 31}, std::pair{"2147483647", 2147483647},
                      std::pair{"-2147483648", -2147483648LL}, std::pair{"abc", 7},
                      std::pair{"12abc", 7}, std::pair{"1 2", 7}, std::pair{"0x", 7},
                      std::pair{"$", 7}, std::pair{"", 7}, std::pair{"2147483648", 7},
                      std::pair{"$100000000", 7}, std::pair{"1.5", 7}));

// A record with every field set, Polish letters (code page 1250 bytes) in the personal data.
TKonfiguracja FullRecord() {
    TKonfiguracja c;
    c.Language = 0;
    c.Sorting = 2;
    c.InputFileType = 3;
    c.OutputFileType = 1;
    c.InputDateFormat = 4;
    c.OutputDateFormat = 3;
    c.DateSeparator = ".";
    c.TimeSeparator = ":";
    c.QsosPerCard = 4;
    c.DivideOutputFile = true;
    c.MaxQslPerFile = -25;
    c.LastInputDir = "/home/sp9/logs in";
    c.LastOutputDir = "/home/sp9/out";
    c.InputEncoding = InputEncoding::Utf8;
    c.OutputEncoding = OutputEncoding::Utf8;
    c.LabelSheetName = "L7160.sheet";
    c.LabelDividers = true;
    c.LabelMarkSent = true;
    for (const PersonalInfoField& field : kPersonalInfoFields) {
        c.PersonalInfo.Assign(field.Member,
                              "\xA3\xF3\x64\xBC \xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF"
                              "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF-abcdefghijklmnopqrstuvwxyz");
    }
    return c;
}

TEST(ConfigWrite, NewFileHasEveryKeyInOrderWithCrLf) {
    TempDir dir;
    TKonfiguracja config = FullRecord();
    config.PersonalInfo = {};
    config.PersonalInfo.Callsign = "SP9XYZ";
    ConfigWrite(config, dir.file("setup.ini"));
    const std::vector<std::string> lines = CrLfLines(TempDir::read(dir.file("setup.ini")));
    std::vector<std::string> nonBlank;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(nonBlank),
                 [](const std::string& l) { return !l.empty(); });
    const std::vector<std::string> expected = {"[MAIN]",
                                               "Language=Polish",
                                               "Sorting=Sort_alfanumeric_acording_to_callsign",
                                               "[For Sort and translate]",
                                               "Type input file=CBRwe",
                                               "Type output file=CSVwy",
                                               "Input encoding=utf-8",
                                               "Output encoding=utf-8",
                                               "[Format QSO_Date For Sort and translate]",
                                               "Type format of input date QSO=DD-MM-YYYY",
                                               "Type format of output date QSO=YYYY-MM-DD",
                                               "Character for separtor QSO_date=.",
                                               "Character for separtor QSO_Time=:",
                                               "[PRINT QSL]",
                                               "Number of QSO_s on one QSLcard=4",
                                               "Divide output file=1",
                                               "Maximum Number of QSL in a one sort file=-25",
                                               "Last used catalog for input=/home/sp9/logs in",
                                               "Last used catalog for output=/home/sp9/out",
                                               "[Personal info]",
                                               "Callsign=SP9XYZ",
                                               "First and last name=",
                                               "Adres 1=",
                                               "Adres 2=",
                                               "QTH City=",
                                               "County=",
                                               "ZIPP=",
                                               "Country=",
                                               "GridSquare - Locator=",
                                               "CQ_Zone=",
                                               "ITU_Zone=",
                                               "Licence class=",
                                               "Typ_TRX_RX=",
                                               "Power - Watt=",
                                               "Antena=",
                                               "Own_ARRL_Section=",
                                               "Club callsign=",
                                               "E_mail=",
                                               "[PRINT LABELS]",
                                               "Label sheet=L7160.sheet",
                                               "Divider labels=1",
                                               "Write file of QSOs sent=1"};
    EXPECT_EQ(nonBlank, expected);
}

TEST(ConfigWrite, RoundTripGivesTheSameRecordAndKeepsCp1250Bytes) {
    TempDir dir;
    const TKonfiguracja full = FullRecord();
    TKonfiguracja plain;
    plain.Language = 1;  // English, empty separators, false, zeros
    for (const TKonfiguracja& written : {full, plain}) {
        ConfigWrite(written, dir.file("setup.ini"));
        TKonfiguracja read;
        ConfigRead(read, dir.file("setup.ini"));
        EXPECT_EQ(read, written);
    }
    // A file an editor saved as UTF-8 with a mark is written back in code page 1250, unmarked.
    dir.write("setup.ini",
              "\xEF\xBB\xBF[Personal info]\r\nQTH City=\xC5\x81\xC3\xB3"
              "d\xC5\xBA\r\n");
    ConfigWrite(full, dir.file("setup.ini"));
    EXPECT_EQ(TempDir::read(dir.file("setup.ini")).rfind("[Personal info]", 0), 0u);
    EXPECT_NE(TempDir::read(dir.file("setup.ini"))
                  .find("Adres 1=\xA3\xF3\x64\xBC \xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF\xA5\xC6\xCA"
                        "\xA3\xD1\xD3\x8C\x8F\xAF-abcdef\r\n"),
              std::string::npos);
}

TEST(ConfigWrite, ExistingFileRewrittenInPlace) {
    TempDir dir;
    const std::string path =
        dir.write("setup.ini",
                  "; written by hand\n\n[main]\nOwn key = kept\nLANGUAGE=English\n"
                  "SORTING=Sort_according_to_number_of_ADIF\n\n[Extra]\n; about x\nx=1\n"
                  "[For Sort and translate]\nType input file=TXTwe\n; closing note\n");
    TKonfiguracja config = FullRecord();
    config.Sorting = kNoSelection;  // no setting: the stored word stays
    config.InputFileType = 7;       // a code without a word, likewise
    ConfigWrite(config, path);
    const std::string first = TempDir::read(path);
    const std::vector<std::string> lines = CrLfLines(first);

    const std::vector<std::string> inOrder = {"; written by hand",
                                              "[main]",
                                              "Own key=kept",
                                              "LANGUAGE=Polish",
                                              "SORTING=Sort_according_to_number_of_ADIF",
                                              "[Extra]",
                                              "; about x",
                                              "x=1",
                                              "[For Sort and translate]",
                                              "Type input file=TXTwe",
                                              "Type output file=CSVwy",
                                              "; closing note",
                                              "[Format QSO_Date For Sort and translate]",
                                              "[Personal info]"};
    auto at = lines.begin();
    for (const std::string& line : inOrder) {
        at = std::find(at, lines.end(), line);
        ASSERT_NE(at, lines.end()) << "missing or out of order: " << line;
    }
    for (const char* key : {"language=", "sorting=", "type input file="}) {
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                [&](std::string l) {
                                    std::transform(l.begin(), l.end(), l.begin(), ::tolower);
                                    return l.starts_with(key);
                                }),
                  1)
            << key;
    }
    ConfigWrite(config, path);
    EXPECT_EQ(TempDir::read(path), first) << "a second write changes nothing";
}

TEST(ConfigWrite, LineBreakInAValueCannotAddAKey) {
    TempDir dir;
    TKonfiguracja config;
    config.Language = 1;
    config.LastOutputDir = "/out\r\n[MAIN]\r\nLanguage=Polish";
    ConfigWrite(config, dir.file("setup.ini"));
    TKonfiguracja read;
    ConfigRead(read, dir.file("setup.ini"));
    EXPECT_EQ(read.Language, 1);
    EXPECT_EQ(read.LastOutputDir, "/out");
}

TEST(ConfigWrite, FailureThrowsUnableToWriteAndLeavesNothing) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "setup.ini");
    for (const std::string& path : {dir.file("missing/setup.ini"), dir.file("setup.ini")}) {
        try {
            ConfigWrite(FullRecord(), path);
            ADD_FAILURE() << "no error for " << path;
        } catch (const FileError& error) {
            EXPECT_STREQ(error.what(), ("Unable to write to " + path).c_str());
        }
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "setup.ini"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
        << "a temporary file was left behind";
}

TEST(ConfigWrite, WriteProtectedFileOrDirectoryKeepsTheOldFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root may write anywhere";
    for (const bool protectDirectory : {false, true}) {
        TempDir dir;
        const std::string old = "[MAIN]\r\nLanguage=English\r\n";
        const std::string path = dir.write("setup.ini", old);
        ::chmod(protectDirectory ? dir.path().c_str() : path.c_str(), 0555);
        EXPECT_THROW(ConfigWrite(FullRecord(), path), FileError) << protectDirectory;
        EXPECT_EQ(TempDir::read(path), old);
        ::chmod(dir.path().c_str(), 0755);
    }
}

TEST(DefaultSetupIniPath, IsBesideTheProgramNotInTheWorkingDirectory) {
    const std::filesystem::path before = std::filesystem::current_path();
    TempDir dir;
    std::filesystem::current_path(dir.path());
    const std::filesystem::path path = DefaultSetupIniPath();
    std::filesystem::current_path(before);
    EXPECT_EQ(path.filename(), "setup.ini");
    EXPECT_TRUE(std::filesystem::exists(path.parent_path() / "velmark_settings_tests"));
}

}  // namespace
}  // namespace velmark
