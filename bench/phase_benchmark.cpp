// The phases of a sort run, timed one by one: the same calls velmark-batch makes for
//
//   velmark-batch --start-dir WORK_DIR --lang en --input-type adif --input-date YYYYMMDD
//       --output-type csv --output-date as-input --order ORDER --per-card 3 --no-divide
//       sort LOG OUTPUT
//
// but with a clock around loading DXCC.LST, reading the log (ReadInputLog) and writing the
// output (WriteRun: the sort, then reading TYM.LOG in sorted order and writing the file).
// The output is the batch run's, byte for byte (the benchmark script compares them).
//
//   velmark-bench-phases WORK_DIR LOG ORDER OUTPUT      ORDER: dxcc, adif or call
//
// Prints "phase NAME WALL_SECONDS CPU_SECONDS" lines; CPU time is the process's (user + system).

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "core/field_catalogue.h"
#include "core/processing_object.h"
#include "core/program_values.h"
#include "core/sorting.h"
#include "core/user_interface.h"
#include "dxcc/dxcc_list.h"
#include "dxcc/dxcc_list_loader.h"
#include "run/run_driver.h"
#include "settings/configuration.h"
#include "settings/text_table.h"

namespace {

using velmark::BoxOffset;
using velmark::FileDialogRequest;

// Names the output file when asked, answers "no" to the QSL-manager question (as velmark-batch
// without --via-manager), and reports errors on standard error.
class ScriptedUserInterface : public velmark::SilentUserInterface {
  public:
    explicit ScriptedUserInterface(std::string outputFile) : m_outputFile(std::move(outputFile)) {}
    void ErrorBox(const std::string& text, BoxOffset) override {
        std::fprintf(stderr, "error: %s\n", text.c_str());
        m_errorShown = true;
    }
    std::optional<std::string> SaveFileDialog(const FileDialogRequest&) override {
        return m_outputFile;
    }

    bool errorShown() const { return m_errorShown; }

  private:
    std::string m_outputFile;
    bool m_errorShown = false;
};

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs one phase and prints its wall and CPU time.
template <typename Phase>
void timed(const char* name, Phase phase) {
    const double cpuBefore = cpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    phase();
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    std::printf("phase %s %.4f %.4f\n", name, wall.count(), cpuSeconds() - cpuBefore);
}

int orderCode(const char* name) {
    if (std::strcmp(name, "dxcc") == 0)
        return velmark::kOrderByListNr;
    if (std::strcmp(name, "adif") == 0)
        return velmark::kOrderByAdifNr;
    if (std::strcmp(name, "call") == 0)
        return velmark::kOrderByCall;
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    const int order = argc == 5 ? orderCode(argv[3]) : -1;
    if (order < 0) {
        std::fprintf(stderr, "usage: %s WORK_DIR LOG dxcc|adif|call OUTPUT\n", argv[0]);
        return 2;
    }
    const std::string workDir = argv[1];

    velmark::TKonfiguracja config;
    velmark::ConfigRead(config, workDir + "/setup.ini");  // none there: the start-up values
    config.Language = velmark::kLanguageEnglish;
    config.InputFileType = 0;   // ADIF
    config.OutputFileType = 1;  // CSV
    config.Sorting = static_cast<std::uint8_t>(order);
    config.QsosPerCard = 3;
    config.DivideOutputFile = false;
    config.InputDateFormat = 1;   // YYYYMMDD
    config.OutputDateFormat = 0;  // as the input

    velmark::TNazwyJezykowe texts;
    texts.Fill(config.Language);
    velmark::TStrukturaADIF catalogue;
    velmark::ProgramValues values;
    values.StartDirectory = workDir;
    values.ProgramFileName = "velmark-batch";
    values.DateSeparatorText = config.DateSeparator;
    values.TimeSeparatorText = config.TimeSeparator;
    ScriptedUserInterface ui(argv[4]);
    velmark::TListaDXCC list;
    velmark::TObiektyInputOutput processing;
    velmark::RunObjects run{config, texts, catalogue, list, processing, values, ui, {}, {}};

    bool written = false;
    try {
        timed("dxcc_load", [&] { velmark::LoadDxccList(list, texts, ui, values); });
        if (values.RunStatus != 0)
            return 1;
        values.InputFileName = argv[2];
        timed("read", [&] { velmark::ReadInputLog(run, velmark::InputKindFor(0)); });
        if (values.RunStatus != 0)
            return 1;
        timed("write", [&] { written = velmark::WriteRun(run); });
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return written && !ui.errorShown() ? 0 : 1;
}
