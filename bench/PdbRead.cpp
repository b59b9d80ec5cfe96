// Reading the PDB of an image with 50,000 globals: InitVirlo and one
// CacheVirlo through Virlo.so and our dbghelp.so, symbols per second; beside
// it llvm-pdbutil dumping the globals of the same PDB, as a yardstick of what
// reading that file costs another reader (a process start included).

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "VirloInterface.h"
#include "platform/Module.h"

namespace {

constexpr int kGlobals = 50000;

template <typename Function>
Function Bind(platform::ModuleHandle module, const char* name) {
    auto function = reinterpret_cast<Function>(platform::FindModuleSymbol(module, name));
    if (function == nullptr) throw std::runtime_error(std::string("Virlo.so lacks ") + name);
    return function;
}

void ReadPdbThroughVirlo(benchmark::State& state) {
    platform::ModuleHandle module = platform::LoadModule(VIRLO_LIBRARY);
    if (module == nullptr) {
        state.SkipWithError(platform::LastModuleError().c_str());
        return;
    }
    const auto initVirlo = Bind<InitVirloFn>(module, "InitVirlo");
    const auto cacheVirlo = Bind<CacheVirloFn>(module, "CacheVirlo");
    const auto getVirlo = Bind<GetVirloFn>(module, "GetVirlo");
    const auto terminateVirlo = Bind<TerminateVirloFn>(module, "TerminateVirlo");

    // Each use ends with TerminateVirlo, so the next InitVirlo of the same
    // image starts with a fresh parser.
    for (auto _ : state) {
        if (initVirlo(PDB_READ_IMAGE, DBGHELP_LIBRARY) != 0) state.SkipWithError("InitVirlo failed");
        cacheVirlo("*");
        state.PauseTiming();
        if (getVirlo("signal_49999") == nullptr) state.SkipWithError("the PDB was not read whole");
        terminateVirlo(false);
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
