// The PDB reader behind the library's exports: a DLL path with its PDB
// beside it, each scenario in a process of its own (parser selection lasts
// for the process).

#include "PdbTestSupport.h"
#include "VirloCoreTestSupport.h"
#include "VirloInterface.h"
#include "platform/Module.h"

using namespace pdb_test;

namespace {

// The exports of a freshly loaded Virlo.so.
struct VirloLibrary {
    VirloLibrary() : module(platform::LoadModule(VIRLO_LIBRARY_FOR_PDB)) {
        EXPECT_NE(module, nullptr) << platform::LastModuleError();
        init = reinterpret_cast<InitVirloFn>(platform::FindModuleSymbol(module, "InitVirlo"));
        cache = reinterpret_cast<CacheVirloFn>(platform::FindModuleSymbol(module, "CacheVirlo"));
        get = reinterpret_cast<GetVirloFn>(platform::FindModuleSymbol(module, "GetVirlo"));
        terminate = reinterpret_cast<TerminateVirloFn>(platform::FindModuleSymbol(module, "TerminateVirlo"));
    }
    platform::ModuleHandle module;
    InitVirloFn init = nullptr;
    CacheVirloFn cache = nullptr;
    GetVirloFn get = nullptr;
    TerminateVirloFn terminate = nullptr;
};

}  // namespace

TEST(PdbExports, SymbolsOfADllAreFoundAndASecondUseGetsAFreshParser) {
    virlo_core_test::RunInFreshProcess([] {
        VirloLibrary virlo;
        ASSERT_NE(virlo.init, nullptr);
        for (int use = 0; use < 2; ++use) {
            SCOPED_TRACE(use);
            ASSERT_EQ(virlo.init(FixtureImage(), VIRLO_DBGHELP_LIBRARY), 0u);
            EXPECT_EQ(virlo.cache("*"), 0u);
            const SymbolRecord* g = virlo.get("g");
            ASSERT_NE(g, nullptr);
            EXPECT_EQ(g->address, ReferenceOffset("g"));
            const SymbolRecord* f = virlo.get("s.f");
            ASSERT_NE(f, nullptr);
            EXPECT_EQ(f->bitOffset, 5);
            EXPECT_EQ(f->bitLength, 3);
            EXPECT_EQ(virlo.get("shared"), nullptr);
            virlo.terminate(false);
            EXPECT_EQ(virlo.get("g"), nullptr);
        }
    });
}

TEST(PdbExports, MissingDebugHelpLibraryFailsInitVirlo) {
    virlo_core_test::RunInFreshProcess(
        [] {
            VirloLibrary virlo;
            ASSERT_NE(virlo.init, nullptr);
            EXPECT_EQ(virlo.init(FixtureImage(), "/nonexistent/dbghelp.so"), 1u);
            EXPECT_EQ(virlo.cache("*"), 0u);
            EXPECT_EQ(virlo.get("g"), nullptr);
            virlo.terminate(false);
        },
        "/nonexistent/dbghelp.so.*\nCould not initialize VirloParser.");
}
