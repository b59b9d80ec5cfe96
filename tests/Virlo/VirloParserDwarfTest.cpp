#include <gtest/gtest.h>

#include "DwarfTestSupport.h"
#include "ParserInstances.h"
#include "VirloParserDwarf.h"

namespace {

using dwarftest::TempDieFile;

const char* const kSmallDie =
    "0000000000001000 D counter\n"
    "0000000000002000 t helper\n"
    "0000000000002100 t helper\n"
    " <0><b>: Abbrev Number: 1 (DW_TAG_compile_unit)\n"
    " <1><c>: Abbrev Number: 2 (DW_TAG_base_type)\n"
    "    <d>   DW_AT_byte_size   : 4\n"
    "    <e>   DW_AT_name        : int\n"
    " <1><f>: Abbrev Number: 3 (DW_TAG_variable)\n"
    "    <10>   DW_AT_name        : counter\n"
    "    <11>   DW_AT_type        : <0xc>\n"
    " <1><12>: Abbrev Number: 0\n";

TEST(VirloParserDwarf, InitTakesThePathOnceUntilTerminate) {
    VirloParserDwarf parser;
    EXPECT_EQ(parser.Init("/ecu/app.so", "ignored"), 0);
    EXPECT_TRUE(parser.initialised);
    EXPECT_EQ(parser.diePath, "/ecu/app.die");
    EXPECT_EQ(parser.Init("/other/x.so", ""), 1);
    EXPECT_EQ(parser.diePath, "/ecu/app.die");
    parser.Terminate(false);
    EXPECT_FALSE(parser.initialised);
    EXPECT_EQ(parser.Init("/other/x.so", ""), 0);
    EXPECT_EQ(parser.diePath, "/other/x.die");
}

TEST(VirloParserDwarf, CacheReadsParsesAndResolves) {
    TempDieFile file(kSmallDie, "app.die");
    VirloParserDwarf parser;
    parser.Init(file.folder() + "/app.so", "");
    EXPECT_EQ(parser.Cache("*"), 0);
    const SymbolRecord* counter = parser.FindSymbol("counter");
    ASSERT_NE(counter, nullptr);
    EXPECT_EQ(counter->address, 0x1000u);
    EXPECT_EQ(counter->size, 4u);
    EXPECT_EQ(parser.nonUniqueNames, std::set<std::string>{"helper"});
}

TEST(VirloParserDwarf, SecondCacheDoesNotDoubleTheEntries) {
    TempDieFile file(kSmallDie, "app.die");
    VirloParserDwarf parser;
    parser.Init(file.folder() + "/app.so", "");
    parser.Cache("*");
    const size_t lines = parser.lines.size();
    const size_t entries = parser.ownedEntryCount();
    const size_t named = parser.entriesByName.size();
    parser.Cache("*");
    EXPECT_EQ(parser.lines.size(), lines);
    EXPECT_EQ(parser.ownedEntryCount(), entries);
    EXPECT_EQ(parser.entriesByName.size(), named);
    EXPECT_EQ(parser.chunks.size(), 1u);
    ASSERT_NE(parser.FindSymbol("counter"), nullptr);
    EXPECT_EQ(parser.FindSymbol("counter")->size, 4u);
}

TEST(VirloParserDwarf, ClearCacheKeepsTheTextAndTerminateDropsEverything) {
    TempDieFile file(kSmallDie, "app.die");
    VirloParserDwarf parser;
    parser.Init(file.folder() + "/app.so", "");
    parser.Cache("*");
    parser.imageBase = 0x77;
    parser.arrayDimensions.push_back(3);

    EXPECT_EQ(parser.ClearCache(), 0);
    EXPECT_TRUE(parser.SymbolCache.empty());
    EXPECT_TRUE(parser.nonUniqueNames.empty());
    EXPECT_TRUE(parser.arrayDimensions.empty());
    EXPECT_FALSE(parser.lines.empty());
    EXPECT_FALSE(parser.entriesByOffset.empty());

    parser.Cache("*");
    parser.Terminate(true);
    EXPECT_TRUE(parser.chunks.empty());
    EXPECT_TRUE(parser.lines.empty());
    EXPECT_TRUE(parser.entriesByOffset.empty());
    EXPECT_TRUE(parser.entriesByName.empty());
    EXPECT_TRUE(parser.entriesBySpecification.empty());
    EXPECT_EQ(parser.ownedEntryCount(), 0u);
    EXPECT_TRUE(parser.SymbolCache.empty());
    EXPECT_EQ(parser.nonUniqueNames, std::set<std::string>{"helper"});
}

TEST(VirloParserDwarf, CacheOfAMissingFileCachesNothing) {
    VirloParserDwarf parser;
    parser.Init("/nonexistent/folder/app.so", "");
    EXPECT_EQ(parser.Cache("*"), 0);
    EXPECT_TRUE(parser.SymbolCache.empty());
}

TEST(DwarfParserInstance, IsOneObjectOfTheDwarfKind) {
    VirloParser* first = DwarfParserInstance();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(DwarfParserInstance(), first);
    EXPECT_NE(dynamic_cast<VirloParserDwarf*>(first), nullptr);
}

}  // namespace
