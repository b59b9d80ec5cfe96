#ifndef QORV_CALLBACKS_H
#define QORV_CALLBACKS_H

// The table of functions through which plug-ins talk back to the runtime.
// Its layout (20 pointer-sized words, in this order) is shared with
// separately built plug-ins and must not change.
//
// Variable values cross as the raw 64-bit word of a SymbolValue, never
// scaled. Tasks are opaque to plug-ins: they are used through the task
// words only. A null name, message or task is answered with null, 0 or
// nothing (a task setter refuses it as it refuses a bad value), and a name
// that resolves to no variable reaches an accessor that reads 0 and ignores
// writes.

#include <cstdint>

#include "SymbolAccess.h"
#include "SymbolRecord.h"

class Task;

struct QorvCallbacks1 {
    void (*log)(const char* message);
    const SymbolRecord* (*getSymbolRecord)(const char* name);
    int (*findTask)(const char* name, Task** task);
    SymbolAccess** (*getVariableAccess)(const char* name);
    uint64_t (*readVariable)(const char* name);
    void (*writeVariable)(const char* name, uint64_t value);
    int (*setTaskPeriod)(Task* task, double seconds);
    int (*setTaskOffset)(Task* task, double seconds);
    int (*setTaskNextActivation)(Task* task, double seconds);
    int (*setTaskPriority)(Task* task, uint32_t priority);
    int (*setTaskMaxActivations)(Task* task, int64_t maxActivations);
    int (*setTaskActivationCount)(Task* task, int64_t count);
    const char* (*getTaskName)(Task* task);
    int32_t (*getTaskKind)(Task* task);
    double (*getTaskPeriod)(Task* task);
    double (*getTaskOffset)(Task* task);
    uint32_t (*getTaskPriority)(Task* task);
    int64_t (*getTaskMaxActivations)(Task* task);
    int64_t (*getTaskActivationCount)(Task* task);
    double (*getTaskNextActivation)(Task* task);
};
static_assert(sizeof(QorvCallbacks1) == 20 * sizeof(void*), "the table is 20 words");

#endif
