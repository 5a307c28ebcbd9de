// velmark-dxcc-import: the developers' entry to the DXCC list import that both programs carry
// (velmark-batch import-dxcc, the window's configuration menu). It makes a DXCC.LST from the
// public country file (cty.csv or cty.dat, AD1C, country-files.com), proves it with the
// program's own loader and writes it to any path; data/DXCC.LST is made this way.
//
//   velmark-dxcc-import [--check MASTER.SCP [--examples N]] COUNTRY-FILE DXCC.LST
//   velmark-dxcc-import --measure --check MASTER.SCP COUNTRY-FILE EXISTING.LST
//
// --measure makes no list: it measures an existing one (an older data/DXCC.LST, say) the same
// way.
//
// With --check, every callsign of a Super Check Partial file is also looked up both by the
// country file's own rules and in the new list, and the agreement is printed with the first N
// disagreements (20 unless told). Exit status:
// 0 done, 1 a data or file problem (the output is not written), 2 a usage error.

#include <algorithm>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <optional>
#include <sstream>
#include <vector>

#include "core/errors.h"
#include "core/replacing_file.h"
#include "dxcc_import/agreement.h"
#include "dxcc_import/country_file.h"
#include "dxcc_import/country_file_resolver.h"
#include "dxcc_import/entity_folding.h"
#include "dxcc_import/list_making.h"
#include "dxcc_import/loaded_list.h"
#include "dxcc_import/scratch_directory.h"
#include "settings/text_table.h"

namespace velmark::dxcc_import {
namespace {

constexpr int kExitDone = 0;
constexpr int kExitDataError = 1;
constexpr int kExitUsage = 2;
// How often the final list is loaded to time the loader.
constexpr int kTimedLoads = 5;

struct Arguments {
    std::string countryFile;
    std::string outputList;
    std::string checkCalls;  // empty without --check
    std::size_t examples = 20;
    bool measureOnly = false;
};

std::optional<Arguments> parseArguments(int argc, char** argv) {
    Arguments arguments;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--check" && i + 1 < argc) {
            arguments.checkCalls = argv[++i];
        } else if (argument == "--measure") {
            arguments.measureOnly = true;
        } else if (argument == "--examples" && i + 1 < argc) {
            arguments.examples = std::stoul(argv[++i]);
        } else if (!argument.empty() && argument.front() == '-') {
            return std::nullopt;
        } else {
            positional.push_back(argument);
        }
    }
    if (positional.size() != 2)
        return std::nullopt;
    arguments.countryFile = positional[0];
    arguments.outputList = positional[1];
    return arguments;
}

std::string percent(int part, int whole) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(2) << (whole == 0 ? 0.0 : 100.0 * part / whole) << "%";
    return text.str();
}

void reportAgreement(const std::string& callsFile, std::size_t examples,
                     const std::vector<ListEntity>& entities, LoadedList& list) {
    std::ifstream in(callsFile, std::ios::binary);
    if (!in)
        throw FileError::FromErrno(callsFile);
    const std::vector<std::string> calls = ReadCallsignList(in);
    const CountryFileResolver countryFile(entities);
    const AgreementCounts counts = MeasureAgreement(
        calls, [&](const std::string& call) { return countryFile.Resolve(call); },
        [&](const std::string& call) { return list.Resolve(call); }, examples);
    const int plainCalls = counts.calls - counts.slashCalls;
    const int plainAgreeing = counts.agreeing - counts.slashAgreeing;
    std::cout << "check against " << callsFile << ": " << counts.calls << " callsigns\n"
              << "  same entity and CQ zone: " << counts.agreeing << " ("
              << percent(counts.agreeing, counts.calls) << ")\n"
              << "  same entity:             " << counts.sameEntity << " ("
              << percent(counts.sameEntity, counts.calls) << ")\n"
              << "  without \"/\": " << plainAgreeing << " of " << plainCalls << " ("
              << percent(plainAgreeing, plainCalls) << "); with \"/\": " << counts.slashAgreeing
              << " of " << counts.slashCalls << " ("
              << percent(counts.slashAgreeing, counts.slashCalls) << ")\n"
              << "  first disagreements (file answer, list answer as entity/CQ zone):\n";
    for (const std::string& example : counts.examples) std::cout << "    " << example << "\n";
    const AgreementCounts read = MeasureAgreement(
        calls, [&](const std::string& call) { return countryFile.ResolveWithDesignators(call); },
        [&](const std::string& call) { return list.Resolve(call); }, 0);
    std::cout << "  with \"/\" designators read as the program reads them in both:\n"
              << "  same entity and CQ zone: " << read.agreeing << " ("
              << percent(read.agreeing, read.calls) << "); same entity: " << read.sameEntity << " ("
              << percent(read.sameEntity, read.calls) << "); with \"/\": " << read.slashAgreeing
              << " of " << read.slashCalls << " (" << percent(read.slashAgreeing, read.slashCalls)
              << ")\n";
}

void reportSelfAgreement(const std::vector<ListEntity>& entities, LoadedList& list) {
    const SelfAgreement self =
        MeasureSelfAgreement(entities, [&](const std::string& call) { return list.Resolve(call); });
    std::cout << "resolved as the country file says: prefixes " << self.prefixesRight << " of "
              << self.prefixes << ", exact calls " << self.exactCallsRight << " of "
              << self.exactCalls << " (" << percent(self.exactCallsRight, self.exactCalls)
              << "); to their own entity " << self.sameEntity << " of " << self.items << " ("
              << percent(self.sameEntity, self.items) << ")\n";
}

// Measures an existing list against the country file.
int measure(const Arguments& arguments) {
    const CountryFile countryFile = ReadCountryFile(arguments.countryFile);
    const std::vector<ListEntity> entities = FoldNonDxccEntities(countryFile.entities);
    const ScratchDirectory scratch;
    LoadedList list(arguments.outputList, scratch.path());
    std::cout << arguments.outputList << ": " << list.list().CountryCount << " entities, "
              << list.list().ListLineCount << " list lines, " << list.list().PrefixCount
              << " prefix entries" << (list.clean() ? "" : " (the loader complains)") << "\n";
    reportSelfAgreement(entities, list);
    if (!arguments.checkCalls.empty())
        reportAgreement(arguments.checkCalls, arguments.examples, entities, list);
    return kExitDone;
}

int run(const Arguments& arguments, const TNazwyJezykowe& texts) {
    if (arguments.measureOnly)
        return measure(arguments);
    const CountryFile countryFile = ReadCountryFile(arguments.countryFile);
    const ScratchDirectory scratch;
    const MadeList made = MakeDxccList(countryFile, scratch, texts);
    const std::string trialPath = scratch.file("DXCC.LST");
    ReplaceFileContents(trialPath, made.text);
    std::vector<double> seconds;
    for (int i = 0; i < kTimedLoads; ++i) {
        seconds.push_back(LoadedList(trialPath, scratch.path()).loadSeconds());
    }
    std::sort(seconds.begin(), seconds.end());
    LoadedList list(trialPath, scratch.path());
    CheckLoadedList(list, made.layout);
    ReplaceFileContents(arguments.outputList, made.text);

    const ExactCallRanking& ranking = made.ranking;
    const ExactCallChoice& choice = made.choice;
    std::cout << (countryFile.layout == CountryFileLayout::Dat ? "cty.dat" : "cty.csv")
              << " release " << countryFile.version << ": " << made.fileEntityCount << " entities, "
              << made.entities.size() << " DXCC entities after folding\n"
              << "wrote " << arguments.outputList << ": " << list.list().CountryCount
              << " entities, " << list.list().ListLineCount << " list lines (of " << kMaxListLines
              << "), " << list.list().PrefixCount << " prefix entries (of " << kMaxPrefixEntries
              << "): " << made.plainPrefixEntryCount << " prefixes (" << made.redundantPrefixCount
              << " left out as they answer as a shorter one), " << choice.keptExactCallCount
              << " exact calls, " << choice.guardCount << " guard entries\n"
              << "loads cleanly with the program's loader in " << std::fixed << std::setprecision(1)
              << seconds[seconds.size() / 2] * 1000.0 << " ms (median of " << kTimedLoads << ")\n"
              << "exact calls: " << ranking.exactCallCount << " in the file, "
              << ranking.redundantCount << " resolved right by the prefixes alone, "
              << ranking.neededCount << " needed; kept " << choice.keptNeededCount
              << " needed, dropped " << choice.droppedCount << " (" << ranking.tooLongCount
              << " too long for a key, " << ranking.noFormCount
              << " without a form that keeps longer calls right)\n";
    reportSelfAgreement(made.entities, list);
    if (!arguments.checkCalls.empty())
        reportAgreement(arguments.checkCalls, arguments.examples, made.entities, list);
    return kExitDone;
}

}  // namespace
}  // namespace velmark::dxcc_import

int main(int argc, char** argv) {
    using namespace velmark::dxcc_import;
    const std::optional<Arguments> arguments = parseArguments(argc, argv);
    if (!arguments) {
        std::cerr << "usage: velmark-dxcc-import [--measure] [--check MASTER.SCP [--examples N]] "
                     "COUNTRY-FILE DXCC.LST\n";
        return kExitUsage;
    }
    velmark::TNazwyJezykowe texts;
    texts.Fill(velmark::kLanguageEnglish);
    try {
        return run(*arguments, texts);
    } catch (const velmark::FileError& e) {
        std::cerr << "velmark-dxcc-import: " << e.what() << "\n";
    } catch (const CountryFileError& e) {
        std::cerr << "velmark-dxcc-import: " << arguments->countryFile << ", "
                  << DescribeCountryFileError(e, texts) << "\n";
    }
    return kExitDataError;
}
