// Reading the PDB of an image with 50,000 globals: InitVirlo and one
// CacheVirlo through Virlo.so and our dbghelp.so, symbols per second; beside
// it llvm-pdbutil dumping the globals of the same PDB, as a yardstick of what
// reading that file costs another reader (a process start included).

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "VirloReadExports.h"
#include "platform/Module.h"

namespace {

constexpr int kGlobals = 50000;

void ReadPdbThroughVirlo(benchmark::State& state) {
    platform::ModuleHandle module = platform::LoadModule(VIRLO_LIBRARY);
    if (module == nullptr) {
        state.SkipWithError(platform::LastModuleError().c_str());
        return;
    }
    const VirloReadExports virlo(module);

    // Each use ends with TerminateVirlo, so the next InitVirlo of the same
    // image starts with a fresh parser.
    for (auto _ : state) {
        if (virlo.initVirlo(PDB_READ_IMAGE, DBGHELP_LIBRARY) != 0) state.SkipWithError("InitVirlo failed");
        virlo.cacheVirlo("*");
        state.PauseTiming();
        if (virlo.getVirlo("signal_49999") == nullptr) state.SkipWithError("the PDB was not read whole");
        virlo.terminateVirlo(false);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kGlobals);
    platform::FreeModule(module);
}
BENCHMARK(ReadPdbThroughVirlo)->Unit(benchmark::kMillisecond)->UseRealTime();

void DumpGlobalsWithPdbUtil(benchmark::State& state) {
    const std::string command =
        std::string("\"") + PDB_READ_PDBUTIL + "\" dump -globals \"" + PDB_READ_PDB + "\" > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("llvm-pdbutil failed");
    state.SetItemsProcessed(state.iterations() * kGlobals);
}
// Real time: the work happens in a child process.
BENCHMARK(DumpGlobalsWithPdbUtil)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
