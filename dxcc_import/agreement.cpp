#include "dxcc_import/agreement.h"

namespace velmark::dxcc_import {
namespace {

std::string describe(const std::optional<Answer>& answer) {
    if (!answer)
        return "-";
    return std::to_string(answer->adifNr) + "/" + std::to_string(answer->cqZone);
}

}  // namespace

std::vector<std::string> ReadCallsignList(std::istream& in) {
    std::vector<std::string> calls;
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (line.empty() || line.front() == '#')
            continue;
        calls.push_back(line);
    }
    return calls;
}

AgreementCounts MeasureAgreement(const std::vector<std::string>& calls,
                                 const CallResolver& countryFile, const CallResolver& list,
                                 std::size_t exampleCount) {
    AgreementCounts counts;
    for (const std::string& call : calls) {
        const std::optional<Answer> expected = countryFile(call);
        const std::optional<Answer> actual = list(call);
        const bool sameEntity = expected.has_value() == actual.has_value() &&
                                (!expected || expected->adifNr == actual->adifNr);
        const bool agree = sameEntity && (!expected || expected->cqZone == actual->cqZone);
        const bool slash = call.find('/') != std::string::npos;
        ++counts.calls;
        counts.sameEntity += sameEntity;
        counts.agreeing += agree;
        counts.slashCalls += slash;
        counts.slashAgreeing += slash && agree;
        if (!agree && counts.examples.size() < exampleCount) {
            counts.examples.push_back(call + " file " + describe(expected) + " list " +
                                      describe(actual));
        }
    }
    return counts;
}

SelfAgreement MeasureSelfAgreement(const std::vector<ListEntity>& entities,
                                   const CallResolver& list) {
    SelfAgreement counts;
    for (const ListEntity& entity : entities) {
        for (const CountryFileItem& item : entity.items) {
            const std::optional<Answer> answer = list(item.bare());
            const bool sameEntity = answer && answer->adifNr == entity.adifNr;
            const bool right = answer && *answer == AnswerOf(item, entity);
            ++counts.items;
            counts.sameEntity += sameEntity;
            counts.sameAnswer += right;
            if (item.isExactCall()) {
                ++counts.exactCalls;
                counts.exactCallsRight += right;
            } else {
                ++counts.prefixes;
                counts.prefixesRight += right;
            }
        }
    }
    return counts;
}

}  // namespace velmark::dxcc_import
