#ifndef AMBREL_TASK_EXECUTION_H
#define AMBREL_TASK_EXECUTION_H

// Running the schedule: the enter- and exit-initialisation tasks once, the
// first-step, triggered and periodic tasks on every step for as long as they
// are due before its end, and the terminate tasks at termination and reset.
// A task whose body (or, for a triggered task, trigger) is not bound to a
// function of the vECU is never called: it is left in the schedule
// untouched, and plug-ins are not told about it.

#include "Task.h"

class FmiInternalState;

// True when the task's body, and for a triggered task its trigger function,
// have addresses to call.
bool IsTaskBound(const Task& task);

// True when the task is not scheduled yet or its next activation is at or
// before the end of the step [t, t + h].
bool IsTaskDue(const Task& task, double t, double h);

// One due run of the task that owns the record; 0 when the task leaves the
// schedule, 1 when it stays. Offsets count from startTime, the origin of the
// schedule: a periodic task's k-th run is due at startTime + offset +
// k * period.
int ProcessTask(TaskRecord& record, double t, double h, double startTime = 0.0);

// Runs every task that is due up to the end of the step [t, t + h], in
// schedule order, telling the plug-ins before and after each. Offsets count
// from the instance's start time. Within one
// step a task is processed again only at a later activation time (so at
// most once per time), and a task that is not due holds back only the tasks
// of its own schedule class, so the step always ends.
void RunStepTasks(FmiInternalState& instance, double t, double h);

// Runs an enter- or exit-initialisation task; 0 when it ran (and is to be
// removed), 1 otherwise.
int RunEnterInitTask(TaskRecord& record);
int RunExitInitTask(TaskRecord& record);

// Run the enter- or exit-initialisation tasks once and remove them; always 0.
int RunEnterInitTasks(FmiInternalState& instance);
int RunExitInitTasks(FmiInternalState& instance);

// Runs a terminate task unless its run limit is reached.
void RunTerminationTask(TaskRecord& record);

// Runs the terminate tasks; they stay in the schedule.
void RunTerminationTasks(FmiInternalState& instance);

#endif
