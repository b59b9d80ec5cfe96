#include "SymbolAccessTypes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

template <typename T>
uint64_t AddressOf(T& variable) {
    return reinterpret_cast<uint64_t>(&variable);
}

TEST(SymbolAccessTypes, FactoriesStoreTheirArgumentsAndKinds) {
    uint16_t unit = 0;
    SymbolAccessPtr access = MakeSymbolAccess_u16(AddressOf(unit), 4, 3, 1);
    EXPECT_NE(dynamic_cast<SymbolAccess_u16*>(access.get()), nullptr);
    EXPECT_EQ(access->Address(), AddressOf(unit));
    EXPECT_EQ(access->bitOffset, 4);
    EXPECT_EQ(access->bitWidth, 3);
    EXPECT_EQ(access->packingOrder, 1u);
    EXPECT_EQ(access->ValueKind(), SymbolValueKind_integer);

    SymbolAccessPtr real = MakeSymbolAccess_f32(0x1234);
    EXPECT_EQ(real->Address(), 0x1234u);
    EXPECT_EQ(real->bitOffset, 0);
    EXPECT_EQ(real->bitWidth, 0);
    EXPECT_EQ(real->packingOrder, 0u);
    EXPECT_EQ(real->ValueKind(), SymbolValueKind_real);
    EXPECT_EQ(MakeSymbolAccess_f64(0)->ValueKind(), SymbolValueKind_real);
    EXPECT_EQ(MakeSymbolAccess_bool(0)->ValueKind(), SymbolValueKind_integer);
    EXPECT_EQ(MakeSymbolAccess_null(0)->ValueKind(), SymbolValueKind_none);
}

TEST(SymbolAccessTypes, SignedClassesSignExtendAndUnsignedZeroExtend) {
    int8_t s8 = -5;
    uint8_t u8 = 0xFB;
    int16_t s16 = -300;
    uint16_t u16 = 0xFED4;
    int32_t s32 = -70000;
    uint32_t u32 = 0xFFFFFFFF;
    int64_t s64 = std::numeric_limits<int64_t>::min();
    uint64_t u64 = ~uint64_t{0};
    EXPECT_EQ(MakeSymbolAccess_s8(AddressOf(s8), 0, 0, 0)->Read().integer, -5);
    EXPECT_EQ(MakeSymbolAccess_u8(AddressOf(u8), 0, 0, 0)->Read().integer, 0xFB);
    EXPECT_EQ(MakeSymbolAccess_s16(AddressOf(s16), 0, 0, 0)->Read().integer, -300);
    EXPECT_EQ(MakeSymbolAccess_u16(AddressOf(u16), 0, 0, 0)->Read().integer, 0xFED4);
    EXPECT_EQ(MakeSymbolAccess_s32(AddressOf(s32), 0, 0, 0)->Read().integer, -70000);
    EXPECT_EQ(MakeSymbolAccess_u32(AddressOf(u32), 0, 0, 0)->Read().integer, 0xFFFFFFFFll);
    EXPECT_EQ(MakeSymbolAccess_s64(AddressOf(s64), 0, 0, 0)->Read().integer, std::numeric_limits<int64_t>::min());
    EXPECT_EQ(MakeSymbolAccess_u64(AddressOf(u64), 0, 0, 0)->Read().word, ~uint64_t{0});
}

TEST(SymbolAccessTypes, WritesStoreTheLowBitsWithoutRangeCheck) {
    uint16_t u16 = 0;
    SymbolValue minusOne = IntegerSlot(-1);
    MakeSymbolAccess_u16(AddressOf(u16), 0, 0, 0)->Write(minusOne);
    EXPECT_EQ(u16, 0xFFFF);

    int8_t s8 = 0;
    SymbolValue wide = IntegerSlot(0x17F);
    MakeSymbolAccess_s8(AddressOf(s8), 0, 0, 0)->Write(wide);
    EXPECT_EQ(s8, 0x7F);

    uint32_t u32 = 0;
    SymbolValue big = IntegerSlot(0x123456789);
    MakeSymbolAccess_u32(AddressOf(u32), 0, 0, 0)->Write(big);
    EXPECT_EQ(u32, 0x23456789u);

    int64_t s64 = 0;
    SymbolValue all = IntegerSlot(std::numeric_limits<int64_t>::max());
    MakeSymbolAccess_s64(AddressOf(s64), 0, 0, 0)->Write(all);
    EXPECT_EQ(s64, std::numeric_limits<int64_t>::max());

    uint64_t u64 = 0;
    MakeSymbolAccess_u64(AddressOf(u64), 0, 0, 0)->Write(minusOne);
    EXPECT_EQ(u64, ~uint64_t{0});
}

TEST(SymbolAccessTypes, BitFieldAccessorsReadAndModifyOnlyTheirField) {
    uint8_t unit = 0b10110100;
    SymbolAccessPtr right = MakeSymbolAccess_u8(AddressOf(unit), 2, 3, 0);
    SymbolAccessPtr left = MakeSymbolAccess_u8(AddressOf(unit), 2, 3, 1);
    EXPECT_EQ(right->Read().integer, 5);
    EXPECT_EQ(left->Read().integer, 6);

    SymbolValue nine = IntegerSlot(9);
    right->Write(nine);
    EXPECT_EQ(unit, 0b10100100);  // only 0b001 reached the field

    int16_t signedUnit = 0x0070;  // bits 4..6 set
    SymbolAccessPtr field = MakeSymbolAccess_s16(AddressOf(signedUnit), 4, 3, 0);
    EXPECT_EQ(field->Read().integer, -1);
    SymbolValue two = IntegerSlot(2);
    field->Write(two);
    EXPECT_EQ(signedUnit, 0x0020);
    EXPECT_EQ(field->Read().integer, 2);
}

TEST(SymbolAccessTypes, FullWidthFieldReadsAndWritesTheWholeUnit) {
    uint8_t unit = 0xA5;
    SymbolAccessPtr access = MakeSymbolAccess_u8(AddressOf(unit), 0, 8, 0);
    EXPECT_EQ(access->Read().integer, 0xA5);
    SymbolValue value = IntegerSlot(0x3C);
    access->Write(value);
    EXPECT_EQ(unit, 0x3C);
}

TEST(SymbolAccessTypes, BoolReadsTheStoredByteAndWritesOneOrZero) {
    uint8_t byte = 2;
    SymbolAccessPtr access = MakeSymbolAccess_bool(AddressOf(byte));
    EXPECT_EQ(access->Read().integer, 2);
    SymbolValue value = IntegerSlot(0x100);  // non-zero, though its low byte is 0
    access->Write(value);
    EXPECT_EQ(byte, 1);
    value = IntegerSlot(0);
    access->Write(value);
    EXPECT_EQ(byte, 0);
}

TEST(SymbolAccessTypes, FloatIsWidenedOnReadAndNarrowedOnWrite) {
    float f32 = 0.0f;
    SymbolAccessPtr access = MakeSymbolAccess_f32(AddressOf(f32));
    SymbolValue value = RealSlot(0.1);
    access->Write(value);
    EXPECT_EQ(f32, 0.1f);
    EXPECT_EQ(access->Read().real, static_cast<double>(0.1f));
    EXPECT_NEAR(access->Read().real, 0.100000001490116, 1e-15);
    value = RealSlot(1e300);
    access->Write(value);
    EXPECT_TRUE(std::isinf(f32));
}

TEST(SymbolAccessTypes, DoubleIsExchangedAsIs) {
    double f64 = 0.0;
    SymbolAccessPtr access = MakeSymbolAccess_f64(AddressOf(f64));
    SymbolValue value = RealSlot(-0.0);
    access->Write(value);
    EXPECT_TRUE(std::signbit(f64));
    f64 = 1.0 / 3.0;
    EXPECT_EQ(access->Read().real, 1.0 / 3.0);
}

TEST(SymbolAccessTypes, NullReadsZeroAndIgnoresWrites) {
    SymbolAccessPtr access = MakeSymbolAccess_null(0);
    EXPECT_EQ(access->Read().word, 0u);
    SymbolValue value = IntegerSlot(42);
    access->Write(value);  // address 0: would fault if it wrote
    EXPECT_EQ(access->Read().word, 0u);
}

TEST(SymbolAccessTypes, UnalignedVariablesAreReadAndWritten) {
    alignas(8) unsigned char buffer[16] = {};
    const uint64_t address = reinterpret_cast<uint64_t>(buffer) + 1;
    SymbolAccessPtr access = MakeSymbolAccess_u32(address, 0, 0, 0);
    SymbolValue value = IntegerSlot(0xCAFEBABE);
    access->Write(value);
    EXPECT_EQ(access->Read().integer, 0xCAFEBABEll);
    uint32_t stored = 0;
    std::memcpy(&stored, buffer + 1, sizeof stored);
    EXPECT_EQ(stored, 0xCAFEBABEu);
    SymbolAccessPtr real = MakeSymbolAccess_f64(address);
    value = RealSlot(6.5);
    real->Write(value);
    EXPECT_EQ(real->Read().real, 6.5);
}

}  // namespace
