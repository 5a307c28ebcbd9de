#include "batch/batch_options.h"

#include <array>
#include <charconv>
#include <functional>
#include <map>
#include <string_view>

namespace velmark::batch {
namespace {

constexpr std::array<std::string_view, 4> kDateFormats = {"YYYYMMDD", "DDMMYYYY", "YYYY-MM-DD",
                                                          "DD-MM-YYYY"};

std::optional<int> indexOf(std::string_view value, std::initializer_list<std::string_view> words) {
    int index = 0;
    for (const auto word : words) {
        if (value == word)
            return index;
        ++index;
    }
    return std::nullopt;
}

std::optional<int> dateFormatCode(std::string_view value) {
    for (std::size_t i = 0; i < kDateFormats.size(); ++i) {
        if (value == kDateFormats[i])
            return static_cast<int>(i) + 1;
    }
    return std::nullopt;
}

std::optional<int> positiveNumber(std::string_view value) {
    int number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size() || number < 1) {
        return std::nullopt;
    }
    return number;
}

bool isDate(std::string_view value) {
    if (value.size() != 8)
        return false;
    for (const char ch : value) {
        if (ch < '0' || ch > '9')
            return false;
    }
    return true;
}

// An option that takes a value: stores it, or answers false when the value is not acceptable.
using ValueSetter = std::function<bool(BatchOptions&, const std::string&)>;

const std::map<std::string, ValueSetter, std::less<>>& valueOptions() {
    static const std::map<std::string, ValueSetter, std::less<>> options = {
        {"--start-dir",
         [](BatchOptions& o, const std::string& v) {
             o.startDirectory = v;
             return !v.empty();
         }},
        {"--config",
         [](BatchOptions& o, const std::string& v) {
             o.configFile = v;
             return !v.empty();
         }},
        {"--lang",
         [](BatchOptions& o, const std::string& v) {
             return bool(o.language = indexOf(v, {"pl", "en"}));
         }},
        {"--input-type",
         [](BatchOptions& o, const std::string& v) {
             return bool(o.inputType = indexOf(v, {"adif", "csv", "txt", "cbr"}));
         }},
        {"--output-type",
         [](BatchOptions& o, const std::string& v) {
             return bool(o.outputType = indexOf(v, {"adif", "csv", "txt", "cbr"}));
         }},
        {"--order",
         [](BatchOptions& o, const std::string& v) {
             return bool(o.sortOrder = indexOf(v, {"dxcc", "adif", "call"}));
         }},
        {"--per-card",
         [](BatchOptions& o, const std::string& v) {
             return bool(o.qsosPerCard = positiveNumber(v));
         }},
        {"--divide", [](BatchOptions& o,
                        const std::string& v) { return bool(o.cardsPerPart = positiveNumber(v)); }},
        {"--input-date",
         [](BatchOptions& o, const std::string& v) {
             return bool(o.inputDateFormat = dateFormatCode(v));
         }},
        {"--output-date",
         [](BatchOptions& o, const std::string& v) {
             o.outputDateFormat = v == "as-input" ? std::optional<int>(0) : dateFormatCode(v);
             return o.outputDateFormat.has_value();
         }},
        {"--date-sep",
         [](BatchOptions& o, const std::string& v) {
             o.dateSeparator = v;
             return v.size() <= 1;
         }},
        {"--time-sep",
         [](BatchOptions& o, const std::string& v) {
             o.timeSeparator = v;
             return v.size() <= 1;
         }},
        {"--date",
         [](BatchOptions& o, const std::string& v) {
             o.findDate = v;
             return isDate(v);
         }},
        {"--template",
         [](BatchOptions& o, const std::string& v) {
             o.templateName = v;
             return !v.empty();
         }},
        {"--input-encoding",
         [](BatchOptions& o, const std::string& v) {
             return bool(o.inputEncoding = indexOf(v, {"auto", "cp1250", "utf-8"}));
         }},
        {"--output-encoding",
         [](BatchOptions& o, const std::string& v) {
             return bool(o.outputEncoding = indexOf(v, {"cp1250", "utf-8"}));
         }},
        // The labels command.
        {"--sheet",
         [](BatchOptions& o, const std::string& v) {
             o.sheetName = v;
             return !v.empty();
         }},
        {"--start-label",
         [](BatchOptions& o, const std::string& v) {
             return bool(o.startLabel = positiveNumber(v));
         }},
        {"--mark-sent",
         [](BatchOptions& o, const std::string& v) {
             o.markSentFile = v;
             return !v.empty();
         }},
    };
    return options;
}

std::optional<BatchCommand> commandNamed(std::string_view word) {
    static const std::map<std::string_view, BatchCommand> commands = {
        {"sort", BatchCommand::Sort},
        {"translate", BatchCommand::Translate},
        {"bookmarks", BatchCommand::Bookmarks},
        {"find", BatchCommand::Find},
        {"import-dxcc", BatchCommand::ImportDxcc},
        {"labels", BatchCommand::Labels}};
    const auto found = commands.find(word);
    if (found == commands.end())
        return std::nullopt;
    return found->second;
}

// The arguments each command needs; a wrong count is a usage error.
bool argumentsFit(const BatchOptions& options) {
    const auto count = options.arguments.size();
    switch (options.command) {
        case BatchCommand::Sort:
        case BatchCommand::Translate:
            return count == 2;
        case BatchCommand::Bookmarks:
            return count == 1 && (options.arguments[0] == "dxcc" || options.arguments[0] == "adif");
        case BatchCommand::Find:
            return count >= 1;
        case BatchCommand::ImportDxcc:
            return count == 1;
        case BatchCommand::Labels:
            return options.listSheets ? count == 0 : count == 2;
        case BatchCommand::None:
            return false;
    }
    return false;
}

}  // namespace

ParseResult ParseBatchOptions(const std::vector<std::string>& words) {
    BatchOptions options;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--help" || word == "-h") {
            options.help = true;
        } else if (word == "--version") {
            options.version = true;
        } else if (word == "--progress") {
            options.progress = true;
        } else if (word == "--via-manager") {
            options.viaManager = true;
        } else if (word == "--no-divide") {
            options.noDivide = true;
        } else if (word == "--dividers" || word == "--no-dividers") {
            options.dividers = word == "--dividers";
        } else if (word == "--list-sheets") {
            options.listSheets = true;
        } else if (const auto setter = valueOptions().find(word); setter != valueOptions().end()) {
            if (i + 1 >= words.size())
                return {std::nullopt, UsageError{word, {}}};
            const std::string& value = words[++i];
            if (!setter->second(options, value))
                return {std::nullopt, UsageError{word, value}};
        } else if (word.size() > 1 && word[0] == '-') {
            return {std::nullopt, UsageError{word, {}}};
        } else if (options.command == BatchCommand::None) {
            const auto command = commandNamed(word);
            if (!command)
                return {std::nullopt, UsageError{word, {}}};
            options.command = *command;
        } else {
            options.arguments.push_back(word);
        }
    }
    if (options.help || options.version)
        return {options, std::nullopt};
    if (!argumentsFit(options)) {
        return {std::nullopt,
                UsageError{options.arguments.empty() ? "" : options.arguments.back(), {}}};
    }
    return {options, std::nullopt};
}

}  // namespace velmark::batch
