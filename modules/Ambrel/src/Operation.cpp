#include "Operation.h"

#include <iostream>

#include "PluginVersion1.h"
#include "PluginVersion2.h"

namespace {

template <typename Table>
const char* CallbacksArgument();
template <>
const char* CallbacksArgument<QorvCallbacks1>() {
    return kCallbacks1Argument;
}
template <>
const char* CallbacksArgument<QorvCallbacks2>() {
    return kCallbacks2Argument;
}

// The subscript inserts an empty value for a missing key, whose cast then
// fails like that of a value of another type.
template <typename Value>
Value Argument(OperationArguments& arguments, const char* key) {
    return std::any_cast<Value>(arguments[key]);
}

// A failed cast, the runtime's or one out of the entry, ends the visit of
// this plug-in only.
template <typename Visit>
void SkippingFailedCasts(Visit visit) {
    try {
        visit();
    } catch (const std::bad_any_cast&) {
        std::cout << "Bad any_cast" << '\n';
    }
}

// The arguments are taken before the entry is tested, so a plug-in without
// the entry has a failed cast reported all the same.
template <typename Table>
void VisitPhase(void (*entry)(const Table*), OperationArguments& arguments) {
    SkippingFailedCasts([&] {
        const auto* callbacks = Argument<const Table*>(arguments, CallbacksArgument<Table>());
        if (entry != nullptr) entry(callbacks);
    });
}

template <typename Table>
void VisitStep(void (*entry)(const Table*, double, double), OperationArguments& arguments) {
    SkippingFailedCasts([&] {
        const auto* callbacks = Argument<const Table*>(arguments, CallbacksArgument<Table>());
        const auto time = Argument<double>(arguments, kTimeArgument);
        const auto timeIncr = Argument<double>(arguments, kTimeIncrArgument);
        if (entry != nullptr) entry(callbacks, time, timeIncr);
    });
}

template <typename Table>
void VisitTaskRun(void (*entry)(const Table*, Task*), OperationArguments& arguments) {
    SkippingFailedCasts([&] {
        const auto* callbacks = Argument<const Table*>(arguments, CallbacksArgument<Table>());
        auto* task = Argument<Task*>(arguments, kTaskArgument);
        if (entry != nullptr) entry(callbacks, task);
    });
}

}  // namespace

#define AMBREL_PLUGIN_VISITS(Name, visit, entry)                                          \
    void Name::VisitVersion2(PluginVersion2& plugin, OperationArguments& arguments) {    \
        visit(plugin.entry, arguments);                                                   \
    }                                                                                     \
    void Name::VisitVersion1(PluginVersion1& plugin, OperationArguments& arguments) {    \
        visit(plugin.entry, arguments);                                                   \
    }

AMBREL_PLUGIN_VISITS(InstantiateOperation, VisitPhase, instantiate)
AMBREL_PLUGIN_VISITS(EnterInitOperation, VisitPhase, enterInit)
AMBREL_PLUGIN_VISITS(ExitInitOperation, VisitPhase, exitInit)
AMBREL_PLUGIN_VISITS(TerminateOperation, VisitPhase, terminate)
AMBREL_PLUGIN_VISITS(PreDoStepOperation, VisitStep, preDoStep)
AMBREL_PLUGIN_VISITS(PostDoStepOperation, VisitStep, postDoStep)
AMBREL_PLUGIN_VISITS(PreRunTaskOperation, VisitTaskRun, preRunTask)
AMBREL_PLUGIN_VISITS(PostRunTaskOperation, VisitTaskRun, postRunTask)
#undef AMBREL_PLUGIN_VISITS
