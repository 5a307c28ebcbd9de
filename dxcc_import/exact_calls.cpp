#include "dxcc_import/exact_calls.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "dxcc/callsign_resolver.h"

namespace velmark::dxcc_import {
namespace {

struct ExactCall {
    std::string text;  // "=CALL"
    Answer answer;
    std::size_t entity = 0;
    std::size_t position = 0;  // among the entity's items
    bool needed = false;
    bool otherEntity = false;  // the prefixes give another entity (or none)
};

bool startsWith(const std::string& text, const std::string& start) {
    return text.size() >= start.size() && text.compare(0, start.size(), start) == 0;
}

// The head call and every longer exact call that would resolve wrongly through the longest
// group member it begins with, repeated until the group no longer grows.
std::vector<std::string> groupOf(const ExactCall& head, const std::vector<ExactCall>& byText) {
    auto first =
        std::lower_bound(byText.begin(), byText.end(), head.text,
                         [](const ExactCall& c, const std::string& t) { return c.text < t; });
    std::vector<const ExactCall*> descendants;
    for (auto it = first; it != byText.end() && startsWith(it->text, head.text); ++it) {
        if (it->text != head.text)
            descendants.push_back(&*it);
    }
    std::vector<const ExactCall*> members{&head};
    for (bool grown = true; grown;) {
        grown = false;
        for (const ExactCall* call : descendants) {
            if (std::find(members.begin(), members.end(), call) != members.end())
                continue;
            const ExactCall* catcher = nullptr;
            for (const ExactCall* member : members) {
                if (startsWith(call->text, member->text) &&
                    (catcher == nullptr || member->text.size() > catcher->text.size())) {
                    catcher = member;
                }
            }
            if (catcher->answer != call->answer) {
                members.push_back(call);
                grown = true;
            }
        }
    }
    std::vector<std::string> texts;
    for (const ExactCall* member : members) texts.push_back(member->text);
    return texts;
}

}  // namespace

ExactCallRanking RankExactCalls(const std::vector<ListEntity>& entities,
                                const PrefixResolver& byPrefixes) {
    ExactCallRanking ranking;
    std::vector<ExactCall> calls;
    // Needed calls per entity and kind, for rule 2.
    std::map<std::pair<std::size_t, bool>, int> neededPerEntity;
    for (std::size_t e = 0; e < entities.size(); ++e) {
        const std::vector<CountryFileItem>& items = entities[e].items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (!items[i].isExactCall())
                continue;
            ExactCall call{items[i].text, AnswerOf(items[i], entities[e]), e, i};
            const std::optional<Answer> viaPrefixes = byPrefixes(items[i].bare());
            call.needed = !viaPrefixes || *viaPrefixes != call.answer;
            call.otherEntity = !viaPrefixes || viaPrefixes->adifNr != call.answer.adifNr;
            ++ranking.exactCallCount;
            if (call.needed) {
                ++ranking.neededCount;
                if (call.text.size() > kLookupKeySize) {
                    ++ranking.tooLongCount;
                    continue;
                }
                ++neededPerEntity[{e, call.otherEntity}];
            } else {
                ++ranking.redundantCount;
            }
            calls.push_back(std::move(call));
        }
    }

    std::vector<ExactCall> byText = calls;
    std::sort(byText.begin(), byText.end(),
              [](const ExactCall& a, const ExactCall& b) { return a.text < b.text; });

    std::vector<const ExactCall*> heads;
    for (const ExactCall& call : calls) {
        if (call.needed)
            heads.push_back(&call);
    }
    auto rank = [&](const ExactCall* c) {
        return std::make_tuple(!c->otherEntity, neededPerEntity[{c->entity, c->otherEntity}],
                               c->entity, c->position);
    };
    std::sort(heads.begin(), heads.end(),
              [&](const ExactCall* a, const ExactCall* b) { return rank(a) < rank(b); });
    for (const ExactCall* head : heads) ranking.groups.push_back(groupOf(*head, byText));
    return ranking;
}

ExactCallChoice TakeExactCalls(const ExactCallRanking& ranking, int capacity) {
    ExactCallChoice choice;
    std::size_t room = capacity > 0 ? static_cast<std::size_t>(capacity) : 0;
    for (const std::vector<std::string>& group : ranking.groups) {
        std::vector<std::string> added;
        for (const std::string& text : group) {
            if (!choice.kept.count(text))
                added.push_back(text);
        }
        if (added.size() > room)
            continue;
        room -= added.size();
        choice.kept.insert(added.begin(), added.end());
    }
    // Every group's head is a needed call, so the needed calls kept are the kept heads.
    for (const std::vector<std::string>& group : ranking.groups) {
        if (choice.kept.count(group.front()))
            ++choice.keptNeededCount;
    }
    choice.droppedCount = ranking.neededCount - choice.keptNeededCount;
    return choice;
}

}  // namespace velmark::dxcc_import
