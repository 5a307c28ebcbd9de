#include "dxcc/bookmarks.h"

#include <vector>

#include "core/bounded_text.h"
#include "core/qso_record.h"
#include "dxcc/crlf_text_file.h"
#include "dxcc/dxcc_list_loader.h"

namespace velmark {

namespace {

constexpr std::size_t kCountryCsvNameSize = 30;
// The prefix field of COUNTRY.CSV stops growing once it has passed this length.
constexpr std::size_t kCountryCsvPrefixesFull = 250;
constexpr const char* kNameUnknownEntity = "COUNTRY NOT PRESENT";
constexpr const char* kNameDirect = "DIRECT";

// Fields each in double quotes, separated by ",".
std::string QuotedFields(const std::vector<std::string>& fields) {
    std::string line;
    for (const std::string& field : fields) {
        if (!line.empty())
            line += ',';
        line += '"' + field + '"';
    }
    return line;
}

// Exchange sort on a key of the country record: byte order, a text before its extensions.
template <typename Key>
void ExchangeSortCountries(TListaDXCC& list, int first, int last, Key key) {
    for (int i = first; i < last; ++i) {
        for (int j = i + 1; j <= last; ++j) {
            if (key(list.CountryTable[i]) > key(list.CountryTable[j])) {
                std::swap(list.CountryTable[i], list.CountryTable[j]);
            }
        }
    }
}

struct EntityTexts {
    std::string Name;
    std::string Prefixes;
};

// Name and prefix texts of an entity by its list number: from the first list line with that
// number and the lines after it with the same name.
EntityTexts EntityTextsOf(const TListaDXCC& list, std::int32_t listNr) {
    if (listNr == kEntityUnknown)
        return {kNameUnknownEntity, {}};
    if (listNr == kEntityDirect)
        return {kNameDirect, {}};
    for (int first = 1; first <= list.ListLineCount; ++first) {
        const ListLine& line = list.ListLineTable[first];
        if (line.ListNr != listNr)
            continue;
        EntityTexts texts{KeepFirst(line.LineName, kCountryCsvNameSize), {}};
        for (int k = first;
             k <= list.ListLineCount && list.ListLineTable[k].LineName == line.LineName &&
             texts.Prefixes.size() <= kCountryCsvPrefixesFull;
             ++k) {
            texts.Prefixes += list.ListLineTable[k].PrefixText + ",";
        }
        return texts;
    }
    // List number 0 (QSOs without a callsign) names no entity.
    return {};
}

}  // namespace

std::string EntityNameOf(const TListaDXCC& list, std::int32_t listNr) {
    return EntityTextsOf(list, listNr).Name;
}

void WriteCountrisCsv(const TListaDXCC& list, const std::string& startDirectory) {
    std::vector<std::string> lines{
        QuotedFields({"NR_CTY_COUNTRY", "NR_ADIF_DXCC", "COUNTRY", "PREFIKSES"})};
    for (int r = 1; r <= list.CountryCount; ++r) {
        const TypRecordu_CSV& record = list.CountryTable[r];
        if (record.CountryAdif.empty())
            continue;
        lines.push_back(QuotedFields(
            {record.CountryNr, record.CountryAdif, record.CountryName, record.CountryPrefixes}));
    }
    WriteCrLfLines(startDirectory + "/" + kCountrisCsvFileName, lines);
}

void SortCountriesByAdif(TListaDXCC& list, int first, int last) {
    ExchangeSortCountries(
        list, first, last,
        [](const TypRecordu_CSV& record) -> const std::string& { return record.CountryAdif; });
}

void SortCountriesByNr(TListaDXCC& list, int first, int last) {
    ExchangeSortCountries(
        list, first, last,
        [](const TypRecordu_CSV& record) -> const std::string& { return record.CountryNr; });
}

bool RunBookmarkCommand(std::unique_ptr<TListaDXCC>& list, BookmarkOrder order,
                        const TNazwyJezykowe& texts, UserInterface& ui, ProgramValues& values) {
    // 1. The list, loaded unless it already is.
    if (!list) {
        list = std::make_unique<TListaDXCC>();
        LoadDxccList(*list, texts, ui, values);
        if (values.RunStatus == 1 || values.RunStatus == 2) {
            ui.ErrorBox(values.RunStatus == 1 ? texts.MsgInputFileMissing : texts.MsgDataError);
            list.reset();
            return false;
        }
    }
    // 2. The order. List order is restored explicitly, since an earlier ADIF-order command
    // leaves the loaded table in ADIF order.
    if (order == BookmarkOrder::AdifNumber) {
        SortCountriesByAdif(*list, 1, list->CountryCount);
    } else {
        SortCountriesByNr(*list, 1, list->CountryCount);
    }
    // 3-4.
    WriteCountrisCsv(*list, values.StartDirectory);
    ui.AppendMessage(texts.MsgCountrisCsvWritten);
    ui.AppendMessage(texts.MsgCountrisCsvUse);
    ui.AppendMessage(order == BookmarkOrder::AdifNumber ? texts.MsgOrderAdif
                                                        : texts.MsgOrderDxccList);
    return true;
}

void WriteCountryCsv(const std::string& path, const CountryGroupTable& groups, int groupCount,
                     const TListaDXCC& list) {
    std::vector<std::string> lines{QuotedFields(
        {"NR_CTY_COUNTRY", "NR_ADIF_DXCC", "COUNTRY", "START_CALL", "END_CALL", "PREFIKSES"})};
    for (int g = 1; g <= groupCount; ++g) {
        const CountryGroup& group = groups[g];
        const EntityTexts entity = EntityTextsOf(list, group.EntityListNr);
        lines.push_back(QuotedFields(
            {std::to_string(group.EntityListNr), std::to_string(group.EntityAdifNr), entity.Name,
             group.FirstCall.str(), group.LastCall.str(), entity.Prefixes}));
    }
    WriteCrLfLines(path, lines);
}

}  // namespace velmark
