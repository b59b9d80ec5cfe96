#include "TaskExecution.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <map>
#include <random>
#include <utility>
#include <vector>

#include "FmiInternalState.h"
#include "TaskSchedule.h"
#include "TaskTestSupport.h"
#include "TaskTime.h"

namespace {

using task_test::Names;

// A body run as the test sees it: which body, and the task's state while
// its body runs.
struct BodyRun {
    int body;
    double activation;  // nextActivation during the run, in task time
    int64_t count;
    bool operator==(const BodyRun& other) const {
        const bool sameActivation = activation == other.activation ||
                                    (std::isnan(activation) && std::isnan(other.activation));
        return body == other.body && sameActivation && count == other.count;
    }
};

void PrintTo(const BodyRun& run, std::ostream* out) {
    *out << "{body " << run.body << " at " << run.activation << " count " << run.count << "}";
}

std::vector<BodyRun> runs;
std::map<int, Task*> bodyTasks;
std::map<int, std::function<void()>> bodyActions;

template <int N>
void Body() {
    const Task* task = bodyTasks[N];
    runs.push_back({N, task->nextActivation, task->activationCount});
    if (bodyActions.count(N) != 0) bodyActions[N]();
}

using BodyFunction = void (*)();
template <size_t... N>
constexpr std::array<BodyFunction, sizeof...(N)> MakeBodies(std::index_sequence<N...>) {
    return {&Body<N>...};
}
const std::array<BodyFunction, 12> kBodies = MakeBodies(std::make_index_sequence<12>());

// What a trigger function received, and what it answers.
struct TriggerCall {
    double nextActivation;
    double stepEnd;
    double* store;
    bool runFlagBefore;
    uint64_t* inputs;
};
std::vector<TriggerCall> triggerCalls;
std::function<void(double next, double end, double* store, bool* run)> triggerAnswer;

void Trigger(double next, double end, double* store, bool* run, uint64_t* inputs) {
    triggerCalls.push_back({next, end, store, *run, inputs});
    triggerAnswer(next, end, store, run);
}

template <typename Function>
uint64_t Address(Function* function) {
    return reinterpret_cast<uint64_t>(function);
}

class TaskExecution : public ::testing::Test {
protected:
    void SetUp() override {
        runs.clear();
        bodyTasks.clear();
        bodyActions.clear();
        triggerCalls.clear();
        triggerAnswer = [](double, double end, double* store, bool* run) {
            *store = end + 1.0;
            *run = true;
        };
    }

    // Adds a task bound to body number `body` and returns it.
    Task& Add(int body, int32_t kind, double period, double offset, uint32_t priority = 0,
              int64_t maxActivations = -1) {
        schedule().push_back(
            Task("task" + std::to_string(body), kind, period, offset, priority, maxActivations));
        Task& task = schedule().back();
        task.record->SetBodySymbol(
            SymbolRecord(Address(kBodies[body]), 0, SymbolType_Function, 0, 0));
        if (kind == TaskKind_triggered)
            task.record->SetTriggerSymbol(
                SymbolRecord(Address(&Trigger), 0, SymbolType_Function, 0, 0));
        bodyTasks[body] = &task;
        return task;
    }

    TaskList& schedule() { return instance.tasks; }
    std::vector<int> Bodies() {
        std::vector<int> bodies;
        for (const BodyRun& run : runs) bodies.push_back(run.body);
        return bodies;
    }

    FmiInternalState instance;
};

}  // namespace

TEST_F(TaskExecution, PeriodicTaskRunsAtBothEndsOfItsFirstStep) {
    Task& task = Add(0, TaskKind_periodic, 0.01, 0.0);
    RunStepTasks(instance, 0.0, 0.01);
    EXPECT_EQ(runs, (std::vector<BodyRun>{{0, 0.0, 1}, {0, 1e7, 2}}));
    EXPECT_EQ(task.nextActivation, 2e7);
    runs.clear();
    RunStepTasks(instance, 0.01, 0.01);
    EXPECT_EQ(runs, (std::vector<BodyRun>{{0, 2e7, 3}}));
    EXPECT_EQ(task.nextActivation, 3e7);
}

TEST_F(TaskExecution, PeriodicTaskRunsOncePerActivationOfALongStep) {
    Add(0, TaskKind_periodic, 0.01, 0.0);
    RunStepTasks(instance, 0.0, 0.05);
    EXPECT_EQ(runs,
              (std::vector<BodyRun>{
                  {0, 0, 1}, {0, 1e7, 2}, {0, 2e7, 3}, {0, 3e7, 4}, {0, 4e7, 5}, {0, 5e7, 6}}));
}

TEST_F(TaskExecution, TasksInterleaveByActivationThenPriority) {
    Add(0, TaskKind_periodic, 0.02, 0.0, 5);
    Add(1, TaskKind_periodic, 0.01, 0.005, 0);
    Add(2, TaskKind_periodic, 0.02, 0.0, 1);
    SortTasks(schedule());
    RunStepTasks(instance, 0.0, 0.03);
    // 0: 2, 0; 5 ms: 1; 15 ms: 1; 20 ms: 2, 0; 25 ms: 1
    EXPECT_EQ(Bodies(), (std::vector<int>{2, 0, 1, 1, 2, 0, 1}));
}

TEST_F(TaskExecution, EqualTasksTakeTurnsAsAStableSortOfTheWholeScheduleGives) {
    for (int body = 0; body < 4; ++body) Add(body, TaskKind_periodic, 0.01, 0.0, 3);
    RunStepTasks(instance, 0.0, 0.02);
    // A task that ran sorts behind the equal tasks that have not run yet
    // and keeps its place before those that already ran.
    EXPECT_EQ(Bodies(), (std::vector<int>{0, 1, 2, 3, 3, 2, 1, 0, 0, 1, 2, 3}));
}

TEST_F(TaskExecution, FirstStepTaskRunsBeforeTheOthersAndIsGone) {
    Add(0, TaskKind_periodic, 0.01, 0.0);
    Add(1, TaskKind_triggered, 0.0, 0.0);
    Add(2, TaskKind_firstStep, 0.0, 7.0);
    SortTasks(schedule());
    RunStepTasks(instance, 0.25, 0.001);
    ASSERT_GE(runs.size(), 3u);
    EXPECT_EQ(runs[0].body, 2);
    EXPECT_EQ(runs[0].count, 1);
    EXPECT_EQ(Bodies()[1], 0);
    EXPECT_EQ(Bodies()[2], 1);
    EXPECT_EQ(Names(schedule()), (std::vector<std::string>{"task0", "task1"}));

    Task alone("alone", TaskKind_firstStep, 0, 0, 0, -1);
    alone.record->SetBodySymbol(SymbolRecord(Address(kBodies[3]), 0, 0, 0, 0));
    bodyTasks[3] = &alone;
    EXPECT_EQ(ProcessTask(*alone.record, 0.25, 0.1), 0);
    EXPECT_EQ(alone.activationCount, 1);
    EXPECT_EQ(alone.nextActivation, 2.5e8);  // the start of the step
}

TEST_F(TaskExecution, RunLimitRemovesTheTaskWhenItNextComesDue) {
    Task& task = Add(0, TaskKind_periodic, 0.01, 0.0, 0, 3);
    RunStepTasks(instance, 0.0, 0.025);
    EXPECT_EQ(runs.size(), 3u);
    EXPECT_EQ(task.activationCount, 3);
    EXPECT_EQ(schedule().size(), 1u);  // not due again yet
    RunStepTasks(instance, 0.025, 0.01);
    EXPECT_EQ(runs.size(), 3u);
    EXPECT_TRUE(schedule().empty());
}

TEST_F(TaskExecution, LimitZeroIsRemovedAtItsFirstProcessingWithoutRunning) {
    Add(0, TaskKind_periodic, 0.01, 0.0, 0, 0);
    Add(1, TaskKind_periodic, 0.01, 0.0, 1);
    RunStepTasks(instance, 0.0, 0.001);
    EXPECT_EQ(Bodies(), std::vector<int>{1});
    EXPECT_EQ(Names(schedule()), std::vector<std::string>{"task1"});
}

TEST_F(TaskExecution, TriggerGetsItsFiveArgumentsAndDecidesTheRun) {
    Task& task = Add(0, TaskKind_triggered, 0.0, 0.002);
    task.record->SetTriggerInputAddress(0xABC, 0);
    triggerAnswer = [](double, double, double* store, bool*) { *store = 0.5; };
    RunStepTasks(instance, 0.0, 0.01);
    ASSERT_EQ(triggerCalls.size(), 1u);
    EXPECT_DOUBLE_EQ(triggerCalls[0].nextActivation, 0.002);
    EXPECT_EQ(triggerCalls[0].stepEnd, 0.01);
    EXPECT_EQ(triggerCalls[0].store, &task.nextActivation);
    EXPECT_FALSE(triggerCalls[0].runFlagBefore);
    EXPECT_EQ(triggerCalls[0].inputs, task.record->TriggerInputAddresses());
    EXPECT_EQ(triggerCalls[0].inputs[0], 0xABCu);
    EXPECT_TRUE(runs.empty());  // the trigger said no
    EXPECT_EQ(task.activationCount, 0);
    EXPECT_EQ(task.nextActivation, 5e8);

    triggerAnswer = [](double next, double, double* store, bool* run) {
        *store = next + 0.1;
        *run = true;
    };
    RunStepTasks(instance, 0.4, 0.2);  // due at 0.5 and at 0.6
    // The body runs before the count grows.
    EXPECT_EQ(runs, (std::vector<BodyRun>{{0, 6e8, 0}, {0, 7e8, 1}}));
    EXPECT_EQ(task.activationCount, 2);
    EXPECT_EQ(task.nextActivation, 7e8);
}

TEST_F(TaskExecution, AnyNonZeroRunFlagByteMeansRun) {
    Add(0, TaskKind_triggered, 0.0, 0.0);
    triggerAnswer = [](double, double, double* store, bool* run) {
        *store = 1.0;
        const unsigned char byte = 2;
        std::memcpy(run, &byte, 1);
    };
    RunStepTasks(instance, 0.0, 0.01);
    EXPECT_EQ(runs.size(), 1u);
}

TEST_F(TaskExecution, OnlyTerminateTasksMeanNothingRunsInAStep) {
    Task& task = Add(0, TaskKind_terminate, 0, 0);
    RunStepTasks(instance, 0.0, 1.0);
    EXPECT_TRUE(runs.empty());
    EXPECT_EQ(task.activationCount, 0);
}

TEST_F(TaskExecution, ScheduleThatEmptiesEndsTheStep) {
    Add(0, TaskKind_firstStep, 0, 0);
    Add(1, TaskKind_periodic, 0.01, 0.0, 0, 1);
    RunStepTasks(instance, 0.0, 1.0);
    EXPECT_EQ(Bodies(), (std::vector<int>{0, 1}));
    EXPECT_TRUE(schedule().empty());
    RunStepTasks(instance, 1.0, 1.0);
    EXPECT_EQ(runs.size(), 2u);
}

TEST_F(TaskExecution, TerminateTasksRunAgainUntilTheirLimit) {
    Task& once = Add(0, TaskKind_terminate, 0, 0, 0, 1);
    Task& always = Add(1, TaskKind_terminate, 0, 0, 0, -1);
    Add(2, TaskKind_periodic, 0.01, 0);
    RunTerminationTasks(instance);  // terminate
    RunTerminationTasks(instance);  // then reset
    EXPECT_EQ(Bodies(), (std::vector<int>{0, 1, 1}));
    EXPECT_EQ(once.activationCount, 1);
    EXPECT_EQ(always.activationCount, 2);
    EXPECT_EQ(schedule().size(), 3u);
}

TEST_F(TaskExecution, InitTasksRunOnceInTheirModeAndLeave) {
    Add(0, TaskKind_enterInitialization, 0, 0);
    Add(1, TaskKind_exitInitialization, 0, 0);
    Add(2, TaskKind_enterInitialization, 0, 0);
    Add(3, TaskKind_enterInitialization, 0, 0, 0, 0);  // limit reached: stays
    EXPECT_EQ(RunEnterInitTasks(instance), 0);
    EXPECT_EQ(Bodies(), (std::vector<int>{0, 2}));
    EXPECT_EQ(Names(schedule()), (std::vector<std::string>{"task1", "task3"}));
    EXPECT_EQ(RunEnterInitTasks(instance), 0);
    EXPECT_EQ(runs.size(), 2u);
    EXPECT_EQ(RunExitInitTasks(instance), 0);
    EXPECT_EQ(Bodies(), (std::vector<int>{0, 2, 1}));
    // The first step removes the one whose limit was reached.
    RunStepTasks(instance, 0.0, 0.01);
    EXPECT_TRUE(schedule().empty());
    EXPECT_EQ(runs.size(), 3u);
}

TEST_F(TaskExecution, UnboundTasksAreNeverCalledAndHoldNothingBack) {
    Task& noBody = Add(0, TaskKind_periodic, 0.01, 0.0);
    noBody.record->SetBodySymbol(SymbolRecord());
    Task& noTrigger = Add(1, TaskKind_triggered, 0, 0);
    noTrigger.record->SetTriggerSymbol(SymbolRecord());
    Task& noInit = Add(2, TaskKind_enterInitialization, 0, 0);
    noInit.record->SetBodySymbol(SymbolRecord());
    Task& noTerminate = Add(3, TaskKind_terminate, 0, 0);
    noTerminate.record->SetBodySymbol(SymbolRecord());
    Add(4, TaskKind_periodic, 0.01, 0.0);
    SortTasks(schedule());
    EXPECT_EQ(RunEnterInitTasks(instance), 0);
    RunStepTasks(instance, 0.0, 0.02);
    RunTerminationTasks(instance);
    EXPECT_EQ(Bodies(), (std::vector<int>{4, 4, 4}));
    EXPECT_TRUE(triggerCalls.empty());
    for (const Task* task : {&noBody, &noTrigger, &noInit, &noTerminate}) {
        EXPECT_EQ(task->activationCount, 0);
        EXPECT_TRUE(std::isnan(task->nextActivation));
    }
    EXPECT_EQ(schedule().size(), 5u);
    EXPECT_EQ(ProcessTask(*noBody.record, 0.0, 1.0), 1);
    EXPECT_EQ(noBody.activationCount, 0);
}

TEST_F(TaskExecution, InitTasksLeftByTheMasterDoNotStopTheStep) {
    Task& init = Add(0, TaskKind_enterInitialization, 0, 0);
    Add(1, TaskKind_exitInitialization, 0, 0);
    Add(2, TaskKind_periodic, 0.01, 0.0);
    RunStepTasks(instance, 0.0, 0.01);
    EXPECT_EQ(Bodies(), (std::vector<int>{2, 2}));
    EXPECT_EQ(init.activationCount, 0);
    // They still run when the master enters initialisation later.
    RunEnterInitTasks(instance);
    RunExitInitTasks(instance);
    EXPECT_EQ(Bodies(), (std::vector<int>{2, 2, 0, 1}));
}

TEST_F(TaskExecution, UnknownKindDoesNotStopTheStep) {
    Add(0, 7, 0.01, 0.0);
    Add(1, TaskKind_periodic, 0.01, 0.0);
    SortTasks(schedule());
    RunStepTasks(instance, 0.0, 0.01);
    EXPECT_EQ(Bodies(), (std::vector<int>{1, 1}));
}

TEST_F(TaskExecution, PutOffFirstStepTaskRunsWhenDueAndHoldsNothingBack) {
    Task& first = Add(0, TaskKind_firstStep, 0, 0);
    Add(1, TaskKind_periodic, 0.01, 0.0);
    first.SetNextActivation(0.015);  // as a plug-in may do
    RunStepTasks(instance, 0.0, 0.01);
    EXPECT_EQ(Bodies(), (std::vector<int>{1, 1}));
    RunStepTasks(instance, 0.01, 0.01);
    EXPECT_EQ(Bodies(), (std::vector<int>{1, 1, 0, 1}));
    EXPECT_EQ(Names(schedule()), std::vector<std::string>{"task1"});
}

TEST_F(TaskExecution, ZeroPeriodRunsOncePerStep) {
    Task& task = Add(0, TaskKind_periodic, 0.0, 0.0);
    Add(1, TaskKind_periodic, 0.01, 0.0);
    RunStepTasks(instance, 0.0, 0.01);
    RunStepTasks(instance, 0.01, 0.01);
    EXPECT_EQ(task.activationCount, 2);
    EXPECT_EQ(Bodies(), (std::vector<int>{0, 1, 1, 0, 1}));
}

TEST_F(TaskExecution, TriggerThatKeepsTheTaskDueIsProcessedOncePerActivation) {
    Task& same = Add(0, TaskKind_triggered, 0, 0.0);
    triggerAnswer = [](double next, double, double* store, bool* run) {
        *store = next;  // due again at once
        *run = true;
    };
    RunStepTasks(instance, 0.0, 0.01);
    EXPECT_EQ(same.activationCount, 1);
    EXPECT_EQ(triggerCalls.size(), 1u);

    triggerAnswer = [](double, double, double* store, bool* run) {
        *store = 0.0;  // back in time
        *run = false;
    };
    RunStepTasks(instance, 0.01, 0.01);
    EXPECT_EQ(triggerCalls.size(), 2u);
    EXPECT_EQ(same.nextActivation, 0.0);
}

TEST_F(TaskExecution, TaskMovedBackDuringAStepWaitsForTheNextStep) {
    Task& task = Add(0, TaskKind_periodic, 0.01, 0.0);
    Add(1, TaskKind_periodic, 0.01, 0.0, 1);
    // As a plug-in could between the notifications of every run.
    bodyActions[0] = [&task] { task.SetActivationCount(0); };
    RunStepTasks(instance, 0.0, 0.02);
    EXPECT_EQ(Bodies(), (std::vector<int>{0, 1, 1, 1}));
    RunStepTasks(instance, 0.02, 0.01);
    EXPECT_EQ(Bodies(), (std::vector<int>{0, 1, 1, 1, 0, 1}));
}

TEST_F(TaskExecution, TimesBeyondTheRangeSaturateAndTheStepEnds) {
    Task& far = Add(0, TaskKind_periodic, 0.01, 3e10);  // beyond 2^64 ns
    RunStepTasks(instance, 0.0, 1.0);
    EXPECT_EQ(far.nextActivation, kLatestTaskTime);
    EXPECT_TRUE(runs.empty());
    RunStepTasks(instance, 4e10, 1.0);  // the end of the step saturates as well
    EXPECT_EQ(far.activationCount, 1);
    EXPECT_EQ(far.nextActivation, kLatestTaskTime);
}

TEST_F(TaskExecution, ChangesToOtherTasksDuringARunReorderTheSchedule) {
    Add(0, TaskKind_periodic, 0.01, 0.0);
    Task& late = Add(1, TaskKind_periodic, 0.01, 0.0, 9);
    Add(2, TaskKind_periodic, 0.01, 0.0, 5);
    SortTasks(schedule());
    // While task 0 runs (as a plug-in could between its notifications),
    // task 1 is made the most urgent.
    bodyActions[0] = [&late] {
        late.SetPriority(0);
        bodyActions.erase(0);
    };
    RunStepTasks(instance, 0.0, 0.001);
    EXPECT_EQ(Bodies(), (std::vector<int>{0, 1, 2}));
    // Between steps: the next step sorts before it looks at the head.
    late.SetNextActivation(0.0115);
    bodyTasks[2]->SetNextActivation(0.0095);
    RunStepTasks(instance, 0.009, 0.002);
    EXPECT_EQ(Bodies(), (std::vector<int>{0, 1, 2, 2, 0}));
}

namespace {

// The step loop as plainly as it can be written: sort the whole schedule,
// run the head while it is due, sort again after every run.
void StepSortingAfterEveryRun(TaskList& schedule, double t, double h) {
    SortTasks(schedule);
    while (!schedule.empty() && schedule.front().kind != TaskKind_terminate &&
           IsTaskDue(schedule.front(), t, h)) {
        if (ProcessTask(*schedule.front().record, t, h) == 0) schedule.pop_front();
        SortTasks(schedule);
    }
}

}  // namespace

// On schedules where the plain loop ends, the step loop with its shortcuts
// (moving only the task that ran, passing over tasks already processed at
// their time) must run exactly the same tasks in the same order, also when
// plug-ins change priorities during a step and timings between steps.
TEST_F(TaskExecution, StepsRunExactlyAsSortingAfterEveryRunWould) {
    std::mt19937 random(7);
    auto pick = [&random](int count) {
        return std::uniform_int_distribution<int>(0, count - 1)(random);
    };
    triggerAnswer = [](double next, double, double* store, bool* run) {
        *store = next + 0.004;
        *run = static_cast<int64_t>(next * 1000) % 3 != 0;
    };
    const double periods[] = {0.001, 0.002, 0.005, 0.01, 0.03};
    const double offsets[] = {0.0, 0.003, 0.01};
    const int64_t limits[] = {-1, -1, 0, 2, 5};
    const int32_t kinds[] = {TaskKind_firstStep, TaskKind_triggered, TaskKind_periodic,
                             TaskKind_periodic, TaskKind_terminate};
    constexpr int kSteps = 12;
    for (int trial = 0; trial < 60; ++trial) {
        schedule().clear();
        const int count = 1 + pick(12);
        for (int body = 0; body < count; ++body)
            Add(body, kinds[pick(5)], periods[pick(5)], offsets[pick(3)], pick(2), limits[pick(5)]);
        SortTasks(schedule());
        TaskList reference;
        for (const Task& task : schedule()) reference.push_back(task);
        // Between steps: a new priority for one task and a later time for
        // one triggered task. During a run: one priority change.
        struct Edit {
            int priorityTask;
            uint32_t priority;
            int timeTask;
            double delay;
            int runningBody;
            int editedBody;
        };
        std::vector<Edit> edits;
        for (int step = 0; step < kSteps; ++step)
            edits.push_back({pick(count), static_cast<uint32_t>(pick(3)), pick(count),
                             0.001 * pick(20), pick(count), pick(count)});

        auto run = [&](TaskList& tasks,
                       const std::function<void(TaskList&, double, double)>& stepper) {
            runs.clear();
            auto named = [&tasks](int body) -> Task* {
                for (Task& task : tasks)
                    if (task.name == "task" + std::to_string(body)) return &task;
                return nullptr;
            };
            for (Task& task : tasks) bodyTasks[std::stoi(task.name.substr(4))] = &task;
            for (int step = 0; step < kSteps; ++step) {
                const Edit& edit = edits[step];
                if (Task* task = named(edit.priorityTask)) task->SetPriority(edit.priority);
                Task* delayed = named(edit.timeTask);
                if (delayed != nullptr && delayed->kind == TaskKind_triggered &&
                    !std::isnan(delayed->nextActivation))
                    delayed->SetNextActivation(delayed->GetNextActivation() + edit.delay);
                bodyActions.clear();
                bodyActions[edit.runningBody] = [named, edit] {
                    if (Task* task = named(edit.editedBody)) task->SetPriority(edit.priority + 1);
                    bodyActions.erase(edit.runningBody);
                };
                stepper(tasks, step * 0.004, 0.004);
            }
            return runs;
        };
        const std::vector<BodyRun> expected = run(reference, StepSortingAfterEveryRun);
        const std::vector<BodyRun> actual = run(
            schedule(), [this](TaskList&, double t, double h) { RunStepTasks(instance, t, h); });
        ASSERT_EQ(actual.size(), expected.size()) << "trial " << trial;
        for (size_t i = 0; i < actual.size(); ++i)
            ASSERT_EQ(actual[i], expected[i]) << "trial " << trial << " run " << i;
        EXPECT_EQ(Names(schedule()), Names(reference)) << "trial " << trial;
    }
}
