#include "dxcc_import/country_file_resolver.h"

#include <algorithm>

#include "dxcc/callsign_resolver.h"

namespace velmark::dxcc_import {

CountryFileResolver::CountryFileResolver(const std::vector<ListEntity>& entities,
                                         bool withExactCalls) {
    for (const ListEntity& entity : entities) {
        for (const CountryFileItem& item : entity.items) {
            if (item.isExactCall()) {
                if (withExactCalls)
                    m_exactCalls.emplace(item.bare(), AnswerOf(item, entity));
            } else {
                m_prefixes.emplace(item.text, AnswerOf(item, entity));
                m_longestPrefix = std::max(m_longestPrefix, item.text.size());
            }
        }
    }
}

std::optional<Answer> CountryFileResolver::Resolve(const std::string& callsign) const {
    if (const auto exact = m_exactCalls.find(callsign); exact != m_exactCalls.end()) {
        return exact->second;
    }
    return longestPrefix(callsign);
}

std::optional<Answer> CountryFileResolver::ResolveWithDesignators(
    const std::string& callsign) const {
    if (const auto exact = m_exactCalls.find(callsign); exact != m_exactCalls.end()) {
        return exact->second;
    }
    return longestPrefix(SearchedPart(callsign));
}

std::optional<Answer> CountryFileResolver::longestPrefix(const std::string& callsign) const {
    for (std::size_t length = std::min(callsign.size(), m_longestPrefix); length > 0; --length) {
        if (const auto prefix = m_prefixes.find(callsign.substr(0, length));
            prefix != m_prefixes.end()) {
            return prefix->second;
        }
    }
    return std::nullopt;
}

}  // namespace velmark::dxcc_import
