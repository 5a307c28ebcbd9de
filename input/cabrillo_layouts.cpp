#include "input/cabrillo_layouts.h"

#include <algorithm>
#include <set>

#include "core/ascii_case.h"
#include "core/standard_fields.h"
#include "core/text_lines.h"
#include "input/log_data_error.h"

namespace velmark {
namespace {

// The blank-separated words of a line.
std::vector<std::string> wordsOf(std::string_view line) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t", at);
        if (start == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
        words.emplace_back(line.substr(start, end - start));
        at = end;
    }
    return words;
}

bool matchesFrom(std::string_view pattern, std::string_view name) {
    // Invariant: both are upper case; a "*" tries every length it could stand for.
    while (!pattern.empty()) {
        if (pattern.front() == '*') {
            pattern.remove_prefix(1);
            for (std::size_t skip = 0; skip <= name.size(); ++skip) {
                if (matchesFrom(pattern, name.substr(skip))) {
                    return true;
                }
            }
            return false;
        }
        if (name.empty() || name.front() != pattern.front()) {
            return false;
        }
        pattern.remove_prefix(1);
        name.remove_prefix(1);
    }
    return name.empty();
}

}  // namespace

bool ContestMatches(std::string_view pattern, std::string_view contest) {
    std::string compact = UpperAscii(pattern);
    // Runs of "*" mean no more than one; keeping one keeps the search short.
    compact.erase(std::unique(compact.begin(), compact.end(),
                              [](char a, char b) { return a == '*' && b == '*'; }),
                  compact.end());
    return matchesFrom(compact, UpperAscii(contest));
}

std::vector<CabrilloLayoutLine> LayoutsForContest(std::string_view fileText,
                                                  std::string_view contest) {
    std::vector<CabrilloLayoutLine> layouts;
    if (contest.empty()) {
        return layouts;
    }
    std::string chosen;  // the pattern that matched first
    int number = 0;
    for (const std::string& line : SplitLines(fileText)) {
        ++number;
        std::vector<std::string> words = wordsOf(line);
        if (words.empty() || words.front().front() == '#') {
            continue;
        }
        const std::string pattern = UpperAscii(words.front());
        if (chosen.empty() && ContestMatches(pattern, contest)) {
            chosen = pattern;
        }
        if (!chosen.empty() && pattern == chosen) {
            words.erase(words.begin());
            layouts.push_back({std::move(words), number});
        }
    }
    return layouts;
}

std::vector<CabrilloColumns> RegisterCabrilloLayouts(const std::vector<CabrilloLayoutLine>& layouts,
                                                     TStrukturaADIF& catalogue,
                                                     ColumnList& columns) {
    std::vector<CabrilloColumns> result;
    for (const CabrilloLayoutLine& layout : layouts) {
        if (layout.Names.empty()) {
            throw LogDataError(LogProblem::BadCabrilloLayout, "", layout.Line);
        }
        CabrilloColumns& fields = result.emplace_back();
        std::set<std::string> seen;
        for (const std::string& name : layout.Names) {
            if (name == kDroppedField) {
                fields.Entries.push_back(kNoEntry);
                continue;
            }
            const int entry = seen.insert(name.substr(0, kMaxFieldNameLength)).second
                                  ? catalogue.RegisterField(name, columns)
                                  : kNoEntry;
            if (entry == kNoEntry) {
                throw LogDataError(LogProblem::BadCabrilloLayout, name, layout.Line);
            }
            catalogue.RaiseColumnWidth(entry, static_cast<int>(name.size()));
            fields.Entries.push_back(entry);
            if (catalogue.Entry(entry).Kind == kCallKind) {
                fields.CallField = static_cast<int>(fields.Entries.size());
            }
        }
    }
    return result;
}

}  // namespace velmark
