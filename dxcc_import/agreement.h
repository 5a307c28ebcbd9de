#pragma once
// How often the loaded list agrees with the country file over a list of real callsigns (the
// Super Check Partial file MASTER.SCP: one call per line, "#" comment lines).

#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "dxcc_import/country_file_resolver.h"

namespace velmark::dxcc_import {

using CallResolver = std::function<std::optional<Answer>(const std::string& callsign)>;

// The callsigns of a MASTER.SCP-style file, in file order.
std::vector<std::string> ReadCallsignList(std::istream& in);

struct AgreementCounts {
    int calls = 0;
    int agreeing = 0;    // same entity number and CQ zone (or no entity in both)
    int sameEntity = 0;  // same entity number, zones aside
    int slashCalls = 0;  // calls with a "/" designator, judged the same way
    int slashAgreeing = 0;
    // The first disagreements, "CALL file 291/5 list 110/31" ("-" for no entity).
    std::vector<std::string> examples;
};

// Resolves every call both ways and counts the agreement.
AgreementCounts MeasureAgreement(const std::vector<std::string>& calls,
                                 const CallResolver& countryFile, const CallResolver& list,
                                 std::size_t exampleCount = 20);

// How the list answers the country file's own items: every prefix and exact call looked up as
// a callsign.
struct SelfAgreement {
    int items = 0;
    int sameEntity = 0;  // resolve to their own entity
    int sameAnswer = 0;  // with their own zones too
    int prefixes = 0;
    int prefixesRight = 0;  // same entity and zones
    int exactCalls = 0;
    int exactCallsRight = 0;
};
SelfAgreement MeasureSelfAgreement(const std::vector<ListEntity>& entities,
                                   const CallResolver& list);

}  // namespace velmark::dxcc_import
