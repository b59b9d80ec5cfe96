#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "VirloCoreTestSupport.h"

namespace {

using namespace virlo_core_test;

const std::string kHeader =
    "Address           ;Size       ;Type             ;BF-Ofs;BF-Len;Value                   ;Symbol Name";
const std::string kFooter =
    "The following symbol names were non-unique (same name, various addresses).";
const std::string kBlankValue = std::string(24, ' ') + ";";
const std::string kZeroValue = "0" + std::string(23, ' ') + ";";

class SymbolDetailsWriterTest : public ::testing::Test {
protected:
    std::vector<std::string> Write(uint32_t addressWidth, uint64_t imageAddress = 0,
                                   uint32_t bitOrder = BitfieldPackingOrder_RightToLeft) {
        EXPECT_EQ(parser.WriteToFile(table, imageAddress, addressWidth, bitOrder), 0);
        EXPECT_FALSE(std::filesystem::exists(table + ".tmp"));
        return SplitLines(ReadText(table));
    }

    TempFolder folder;
    std::string table = folder.File("SymbolDetails.txt");
    CacheOnlyParser parser;
};

TEST_F(SymbolDetailsWriterTest, EmptyCacheGivesCountHeaderAndFooter) {
    const std::vector<std::string> expected = {
        "0 symbol(s) found, 0 symbol(s) with non-unique name(s).", kHeader, "", kFooter};
    EXPECT_EQ(Write(AddressWidth_Bits64), expected);
    EXPECT_EQ(ReadText(table).back(), '\n');
}

TEST_F(SymbolDetailsWriterTest, RowsInAddressOrderWithFixedColumns) {
    parser.Add("zeta", 0x10, 4, SymbolType_s32);
    parser.Add("beta", 0x20, 8, SymbolType_float64);
    parser.Add("alpha", 0x20, 24, SymbolType_UserDefinedType);
    parser.Add("flag", 0x8, 1, SymbolType_u8, 3, 2);
    parser.nonUniqueNames = {"twice", "again"};

    const std::vector<std::string> expected = {
        "4 symbol(s) found, 2 symbol(s) with non-unique name(s).",
        kHeader,
        "0x0000000000000008;1          ;u8               ;3     ;2     ;" + kZeroValue + "flag",
        "0x0000000000000010;4          ;s32              ;0     ;0     ;" + kZeroValue + "zeta",
        // Two symbols at one address: the name that sorts first comes first.
        "0x0000000000000020;24         ;User-Defined Type;0     ;0     ;" + kBlankValue + "alpha",
        "0x0000000000000020;8          ;float64          ;0     ;0     ;" + kZeroValue + "beta",
        "",
        kFooter,
        "again",
        "twice",
    };
    EXPECT_EQ(Write(AddressWidth_Bits64), expected);
}

TEST_F(SymbolDetailsWriterTest, NarrowAddressesAndWiderValues) {
    parser.Add("small", 0xabc, 2, SymbolType_Pointer);
    parser.Add("large", 0x123456789ull, 12345678901234ull, SymbolType_Array, 200, 255);
    const std::vector<std::string> lines = Write(AddressWidth_Bits32);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[2],
              "0x00000abc        ;2          ;Pointer          ;0     ;0     ;" + kBlankValue + "small");
    // Longer text widens its column; nothing is cut.
    EXPECT_EQ(lines[3],
              "0x123456789        ;12345678901234;Array            ;200   ;255   ;" + kBlankValue + "large");
}

TEST_F(SymbolDetailsWriterTest, OtherAddressWidthLeavesRowsOut) {
    parser.Add("x", 0x10, 4, SymbolType_s32);
    parser.nonUniqueNames = {"y"};
    const std::vector<std::string> expected = {
        "1 symbol(s) found, 1 symbol(s) with non-unique name(s).", kHeader, "", kFooter, "y"};
    EXPECT_EQ(Write(2), expected);
}

TEST_F(SymbolDetailsWriterTest, TypeCodesShowTheirNames) {
    const char* names[] = {"Unknown", "s8",  "u8",    "s16",     "u16",     "s32",
                           "u32",     "s64", "u64",   "float32", "float64", "Void",
                           "Pointer", "Array", "Enumeration", "User-Defined Type", "Function", "bool"};
    for (uint32_t code = 0; code < 18; ++code)
        parser.Add("t" + std::to_string(100 + code), code, 1, code);
    parser.Add("t999", 99, 1, 4711);  // a code outside the table
    const std::vector<std::string> lines = Write(AddressWidth_Bits64);
    ASSERT_EQ(lines.size(), 2u + 19u + 2u);
    for (uint32_t code = 0; code < 18; ++code)
        EXPECT_EQ(lines[2 + code].substr(31, 17), (names[code] + std::string(17, ' ')).substr(0, 17));
    EXPECT_EQ(lines[20].substr(31, 8), "Unknown ");
}

TEST_F(SymbolDetailsWriterTest, ExistingTableIsReplaced) {
    WriteText(table, "old content\n");
    parser.Add("x", 0x10, 4, SymbolType_s32);
    EXPECT_EQ(Write(AddressWidth_Bits64).size(), 5u);
}

TEST_F(SymbolDetailsWriterTest, UncreatableTemporaryFileGivesThreeAndLeavesTargetAlone) {
    const std::string missing = folder.File("no-such-folder/SymbolDetails.txt");
    testing::internal::CaptureStderr();
    EXPECT_EQ(parser.WriteToFile(missing, 0, AddressWidth_Bits64, 0), 3);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "No such file or directory\n");
}

// A write that fails on the way (a full disk) must not put a cut table in the
// target's place.
TEST_F(SymbolDetailsWriterTest, FailedWriteKeepsTheTarget) {
    WriteText(table, "the old table\n");
    std::filesystem::create_symlink("/dev/full", table + ".tmp");
    parser.Add("x", 0x10, 4, SymbolType_s32);
    testing::internal::CaptureStderr();
    EXPECT_EQ(parser.WriteToFile(table, 0, AddressWidth_Bits64, 0), 3);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "No space left on device\n");
    EXPECT_EQ(ReadText(table), "the old table\n");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(table + ".tmp")));
}

TEST_F(SymbolDetailsWriterTest, FailedRenameRaisesAndKeepsTheTemporaryFile) {
    const std::string target = folder.File("taken");
    std::filesystem::create_directory(target);
    WriteText(folder.File("taken/inside"), "x");  // a directory that is not empty cannot be replaced
    parser.Add("x", 0x10, 4, SymbolType_s32);
    try {
        parser.WriteToFile(target, 0, AddressWidth_Bits64, 0);
        ADD_FAILURE() << "no error raised";
    } catch (const std::filesystem::filesystem_error& error) {
        EXPECT_NE(std::string(error.what()).find("rename"), std::string::npos) << error.what();
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(target + ".tmp"));
}

}  // namespace
