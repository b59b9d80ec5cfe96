#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "LoggingInstance.h"
#include "NotifyPlugins.h"
#include "PluginCallbacks.h"
#include "PluginVersion1.h"
#include "PluginVersion2.h"
#include "SymbolAccessTypes.h"
#include "VirloBinding.h"

namespace {

std::vector<std::string> calls;

void PreDoStep(const QorvCallbacks1*, double time, double timeIncr) {
    calls.push_back("preDoStep " + std::to_string(time) + " " + std::to_string(timeIncr));
}

void FailingCast(const QorvCallbacks1*, double, double) { throw std::bad_any_cast(); }

}  // namespace

// A value that is missing or of another type skips one plug-in's entry with
// a line on standard output; the others are still told.
TEST(PluginDispatchTest, FailedCastSkipsOnlyThatPlugin) {
    std::multimap<int32_t, std::unique_ptr<Plugin>> plugins;
    auto failing = std::make_unique<PluginVersion1>();
    failing->preDoStep = FailingCast;
    auto recording = std::make_unique<PluginVersion1>();
    recording->preDoStep = PreDoStep;
    plugins.emplace(1, std::move(failing));
    plugins.emplace(1, std::move(recording));
    // No table of version 2 is ever handed out.
    plugins.emplace(2, std::make_unique<PluginVersion2>());

    const QorvCallbacks1 table{};
    const QorvCallbacks1* tablePointer = &table;
    PreDoStepOperation operation;
    OperationArguments withoutTime{{"QorvCallbacks1", tablePointer}, {"timeIncr", 0.5}};
    calls.clear();
    testing::internal::CaptureStdout();
    NotifyPlugins(plugins, operation, withoutTime);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Bad any_cast\nBad any_cast\nBad any_cast\n");
    EXPECT_TRUE(calls.empty());
    ASSERT_EQ(withoutTime.count("time"), 1u);
    EXPECT_FALSE(withoutTime["time"].has_value());

    // A float is no double.
    OperationArguments complete{{"QorvCallbacks1", tablePointer}, {"time", 0.25}, {"timeIncr", 0.5}};
    OperationArguments wrongType{{"QorvCallbacks1", tablePointer}, {"time", 0.25f}, {"timeIncr", 0.5}};
    testing::internal::CaptureStdout();
    NotifyPlugins(plugins, operation, complete);
    NotifyPlugins(plugins, operation, wrongType);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Bad any_cast\nBad any_cast\nBad any_cast\nBad any_cast\nBad any_cast\n");
    EXPECT_EQ(calls, (std::vector<std::string>{"preDoStep 0.250000 0.500000"}));
}

// Callbacks can come when there is nothing to answer with: no instance, no
// symbol library, no name, no task. None of them may crash the master.
TEST(PluginDispatchTest, CallbacksAnswerNothingForWhatIsMissing) {
    virloEntryPoints = VirloEntryPoints();
    QorvCallbacks1 table{};
    BuildPluginCallbacks(table);
    Task* untouched = reinterpret_cast<Task*>(&table);
    Task* task = untouched;

    currentInstance = nullptr;
    EXPECT_EQ(table.getSymbolRecord("speed"), nullptr);
    EXPECT_EQ(table.findTask("speed", &task), 0);
    EXPECT_EQ(table.getVariableAccess("speed"), nullptr);
    EXPECT_EQ(table.readVariable("speed"), 0u);
    table.writeVariable("speed", 1);

    ambrel_test::LoggingInstance logging("ecu");
    FmiInternalState& instance = logging.instance;
    instance.nullAccess = MakeSymbolAccess_null(0);
    currentInstance = &instance;
    // Without a symbol library no name resolves: the null accessor answers.
    EXPECT_EQ(table.getVariableAccess("speed"), reinterpret_cast<SymbolAccess**>(&instance.nullAccess));
    EXPECT_EQ(table.readVariable("speed"), 0u);
    EXPECT_EQ(table.findTask("speed", &task), 0);
    EXPECT_EQ(task, untouched);

    EXPECT_EQ(table.getSymbolRecord(nullptr), nullptr);
    EXPECT_EQ(table.findTask(nullptr, &task), 0);
    EXPECT_EQ(table.findTask("speed", nullptr), 0);
    EXPECT_EQ(table.getVariableAccess(nullptr), nullptr);
    EXPECT_EQ(table.readVariable(nullptr), 0u);
    table.writeVariable(nullptr, 1);
    testing::internal::CaptureStdout();
    table.log(nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(logging.messages.empty());

    // A null task is refused by the setters and answers nothing.
    EXPECT_EQ(table.setTaskPeriod(nullptr, 1.0), -1);
    EXPECT_EQ(table.setTaskOffset(nullptr, 1.0), 1);
    EXPECT_EQ(table.setTaskNextActivation(nullptr, 1.0), -1);
    EXPECT_EQ(table.setTaskPriority(nullptr, 1), -1);
    EXPECT_EQ(table.setTaskMaxActivations(nullptr, 1), -1);
    EXPECT_EQ(table.setTaskActivationCount(nullptr, 1), -1);
    EXPECT_EQ(table.getTaskName(nullptr), nullptr);
    EXPECT_EQ(table.getTaskKind(nullptr), 0);
    EXPECT_EQ(table.getTaskPeriod(nullptr), 0.0);
    EXPECT_EQ(table.getTaskOffset(nullptr), 0.0);
    EXPECT_EQ(table.getTaskPriority(nullptr), 0u);
    EXPECT_EQ(table.getTaskMaxActivations(nullptr), 0);
    EXPECT_EQ(table.getTaskActivationCount(nullptr), 0);
    EXPECT_EQ(table.getTaskNextActivation(nullptr), 0.0);
    currentInstance = nullptr;
}
