#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "ValueColumn.h"
#include "platform/MemoryProtection.h"

namespace {

// The Value column of one symbol at an offset into the given image.
class ValueColumnTest : public ::testing::Test {
protected:
    std::string Column(const void* image, uint64_t offset, uint64_t size, uint32_t type,
                       uint8_t bitOffset = 0, uint8_t bitLength = 0,
                       uint32_t bitOrder = BitfieldPackingOrder_RightToLeft) {
        return ColumnAt(reinterpret_cast<uint64_t>(image), offset, size, type, bitOffset, bitLength,
                        bitOrder);
    }
    std::string ColumnAt(uint64_t imageAddress, uint64_t offset, uint64_t size, uint32_t type,
                         uint8_t bitOffset = 0, uint8_t bitLength = 0,
                         uint32_t bitOrder = BitfieldPackingOrder_RightToLeft) {
        SymbolCacheMap cache;
        cache["symbol"] = std::make_unique<SymbolRecord>(offset, size, type, bitOffset, bitLength);
        return FormatValueColumn(*cache.begin(), imageAddress, bitOrder, memory);
    }
    static std::string Padded(const std::string& text) {
        return text + std::string(24 - text.size(), ' ') + ";";
    }

    ReadableMemory memory;
};

TEST_F(ValueColumnTest, IntegersInDecimal) {
    const int8_t s8 = -128;
    const uint8_t u8 = 255;
    const int16_t s16 = -32768;
    const uint16_t u16 = 65535;
    const int32_t s32 = INT32_MIN;
    const uint32_t u32 = UINT32_MAX;
    const int64_t s64 = INT64_MIN;
    const uint64_t u64 = UINT64_MAX;
    EXPECT_EQ(Column(&s8, 0, 1, SymbolType_s8), Padded("-128"));
    EXPECT_EQ(Column(&u8, 0, 1, SymbolType_u8), Padded("255"));
    EXPECT_EQ(Column(&s16, 0, 2, SymbolType_s16), Padded("-32768"));
    EXPECT_EQ(Column(&u16, 0, 2, SymbolType_u16), Padded("65535"));
    EXPECT_EQ(Column(&s32, 0, 4, SymbolType_s32), Padded("-2147483648"));
    EXPECT_EQ(Column(&u32, 0, 4, SymbolType_u32), Padded("4294967295"));
    EXPECT_EQ(Column(&s64, 0, 8, SymbolType_s64), Padded("-9223372036854775808"));
    EXPECT_EQ(Column(&u64, 0, 8, SymbolType_u64), Padded("18446744073709551615"));
}

TEST_F(ValueColumnTest, ValueLiesAtImagePlusOffset) {
    const uint32_t words[3] = {1, 2, 3};
    EXPECT_EQ(Column(words, 8, 4, SymbolType_u32), Padded("3"));
}

TEST_F(ValueColumnTest, FloatsInGeneralFormat) {
    const float f32 = 0.1f;
    const double f64 = 0.1;
    EXPECT_EQ(Column(&f32, 0, 4, SymbolType_float32), Padded("0.100000001"));
    EXPECT_EQ(Column(&f64, 0, 8, SymbolType_float64), Padded("0.10000000000000001"));
    const float whole = 2.0f;
    const double large = 1e300;
    const double small = -1.5e-7;
    EXPECT_EQ(Column(&whole, 0, 4, SymbolType_float32), Padded("2"));
    EXPECT_EQ(Column(&large, 0, 8, SymbolType_float64), Padded("1.0000000000000001e+300"));
    EXPECT_EQ(Column(&small, 0, 8, SymbolType_float64), Padded("-1.4999999999999999e-07"));
    // The longest double text fills the column exactly.
    const double longest = -2.2250738585072014e-308;
    EXPECT_EQ(Column(&longest, 0, 8, SymbolType_float64), "-2.2250738585072014e-308;");
}

TEST_F(ValueColumnTest, EnumerationsBySize) {
    const uint8_t bytes[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(Column(bytes, 0, 1, SymbolType_Enumeration), Padded("-1"));
    EXPECT_EQ(Column(bytes, 0, 2, SymbolType_Enumeration), Padded("-1"));
    EXPECT_EQ(Column(bytes, 0, 4, SymbolType_Enumeration), Padded("-1"));
    EXPECT_EQ(Column(bytes, 0, 8, SymbolType_Enumeration), Padded("-1"));
    EXPECT_EQ(Column(bytes, 0, 3, SymbolType_Enumeration), Padded("0"));
    const int32_t mode = 70000;
    EXPECT_EQ(Column(&mode, 0, 4, SymbolType_Enumeration), Padded("70000"));
    // A one-byte enumeration reads one byte only.
    const uint8_t pair[2] = {0x02, 0x7F};
    EXPECT_EQ(Column(pair, 0, 1, SymbolType_Enumeration), Padded("2"));
}

TEST_F(ValueColumnTest, BoolIsTheByteAsStored) {
    const uint8_t two = 2;
    EXPECT_EQ(Column(&two, 0, 1, SymbolType_bool), Padded("2"));
    const uint8_t withBits = 0xFF;  // no bit field for bool
    EXPECT_EQ(Column(&withBits, 0, 1, SymbolType_bool, 3, 1), Padded("255"));
}

TEST_F(ValueColumnTest, BitFieldsWithTheWritesOrder) {
    const uint8_t byte = 0x5A;
    EXPECT_EQ(Column(&byte, 0, 1, SymbolType_u8, 3, 2, BitfieldPackingOrder_RightToLeft), Padded("3"));
    EXPECT_EQ(Column(&byte, 0, 1, SymbolType_u8, 1, 2, BitfieldPackingOrder_LeftToRight), Padded("2"));
    const uint32_t word = 0x00000070;  // bits 4 to 6
    EXPECT_EQ(Column(&word, 0, 4, SymbolType_s32, 4, 3), Padded("-1"));
    EXPECT_EQ(Column(&word, 0, 4, SymbolType_Enumeration, 25, 3, BitfieldPackingOrder_LeftToRight),
              Padded("-1"));
}

TEST_F(ValueColumnTest, NoImageGivesZeroForTypesWithValues) {
    for (uint32_t type : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 10u, 14u, 17u})
        EXPECT_EQ(ColumnAt(0, 0x1000, 4, type), Padded("0")) << type;
    for (uint32_t type : {0u, 11u, 12u, 13u, 15u, 16u, 18u, 1000u})
        EXPECT_EQ(ColumnAt(0, 0x1000, 4, type), std::string(24, ' ') + ";") << type;
}

TEST_F(ValueColumnTest, TypesWithoutValueAreNotRead) {
    // The page at address 0 is never mapped: reading it would fault.
    for (uint32_t type : {0u, 11u, 12u, 13u, 15u, 16u}) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(ColumnAt(1, 0x10, 8, type), std::string(24, ' ') + ";") << type;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    }
    // An enumeration of an unusual size reads nothing either.
    testing::internal::CaptureStderr();
    EXPECT_EQ(ColumnAt(1, 0x10, 3, SymbolType_Enumeration), Padded("0"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(ValueColumnTest, UnreadableMemoryIsReportedAndLeavesTheColumnBlank) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(ColumnAt(0x100, 0xabc, 4, SymbolType_s32), std::string(24, ' ') + ";");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Exception while reading symbol: abs-addr: 0000000000000BBC, rel-addr: abc\n");

    // A value that begins in readable memory and runs into a page that
    // cannot be read.
    constexpr size_t kPage = 4096;
    auto* pages = static_cast<uint8_t*>(std::aligned_alloc(kPage, 2 * kPage));
    ASSERT_NE(pages, nullptr);
    std::memset(pages, 0, 2 * kPage);
    const auto second = reinterpret_cast<uint64_t>(pages) + kPage;
    ASSERT_EQ(platform::SetMemoryProtection(second, kPage, platform::ProtectionNone), 0);
    ReadableMemory fresh;
    SymbolCacheMap cache;
    cache["straddling"] = std::make_unique<SymbolRecord>(kPage - 4, 8, SymbolType_float64, 0, 0);
    cache["inside"] = std::make_unique<SymbolRecord>(kPage - 8, 8, SymbolType_float64, 0, 0);
    testing::internal::CaptureStderr();
    const std::string straddling = FormatValueColumn(*cache.find("straddling"),
                                                     reinterpret_cast<uint64_t>(pages), 0, fresh);
    const std::string inside = FormatValueColumn(*cache.find("inside"),
                                                 reinterpret_cast<uint64_t>(pages), 0, fresh);
    const std::string message = testing::internal::GetCapturedStderr();
    ASSERT_EQ(platform::SetMemoryProtection(second, kPage,
                                            platform::ProtectionRead | platform::ProtectionWrite),
              0);
    std::free(pages);

    EXPECT_EQ(straddling, std::string(24, ' ') + ";");
    EXPECT_EQ(inside, Padded("0"));
    EXPECT_EQ(message.rfind("Exception while reading straddling: abs-addr: ", 0), 0u) << message;
}

}  // namespace
