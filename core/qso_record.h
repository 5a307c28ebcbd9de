#pragma once
// One QSO as a fixed record: one bounded text slot per catalogue kind (kind 117 is the integer
// QsoNr) plus the entity numbers of its QSL route. It is also the record of TYM.LOG, where it
// takes exactly 2052 bytes at fixed offsets; Serialize/Deserialize write and read those bytes
// one field at a time, never by copying the struct.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/field_catalogue.h"

namespace velmark {

// Special entity numbers, equal in EntityAdifNr and EntityListNr.
inline constexpr std::int32_t kEntityNoCallsign = 0;
inline constexpr std::int32_t kEntityUnknown = 998;
inline constexpr std::int32_t kEntityDirect = 999;

class QsoRecord {
  public:
    static constexpr std::size_t kSize = 2052;
    using Bytes = std::array<unsigned char, kSize>;

    // Text of the slot of a kind 0..159 (not 117); throws std::out_of_range otherwise.
    std::string_view Slot(int kind) const;
    // Stores a value in its slot, keeping the first SlotSize(kind) bytes.
    void SetSlot(int kind, std::string_view value);

    std::int32_t QsoNr = 0;         // kind 117 (QSO_NUM): number in input order, from 1
    std::int32_t EntityAdifNr = 0;  // ADIF entity number of the QSL route (or 0, 998, 999)
    std::int32_t EntityListNr = 0;  // the entity's place in the DXCC list (or 0, 998, 999)
    std::int32_t EntityLine = 0;    // DXCC list line of the entity; meaningful only when found

    // Empties every text slot and sets QsoNr and EntityListNr to 0; EntityAdifNr is set by
    // every completion and EntityLine keeps its value unless a new entity is found.
    void Clear();

    // The record's bytes in TYM.LOG: slots as length byte + text, integers little-endian.
    Bytes Serialize() const;
    // Reads any 2052 bytes safely: a length byte beyond its slot's size is cut to the size.
    static QsoRecord Deserialize(const Bytes& bytes);
    // The same into this record, every field overwritten. The slots keep their storage, so a
    // loop that reads each record of TYM.LOG into one QsoRecord allocates nothing once the
    // slots have grown (a fresh record is 160 new texts).
    void DeserializeFrom(const Bytes& bytes);

    // Byte offset of a kind's slot (its length byte) inside the 2052-byte record.
    static std::size_t SlotOffset(int kind);

    bool operator==(const QsoRecord&) const = default;

  private:
    std::array<std::string, kCatalogueSize> m_slots;
};

}  // namespace velmark
