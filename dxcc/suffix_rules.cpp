#include "dxcc/suffix_rules.h"

#include <filesystem>

#include "core/ascii_case.h"
#include "dxcc/callsign_resolver.h"
#include "dxcc/crlf_text_file.h"

namespace velmark {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return std::string(text);
}

}  // namespace

std::vector<SuffixRule> ReadSuffixRules(const std::string& path) {
    std::vector<SuffixRule> rules;
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored))
        return rules;
    for (const NumberedLine& line : ReadTextLines(path)) {
        const std::string text = trimmed(line.Text);
        if (text.empty() || text.front() == '{' || text.front() == '#')
            continue;
        std::size_t end = 0;
        while (end < text.size() && !isBlank(text[end])) ++end;
        SuffixRule rule{UpperAscii(text.substr(0, end)),
                        trimmed(std::string_view(text).substr(end))};
        rules.push_back(std::move(rule));
    }
    return rules;
}

const SuffixRule* FindSuffixRule(const std::vector<SuffixRule>& rules, std::string_view callsign) {
    const std::string searched = SearchedPart(callsign);
    const SuffixRule* found = nullptr;
    for (const SuffixRule& rule : rules) {
        if (searched.size() > rule.Prefix.size() && searched.rfind(rule.Prefix, 0) == 0 &&
            (found == nullptr || rule.Prefix.size() > found->Prefix.size())) {
            found = &rule;
        }
    }
    return found;
}

}  // namespace velmark
