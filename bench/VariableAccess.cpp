// fmi2GetReal and fmi2SetReal of 10,000 unscaled double variables in one
// call each, against a switch-based getter and setter over the same ECU
// memory. Target: the runtime within 1.5 times the switch. A bare array
// index is measured beside them for scale.

#include <benchmark/benchmark.h>

#include <cinttypes>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "FmuHarness.h"
#include "VariableAccessSwitch.h"
#include "platform/Module.h"

namespace {

constexpr size_t kVariables = 10000;

std::string Hex(uint64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%" PRIx64, value);
    return text;
}

// One instantiated FMU whose value references 1..10000 are the doubles of
// the fixture's array, each named as a text record.
class Fmu {
public:
    Fmu() {
        if (!library_.loaded()) throw std::runtime_error("cannot load " + std::string(AMBREL_LIBRARY));
        folder_.Copy(VARIABLE_ACCESS_VECU, "vecu.so");
        folder_.Copy(VIRLO_LIBRARY, "Virlo.so");
        vecu_ = platform::LoadModule(folder_.path() + "vecu.so");
        values_ = static_cast<double*>(platform::FindModuleSymbol(vecu_, "variableAccessValues"));
        if (values_ == nullptr) throw std::runtime_error("fixture without its values");
        const uint64_t offset = reinterpret_cast<uint64_t>(values_) - platform::ModuleBaseAddress(vecu_);

        std::string resources = "vEcuDll\n    vecu.so\n\nfmiVariables\n";
        for (size_t i = 0; i < kVariables; ++i) resources += "    " + Hex(offset + 8 * i) + " 8 10 0 0\n";
        folder_.Write("resources.txt", resources);
        component_ = library_.fmi2Instantiate("bench", fmi2CoSimulation, "{bench}", folder_.uri().c_str(),
                                              log_.callbacks(), fmi2False, fmi2False);
        if (component_ == nullptr) throw std::runtime_error("fmi2Instantiate failed");
        for (size_t i = 0; i < kVariables; ++i) references_.push_back(static_cast<fmi2ValueReference>(i + 1));
        buffer_.assign(kVariables, 1.5);
    }

    ~Fmu() {
        // Never initialised, so there is no run to terminate.
        library_.fmi2FreeInstance(component_);
        platform::FreeModule(vecu_);
    }

    void GetAll() { library_.fmi2GetReal(component_, references_.data(), kVariables, buffer_.data()); }
    void SetAll() { library_.fmi2SetReal(component_, references_.data(), kVariables, buffer_.data()); }

    // What a hand-written FMU does for the same calls.
    void SwitchGetAll() {
        for (size_t i = 0; i < kVariables; ++i) {
            const double* variable = SwitchVariable(values_, references_[i]);
            buffer_[i] = variable != nullptr ? *variable : 0.0;
        }
    }
    void SwitchSetAll() {
        for (size_t i = 0; i < kVariables; ++i) {
            double* variable = SwitchVariable(values_, references_[i]);
            if (variable != nullptr) *variable = buffer_[i];
        }
    }

    // For scale: no per-variable dispatch at all, just the array index.
    void IndexGetAll() {
        for (size_t i = 0; i < kVariables; ++i) buffer_[i] = values_[references_[i] - 1];
    }

    std::vector<double>& buffer() { return buffer_; }

private:
    harness::FmuLibrary library_{AMBREL_LIBRARY};
    harness::MessageLog log_;
    harness::ResourceFolder folder_;
    platform::ModuleHandle vecu_ = nullptr;
    double* values_ = nullptr;
    fmi2Component component_ = nullptr;
    std::vector<fmi2ValueReference> references_;
    std::vector<double> buffer_;
};

Fmu& TheFmu() {
    static Fmu fmu;
    return fmu;
}

template <void (Fmu::*operation)()>
void PerValue(benchmark::State& state) {
    Fmu& fmu = TheFmu();
    for (auto _ : state) {
        (fmu.*operation)();
        benchmark::DoNotOptimize(fmu.buffer().data());
        benchmark::ClobberMemory();
    }
    // Time per value, printed with its unit (e.g. "6.5ns").
    state.counters["per_value"] = benchmark::Counter(
        static_cast<double>(kVariables), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void fmi2GetReal_10000(benchmark::State& state) { PerValue<&Fmu::GetAll>(state); }
void SwitchGetter_10000(benchmark::State& state) { PerValue<&Fmu::SwitchGetAll>(state); }
void ArrayIndexGetter_10000(benchmark::State& state) { PerValue<&Fmu::IndexGetAll>(state); }
void fmi2SetReal_10000(benchmark::State& state) { PerValue<&Fmu::SetAll>(state); }
void SwitchSetter_10000(benchmark::State& state) { PerValue<&Fmu::SwitchSetAll>(state); }

BENCHMARK(fmi2GetReal_10000);
BENCHMARK(SwitchGetter_10000);
BENCHMARK(ArrayIndexGetter_10000);
BENCHMARK(fmi2SetReal_10000);
BENCHMARK(SwitchSetter_10000);

}  // namespace

BENCHMARK_MAIN();
