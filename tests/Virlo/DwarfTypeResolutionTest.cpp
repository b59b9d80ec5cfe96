#include <gtest/gtest.h>

#include <algorithm>
#include <iomanip>
#include <sstream>

#include "DwarfTestSupport.h"
#include "DwarfTypeResolution.h"
#include "QualifiedNameSplitter.h"
#include "SymbolRecord.h"

namespace {

using dwarftest::CachedDie;

// Writes a small .die text: symbol rows, then one compilation unit whose
// entries are added in order.
class Dump {
public:
    Dump& Symbol(uint64_t address, const std::string& name, char letter = 'D') {
        std::ostringstream row;
        row << std::hex << std::setw(16) << std::setfill('0') << address << ' ' << letter << ' '
            << name << '\n';
        symbols_ += row.str();
        return *this;
    }
    Dump& Die(int depth, uint64_t offset, const std::string& tag,
              const std::vector<std::pair<std::string, std::string>>& attributes = {}) {
        std::ostringstream die;
        die << " <" << depth << "><" << std::hex << offset << ">: Abbrev Number: 3 (DW_TAG_"
            << tag << ")\n";
        for (const auto& [name, value] : attributes) {
            die << "    <" << std::hex << ++attributeOffset_ << ">   DW_AT_" << name << ": "
                << value << '\n';
        }
        dies_ += die.str();
        return *this;
    }
    std::string text() const {
        return symbols_ + " <0><b>: Abbrev Number: 1 (DW_TAG_compile_unit)\n" + dies_ +
               " <1><fffff>: Abbrev Number: 0\n";
    }

private:
    std::string symbols_;
    std::string dies_;
    uint64_t attributeOffset_ = 0x100000;
};

std::string Ref(uint64_t offset) {
    std::ostringstream text;
    text << "<0x" << std::hex << offset << ">";
    return text.str();
}

std::string Location(uint64_t address) {
    std::ostringstream text;
    text << "9 byte block: 3 0 0 0 0 0 0 0 0 \t(DW_OP_addr: " << std::hex << address << ")";
    return text.str();
}

// Base types every dump below may use.
Dump& WithBaseTypes(Dump& dump) {
    return dump.Die(1, 0x20, "base_type", {{"byte_size", "4"}, {"name", "int"}})
        .Die(1, 0x21, "base_type", {{"byte_size", "1"}, {"name", "unsigned char"}})
        .Die(1, 0x22, "base_type", {{"byte_size", "8"}, {"name", "double"}});
}

void ExpectRecord(const SymbolRecord* record, uint64_t address, uint64_t size, uint32_t type,
                  uint8_t bitOffset = 0, uint8_t bitLength = 0) {
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->address, address);
    EXPECT_EQ(record->size, size);
    EXPECT_EQ(record->typeCode, type);
    EXPECT_EQ(record->bitOffset, bitOffset);
    EXPECT_EQ(record->bitLength, bitLength);
}

TEST(QualifiedNameSplitter, CutsAtRunsOfColons) {
    QualifiedNameSplitter splitter("ns::Engine::speed");
    EXPECT_TRUE(splitter.IsQualified());
    EXPECT_EQ(splitter.CurrentToken(), "ns");
    EXPECT_EQ(splitter.NextToken(), "Engine");
    EXPECT_FALSE(splitter.IsLastToken());
    EXPECT_TRUE(splitter.Advance());
    EXPECT_TRUE(splitter.Advance());
    EXPECT_EQ(splitter.CurrentToken(), "speed");
    EXPECT_EQ(splitter.NextToken(), "");
    EXPECT_TRUE(splitter.IsLastToken());
    EXPECT_FALSE(splitter.Advance());
    EXPECT_EQ(splitter.Name(), "ns::Engine::speed");

    EXPECT_EQ(QualifiedNameSplitter("::x").CurrentToken(), "x");
    QualifiedNameSplitter plain("plain");
    EXPECT_FALSE(plain.IsQualified());
    EXPECT_TRUE(plain.IsLastToken());
    EXPECT_EQ(plain.CurrentToken(), "plain");

    QualifiedNameSplitter colons("::::");
    EXPECT_EQ(colons.CurrentToken(), "");
    EXPECT_FALSE(colons.IsLastToken());
    EXPECT_FALSE(colons.Advance());
    EXPECT_FALSE(QualifiedNameSplitter("").IsLastToken());
}

TEST(QualifiedNameSplitter, LongNamesAreCutWhole) {
    const std::string tail(70000, 't');
    QualifiedNameSplitter splitter("ns::" + tail);
    EXPECT_TRUE(splitter.Advance());
    EXPECT_EQ(splitter.CurrentToken(), tail);
}

TEST(ExpandArrayElements, NamesAndPlacesRowMajor) {
    std::vector<ArrayElement> intermediates;
    std::vector<ArrayElement> leaves;
    ExpandArrayElements({2, 3}, SymbolRecord(0, 24, 13, 0, 0), "a", 4, intermediates, leaves);
    ASSERT_EQ(intermediates.size(), 3u);
    EXPECT_EQ(intermediates[0].name, "a");
    EXPECT_EQ(intermediates[0].size, 24u);
    EXPECT_EQ(intermediates[2].name, "a[1]");
    EXPECT_EQ(intermediates[2].offset, 12u);
    EXPECT_EQ(intermediates[2].size, 12u);
    ASSERT_EQ(leaves.size(), 6u);
    EXPECT_EQ(leaves[5].name, "a[1][2]");
    EXPECT_EQ(leaves[5].offset, 20u);
    EXPECT_EQ(leaves[5].size, 4u);

    intermediates.clear();
    leaves.clear();
    ExpandArrayElements({}, SymbolRecord(0, 4, 0, 0, 0), "one", 4, intermediates, leaves);
    EXPECT_TRUE(intermediates.empty());
    ASSERT_EQ(leaves.size(), 1u);
    EXPECT_EQ(leaves[0].name, "one");
}

TEST(ResolveDwarfSymbols, BaseTypeVariableAtItsOffsetFromTheImageBase) {
    Dump dump;
    dump.Symbol(0x400000, "__image_base__", 'A').Symbol(0x4003a0, "counter");
    WithBaseTypes(dump).Die(1, 0x30, "variable", {{"name", "counter"}, {"type", Ref(0x20)}});
    CachedDie die(dump.text());
    ExpectRecord(die["counter"], 0x3a0, 4, SymbolType_s32);
}

TEST(ResolveDwarfSymbols, StructureWithMembersAndABitField) {
    Dump dump;
    dump.Symbol(0x1000, "s");
    WithBaseTypes(dump)
        .Die(1, 0x30, "structure_type", {{"name", "S"}, {"byte_size", "8"}})
        .Die(2, 0x31, "member", {{"name", "a"}, {"type", Ref(0x20)}, {"data_member_location", "0"}})
        .Die(2, 0x32, "member",
             {{"name", "b"},
              {"type", Ref(0x21)},
              {"bit_size", "3"},
              {"bit_offset", "5"},
              {"data_member_location", "4"}})
        .Die(1, 0x40, "variable", {{"name", "s"}, {"type", Ref(0x30)}});
    CachedDie die(dump.text());
    ExpectRecord(die["s"], 0x1000, 8, SymbolType_UserDefinedType);
    ExpectRecord(die["s.a"], 0x1000, 4, SymbolType_s32);
    ExpectRecord(die["s.b"], 0x1004, 1, SymbolType_u8, 5, 3);
}

TEST(ResolveDwarfSymbols, ArraysGetEverySubArrayAndElement) {
    Dump dump;
    dump.Symbol(0x2000, "a").Symbol(0x3000, "arr");
    WithBaseTypes(dump)
        .Die(1, 0x30, "array_type", {{"type", Ref(0x20)}})
        .Die(2, 0x31, "subrange_type", {{"upper_bound", "1"}})
        .Die(2, 0x32, "subrange_type", {{"upper_bound", "2"}})
        .Die(1, 0x40, "variable", {{"name", "a"}, {"type", Ref(0x30)}})
        .Die(1, 0x50, "structure_type", {{"name", "E"}, {"byte_size", "8"}})
        .Die(2, 0x51, "member", {{"name", "m"}, {"type", Ref(0x20)}, {"data_member_location", "4"}})
        .Die(1, 0x60, "array_type", {{"type", Ref(0x50)}})
        .Die(2, 0x61, "subrange_type", {{"count", "2"}})
        .Die(1, 0x70, "variable", {{"name", "arr"}, {"type", Ref(0x60)}});
    CachedDie die(dump.text());
    ExpectRecord(die["a"], 0x2000, 24, SymbolType_Array);
    ExpectRecord(die["a[0]"], 0x2000, 12, SymbolType_Array);
    ExpectRecord(die["a[1]"], 0x200c, 12, SymbolType_Array);
    ExpectRecord(die["a[0][0]"], 0x2000, 4, SymbolType_s32);
    ExpectRecord(die["a[0][1]"], 0x2004, 4, SymbolType_s32);
    ExpectRecord(die["a[1][2]"], 0x2014, 4, SymbolType_s32);
    EXPECT_EQ(die["a[2]"], nullptr);
    ExpectRecord(die["arr"], 0x3000, 16, SymbolType_Array);
    ExpectRecord(die["arr[1]"], 0x3008, 8, SymbolType_UserDefinedType);
    ExpectRecord(die["arr[0].m"], 0x3004, 4, SymbolType_s32);
    ExpectRecord(die["arr[1].m"], 0x300c, 4, SymbolType_s32);
}

TEST(ResolveDwarfSymbols, SubrangeCounts) {
    Dump dump;
    dump.Symbol(0x100, "upper").Symbol(0x200, "counted").Symbol(0x300, "open");
    WithBaseTypes(dump)
        .Die(1, 0x30, "array_type", {{"type", Ref(0x21)}})
        .Die(2, 0x31, "subrange_type", {{"upper_bound", "9"}})
        .Die(1, 0x32, "array_type", {{"type", Ref(0x21)}})
        .Die(2, 0x33, "subrange_type", {{"count", "5"}})
        .Die(1, 0x34, "array_type", {{"type", Ref(0x21)}})
        .Die(2, 0x35, "subrange_type")
        .Die(1, 0x40, "variable", {{"name", "upper"}, {"type", Ref(0x30)}})
        .Die(1, 0x41, "variable", {{"name", "counted"}, {"type", Ref(0x32)}})
        .Die(1, 0x42, "variable", {{"name", "open"}, {"type", Ref(0x34)}});
    CachedDie die(dump.text());
    ExpectRecord(die["upper"], 0x100, 10, SymbolType_Array);
    ExpectRecord(die["upper[9]"], 0x109, 1, SymbolType_u8);
    ExpectRecord(die["counted"], 0x200, 5, SymbolType_Array);
    ExpectRecord(die["open"], 0x300, 1, SymbolType_Array);
    ExpectRecord(die["open[0]"], 0x300, 1, SymbolType_u8);
}

TEST(ResolveDwarfSymbols, ArrayWithoutTypeLeavesNoCountsForTheNextArray) {
    Dump dump;
    dump.Symbol(0x100, "broken").Symbol(0x200, "next");
    WithBaseTypes(dump)
        .Die(1, 0x30, "array_type")
        .Die(2, 0x31, "subrange_type", {{"upper_bound", "6"}})
        .Die(1, 0x32, "array_type", {{"type", Ref(0x20)}})
        .Die(2, 0x33, "subrange_type", {{"upper_bound", "1"}})
        .Die(1, 0x40, "variable", {{"name", "broken"}, {"type", Ref(0x30)}})
        .Die(1, 0x41, "variable", {{"name", "next"}, {"type", Ref(0x32)}});
    CachedDie die(dump.text());
    EXPECT_EQ(die["broken"], nullptr);
    ExpectRecord(die["next"], 0x200, 8, SymbolType_Array);
    EXPECT_EQ(die["next[0][0]"], nullptr);
    EXPECT_TRUE(die.parser.arrayDimensions.empty());
}

TEST(ResolveDwarfSymbols, ArrayOfArrayTypeGivesEveryElement) {
    // typedef int Row[3]; Row rows[2];
    Dump dump;
    dump.Symbol(0x100, "rows");
    WithBaseTypes(dump)
        .Die(1, 0x30, "array_type", {{"type", Ref(0x20)}})
        .Die(2, 0x31, "subrange_type", {{"upper_bound", "2"}})
        .Die(1, 0x32, "typedef", {{"name", "Row"}, {"type", Ref(0x30)}})
        .Die(1, 0x33, "array_type", {{"type", Ref(0x32)}})
        .Die(2, 0x34, "subrange_type", {{"upper_bound", "1"}})
        .Die(1, 0x40, "variable", {{"name", "rows"}, {"type", Ref(0x33)}});
    CachedDie die(dump.text());
    ExpectRecord(die["rows"], 0x100, 24, SymbolType_Array);
    ExpectRecord(die["rows[1]"], 0x10c, 12, SymbolType_Array);
    ExpectRecord(die["rows[0][2]"], 0x108, 4, SymbolType_s32);
    ExpectRecord(die["rows[1][2]"], 0x114, 4, SymbolType_s32);
}

TEST(ResolveDwarfSymbols, UnionsGetNoRecords) {
    Dump dump;
    dump.Symbol(0x100, "u").Symbol(0x200, "h");
    WithBaseTypes(dump)
        .Die(1, 0x30, "union_type", {{"name", "U"}, {"byte_size", "4"}})
        .Die(2, 0x31, "member", {{"name", "i"}, {"type", Ref(0x20)}})
        .Die(1, 0x32, "structure_type", {{"name", "H"}, {"byte_size", "8"}})
        .Die(2, 0x33, "member", {{"name", "un"}, {"type", Ref(0x30)}, {"data_member_location", "0"}})
        .Die(2, 0x34, "member", {{"name", "k"}, {"type", Ref(0x20)}, {"data_member_location", "4"}})
        .Die(1, 0x40, "variable", {{"name", "u"}, {"type", Ref(0x30)}})
        .Die(1, 0x41, "variable", {{"name", "h"}, {"type", Ref(0x32)}});
    CachedDie die(dump.text());
    EXPECT_EQ(die["u"], nullptr);
    EXPECT_EQ(die["u.i"], nullptr);
    EXPECT_EQ(die["h.un"], nullptr);
    ExpectRecord(die["h.k"], 0x204, 4, SymbolType_s32);
}

TEST(ResolveDwarfSymbols, FunctionsAndMemberFunctions) {
    Dump dump;
    dump.Symbol(0x1130, "main", 'T').Symbol(0x100, "s");
    WithBaseTypes(dump)
        .Die(1, 0x30, "structure_type", {{"name", "S"}, {"byte_size", "4"}})
        .Die(2, 0x31, "member", {{"name", "a"}, {"type", Ref(0x20)}, {"data_member_location", "0"}})
        .Die(2, 0x32, "subprogram", {{"name", "reset"}, {"declaration", "1"}})
        .Die(1, 0x40, "variable", {{"name", "s"}, {"type", Ref(0x30)}})
        .Die(1, 0x41, "subprogram", {{"name", "main"}, {"type", Ref(0x20)}, {"low_pc", "0x1130"}});
    CachedDie die(dump.text());
    ExpectRecord(die["main"], 0x1130, 0, SymbolType_Function);
    ExpectRecord(die["s.reset"], 0x100, 0, SymbolType_Function);
}

TEST(ResolveDwarfSymbols, PointerStopsTheWalk) {
    Dump dump;
    dump.Symbol(0x100, "p");
    WithBaseTypes(dump)
        .Die(1, 0x30, "structure_type", {{"name", "S"}, {"byte_size", "4"}})
        .Die(2, 0x31, "member", {{"name", "a"}, {"type", Ref(0x20)}, {"data_member_location", "0"}})
        .Die(1, 0x32, "pointer_type", {{"byte_size", "8"}, {"type", Ref(0x30)}})
        .Die(1, 0x40, "variable", {{"name", "p"}, {"type", Ref(0x32)}});
    CachedDie die(dump.text());
    ExpectRecord(die["p"], 0x100, 8, SymbolType_Pointer);
    EXPECT_EQ(die["p.a"], nullptr);
    EXPECT_EQ(die.parser.SymbolCache.size(), 1u);
}

TEST(ResolveDwarfSymbols, ChoosesTheEntryOfDepthOne) {
    Dump dump;
    dump.Symbol(0x100, "x").Symbol(0x200, "missing");
    WithBaseTypes(dump)
        .Die(1, 0x30, "subprogram", {{"name", "f"}})
        .Die(2, 0x31, "variable", {{"name", "x"}, {"type", Ref(0x21)}})
        .Die(1, 0x40, "variable", {{"name", "x"}, {"type", Ref(0x22)}});
    CachedDie die(dump.text());
    ExpectRecord(die["x"], 0x100, 8, SymbolType_float64);
    EXPECT_EQ(die["missing"], nullptr);
}

TEST(ResolveDwarfSymbols, QualifiedNamesWalkNamespaces) {
    Dump dump;
    dump.Symbol(0x100, "ns::value").Symbol(0x200, "ns::other").Symbol(0x300, "ns::inner::deep");
    WithBaseTypes(dump)
        .Die(1, 0x30, "namespace", {{"name", "ns"}})
        .Die(2, 0x31, "variable", {{"name", "other"}, {"type", Ref(0x20)}})
        .Die(2, 0x32, "namespace", {{"name", "inner"}})
        .Die(3, 0x33, "variable", {{"name", "deep"}, {"type", Ref(0x22)}});
    CachedDie die(dump.text());
    EXPECT_EQ(die["ns::value"], nullptr);
    EXPECT_EQ(die["value"], nullptr);
    ExpectRecord(die["ns::other"], 0x200, 4, SymbolType_s32);
    ExpectRecord(die["ns::inner::deep"], 0x300, 8, SymbolType_float64);
}

TEST(ResolveDwarfSymbols, StaticMemberAtTheImageBaseTakesItsDefinitionsAddress) {
    Dump dump;
    dump.Symbol(0x400000, "__image_base__", 'A').Symbol(0x400000, "C::total");
    WithBaseTypes(dump)
        .Die(1, 0x30, "class_type", {{"name", "C"}, {"byte_size", "4"}})
        .Die(2, 0x31, "member", {{"name", "total"}, {"type", Ref(0x20)}, {"declaration", "1"}})
        .Die(1, 0x40, "variable", {{"specification", Ref(0x31)}, {"location", Location(0x400010)}});
    CachedDie die(dump.text());
    ExpectRecord(die["C::total"], 0x10, 4, SymbolType_s32);
}

TEST(ResolveDwarfSymbols, CyclicAndVeryDeepTypeChainsEnd) {
    Dump dump;
    dump.Symbol(0x100, "looped").Symbol(0x200, "deep").Symbol(0x300, "nested");
    WithBaseTypes(dump)
        .Die(1, 0x30, "typedef", {{"name", "Loop"}, {"type", Ref(0x31)}})
        .Die(1, 0x31, "const_type", {{"type", Ref(0x30)}})
        .Die(1, 0x40, "variable", {{"name", "looped"}, {"type", Ref(0x30)}});
    // A chain of typedefs far longer than any program declares.
    const uint64_t first = 0x1000;
    const int links = 5000;
    for (int i = 0; i < links; ++i) {
        dump.Die(1, first + i, "typedef",
                 {{"name", "T" + std::to_string(i)},
                  {"type", Ref(i + 1 < links ? first + i + 1 : 0x20)}});
    }
    dump.Die(1, 0x50, "variable", {{"name", "deep"}, {"type", Ref(first)}});
    // Two structures that contain each other.
    dump.Die(1, 0x60, "structure_type", {{"name", "A"}, {"byte_size", "4"}})
        .Die(2, 0x61, "member", {{"name", "b"}, {"type", Ref(0x62)}, {"data_member_location", "0"}})
        .Die(1, 0x62, "structure_type", {{"name", "B"}, {"byte_size", "4"}})
        .Die(2, 0x63, "member", {{"name", "a"}, {"type", Ref(0x60)}, {"data_member_location", "0"}})
        .Die(1, 0x64, "variable", {{"name", "nested"}, {"type", Ref(0x60)}});
    CachedDie die(dump.text());
    EXPECT_EQ(die["looped"], nullptr);
    EXPECT_EQ(die["deep"], nullptr);
    ExpectRecord(die["nested"], 0x300, 4, SymbolType_UserDefinedType);
    ExpectRecord(die["nested.b"], 0x300, 4, SymbolType_UserDefinedType);
    ExpectRecord(die["nested.b.a"], 0x300, 4, SymbolType_UserDefinedType);
    EXPECT_TRUE(structuresInProgress.empty());
}

// An array whose element type leads back to it keeps its own record and
// loses its elements, with a line that names it; what lies beside it stays.
TEST(ResolveDwarfSymbols, ArrayLeadingBackToItselfIsKeptWithoutElements) {
    Dump dump;
    dump.Symbol(0x100, "s").Symbol(0x200, "pair");
    WithBaseTypes(dump)
        .Die(1, 0x30, "array_type", {{"type", Ref(0x30)}})
        .Die(2, 0x31, "subrange_type", {{"upper_bound", "3"}})
        .Die(1, 0x38, "structure_type", {{"name", "S"}, {"byte_size", "12"}})
        .Die(2, 0x39, "member", {{"name", "a"}, {"type", Ref(0x20)}, {"data_member_location", "0"}})
        .Die(2, 0x3a, "member", {{"name", "m"}, {"type", Ref(0x30)}, {"data_member_location", "4"}})
        .Die(2, 0x3b, "member", {{"name", "b"}, {"type", Ref(0x20)}, {"data_member_location", "8"}})
        .Die(1, 0x3c, "variable", {{"name", "s"}, {"type", Ref(0x38)}})
        // Two array types, each the element type of the other.
        .Die(1, 0x40, "array_type", {{"type", Ref(0x42)}})
        .Die(2, 0x41, "subrange_type", {{"upper_bound", "1"}})
        .Die(1, 0x42, "typedef", {{"name", "Other"}, {"type", Ref(0x43)}})
        .Die(1, 0x43, "array_type", {{"type", Ref(0x40)}})
        .Die(2, 0x44, "subrange_type", {{"upper_bound", "1"}})
        .Die(1, 0x45, "variable", {{"name", "pair"}, {"type", Ref(0x40)}});
    testing::internal::CaptureStderr();
    CachedDie die(dump.text());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "The element type of the array pair leads back to the array; its elements are left out.\n"
              "The element type of the array s.m leads back to the array; its elements are left out.\n");
    ExpectRecord(die["s"], 0x100, 12, SymbolType_UserDefinedType);
    ExpectRecord(die["s.a"], 0x100, 4, SymbolType_s32);
    ExpectRecord(die["s.m"], 0x104, 0, SymbolType_Array);
    ExpectRecord(die["s.b"], 0x108, 4, SymbolType_s32);
    ExpectRecord(die["pair"], 0x200, 0, SymbolType_Array);
    EXPECT_EQ(die.parser.SymbolCache.size(), 5u);
}

// Each level an array of the typedef of the level below, 16 deep, as clang
// describes it: every sub-array and element at its place.
TEST(ResolveDwarfSymbols, ArraysNestedSixteenDeepGiveEveryElement) {
    VirloParserDwarf parser;
    parser.Init(DWARF_FIXTURE_DIR "/nested_arrays.so", "");
    parser.Cache("*");
    const SymbolRecord* nested = parser.FindSymbol("nested");
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->size, 65536u);
    std::vector<size_t> namesPerDepth(17, 0);
    for (const auto& [name, record] : parser.SymbolCache) {
        const size_t depth = std::count(name.begin(), name.end(), '[');
        ++namesPerDepth[depth];
        if (depth < 16) continue;
        // The indices are the bits of the element's offset, outermost first.
        uint64_t offset = 0;
        for (size_t at = name.find('['); at != std::string::npos; at = name.find('[', at + 1))
            offset = offset * 2 + (name[at + 1] - '0');
        EXPECT_EQ(record->address, nested->address + offset) << name;
        EXPECT_EQ(record->size, 1u) << name;
    }
    for (size_t depth = 0; depth <= 16; ++depth) EXPECT_EQ(namesPerDepth[depth], size_t{1} << depth) << depth;
    EXPECT_EQ(parser.SymbolCache.size(), (size_t{1} << 17) - 1);
}

// Structures holding two of the one before, 22 deep, as gcc describes them:
// no array, yet 2^23 - 1 records. The walk runs past the bound on the
// records of a file; the symbol and those after it are left out with one
// line, those before it stay.
TEST(ResolveDwarfSymbols, StructuresNestedPastTheRecordBoundLeaveTheSymbolOut) {
    VirloParserDwarf parser;
    parser.Init(DWARF_FIXTURE_DIR "/nested_structures.so", "");
    testing::internal::CaptureStderr();
    parser.Cache("*");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "The walk of the symbol nested ran past 4194304 records; it and the symbols after it are "
              "left out.\n");
    EXPECT_NE(parser.FindSymbol("before"), nullptr);
    for (const char* name : {"nested", "nested.a", "nested.b.b.b.b.b.b.b.b.b.b.b.b.b.b.b.b.b.b.b.b.b.b", "tail"})
        EXPECT_EQ(parser.FindSymbol(name), nullptr) << name;
}

}  // namespace
