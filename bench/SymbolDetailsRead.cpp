// Reading a raw symbol table of 1,000,000 rows with one CacheVirlo, as the
// writer makes its rows: the target is at least 1,000,000 rows per second.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "VirloReadExports.h"
#include "platform/Module.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRows = 1000000;

const char* const kTypes[] = {"u8", "s16", "u32", "float32", "float64", "Enumeration", "Array",
                              "User-Defined Type"};

// A folder holding RawSymbolDetails.txt, made once for the program's run.
class RawTableFolder {
public:
    RawTableFolder() {
        std::random_device random;
        path_ = fs::temp_directory_path() / ("virlo-bench-" + std::to_string(random()));
        fs::create_directories(path_);
        std::ofstream table(path_ / "RawSymbolDetails.txt");
        char row[256];
        for (int i = 0; i < kRows; ++i) {
            std::snprintf(row, sizeof row,
                          "0x%016llx;%-11d;%-17s;%-6d;%-6d;%-24d;EcuModule%03d.signal_%07d\n",
                          0x10000ull + 8ull * static_cast<unsigned>(i), 1 << (i % 4), kTypes[i % 8],
                          i % 3, i % 3 == 0 ? 0 : 2, i % 1000, i % 97, i);
            table << row;
        }
    }
    ~RawTableFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::string Path() const { return path_.string() + "/"; }

private:
    fs::path path_;
};

void ReadRawTable(benchmark::State& state) {
    static const RawTableFolder folder;
    platform::ModuleHandle module = platform::LoadModule(VIRLO_LIBRARY);
    if (module == nullptr) {
        state.SkipWithError(platform::LastModuleError().c_str());
        return;
    }
    const VirloReadExports virlo(module);

    for (auto _ : state) {
        if (virlo.initVirlo(folder.Path(), "") != 0) state.SkipWithError("InitVirlo failed");
        const uint32_t more = virlo.cacheVirlo("*");
        state.PauseTiming();
        char last[64];
        std::snprintf(last, sizeof last, "EcuModule%03d.signal_%07d", (kRows - 1) % 97, kRows - 1);
        if (more != 0 || virlo.getVirlo(last) == nullptr) state.SkipWithError("the table was not read whole");
        virlo.terminateVirlo(false);
        state.ResumeTiming();
    }
    state.counters["rows_per_second"] =
        benchmark::Counter(static_cast<double>(kRows) * state.iterations(), benchmark::Counter::kIsRate);
    platform::FreeModule(module);
}

BENCHMARK(ReadRawTable)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
