// fmi2GetReal of 10,000 double variables in one call, as a master reads
// its outputs each step: once with a LINEAR "outputs" scaling on every
// variable and once without fmi_scaling.json. The scaled read should stay
// within twice the unscaled one.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "FmuHarness.h"
#include "platform/Module.h"

namespace {

constexpr size_t kVariables = 10000;

// Offset of the fixture's value block from its load address.
uint64_t ValuesOffset() {
    platform::ModuleHandle module = platform::LoadModule(SCALED_ACCESS_VECU);
    if (module == nullptr) throw std::runtime_error("cannot load " + std::string(SCALED_ACCESS_VECU));
    const auto address = reinterpret_cast<uint64_t>(platform::FindModuleSymbol(module, "scaledAccessValues"));
    const uint64_t offset = address - platform::ModuleBaseAddress(module);
    platform::FreeModule(module);
    return offset;
}

std::string Hex(uint64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

// One instantiated FMU over the fixture, every double a variable.
class Fmu {
public:
    explicit Fmu(bool scaled) {
        if (!library_.loaded()) throw std::runtime_error("cannot load " + std::string(AMBREL_LIBRARY));
        const uint64_t offset = ValuesOffset();
        folder_.Copy(SCALED_ACCESS_VECU, "vecu.so");
        std::string resources = "vEcuDll\n    vecu.so\nfmiVariables\n";
        std::string scalings = "[";
        for (size_t i = 0; i < kVariables; ++i) {
            const std::string address = Hex(offset + 8 * i);
            resources += "    " + address + " 8 10 0 0\n";
            if (i != 0) scalings += ",";
            scalings += R"({"symbol": "v)" + std::to_string(i) + R"(", "causality": "outputs", "address": ")" +
                        address + R"(", "LINEAR": [2.0, 1.0]})";
        }
        folder_.Write("resources.txt", resources);
        if (scaled) folder_.Write("fmi_scaling.json", scalings + "]");

        component_ = library_.fmi2Instantiate("bench", fmi2CoSimulation, "{bench}", folder_.uri().c_str(),
                                              log_.callbacks(), fmi2False, fmi2False);
        if (component_ == nullptr) throw std::runtime_error("fmi2Instantiate failed");
        for (size_t i = 0; i < kVariables; ++i) references_.push_back(static_cast<fmi2ValueReference>(i + 1));
        values_.resize(kVariables);
    }

    ~Fmu() {
        // Never initialised, so there is no run to terminate.
        library_.fmi2FreeInstance(component_);
    }

    fmi2Status ReadAll() {
        return library_.fmi2GetReal(component_, references_.data(), references_.size(), values_.data());
    }
    const std::vector<fmi2Real>& values() const { return values_; }

private:
    harness::FmuLibrary library_{AMBREL_LIBRARY};
    harness::MessageLog log_;
    harness::ResourceFolder folder_;
    fmi2Component component_ = nullptr;
    std::vector<fmi2ValueReference> references_;
    std::vector<fmi2Real> values_;
};

void ReadAll(benchmark::State& state, bool scaled) {
    // One live instance per process: each run builds its own and frees it.
    Fmu fmu(scaled);
    for (auto _ : state) {
        benchmark::DoNotOptimize(fmu.ReadAll());
        benchmark::ClobberMemory();
    }
    // The block starts at 0.0: scaled reads deliver 2·0 + 1.
    if (fmu.values().front() != (scaled ? 1.0 : 0.0)) state.SkipWithError("values were not converted as set up");
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kVariables));
}

void BM_GetRealUnscaled(benchmark::State& state) { ReadAll(state, false); }
void BM_GetRealScaledLinear(benchmark::State& state) { ReadAll(state, true); }

BENCHMARK(BM_GetRealUnscaled)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GetRealScaledLinear)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
