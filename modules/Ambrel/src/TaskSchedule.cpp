#include "TaskSchedule.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

// The second key. A task that is not scheduled yet uses its offset as it
// stands, in seconds.
double OrderKey(const Task& task) {
    return std::isnan(task.nextActivation) ? task.offset : task.nextActivation;
}

}  // namespace

bool TaskOrder(const Task& a, const Task& b) {
    if (a.scheduleClass != b.scheduleClass) return a.scheduleClass < b.scheduleClass;
    const double keyA = OrderKey(a);
    const double keyB = OrderKey(b);
    if (keyA != keyB) return keyA < keyB;
    return a.priority < b.priority;
}

void SortTasks(TaskList& schedule) {
    schedule.sort([](const Task& a, const Task& b) { return TaskOrder(a, b); });
}

void SortTasksIfNeeded(TaskList& schedule) {
    if (!std::is_sorted(schedule.begin(), schedule.end(),
                        [](const Task& a, const Task& b) { return TaskOrder(a, b); }))
        SortTasks(schedule);
}

void RepositionTask(TaskList& schedule, TaskList::iterator position) {
    // The moving task's keys are taken once: the scans below run after
    // every task run of a step.
    const Task& task = *position;
    const int32_t scheduleClass = task.scheduleClass;
    const double key = OrderKey(task);
    const uint32_t priority = task.priority;
    auto runsBeforeTask = [=](const Task& other) {
        if (other.scheduleClass != scheduleClass) return other.scheduleClass < scheduleClass;
        const double otherKey = OrderKey(other);
        if (otherKey != key) return otherKey < key;
        return other.priority < priority;
    };
    auto runsAfterTask = [=](const Task& other) {
        if (other.scheduleClass != scheduleClass) return scheduleClass < other.scheduleClass;
        const double otherKey = OrderKey(other);
        if (otherKey != key) return key < otherKey;
        return priority < other.priority;
    };
    // The others are in order. A later task passes the tasks that run
    // before it and stops at the first equal one; an earlier task passes
    // the tasks that run after it and stops behind the last equal one.
    auto after = std::next(position);
    if (after != schedule.end() && runsBeforeTask(*after)) {
        while (after != schedule.end() && runsBeforeTask(*after)) ++after;
        schedule.splice(after, schedule, position);
        return;
    }
    auto before = position;
    while (before != schedule.begin() && runsAfterTask(*std::prev(before))) --before;
    if (before != position) schedule.splice(before, schedule, position);
}
