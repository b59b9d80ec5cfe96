#ifndef AMBREL_TASK_SCHEDULE_H
#define AMBREL_TASK_SCHEDULE_H

// The order of the task schedule: by schedule class, then by next activation
// (the offset in seconds while the task is not scheduled), then by priority.

#include "Task.h"

// True when a runs before b.
bool TaskOrder(const Task& a, const Task& b);

// Stable sort with TaskOrder; tasks are relinked, never copied, so Task
// pointers stay valid.
void SortTasks(TaskList& schedule);

// Sorts only when the schedule is out of order; the result is the same as
// SortTasks, since a stable sort leaves an ordered list as it is.
void SortTasksIfNeeded(TaskList& schedule);

// Where the schedule is in order except for the one task at position, moves
// that task to the place that SortTasks would give it: after the tasks that
// run before it, and among tasks that compare equal to it in the relative
// order they had.
void RepositionTask(TaskList& schedule, TaskList::iterator position);

#endif
