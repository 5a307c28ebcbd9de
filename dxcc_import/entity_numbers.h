#pragma once
// The DXCC entity number of each primary prefix of the country file. The cty.dat layout names
// an entity by its primary prefix only; cty.csv, made from the same data, also gives the number
// (the ADIF entity code). The "*" parts (Sicily, European Turkey, ...) carry the number of the
// DXCC entity they belong to.

#include <optional>
#include <span>
#include <string_view>
#include <utility>

namespace velmark::dxcc_import {

// The number for a primary prefix as the country file writes it, "*" mark included ("DL",
// "3D2/c", "*IT9"); nothing for a prefix the table does not know.
std::optional<int> EntityNumberOfPrimaryPrefix(std::string_view primaryPrefix);

// The whole table, sorted by prefix (byte order).
std::span<const std::pair<std::string_view, int>> PrimaryPrefixTable();

}  // namespace velmark::dxcc_import
