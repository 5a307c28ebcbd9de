#include "output/run_report.h"

#include <cstddef>
#include <string_view>

#include "core/user_interface.h"
#include "settings/text_table.h"

namespace velmark {

namespace {

// The rules drawn between the report's blocks; the message list's are longer than the file's.
const std::string kMessageTitleRule(32, '=');
const std::string kMessageRule(35, '-');
const std::string kFileTitleRule(22, '=');
const std::string kFileRule(22, '-');
// The message list indents the title.
const std::string kMessageTitleIndent(5, ' ');

// The lines the message list adds after the file's last line: a rule and the pointer to
// Report.txt. They are left out when the file could not be written.
constexpr std::size_t kReportFilePointerLines = 2;

#ifdef _WIN32
constexpr std::string_view kPathSeparators = "/\\";
#else
constexpr std::string_view kPathSeparators = "/";
#endif

std::string withoutDirectory(const std::string& path) {
    const std::size_t last = path.find_last_of(kPathSeparators);
    return last == std::string::npos ? path : path.substr(last + 1);
}

// The lines both forms share, from the title to the COUNTRY.CSV line, with the given title,
// rules and name of the last part file.
std::vector<std::string> reportLines(const RunReport& report, const TNazwyJezykowe& texts,
                                     const std::string& title, const std::string& titleRule,
                                     const std::string& rule, const std::string& lastPartText) {
    std::vector<std::string> lines = {
        title,
        titleRule,
        texts.RepQsoCount + std::to_string(report.QsoCount),
        texts.RepQslCount + std::to_string(report.CardCount),
        texts.RepCountryCount + std::to_string(report.CountryGroupCount),
        texts.RepNoCountryForCalls + report.UnknownCalls,
        rule,
        texts.RepSortedFileIn,
        withoutDirectory(report.OutputFileName),
        texts.RepWrittenInDir,
        report.OutputDirectory,
    };
    if (report.Divided) {
        lines.push_back(rule);
        lines.push_back(texts.RepPartFiles);
        lines.push_back(texts.RepFromFirstFile + lastPartText);
    }
    lines.push_back(rule);
    lines.push_back(texts.MsgCountryCsvWritten);
    return lines;
}

void appendMessages(UserInterface& ui, const std::vector<std::string>& lines, std::size_t count) {
    for (std::size_t i = 0; i < count && i < lines.size(); ++i) {
        ui.AppendMessage(lines[i]);
    }
}

void writeLines(OutputSink& file, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        file.WriteLine(line);
    }
}

// The file is written first, so the message list never says the report was saved when it was
// not; a failure still shows the counts before the error goes on.
template <typename WriteFile>
void reportWith(const RunReport& report, const TNazwyJezykowe& texts, UserInterface& ui,
                WriteFile writeFile) {
    const std::vector<std::string> messages = ReportMessageLines(report, texts);
    try {
        writeFile(ReportFileLines(report, texts));
    } catch (...) {
        appendMessages(ui, messages, messages.size() - kReportFilePointerLines);
        throw;
    }
    appendMessages(ui, messages, messages.size());
}

}  // namespace

std::vector<std::string> ReportMessageLines(const RunReport& report, const TNazwyJezykowe& texts) {
    std::vector<std::string> lines =
        reportLines(report, texts, kMessageTitleIndent + texts.RepTitle, kMessageTitleRule,
                    kMessageRule, " " + withoutDirectory(report.LastPartFileName));
    lines.push_back(kMessageRule);
    lines.push_back(texts.RepAlsoInReportTxt);
    return lines;
}

std::vector<std::string> ReportFileLines(const RunReport& report, const TNazwyJezykowe& texts) {
    return reportLines(report, texts, texts.RepTitle, kFileTitleRule, kFileRule,
                       report.LastPartFileName);
}

std::string ReportFilePath(const RunReport& report) {
    return report.OutputDirectory + "/" + kReportFileName;
}

void WriteRunReport(const RunReport& report, const TNazwyJezykowe& texts, UserInterface& ui,
                    OutputSink& reportFile) {
    reportWith(report, texts, ui,
               [&](const std::vector<std::string>& lines) { writeLines(reportFile, lines); });
}

void WriteRunReport(const RunReport& report, const TNazwyJezykowe& texts, UserInterface& ui) {
    reportWith(report, texts, ui, [&](const std::vector<std::string>& lines) {
        FileSink file(ReportFilePath(report));
        writeLines(file, lines);
        file.Close();
    });
}

}  // namespace velmark
