#include <gtest/gtest.h>

#include "DwarfEntry.h"
#include "DwarfTables.h"
#include "SymbolRecord.h"

namespace {

DwarfEntry BaseType(const std::string& name, uint64_t byteSize) {
    DwarfEntry entry;
    entry.tag = DwarfTag_base_type;
    entry.name = name;
    entry.byteSize = byteSize;
    return entry;
}

TEST(DwarfTagCode, NumbersTheTagNamesOfTheTable) {
    EXPECT_EQ(DwarfTagCode("DW_TAG_access_declaration"), 1u);
    EXPECT_EQ(DwarfTagCode("DW_TAG_array_type"), 2u);
    EXPECT_EQ(DwarfTagCode("DW_TAG_member"), 22u);
    EXPECT_EQ(DwarfTagCode("DW_TAG_structure_type"), 32u);
    EXPECT_EQ(DwarfTagCode("DW_TAG_variable"), 43u);
    EXPECT_EQ(DwarfTagCode("DW_TAG_with_stmt"), 47u);
    EXPECT_EQ(DwarfTagCode("DW_TAG_namespace"), 48u);
}

TEST(DwarfTagCode, OtherNamesGiveZero) {
    EXPECT_EQ(DwarfTagCode("DW_TAG_rvalue_reference_type"), 0u);
    EXPECT_EQ(DwarfTagCode("dw_tag_variable"), 0u);
    EXPECT_EQ(DwarfTagCode("DW_TAG_variabl"), 0u);
    EXPECT_EQ(DwarfTagCode("DW_TAG_variables"), 0u);
    EXPECT_EQ(DwarfTagCode(""), 0u);
    EXPECT_EQ(DwarfTagCode(nullptr), 0u);
}

TEST(MapDwarfBaseType, ComparesWholeSpellings) {
    EXPECT_EQ(MapDwarfBaseType(BaseType("unsigned long long", 8)), SymbolType_u64);
    EXPECT_EQ(MapDwarfBaseType(BaseType("_Bool", 1)), SymbolType_bool);
    EXPECT_EQ(MapDwarfBaseType(BaseType("long double", 16)), SymbolType_float64);
    testing::internal::CaptureStdout();
    EXPECT_EQ(MapDwarfBaseType(BaseType("unsigned", 4)), SymbolType_Unknown);
    EXPECT_EQ(MapDwarfBaseType(BaseType("int ", 4)), SymbolType_Unknown);
    testing::internal::GetCapturedStdout();
}

TEST(MapDwarfBaseType, LongFollowsTheByteSize) {
    EXPECT_EQ(MapDwarfBaseType(BaseType("long int", 4)), SymbolType_s32);
    EXPECT_EQ(MapDwarfBaseType(BaseType("long unsigned int", 4)), SymbolType_u32);
    EXPECT_EQ(MapDwarfBaseType(BaseType("long int", 8)), SymbolType_s64);
    EXPECT_EQ(MapDwarfBaseType(BaseType("signed long", 8)), SymbolType_s64);
    EXPECT_EQ(MapDwarfBaseType(BaseType("long unsigned int", 8)), SymbolType_u64);
    EXPECT_EQ(MapDwarfBaseType(BaseType("unsigned long", 8)), SymbolType_u64);
    // Everything else keeps its tabled code whatever the size.
    EXPECT_EQ(MapDwarfBaseType(BaseType("int", 8)), SymbolType_s32);
    EXPECT_EQ(MapDwarfBaseType(BaseType("long long int", 4)), SymbolType_s64);
}

TEST(MapDwarfBaseType, UnknownNamesGiveZeroWithAWarning) {
    for (const char* name : {"wchar_t", "char16_t", "unsigned __int128", "Int"}) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(MapDwarfBaseType(BaseType(name, 4)), SymbolType_Unknown);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  std::string("Warning: Unhandled base type for symbol with name ") + name + "\n");
    }
}

TEST(BaseTypeSizeFromName, FindsTheFirstWordInTableOrder) {
    EXPECT_EQ(BaseTypeSizeFromName("unsigned char"), 1);
    EXPECT_EQ(BaseTypeSizeFromName("wchar_t"), 1);
    EXPECT_EQ(BaseTypeSizeFromName("short unsigned int"), 2);
    EXPECT_EQ(BaseTypeSizeFromName("long unsigned int"), 8);
    EXPECT_EQ(BaseTypeSizeFromName("long long int"), 8);
    EXPECT_EQ(BaseTypeSizeFromName("long double"), 8);
    EXPECT_EQ(BaseTypeSizeFromName("unsigned int"), 4);
    EXPECT_EQ(BaseTypeSizeFromName("uint8_t"), 4);
    EXPECT_EQ(BaseTypeSizeFromName("float"), 0);
    EXPECT_EQ(BaseTypeSizeFromName("double"), 0);
    EXPECT_EQ(BaseTypeSizeFromName("bool"), 0);
    EXPECT_EQ(BaseTypeSizeFromName(""), 0);
}

}  // namespace
