#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "ParserInstances.h"
#include "VirloCoreTestSupport.h"
#include "VirloParserSymbolDetails.h"

namespace {

using namespace virlo_core_test;

// A row as the writer makes it (16-digit address, value column left blank).
std::string Row(uint64_t address, const std::string& name, const std::string& type = "s32",
                uint64_t size = 4) {
    char text[64];
    std::snprintf(text, sizeof text, "0x%016llx;", static_cast<unsigned long long>(address));
    std::string sizeText = std::to_string(size);
    sizeText.resize(11, ' ');
    std::string typeText = type;
    if (typeText.size() < 17) typeText.resize(17, ' ');
    return text + sizeText + ";" + typeText + ";0     ;0     ;" + std::string(24, ' ') + ";" + name + "\n";
}

std::string Rows(int count, int firstNumber = 0) {
    std::string text;
    for (int i = 0; i < count; ++i) text += Row(0x1000 + 4 * i, "row" + std::to_string(firstNumber + i));
    return text;
}

class SymbolDetailsReaderTest : public ::testing::Test {
protected:
    void SetUp() override { SymbolDetailsLineLimit = 10000; }
    void TearDown() override { SymbolDetailsLineLimit = savedLimit; }

    // Writes the table and initialises the parser on it.
    void Open(const std::string& text) {
        WriteText(table, text);
        ASSERT_EQ(parser.Init(table, "ignored"), 0);
    }

    // The names that the next Cache call caches, with its result first.
    std::pair<int, std::vector<std::string>> NextBatch() {
        const int result = parser.Cache("*");
        std::vector<std::string> names;
        for (const auto& entry : parser.SymbolCache) names.push_back(entry.first);
        return {result, names};
    }

    const SymbolRecord& Record(const std::string& name) {
        const SymbolRecord* record = parser.FindSymbol(name);
        static const SymbolRecord none(~0ull, ~0ull, ~0u, 0xFF, 0xFF);
        EXPECT_NE(record, nullptr) << name;
        return record != nullptr ? *record : none;
    }

    using Batch = std::pair<int, std::vector<std::string>>;

    const uint32_t savedLimit = SymbolDetailsLineLimit;
    TempFolder folder;
    std::string table = folder.File("SymbolDetails.txt");
    VirloParserSymbolDetails parser;
};

TEST_F(SymbolDetailsReaderTest, WritersTableIsReadBatchByBatch) {
    CacheOnlyParser writer;
    writer.Add("gamma", 0x30, 4, SymbolType_s32);
    writer.Add("alpha", 0x10, 2, SymbolType_u16);
    writer.Add("beta", 0x20, 8, SymbolType_float64);
    writer.nonUniqueNames = {"dup1", "dup2"};
    ASSERT_EQ(writer.WriteToFile(table, 0, AddressWidth_Bits64, 0), 0);
    ASSERT_EQ(parser.Init(table, ""), 0);

    EXPECT_EQ(NextBatch(), Batch(1, {}));  // the count line
    EXPECT_EQ(NextBatch(), Batch(1, {}));  // the header
    EXPECT_EQ(NextBatch(), Batch(1, {"alpha", "beta", "gamma"}));  // ended by the empty line
    EXPECT_EQ(NextBatch(), Batch(1, {}));  // the footer
    EXPECT_EQ(NextBatch(), Batch(1, {}));  // dup1
    EXPECT_EQ(NextBatch(), Batch(1, {}));  // dup2
    EXPECT_EQ(NextBatch(), Batch(0, {}));
    EXPECT_EQ(NextBatch(), Batch(0, {}));
}

TEST_F(SymbolDetailsReaderTest, RowsGiveTheirRecords) {
    Open("0x0000000000000010;4          ;s32              ;0     ;0     ;-5                      ;counter\n"
         "0x0000000000000018;           ;Pointer          ;0     ;0     ;                        ;pointer one\n"
         "0x00000020        ;1          ;u8               ;3     ;2     ;1                       ;flags.mode\n"
         "0x0000000000000028;24         ;User-Defined Type;0     ;0     ;                        ;record\n"
         "0x30;2;pointer;0;0;;lower case\n"
         "0xFFFFFFFFFFFFFFFFFF;99999999999999999999999;s8;300;4294967296;;saturated\n"
         "0x40;8;float64;;;x;empty bits\n");
    EXPECT_EQ(parser.Cache(""), 0);
    EXPECT_EQ(parser.SymbolCache.size(), 7u);

    const SymbolRecord& counter = Record("counter");
    EXPECT_EQ(counter.address, 0x10u);
    EXPECT_EQ(counter.size, 4u);
    EXPECT_EQ(counter.typeCode, SymbolType_s32);
    const SymbolRecord& pointer = Record("pointer one");
    EXPECT_EQ(pointer.size, 0u);  // empty size column
    EXPECT_EQ(pointer.typeCode, SymbolType_Pointer);
    const SymbolRecord& flags = Record("flags.mode");
    EXPECT_EQ(flags.address, 0x20u);
    EXPECT_EQ(flags.bitOffset, 3);
    EXPECT_EQ(flags.bitLength, 2);
    EXPECT_EQ(Record("record").typeCode, SymbolType_UserDefinedType);
    EXPECT_EQ(Record("lower case").typeCode, SymbolType_Unknown);
    const SymbolRecord& saturated = Record("saturated");
    EXPECT_EQ(saturated.address, UINT64_MAX);
    EXPECT_EQ(saturated.size, UINT64_MAX);
    EXPECT_EQ(saturated.bitOffset, 300 % 256);
    EXPECT_EQ(saturated.bitLength, 255);  // read as 32 bits: saturates at 0xFFFFFFFF
    const SymbolRecord& emptyBits = Record("empty bits");
    EXPECT_EQ(emptyBits.typeCode, SymbolType_float64);
    EXPECT_EQ(emptyBits.bitOffset, 0);
}

TEST_F(SymbolDetailsReaderTest, RowsThatDoNotMatchAreSkipped) {
    Open("0 symbol(s) found, 0 symbol(s) with non-unique name(s).\n"  // a '0' line, no row
         "0x10;4;s32;0;0;v;kept\n"
         "0x10;4;s32;0;v;broken\n"
         "0junk before 0x20;4;u32;0;0;v;found inside\n"
         "Address;header\n"
         "0x30;4;s32;0;0;v;later\n");
    EXPECT_EQ(NextBatch(), Batch(1, {"found inside", "kept"}));
    EXPECT_EQ(NextBatch(), Batch(0, {"later"}));
}

TEST_F(SymbolDetailsReaderTest, TenThousandRowsPerCallForSymbolDetails) {
    Open(Rows(10000));
    EXPECT_EQ(parser.Cache(""), 1);
    EXPECT_EQ(parser.SymbolCache.size(), 10000u);
    EXPECT_EQ(NextBatch(), Batch(0, {}));

    parser.Terminate(false);
    Open(Rows(10001));
    EXPECT_EQ(parser.Cache(""), 1);
    EXPECT_EQ(parser.SymbolCache.size(), 10000u);
    EXPECT_EQ(NextBatch(), Batch(0, {"row10000"}));
}

TEST_F(SymbolDetailsReaderTest, LiftedLimitReadsEveryRowAtOnce) {
    SymbolDetailsLineLimit = 0xFFFFFFFFu;
    Open(Rows(25000) + "\n" + Rows(3, 25000));
    EXPECT_EQ(parser.Cache(""), 1);
    EXPECT_EQ(parser.SymbolCache.size(), 25000u);
    EXPECT_EQ(NextBatch(), Batch(0, {"row25000", "row25001", "row25002"}));
}

// However long the batch, a name met again far down its rows is compared
// with its first row.
TEST_F(SymbolDetailsReaderTest, LongBatchAppliesTheRuleOverAllItsRows) {
    SymbolDetailsLineLimit = 0xFFFFFFFFu;
    Open(Row(0x10, "early") + Row(0x20, "kept") + Rows(20000) + Row(0x30, "early") + Row(0x20, "kept", "u8"));
    EXPECT_EQ(parser.Cache(""), 0);
    EXPECT_EQ(parser.SymbolCache.size(), 20001u);
    EXPECT_EQ(parser.FindSymbol("early"), nullptr);
    EXPECT_EQ(parser.nonUniqueNames, std::set<std::string>{"early"});
    EXPECT_EQ(Record("kept").typeCode, SymbolType_s32);
}

TEST_F(SymbolDetailsReaderTest, NonUniqueNamesWithinAndAcrossBatches) {
    SymbolDetailsLineLimit = 3;
    Open(Row(0x10, "same") + Row(0x10, "same", "u32", 8) + Row(0x20, "split") +  // batch 1
         Row(0x30, "split") + Row(0x40, "split") + Row(0x50, "other") +       // batch 2
         Row(0x60, "split") + Row(0x70, "same"));                              // batch 3
    // The same name at the same address keeps its first row.
    EXPECT_EQ(NextBatch(), Batch(1, {"same", "split"}));
    EXPECT_EQ(Record("same").typeCode, SymbolType_s32);
    EXPECT_EQ(Record("same").size, 4u);
    // Earlier batches are not compared: split is cached again, then found
    // at a second address within this batch.
    EXPECT_EQ(NextBatch(), Batch(1, {"other"}));
    EXPECT_EQ(parser.nonUniqueNames, std::set<std::string>{"split"});
    // Once non-unique, skipped in every later batch of the session.
    EXPECT_EQ(NextBatch(), Batch(0, {"same"}));
    EXPECT_EQ(parser.nonUniqueNames, std::set<std::string>{"split"});
    // ClearCache ends that: the set belongs to the table being read.
    EXPECT_EQ(parser.ClearCache(), 0);
    EXPECT_TRUE(parser.SymbolCache.empty());
    EXPECT_TRUE(parser.nonUniqueNames.empty());
}

TEST_F(SymbolDetailsReaderTest, CarriageReturnsBeforeLineFeedsAreLineEnds) {
    Open("header\r\n0x10;4;s32;0;0;v;name\r\n\r\n0x20;4;s32;0;0;v;last\r\n");
    EXPECT_EQ(NextBatch(), Batch(1, {}));
    EXPECT_EQ(NextBatch(), Batch(1, {"name"}));  // "\r\n" alone is the empty line
    EXPECT_EQ(NextBatch(), Batch(0, {"last"}));
}

TEST_F(SymbolDetailsReaderTest, LastLineWithoutLineFeedIsNotRead) {
    Open("0x10;4;s32;0;0;v;first\n0x20;4;s32;0;0;v;unterminated");
    EXPECT_EQ(NextBatch(), Batch(0, {"first"}));
}

TEST_F(SymbolDetailsReaderTest, OverlongLinesAreCutAndReadingGoesOn) {
    std::string longName;
    while (longName.size() < 70000) longName += "ab ";
    const std::string longRow = "0x10;4;s32;0;0;v;" + longName;
    Open(longRow + "\n" + "0x20;4;s32;0;0;v;next\n" + std::string(100000, 'x') + "\n" +
         "0x30;4;s32;0;0;v;after\n" + "0x40;4;s32;0;0;v;" + longName);
    // The long row counts with its first 65535 characters, the rest of it is skipped.
    const std::string cutName = longRow.substr(0, 65535).substr(17);
    EXPECT_EQ(parser.Cache(""), 1);  // ended by the long line of x
    EXPECT_EQ(parser.SymbolCache.size(), 2u);
    EXPECT_NE(parser.FindSymbol("next"), nullptr);
    EXPECT_NE(parser.FindSymbol(cutName), nullptr);
    // The long line's rest was skipped: reading goes on with the next line.
    EXPECT_EQ(NextBatch(), Batch(0, {"after"}));
    EXPECT_EQ(NextBatch(), Batch(0, {}));
}

TEST_F(SymbolDetailsReaderTest, OverlongLastLineDoesNotStallReading) {
    Open("0x10;4;s32;0;0;v;first\n" + std::string(200000, '0'));
    EXPECT_EQ(NextBatch(), Batch(0, {"first"}));
}

TEST_F(SymbolDetailsReaderTest, SecondInitIsRefused) {
    Open(Rows(2));
    EXPECT_EQ(parser.Init(table, ""), 5);
    EXPECT_EQ(NextBatch(), Batch(0, {"row0", "row1"}));
    // After Terminate the table is read again from the top.
    parser.Terminate(false);
    ASSERT_EQ(parser.Init(table, ""), 0);
    EXPECT_EQ(NextBatch(), Batch(0, {"row0", "row1"}));
}

TEST_F(SymbolDetailsReaderTest, MissingTable) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(parser.Init(table, ""), 5);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Fail to open the file " + table + "\n");
    // Still initialised: refused at once, without a message.
    testing::internal::CaptureStderr();
    EXPECT_EQ(parser.Init(table, ""), 5);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    // A table that is not open gives nothing and ends at once, so a caller
    // that reads until the end stops.
    EXPECT_EQ(NextBatch(), Batch(0, {}));
    EXPECT_EQ(parser.WriteToFile("", 0, AddressWidth_Bits64, 0), 0);
    EXPECT_FALSE(std::filesystem::exists(table + ".tmp"));
}

TEST_F(SymbolDetailsReaderTest, CompanionThatCannotBeOpened) {
    WriteText(table, Rows(1));
    std::filesystem::create_directory(table + ".tmp");
    testing::internal::CaptureStderr();
    EXPECT_EQ(parser.Init(table, ""), 5);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Fail to open the file " + table + ".tmp\n");
}

TEST_F(SymbolDetailsReaderTest, FolderSelectionNamesTheTable) {
    WriteText(folder.File("RawSymbolDetails.txt"), Rows(1));
    parser.activePath = folder.File("RawSymbolDetails.txt");
    ASSERT_EQ(parser.Init(folder.Path(), ""), 0);
    EXPECT_EQ(NextBatch(), Batch(0, {"row0"}));
    EXPECT_TRUE(std::filesystem::exists(folder.File("RawSymbolDetails.txt.tmp")));
}

TEST_F(SymbolDetailsReaderTest, TerminateWithReplaceWithoutWritesEmptiesTheTable) {
    Open(Rows(3));
    EXPECT_EQ(parser.Cache(""), 0);
    parser.Terminate(true);
    EXPECT_EQ(ReadText(table), "");
    EXPECT_FALSE(std::filesystem::exists(table + ".tmp"));
    EXPECT_TRUE(parser.SymbolCache.empty());
    EXPECT_FALSE(parser.initialised);
}

TEST_F(SymbolDetailsReaderTest, LeftoverCompanionIsAppendedTo) {
    WriteText(table + ".tmp", "left over\n");
    Open("header\n");
    EXPECT_EQ(parser.Cache(""), 1);
    EXPECT_EQ(parser.WriteToFile("", 0, AddressWidth_Bits64, 0), 0);
    parser.Terminate(false);
    EXPECT_EQ(ReadText(table), "header\n");
    EXPECT_EQ(ReadText(table + ".tmp"), "left over\nheader\n");
}

// A rewritten table that did not reach the disk whole must not replace the
// table.
TEST_F(SymbolDetailsReaderTest, CompanionThatFailedToWriteDoesNotReplaceTheTable) {
    WriteText(table, "count\n" + Rows(3));
    std::filesystem::create_symlink("/dev/full", table + ".tmp");
    ASSERT_EQ(parser.Init(table, ""), 0);
    while (parser.Cache("") == 1) parser.WriteToFile("", 0, AddressWidth_Bits64, 0);
    parser.WriteToFile("", 0, AddressWidth_Bits64, 0);
    testing::internal::CaptureStderr();
    parser.Terminate(true);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Fail to write the file " + table + ".tmp\n");
    EXPECT_EQ(ReadText(table), "count\n" + Rows(3));
    EXPECT_FALSE(parser.initialised);
}

// Alternating Cache and WriteToFile until Cache gives 0 (and writing once
// more) rewrites the table, every line that is no row in its place.
TEST_F(SymbolDetailsReaderTest, RewritingReproducesTheWritersTable) {
    CacheOnlyParser writer;
    writer.Add("gamma", 0x30, 4, SymbolType_s32, 0, 0);
    writer.Add("alpha", 0x10, 1, SymbolType_u8, 3, 2);
    writer.Add("beta", 0x20, 8, SymbolType_Array);
    writer.Add("delta", 0x20, 8, SymbolType_float64);
    writer.nonUniqueNames = {"dup"};
    ASSERT_EQ(writer.WriteToFile(table, 0, AddressWidth_Bits32, 0), 0);
    const std::string original = ReadText(table);

    ASSERT_EQ(parser.Init(table, ""), 0);
    int calls = 0;
    int result;
    do {
        result = parser.Cache("");
        EXPECT_EQ(parser.WriteToFile("ignored", 0, AddressWidth_Bits32, 0), 0);
        ++calls;
    } while (result == 1 && calls < 100);
    EXPECT_EQ(calls, 6);
    parser.Terminate(true);
    EXPECT_EQ(ReadText(table), original);
}

TEST_F(SymbolDetailsReaderTest, RewriteWithOtherAddressWidthKeepsOnlyTheOtherLines) {
    Open("count\n" + Rows(2) + "\nfooter\n");
    while (parser.Cache("") == 1) parser.WriteToFile("", 0, 7, 0);
    parser.WriteToFile("", 0, 7, 0);
    parser.Terminate(true);
    EXPECT_EQ(ReadText(table), "count\n\nfooter\n");
}

TEST_F(SymbolDetailsReaderTest, RewriteDropsRowsOfNamesFoundNonUnique) {
    Open(Row(0x10, "twice") + Row(0x20, "twice") + Row(0x30, "kept") + Row(0x30, "kept"));
    EXPECT_EQ(parser.Cache(""), 0);
    parser.WriteToFile("", 0, AddressWidth_Bits64, 0);
    parser.Terminate(true);
    EXPECT_EQ(ReadText(table),
              "0x0000000000000030;4          ;s32              ;0     ;0     ;0                       ;kept\n");
}

}  // namespace
