// Reading a .die dump of more than 100 MB with one CacheVirlo: the file is
// read, its entries parsed and every listed symbol resolved. Reported as
// bytes per second of the dump. Target: at least 100 MB/s.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "VirloInterface.h"
#include "platform/Module.h"

namespace {

namespace fs = std::filesystem;

const std::string kFolder = DWARF_BENCH_DIR;
const std::string kLibrary = kFolder + "/bench_vecu.so";
const std::string kDie = kFolder + "/bench_vecu.die";
constexpr uintmax_t kMinimumDumpSize = 100u * 1000 * 1000;

// A vECU with many structure types, each with a global of its own, and
// plain and array globals beside them.
void WriteSource(const std::string& path) {
    static const char* const kTypes[] = {"int",   "unsigned char", "short",        "double",
                                         "float", "long",          "unsigned int", "signed char",
                                         "unsigned long long"};
    std::ofstream source(path);
    source << "typedef struct { int a; short b[3]; unsigned char f : 3; } Base;\n"
              "typedef enum { OFF, ON, AUTO } Mode;\n";
    for (int i = 0; i < 8000; ++i) {
        source << "typedef struct {\n";
        for (int j = 0; j < 40; ++j) {
            const char* type = kTypes[(i + j) % 9];
            switch (j % 10) {
                case 3: source << "  " << type << " m" << j << "[4];\n"; break;
                case 5: source << "  Base nested" << j << ";\n"; break;
                case 7: source << "  unsigned int bits" << j << " : " << j % 7 + 1 << ";\n"; break;
                case 9: source << "  Mode mode" << j << ";\n"; break;
                default: source << "  " << type << " m" << j << ";\n"; break;
            }
        }
        source << "} S" << i << ";\nS" << i << " g" << i << ";\nint counter" << i << " = " << i
               << ";\ndouble table" << i << "[8];\n";
    }
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

bool MakeDump() {
    if (fs::exists(kDie) && fs::file_size(kDie) >= kMinimumDumpSize) return true;
    fs::create_directories(kFolder);
    const std::string source = kFolder + "/bench_vecu.c";
    WriteSource(source);
    const std::string command =
        Quoted(DWARF_BENCH_CC) + " -g -O0 -fPIC -shared -o " + Quoted(kLibrary) + " " +
        Quoted(source) + " && " + Quoted(DWARF_BENCH_NM) + " -C " + Quoted(kLibrary) + " > " +
        Quoted(kDie) + " && " + Quoted(DWARF_BENCH_OBJDUMP) + " --dwarf=info " + Quoted(kLibrary) +
        " >> " + Quoted(kDie);
    return std::system(command.c_str()) == 0 && fs::file_size(kDie) >= kMinimumDumpSize;
}

void BM_CacheVirloDie(benchmark::State& state) {
    if (!MakeDump()) {
        state.SkipWithError("cannot make the .die dump");
        return;
    }
    platform::ModuleHandle virlo = platform::LoadModule(VIRLO_LIBRARY);
    if (virlo == nullptr) {
        state.SkipWithError("cannot load Virlo.so");
        return;
    }
    const auto init = reinterpret_cast<InitVirloFn>(platform::FindModuleSymbol(virlo, "InitVirlo"));
    const auto cache = reinterpret_cast<CacheVirloFn>(platform::FindModuleSymbol(virlo, "CacheVirlo"));
    const auto get = reinterpret_cast<GetVirloFn>(platform::FindModuleSymbol(virlo, "GetVirlo"));
    const auto clear =
        reinterpret_cast<ClearVirloCacheFn>(platform::FindModuleSymbol(virlo, "ClearVirloCache"));
    const auto terminate =
        reinterpret_cast<TerminateVirloFn>(platform::FindModuleSymbol(virlo, "TerminateVirlo"));
    if (init == nullptr || cache == nullptr || get == nullptr || clear == nullptr ||
        terminate == nullptr || init(kLibrary, "") != 0) {
        state.SkipWithError("cannot initialise Virlo.so with the dump");
        platform::FreeModule(virlo);
        return;
    }

    for (auto _ : state) {
        cache("*");
        // Each measured CacheVirlo starts from a freshly initialised library,
        // as the runtime's single call does.
        state.PauseTiming();
        if (get("g7999.nested5.b[2]") == nullptr) state.SkipWithError("record missing");
        clear();
        terminate(false);
        init(kLibrary, "");
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fs::file_size(kDie)));
    state.counters["dump_MB"] = static_cast<double>(fs::file_size(kDie)) / 1e6;

    terminate(false);
    platform::FreeModule(virlo);
}

}  // namespace

BENCHMARK(BM_CacheVirloDie)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

BENCHMARK_MAIN();
