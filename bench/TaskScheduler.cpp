// Cost of the task scheduler per task activation: 50 periodic tasks with
// periods of 1 to 50 ms, stepped in 10 ms steps over 10 s of simulated time,
// beside the same bodies called directly in a plain loop and beside a loop
// that sorts the whole schedule after every run.

#include <benchmark/benchmark.h>

#include <array>
#include <utility>

#include "FmiInternalState.h"
#include "TaskExecution.h"
#include "TaskSchedule.h"

namespace {

constexpr int kTasks = 50;
constexpr double kStep = 0.01;
constexpr int kSteps = 1000;  // 10 s

double accumulators[kTasks];

// A little work per body, different for every task.
template <int N>
void Body() {
    accumulators[N] = accumulators[N] * 0.999 + N;
}

template <size_t... N>
constexpr std::array<void (*)(), sizeof...(N)> MakeBodies(std::index_sequence<N...>) {
    return {&Body<N>...};
}
const std::array<void (*)(), kTasks> kBodies = MakeBodies(std::make_index_sequence<kTasks>());

double PeriodOf(int task) { return (task + 1) * 1e-3; }

void BuildSchedule(TaskList& schedule) {
    schedule.clear();
    for (int i = 0; i < kTasks; ++i) {
        schedule.push_back(
            Task("task" + std::to_string(i), TaskKind_periodic, PeriodOf(i), 0.0, i % 4, -1));
        schedule.back().record->SetBodySymbol(
            SymbolRecord(reinterpret_cast<uint64_t>(kBodies[i]), 0, SymbolType_Function, 0, 0));
    }
    SortTasks(schedule);
}

int64_t TotalActivations(const TaskList& schedule) {
    int64_t total = 0;
    for (const Task& task : schedule) total += task.activationCount;
    return total;
}

void ReportPerActivation(benchmark::State& state, int64_t activations) {
    state.counters["activations"] = static_cast<double>(activations);
    state.counters["per_activation"] = benchmark::Counter(
        static_cast<double>(activations),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void RunStepTasksLoop(benchmark::State& state) {
    FmiInternalState instance;
    int64_t activations = 0;
    for (auto _ : state) {
        state.PauseTiming();
        BuildSchedule(instance.tasks);
        state.ResumeTiming();
        for (int step = 0; step < kSteps; ++step) RunStepTasks(instance, step * kStep, kStep);
        activations = TotalActivations(instance.tasks);
    }
    ReportPerActivation(state, activations);
}
BENCHMARK(RunStepTasksLoop)->Unit(benchmark::kMillisecond);

// The same steps, sorting the whole schedule after every run.
void FullSortAfterEveryRun(benchmark::State& state) {
    TaskList schedule;
    int64_t activations = 0;
    for (auto _ : state) {
        state.PauseTiming();
        BuildSchedule(schedule);
        state.ResumeTiming();
        for (int step = 0; step < kSteps; ++step) {
            const double t = step * kStep;
            SortTasks(schedule);
            while (!schedule.empty() && IsTaskDue(schedule.front(), t, kStep)) {
                if (ProcessTask(*schedule.front().record, t, kStep) == 0) schedule.pop_front();
                SortTasks(schedule);
            }
        }
        activations = TotalActivations(schedule);
    }
    ReportPerActivation(state, activations);
}
BENCHMARK(FullSortAfterEveryRun)->Unit(benchmark::kMillisecond);

// The bodies called directly at the same activation times.
void DirectCalls(benchmark::State& state) {
    int64_t activations = 0;
    for (auto _ : state) {
        std::array<int64_t, kTasks> next{};
        std::array<int64_t, kTasks> period{};
        for (int i = 0; i < kTasks; ++i) period[i] = (i + 1) * 1000000;
        activations = 0;
        for (int step = 0; step < kSteps; ++step) {
            const int64_t end = (step + 1) * 10000000LL;
            for (int i = 0; i < kTasks; ++i) {
                while (next[i] <= end) {
                    kBodies[i]();
                    next[i] += period[i];
                    ++activations;
                }
            }
        }
        benchmark::DoNotOptimize(accumulators);
    }
    ReportPerActivation(state, activations);
}
BENCHMARK(DirectCalls)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
