#include "cabrillo/contest_template.h"
#include "core/text_lines.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "cabrillo/template_editor.h"
#include "core/errors.h"
#include "tests/cabrillo/cabrillo_test_support.h"

namespace velmark {
namespace {

using testing::CabrilloRun;
using testing::TempDir;
using testing::TemplateLines;

const std::string kDefaultNames =
    "[[   FREQ MODE QSO_DATE TIME_ON  OPERATOR_  RST_SENT STX CALL    RST_RCVD SRX ]]";
const std::string kDefaultMask =
    "QSO: ##### ## ########## #### ############# ### ###### ############# ### ######";

struct NextWordCase {
    std::string_view Line;
    std::size_t Cursor;
    std::string_view Word;
    std::size_t CursorAfter;
};

TEST(NextWord, SkipsBlanksAndLeavesTheCursorAfterTheWord) {
    const NextWordCase cases[] = {
        {"  MHZ   yyyymmdd", 1, "MHZ", 6},
        {"  MHZ   yyyymmdd", 6, "yyyymmdd", 17},
        {"  MHZ   yyyymmdd", 17, "", 17},
        {"[[FREQ MODE ]]", 3, "FREQ", 7},
    };
    for (const NextWordCase& c : cases) {
        std::size_t cursor = c.Cursor;
        EXPECT_EQ(NextWord(c.Line, cursor), c.Word) << c.Line << " from " << c.Cursor;
        EXPECT_EQ(cursor, c.CursorAfter) << c.Line << " from " << c.Cursor;
    }
}

TEST(FieldNamesOf, StopsAtTheClosingBracketsAndKeepsGluedBracketsInTheName) {
    EXPECT_EQ(FieldNamesOf("[[ FREQ   MODE ]] CALL"), (std::vector<std::string>{"FREQ", "MODE"}));
    EXPECT_EQ(FieldNamesOf("[[ FREQ SRX]]"), (std::vector<std::string>{"FREQ", "SRX]]"}));
    EXPECT_TRUE(FieldNamesOf("[[ ]]").empty());
}

TEST(SplitLines, TakesEveryLineEndAndALastLineWithoutOne) {
    const std::vector<std::string> lines{"a", "", "b", "c"};
    for (const std::string_view text :
         {"a\r\n\r\nb\r\nc\r\n", "a\n\nb\nc\n", "a\r\rb\rc\r", "a\r\n\nb\rc"}) {
        EXPECT_EQ(SplitLines(text), lines) << text;
    }
}

TEST(FindFieldIndex, FindsCatalogueNamesExactlyAndTheLogsExtraNames) {
    TStrukturaADIF catalogue;
    ColumnList columns;
    const int extra = catalogue.RegisterField("STATION_CALLSIGN", columns);
    EXPECT_EQ(FindFieldIndex("CLASS_", catalogue), 13);
    EXPECT_EQ(FindFieldIndex("CALL", catalogue), 11);
    EXPECT_EQ(FindFieldIndex("STATION_CALLSIGN", catalogue), extra);
    for (const std::string_view unknown : {"CLASS", "call", "SRX]]", "OPERATOR_"}) {
        EXPECT_EQ(FindFieldIndex(unknown, catalogue), kNoField) << unknown;
    }
}

class LoadTemplateTest : public ::testing::Test {
  protected:
    CabrilloRun run;

    void SetUp() override {
        run.Personal.Callsign = "N0CALL";
        run.Personal.ClubCallsign = "Q1CLUB";
        run.Personal.ArrlSection = "DX";
        run.Personal.FirstAndLastName = "Jan Kowalski";
        run.Personal.Address1 = "ul. Polna 1";
        run.Personal.Address2 = "skr. 5";
        run.Personal.QthCity = "Kraków";
        run.Personal.County = "K";
        run.Personal.Zip = "30-001";
    }
};

TEST_F(LoadTemplateTest, CompletesTheNewContestHeaderWithThePersonalDataAndTheProgram) {
    const TemplateText text = NewContestTemplate();
    std::vector<std::string> lines = text.HeaderLines;
    lines.insert(lines.end(), text.PatternLines.begin(), text.PatternLines.end());
    lines.push_back(text.EndLine);
    const CabrilloTemplate form = run.Make(lines);

    const std::vector<std::string> expected{
        "START-OF-LOG: 3.0",
        "ARRL-SECTION:  DX",
        "CALLSIGN:  N0CALL",
        "CLUB:  Q1CLUB",
        "CONTEST:",
        "CATEGORY:",
        "CLAIMED-SCORE:",
        "OPERATORS:  N0CALL",
        "NAME:  Jan Kowalski",
        "ADDRESS1:  ul. Polna 1",
        "ADDRESS2:  skr. 5",
        "ADDRESS3:  Kraków K 30-001",
        "Created BY:  velmark  V: 1.0.2.0    author KOLDAR ",
    };
    ASSERT_EQ(form.PatternIndex, static_cast<int>(expected.size()));
    for (int k = 1; k <= form.PatternIndex; ++k) {
        EXPECT_EQ(form.HeaderLines[k], expected[k - 1]) << "header line " << k;
    }
    EXPECT_EQ(form.FieldNameLine, kDefaultNames);
    EXPECT_EQ(form.MaskLine, kDefaultMask);
    EXPECT_EQ(form.FreqUnitIn, "MHZ");
    EXPECT_EQ(form.DateFormatIn, "yyyymmdd");
    EXPECT_EQ(form.DateFormatOut, "yyyy-mm-dd");
    EXPECT_EQ(form.EndLine, "END-OF-LOG:");
    const int entries[] = {30, 43, 82, 102, kNoField, 87, 97, 11, 86, 94};
    ASSERT_EQ(form.FieldCount(), 10);
    for (int k = 1; k <= 10; ++k) {
        EXPECT_EQ(form.FieldIndex[k], entries[k - 1]) << form.FieldNames[k - 1];
    }
}

TEST_F(LoadTemplateTest, CompletesOnlyHeaderLinesThatAreExactlyTheKey) {
    const CabrilloTemplate form = run.Make(
        TemplateLines(kDefaultNames, kDefaultMask,
                      {"CALLSIGN: ", "callsign:", " NAME:", "CALLSIGN: Q9XX", "Created BY:"}));
    EXPECT_EQ(form.HeaderLines[1], "CALLSIGN: ");
    EXPECT_EQ(form.HeaderLines[2], "callsign:");
    EXPECT_EQ(form.HeaderLines[3], " NAME:");
    EXPECT_EQ(form.HeaderLines[4], "CALLSIGN: Q9XX");
    EXPECT_EQ(form.HeaderLines[5], "Created BY:  velmark  V: 1.0.2.0");
}

TEST_F(LoadTemplateTest, AcceptsANameGluedToTheClosingBracketsAsAnUnknownName) {
    const CabrilloTemplate form = run.Make(TemplateLines("[[ FREQ SRX]]", "QSO: ##### ####"));
    ASSERT_EQ(form.FieldCount(), 2);
    EXPECT_EQ(form.FieldIndex[2], kNoField);
}

struct BrokenTemplate {
    const char* What;
    std::vector<std::string> Lines;
    TemplateProblem Problem;
    std::string_view MessagePart;  // from the English problem text
};

std::vector<std::string> withLine(std::vector<std::string> lines, std::size_t index,
                                  const std::string& replacement) {
    lines[index] = replacement;
    return lines;
}

std::vector<std::string> without(std::vector<std::string> lines, std::size_t index) {
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(index));
    return lines;
}

TEST_F(LoadTemplateTest, RefusesEveryBrokenLayoutNamingTemplateAndProblem) {
    const std::vector<std::string> good = TemplateLines(kDefaultNames, kDefaultMask);
    // good: 1 header line, pattern lines at 1..10, end line at 11.
    const BrokenTemplate cases[] = {
        {"no [[ line",
         {"START-OF-LOG: 3.0", "QSO: ###", "END-OF-LOG:"},
         TemplateProblem::NoFieldNameLine,
         "no line begins with \"[[\""},
        {"no end line", without(good, 11), TemplateProblem::NoEndLine, "\"END-OF-LOG:\""},
        {"end line before [[",
         {"START-OF-LOG: 3.0", "END-OF-LOG:", kDefaultNames},
         TemplateProblem::NoEndLine,
         "\"END-OF-LOG:\""},
        {"no header", without(good, 0), TemplateProblem::NoHeaderLine, "no header line"},
        {"29 header lines",
         TemplateLines(kDefaultNames, kDefaultMask, std::vector<std::string>(29, "SOAPBOX:")),
         TemplateProblem::TooManyHeaderLines, "more than 28 header lines"},
        {"13 names", withLine(good, 1, "[[ A B C D E F G H I J K L M ]]"),
         TemplateProblem::TooManyFieldNames, "more than 12 names"},
        {"no closing ]]", withLine(good, 1, "[[ FREQ MODE"), TemplateProblem::NoFieldNameLineEnd,
         "does not end with \"]]\""},
        {"8 pattern lines", without(without(good, 10), 3), TemplateProblem::TooFewPatternLines,
         "fewer than 9 lines"},
        {"line 7 one word", withLine(good, 7, "   MHZ"), TemplateProblem::TooFewStoredFormats,
         "pattern line 7"},
        {"line 9 two words", withLine(good, 9, "QSO: ***** **"),
         TemplateProblem::TooFewCabrilloFormats, "pattern line 9"},
    };
    for (const BrokenTemplate& c : cases) {
        try {
            run.Make(c.Lines, "BROKEN.FRM");
            ADD_FAILURE() << c.What << ": accepted";
        } catch (const TemplateError& error) {
            EXPECT_EQ(error.Problem, c.Problem) << c.What;
            const std::string message = TemplateRefusalMessage(error, run.Texts);
            EXPECT_NE(message.find("BROKEN.FRM"), std::string::npos) << c.What << ": " << message;
            EXPECT_NE(message.find(c.MessagePart), std::string::npos) << c.What << ": " << message;
        }
    }
}

TEST_F(LoadTemplateTest, AcceptsTheLimits) {
    std::vector<std::string> lines = TemplateLines("[[ A B C D E F G H I J K L ]]", kDefaultMask,
                                                   std::vector<std::string>(28, "SOAPBOX:"));
    lines.pop_back();
    lines.erase(lines.end() - 1);  // nine pattern lines
    lines.emplace_back("END-OF-LOG:");
    const CabrilloTemplate form = run.Make(lines);
    EXPECT_EQ(form.PatternIndex, 28);
    EXPECT_EQ(form.FieldCount(), 12);
}

TEST(WriteTemplateFile, WritesEachSectionUpToItsFirstEmptyLineWithCrLf) {
    TempDir dir;
    TemplateText text;
    text.HeaderLines = {"START-OF-LOG: 3.0", "CALLSIGN:", "", "CONTEST: lost"};
    text.PatternLines = {"[[ FREQ ]]", "QSO: #####", "", "lost"};
    text.EndLine = "END-OF-LOG:";
    const std::string path = dir.file("T.FRM");
    WriteTemplateFile(path, text);
    EXPECT_EQ(TempDir::read(path), testing::CrLfLines({"START-OF-LOG: 3.0", "CALLSIGN:",
                                                       "[[ FREQ ]]", "QSO: #####", "END-OF-LOG:"}));
}

TEST(ListTemplates, ListsTheFrmFilesSortedWithTheExtensionInAnyCase) {
    TempDir dir;
    EXPECT_TRUE(ListTemplates(dir.path().string()).empty());  // no CABRILLO_FORM
    std::filesystem::create_directories(dir.path() / "CABRILLO_FORM" / "SUB.FRM");
    for (const char* name : {"WPX.FRM", "ARRL.frm", "notes.txt", "FRM", "CQWW.FRM.bak"}) {
        dir.write(std::string("CABRILLO_FORM/") + name, "x");
    }
    EXPECT_EQ(ListTemplates(dir.path().string()),
              (std::vector<std::string>{"ARRL.frm", "WPX.FRM"}));
}

// An editor that saves UTF-8 marks the file; the template and the names read as without it.
TEST_F(LoadTemplateTest, FilesBeginningWithAByteOrderMarkAreUtf8) {
    const TemplateText text = NewContestTemplate();
    std::vector<std::string> lines = text.HeaderLines;
    lines.insert(lines.end(), text.PatternLines.begin(), text.PatternLines.end());
    lines.push_back(text.EndLine);
    run.WriteTemplate("PLAIN.FRM", lines);
    lines.front() = "\xEF\xBB\xBF" + lines.front();
    const auto contest = std::find(lines.begin(), lines.end(), "CONTEST:");
    ASSERT_NE(contest, lines.end());
    *contest += " Kraków";  // in UTF-8
    run.WriteTemplate("MARKED.FRM", lines);
    const CabrilloTemplate plain = run.Load("PLAIN.FRM");
    const CabrilloTemplate marked = run.Load("MARKED.FRM");
    const std::size_t at = static_cast<std::size_t>(contest - lines.begin()) + 1;
    EXPECT_EQ(marked.HeaderLines[1], plain.HeaderLines[1]);
    EXPECT_EQ(marked.HeaderLines[at], "CONTEST: Krak\xF3w");
    EXPECT_EQ(marked.MaskLine, plain.MaskLine);

    const std::string names =
        run.Dir.write("names.txt", "\xEF\xBB\xBFSTATION_CALLSIGN\r\nMY_DXCC\r\n");
    EXPECT_EQ(ReadExtraFieldNames(names),
              (std::vector<std::string>{"STATION_CALLSIGN", "MY_DXCC"}));
}

TEST(ReadExtraFieldNames, SkipsEmptyBlankAndCommentLinesWithAnyLineEnds) {
    TempDir dir;
    const std::string path = dir.write(
        "names.txt", "{ extra names }\r\nSTATION_CALLSIGN\r\n\r\n \n{x\rMY_DXCC\r\n  \r\n");
    EXPECT_EQ(ReadExtraFieldNames(path), (std::vector<std::string>{"STATION_CALLSIGN", "MY_DXCC"}));
    EXPECT_THROW(ReadExtraFieldNames(dir.file("missing.txt")), FileError);
}

}  // namespace
}  // namespace velmark
