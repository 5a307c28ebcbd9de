#include "dxcc_import/entity_folding.h"

#include <map>

namespace velmark::dxcc_import {

std::vector<ListEntity> FoldNonDxccEntities(const std::vector<CountryFileEntity>& entities) {
    std::vector<ListEntity> result;
    std::map<int, std::size_t> byAdif;
    for (const CountryFileEntity& entity : entities) {
        if (!entity.isDxccEntity)
            continue;
        if (!byAdif.emplace(entity.adifNr, result.size()).second) {
            throw CountryFileError(CountryFileProblem::SecondEntityNumber, entity.lineNumber,
                                   std::to_string(entity.adifNr));
        }
        // The continent table has a code for Antarctica, which the country file puts in SA.
        const std::string continent =
            entity.adifNr == kAntarcticaEntityNumber ? "AN" : entity.continent;
        result.push_back({entity.name,
                          entity.primaryPrefix,
                          entity.adifNr,
                          continent,
                          entity.cqZone,
                          entity.ituZone,
                          {}});
    }

    // Which entity each text went to. A part may repeat an exact call of its own entity (the
    // file lists some calls in both); a text claimed by two entities would make every lookup
    // of it ambiguous.
    std::map<std::string, std::size_t> owner;
    auto add = [&](std::size_t target, const CountryFileItem& item, int lineNumber) {
        const auto [it, inserted] = owner.emplace(item.text, target);
        if (inserted) {
            result[target].items.push_back(item);
        } else if (it->second != target) {
            throw CountryFileError(
                CountryFileProblem::ItemOfTwoEntities, lineNumber,
                item.text + " (" + result[it->second].name + ", " + result[target].name + ")");
        }
    };
    for (const CountryFileEntity& entity : entities) {
        if (!entity.isDxccEntity)
            continue;
        for (const CountryFileItem& item : entity.items) {
            add(byAdif.at(entity.adifNr), item, entity.lineNumber);
        }
    }
    for (const CountryFileEntity& part : entities) {
        if (part.isDxccEntity)
            continue;
        const auto target = byAdif.find(part.adifNr);
        if (target == byAdif.end()) {
            throw CountryFileError(CountryFileProblem::PartWithoutEntity, part.lineNumber,
                                   part.name + " (" + std::to_string(part.adifNr) + ")");
        }
        for (const CountryFileItem& item : part.items) add(target->second, item, part.lineNumber);
    }
    return result;
}

}  // namespace velmark::dxcc_import
