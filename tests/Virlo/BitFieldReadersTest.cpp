#include <gtest/gtest.h>

#include <cstdint>

#include "BitFieldReaders.h"
#include "SymbolRecord.h"

namespace {

constexpr uint32_t kRightToLeft = BitfieldPackingOrder_RightToLeft;
constexpr uint32_t kLeftToRight = BitfieldPackingOrder_LeftToRight;

TEST(BitFieldReaders, FieldOfAByteInBothOrders) {
    const uint8_t unit = 0x5A;  // bits 1, 3, 4 and 6
    EXPECT_EQ(ReadBitFieldU8(&unit, 3, 2, kRightToLeft), 3);
    // From the most significant bit, offset 3 of length 2 is the same field.
    EXPECT_EQ(ReadBitFieldU8(&unit, 3, 2, kLeftToRight), 3);
    // Offset 1 from the top: bits 5 and 6.
    EXPECT_EQ(ReadBitFieldU8(&unit, 1, 2, kLeftToRight), 2);
    // Every order other than left to right counts from the bottom.
    EXPECT_EQ(ReadBitFieldU8(&unit, 1, 2, 7), 1);
}

TEST(BitFieldReaders, SignedReadersExtendTheSign) {
    const uint8_t unit = 0x07;  // the three lowest bits set
    EXPECT_EQ(ReadBitFieldS8(&unit, 0, 3, kRightToLeft), -1);
    EXPECT_EQ(ReadBitFieldU8(&unit, 0, 3, kRightToLeft), 7);
    EXPECT_EQ(ReadBitFieldS8(&unit, 1, 2, kRightToLeft), -1);
    EXPECT_EQ(ReadBitFieldS8(&unit, 2, 2, kRightToLeft), 1);

    const uint16_t half = 0x0F00;  // bits 8 to 11
    EXPECT_EQ(ReadBitFieldS16(&half, 8, 4, kRightToLeft), -1);
    EXPECT_EQ(ReadBitFieldU16(&half, 8, 4, kRightToLeft), 15);
    EXPECT_EQ(ReadBitFieldS16(&half, 4, 4, kLeftToRight), -1);

    const uint32_t word = 0x80000000u;
    EXPECT_EQ(ReadBitFieldS32(&word, 31, 1, kRightToLeft), -1);
    EXPECT_EQ(ReadBitFieldU32(&word, 0, 1, kLeftToRight), 1u);

    const uint64_t wide = 0x00F0000000000000ull;  // bits 52 to 55
    EXPECT_EQ(ReadBitFieldS64(&wide, 52, 4, kRightToLeft), -1);
    EXPECT_EQ(ReadBitFieldU64(&wide, 52, 4, kRightToLeft), 15u);
    EXPECT_EQ(ReadBitFieldU64(&wide, 8, 4, kLeftToRight), 15u);
}

TEST(BitFieldReaders, NoBitFieldGivesTheWholeUnit) {
    const uint8_t byte = 0xFE;
    EXPECT_EQ(ReadBitFieldS8(&byte, 0, 0, kLeftToRight), -2);
    EXPECT_EQ(ReadBitFieldU8(&byte, 0, 0, kLeftToRight), 254);
    const uint16_t half = 0x8001;
    EXPECT_EQ(ReadBitFieldS16(&half, 0, 0, kRightToLeft), -32767);
    const uint32_t word = 0xFFFFFFFFu;
    EXPECT_EQ(ReadBitFieldS32(&word, 0, 0, kRightToLeft), -1);
    EXPECT_EQ(ReadBitFieldU32(&word, 0, 0, kRightToLeft), 0xFFFFFFFFu);
    const uint64_t wide = 0x8000000000000000ull;
    EXPECT_EQ(ReadBitFieldS64(&wide, 0, 0, kRightToLeft), INT64_MIN);
    EXPECT_EQ(ReadBitFieldU64(&wide, 0, 0, kRightToLeft), 0x8000000000000000ull);
    // A field as wide as its unit is the unit itself.
    EXPECT_EQ(ReadBitFieldS64(&wide, 0, 64, kLeftToRight), INT64_MIN);
}

TEST(BitFieldReaders, UnalignedUnitsAreRead) {
    const uint8_t bytes[9] = {0, 0x78, 0x56, 0x34, 0x12, 0, 0, 0, 0};
    EXPECT_EQ(ReadBitFieldU32(bytes + 1, 0, 0, kRightToLeft), 0x12345678u);
    EXPECT_EQ(ReadBitFieldU16(bytes + 1, 4, 8, kRightToLeft), 0x67u);
    EXPECT_EQ(ReadBitFieldU64(bytes + 1, 0, 0, kRightToLeft), 0x12345678ull);
}

// Fields that do not lie inside their unit: cut at the unit's top, or 0 when
// nothing of them is inside; never an undefined shift.
TEST(BitFieldReaders, FieldsOutsideTheirUnit) {
    const uint8_t byte = 0xF0;
    EXPECT_EQ(ReadBitFieldU8(&byte, 6, 4, kRightToLeft), 3);   // bits 6 and 7 only
    EXPECT_EQ(ReadBitFieldS8(&byte, 6, 4, kRightToLeft), -1);  // the cut field's top bit is set
    EXPECT_EQ(ReadBitFieldU8(&byte, 9, 2, kRightToLeft), 0);
    EXPECT_EQ(ReadBitFieldU8(&byte, 200, 200, kRightToLeft), 0);
    EXPECT_EQ(ReadBitFieldU8(&byte, 5, 5, kLeftToRight), 0);  // position wraps beyond the unit
    EXPECT_EQ(ReadBitFieldU8(&byte, 4, 0, kRightToLeft), 0);  // length 0
    EXPECT_EQ(ReadBitFieldU8(&byte, 0, 12, kRightToLeft), 0xF0);
    const uint64_t wide = ~0ull;
    EXPECT_EQ(ReadBitFieldU64(&wide, 60, 10, kRightToLeft), 15u);
    EXPECT_EQ(ReadBitFieldS64(&wide, 0, 255, kLeftToRight), 0);
}

}  // namespace
