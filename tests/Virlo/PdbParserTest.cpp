// The PDB reader on a DLL and PDB built by clang and lld-link: names,
// addresses, sizes, types and bit fields of globals, members and elements.

#include "PdbTestSupport.h"
#include "platform/Module.h"

using namespace pdb_test;

TEST(PdbParser, GlobalIntIsEnteredAtItsOffsetFromTheBase) {
    PdbRead read;
    ASSERT_EQ(read.InitResult(), 0);
    EXPECT_NE(read.Parser().moduleBase, 0u);
    ExpectRecord(read, "g", ReferenceOffset("g"), 4, SymbolType_s32);
    ExpectRecord(read, "gain", ReferenceOffset("gain"), 4, SymbolType_float32);
}

TEST(PdbParser, StructureMembersAndBitFieldsGetEntriesOfTheirOwn) {
    PdbRead read;
    const uint64_t s = ReferenceOffset("s");
    ExpectRecord(read, "s", s, 8, SymbolType_UserDefinedType);
    ExpectRecord(read, "s.a", s, 4, SymbolType_s32);
    ExpectRecord(read, "s.pad", s + 4, 4, SymbolType_u32, 0, 5);
    ExpectRecord(read, "s.f", s + 4, 4, SymbolType_u32, 5, 3);
}

TEST(PdbParser, ArrayOfArraysYieldsEveryLevel) {
    PdbRead read;
    const uint64_t m = ReferenceOffset("m");
    ExpectRecord(read, "m", m, 24, SymbolType_Array);
    ExpectRecord(read, "m[0]", m, 12, SymbolType_Array);
    ExpectRecord(read, "m[1]", m + 12, 12, SymbolType_Array);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 3; ++j)
            ExpectRecord(read, "m[" + std::to_string(i) + "][" + std::to_string(j) + "]", m + 12 * i + 4 * j, 4,
                         SymbolType_s32);
    EXPECT_EQ(read.Get("m[2]"), nullptr);
    EXPECT_EQ(read.Get("m[0][3]"), nullptr);
}

TEST(PdbParser, ArrayOfStructuresYieldsMembersOfEachElement) {
    PdbRead read;
    const uint64_t points = ReferenceOffset("points");
    ExpectRecord(read, "points", points, 16, SymbolType_Array);
    ExpectRecord(read, "points[1]", points + 8, 8, SymbolType_UserDefinedType);
    ExpectRecord(read, "points[1].x", points + 8, 4, SymbolType_s32);
    ExpectRecord(read, "points[1].y", points + 12, 4, SymbolType_s32);
}

TEST(PdbParser, ArraysInsideElementsKeepTheirOwnDimensions) {
    // Each element's array is expanded on its own: holders[1].v[2] lies at
    // holders + 12 + 8, and no dimension of the outer array leaks into it.
    PdbRead read;
    const uint64_t holders = ReferenceOffset("holders");
    ExpectRecord(read, "holders", holders, 24, SymbolType_Array);
    ExpectRecord(read, "holders[1].v", holders + 12, 12, SymbolType_Array);
    ExpectRecord(read, "holders[0].v[2]", holders + 8, 4, SymbolType_s32);
    ExpectRecord(read, "holders[1].v[0]", holders + 12, 4, SymbolType_s32);
    ExpectRecord(read, "holders[1].v[2]", holders + 20, 4, SymbolType_s32);
    EXPECT_EQ(read.Get("holders[1].v[3]"), nullptr);
    EXPECT_EQ(read.Get("holders[1].v[0][0]"), nullptr);
    EXPECT_TRUE(read.Parser().arrayDimensions.empty());
}

TEST(PdbParser, ExpansionStopsAtAPointerToTheOwnType) {
    PdbRead read;
    const uint64_t node = ReferenceOffset("node");
    ExpectRecord(read, "node", node, 16, SymbolType_UserDefinedType);
    ExpectRecord(read, "node.value", node, 4, SymbolType_s32);
    ExpectRecord(read, "node.next", node + 8, 8, SymbolType_Pointer);
    EXPECT_EQ(read.Get("node.next.value"), nullptr);
}

// Arrays whose elements would take the file past its bound on records keep
// their own record only, each with a line that names it; the symbols beside
// them stay.
TEST(PdbParser, ArraysPastTheRecordBoundKeepOnlyTheirOwnRecord) {
    testing::internal::CaptureStderr();
    PdbRead read(VIRLO_DBGHELP_LIBRARY, std::string(VIRLO_PDB_FIXTURE_DIR) + "/large.dll");
    const std::string diagnostics = testing::internal::GetCapturedStderr();
    ASSERT_EQ(read.InitResult(), 0);
    ASSERT_NE(read.Get("frame"), nullptr);
    EXPECT_EQ(read.Get("frame")->size, 5000000u);
    EXPECT_EQ(read.Get("frame")->typeCode, SymbolType_Array);
    EXPECT_EQ(read.Get("frame[0]"), nullptr);
    ASSERT_NE(read.Get("samples"), nullptr);
    EXPECT_EQ(read.Get("samples")->size, 18000000u);
    EXPECT_EQ(read.Get("samples[0]"), nullptr);
    EXPECT_EQ(read.Get("samples[0].a"), nullptr);
    EXPECT_NE(read.Get("after"), nullptr);
    EXPECT_NE(diagnostics.find("The elements of the array frame would take the file past 4194304 records; they "
                               "are left out.\n"),
              std::string::npos)
        << diagnostics;
    EXPECT_NE(diagnostics.find("The elements of the array samples would take the file past 4194304 records"),
              std::string::npos)
        << diagnostics;
}

// Structures nesting two of the one before, each member named with 4,097
// characters: 8,191 records, but names past the bound of one file. The
// symbol is left out with a line, and the reading ends there.
TEST(PdbParser, NamesPastTheirBoundLeaveTheSymbolOut) {
    testing::internal::CaptureStderr();
    PdbRead read(VIRLO_DBGHELP_LIBRARY, std::string(VIRLO_PDB_FIXTURE_DIR) + "/long_names.dll");
    const std::string diagnostics = testing::internal::GetCapturedStderr();
    ASSERT_EQ(read.InitResult(), 0);
    for (const auto& [name, record] : read.Parser().SymbolCache) EXPECT_NE(name.rfind("nested", 0), 0u) << name;
    EXPECT_NE(diagnostics.find("The walk of the symbol nested ran past 268435456 characters of names; it and the "
                               "symbols after it are left out.\n"),
              std::string::npos)
        << diagnostics;
}

TEST(PdbParser, EnumBitFieldKeepsItsPosition) {
    PdbRead read;
    const uint64_t flags = ReferenceOffset("flags");
    ExpectRecord(read, "flags.mode", flags, 4, SymbolType_Enumeration, 0, 3);
    ExpectRecord(read, "flags.on", flags, 4, SymbolType_u32, 3, 1);
}

TEST(PdbParser, NameAtTwoAddressesLeavesWithItsMembersAndElements) {
    PdbRead read;
    ASSERT_EQ(FixtureDump().FindAllData("dup_arr").size(), 2u);
    for (const char* name : {"shared", "dup_arr", "dup_arr[0]", "dup_arr[1]", "spot", "spot.x"})
        EXPECT_EQ(read.Get(name), nullptr) << name;
    EXPECT_EQ(read.Parser().nonUniqueNames, (std::set<std::string>{"dup_arr", "shared", "spot"}));
    // A name sorting between the member and element names stays.
    ExpectRecord(read, "dup_arr2", ReferenceOffset("dup_arr2"), 4, SymbolType_s32);
}

TEST(PdbParser, FunctionsAreEntered) {
    PdbRead read;
    const auto* task = FixtureDump().FindPublic("Task10ms");
    ASSERT_NE(task, nullptr);
    const SymbolRecord* record = read.Get("Task10ms");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->address, FixtureDump().Rva(task->segment, task->offset));
    EXPECT_EQ(record->typeCode, SymbolType_Function);
}

TEST(PdbParser, SecondInitIsRefusedAndSecondCacheReadsNothing) {
    PdbRead read;
    EXPECT_EQ(read.Parser().Init(FixtureImage(), VIRLO_DBGHELP_LIBRARY), 1);
    EXPECT_EQ(read.Parser().process, nullptr);
    read.Parser().ClearCache();
    EXPECT_EQ(read.Parser().Cache("*"), 0);
    EXPECT_TRUE(read.Parser().SymbolCache.empty());
}

TEST(PdbParser, ClearCacheEmptiesCacheAndNonUniqueNames) {
    PdbRead read;
    ASSERT_FALSE(read.Parser().SymbolCache.empty());
    ASSERT_FALSE(read.Parser().nonUniqueNames.empty());
    EXPECT_EQ(read.Parser().ClearCache(), 0);
    EXPECT_TRUE(read.Parser().SymbolCache.empty());
    EXPECT_TRUE(read.Parser().nonUniqueNames.empty());
    EXPECT_TRUE(read.Parser().arrayDimensions.empty());
}

TEST(PdbParser, TerminateDestroysTheInstanceAndTheNextIsFresh) {
    // Kept loaded across the uses, so that its handlers outlive each use
    // unless the reader releases them.
    const platform::ModuleHandle held = platform::LoadModule(VIRLO_DBGHELP_LIBRARY);
    ASSERT_NE(held, nullptr);

    // A use that ends without Cache leaves no symbol handler behind: the
    // fresh instance of the next use starts one again.
    auto* parser = static_cast<VirloParserPdb*>(PdbParserInstance());
    EXPECT_EQ(parser->Init(FixtureImage(), VIRLO_DBGHELP_LIBRARY), 0);
    parser->Terminate(false);

    auto* fresh = static_cast<VirloParserPdb*>(PdbParserInstance());
    EXPECT_FALSE(fresh->initialised);
    EXPECT_TRUE(fresh->SymbolCache.empty());
    EXPECT_EQ(fresh->Init(FixtureImage(), VIRLO_DBGHELP_LIBRARY), 0);
    fresh->Cache("*");
    EXPECT_NE(fresh->FindSymbol("g"), nullptr);
    fresh->Terminate(false);
    platform::FreeModule(held);
}

TEST(PdbParser, MakePdbPathCutsAtTheLastDot) {
    EXPECT_EQ(MakePdbPath("/res/app.dll"), "/res/app.pdb");
    EXPECT_EQ(MakePdbPath("/res/archive"), "/res/archive.pdb");
    EXPECT_EQ(MakePdbPath("/res/build.old/archive"), "/res/build.pdb");
    EXPECT_EQ(MakePdbPath("app.v2.dll"), "app.v2.pdb");
}

TEST(PdbParser, BaseTypeTable) {
    EXPECT_EQ(MapPdbBaseType(btNoType, 4), SymbolType_Unknown);
    EXPECT_EQ(MapPdbBaseType(btVoid, 0), SymbolType_Void);
    EXPECT_EQ(MapPdbBaseType(btChar, 1), SymbolType_s8);
    EXPECT_EQ(MapPdbBaseType(btWChar, 2), SymbolType_u8);
    const SymbolType signedTypes[] = {SymbolType_s8, SymbolType_s16, SymbolType_s32, SymbolType_s64};
    const SymbolType unsignedTypes[] = {SymbolType_u8, SymbolType_u16, SymbolType_u32, SymbolType_u64};
    const uint64_t lengths[] = {1, 2, 4, 8};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(MapPdbBaseType(btInt, lengths[i]), signedTypes[i]);
        EXPECT_EQ(MapPdbBaseType(btLong, lengths[i]), signedTypes[i]);
        EXPECT_EQ(MapPdbBaseType(btUInt, lengths[i]), unsignedTypes[i]);
        EXPECT_EQ(MapPdbBaseType(btULong, lengths[i]), unsignedTypes[i]);
    }
    EXPECT_EQ(MapPdbBaseType(btInt, 16), SymbolType_Unknown);
    EXPECT_EQ(MapPdbBaseType(btUInt, 3), SymbolType_Unknown);
    EXPECT_EQ(MapPdbBaseType(btFloat, 4), SymbolType_float32);
    EXPECT_EQ(MapPdbBaseType(btFloat, 8), SymbolType_float64);
    EXPECT_EQ(MapPdbBaseType(btFloat, 10), SymbolType_Unknown);
    EXPECT_EQ(MapPdbBaseType(btBool, 1), SymbolType_bool);

    testing::internal::CaptureStderr();
    EXPECT_EQ(MapPdbBaseType(btChar16, 2), SymbolType_Unknown);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Unhandled base type 32\n");
}
