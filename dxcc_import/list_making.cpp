#include "dxcc_import/list_making.h"

#include <algorithm>

#include "core/replacing_file.h"
#include "dxcc/dxcc_list.h"
#include "dxcc_import/scratch_directory.h"

namespace velmark::dxcc_import {
namespace {

// A list line carries at least three exact calls (40 characters of prefix text; an exact call
// and its comma take at most 17), so three calls fewer make room for one more line.
constexpr int kExactCallsPerListLine = 3;
// The loader's error lines shown with a refusal, at most.
constexpr std::size_t kLoaderLinesShown = 5;

}  // namespace

std::map<std::string, Answer> PlainPrefixes(const std::vector<ListEntity>& entities) {
    std::map<std::string, Answer> prefixes;
    for (const ListEntity& entity : entities) {
        for (const CountryFileItem& item : entity.items) {
            if (!item.isExactCall())
                prefixes.emplace(item.text, AnswerOf(item, entity));
        }
    }
    return prefixes;
}

int DropRedundantPrefixes(std::vector<ListEntity>& entities) {
    // Every prefix is judged against the whole table as it was: dropping one whose answer
    // equals its parent's changes neither the parent of any other prefix nor its answer.
    const std::map<std::string, Answer> prefixes = PlainPrefixes(entities);
    const auto redundant = [&](const CountryFileItem& item, const ListEntity& entity) {
        if (item.isExactCall())
            return false;
        for (std::size_t length = item.text.size() - 1; length > 0; --length) {
            const auto parent = prefixes.find(item.text.substr(0, length));
            if (parent != prefixes.end())
                return parent->second == AnswerOf(item, entity);
        }
        return false;
    };
    int dropped = 0;
    for (ListEntity& entity : entities) {
        dropped += static_cast<int>(std::erase_if(
            entity.items, [&](const CountryFileItem& item) { return redundant(item, entity); }));
    }
    return dropped;
}

std::string ListComment(const CountryFile& file) {
    return " DXCC.LST made by VELMARK from the country file by AD1C (country-files.com), release " +
           (file.version.empty() ? std::string("unknown") : file.version) +
           "; update it from a newer country file rather than edit it";
}

void CheckLoadedList(const LoadedList& loaded, const ListLayout& layout) {
    if (!loaded.clean()) {
        std::string reasons;
        const std::vector<std::string>& messages = loaded.messages();
        for (std::size_t i = 0; i < messages.size() && i < kLoaderLinesShown; ++i) {
            reasons += (i == 0 ? "" : "\r") + messages[i];
        }
        throw CountryFileError(CountryFileProblem::LoaderRefused, 0, reasons);
    }
    const TListaDXCC& list = loaded.list();
    if (list.CountryCount != layout.entityCount || list.ListLineCount != layout.listLineCount ||
        list.PrefixCount != layout.prefixEntryCount) {
        throw CountryFileError(
            CountryFileProblem::LoaderRefused, 0,
            std::to_string(list.CountryCount) + "/" + std::to_string(layout.entityCount) + ", " +
                std::to_string(list.ListLineCount) + "/" + std::to_string(layout.listLineCount) +
                ", " + std::to_string(list.PrefixCount) + "/" +
                std::to_string(layout.prefixEntryCount));
    }
}

MadeList MakeDxccList(const CountryFile& file, const ScratchDirectory& scratch,
                      const TNazwyJezykowe& texts) {
    MadeList made;
    made.fileEntityCount = static_cast<int>(file.entities.size());
    made.entities = FoldNonDxccEntities(file.entities);
    if (made.entities.size() > static_cast<std::size_t>(kMaxCountries)) {
        throw CountryFileError(CountryFileProblem::TooManyEntities, 0,
                               std::to_string(made.entities.size()));
    }
    std::vector<ListEntity> written = made.entities;
    made.redundantPrefixCount = DropRedundantPrefixes(written);
    const std::string comment = ListComment(file);

    // What the list answers from its plain prefixes alone decides which exact calls it needs.
    const ListLayout plain = LayOutList(written, [](const std::string&) { return false; });
    if (plain.prefixEntryCount > kMaxPrefixEntries) {
        throw CountryFileError(CountryFileProblem::TooManyPrefixes, 0,
                               std::to_string(plain.prefixEntryCount));
    }
    if (plain.listLineCount > kMaxListLines) {
        throw CountryFileError(CountryFileProblem::TooManyListLines, 0,
                               std::to_string(plain.listLineCount));
    }
    made.plainPrefixEntryCount = plain.prefixEntryCount;
    const std::string plainPath = scratch.file("PLAIN.LST");
    ReplaceFileContents(plainPath, ListFileText(plain, comment));
    LoadedList plainList(plainPath, scratch.path(), &texts);
    CheckLoadedList(plainList, plain);
    made.ranking = RankExactCalls(
        written, [&](const std::string& call) { return plainList.Resolve(call); },
        PlainPrefixes(written));

    // Fill the prefix table; should the list lines run out first, give up exact calls until
    // they fit.
    int capacity = kMaxPrefixEntries - plain.prefixEntryCount;
    for (;;) {
        made.choice = TakeExactCalls(made.ranking, capacity);
        made.layout = LayOutList(
            written, [&](const std::string& text) { return made.choice.keepsExactCall(text); },
            made.choice.guards());
        if (made.layout.listLineCount <= kMaxListLines || made.choice.kept.empty())
            break;
        capacity = static_cast<int>(made.choice.kept.size()) -
                   kExactCallsPerListLine * (made.layout.listLineCount - kMaxListLines);
    }
    made.text = ListFileText(made.layout, comment);
    return made;
}

}  // namespace velmark::dxcc_import
