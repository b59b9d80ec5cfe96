#ifndef AMBREL_TASK_EXECUTION_H
#define AMBREL_TASK_EXECUTION_H

class FmiInternalState;

// Runs every task that is due up to the end of the step [t, t + h].
void RunStepTasks(FmiInternalState& instance, double t, double h);

// Run the enter- or exit-initialisation tasks once and remove them; always 0.
int RunEnterInitTasks(FmiInternalState& instance);
int RunExitInitTasks(FmiInternalState& instance);

// Runs the terminate tasks; they stay in the schedule.
void RunTerminationTasks(FmiInternalState& instance);

#endif
