// velmark-dxcc-import: makes a DXCC.LST from the public country file cty.csv (AD1C,
// country-files.com) and proves it with the program's own loader.
//
//   velmark-dxcc-import [--check MASTER.SCP] CTY.CSV DXCC.LST
//
// The output is written only after it has loaded cleanly. With --check, every callsign of a
// Super Check Partial file is also looked up both by the country file's own rules and in the
// new list, and the agreement is printed. Exit status: 0 done, 1 a data or file problem (the
// output is not written), 2 a usage error.

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <vector>

#include "core/errors.h"
#include "dxcc_import/agreement.h"
#include "dxcc_import/country_file.h"
#include "dxcc_import/country_file_resolver.h"
#include "dxcc_import/entity_folding.h"
#include "dxcc_import/exact_calls.h"
#include "dxcc_import/list_layout.h"
#include "dxcc_import/loaded_list.h"

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
};

std::optional<Arguments> parseArguments(int argc, char** argv) {
    Arguments arguments;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--check" && i + 1 < argc) {
            arguments.checkCalls = argv[++i];
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

// A scratch directory for the trial lists and the loader's LISTA.UPO, removed at the end.
class ScratchDirectory {
  public:
    ScratchDirectory() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "velmark-dxcc-import-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw FileError::FromErrno(pattern);
        m_path = pattern;
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    std::string path() const { return m_path.string(); }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

  private:
    std::filesystem::path m_path;
};

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw FileError::FromErrno(path);
    out << bytes;
    out.close();
    if (!out)
        throw FileError::FromErrno(path);
}

// Writes a layout into the scratch directory and loads it; refuses a load that was not clean
// or whose counts differ from what the layout foresaw.
LoadedList loadLayout(const ListLayout& layout, const std::string& comment,
                      const ScratchDirectory& scratch, const std::string& name) {
    const std::string path = scratch.file(name);
    writeFile(path, ListFileText(layout, comment));
    LoadedList loaded(path, scratch.path());
    if (!loaded.clean()) {
        std::string report = "the loader refuses the generated list:";
        for (const std::string& message : loaded.messages()) report += "\n  " + message;
        throw CountryFileError(report);
    }
    const TListaDXCC& list = loaded.list();
    if (list.CountryCount != layout.entityCount || list.ListLineCount != layout.listLineCount ||
        list.PrefixCount != layout.prefixEntryCount) {
        throw CountryFileError(
            "the loader counts " + std::to_string(list.CountryCount) + " entities, " +
            std::to_string(list.ListLineCount) + " list lines and " +
            std::to_string(list.PrefixCount) + " prefix entries where the layout made " +
            std::to_string(layout.entityCount) + ", " + std::to_string(layout.listLineCount) +
            " and " + std::to_string(layout.prefixEntryCount));
    }
    return loaded;
}

std::string percent(int part, int whole) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(2) << (whole == 0 ? 0.0 : 100.0 * part / whole) << "%";
    return text.str();
}

// How many items of the country file the list resolves as the file says, by kind.
void reportSelfCheck(const std::vector<ListEntity>& entities, LoadedList& list) {
    int prefixes = 0, prefixesRight = 0, exactCalls = 0, exactCallsRight = 0;
    for (const ListEntity& entity : entities) {
        for (const CountryFileItem& item : entity.items) {
            const bool right = list.Resolve(item.bare()) == AnswerOf(item, entity);
            if (item.isExactCall()) {
                ++exactCalls;
                exactCallsRight += right;
            } else {
                ++prefixes;
                prefixesRight += right;
            }
        }
    }
    std::cout << "resolved as the country file says: prefixes " << prefixesRight << " of "
              << prefixes << ", exact calls " << exactCallsRight << " of " << exactCalls << " ("
              << percent(exactCallsRight, exactCalls) << ")\n";
}

void reportAgreement(const std::string& callsFile, const std::vector<ListEntity>& entities,
                     LoadedList& list) {
    std::ifstream in(callsFile, std::ios::binary);
    if (!in)
        throw FileError::FromErrno(callsFile);
    const std::vector<std::string> calls = ReadCallsignList(in);
    const CountryFileResolver countryFile(entities);
    const AgreementCounts counts = MeasureAgreement(
        calls, [&](const std::string& call) { return countryFile.Resolve(call); },
        [&](const std::string& call) { return list.Resolve(call); });
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
}

int run(const Arguments& arguments) {
    const CountryFile countryFile = ReadCountryFile(arguments.countryFile);
    const std::vector<ListEntity> entities = FoldNonDxccEntities(countryFile.entities);
    const std::string comment = " DXCC.LST made by velmark-dxcc-import from cty.csv release " +
                                (countryFile.version.empty() ? "unknown" : countryFile.version) +
                                " (AD1C, country-files.com); regenerate, do not edit";
    ScratchDirectory scratch;

    // What the list answers from its plain prefixes alone decides which exact calls it needs.
    const auto noExactCalls = [](const std::string&) { return false; };
    const ListLayout plain = LayOutList(entities, noExactCalls);
    LoadedList plainList = loadLayout(plain, comment, scratch, "PLAIN.LST");
    const ExactCallRanking ranking =
        RankExactCalls(entities, [&](const std::string& call) { return plainList.Resolve(call); });

    // Fill the prefix table; should the list lines run out first, give up exact calls until
    // they fit (a list line carries at least three of them).
    int capacity = kMaxPrefixEntries - plain.prefixEntryCount;
    ExactCallChoice choice;
    ListLayout layout;
    for (;;) {
        choice = TakeExactCalls(ranking, capacity);
        layout = LayOutList(entities,
                            [&](const std::string& text) { return choice.kept.count(text) > 0; });
        if (layout.listLineCount <= kMaxListLines || choice.kept.empty())
            break;
        capacity =
            static_cast<int>(choice.kept.size()) - 3 * (layout.listLineCount - kMaxListLines);
    }
    LoadedList list = loadLayout(layout, comment, scratch, "DXCC.LST");
    std::vector<double> seconds{list.loadSeconds()};
    for (int i = 1; i < kTimedLoads; ++i) {
        seconds.push_back(LoadedList(scratch.file("DXCC.LST"), scratch.path()).loadSeconds());
    }
    std::sort(seconds.begin(), seconds.end());
    writeFile(arguments.outputList, ListFileText(layout, comment));

    std::cout << "cty.csv release " << countryFile.version << ": " << countryFile.entities.size()
              << " entities, " << entities.size() << " DXCC entities after folding\n"
              << "wrote " << arguments.outputList << ": " << list.list().CountryCount
              << " entities, " << list.list().ListLineCount << " list lines (of " << kMaxListLines
              << "), " << list.list().PrefixCount << " prefix entries (of " << kMaxPrefixEntries
              << ")\n"
              << "loads cleanly with the program's loader in " << std::fixed << std::setprecision(1)
              << seconds[seconds.size() / 2] * 1000.0 << " ms (median of " << kTimedLoads << ")\n"
              << "exact calls: " << ranking.exactCallCount << " in the file, "
              << ranking.redundantCount << " resolved right by the prefixes alone, "
              << ranking.neededCount << " needed; kept " << choice.kept.size() << " ("
              << choice.keptNeededCount << " needed, "
              << choice.kept.size() - static_cast<std::size_t>(choice.keptNeededCount)
              << " kept so a shorter exact call does not catch them), dropped "
              << choice.droppedCount << " (" << ranking.tooLongCount << " too long for a key)\n";
    reportSelfCheck(entities, list);
    if (!arguments.checkCalls.empty())
        reportAgreement(arguments.checkCalls, entities, list);
    return kExitDone;
}

}  // namespace
}  // namespace velmark::dxcc_import

int main(int argc, char** argv) {
    using namespace velmark::dxcc_import;
    const std::optional<Arguments> arguments = parseArguments(argc, argv);
    if (!arguments) {
        std::cerr << "usage: velmark-dxcc-import [--check MASTER.SCP] CTY.CSV DXCC.LST\n";
        return kExitUsage;
    }
    try {
        return run(*arguments);
    } catch (const velmark::FileError& e) {
        std::cerr << "velmark-dxcc-import: " << e.what() << "\n";
    } catch (const CountryFileError& e) {
        std::cerr << "velmark-dxcc-import: " << e.what() << "\n";
    }
    return kExitDataError;
}
