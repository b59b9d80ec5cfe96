// The PDB reader behind the library's exports: a DLL path with its PDB
// beside it, each scenario in a process of its own (parser selection lasts
// for the process).

#include "PdbTestSupport.h"
#include "VirloLibrary.h"

using namespace pdb_test;
using virlo_core_test::VirloLibrary;

TEST(PdbExports, SymbolsOfADllAreFoundAndASecondUseGetsAFreshParser) {
    virlo_core_test::RunInFreshProcess([] {
        VirloLibrary virlo;
        ASSERT_TRUE(virlo.Bound());
        for (int use = 0; use < 2; ++use) {
            SCOPED_TRACE(use);
            ASSERT_EQ(virlo.InitVirlo(FixtureImage(), VIRLO_DBGHELP_LIBRARY), 0u);
            EXPECT_EQ(virlo.CacheVirlo("*"), 0u);
            const SymbolRecord* g = virlo.GetVirlo("g");
            ASSERT_NE(g, nullptr);
            EXPECT_EQ(g->address, ReferenceOffset("g"));
            const SymbolRecord* f = virlo.GetVirlo("s.f");
            ASSERT_NE(f, nullptr);
            EXPECT_EQ(f->bitOffset, 5);
            EXPECT_EQ(f->bitLength, 3);
            EXPECT_EQ(virlo.GetVirlo("shared"), nullptr);
            virlo.TerminateVirlo(false);
            EXPECT_EQ(virlo.GetVirlo("g"), nullptr);
        }
    });
}

TEST(PdbExports, MissingDebugHelpLibraryFailsInitVirlo) {
    virlo_core_test::RunInFreshProcess(
        [] {
            VirloLibrary virlo;
            ASSERT_TRUE(virlo.Bound());
            EXPECT_EQ(virlo.InitVirlo(FixtureImage(), "/nonexistent/dbghelp.so"), 1u);
            EXPECT_EQ(virlo.CacheVirlo("*"), 0u);
            EXPECT_EQ(virlo.GetVirlo("g"), nullptr);
            virlo.TerminateVirlo(false);
        },
        "/nonexistent/dbghelp.so.*\nCould not initialize VirloParser.");
}
