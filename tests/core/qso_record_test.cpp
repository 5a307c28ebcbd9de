#include "core/qso_record.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace velmark {
namespace {

// A value that fills a kind's slot to its width with bytes that differ from kind to kind, so
// that two overlapping slots cannot both read back intact.
std::string fullValue(int kind) {
    std::string value;
    for (int i = 0; i < SlotSize(kind); ++i) {
        value += static_cast<char>(0x21 + (kind * 7 + i) % 0xDE);
    }
    return value;
}

QsoRecord fullRecord() {
    QsoRecord record;
    for (int kind = 0; kind < kCatalogueSize; ++kind) {
        if (kind != kQsoNumKind) {
            record.SetSlot(kind, fullValue(kind));
        }
    }
    record.QsoNr = 123456;
    record.EntityAdifNr = 291;
    record.EntityListNr = -2;
    record.EntityLine = 0x01020304;
    return record;
}

std::string textAt(const QsoRecord::Bytes& bytes, std::size_t offset) {
    return std::string(reinterpret_cast<const char*>(&bytes[offset + 1]), bytes[offset]);
}

std::int32_t integerAt(const QsoRecord::Bytes& bytes, std::size_t offset) {
    return static_cast<std::int32_t>(bytes[offset] | bytes[offset + 1] << 8 |
                                     bytes[offset + 2] << 16 |
                                     static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

TEST(QsoRecord, EverySlotFilledToItsWidthSurvivesTheRoundTrip) {
    const QsoRecord record = fullRecord();
    const QsoRecord back = QsoRecord::Deserialize(record.Serialize());
    for (int kind = 0; kind < kCatalogueSize; ++kind) {
        if (kind == kQsoNumKind) {
            continue;
        }
        EXPECT_EQ(back.Slot(kind), fullValue(kind)) << "kind " << kind;
    }
    EXPECT_EQ(back.QsoNr, 123456);
    EXPECT_EQ(back.EntityAdifNr, 291);
    EXPECT_EQ(back.EntityListNr, -2);
    EXPECT_EQ(back.EntityLine, 0x01020304);
    EXPECT_EQ(back, record);
}

TEST(QsoRecord, FieldsLieAtTheOffsetsOfTheFile) {
    QsoRecord record = fullRecord();
    record.SetSlot(kCallKind, "Q1ABC");
    record.SetSlot(kQslViaKind, "Q2XYZ");
    record.SetSlot(kQsoDateKind, "20240131");
    const QsoRecord::Bytes bytes = record.Serialize();
    ASSERT_EQ(bytes.size(), 2052u);

    EXPECT_EQ(textAt(bytes, 0), fullValue(0));  // ADDRESS
    EXPECT_EQ(textAt(bytes, 160), "Q1ABC");
    EXPECT_EQ(textAt(bytes, 1009), "Q2XYZ");
    EXPECT_EQ(textAt(bytes, 1077), "20240131");
    EXPECT_EQ(textAt(bytes, 364), fullValue(22));  // EMAIL, the first slot after EntityAdifNr
    EXPECT_EQ(textAt(bytes, 1372), fullValue(118));
    EXPECT_EQ(bytes[359], 0);  // padding before EntityAdifNr
    EXPECT_EQ(integerAt(bytes, 360), 291);
    EXPECT_EQ(integerAt(bytes, 1368), 123456);
    EXPECT_EQ(integerAt(bytes, 1420), -2);
    EXPECT_EQ(integerAt(bytes, 1424), 0x01020304);
    EXPECT_EQ(bytes[1424], 0x04);  // little-endian
    for (int kind = kFirstExtraKind; kind < kCatalogueSize; ++kind) {
        EXPECT_EQ(QsoRecord::SlotOffset(kind), 1428u + 16u * static_cast<unsigned>(kind - 121));
        EXPECT_EQ(textAt(bytes, 1428 + 16 * (kind - 121)), fullValue(kind)) << kind;
    }
    EXPECT_EQ(QsoRecord::SlotOffset(kCallKind), 160u);
}

TEST(QsoRecord, SlotsKeepTheFirstCharactersThatFit) {
    QsoRecord record;
    record.SetSlot(kCallKind, "Q1ABCDEFGHIJKLMNOPQ");  // CALL holds 16
    EXPECT_EQ(record.Slot(kCallKind), "Q1ABCDEFGHIJKLMN");
    record.SetSlot(130, std::string(20, 'z'));  // a learnt field holds 15
    EXPECT_EQ(record.Slot(130), std::string(15, 'z'));
}

TEST(QsoRecord, OnlyTextKindsHaveSlots) {
    QsoRecord record;
    for (const int kind : {-1, kQsoNumKind, kCatalogueSize}) {
        EXPECT_THROW(record.Slot(kind), std::out_of_range) << kind;
        EXPECT_THROW(record.SetSlot(kind, "x"), std::out_of_range) << kind;
        EXPECT_THROW(QsoRecord::SlotOffset(kind), std::out_of_range) << kind;
    }
}

TEST(QsoRecord, ALengthByteBeyondItsSlotIsCutToTheSlot) {
    QsoRecord::Bytes bytes{};
    bytes.fill(0xFF);
    const QsoRecord record = QsoRecord::Deserialize(bytes);
    EXPECT_EQ(record.Slot(kCallKind), std::string(16, '\xFF'));
    EXPECT_EQ(record.Slot(kFirstExtraKind), std::string(15, '\xFF'));
    EXPECT_EQ(record.QsoNr, -1);
}

TEST(QsoRecord, ClearEmptiesTextsAndNumbersButKeepsAdifNumberAndLine) {
    QsoRecord record = fullRecord();
    record.Clear();
    for (int kind = 0; kind < kCatalogueSize; ++kind) {
        if (kind != kQsoNumKind) {
            EXPECT_TRUE(record.Slot(kind).empty()) << kind;
        }
    }
    EXPECT_EQ(record.QsoNr, 0);
    EXPECT_EQ(record.EntityListNr, 0);
    EXPECT_EQ(record.EntityAdifNr, 291);
    EXPECT_EQ(record.EntityLine, 0x01020304);
}

// The output phase reads every record into the same QsoRecord: nothing of the record read
// before may remain, whether the new record's slots are longer, shorter or empty.
TEST(QsoRecord, ReadingIntoAUsedRecordLeavesNothingOfTheOldOne) {
    QsoRecord shortOne;
    shortOne.SetSlot(kCallKind, "K1A");
    shortOne.SetSlot(kQslViaKind, "W1AW");
    shortOne.QsoNr = 7;
    QsoRecord empty;
    const QsoRecord full = fullRecord();
    const QsoRecord* const sequences[][3] = {
        {&full, &shortOne, &empty}, {&empty, &full, &shortOne}, {&shortOne, &empty, &full},
        {&full, &empty, &full},     {&full, &full, &shortOne},
    };
    for (const auto& sequence : sequences) {
        QsoRecord reused;
        for (const QsoRecord* record : sequence) {
            reused.DeserializeFrom(record->Serialize());
            EXPECT_EQ(reused, QsoRecord::Deserialize(record->Serialize()));
            EXPECT_EQ(reused, *record);
        }
    }
}

}  // namespace
}  // namespace velmark
