#include "dxcc_import/exact_calls.h"

#include <algorithm>
#include <tuple>
#include <unordered_map>

#include "dxcc/callsign_resolver.h"

namespace velmark::dxcc_import {
namespace {

// Fewer letters than this after the last digit, and an ordinary longer call can begin with the
// callsign: suffixes of three letters are the longest most countries issue.
constexpr std::size_t kLongestCommonSuffix = 3;

struct ExactCall {
    std::string text;  // "=CALL"
    Answer answer;
    std::size_t entity = 0;
    std::size_t position = 0;  // among the entity's items
    bool needed = false;  // false: the prefixes alone answer it right
    int tier = 0;            // 0..5, see the header: smaller changes more
};

bool startsWith(const std::string& text, const std::string& start) {
    return text.size() >= start.size() && text.compare(0, start.size(), start) == 0;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// How much a needed call changes: another entity before other zones, without "/" first.
int tierOf(const Answer& answer, const std::optional<Answer>& viaPrefixes,
           const std::string& text) {
    int tier = 4;
    if (!viaPrefixes || viaPrefixes->adifNr != answer.adifNr)
        tier = 0;
    else if (viaPrefixes->cqZone != answer.cqZone)
        tier = 2;
    return tier + (text.find('/') != std::string::npos ? 1 : 0);
}

// Builds the group of one needed call: the call, the guards below it, and the longer exact
// calls of the file it would otherwise send astray.
class GroupBuilder {
  public:
    GroupBuilder(const std::unordered_map<std::string, const ExactCall*>& exactByText,
                 const std::vector<const ExactCall*>& byText, const PrefixResolver& byPrefixes,
                 const std::map<std::string, Answer>& prefixes)
        : m_exactByText(exactByText),
          m_byText(byText),
          m_byPrefixes(byPrefixes),
          m_prefixes(prefixes) {}

    // The group, or nothing when no form keeps the call from catching longer calls.
    std::optional<std::vector<WrittenEntry>> build(const ExactCall& head) {
        m_entries.clear();
        m_failed = false;
        addExactCall(head.text);
        // A longer exact call that a kept entry would catch with another answer, while the
        // prefixes alone answer it right, comes along. Each one may bring guards and catch
        // others in turn.
        for (bool grown = true; grown && !m_failed;) {
            grown = false;
            for (auto it = firstStartingWith(head.text);
                 it != m_byText.end() && startsWith((*it)->text, head.text); ++it) {
                const ExactCall& call = **it;
                if (call.needed || contains(call.text))
                    continue;
                if (catcherOf(call.text).answer != call.answer) {
                    addExactCall(call.text);
                    grown = true;
                }
            }
        }
        if (m_failed)
            return std::nullopt;
        return m_entries;
    }

  private:
    std::vector<const ExactCall*>::const_iterator firstStartingWith(const std::string& text) const {
        return std::lower_bound(
            m_byText.begin(), m_byText.end(), text,
            [](const ExactCall* c, const std::string& t) { return c->text < t; });
    }

    bool contains(const std::string& text) const {
        return std::any_of(m_entries.begin(), m_entries.end(),
                           [&](const WrittenEntry& e) { return e.text == text; });
    }

    // The longest entry of the group that the text begins with.
    const WrittenEntry& catcherOf(const std::string& text) const {
        const WrittenEntry* catcher = nullptr;
        for (const WrittenEntry& entry : m_entries) {
            if (startsWith(text, entry.text) &&
                (catcher == nullptr || entry.text.size() > catcher->text.size())) {
                catcher = &entry;
            }
        }
        return *catcher;
    }

    void addExactCall(const std::string& text) {
        if (contains(text))
            return;
        if (text.size() > kLookupKeySize) {
            m_failed = true;
            return;
        }
        const Answer answer = m_exactByText.at(text)->answer;
        m_entries.push_back({text, answer, false});
        const std::string bare = text.substr(1);
        if (CanBeginLongerCall(bare))
            addGuardsBelow(bare, answer);
    }

    // Entries for every character that may follow the call, so that a longer call of another
    // entity is answered as the prefixes answer it: an exact call of the file where there is
    // one, else a guard, with a guard for each longer prefix below it. (A longer call of the
    // call's own entity keeps its entity, and needs none.)
    void addGuardsBelow(const std::string& bare, const Answer& owner) {
        std::string following = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
        if (isDigit(bare.back()))
            following += "0123456789";
        for (const char next : following) {
            const std::string longer = bare + next;
            addEntryFor(longer, owner);
            for (auto it = m_prefixes.upper_bound(longer);
                 it != m_prefixes.end() && startsWith(it->first, longer); ++it) {
                addEntryFor(it->first, owner);
            }
            if (m_failed)
                return;
        }
    }

    void addEntryFor(const std::string& bare, const Answer& owner) {
        // Longer calls that the prefixes give to no entity, or to the owner's own, need nothing.
        const std::optional<Answer> answer = m_byPrefixes(bare);
        if (!answer || answer->adifNr == owner.adifNr)
            return;
        const std::string text = "=" + bare;
        // Where the file names the call itself, the call is written with its own answer; a
        // guard of the same text would make the two entries ambiguous.
        if (m_exactByText.count(text)) {
            addExactCall(text);
            return;
        }
        if (contains(text))
            return;
        if (text.size() > kLookupKeySize) {
            m_failed = true;
            return;
        }
        m_entries.push_back({text, *answer, true});
    }

    const std::unordered_map<std::string, const ExactCall*>& m_exactByText;
    const std::vector<const ExactCall*>& m_byText;
    const PrefixResolver& m_byPrefixes;
    const std::map<std::string, Answer>& m_prefixes;
    std::vector<WrittenEntry> m_entries;
    bool m_failed = false;
};

}  // namespace

bool CanBeginLongerCall(const std::string& callsign) {
    if (callsign.empty() || callsign.find('/') != std::string::npos)
        return false;
    const std::size_t lastDigit = callsign.find_last_of("0123456789");
    if (lastDigit == std::string::npos)
        return false;
    return callsign.size() - lastDigit - 1 < kLongestCommonSuffix;
}

ExactCallRanking RankExactCalls(const std::vector<ListEntity>& entities,
                                const PrefixResolver& byPrefixes,
                                const std::map<std::string, Answer>& prefixes) {
    ExactCallRanking ranking;
    std::vector<ExactCall> calls;
    // Needed calls per entity and tier, for the order within a tier.
    std::map<std::pair<std::size_t, int>, int> neededPerEntity;
    for (std::size_t e = 0; e < entities.size(); ++e) {
        const std::vector<CountryFileItem>& items = entities[e].items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (!items[i].isExactCall())
                continue;
            ExactCall call{items[i].text, AnswerOf(items[i], entities[e]), e, i};
            const std::optional<Answer> viaPrefixes = byPrefixes(items[i].bare());
            call.needed = !viaPrefixes || *viaPrefixes != call.answer;
            ++ranking.exactCallCount;
            if (call.needed) {
                ++ranking.neededCount;
                call.tier = tierOf(call.answer, viaPrefixes, call.text);
                if (call.text.size() > kLookupKeySize) {
                    ++ranking.tooLongCount;
                    continue;
                }
                ++neededPerEntity[{e, call.tier}];
            } else {
                ++ranking.redundantCount;
            }
            calls.push_back(std::move(call));
        }
    }

    std::unordered_map<std::string, const ExactCall*> exactByText;
    std::vector<const ExactCall*> byText;
    for (const ExactCall& call : calls) {
        exactByText.emplace(call.text, &call);
        byText.push_back(&call);
    }
    std::sort(byText.begin(), byText.end(),
              [](const ExactCall* a, const ExactCall* b) { return a->text < b->text; });

    struct Head {
        const ExactCall* call;
        std::vector<WrittenEntry> group;
    };
    std::vector<Head> heads;
    GroupBuilder builder(exactByText, byText, byPrefixes, prefixes);
    for (const ExactCall& call : calls) {
        if (!call.needed)
            continue;
        if (std::optional<std::vector<WrittenEntry>> group = builder.build(call)) {
            heads.push_back({&call, std::move(*group)});
        } else {
            ++ranking.noFormCount;
        }
    }
    // Within a tier, calls that take fewer entries first (a call with its guards and companions
    // takes as much room as many calls alone: the room holds the most calls that way), then
    // calls of entities with few such exceptions.
    auto rank = [&](const Head& h) {
        const ExactCall& c = *h.call;
        return std::make_tuple(c.tier, h.group.size(), neededPerEntity[{c.entity, c.tier}],
                               c.entity, c.position);
    };
    std::stable_sort(heads.begin(), heads.end(),
                     [&](const Head& a, const Head& b) { return rank(a) < rank(b); });
    for (Head& head : heads) ranking.groups.push_back(std::move(head.group));
    return ranking;
}

std::vector<WrittenEntry> ExactCallChoice::guards() const {
    std::vector<WrittenEntry> result;
    for (const auto& [text, entry] : kept) {
        if (entry.guard)
            result.push_back(entry);
    }
    return result;
}

ExactCallChoice TakeExactCalls(const ExactCallRanking& ranking, int capacity) {
    ExactCallChoice choice;
    std::size_t room = capacity > 0 ? static_cast<std::size_t>(capacity) : 0;
    for (const std::vector<WrittenEntry>& group : ranking.groups) {
        std::vector<const WrittenEntry*> added;
        for (const WrittenEntry& entry : group) {
            if (!choice.kept.count(entry.text))
                added.push_back(&entry);
        }
        if (added.size() > room)
            continue;
        room -= added.size();
        for (const WrittenEntry* entry : added) choice.kept.emplace(entry->text, *entry);
    }
    // Every group's head is a needed call, so the needed calls kept are the kept heads.
    for (const std::vector<WrittenEntry>& group : ranking.groups) {
        if (choice.kept.count(group.front().text))
            ++choice.keptNeededCount;
    }
    for (const auto& [text, entry] : choice.kept) {
        ++(entry.guard ? choice.guardCount : choice.keptExactCallCount);
    }
    choice.droppedCount = ranking.neededCount - choice.keptNeededCount;
    return choice;
}

}  // namespace velmark::dxcc_import
