#include "TaskExecution.h"

#include <cmath>
#include <cstring>

#include "FmiInternalState.h"
#include "PluginNotifications.h"
#include "TaskSchedule.h"
#include "TaskTime.h"

namespace {

// The vECU functions as the runtime calls them; their results are ignored.
using TaskBodyFunction = void (*)();
using TaskTriggerFunction = void (*)(double nextActivation, double stepEnd,
                                     double* storedNextActivation, bool* run,
                                     uint64_t* triggerInputAddresses);

// Serial number of the running step, for the once-per-activation rule.
uint64_t stepSerial = 0;

bool RunLimitReached(const Task& task) {
    return task.maxActivations >= 0 && task.activationCount >= task.maxActivations;
}

void CallBody(TaskRecord& record) {
    reinterpret_cast<TaskBodyFunction>(record.BodySymbol()->address)();
}

// Calls the trigger function; it stores the next activation in seconds in
// the task's nextActivation, which is then converted to task time. True
// when the trigger asks for a run.
bool CallTrigger(TaskRecord& record, double t, double h) {
    Task& task = *record.task;
    bool run = false;
    reinterpret_cast<TaskTriggerFunction>(record.TriggerSymbol()->address)(
        task.nextActivation / 1e9, t + h, &task.nextActivation, &run,
        record.TriggerInputAddresses());
    task.nextActivation = SecondsToTaskTime(task.nextActivation, task.epsilon);
    // The flag is written by foreign code: any non-zero byte means true.
    unsigned char flag = 0;
    std::memcpy(&flag, &run, sizeof flag);
    return flag != 0;
}

// IsTaskDue with the end of the step already in task time.
bool IsDueBy(const Task& task, double stepEnd) {
    return std::isnan(task.nextActivation) || stepEnd >= task.nextActivation;
}

// The task time of a task's first activation: its offset counted from the
// origin of the schedule (the start time of the simulation in task time).
double FirstActivation(const Task& task, double origin) {
    return origin + SecondsToTaskTime(task.offset, task.epsilon);
}

// Schedules a triggered or periodic task at its first activation on its
// first processing.
void ScheduleAtOffset(Task& task, double origin) {
    if (std::isnan(task.nextActivation)) task.nextActivation = FirstActivation(task, origin);
}

// The activation time at which processing the task now would run it: its
// next activation, for an unscheduled triggered or periodic task its first
// one, and -1 (before every task time) for any other task that has none.
double PendingActivation(const Task& task, double origin) {
    double activation = task.nextActivation;
    if (std::isnan(activation) &&
        (task.kind == TaskKind_triggered || task.kind == TaskKind_periodic))
        activation = FirstActivation(task, origin);
    return std::isnan(activation) ? -1.0 : activation;
}

// What one step has processed: a task is processed again in the same step
// only at a later activation time than before, so at most once per time. A
// task that processing leaves due at a time it was already processed at
// (it changed nothing, its period is 0 ns, its trigger keeps it due or goes
// back, a plug-in moves it back) would otherwise keep the step from ending.
class StepProgress {
public:
    explicit StepProgress(double origin) : step_(++stepSerial), origin_(origin) {}

    bool MayProcess(const Task& task) const {
        return task.lastProcessedStep != step_ ||
               PendingActivation(task, origin_) > task.lastProcessedActivation;
    }

    void Processing(Task& task) const {
        task.lastProcessedStep = step_;
        task.lastProcessedActivation = PendingActivation(task, origin_);
    }

private:
    const uint64_t step_;
    const double origin_;
};

// The next task that the step processes: the first bound task, in schedule
// order, that is due and may be processed again; a task that is not due
// ends the search in its schedule class, the terminate tasks end it.
TaskList::iterator NextTaskToProcess(TaskList& schedule, double stepEnd,
                                     const StepProgress& progress) {
    auto task = schedule.begin();
    while (task != schedule.end() && task->kind != TaskKind_terminate) {
        if (IsTaskBound(*task)) {
            if (!IsDueBy(*task, stepEnd)) {
                const int32_t scheduleClass = task->scheduleClass;
                while (task != schedule.end() && task->scheduleClass == scheduleClass) ++task;
                continue;
            }
            if (progress.MayProcess(*task)) return task;
        }
        ++task;
    }
    return schedule.end();
}

// Runs an initialisation task of the given kind.
int RunInitTask(TaskRecord& record, int32_t kind) {
    Task& task = *record.task;
    if (RunLimitReached(task) || task.kind != kind || !IsTaskBound(task)) return 1;
    ++task.activationCount;
    CallBody(record);
    return 0;
}

int RunInitTasks(FmiInternalState& instance, int (*runTask)(TaskRecord&)) {
    TaskList& schedule = instance.tasks;
    for (auto task = schedule.begin(); task != schedule.end();)
        task = runTask(*task->record) == 0 ? schedule.erase(task) : std::next(task);
    return 0;
}

// ProcessTask with the end of the step and the origin already in task time.
int ProcessTaskBy(TaskRecord& record, double t, double h, double stepEnd, double origin) {
    Task& task = *record.task;
    if (RunLimitReached(task)) return 0;
    if (!IsTaskBound(task)) return 1;
    switch (task.kind) {
        case TaskKind_firstStep:
            // Runs once, at the first step that reaches it; a plug-in may
            // have put it off to a later time.
            if (!IsDueBy(task, stepEnd)) return 1;
            ++task.activationCount;
            CallBody(record);
            task.nextActivation = SecondsToTaskTime(t, task.epsilon);
            return 0;
        case TaskKind_triggered:
            ScheduleAtOffset(task, origin);
            if (IsDueBy(task, stepEnd) && CallTrigger(record, t, h)) {
                CallBody(record);
                ++task.activationCount;
            }
            return 1;
        case TaskKind_periodic:
            ScheduleAtOffset(task, origin);
            if (IsDueBy(task, stepEnd)) {
                ++task.activationCount;
                CallBody(record);
                task.nextActivation =
                    PeriodicActivationTime(FirstActivation(task, origin),
                                           SecondsToTaskTime(task.period, task.epsilon),
                                           static_cast<uint64_t>(task.activationCount));
            }
            return 1;
        default: return 1;
    }
}

}  // namespace

bool IsTaskBound(const Task& task) {
    if (task.record->bodySymbol.address == 0) return false;
    return task.kind != TaskKind_triggered || task.record->triggerSymbol.address != 0;
}

bool IsTaskDue(const Task& task, double t, double h) {
    return IsDueBy(task, SecondsToTaskTime(t + h, task.epsilon));
}

int ProcessTask(TaskRecord& record, double t, double h, double startTime) {
    const double epsilon = record.task->epsilon;
    return ProcessTaskBy(record, t, h, SecondsToTaskTime(t + h, epsilon),
                         SecondsToTaskTime(startTime, epsilon));
}

void RunStepTasks(FmiInternalState& instance, double t, double h) {
    TaskList& schedule = instance.tasks;
    SortTasksIfNeeded(schedule);
    const double stepEnd = SecondsToTaskTime(t + h);
    const double origin = SecondsToTaskTime(instance.startTime);
    const StepProgress progress(origin);
    for (;;) {
        const auto position = NextTaskToProcess(schedule, stepEnd, progress);
        if (position == schedule.end()) return;
        Task& task = *position;
        progress.Processing(task);
        const uint64_t revision = TaskOrderRevision();
        NotifyPreRunTask(instance, &task);
        const int stays = ProcessTaskBy(*task.record, t, h, stepEnd, origin);
        NotifyPostRunTask(instance, &task);
        if (stays == 0) schedule.erase(position);
        // Only the processed task moved, unless a plug-in changed the
        // timing of tasks meanwhile.
        if (TaskOrderRevision() != revision)
            SortTasks(schedule);
        else if (stays != 0)
            RepositionTask(schedule, position);
    }
}

int RunEnterInitTask(TaskRecord& record) {
    return RunInitTask(record, TaskKind_enterInitialization);
}

int RunExitInitTask(TaskRecord& record) { return RunInitTask(record, TaskKind_exitInitialization); }

int RunEnterInitTasks(FmiInternalState& instance) {
    return RunInitTasks(instance, RunEnterInitTask);
}

int RunExitInitTasks(FmiInternalState& instance) { return RunInitTasks(instance, RunExitInitTask); }

void RunTerminationTask(TaskRecord& record) {
    Task& task = *record.task;
    if (RunLimitReached(task) || task.kind != TaskKind_terminate || !IsTaskBound(task)) return;
    ++task.activationCount;
    CallBody(record);
}

void RunTerminationTasks(FmiInternalState& instance) {
    for (Task& task : instance.tasks) RunTerminationTask(*task.record);
}
