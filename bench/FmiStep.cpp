// Cost of one fmi2DoStep through the built Ambrel.so when nothing is
// scheduled: the fixed price every step of a master pays.

#include <benchmark/benchmark.h>

#include "FmuHarness.h"

namespace {

void FmiDoStepWithEmptySchedule(benchmark::State& state) {
    harness::FmuLibrary fmu(AMBREL_LIBRARY);
    harness::MessageLog log;
    harness::ResourceFolder folder;
    folder.Write("resources.txt", "fmiVariables\nTasks\n");
    fmi2Component c = fmu.fmi2Instantiate("bench", fmi2CoSimulation, "{bench}", folder.uri().c_str(),
                                          log.callbacks(), fmi2False, fmi2False);
    if (c == nullptr) {
        state.SkipWithError("fmi2Instantiate failed");
        return;
    }
    fmu.fmi2EnterInitializationMode(c);
    fmu.fmi2ExitInitializationMode(c);
    double time = 0.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fmu.fmi2DoStep(c, time, 0.001, fmi2True));
        time += 0.001;
    }
    fmu.fmi2Terminate(c);
    fmu.fmi2FreeInstance(c);
}
BENCHMARK(FmiDoStepWithEmptySchedule);

}  // namespace

BENCHMARK_MAIN();
