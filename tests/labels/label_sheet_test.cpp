// Label sheet files: what they may say, what is refused (naming the file, the key and the
// value), and the bundled presets, every one of which must give labels that hold a card of
// three QSOs inside each label's cell.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>

#include "labels/label_layout.h"
#include "labels/label_run.h"
#include "labels/label_sheet.h"
#include "settings/text_table.h"
#include "support/temp_dir.h"

namespace velmark {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// A good sheet (Avery L7160) as a file would hold it, with CR LF.
const std::string kL7160 =
    "# Avery L7160\r\nName = Avery L7160\r\nPage = A4\r\nTopMargin = 15.15\r\n"
    "LeftMargin = 7.2\r\nColumns = 3\r\nRows = 7\r\nColumnGap = 2.5\r\nRowGap = 0\r\n"
    "LabelWidth = 63.5\r\nLabelHeight = 38.1\r\nFontSize = 8\r\n";

// The L7160 sheet with one line replaced (or added when the key is new).
std::string L7160With(const std::string& key, const std::string& line) {
    std::string text = kL7160;
    const auto at = text.find("\r\n" + key + " =");
    if (at == std::string::npos)
        return text + line + "\r\n";
    const auto end = text.find("\r\n", at + 2);
    return text.replace(at + 2, end - at - 2, line);
}

TEST(LabelSheet, ReadsEveryKeyInAnyLetterCaseWithCommasAndUnits) {
    const SheetReadResult read = ParseLabelSheet(
        "; comment\nname = Custom\npagewidth = 148 mm\nPAGEHEIGHT = 210\nTopMargin=10,5\n"
        "LeftMargin = 4\nColumns = 2\nRows = 4\nColumnGap = 3\nRowGap = 1.5\n"
        "LabelWidth = 68,5mm\nLabelHeight = 47\nFontSize = 9 pt\nOutline = yes\n",
        "custom.sheet");
    ASSERT_TRUE(read.Sheet) << static_cast<int>(read.Problem->Fault);
    const LabelSheet& sheet = *read.Sheet;
    EXPECT_EQ(sheet.Title, "Custom");
    EXPECT_DOUBLE_EQ(sheet.PageWidth, 148);
    EXPECT_DOUBLE_EQ(sheet.PageHeight, 210);
    EXPECT_DOUBLE_EQ(sheet.TopMargin, 10.5);
    EXPECT_DOUBLE_EQ(sheet.LabelWidth, 68.5);
    EXPECT_DOUBLE_EQ(sheet.RowGap, 1.5);
    EXPECT_DOUBLE_EQ(sheet.FontSize, 9);
    EXPECT_EQ(sheet.Columns, 2);
    EXPECT_EQ(sheet.Rows, 4);
    EXPECT_TRUE(sheet.Outline);
    // The second label of the second row: one pitch right, one pitch down.
    const MmRect cell = sheet.Cell(3);
    EXPECT_DOUBLE_EQ(cell.X, 4 + 68.5 + 3);
    EXPECT_DOUBLE_EQ(cell.Y, 10.5 + 47 + 1.5);
}

TEST(LabelSheet, WithoutANameTheFileNameIsTheTitleAndOptionalKeysDefault) {
    const SheetReadResult read = ParseLabelSheet(
        "Page = Letter\nColumns = 1\nRows = 1\nLabelWidth = 100\nLabelHeight = 50\n",
        "MY-SHEET.sheet");
    ASSERT_TRUE(read.Sheet);
    EXPECT_EQ(read.Sheet->Title, "MY-SHEET");
    EXPECT_DOUBLE_EQ(read.Sheet->PageWidth, 215.9);
    EXPECT_DOUBLE_EQ(read.Sheet->TopMargin, 0);
    EXPECT_DOUBLE_EQ(read.Sheet->FontSize, 8);
    EXPECT_FALSE(read.Sheet->Outline);
}

// A sheet that cannot be used, and what the refusal must name.
struct Refusal {
    const char* name;
    std::string text;
    SheetFault fault;
    const char* key;
    const char* value;
    int line;  // 0: not one line's fault
};

void PrintTo(const Refusal& c, std::ostream* out) {
    *out << c.name;
}

class SheetRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(SheetRefusal, NamesTheKeyAndTheValue) {
    const Refusal& c = GetParam();
    const SheetReadResult read = ParseLabelSheet(c.text, "bad.sheet");
    ASSERT_FALSE(read.Sheet);
    ASSERT_TRUE(read.Problem);
    EXPECT_EQ(read.Problem->Fault, c.fault);
    EXPECT_EQ(read.Problem->Key, c.key);
    EXPECT_EQ(read.Problem->Value, c.value);
    EXPECT_EQ(read.Problem->Line, c.line);

    TNazwyJezykowe texts;
    texts.Fill(kLanguageEnglish);
    const std::string message = SheetProblemMessage(*read.Problem, "bad.sheet", texts);
    EXPECT_EQ(message.rfind(texts.SheetRefused + "LABEL_SHEETS/bad.sheet\r", 0), 0u) << message;
    EXPECT_NE(message.find(c.value), std::string::npos) << message;
    EXPECT_NE(message.find(c.key), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(
    Files, SheetRefusal,
    ::testing::Values(Refusal{"LineWithoutEquals", kL7160 + "Columns 3\r\n",
                              SheetFault::NotKeyValue, "", "Columns 3", 13},
                      Refusal{"UnknownKey", kL7160 + "Colums = 3\r\n", SheetFault::UnknownKey,
                              "Colums", "3", 13},
                      Refusal{"NotANumber", L7160With("LabelWidth", "LabelWidth = 63.5cm"),
                              SheetFault::NotANumber, "LabelWidth", "63.5cm", 10},
                      Refusal{"FractionOfAColumn", L7160With("Columns", "Columns = 2.5"),
                              SheetFault::NotANumber, "Columns", "2.5", 6},
                      Refusal{"NoColumns", L7160With("Columns", "Columns = 0"),
                              SheetFault::OutOfRange, "Columns", "0", 6},
                      Refusal{"NegativeMargin", L7160With("TopMargin", "TopMargin = -1"),
                              SheetFault::OutOfRange, "TopMargin", "-1", 4},
                      Refusal{"UnknownPage", L7160With("Page", "Page = B5"), SheetFault::OutOfRange,
                              "Page", "B5", 3},
                      Refusal{"OutlineNeitherYesNorNo", kL7160 + "Outline = maybe\r\n",
                              SheetFault::NotANumber, "Outline", "maybe", 13},
                      Refusal{"MissingLabelHeight", L7160With("LabelHeight", "# none"),
                              SheetFault::MissingKey, "LabelHeight", "", 0},
                      Refusal{"MissingPage", L7160With("Page", "# none"), SheetFault::MissingKey,
                              "PageWidth", "", 0},
                      Refusal{"OverlappingColumns", L7160With("ColumnGap", "ColumnGap = -2"),
                              SheetFault::Overlap, "ColumnGap", "-2", 0},
                      Refusal{"OverlappingRows", L7160With("RowGap", "RowGap = -0.5"),
                              SheetFault::Overlap, "RowGap", "-0.5", 0},
                      // 20 + 3 x 63.5 + 2 x 2.5 = 215.5 mm on a page of 210 mm.
                      Refusal{"BeyondTheRightEdge", L7160With("LeftMargin", "LeftMargin = 20"),
                              SheetFault::BeyondPage, "PageWidth", "210", 0},
                      // 30 + 7 x 38.1 = 296.7 mm fits; 31 + 266.7 = 297.7 mm does not.
                      Refusal{"BeyondTheBottomEdge", L7160With("TopMargin", "TopMargin = 31"),
                              SheetFault::BeyondPage, "PageHeight", "297", 0},
                      Refusal{"UnreadableFont", L7160With("FontSize", "FontSize = 4"),
                              SheetFault::FontTooSmall, "FontSize", "4", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LabelSheet, BeyondThePageSaysWhereTheLabelsEnd) {
    const SheetReadResult read = ParseLabelSheet(L7160With("LeftMargin", "LeftMargin = 20"), "x");
    ASSERT_TRUE(read.Problem);
    EXPECT_EQ(read.Problem->Detail, "215.5");
}

TEST(LabelSheet, InchSheetsWithinATenthOfAMillimetreOfTheirPageAreTaken) {
    // Sheets for inch paper, given in mm with two decimals, may end a hair past the page:
    // 31.69 + 3 x 59.3 + 2 x 3.18 = 215.95 on a page of 215.9 is taken, 216.05 is not.
    const auto sheetWithLeftMargin = [](const std::string& margin) {
        return ParseLabelSheet("Page = Letter\nLeftMargin = " + margin +
                                   "\nColumns = 3\nRows = 1\nColumnGap = 3.18\n"
                                   "LabelWidth = 59.3\nLabelHeight = 25.4\n",
                               "x");
    };
    EXPECT_TRUE(sheetWithLeftMargin("31.69").Sheet);
    EXPECT_FALSE(sheetWithLeftMargin("31.79").Sheet);
}

// Avery L7651: 65 labels of 38.1 x 21.2 mm. Too narrow for the date, time, band, mode, report
// and QSL columns at any readable size.
TEST(LabelSheet, LabelsTooSmallForTheTableAreRefusedWithWhatTheTableNeeds) {
    const SheetReadResult read = ParseLabelSheet(
        "Page = A4\nTopMargin = 10.7\nLeftMargin = 4.7\nColumns = 5\nRows = 13\n"
        "ColumnGap = 2.5\nLabelWidth = 38.1\nLabelHeight = 21.2\nFontSize = 7\n",
        "L7651.sheet");
    ASSERT_TRUE(read.Sheet) << "the geometry itself is sound";
    TNazwyJezykowe texts;
    texts.Fill(kLanguageEnglish);
    const LabelWords words = LabelWordsOf(texts, "SP9XYZ");
    const LayoutResult layout =
        MakeLabelLayout(*read.Sheet, 1, words.ColumnTitles, {8, 4, 6, 5, 3, 3});
    ASSERT_FALSE(layout.Layout);
    ASSERT_TRUE(layout.Problem);
    EXPECT_EQ(layout.Problem->Fault, SheetFault::TooSmallForTable);
    EXPECT_EQ(layout.Problem->Key, "LabelWidth");
    EXPECT_EQ(layout.Problem->Value, "38.1");
    // 34 characters of 0.6 em at 6 pt, and 1.5 mm inside either edge.
    EXPECT_EQ(layout.Problem->Detail, MmText(2 * 1.5 + 34 * kMonoAdvanceEm * 6 * kPointMm));
    EXPECT_EQ(SheetProblemMessage(*layout.Problem, "L7651.sheet", texts),
              texts.SheetRefused + "LABEL_SHEETS/L7651.sheet\r" + texts.SheetTooSmallForTable +
                  layout.Problem->Detail + ": LabelWidth = 38.1");
}

TEST(LabelSheet, AnUnreadableFileIsRefusedWithTheSystemMessage) {
    TempDir dir;
    const SheetReadResult read = ReadLabelSheet(dir.file("missing.sheet"));
    ASSERT_TRUE(read.Problem);
    EXPECT_EQ(read.Problem->Fault, SheetFault::Unreadable);
    EXPECT_EQ(read.Problem->Value, "No such file or directory");
}

TEST(LabelSheetFolder, ListsSheetFilesByNameAndFindsThemWithOrWithoutExtension) {
    TempDir dir;
    fs::create_directories(dir.path() / kLabelSheetFolder);
    for (const char* name : {"l7163.sheet", "L7160.SHEET", "5160.sheet", "README.txt"})
        dir.write(std::string(kLabelSheetFolder) + "/" + name, kL7160);
    fs::create_directories(dir.path() / kLabelSheetFolder / "folder.sheet");
    const std::string start = dir.path().string();
    EXPECT_EQ(ListLabelSheets(start),
              (std::vector<std::string>{"5160.sheet", "L7160.SHEET", "l7163.sheet"}));
    EXPECT_EQ(FindLabelSheet(start, "l7160"), LabelSheetPath(start, "L7160.SHEET"));
    EXPECT_EQ(FindLabelSheet(start, "L7163.sheet"), LabelSheetPath(start, "l7163.sheet"));
    EXPECT_FALSE(FindLabelSheet(start, "L716"));
    EXPECT_FALSE(FindLabelSheet(start, "README"));
    EXPECT_TRUE(ListLabelSheets(dir.file("no-such-start")).empty());
}

TEST(MmText, ShowsAtMostTwoDecimalsWithoutTrailingZeros) {
    EXPECT_EQ(MmText(63.5), "63.5");
    EXPECT_EQ(MmText(210), "210");
    EXPECT_EQ(MmText(7.254), "7.25");
    EXPECT_EQ(MmText(-0.001), "0");
    EXPECT_EQ(MmText(-2), "-2");
}

// Every sheet the program brings: valid, every label on its page, and room for a card of three
// QSOs at a readable size in both languages.
class BundledSheet : public ::testing::TestWithParam<std::string> {};

TEST_P(BundledSheet, HoldsThreeQsosALabelInsideThePage) {
    const SheetReadResult read =
        ReadLabelSheet(LabelSheetPath(VELMARK_SOURCE_DATA_DIR, GetParam()));
    ASSERT_TRUE(read.Sheet) << GetParam() << ": fault " << static_cast<int>(read.Problem->Fault)
                            << " " << read.Problem->Key << " = " << read.Problem->Value;
    const LabelSheet& sheet = *read.Sheet;
    for (int slot = 0; slot < sheet.LabelsPerPage(); ++slot) {
        const MmRect cell = sheet.Cell(slot);
        EXPECT_GE(cell.X, 0);
        EXPECT_GE(cell.Y, 0);
        EXPECT_LE(cell.X + cell.Width, sheet.PageWidth + 0.1) << "slot " << slot;
        EXPECT_LE(cell.Y + cell.Height, sheet.PageHeight + 0.1) << "slot " << slot;
    }
    for (const int language : {kLanguagePolish, kLanguageEnglish}) {
        TNazwyJezykowe texts;
        texts.Fill(language);
        // Dates with separators (ten characters) and times with one (five).
        const LayoutResult layout =
            MakeLabelLayout(sheet, 3, LabelWordsOf(texts, {}).ColumnTitles, {10, 5, 6, 5, 3, 3});
        ASSERT_TRUE(layout.Layout) << GetParam() << " needs " << layout.Problem->Detail;
        EXPECT_GE(layout.Layout->FontSize, kMinReadableFontSize);
    }
}

INSTANTIATE_TEST_SUITE_P(Presets, BundledSheet,
                         ::testing::ValuesIn(ListLabelSheets(VELMARK_SOURCE_DATA_DIR)),
                         [](const auto& info) {
                             std::string name = info.param.substr(0, info.param.find('.'));
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             }
                             return name;
                         });

TEST(BundledSheets, AreTheOnesTheProgramIsKnownFor) {
    const std::vector<std::string> sheets = ListLabelSheets(VELMARK_SOURCE_DATA_DIR);
    for (const char* name : {"L7160", "L7161", "L7162", "L7163", "L7165", "3422", "3475", "5160",
                             "5161", "5163", "5164", "ROLL62", "CARD140x90"}) {
        EXPECT_TRUE(FindLabelSheet(VELMARK_SOURCE_DATA_DIR, name)) << name;
    }
    EXPECT_EQ(sheets.size(), 13u);
}

}  // namespace
}  // namespace velmark
