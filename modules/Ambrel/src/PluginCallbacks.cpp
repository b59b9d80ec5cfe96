#include "PluginCallbacks.h"

#include <iostream>
#include <string>

#include "DirectLog.h"
#include "FmiInternalState.h"
#include "VirloBinding.h"

namespace {

// The library's record of a name; null also when no library is bound or
// it is already unloaded, since the binding then answers null.
const SymbolRecord* LookUp(const char* name) {
    if (name == nullptr) return nullptr;
    return CallGetVirlo(name);
}

// Where a named symbol lies in the process: the vECU's load address plus
// the record's offset, as symbol registration placed tasks and variables.
bool AbsoluteAddress(const FmiInternalState& instance, const char* name, uint64_t& address) {
    const SymbolRecord* record = LookUp(name);
    if (record == nullptr) return false;
    address = VecuModuleBase(instance) + record->address;
    return true;
}

// The handed-out owner is the instance's own unique_ptr, which is one plain
// pointer wide (checked where the alias is made).
SymbolAccess** Owner(SymbolAccessPtr& accessor) { return reinterpret_cast<SymbolAccess**>(&accessor); }

SymbolAccess* Accessor(const char* name) {
    SymbolAccess** owner = CallbackGetVariableAccess(name);
    return owner != nullptr ? *owner : nullptr;
}

uint64_t CallbackReadVariable(const char* name) {
    SymbolAccess* accessor = Accessor(name);
    return accessor != nullptr ? accessor->Read().word : 0;
}

void CallbackWriteVariable(const char* name, uint64_t value) {
    SymbolAccess* accessor = Accessor(name);
    if (accessor == nullptr) return;
    SymbolValue slot;
    slot.word = value;
    accessor->Write(slot);
}

// The task words: each calls one operation of the task and passes its
// result on; a null task gets the answer given here.
template <typename Result, typename Operation>
Result OnTask(Task* task, Result answerForNoTask, Operation operation) {
    return task != nullptr ? operation(*task) : answerForNoTask;
}

constexpr int kRefused = -1;
// SetOffset refuses with 1, not -1.
constexpr int kOffsetRefused = 1;

int CallbackSetTaskPeriod(Task* task, double seconds) {
    return OnTask(task, kRefused, [&](Task& t) { return t.SetPeriod(seconds); });
}
int CallbackSetTaskOffset(Task* task, double seconds) {
    return OnTask(task, kOffsetRefused, [&](Task& t) { return t.SetOffset(seconds); });
}
int CallbackSetTaskNextActivation(Task* task, double seconds) {
    return OnTask(task, kRefused, [&](Task& t) { return t.SetNextActivation(seconds); });
}
int CallbackSetTaskPriority(Task* task, uint32_t priority) {
    return OnTask(task, kRefused, [&](Task& t) { return t.SetPriority(priority); });
}
int CallbackSetTaskMaxActivations(Task* task, int64_t maxActivations) {
    return OnTask(task, kRefused, [&](Task& t) { return t.SetMaxActivations(maxActivations); });
}
int CallbackSetTaskActivationCount(Task* task, int64_t count) {
    return OnTask(task, kRefused, [&](Task& t) { return t.SetActivationCount(count); });
}
const char* CallbackGetTaskName(Task* task) {
    return OnTask(task, static_cast<const char*>(nullptr), [](Task& t) { return t.GetNameCStr(); });
}
int32_t CallbackGetTaskKind(Task* task) {
    return OnTask(task, int32_t{0}, [](Task& t) { return t.GetKind(); });
}
double CallbackGetTaskPeriod(Task* task) {
    return OnTask(task, 0.0, [](Task& t) { return t.GetPeriod(); });
}
double CallbackGetTaskOffset(Task* task) {
    return OnTask(task, 0.0, [](Task& t) { return t.GetOffset(); });
}
uint32_t CallbackGetTaskPriority(Task* task) {
    return OnTask(task, uint32_t{0}, [](Task& t) { return t.GetPriority(); });
}
int64_t CallbackGetTaskMaxActivations(Task* task) {
    return OnTask(task, int64_t{0}, [](Task& t) { return t.GetMaxActivations(); });
}
int64_t CallbackGetTaskActivationCount(Task* task) {
    return OnTask(task, int64_t{0}, [](Task& t) { return t.GetActivationCount(); });
}
double CallbackGetTaskNextActivation(Task* task) {
    return OnTask(task, 0.0, [](Task& t) { return t.GetNextActivation(); });
}

}  // namespace

void CallbackLog(const char* message) {
    if (message == nullptr) return;
    std::cout << "\n=== Log1 === (" << message << ")" << std::endl;
    // The message is the argument of the format, never a format itself.
    if (currentInstance != nullptr)
        DirectLog(*currentInstance, LogCategory_warning, "THIS IS A PLUGIN MESSAGE: %s\n", message);
}

const SymbolRecord* CallbackGetSymbolRecord(const char* name) { return LookUp(name); }

int CallbackFindTask(const char* name, Task** task) {
    if (currentInstance == nullptr || task == nullptr) return 0;
    uint64_t body = 0;
    if (!AbsoluteAddress(*currentInstance, name, body)) return 0;
    for (Task& candidate : currentInstance->tasks) {
        if (candidate.record->BodySymbol()->address == body) {
            *task = &candidate;
            return 1;
        }
    }
    return 0;
}

SymbolAccess** CallbackGetVariableAccess(const char* name) {
    if (currentInstance == nullptr || name == nullptr) return nullptr;
    FmiInternalState& instance = *currentInstance;
    uint64_t address = 0;
    if (AbsoluteAddress(instance, name, address)) {
        for (SymbolAccessPtr& accessor : instance.variables)
            if (accessor != nullptr && accessor->Address() == address) return Owner(accessor);
    }
    return Owner(instance.nullAccess);
}

QorvCallbacks1& BuildPluginCallbacks(QorvCallbacks1& table, decltype(QorvCallbacks1::log) log,
                                     decltype(QorvCallbacks1::getSymbolRecord) getSymbolRecord,
                                     decltype(QorvCallbacks1::findTask) findTask,
                                     decltype(QorvCallbacks1::getVariableAccess) getVariableAccess) {
    table.log = log;
    table.getSymbolRecord = getSymbolRecord;
    table.findTask = findTask;
    table.getVariableAccess = getVariableAccess;
    table.readVariable = CallbackReadVariable;
    table.writeVariable = CallbackWriteVariable;
    table.setTaskPeriod = CallbackSetTaskPeriod;
    table.setTaskOffset = CallbackSetTaskOffset;
    table.setTaskNextActivation = CallbackSetTaskNextActivation;
    table.setTaskPriority = CallbackSetTaskPriority;
    table.setTaskMaxActivations = CallbackSetTaskMaxActivations;
    table.setTaskActivationCount = CallbackSetTaskActivationCount;
    table.getTaskName = CallbackGetTaskName;
    table.getTaskKind = CallbackGetTaskKind;
    table.getTaskPeriod = CallbackGetTaskPeriod;
    table.getTaskOffset = CallbackGetTaskOffset;
    table.getTaskPriority = CallbackGetTaskPriority;
    table.getTaskMaxActivations = CallbackGetTaskMaxActivations;
    table.getTaskActivationCount = CallbackGetTaskActivationCount;
    table.getTaskNextActivation = CallbackGetTaskNextActivation;
    return table;
}
