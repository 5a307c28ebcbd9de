#include "settings/configuration.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <span>
#include <system_error>

#include "core/errors.h"
#include "core/replacing_file.h"
#include "core/text_encoding.h"
#include "core/whole_file.h"

// setup.ini is code page 1250 text, kept as bytes: no conversion of the file's text.
#define SI_NO_CONVERSION
// Debian's SimpleIni.h keeps its definitions behind this switch; this is the one file that
// instantiates them.
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

namespace velmark {
namespace {

namespace fs = std::filesystem;

// The file's sections, in the order they are written.
constexpr const char* kMainSection = "MAIN";
constexpr const char* kFileTypesSection = "For Sort and translate";
constexpr const char* kDateFormatSection = "Format QSO_Date For Sort and translate";
constexpr const char* kPrintSection = "PRINT QSL";
constexpr const char* kPersonalSection = "Personal info";
// QSL labels; a file without this section reads as no sheet chosen, no dividers, no file of
// the QSOs sent.
constexpr const char* kLabelsSection = "PRINT LABELS";
constexpr const char* kLabelSheetKey = "Label sheet";
constexpr const char* kLabelDividersKey = "Divider labels";
constexpr const char* kLabelMarkSentKey = "Write file of QSOs sent";

// Longest value a key gives back; the rest of a longer value is dropped on reading.
constexpr std::size_t kMaxValueLength = 2047;

// Language is read with this default, which is no language word: an absent key means English.
constexpr const char* kLanguageDefault = "s";

constexpr std::string_view kLanguageWords[] = {"Polish", "English"};
constexpr std::string_view kSortingWords[] = {"Sort_according_to_DXCC_list",
                                              "Sort_according_to_number_of_ADIF",
                                              "Sort_alfanumeric_acording_to_callsign"};
constexpr std::string_view kInputTypeWords[] = {"ADIFwe", "CSVwe", "TXTwe", "CBRwe"};
constexpr std::string_view kOutputTypeWords[] = {"ADIFwy", "CSVwy", "TXTwy", "CBRwy"};
constexpr std::string_view kInputDateWords[] = {"Dont know", "YYYYMMDD", "DDMMYYYY", "YYYY-MM-DD",
                                                "DD-MM-YYYY"};
constexpr std::string_view kOutputDateWords[] = {"As input format", "YYYYMMDD", "DDMMYYYY",
                                                 "YYYY-MM-DD", "DD-MM-YYYY"};

// A key whose value is one word of a list; the field holds the word's position.
struct CodedKey {
    const char* Section;
    const char* Key;
    std::uint8_t TKonfiguracja::*Field;
    std::span<const std::string_view> Words;
};

// In file order. Neighbouring lists share no word, which the reading chain relies on.
const CodedKey kCodedKeys[] = {
    {kMainSection, "Language", &TKonfiguracja::Language, kLanguageWords},
    {kMainSection, "Sorting", &TKonfiguracja::Sorting, kSortingWords},
    {kFileTypesSection, "Type input file", &TKonfiguracja::InputFileType, kInputTypeWords},
    {kFileTypesSection, "Type output file", &TKonfiguracja::OutputFileType, kOutputTypeWords},
    {kDateFormatSection, "Type format of input date QSO", &TKonfiguracja::InputDateFormat,
     kInputDateWords},
    {kDateFormatSection, "Type format of output date QSO", &TKonfiguracja::OutputDateFormat,
     kOutputDateWords},
};

// The encodings, in the file-type section; the words are those of velmark-batch's options.
constexpr const char* kInputEncodingKey = "Input encoding";
constexpr const char* kOutputEncodingKey = "Output encoding";
constexpr std::string_view kInputEncodingWords[] = {"auto", "cp1250", "utf-8"};
constexpr std::string_view kOutputEncodingWords[] = {"cp1250", "utf-8"};

constexpr const char* kDateSeparatorKey = "Character for separtor QSO_date";
constexpr const char* kTimeSeparatorKey = "Character for separtor QSO_Time";
constexpr const char* kQsosPerCardKey = "Number of QSO_s on one QSLcard";
constexpr const char* kDivideKey = "Divide output file";
constexpr const char* kMaxQslKey = "Maximum Number of QSL in a one sort file";
constexpr const char* kLastInputDirKey = "Last used catalog for input";
constexpr const char* kLastOutputDirKey = "Last used catalog for output";

// A section name no real file uses. It is put after the loaded text so that comment lines at the
// end of the file, which the INI parser would otherwise drop, become its comment and are written
// back; the section's own line is then taken out again.
constexpr std::string_view kEndOfTextSection =
    "\x1F"
    "velmark end of loaded text\x1F";

// Names of sections and keys match without regard to letter case; values are single lines with
// outer blanks stripped; one value per key.
class IniText {
  public:
    IniText() : m_ini(/*a_bIsUtf8=*/false, /*a_bMultiKey=*/false, /*a_bMultiLine=*/false) {
        m_ini.SetSpaces(false);
    }

    bool Load(const std::string& bytes) { return m_ini.LoadData(bytes) >= 0; }

    // The stored value, cut to the longest value a key gives back; nothing when the key is absent.
    std::optional<std::string> Get(const char* section, const char* key) const {
        const char* value = m_ini.GetValue(section, key, nullptr);
        if (value == nullptr)
            return std::nullopt;
        return KeepFirst(value, kMaxValueLength);
    }

    std::string GetText(const char* section, const char* key, const std::string& fallback) const {
        return Get(section, key).value_or(fallback);
    }

    // A value is one line: text after a line break could not be read back as part of it, and
    // would be read as keys of its own.
    bool Set(const char* section, const char* key, std::string_view value) {
        const std::string line(value.substr(0, value.find_first_of("\r\n")));
        return m_ini.SetValue(section, key, line.c_str()) >= 0;
    }

    CSimpleIniA& Raw() { return m_ini; }
    const CSimpleIniA& Raw() const { return m_ini; }

  private:
    CSimpleIniA m_ini;
};

// A whole number as the INI reader takes it: optional sign, then decimal digits or hexadecimal
// digits after "0x" or "$". Anything else, or a number outside 32 bits, is no number.
std::optional<std::int32_t> ParseInteger(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    } else if (text.starts_with("$")) {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;

    const std::int64_t limit = negative ? std::int64_t{INT32_MAX} + 1 : std::int64_t{INT32_MAX};
    std::int64_t value = 0;
    for (const char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        }
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::int32_t ReadInteger(const IniText& ini, const char* section, const char* key,
                         std::int32_t fallback) {
    const std::optional<std::string> text = ini.Get(section, key);
    if (!text)
        return fallback;
    return ParseInteger(*text).value_or(fallback);
}

// An encoding key: the position of its word, or nothing for an absent key or another word.
std::optional<std::size_t> ReadWord(const IniText& ini, const char* key,
                                    std::span<const std::string_view> words) {
    const std::optional<std::string> text = ini.Get(kFileTypesSection, key);
    for (std::size_t code = 0; text && code < words.size(); ++code) {
        if (words[code] == *text)
            return code;
    }
    return std::nullopt;
}

// Reads the coded keys after Language. Each key's default is the text of the key read before
// it, so an absent key gets a word from the neighbouring list, which matches none of its own
// words and leaves the field alone. The one carry-over this allows is intended: an absent output
// date format takes the input date format's word, and the two lists share their date layouts.
void ReadCodedKeys(TKonfiguracja& config, const IniText& ini, std::string previousText) {
    for (std::size_t i = 1; i < std::size(kCodedKeys); ++i) {
        const CodedKey& coded = kCodedKeys[i];
        std::string text = ini.GetText(coded.Section, coded.Key, previousText);
        for (std::size_t code = 0; code < coded.Words.size(); ++code) {
            if (coded.Words[code] == text)
                config.*coded.Field = static_cast<std::uint8_t>(code);
        }
        previousText = std::move(text);
    }
}

// The whole file as text, or nothing when it does not exist or is not a readable regular file.
// A file an editor saved as UTF-8 with a byte-order mark is read in code page 1250 like the
// program's other files (and written back without the mark).
std::optional<std::string> ReadFileText(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return std::nullopt;
    try {
        return OwnFileText(ReadWholeFile(path.string()));
    } catch (const FileError&) {
        return std::nullopt;
    }
}

// The failure of any step of a write. The message is the one the user sees in the error box.
FileError UnableToWrite(const std::string& iniPath) {
    std::error_code error;
    const fs::path full = fs::absolute(iniPath, error);
    const std::string shown = error ? iniPath : full.string();
    return FileError("Unable to write to " + shown, shown);
}

// Loads the existing text, if any, with the end-of-text section after it, and removes that
// section again when no comment came before it. endMarked tells whether the section stays, so
// that RenderText takes its line out. A text that already holds the section's name gets no
// such section (its trailing comment may then be lost): the file's own section of that name
// would be taken for it, and its keys would end up in the section before.
bool LoadExisting(IniText& ini, const std::optional<std::string>& existing, bool& endMarked) {
    endMarked = false;
    if (!existing)
        return true;
    if (existing->find(kEndOfTextSection) != std::string::npos)
        return ini.Load(*existing);
    std::string text = *existing;
    text += "\r\n[";
    text += kEndOfTextSection;
    text += "]\r\n";
    if (!ini.Load(text))
        return false;
    endMarked = true;

    CSimpleIniA::TNamesDepend sections;
    ini.Raw().GetAllSections(sections);
    for (const CSimpleIniA::Entry& section : sections) {
        if (section.pItem == kEndOfTextSection && section.pComment == nullptr) {
            const std::string name(kEndOfTextSection);
            ini.Raw().Delete(name.c_str(), nullptr);
            endMarked = false;
            break;
        }
    }
    return true;
}

bool StoreRecord(IniText& ini, const TKonfiguracja& config) {
    for (const CodedKey& coded : kCodedKeys) {
        const std::uint8_t code = config.*coded.Field;
        if (code >= coded.Words.size())
            continue;  // no setting: the stored word stays
        if (!ini.Set(coded.Section, coded.Key, coded.Words[code]))
            return false;
    }
    const auto number = [](std::int32_t value) { return std::to_string(value); };
    // A code without a word is no setting, like a coded field's: the stored word stays.
    const auto setWord = [&](const char* key, std::size_t code,
                             std::span<const std::string_view> words) {
        return code >= words.size() || ini.Set(kFileTypesSection, key, words[code]);
    };
    bool stored = setWord(kInputEncodingKey, static_cast<std::size_t>(config.InputEncoding),
                          kInputEncodingWords) &&
                  setWord(kOutputEncodingKey, static_cast<std::size_t>(config.OutputEncoding),
                          kOutputEncodingWords) &&
                  ini.Set(kDateFormatSection, kDateSeparatorKey, config.DateSeparator) &&
                  ini.Set(kDateFormatSection, kTimeSeparatorKey, config.TimeSeparator) &&
                  ini.Set(kPrintSection, kQsosPerCardKey, number(config.QsosPerCard)) &&
                  ini.Set(kPrintSection, kDivideKey, config.DivideOutputFile ? "1" : "0") &&
                  ini.Set(kPrintSection, kMaxQslKey, number(config.MaxQslPerFile)) &&
                  ini.Set(kPrintSection, kLastInputDirKey, config.LastInputDir) &&
                  ini.Set(kPrintSection, kLastOutputDirKey, config.LastOutputDir);
    for (const PersonalInfoField& field : kPersonalInfoFields) {
        if (!stored)
            break;
        const std::string key(field.IniKey);
        stored = ini.Set(kPersonalSection, key.c_str(), config.PersonalInfo.*field.Member);
    }
    stored = stored && ini.Set(kLabelsSection, kLabelSheetKey, config.LabelSheetName) &&
             ini.Set(kLabelsSection, kLabelDividersKey, config.LabelDividers ? "1" : "0") &&
             ini.Set(kLabelsSection, kLabelMarkSentKey, config.LabelMarkSent ? "1" : "0");
    return stored;
}

// The INI text as it goes to disk: without the end-of-text section's line, and with CR LF line
// ends (the writer ends lines with LF alone; no value or name holds a line-end character).
bool RenderText(const IniText& ini, bool endMarked, std::string& out) {
    std::string text;
    // The signature is written only when the loaded file began with one.
    if (ini.Raw().Save(text, /*a_bAddSignature=*/true) < 0)
        return false;

    // The end-of-text section's line goes, with the blank lines the writer put after it before
    // the next section, so that the trailing comment reads as that section's comment: this is how
    // the next load takes it, and the next write gives the same text.
    std::string markerLine = "[" + std::string(kEndOfTextSection) + "]\n";
    // Only a whole line is the marker: a section name of the file may hold its text too.
    std::size_t at = endMarked ? text.find(markerLine) : std::string::npos;
    while (at != std::string::npos && at != 0 && text[at - 1] != '\n')
        at = text.find(markerLine, at + 1);
    if (at != std::string::npos) {
        if (text.compare(at + markerLine.size(), 2, "\n\n") == 0)
            markerLine += "\n\n";
        text.erase(at, markerLine.size());
    }
    out.clear();
    out.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return true;
}

// The file a write goes to: the target of a symbolic link rather than the link itself, so the
// link survives the rename.
fs::path WriteTarget(const std::string& iniPath) {
    std::error_code error;
    const fs::path path(iniPath);
    if (fs::is_symlink(path, error)) {
        const fs::path resolved = fs::weakly_canonical(path, error);
        if (!error)
            return resolved;
    }
    return path;
}

}  // namespace

void ConfigRead(TKonfiguracja& config, const std::string& iniPath) {
    IniText ini;
    if (const std::optional<std::string> bytes = ReadFileText(iniPath))
        ini.Load(*bytes);

    std::string languageText = ini.GetText(kMainSection, "Language", kLanguageDefault);
    config.Language = languageText == kLanguageWords[0] ? 0 : 1;
    ReadCodedKeys(config, ini, std::move(languageText));

    if (const auto code = ReadWord(ini, kInputEncodingKey, kInputEncodingWords))
        config.InputEncoding = static_cast<InputEncoding>(*code);
    if (const auto code = ReadWord(ini, kOutputEncodingKey, kOutputEncodingWords))
        config.OutputEncoding = static_cast<OutputEncoding>(*code);

    const auto readSeparator = [&](const char* key, std::string& field) {
        field = KeepFirst(ini.GetText(kDateFormatSection, key, field),
                          TKonfiguracja::kSeparatorCapacity);
    };
    readSeparator(kDateSeparatorKey, config.DateSeparator);
    readSeparator(kTimeSeparatorKey, config.TimeSeparator);

    config.QsosPerCard = ReadInteger(ini, kPrintSection, kQsosPerCardKey, config.QsosPerCard);
    config.DivideOutputFile =
        ReadInteger(ini, kPrintSection, kDivideKey, config.DivideOutputFile ? 1 : 0) != 0;
    config.MaxQslPerFile = ReadInteger(ini, kPrintSection, kMaxQslKey, config.MaxQslPerFile);
    config.LastInputDir = ini.GetText(kPrintSection, kLastInputDirKey, config.LastInputDir);
    config.LastOutputDir = ini.GetText(kPrintSection, kLastOutputDirKey, config.LastOutputDir);

    for (const PersonalInfoField& field : kPersonalInfoFields) {
        std::string& value = config.PersonalInfo.*field.Member;
        const std::string key(field.IniKey);
        AssignBounded(value, ini.GetText(kPersonalSection, key.c_str(), value), field.Capacity);
    }

    config.LabelSheetName = ini.GetText(kLabelsSection, kLabelSheetKey, config.LabelSheetName);
    config.LabelDividers =
        ReadInteger(ini, kLabelsSection, kLabelDividersKey, config.LabelDividers ? 1 : 0) != 0;
    config.LabelMarkSent =
        ReadInteger(ini, kLabelsSection, kLabelMarkSentKey, config.LabelMarkSent ? 1 : 0) != 0;
}

void ConfigWrite(const TKonfiguracja& config, const std::string& iniPath) {
    const fs::path target = WriteTarget(iniPath);
    std::error_code error;
    const bool exists = fs::exists(fs::symlink_status(target, error));

    // An existing setup.ini must be a file this program may change; a write-protected one is not
    // silently replaced by the rename.
    std::optional<std::string> existing;
    if (exists) {
        existing = ReadFileText(target);
        if (!existing || ::access(target.c_str(), W_OK) != 0)
            throw UnableToWrite(iniPath);
    }

    IniText ini;
    std::string bytes;
    bool endMarked = false;
    if (!LoadExisting(ini, existing, endMarked) || !StoreRecord(ini, config) ||
        !RenderText(ini, endMarked, bytes)) {
        throw UnableToWrite(iniPath);
    }
    // The file is either the old one or the complete new one, never a part, even after a
    // power cut.
    try {
        ReplaceFileContents(target.string(), bytes, Durability::SyncThenRename);
    } catch (const FileError&) {
        throw UnableToWrite(iniPath);
    }
}

std::string DefaultSetupIniPath() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error) {
        throw FileError(error.message() + ": /proc/self/exe", "/proc/self/exe");
    }
    return (program.parent_path() / "setup.ini").string();
}

}  // namespace velmark
