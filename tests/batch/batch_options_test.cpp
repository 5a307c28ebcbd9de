// The command line of velmark-batch: what it accepts, what each option sets, and what it
// refuses with which word named.

#include "batch/batch_options.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace velmark::batch {
namespace {

struct Accepted {
    const char* name;
    std::vector<std::string> words;
    std::function<void(const BatchOptions&)> check;
};

void PrintTo(const Accepted& c, std::ostream* out) {
    *out << c.name;
}

class AcceptedCommandLine : public ::testing::TestWithParam<Accepted> {};

TEST_P(AcceptedCommandLine, SetsWhatTheWordsSay) {
    const ParseResult parsed = ParseBatchOptions(GetParam().words);
    ASSERT_FALSE(parsed.error.has_value()) << "refused at " << parsed.error->option;
    ASSERT_TRUE(parsed.options.has_value());
    GetParam().check(*parsed.options);
}

const Accepted kAccepted[] = {
    {"SortWithoutOptionsKeepsEverySetting",
     {"sort", "log.adi", "qsl.csv"},
     [](const BatchOptions& o) {
         EXPECT_EQ(o.command, BatchCommand::Sort);
         EXPECT_EQ(o.arguments, (std::vector<std::string>{"log.adi", "qsl.csv"}));
         EXPECT_EQ(o.startDirectory, ".");
         EXPECT_FALSE(o.configFile || o.language || o.inputType || o.outputType || o.sortOrder ||
                      o.qsosPerCard || o.cardsPerPart || o.inputDateFormat || o.outputDateFormat ||
                      o.dateSeparator || o.timeSeparator);
         EXPECT_FALSE(o.viaManager || o.noDivide || o.progress);
     }},
    {"Encodings",
     {"--input-encoding", "utf-8", "--output-encoding", "utf-8", "translate", "a", "b"},
     [](const BatchOptions& o) {
         EXPECT_EQ(o.inputEncoding, 2);
         EXPECT_EQ(o.outputEncoding, 1);
     }},
    {"EncodingWords",
     {"--input-encoding", "cp1250", "--input-encoding", "auto", "--output-encoding", "cp1250",
      "sort", "a", "b"},
     [](const BatchOptions& o) {
         EXPECT_EQ(o.inputEncoding, 0);
         EXPECT_EQ(o.outputEncoding, 0);
     }},
    {"OrderWords",
     {"--order", "call", "--via-manager", "sort", "a", "b"},
     [](const BatchOptions& o) {
         EXPECT_EQ(o.sortOrder, 2);
         EXPECT_TRUE(o.viaManager);
     }},
    {"OrderAdif",
     {"--order", "adif", "sort", "a", "b"},
     [](const BatchOptions& o) { EXPECT_EQ(o.sortOrder, 1); }},
    {"OrderDxcc",
     {"--order", "dxcc", "sort", "a", "b"},
     [](const BatchOptions& o) { EXPECT_EQ(o.sortOrder, 0); }},
    {"OptionsMayFollowTheCommand",
     {"sort", "--lang", "pl", "a", "--per-card", "3", "b"},
     [](const BatchOptions& o) {
         EXPECT_EQ(o.language, 0);
         EXPECT_EQ(o.qsosPerCard, 3);
         EXPECT_EQ(o.arguments, (std::vector<std::string>{"a", "b"}));
     }},
    {"LanguageEnglish",
     {"--lang", "en", "bookmarks", "dxcc"},
     [](const BatchOptions& o) { EXPECT_EQ(o.language, 1); }},
    {"FileTypes",
     {"--input-type", "cbr", "--output-type", "txt", "translate", "a", "b"},
     [](const BatchOptions& o) {
         EXPECT_EQ(o.command, BatchCommand::Translate);
         EXPECT_EQ(o.inputType, 3);
         EXPECT_EQ(o.outputType, 2);
     }},
    {"CardsAndParts",
     {"--per-card", "255", "--divide", "40", "sort", "a", "b"},
     [](const BatchOptions& o) {
         EXPECT_EQ(o.qsosPerCard, 255);
         EXPECT_EQ(o.cardsPerPart, 40);
         EXPECT_FALSE(o.noDivide);
     }},
    {"NoDivide",
     {"--no-divide", "sort", "a", "b"},
     [](const BatchOptions& o) { EXPECT_TRUE(o.noDivide); }},
    {"DateFormatsByCode",
     {"--input-date", "DD-MM-YYYY", "--output-date", "YYYY-MM-DD", "sort", "a", "b"},
     [](const BatchOptions& o) {
         EXPECT_EQ(o.inputDateFormat, 4);
         EXPECT_EQ(o.outputDateFormat, 3);
     }},
    {"OutputDateAsInput",
     {"--output-date", "as-input", "sort", "a", "b"},
     [](const BatchOptions& o) { EXPECT_EQ(o.outputDateFormat, 0); }},
    {"EmptySeparatorsMeanNone",
     {"--date-sep", "", "--time-sep", "", "translate", "a", "b"},
     [](const BatchOptions& o) {
         ASSERT_TRUE(o.dateSeparator.has_value());
         ASSERT_TRUE(o.timeSeparator.has_value());
         EXPECT_EQ(*o.dateSeparator, "");
         EXPECT_EQ(*o.timeSeparator, "");
     }},
    {"OneCharacterSeparators",
     {"--date-sep", ".", "--time-sep", ":", "translate", "a", "b"},
     [](const BatchOptions& o) {
         EXPECT_EQ(o.dateSeparator, ".");
         EXPECT_EQ(o.timeSeparator, ":");
     }},
    {"DirectoriesAndConfiguration",
     {"--start-dir", "/srv/velmark", "--config", "/etc/velmark.ini", "bookmarks", "adif"},
     [](const BatchOptions& o) {
         EXPECT_EQ(o.startDirectory, "/srv/velmark");
         EXPECT_EQ(o.configFile, "/etc/velmark.ini");
         EXPECT_EQ(o.command, BatchCommand::Bookmarks);
     }},
    {"FindTakesEveryCallsign",
     {"--date", "20240105", "find", "sp5xyz", "DL1ABC", "JA1ZZZ/P"},
     [](const BatchOptions& o) {
         EXPECT_EQ(o.command, BatchCommand::Find);
         EXPECT_EQ(o.findDate, "20240105");
         EXPECT_EQ(o.arguments.size(), 3u);
     }},
    {"ImportDxccTakesTheCountryFile",
     {"--start-dir", "qsl", "import-dxcc", "cty.dat"},
     [](const BatchOptions& o) {
         EXPECT_EQ(o.command, BatchCommand::ImportDxcc);
         EXPECT_EQ(o.arguments, std::vector<std::string>{"cty.dat"});
     }},
    {"HelpNeedsNoCommand", {"--help"}, [](const BatchOptions& o) { EXPECT_TRUE(o.help); }},
    {"VersionNeedsNoCommand", {"--version"}, [](const BatchOptions& o) { EXPECT_TRUE(o.version); }},
    {"Progress",
     {"--progress", "sort", "a", "b"},
     [](const BatchOptions& o) { EXPECT_TRUE(o.progress); }},
    {"LabelsWithoutOptionsKeepTheSettings",
     {"labels", "log.adi", "labels.pdf"},
     [](const BatchOptions& o) {
         EXPECT_EQ(o.command, BatchCommand::Labels);
         EXPECT_EQ(o.arguments, (std::vector<std::string>{"log.adi", "labels.pdf"}));
         EXPECT_FALSE(o.sheetName || o.startLabel || o.dividers || o.markSentFile);
         EXPECT_FALSE(o.listSheets);
     }},
    {"LabelsWithEveryOption",
     {"--per-card", "3", "--sheet", "L7160", "labels", "--start-label", "8", "--dividers",
      "--mark-sent", "sent.adi", "log.adi", "labels.pdf"},
     [](const BatchOptions& o) {
         EXPECT_EQ(o.qsosPerCard, 3);
         EXPECT_EQ(o.sheetName, "L7160");
         EXPECT_EQ(o.startLabel, 8);
         EXPECT_EQ(o.dividers, true);
         EXPECT_EQ(o.markSentFile, "sent.adi");
     }},
    {"LabelsWithoutDividers",
     {"--no-dividers", "labels", "a", "b.pdf"},
     [](const BatchOptions& o) { EXPECT_EQ(o.dividers, false); }},
    {"LabelSheetsListed",
     {"labels", "--list-sheets"},
     [](const BatchOptions& o) {
         EXPECT_TRUE(o.listSheets);
         EXPECT_TRUE(o.arguments.empty());
     }},
};

INSTANTIATE_TEST_SUITE_P(BatchOptions, AcceptedCommandLine, ::testing::ValuesIn(kAccepted),
                         [](const auto& info) { return std::string(info.param.name); });

struct Refused {
    const char* name;
    std::vector<std::string> words;
    std::string option;  // the word the error names
    std::string value;
};

void PrintTo(const Refused& c, std::ostream* out) {
    *out << c.name;
}

class RefusedCommandLine : public ::testing::TestWithParam<Refused> {};

TEST_P(RefusedCommandLine, NamesTheWordThatIsWrong) {
    const ParseResult parsed = ParseBatchOptions(GetParam().words);
    EXPECT_FALSE(parsed.options.has_value());
    ASSERT_TRUE(parsed.error.has_value());
    EXPECT_EQ(parsed.error->option, GetParam().option);
    EXPECT_EQ(parsed.error->value, GetParam().value);
}

const Refused kRefused[] = {
    {"NoCommand", {}, "", ""},
    {"UnknownCommand", {"shuffle", "a", "b"}, "shuffle", ""},
    {"SortWithOneFile", {"sort", "a"}, "a", ""},
    {"SortWithThreeFiles", {"sort", "a", "b", "c"}, "c", ""},
    {"BookmarksWithoutOrder", {"bookmarks"}, "", ""},
    {"BookmarksInAnotherOrder", {"bookmarks", "name"}, "name", ""},
    {"FindWithoutCallsign", {"find"}, "", ""},
    {"ImportDxccWithoutFile", {"import-dxcc"}, "", ""},
    {"ImportDxccWithTwoFiles", {"import-dxcc", "cty.csv", "cty.dat"}, "cty.dat", ""},
    {"UnknownOption", {"--colour", "sort", "a", "b"}, "--colour", ""},
    {"OptionWithoutValue", {"sort", "a", "b", "--order"}, "--order", ""},
    {"UnknownOrder", {"--order", "size", "sort", "a", "b"}, "--order", "size"},
    {"UnknownInputEncoding",
     {"--input-encoding", "latin2", "sort", "a", "b"},
     "--input-encoding",
     "latin2"},
    {"OutputEncodingIsNeverGuessed",
     {"--output-encoding", "auto", "sort", "a", "b"},
     "--output-encoding",
     "auto"},
    {"UnknownLanguage", {"--lang", "de", "sort", "a", "b"}, "--lang", "de"},
    {"UnknownFileType", {"--output-type", "xls", "sort", "a", "b"}, "--output-type", "xls"},
    {"NoQsoPerCard", {"--per-card", "0", "sort", "a", "b"}, "--per-card", "0"},
    {"NegativeQsosPerCard", {"--per-card", "-2", "sort", "a", "b"}, "--per-card", "-2"},
    {"QsosPerCardWithLetters", {"--per-card", "3x", "sort", "a", "b"}, "--per-card", "3x"},
    {"NoCardsPerPart", {"--divide", "0", "sort", "a", "b"}, "--divide", "0"},
    {"InputDateAsInput",
     {"--input-date", "as-input", "sort", "a", "b"},
     "--input-date",
     "as-input"},
    {"UnknownDateFormat",
     {"--output-date", "MM/DD/YY", "sort", "a", "b"},
     "--output-date",
     "MM/DD/YY"},
    {"TwoCharacterSeparator", {"--date-sep", "--", "sort", "a", "b"}, "--date-sep", "--"},
    {"FindDateTooShort", {"--date", "2024015", "find", "X"}, "--date", "2024015"},
    {"FindDateWithLetter", {"--date", "2024O105", "find", "X"}, "--date", "2024O105"},
    {"EmptyStartDirectory", {"--start-dir", "", "find", "X"}, "--start-dir", ""},
    {"LabelsWithoutPdf", {"labels", "log.adi"}, "log.adi", ""},
    {"LabelSheetsListedWithFiles", {"labels", "--list-sheets", "a"}, "a", ""},
    {"StartLabelZero", {"--start-label", "0", "labels", "a", "b"}, "--start-label", "0"},
    {"EmptySheetName", {"--sheet", "", "labels", "a", "b"}, "--sheet", ""},
    {"EmptyMarkSentFile", {"--mark-sent", "", "labels", "a", "b"}, "--mark-sent", ""},
};

INSTANTIATE_TEST_SUITE_P(BatchOptions, RefusedCommandLine, ::testing::ValuesIn(kRefused),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmark::batch
