#include "Task.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "TaskTime.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

Task Periodic(const std::string& name = "body") {
    return Task(name, TaskKind_periodic, 0.01, 0.0, 3, -1);
}

}  // namespace

TEST(TaskTime, SecondsBecomeWholeNanosecondsWithEpsilon) {
    EXPECT_EQ(SecondsToTaskTime(0.5), 5e8);
    EXPECT_EQ(SecondsToTaskTime(0.01), 1e7);  // 0.01 alone is just below 1e7 ns
    EXPECT_EQ(SecondsToTaskTime(0.03), 3e7);
    EXPECT_EQ(SecondsToTaskTime(1e-10), 0.0);
    EXPECT_EQ(SecondsToTaskTime(0.0), 0.0);
    EXPECT_EQ(SecondsToTaskTime(1.5e-9), 1.0);
    // Beyond 2^63 ns the count is still unsigned.
    EXPECT_EQ(SecondsToTaskTime(1e10), 1e19);
}

TEST(TaskTime, TimesOutsideTheCountSaturate) {
    EXPECT_EQ(SecondsToTaskTime(-1.0), 0.0);
    EXPECT_EQ(SecondsToTaskTime(-std::numeric_limits<double>::infinity()), 0.0);
    EXPECT_EQ(SecondsToTaskTime(2e10), kLatestTaskTime);
    EXPECT_EQ(SecondsToTaskTime(std::numeric_limits<double>::infinity()), kLatestTaskTime);
    EXPECT_TRUE(std::isnan(SecondsToTaskTime(kNaN)));
    // The latest time still converts to a count.
    EXPECT_EQ(TaskTimeToCount(kLatestTaskTime), 18446744073709549568ull);
    EXPECT_EQ(TaskTimeToCount(kNaN), 0u);
}

TEST(TaskTime, PeriodicActivationsHaveNoDriftAndSaturate) {
    EXPECT_EQ(PeriodicActivationTime(SecondsToTaskTime(0.005), SecondsToTaskTime(0.01), 100),
              1.005e9);
    EXPECT_EQ(PeriodicActivationTime(0.0, 1e7, 3), 3e7);
    EXPECT_EQ(PeriodicActivationTime(0.0, 1e18, 100), kLatestTaskTime);   // product beyond 2^64
    EXPECT_EQ(PeriodicActivationTime(1.8e19, 1e18, 1), kLatestTaskTime);  // sum beyond it
}

TEST(Task, ConstructionStoresTheLineAndStartsUnscheduled) {
    Task task("body", TaskKind_triggered, 0.02, 0.5, 7, 4);
    EXPECT_EQ(task.GetName(), "body");
    EXPECT_STREQ(task.GetNameCStr(), "body");
    EXPECT_EQ(task.GetKind(), TaskKind_triggered);
    EXPECT_EQ(task.GetPeriod(), 0.02);
    EXPECT_EQ(task.GetOffset(), 0.5);
    EXPECT_EQ(task.GetPriority(), 7u);
    EXPECT_EQ(task.GetMaxActivations(), 4);
    EXPECT_TRUE(std::isnan(task.GetNextActivation()));
    EXPECT_EQ(task.GetActivationCount(), 0);
    EXPECT_EQ(task.epsilon, 1e-10);
    ASSERT_NE(task.record, nullptr);
    EXPECT_EQ(task.record->task, &task);
    EXPECT_EQ(task.record->BodySymbol()->address, 0u);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(task.record->TriggerInputAddresses()[i], 0u);
}

TEST(Task, ScheduleClassFollowsTheKind) {
    const std::pair<int32_t, int32_t> classes[] = {{32, 1},  {64, 2},  {96, 3}, {128, 4},
                                                   {160, 4}, {192, 5}, {0, 0},  {161, 0}};
    for (const auto& [kind, scheduleClass] : classes)
        EXPECT_EQ(Task("t", kind, 0, 0, 0, 0).scheduleClass, scheduleClass) << kind;
}

TEST(Task, SettersRefuseOutOfRangeValuesAndKeepTheField) {
    Task task = Periodic();
    EXPECT_EQ(task.SetName(""), -1);
    EXPECT_EQ(task.GetName(), "body");
    EXPECT_EQ(task.SetName("other"), 0);
    EXPECT_EQ(task.GetName(), "other");

    EXPECT_EQ(task.SetPeriod(-1.0), -1);
    EXPECT_EQ(task.SetPeriod(kNaN), -1);
    EXPECT_EQ(task.GetPeriod(), 0.01);
    EXPECT_EQ(task.SetPeriod(0.0), 0);
    EXPECT_EQ(task.GetPeriod(), 0.0);

    EXPECT_EQ(task.SetOffset(-1.0), 1);
    EXPECT_EQ(task.SetOffset(kNaN), 1);
    EXPECT_EQ(task.GetOffset(), 0.0);
    EXPECT_EQ(task.SetOffset(0.25), 0);
    EXPECT_EQ(task.GetOffset(), 0.25);

    EXPECT_EQ(task.SetPriority(0xFFFFFFFFu), 0);
    EXPECT_EQ(task.GetPriority(), 0xFFFFFFFFu);

    EXPECT_EQ(task.SetActivationCount(-1), -1);
    EXPECT_EQ(task.SetActivationCount(5), 0);
    EXPECT_EQ(task.GetActivationCount(), 5);
}

TEST(Task, AnyNegativeLimitIsUnlimitedButTheSetterTakesOnlyMinusOne) {
    Task task("t", TaskKind_periodic, 0.01, 0, 0, -5);
    EXPECT_EQ(task.GetMaxActivations(), -5);
    EXPECT_EQ(task.SetMaxActivations(-5), -1);
    EXPECT_EQ(task.GetMaxActivations(), -5);
    EXPECT_EQ(task.SetMaxActivations(-1), 0);
    EXPECT_EQ(task.SetMaxActivations(0), 0);
    EXPECT_EQ(task.GetMaxActivations(), 0);
}

TEST(Task, NextActivationIsKeptInNanosecondsAndGivenInSeconds) {
    Task task = Periodic();
    EXPECT_EQ(task.SetNextActivation(0.5), 0);
    EXPECT_EQ(task.nextActivation, 5e8);
    EXPECT_EQ(task.GetNextActivation(), 0.5);
    task.SetNextActivation(1e-10);
    EXPECT_EQ(task.nextActivation, 0.0);
    task.SetNextActivation(-3.0);
    EXPECT_EQ(task.nextActivation, 0.0);
    task.SetNextActivation(kNaN);
    EXPECT_TRUE(std::isnan(task.GetNextActivation()));
}

TEST(Task, OnlySettersOfOrderKeysAdvanceTheOrderRevision) {
    Task task = Periodic();
    uint64_t revision = TaskOrderRevision();
    task.SetPeriod(0.5);
    task.SetMaxActivations(3);
    task.SetActivationCount(1);
    task.SetName("n");
    EXPECT_EQ(TaskOrderRevision(), revision);
    task.SetOffset(1.0);
    EXPECT_GT(TaskOrderRevision(), revision);
    revision = TaskOrderRevision();
    task.SetPriority(1);
    EXPECT_GT(TaskOrderRevision(), revision);
    revision = TaskOrderRevision();
    task.SetNextActivation(1.0);
    EXPECT_GT(TaskOrderRevision(), revision);
}

TEST(Task, MovingHandsTheRecordOverAndRepointsIt) {
    Task source = Periodic();
    source.record->SetFunctionTrigger("trigger");
    TaskRecord* record = source.record;
    TaskList schedule;
    schedule.push_back(std::move(source));
    EXPECT_EQ(source.record, nullptr);
    EXPECT_EQ(schedule.back().record, record);
    EXPECT_EQ(record->task, &schedule.back());
    EXPECT_EQ(schedule.back().GetName(), "body");

    Task target("x", TaskKind_terminate, 0, 0, 0, 0);
    target = std::move(schedule.back());
    EXPECT_EQ(target.record, record);
    EXPECT_EQ(record->task, &target);
    EXPECT_EQ(target.kind, TaskKind_periodic);
    EXPECT_EQ(target.scheduleClass, 4);
}

TEST(Task, CopyingGivesTheCopyItsOwnRecordWithTheSameContents) {
    Task source = Periodic();
    source.record->SetFunctionTrigger("trigger");
    source.record->AddTriggerInput("in");
    source.record->SetTriggerInputAddress(0x1234, 15);
    source.record->SetBodySymbol(SymbolRecord(0x10, 1, 16, 0, 0));
    source.record->SetTriggerSymbol(SymbolRecord(0x20, 1, 16, 0, 0));
    source.SetNextActivation(0.5);

    Task copy(source);
    ASSERT_NE(copy.record, source.record);
    EXPECT_EQ(copy.record->task, &copy);
    EXPECT_EQ(copy.record->GetFunctionTrigger(), "trigger");
    EXPECT_EQ(copy.record->GetTriggerInputs(), std::vector<std::string>{"in"});
    EXPECT_EQ(copy.record->TriggerInputAddresses()[15], 0x1234u);
    EXPECT_EQ(copy.record->BodySymbol()->address, 0x10u);
    EXPECT_EQ(copy.record->TriggerSymbol()->address, 0x20u);
    EXPECT_EQ(copy.nextActivation, 5e8);

    Task assigned("x", TaskKind_terminate, 0, 0, 0, 0);
    assigned = source;
    ASSERT_NE(assigned.record, source.record);
    EXPECT_EQ(assigned.record->task, &assigned);
    EXPECT_EQ(assigned.record->BodySymbol()->address, 0x10u);
    assigned = assigned;  // self-assignment keeps the record
    EXPECT_EQ(assigned.record->task, &assigned);
}

TEST(TaskRecord, SixteenTriggerInputsAtMostAndNoEmptyOne) {
    TaskRecord record;
    EXPECT_FALSE(record.AddTriggerInput(""));
    for (int i = 0; i < 16; ++i) EXPECT_TRUE(record.AddTriggerInput("in" + std::to_string(i)));
    EXPECT_FALSE(record.AddTriggerInput("in16"));
    ASSERT_EQ(record.GetTriggerInputs().size(), 16u);
    EXPECT_EQ(record.GetTriggerInputs()[15], "in15");
}

TEST(TaskRecord, InputAddressesBeyondTheSixteenthSlotAreRefused) {
    TaskRecord record;
    EXPECT_EQ(record.SetTriggerInputAddress(7, 15), 0);
    EXPECT_EQ(record.TriggerInputAddresses()[15], 7u);
    EXPECT_EQ(record.SetTriggerInputAddress(8, 16), -1);
    EXPECT_EQ(record.SetTriggerInputAddress(8, 0xFFFF), -1);
}

TEST(TaskRecord, EmptyFunctionTriggerIsRefused) {
    TaskRecord record;
    EXPECT_EQ(record.SetFunctionTrigger("trig"), 0);
    EXPECT_EQ(record.SetFunctionTrigger(""), -1);
    EXPECT_EQ(record.GetFunctionTrigger(), "trig");
}
