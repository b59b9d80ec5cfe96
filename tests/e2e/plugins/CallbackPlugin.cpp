// A plug-in that uses every word of the callback table on the plug-in
// vECU and records what it got back.

#include <cstring>

#include "PluginRecord.h"
#include "QorvPluginInterface.h"

namespace {

Task* fastTask = nullptr;
Task* slowTask = nullptr;

double AsReal(uint64_t word) {
    double real = 0.0;
    std::memcpy(&real, &word, sizeof real);
    return real;
}

void RecordSymbol(const QorvCallbacks1* callbacks, const char* name) {
    const SymbolRecord* record = callbacks->getSymbolRecord(name);
    if (record == nullptr)
        Record("symbol %s null", name);
    else
        Record("symbol %s size %llu type %u", name, static_cast<unsigned long long>(record->size),
               record->typeCode);
}

void RecordAccess(const QorvCallbacks1* callbacks, const char* name) {
    SymbolAccess* access = *callbacks->getVariableAccess(name);
    const SymbolValueKind kind = access->ValueKind();
    const SymbolValue value = access->Read();
    Record("access %s kind %u value %g", name, static_cast<unsigned>(kind),
           kind == SymbolValueKind_real ? value.real : static_cast<double>(value.integer));
}

void RecordTask(const QorvCallbacks1* callbacks, Task* task) {
    Record("task %s kind %d period %g offset %g priority %u max %lld count %lld next %g",
           callbacks->getTaskName(task), callbacks->getTaskKind(task), callbacks->getTaskPeriod(task),
           callbacks->getTaskOffset(task), callbacks->getTaskPriority(task),
           static_cast<long long>(callbacks->getTaskMaxActivations(task)),
           static_cast<long long>(callbacks->getTaskActivationCount(task)),
           callbacks->getTaskNextActivation(task));
}

Task* FindTask(const QorvCallbacks1* callbacks, const char* name) {
    Task* sentinel = reinterpret_cast<Task*>(&fastTask);
    Task* task = sentinel;
    const int found = callbacks->findTask(name, &task);
    Record("findTask %s %d %s", name, found,
           task == sentinel ? "untouched" : (task != nullptr ? "task" : "null"));
    return found == 1 ? task : nullptr;
}

}  // namespace

int32_t qorvPluginVersion() { return 1; }

void qorvInstantiate1(const QorvCallbacks1* callbacks) {
    callbacks->log("plugin at 100% of its callbacks");

    RecordSymbol(callbacks, "speedRaw");
    RecordSymbol(callbacks, "NoSuchSymbol");

    // Variables cross raw: the FMU scales speedRaw, this does not.
    Record("read speedRaw %g", AsReal(callbacks->readVariable("speedRaw")));
    RecordAccess(callbacks, "speedRaw");
    RecordAccess(callbacks, "written");
    callbacks->writeVariable("written", 42);
    RecordAccess(callbacks, "written");
    // Known to the symbol list, but no variable of the FMU.
    Record("read hiddenValue %llu", static_cast<unsigned long long>(callbacks->readVariable("hiddenValue")));
    RecordAccess(callbacks, "hiddenValue");
    callbacks->writeVariable("NoSuchSymbol", 5);
    RecordAccess(callbacks, "NoSuchSymbol");

    fastTask = FindTask(callbacks, "FastTask");
    slowTask = FindTask(callbacks, "SlowTask");
    FindTask(callbacks, "NoSuchSymbol");
    FindTask(callbacks, "written");
    if (fastTask == nullptr || slowTask == nullptr) return;
    RecordTask(callbacks, fastTask);

    // Refused values leave the task as it is; accepted ones are its own.
    Record("set offset %d period %d max %d count %d", callbacks->setTaskOffset(slowTask, -1.0),
           callbacks->setTaskPeriod(slowTask, -1.0), callbacks->setTaskMaxActivations(slowTask, -5),
           callbacks->setTaskActivationCount(slowTask, -1));
    Record("set offset %d period %d max %d count %d priority %d", callbacks->setTaskOffset(slowTask, 0.0),
           callbacks->setTaskPeriod(slowTask, 0.01), callbacks->setTaskMaxActivations(slowTask, -1),
           callbacks->setTaskActivationCount(slowTask, 0), callbacks->setTaskPriority(slowTask, 1));
    RecordTask(callbacks, slowTask);
}

void qorvPreTask1(const QorvCallbacks1* callbacks, Task* task) {
    Record("preTask %s%s", callbacks->getTaskName(task),
           task == fastTask || task == slowTask ? " (as found)" : " (unknown)");
}

// After the first step the slow task skips 20 ms and runs next at 30 ms.
void qorvPostDoStep1(const QorvCallbacks1* callbacks, double time, double) {
    if (time != 0.0 || slowTask == nullptr) return;
    Record("move %d", callbacks->setTaskNextActivation(slowTask, 0.03));
    RecordTask(callbacks, slowTask);
}

// The symbol library still answers in the terminate notification.
void qorvTerminate1(const QorvCallbacks1* callbacks) { RecordSymbol(callbacks, "speedRaw"); }
