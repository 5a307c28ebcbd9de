#include "dxcc/callsign_resolver.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "dxcc/leading_number.h"

namespace velmark {

namespace {

std::string KeyOf(std::string_view text) {
    return std::string(text.substr(0, kLookupKeySize));
}

// Sets the character at a 1-based position to "?"; a key shorter than that does not change.
void MarkWildcard(std::string& key, std::size_t position) {
    if (position >= 1 && position <= key.size())
        key[position - 1] = '?';
}

bool StartsWith(std::string_view text, std::string_view head) {
    return text.size() >= head.size() && text.substr(0, head.size()) == head;
}

char FirstCharacter(std::string_view text) {
    return text.empty() ? '\0' : text.front();
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Designators after the call that say nothing about where the station is: portable, mobile,
// maritime mobile, alternative location, low power. (Taken as a prefix, /M would put every
// mobile station into the entity whose prefix is M.)
bool IsNeutralDesignator(std::string_view part) {
    return part == "P" || part == "M" || part == "MM" || part == "A" || part == "QRP";
}

// A call area given as a number alone, as in /4, keeps the home call's entity.
bool IsCallAreaNumber(std::string_view part) {
    return !part.empty() && std::all_of(part.begin(), part.end(), IsDigit) && IsWholeInteger(part);
}

// A designator with a digit and something else, as in /QC3, is itself a prefix with an area.
bool IsPrefixWithArea(std::string_view part) {
    return std::any_of(part.begin(), part.end(), IsDigit) &&
           !std::all_of(part.begin(), part.end(), IsDigit);
}

// Step 3 of a lookup: which part of a call with "/" is searched. A prefix before the call
// (QA/QB1ABC, the shorter part first) is searched with the whole key kept for "*" entries;
// after the call, the designator decides.
void ApplyPortableDesignator(std::string& key, std::string& savedKey) {
    const std::size_t slash = key.find('/');
    if (slash == std::string::npos)
        return;
    const std::string before = key.substr(0, slash);
    std::string after = key.substr(slash + 1);
    after = after.substr(0, after.find('/'));
    if (before.size() <= after.size()) {
        key = before;
        return;
    }
    std::string chosen = after;
    if (IsNeutralDesignator(after))
        chosen = before;
    if (IsCallAreaNumber(after))
        chosen = before;
    if (IsPrefixWithArea(after))
        chosen = after;
    key = savedKey = KeyOf(chosen);
}

// The texts a table entry and the key are compared by. An entry with "*" stands for any
// characters up to the next "/" of the whole key, so =3D2*/R covers every =3D2.../R. Entries
// without "*" (nearly all) are compared as they stand: a lookup compares hundreds of entries,
// and copying both texts for each was most of the time of reading a log.
class ComparisonTexts {
  public:
    ComparisonTexts(const PrefixEntry& entry, std::string_view key, std::string_view savedKey)
        : m_entry(entry.PrefixText), m_key(key) {
        const std::size_t star = entry.PrefixText.find('*');
        if (star == std::string::npos)
            return;
        m_entryCopy = entry.PrefixText;
        m_entryCopy.erase(star, 1);
        m_keyCopy = savedKey;
        const std::size_t slash = m_keyCopy.find('/', star);
        if (slash != std::string::npos)
            m_keyCopy.erase(star, slash - star);
        m_entry = m_entryCopy;
        m_key = m_keyCopy;
    }
    ComparisonTexts(const ComparisonTexts&) = delete;
    ComparisonTexts& operator=(const ComparisonTexts&) = delete;

    std::string_view entry() const { return m_entry; }
    std::string_view key() const { return m_key; }

  private:
    std::string m_entryCopy;
    std::string m_keyCopy;
    std::string_view m_entry;
    std::string_view m_key;
};

bool Applies(const PrefixEntry& entry, double dateValue) {
    return entry.ValidUntil >= dateValue;
}

// Step 1 of the search: bisection to the last entry not greater than the key.
int Bisect(const TListaDXCC& list, std::string_view key, std::string_view savedKey) {
    int lo = 1;
    int hi = list.PrefixCount;
    int mid = lo + (hi - lo) / 2;
    do {
        const ComparisonTexts texts(list.PrefixTable[mid], key, savedKey);
        if (texts.entry() > texts.key()) {
            hi = mid;
        } else {
            lo = mid;
        }
        mid = lo + (hi - lo) / 2;
    } while (!(hi - mid <= 1 && mid == lo));
    return mid;
}

// Step 6 of the search: among entries with the chosen prefix text, the first that applies to
// the date, unless the next one has the same validity and so no single entity can be named.
void ChooseAmongEqualPrefixes(const TListaDXCC& list, int last, double dateValue,
                              PrefixSearchResult& result) {
    const TabUpo& table = list.PrefixTable;
    int first = last;
    while (first > 1 && table[first - 1].PrefixText == table[last].PrefixText) --first;
    result.Status = kResolveNoEntity;
    for (int i = first; i <= last; ++i) {
        if (!Applies(table[i], dateValue)) {
            if (i == last)
                result.SeveralEntries = true;
            continue;
        }
        result.Status = kResolveFound;
        result.StopEntry = i;
        if (i + 1 <= list.PrefixCount && table[i + 1].PrefixText == table[i].PrefixText &&
            table[i + 1].ValidUntil == table[i].ValidUntil) {
            result.SeveralEntries = true;
            return;
        }
        result.ChosenEntry = i;
        result.ListLine = table[i].ListLine;
        result.FirstLine = list.ListLineTable[result.ListLine].FirstLine;
        return;
    }
}

// Index 1..7 of a continent code in the continent table, 8 for an empty code, 0 when unknown.
std::int32_t ContinentNumber(const TListaDXCC& list, const std::string& code) {
    for (int slot = 1; slot <= kContinentSlots; ++slot) {
        if (list.ContinentTable[slot] == code)
            return slot;
    }
    return 0;
}

CallsignResolution ResultsOf(const TListaDXCC& list, const PrefixSearchResult& found) {
    CallsignResolution result;
    result.Status = found.Status;
    result.ListLine = found.ListLine;
    result.FirstLine = found.FirstLine;
    if (found.FirstLine >= 1) {
        const ListLine& line = list.ListLineTable[found.ListLine];
        result.ListNr = line.ListNr;
        result.AdifNr = line.AdifNr;
        result.CqZone = line.CqZone;
        result.ItuZone = line.ItuZone;
        result.Continent = ContinentNumber(list, list.ListLineTable[found.FirstLine].Continent);
    }
    return result;
}

// Step 5: in Russia and Ukraine the call area digit, not the prefix letters, decides the
// entity, so the list may hold entries such as U?9 for it. A matching R or U prefix is tried
// again with its last compared position as "?"; the area entry wins only when it expires
// earlier than the prefix found first.
PrefixSearchResult ApplyCallAreaRule(const TListaDXCC& list, std::string& key,
                                     const std::string& savedKey, double dateValue,
                                     const PrefixSearchResult& found) {
    if (found.Status != kResolveFound || found.SeveralEntries || found.ChosenEntry == 0) {
        return found;
    }
    const PrefixEntry& chosen = list.PrefixTable[found.ChosenEntry];
    const char first = FirstCharacter(chosen.PrefixText);
    if (first != 'R' && first != 'U')
        return found;
    const double firstValidity = chosen.ValidUntil;
    MarkWildcard(key, found.LastExaminedText.size());
    const PrefixSearchResult again = SearchPrefixTable(list, key, savedKey, dateValue);
    if (again.Status != kResolveFound ||
        list.PrefixTable[again.StopEntry].ValidUntil >= firstValidity) {
        return found;
    }
    return again;
}

// Step 6: nothing matched; try "?" in place of the 2nd, then the 3rd character, then a "?"
// inserted before the 2nd character.
PrefixSearchResult RetryWhenNothingMatched(const TListaDXCC& list, std::string& key,
                                           const std::string& savedKey, double dateValue,
                                           bool exact, PrefixSearchResult found) {
    if (found.Status != kResolveNoEntity)
        return found;
    // Every retry key of an exact call begins with "=" and has "?" as its 2nd or 3rd character
    // (or is the key already searched, when that is shorter): see ExactRetriesFindNothing.
    if (exact && list.Resolver.ExactRetriesFindNothing && FirstCharacter(savedKey) == '=')
        return found;
    MarkWildcard(key, 2);
    found = SearchPrefixTable(list, key, savedKey, dateValue);
    if (found.Status != kResolveNoEntity)
        return found;
    key = savedKey;
    MarkWildcard(key, 3);
    found = SearchPrefixTable(list, key, savedKey, dateValue);
    if (found.Status != kResolveNoEntity)
        return found;
    key = savedKey;
    key.insert(std::min<std::size_t>(1, key.size()), "?");
    key = KeyOf(key);
    return SearchPrefixTable(list, key, savedKey, dateValue);
}

// Step 7: every entry of the prefix expired; try "?" at the last compared position, first in
// the key as it stands, then in the saved key. Finding nothing still means expired.
PrefixSearchResult RetryWhenExpired(const TListaDXCC& list, std::string& key,
                                    const std::string& savedKey, double dateValue,
                                    PrefixSearchResult found) {
    for (int attempt = 1; attempt <= 2 && found.Status == kResolveExpired; ++attempt) {
        if (attempt == 2)
            key = savedKey;
        MarkWildcard(key, found.LastExaminedText.size());
        found = SearchPrefixTable(list, key, savedKey, dateValue);
        if (found.Status == kResolveNoEntity)
            found.Status = kResolveExpired;
    }
    return found;
}

// Counts the "*" entries of the prefix table once per loaded list, for FindLongestPrefix.
void CountStarEntries(TListaDXCC& list) {
    std::vector<std::int32_t>& counts = list.Resolver.StarEntriesUpTo;
    if (counts.size() == static_cast<std::size_t>(list.PrefixCount) + 1)
        return;
    counts.assign(1, 0);
    bool exactRetriesFindNothing = true;
    for (int i = 1; i <= list.PrefixCount; ++i) {
        const std::string& text = list.PrefixTable[i].PrefixText;
        const bool star = text.find('*') != std::string::npos;
        counts.push_back(counts.back() + (star ? 1 : 0));
        if (star || text.empty() ||
            (text.front() == '=' && (text.size() < 3 || text.find('?') != std::string::npos))) {
            exactRetriesFindNothing = false;
        }
    }
    list.Resolver.ExactRetriesFindNothing = exactRetriesFindNothing;
}

// The last entry in 1..last whose text is not greater than text (0 when none), by bisection of
// the sorted table.
int LastNotGreater(const TabUpo& table, int last, std::string_view text) {
    int lo = 1;
    int hi = last + 1;  // the answer lies in lo - 1 .. hi - 1
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (std::string_view(table[mid].PrefixText) > text) {
            hi = mid;
        } else {
            lo = mid + 1;
        }
    }
    return lo - 1;
}

struct ScanEnd {
    bool Matched = false;
    int Entry = 0;  // the matching entry
    std::string_view LastExamined;
};

// Step 3 of the search without visiting every entry on the way. The scan goes down from start
// through the entries that begin with the key's first character (the table is sorted, so they
// lie together) to the first one that begins the key; among texts that begin the key, longer
// ones sort later, so that is the highest-placed copy of the longest such text. Without a "*"
// entry among those the scan would pass, the same entry is found by a few bisections, which
// matters because the exact-call pass of nearly every lookup finds nothing and would otherwise
// compare the key with every exact call before it. Nothing when the shortcut does not apply;
// the caller then scans entry by entry.
std::optional<ScanEnd> FindLongestPrefix(const TListaDXCC& list, std::string_view key, int start) {
    const TabUpo& table = list.PrefixTable;
    const std::vector<std::int32_t>& stars = list.Resolver.StarEntriesUpTo;
    if (key.empty() || stars.size() != static_cast<std::size_t>(list.PrefixCount) + 1 ||
        FirstCharacter(table[start].PrefixText) != key.front()) {
        return std::nullopt;
    }
    // Entries below + 1 .. start all begin with the key's first character; the scan examines
    // them and then the one below (or stops after entry 1).
    const std::string_view firstCharacter = key.substr(0, 1);
    int below = LastNotGreater(table, start, firstCharacter);
    while (below >= 1 && table[below].PrefixText == firstCharacter) --below;
    const int lastExamined = std::max(1, below);
    // A "*" entry compares by other texts, and an empty text begins every key.
    if (stars[start] - stars[lastExamined - 1] != 0 || table[lastExamined].PrefixText.empty())
        return std::nullopt;
    // The last entry not greater than the key begins it, or shares its first `common`
    // characters with it; then no text longer than that begins the key (it would sort after
    // that entry and not after the key), and the search goes on with the shorter head.
    std::string_view head = key;
    while (!head.empty()) {
        const int found = LastNotGreater(table, start, head);
        if (found <= below)
            break;
        const std::string_view text = table[found].PrefixText;
        if (StartsWith(head, text))
            return ScanEnd{true, found, text};
        std::size_t common = 0;
        while (common < text.size() && common < head.size() && text[common] == head[common]) {
            ++common;
        }
        head = head.substr(0, common);
    }
    return ScanEnd{false, 0, table[lastExamined].PrefixText};
}

}  // namespace

PrefixSearchResult SearchPrefixTable(const TListaDXCC& list, std::string_view key,
                                     std::string_view savedKey, double dateValue) {
    PrefixSearchResult result;
    const int count = list.PrefixCount;
    if (count == 0)
        return result;
    const TabUpo& table = list.PrefixTable;

    // 1-2. Bisection; the last entry is never a bisection point, so check it separately.
    int mid = Bisect(list, key, savedKey);
    if (mid == count - 1) {
        const ComparisonTexts texts(table[count], key, savedKey);
        if (StartsWith(texts.key(), texts.entry()))
            mid = count;
    }

    // 3. Backward scan to the first entry that begins the key, within the key's first letter.
    bool matched = false;
    if (const std::optional<ScanEnd> end = FindLongestPrefix(list, key, mid)) {
        result.LastExaminedText = end->LastExamined;
        if (!end->Matched)
            return result;
        matched = true;
        mid = end->Entry;
    }
    while (!matched) {
        const ComparisonTexts texts(table[mid], key, savedKey);
        if (StartsWith(texts.key(), texts.entry())) {
            matched = true;
            result.LastExaminedText = texts.entry();
            break;
        }
        --mid;
        if (mid == 0 || FirstCharacter(texts.entry()) != FirstCharacter(texts.key())) {
            result.LastExaminedText = texts.entry();
            break;
        }
    }
    if (!matched)
        return result;

    // 4. Equal texts at either end of the table, where the bisection cannot reach the last.
    if (count >= 2 && mid == 1 && table[1].PrefixText == table[2].PrefixText)
        mid = 2;
    if (count >= 2 && mid == count - 1 && table[count - 1].PrefixText == table[count].PrefixText) {
        mid = count;
    }

    // 6-7.
    ChooseAmongEqualPrefixes(list, mid, dateValue, result);
    if (result.SeveralEntries && mid != 1 && !Applies(table[mid], dateValue)) {
        result.Status = kResolveExpired;
    }
    return result;
}

CallsignResolution LookupKey(TListaDXCC& list, std::string_view key, double dateValue, bool exact) {
    ResolverMemory& memory = list.Resolver;
    if (memory.LastKey && *memory.LastKey == key && memory.LastDate == dateValue) {
        return memory.LastResult;
    }
    CountStarEntries(list);
    std::string searched = KeyOf(key);
    std::string savedKey = searched;
    if (!exact)
        ApplyPortableDesignator(searched, savedKey);

    PrefixSearchResult found = SearchPrefixTable(list, searched, savedKey, dateValue);
    found = ApplyCallAreaRule(list, searched, savedKey, dateValue, found);
    found = RetryWhenNothingMatched(list, searched, savedKey, dateValue, exact, found);
    found = RetryWhenExpired(list, searched, savedKey, dateValue, found);

    const CallsignResolution result = ResultsOf(list, found);
    memory.LastKey = savedKey;
    memory.LastDate = dateValue;
    memory.LastResult = result;
    return result;
}

std::string SearchedPart(std::string_view callsign) {
    std::string key = KeyOf(callsign);
    std::string savedKey = key;
    ApplyPortableDesignator(key, savedKey);
    return key;
}

CallsignResolution ResolveCallsign(TListaDXCC& list, std::string_view callsign, double dateValue) {
    const std::string exactKey = KeyOf("=" + std::string(callsign));
    const CallsignResolution exact = LookupKey(list, exactKey, dateValue, true);
    if (exact.Status != kResolveNoEntity)
        return exact;
    return LookupKey(list, std::string_view(exactKey).substr(1), dateValue, false);
}

}  // namespace velmark
