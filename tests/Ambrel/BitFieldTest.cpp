#include "BitField.h"

#include <gtest/gtest.h>

#include <limits>
#include <type_traits>

namespace {

constexpr uint32_t kRightToLeft = 0;
constexpr uint32_t kLeftToRight = 1;

TEST(BitField, ReadsTheFieldAtItsPositionInBothPackingOrders) {
    const uint8_t stored = 0b10110100;
    EXPECT_EQ(ExtractBitField_u8(&stored, 2, 3, kRightToLeft), 0b101);
    // Counted from the top: offset 2, width 3 are bits 3..5.
    EXPECT_EQ(ExtractBitField_u8(&stored, 2, 3, kLeftToRight), 0b110);
    // Offset 0 from the top is the most significant bit.
    EXPECT_EQ(ExtractBitField_u8(&stored, 0, 3, kLeftToRight), 0b101);
}

TEST(BitField, PackingOrdersOtherThanOneCountFromTheLeastSignificantBit) {
    const uint8_t stored = 0b10110100;
    EXPECT_EQ(ExtractBitField_u8(&stored, 2, 3, 7), 0b101);
    EXPECT_EQ(InsertBitField_u8(0, 2, 3, 0b111, 7), 0b00011100);
}

TEST(BitField, SignedFieldsExtendTheirTopBit) {
    const int8_t signedUnit = 0b00111000;
    const uint8_t unsignedUnit = 0b00111000;
    EXPECT_EQ(ExtractBitField_s8(&signedUnit, 3, 3, kRightToLeft), -1);
    EXPECT_EQ(ExtractBitField_u8(&unsignedUnit, 3, 3, kRightToLeft), 7);
    EXPECT_EQ(ExtractBitField_s8(&signedUnit, 2, 3, kRightToLeft), -2);  // 0b110
    EXPECT_EQ(ExtractBitField_s8(&signedUnit, 3, 4, kRightToLeft), 7);   // 0b0111
}

TEST(BitField, InsertReplacesOnlyTheFieldAndDropsExcessBits) {
    // 9 = 0b1001 in a width-3 field keeps only 0b001.
    EXPECT_EQ(InsertBitField_u8(0b11111111, 2, 3, 9, kRightToLeft), 0b11100111);
    EXPECT_EQ(InsertBitField_u8(0b00000000, 2, 3, 9, kRightToLeft), 0b00000100);
    EXPECT_EQ(InsertBitField_u8(0b11111111, 2, 3, 9, kLeftToRight), 0b11001111);
    EXPECT_EQ(InsertBitField_s16(-1, 4, 3, 0, kRightToLeft), static_cast<int16_t>(0xFF8F));
}

TEST(BitField, NoFieldMeansTheWholeUnit) {
    const int32_t stored = -77;
    EXPECT_EQ(ExtractBitField_s32(&stored, 0, 0, kRightToLeft), -77);
    EXPECT_EQ(ExtractBitField_s32(&stored, 0, 0, kLeftToRight), -77);
    EXPECT_EQ(InsertBitField_s32(-77, 0, 0, 5, kRightToLeft), -77);
}

TEST(BitField, FullWidthFieldIsTheWholeValue) {
    const uint8_t stored = 0xA5;
    EXPECT_EQ(ExtractBitField_u8(&stored, 0, 8, kRightToLeft), 0xA5);
    EXPECT_EQ(ExtractBitField_u8(&stored, 0, 8, kLeftToRight), 0xA5);
    EXPECT_EQ(InsertBitField_u8(0xA5, 0, 8, 0x3C, kRightToLeft), 0x3C);
    const int64_t wide = std::numeric_limits<int64_t>::min() + 3;
    EXPECT_EQ(ExtractBitField_s64(&wide, 0, 64, kLeftToRight), wide);
    EXPECT_EQ(InsertBitField_u64(0, 0, 64, ~uint64_t{0}, kRightToLeft), ~uint64_t{0});
}

TEST(BitField, ZeroWidthWithAnOffsetReadsZeroAndInsertsNothing) {
    const uint8_t stored = 0xFF;
    EXPECT_EQ(ExtractBitField_u8(&stored, 3, 0, kRightToLeft), 0);
    EXPECT_EQ(ExtractBitField_u8(&stored, 3, 0, kLeftToRight), 0);
    EXPECT_EQ(InsertBitField_u8(0x5A, 3, 0, 0xFF, kRightToLeft), 0x5A);
    EXPECT_EQ(InsertBitField_u8(0x5A, 3, 0, 0xFF, kLeftToRight), 0x5A);
}

TEST(BitField, FieldBeyondTheUnitIsCutAtItsEdge) {
    const uint8_t stored = 0b11000011;
    // Bits 6..9 of a byte: only 6 and 7 exist.
    EXPECT_EQ(ExtractBitField_u8(&stored, 6, 4, kRightToLeft), 0b11);
    EXPECT_EQ(InsertBitField_u8(0, 6, 4, 0b1111, kRightToLeft), 0b11000000);
    // From the top, offset 6 and width 4 reach below bit 0: bits 1..0 remain.
    EXPECT_EQ(ExtractBitField_u8(&stored, 6, 4, kLeftToRight), 0b11);
    EXPECT_EQ(InsertBitField_u8(0, 6, 4, 0b0110, kLeftToRight), 0b00000010);
    // A field that starts outside the unit has no bit in it.
    EXPECT_EQ(ExtractBitField_u8(&stored, 9, 2, kRightToLeft), 0);
    EXPECT_EQ(ExtractBitField_u8(&stored, 9, 2, kLeftToRight), 0);
    EXPECT_EQ(InsertBitField_u8(0x81, 200, 255, 0xFF, kRightToLeft), 0x81);
    // Oversized widths on the widest unit must not shift by 64 or more.
    const int64_t wide = -1;
    EXPECT_EQ(ExtractBitField_s64(&wide, 60, 255, kRightToLeft), -1);
    EXPECT_EQ(ExtractBitField_u64(reinterpret_cast<const uint64_t*>(&wide), 60, 255, kLeftToRight),
              0xFu);
}

// The same rules for every storage type: a field at the very top of the
// unit, where sign handling and shifts are most fragile.
template <typename T>
struct BitFieldFunctions;

#define BIT_FIELD_FUNCTIONS(T, suffix)                                             \
    template <>                                                                    \
    struct BitFieldFunctions<T> {                                                  \
        static constexpr auto extract = ExtractBitField_##suffix;                  \
        static constexpr auto insert = InsertBitField_##suffix;                    \
    };
BIT_FIELD_FUNCTIONS(int8_t, s8)
BIT_FIELD_FUNCTIONS(uint8_t, u8)
BIT_FIELD_FUNCTIONS(int16_t, s16)
BIT_FIELD_FUNCTIONS(uint16_t, u16)
BIT_FIELD_FUNCTIONS(int32_t, s32)
BIT_FIELD_FUNCTIONS(uint32_t, u32)
BIT_FIELD_FUNCTIONS(int64_t, s64)
BIT_FIELD_FUNCTIONS(uint64_t, u64)
#undef BIT_FIELD_FUNCTIONS

template <typename T>
class BitFieldEveryType : public ::testing::Test {};
using StorageTypes = ::testing::Types<int8_t, uint8_t, int16_t, uint16_t, int32_t, uint32_t, int64_t, uint64_t>;
TYPED_TEST_SUITE(BitFieldEveryType, StorageTypes);

TYPED_TEST(BitFieldEveryType, TopFieldRoundTripsInBothOrders) {
    using T = TypeParam;
    using F = BitFieldFunctions<T>;
    constexpr unsigned N = sizeof(T) * 8;
    // Width 3 at the top: offset N-3 from the bottom, offset 0 from the top.
    const T field = static_cast<T>(0b101);
    const T right = F::insert(T(0), N - 3, 3, field, kRightToLeft);
    const T left = F::insert(T(0), 0, 3, field, kLeftToRight);
    EXPECT_EQ(right, left);
    const T expected = std::is_signed_v<T> ? static_cast<T>(-3) : static_cast<T>(5);
    EXPECT_EQ(F::extract(&right, N - 3, 3, kRightToLeft), expected);
    EXPECT_EQ(F::extract(&left, 0, 3, kLeftToRight), expected);
    // The other bits stay as they were.
    const T ones = static_cast<T>(~T(0));
    const T cleared = F::insert(ones, N - 3, 3, T(0), kRightToLeft);
    EXPECT_EQ(F::extract(&cleared, 0, N - 3, kRightToLeft), std::is_signed_v<T> ? T(-1) : static_cast<T>(ones >> 3));
    EXPECT_EQ(F::extract(&cleared, N - 3, 3, kRightToLeft), T(0));
}

TYPED_TEST(BitFieldEveryType, LowestBitAndWholeUnit) {
    using T = TypeParam;
    using F = BitFieldFunctions<T>;
    constexpr unsigned N = sizeof(T) * 8;
    const T one = F::insert(T(0), 0, 1, T(1), kRightToLeft);
    EXPECT_EQ(one, T(1));
    EXPECT_EQ(F::insert(T(0), N - 1, 1, T(1), kLeftToRight), T(1));
    const T value = std::numeric_limits<T>::min() + T(1);
    EXPECT_EQ(F::extract(&value, 0, static_cast<uint8_t>(N), kRightToLeft), value);
}

}  // namespace
