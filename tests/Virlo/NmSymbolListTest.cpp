#include <gtest/gtest.h>

#include "DwarfTestSupport.h"
#include "NmSymbolList.h"
#include "VirloParserDwarf.h"

namespace {

using dwarftest::TempDieFile;

struct ListedSymbols {
    explicit ListedSymbols(const std::string& text) : file(text) {
        parser.ReadDieFile(file.path());
        symbols = parser.ReadNmSymbolLines();
    }
    uint64_t address(const std::string& name) const { return symbols.at(name)->address; }
    TempDieFile file;
    VirloParserDwarf parser;
    SymbolCacheMap symbols;
};

TEST(ReadNmSymbolLines, ReadsRowsUntilTheFirstDieStart) {
    ListedSymbols list(
        "0000000000004008 D counter\n"
        "                 U puts\n"
        "0000000000000700 U undefinedWithAddress\n"
        "                 w __cxa_finalize\n"
        "00000000000001f0 T foo(int)\n"
        "not a row at all\n"
        "00000000000002a0 b name with blanks  \n"
        "a.so:     file format elf64-x86-64\n"
        " <0><c>: Abbrev Number: 11 (DW_TAG_compile_unit)\n"
        "0000000000000500 D after\n");
    ASSERT_EQ(list.symbols.size(), 3u);
    EXPECT_EQ(list.address("counter"), 0x4008u);
    EXPECT_EQ(list.address("foo"), 0x1f0u);
    EXPECT_EQ(list.address("name with blanks  "), 0x2a0u);
    const SymbolRecord& record = *list.symbols.at("counter");
    EXPECT_EQ(record.size, 0u);
    EXPECT_EQ(record.typeCode, 0u);
    EXPECT_EQ(list.parser.imageBase, 0u);
}

TEST(CutListedName, DropsArgumentListsAndFunctionScopes) {
    EXPECT_EQ(CutListedName("foo(int)"), "foo");
    EXPECT_EQ(CutListedName("ns::Engine::start(int) const"), "ns::Engine::start");
    EXPECT_EQ(CutListedName("(anonymous namespace)::counter"), "counter");
    EXPECT_EQ(CutListedName("(anonymous namespace)::tick(int)"), "(anonymous namespace)::tick");
    EXPECT_EQ(CutListedName("tick(int)::counted"), "counted");
    EXPECT_EQ(CutListedName("plain"), "plain");
    EXPECT_EQ(CutListedName("half(open"), "half(open");
    EXPECT_EQ(CutListedName("close)only"), "close)only");
    // A static variable of a C function, listed with a number appended.
    EXPECT_EQ(CutListedName("calls.0"), "calls");
    EXPECT_EQ(CutListedName("calls.12"), "calls");
    EXPECT_EQ(CutListedName("version.1a"), "version.1a");
    EXPECT_EQ(CutListedName(".0"), ".0");
    EXPECT_EQ(CutListedName("trailing."), "trailing.");
    // A single ':' after the last ')' and no "::" anywhere: kept as listed.
    EXPECT_EQ(CutListedName("odd(int):x"), "odd(int):x");
}

TEST(ReadNmSymbolLines, NameAtTwoAddressesIsNonUnique) {
    ListedSymbols list(
        "0000000000000100 t helper\n"
        "0000000000000200 t helper\n"
        "0000000000000300 t helper\n"
        "0000000000000400 D twice\n"
        "0000000000000400 B twice\n"
        "0000000000000500 T f(int)\n"
        "0000000000000600 T f(double)\n");
    EXPECT_EQ(list.symbols.count("helper"), 0u);
    EXPECT_EQ(list.symbols.count("f"), 0u);
    EXPECT_EQ(list.parser.nonUniqueNames, (std::set<std::string>{"f", "helper"}));
    EXPECT_EQ(list.address("twice"), 0x400u);
}

TEST(ReadNmSymbolLines, ImageBaseFromTheListedNames) {
    EXPECT_EQ(ListedSymbols("0000000000400000 A __image_base__\n"
                            "0000000000500000 A __ImageBase\n")
                  .parser.imageBase,
              0x400000u);
    EXPECT_EQ(ListedSymbols("0000000000500000 A __ImageBase\n").parser.imageBase, 0x500000u);
    EXPECT_EQ(ListedSymbols("0000000000401000 T pre_c_init\n"
                            "0000000000001000 A __section_alignment__\n")
                  .parser.imageBase,
              0x400000u);
    EXPECT_EQ(ListedSymbols("0000000000401000 T pre_c_init\n").parser.imageBase, 0u);
}

TEST(ReadNmSymbolLines, ImageBaseKeepsItsValueWithoutTheNames) {
    TempDieFile file("0000000000001000 T main\n");
    VirloParserDwarf parser;
    parser.imageBase = 0x1234;
    parser.ReadDieFile(file.path());
    parser.ReadNmSymbolLines();
    EXPECT_EQ(parser.imageBase, 0x1234u);
}

TEST(ReadNmSymbolLines, OverlongNameIsCut) {
    ListedSymbols list("0000000000000100 D " + std::string(150000, 'n') + "\n");
    ASSERT_EQ(list.symbols.size(), 1u);
    EXPECT_EQ(list.symbols.begin()->first.size(), 99999u);
}

}  // namespace
