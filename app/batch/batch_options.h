#pragma once
// The command line of velmark-batch: a command, its arguments, and options that override the
// settings of setup.ini for this run only.

#include <optional>
#include <string>
#include <vector>

namespace velmark::batch {

enum class BatchCommand { None, Sort, Translate, Bookmarks, Find, ImportDxcc, Labels };

struct BatchOptions {
    BatchCommand command = BatchCommand::None;
    std::vector<std::string> arguments;  // INPUT OUTPUT, dxcc|adif, callsigns, or a country file

    std::string startDirectory = ".";
    std::optional<std::string> configFile;
    std::optional<int> language;   // 0 Polish, 1 English
    std::optional<int> inputType;  // 0 ADIF, 1 CSV, 2 TXT, 3 Cabrillo
    std::optional<int> outputType;
    std::optional<int> sortOrder;  // 0 DXCC list, 1 ADIF number, 2 callsign
    bool viaManager = false;
    std::optional<int> qsosPerCard;
    std::optional<int> cardsPerPart;  // --divide M
    bool noDivide = false;
    std::optional<int> inputDateFormat;   // 1..4
    std::optional<int> outputDateFormat;  // 0 as input, 1..4
    std::optional<std::string> dateSeparator;
    std::optional<std::string> timeSeparator;
    std::optional<std::string> findDate;      // YYYYMMDD
    std::optional<std::string> templateName;  // Cabrillo output: a template of CABRILLO_FORM
    std::optional<int> inputEncoding;         // 0 auto, 1 cp1250, 2 utf-8
    std::optional<int> outputEncoding;        // 0 cp1250, 1 utf-8
    // The labels command: the sheet (a file of LABEL_SHEETS), the first label on the first
    // sheet, divider labels (setup.ini's choice unless given), the ADIF file of the QSOs sent,
    // or only the list of sheets.
    std::optional<std::string> sheetName;
    std::optional<int> startLabel;
    std::optional<bool> dividers;
    std::optional<std::string> markSentFile;
    bool listSheets = false;
    bool progress = false;
    bool help = false;
    bool version = false;
};

// A command line that cannot be understood: what was wrong, for standard error.
struct UsageError {
    std::string option;  // the offending word
    std::string value;   // its value, when the value was the problem
};

// Parses argv[1..]; either the options or the first usage error.
struct ParseResult {
    std::optional<BatchOptions> options;
    std::optional<UsageError> error;
};
ParseResult ParseBatchOptions(const std::vector<std::string>& words);

}  // namespace velmark::batch
