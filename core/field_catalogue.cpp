#include "core/field_catalogue.h"

#include <algorithm>
#include <stdexcept>

#include "core/standard_fields.h"

namespace velmark {

namespace {

static_assert(kStandardFields.size() == kStandardFieldCount);
static_assert(kStandardFields[kCallKind].Name == "CALL");
static_assert(kStandardFields[kQslViaKind].Name == "QSL_VIA");
static_assert(kStandardFields[kQsoDateKind].Name == "QSO_DATE");
static_assert(kStandardFields[kQsoNumKind].Name == "QSO_NUM");

// A width once measured is never below this, so narrow columns stay readable in TXT output.
constexpr int kMinimumColumnWidth = 10;

// The ADIF record end is a tag but never a field.
bool isRecordEnd(std::string_view name) {
    return name == "EOR" || name == "eor";
}

}  // namespace

void ColumnList::Clear() {
    ColumnCount = 0;
    Positions.fill(0);
    LastColumnName.clear();
    CurrentEntry = 0;
}

int SlotSize(int kind) {
    if (kind < 0 || kind >= kCatalogueSize) {
        throw std::out_of_range("field kind " + std::to_string(kind) + " outside 0.." +
                                std::to_string(kCatalogueSize - 1));
    }
    return SlotSizeOfKind(kind);
}

TStrukturaADIF::TStrukturaADIF() {
    for (int entry = 1; entry <= kCatalogueSize; ++entry) {
        CatalogueEntry& item = m_entries[entry];
        item.Kind = static_cast<std::uint8_t>(entry - 1);
        if (entry <= kStandardFieldCount) {
            item.Name = std::string(kStandardFields[entry - 1].Name);
        }
    }
}

int TStrukturaADIF::RegisterField(std::string_view name, ColumnList& columns) {
    if (isRecordEnd(name)) {
        return kNoEntry;
    }
    // A stored name keeps its first 35 characters; comparing the same prefix makes a long name
    // find its own entry again instead of taking a second one.
    const std::string_view key = name.substr(0, kMaxFieldNameLength);
    int result = kNoEntry;
    for (int entry = 1; entry <= kCatalogueSize; ++entry) {
        CatalogueEntry& item = m_entries[entry];
        if (item.Name.empty()) {
            item.Name = std::string(key);
            result = entry;
            break;
        }
        if (item.Name == key) {
            result = entry;
            break;
        }
    }
    if (result == kNoEntry) {
        return kNoEntry;  // catalogue full: the field gets no column
    }
    addColumn(result, columns);
    return result;
}

void TStrukturaADIF::addColumn(int entryNumber, ColumnList& columns) {
    // Positions are filled from the front, so the first position that is 0 or already holds the
    // entry is either the field's existing column or the next free one.
    for (int position = 1; position <= kCatalogueSize; ++position) {
        std::uint8_t& slot = columns.Positions[position];
        if (slot == 0 || slot == entryNumber) {
            slot = static_cast<std::uint8_t>(entryNumber);
            columns.ColumnCount = std::max(columns.ColumnCount, position);
            return;
        }
    }
}

int TStrukturaADIF::FindField(std::string_view name) const {
    if (name.empty() || isRecordEnd(name)) {
        return kNoEntry;
    }
    const std::string_view key = name.substr(0, kMaxFieldNameLength);
    for (int entry = 1; entry <= kCatalogueSize; ++entry) {
        if (m_entries[entry].Name == key) {
            return entry;
        }
    }
    return kNoEntry;
}

void TStrukturaADIF::RaiseColumnWidth(int entryNumber, int width) {
    std::int32_t& stored = m_entries[entryNumber].ColumnWidth;
    stored = std::max({stored, kMinimumColumnWidth, width});
}

bool TStrukturaADIF::IsFull() const {
    // Entries are taken lowest first and never freed, so the last one is taken last.
    return !m_entries[kCatalogueSize].Name.empty();
}

}  // namespace velmark
