#pragma once
// The DXCC entities of the list, made from the country file's entities. The country file keeps
// some parts of an entity apart (Sicily, Shetland, European Turkey, ...) with their own zones;
// for DXCC they count as the entity with the same entity number, so their items join it, each
// with its zones written out.

#include <string>
#include <vector>

#include "dxcc_import/country_file.h"

namespace velmark::dxcc_import {

// Antarctica's DXCC entity number: its stations are written with the continent code AN.
inline constexpr int kAntarcticaEntityNumber = 13;

struct ListEntity {
    std::string name;  // as the country file writes it
    std::string primaryPrefix;
    int adifNr = 0;
    std::string continent;
    int cqZone = 0;
    int ituZone = 0;
    // The entity's own items first, then those of its folded parts; every text appears once.
    std::vector<CountryFileItem> items;
};

// One list entity per DXCC entity, in file order, with the "*" parts folded in and Antarctica on
// its own continent AN. Throws
// CountryFileError for a part without a DXCC entity of its number, two DXCC entities with one
// number, or one prefix or exact call given to two different entities.
std::vector<ListEntity> FoldNonDxccEntities(const std::vector<CountryFileEntity>& entities);

}  // namespace velmark::dxcc_import
