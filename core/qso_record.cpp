#include "core/qso_record.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "core/bounded_text.h"
#include "core/standard_fields.h"

namespace velmark {

namespace {

// Where each field of the 2052-byte record lies. The text slots follow in kind order, each one
// length byte plus its slot size; the four integers sit between them where the file format
// puts them, each on a 4-byte boundary: EntityAdifNr after kind 21 (one padding byte before
// it), QsoNr in place of kind 117, EntityListNr and EntityLine after kind 120.
struct RecordLayout {
    std::array<std::size_t, kCatalogueSize> SlotOffsets{};  // kind 117 has none (0)
    std::size_t EntityAdifNr = 0;
    std::size_t QsoNr = 0;
    std::size_t EntityListNr = 0;
    std::size_t EntityLine = 0;
    std::size_t Size = 0;
};

constexpr std::size_t alignToInteger(std::size_t offset) {
    return (offset + 3) / 4 * 4;
}

constexpr RecordLayout computeLayout() {
    RecordLayout layout;
    std::size_t offset = 0;
    for (int kind = 0; kind < kCatalogueSize; ++kind) {
        if (kind == 22) {
            offset = alignToInteger(offset);
            layout.EntityAdifNr = offset;
            offset += 4;
        }
        if (kind == kQsoNumKind) {
            offset = alignToInteger(offset);
            layout.QsoNr = offset;
            offset += 4;
            continue;
        }
        if (kind == kFirstExtraKind) {
            offset = alignToInteger(offset);
            layout.EntityListNr = offset;
            layout.EntityLine = offset + 4;
            offset += 8;
        }
        layout.SlotOffsets[kind] = offset;
        offset += 1 + static_cast<std::size_t>(SlotSizeOfKind(kind));
    }
    layout.Size = offset;
    return layout;
}

constexpr RecordLayout kLayout = computeLayout();

// The layout must match the bytes of TYM.LOG exactly.
static_assert(kLayout.Size == QsoRecord::kSize);
static_assert(kLayout.SlotOffsets[0] == 0);
static_assert(kLayout.SlotOffsets[kCallKind] == 160);
static_assert(kLayout.SlotOffsets[21] + 1 + SlotSizeOfKind(21) == 359);
static_assert(kLayout.EntityAdifNr == 360);
static_assert(kLayout.SlotOffsets[22] == 364);
static_assert(kLayout.SlotOffsets[kQslViaKind] == 1009);
static_assert(kLayout.SlotOffsets[kQsoDateKind] == 1077);
static_assert(kLayout.SlotOffsets[116] + 1 + SlotSizeOfKind(116) == 1368);
static_assert(kLayout.QsoNr == 1368);
static_assert(kLayout.SlotOffsets[118] == 1372);
static_assert(kLayout.EntityListNr == 1420);
static_assert(kLayout.EntityLine == 1424);
static_assert(kLayout.SlotOffsets[kFirstExtraKind] == 1428);
static_assert(kLayout.SlotOffsets[kCatalogueSize - 1] == 1428 + 16 * (kCatalogueSize - 1 - 121));

void checkTextKind(int kind) {
    if (kind < 0 || kind >= kCatalogueSize || kind == kQsoNumKind) {
        throw std::out_of_range("no text slot for field kind " + std::to_string(kind));
    }
}

void putInteger(QsoRecord::Bytes& bytes, std::size_t offset, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<unsigned char>((bits >> (8 * i)) & 0xFFU);
    }
}

std::int32_t getInteger(const QsoRecord::Bytes& bytes, std::size_t offset) {
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        bits |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
    }
    return static_cast<std::int32_t>(bits);
}

}  // namespace

std::string_view QsoRecord::Slot(int kind) const {
    checkTextKind(kind);
    return m_slots[static_cast<std::size_t>(kind)];
}

void QsoRecord::SetSlot(int kind, std::string_view value) {
    checkTextKind(kind);
    AssignBounded(m_slots[static_cast<std::size_t>(kind)], value,
                  static_cast<std::size_t>(SlotSizeOfKind(kind)));
}

void QsoRecord::Clear() {
    for (std::string& slot : m_slots) {
        slot.clear();
    }
    QsoNr = 0;
    EntityListNr = 0;
}

QsoRecord::Bytes QsoRecord::Serialize() const {
    Bytes bytes{};  // padding and the bytes beyond each slot's length stay 0
    for (int kind = 0; kind < kCatalogueSize; ++kind) {
        if (kind == kQsoNumKind) {
            continue;
        }
        const std::size_t offset = kLayout.SlotOffsets[static_cast<std::size_t>(kind)];
        const std::string& text = m_slots[static_cast<std::size_t>(kind)];
        bytes[offset] = static_cast<unsigned char>(text.size());
        // Most slots are empty, and a call of memcpy for none of them is wasted.
        if (!text.empty()) {
            std::memcpy(bytes.data() + offset + 1, text.data(), text.size());
        }
    }
    putInteger(bytes, kLayout.EntityAdifNr, EntityAdifNr);
    putInteger(bytes, kLayout.QsoNr, QsoNr);
    putInteger(bytes, kLayout.EntityListNr, EntityListNr);
    putInteger(bytes, kLayout.EntityLine, EntityLine);
    return bytes;
}

QsoRecord QsoRecord::Deserialize(const Bytes& bytes) {
    QsoRecord record;
    record.DeserializeFrom(bytes);
    return record;
}

void QsoRecord::DeserializeFrom(const Bytes& bytes) {
    for (int kind = 0; kind < kCatalogueSize; ++kind) {
        if (kind == kQsoNumKind) {
            continue;
        }
        const std::size_t offset = kLayout.SlotOffsets[static_cast<std::size_t>(kind)];
        // A damaged length byte must not reach into the next field.
        const std::size_t length =
            std::min<std::size_t>(bytes[offset], static_cast<std::size_t>(SlotSizeOfKind(kind)));
        std::string& slot = m_slots[static_cast<std::size_t>(kind)];
        // Most of the 159 slots are empty; clear() costs far less than an assign call.
        if (length == 0) {
            slot.clear();
        } else {
            slot.assign(reinterpret_cast<const char*>(bytes.data() + offset + 1), length);
        }
    }
    EntityAdifNr = getInteger(bytes, kLayout.EntityAdifNr);
    QsoNr = getInteger(bytes, kLayout.QsoNr);
    EntityListNr = getInteger(bytes, kLayout.EntityListNr);
    EntityLine = getInteger(bytes, kLayout.EntityLine);
}

std::size_t QsoRecord::SlotOffset(int kind) {
    checkTextKind(kind);
    return kLayout.SlotOffsets[static_cast<std::size_t>(kind)];
}

}  // namespace velmark
