#include "TaskSchedule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <limits>
#include <random>
#include <vector>

namespace {

Task Make(const std::string& name, int32_t kind, double offset, uint32_t priority) {
    return Task(name, kind, 0.01, offset, priority, -1);
}

std::vector<std::string> Names(const TaskList& schedule) {
    std::vector<std::string> names;
    for (const Task& task : schedule) names.push_back(task.name);
    return names;
}

std::vector<const Task*> Addresses(const TaskList& schedule) {
    std::vector<const Task*> addresses;
    for (const Task& task : schedule) addresses.push_back(&task);
    return addresses;
}

}  // namespace

TEST(TaskOrder, ClassFirstThenKeyThenPriority) {
    const Task exitInit = Make("x", TaskKind_exitInitialization, 9, 9);
    const Task periodicLate = Make("p", TaskKind_periodic, 2, 0);
    const Task triggeredEarly = Make("t", TaskKind_triggered, 1, 5);
    const Task triggeredEarlyLow = Make("t2", TaskKind_triggered, 1, 0);
    const Task unknown = Make("u", 7, 100, 100);
    EXPECT_TRUE(TaskOrder(exitInit, periodicLate));
    EXPECT_FALSE(TaskOrder(periodicLate, exitInit));
    EXPECT_TRUE(TaskOrder(triggeredEarly, periodicLate));  // triggered and periodic share a class
    EXPECT_TRUE(TaskOrder(triggeredEarlyLow, triggeredEarly));
    EXPECT_FALSE(TaskOrder(triggeredEarly, triggeredEarly));
    EXPECT_TRUE(TaskOrder(unknown, exitInit));  // class 0 first
}

TEST(TaskOrder, UnscheduledTasksCompareTheirOffsetInSeconds) {
    Task scheduled = Make("s", TaskKind_periodic, 0, 0);
    scheduled.nextActivation = 5e8;  // 0.5 s
    const Task unscheduled = Make("u", TaskKind_periodic, 2.0, 0);
    // 2 (seconds, unconverted) is below 5e8 (nanoseconds).
    EXPECT_TRUE(TaskOrder(unscheduled, scheduled));
    const Task farOffset = Make("f", TaskKind_periodic, 6e8, 0);
    EXPECT_TRUE(TaskOrder(scheduled, farOffset));
}

TEST(TaskOrder, PriorityComparesUnsigned) {
    const Task high = Make("h", TaskKind_periodic, 0, 0xFFFFFFFFu);
    const Task low = Make("l", TaskKind_periodic, 0, 1);
    EXPECT_TRUE(TaskOrder(low, high));
}

TEST(SortTasks, EqualTasksKeepTheirLineOrderOverAnyNumberOfSorts) {
    TaskList schedule;
    for (int i = 0; i < 20; ++i)
        schedule.push_back(Make("e" + std::to_string(i), TaskKind_periodic, 0.0, 1));
    schedule.push_front(Make("late", TaskKind_periodic, 1.0, 0));
    schedule.push_back(Make("first", TaskKind_firstStep, 5.0, 9));
    const std::vector<std::string> before = Names(schedule);
    for (int round = 0; round < 50; ++round) SortTasks(schedule);
    std::vector<std::string> expected{"first"};
    for (int i = 0; i < 20; ++i) expected.push_back("e" + std::to_string(i));
    expected.push_back("late");
    EXPECT_EQ(Names(schedule), expected);
}

TEST(SortTasks, RelinksWithoutMovingTasks) {
    TaskList schedule;
    schedule.push_back(Make("b", TaskKind_periodic, 2.0, 0));
    schedule.push_back(Make("a", TaskKind_periodic, 1.0, 0));
    const Task* b = &schedule.front();
    const Task* a = &schedule.back();
    SortTasks(schedule);
    EXPECT_EQ(&schedule.front(), a);
    EXPECT_EQ(&schedule.back(), b);
    EXPECT_EQ(a->record->task, a);
}

// The step loop keeps the order by moving only the task it ran, and sorts
// fully only when plug-ins changed other tasks. Both must give exactly the
// order of a full stable sort, whatever the schedule.
TEST(RepositionTask, GivesTheOrderOfAFullStableSort) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> kinds(0, 5);
    std::uniform_int_distribution<int> small(0, 3);
    const int32_t kindTable[] = {TaskKind_enterInitialization,
                                 TaskKind_firstStep,
                                 TaskKind_triggered,
                                 TaskKind_periodic,
                                 TaskKind_periodic,
                                 TaskKind_terminate};
    // Few distinct keys and priorities, so that ties are common.
    auto randomize = [&](Task& task) {
        if (small(random) == 0)
            task.nextActivation = std::numeric_limits<double>::quiet_NaN();
        else
            task.nextActivation = 1e7 * small(random);
        task.offset = small(random) * 0.5;
        task.priority = static_cast<uint32_t>(small(random));
    };
    for (int trial = 0; trial < 300; ++trial) {
        TaskList tasks;
        const int count = 1 + trial % 30;
        for (int i = 0; i < count; ++i) {
            tasks.push_back(Make(std::to_string(i), kindTable[kinds(random)], 0, 0));
            randomize(tasks.back());
        }
        std::vector<const Task*> nodes = Addresses(tasks);
        std::sort(nodes.begin(), nodes.end());
        SortTasks(tasks);
        for (int edit = 0; edit < 20; ++edit) {
            // Change one task, as a run does, then restore the order both
            // ways on identical lists.
            auto position =
                std::next(tasks.begin(), std::uniform_int_distribution<int>(0, count - 1)(random));
            randomize(*position);
            TaskList reference;
            for (const Task& task : tasks) reference.push_back(task);
            SortTasks(reference);
            RepositionTask(tasks, position);
            ASSERT_EQ(Names(tasks), Names(reference)) << "trial " << trial << " edit " << edit;
        }
        std::vector<const Task*> after = Addresses(tasks);
        std::sort(after.begin(), after.end());
        ASSERT_EQ(after, nodes);  // the same tasks, only relinked
    }
}

TEST(SortTasksIfNeeded, LeavesAnOrderedScheduleAndSortsOtherwise) {
    TaskList schedule;
    schedule.push_back(Make("a", TaskKind_periodic, 1.0, 0));
    schedule.push_back(Make("b", TaskKind_periodic, 1.0, 0));
    SortTasksIfNeeded(schedule);
    EXPECT_EQ(Names(schedule), (std::vector<std::string>{"a", "b"}));
    schedule.front().offset = 2.0;
    SortTasksIfNeeded(schedule);
    EXPECT_EQ(Names(schedule), (std::vector<std::string>{"b", "a"}));
}
