#include "PluginNotifications.h"

#include <string>

#include "FmiInternalState.h"
#include "NotifyPlugins.h"
#include "Teardown.h"

namespace {

OperationArguments CallbacksArguments(const FmiInternalState& instance) {
    return {{kCallbacks1Argument, static_cast<const QorvCallbacks1*>(instance.pluginCallbacks.get())}};
}

// The step's communication point and size; a step's two notifications
// carry the same values.
OperationArguments StepArguments(const FmiInternalState& instance) {
    OperationArguments arguments = CallbacksArguments(instance);
    arguments[kTimeArgument] = instance.currentTime;
    arguments[kTimeIncrArgument] = instance.stepSize;
    return arguments;
}

OperationArguments TaskRunArguments(const FmiInternalState& instance, Task* task) {
    OperationArguments arguments = CallbacksArguments(instance);
    arguments[kTaskArgument] = task;
    return arguments;
}

// The file the plug-in was loaded from, for messages.
std::string PluginFileName(const FmiInternalState& instance, const Plugin& plugin) {
    for (const auto& [name, module] : instance.pluginModules)
        if (module == plugin.module) return name;
    return "?";
}

// The step loop sends two notifications per task run: without plug-ins no
// arguments are built for them.
template <typename PhaseOperation, typename MakeArguments>
void Notify(FmiInternalState& instance, MakeArguments makeArguments) {
    if (instance.plugins.empty()) return;
    PhaseOperation operation;
    OperationArguments arguments = makeArguments();
    NotifyPlugins(instance.plugins, operation, arguments);
}

}  // namespace

void NotifyInstantiate(FmiInternalState& instance) {
    Notify<InstantiateOperation>(instance, [&] { return CallbacksArguments(instance); });
}

void NotifyEnterInit(FmiInternalState& instance) {
    Notify<EnterInitOperation>(instance, [&] { return CallbacksArguments(instance); });
}

void NotifyExitInit(FmiInternalState& instance) {
    Notify<ExitInitOperation>(instance, [&] { return CallbacksArguments(instance); });
}

void NotifyPreDoStep(FmiInternalState& instance) {
    Notify<PreDoStepOperation>(instance, [&] { return StepArguments(instance); });
}

void NotifyPreRunTask(FmiInternalState& instance, Task* task) {
    Notify<PreRunTaskOperation>(instance, [&] { return TaskRunArguments(instance, task); });
}

void NotifyPostRunTask(FmiInternalState& instance, Task* task) {
    Notify<PostRunTaskOperation>(instance, [&] { return TaskRunArguments(instance, task); });
}

void NotifyPostDoStep(FmiInternalState& instance) {
    Notify<PostDoStepOperation>(instance, [&] { return StepArguments(instance); });
}

void NotifyTerminate(FmiInternalState& instance, Teardown& teardown) {
    if (instance.plugins.empty()) return;
    TerminateOperation operation;
    OperationArguments arguments = CallbacksArguments(instance);
    // Each plug-in is told on its own: one that fails must not cost the
    // others the end of their run.
    for (const auto& entry : instance.plugins) {
        Plugin& plugin = *entry.second;
        teardown.Run("the terminate notification of the plugin " + PluginFileName(instance, plugin),
                     [&] { plugin.Accept(operation, arguments); });
    }
}
