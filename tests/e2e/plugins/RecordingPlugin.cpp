// A plug-in that records every entry call with its arguments. Built under
// several names (PLUGIN_NAME), as a plug-in of another interface version
// (PLUGIN_VERSION) and without its mandatory entries
// (WITHOUT_MANDATORY_ENTRIES).

#include "PluginRecord.h"
#include "QorvPluginInterface.h"

#ifndef PLUGIN_VERSION
#define PLUGIN_VERSION 1
#endif

namespace {

const QorvCallbacks1* firstTable = nullptr;

// Every notification must carry the table of the first one.
const char* TableNote(const QorvCallbacks1* callbacks) {
    if (callbacks == nullptr) return " (no table)";
    if (firstTable == nullptr) firstTable = callbacks;
    return callbacks == firstTable ? "" : " (another table)";
}

void RecordTaskRun(const char* entry, const QorvCallbacks1* callbacks, Task* task) {
    const char* note = TableNote(callbacks);
    Record("%s %s %s %lld%s", PLUGIN_NAME, entry, callbacks->getTaskName(task),
           static_cast<long long>(callbacks->getTaskActivationCount(task)), note);
}

}  // namespace

int32_t qorvPluginVersion() {
    Record("%s version", PLUGIN_NAME);
    return PLUGIN_VERSION;
}

#ifndef WITHOUT_MANDATORY_ENTRIES
void qorvInstantiate1(const QorvCallbacks1* callbacks) {
    Record("%s instantiate%s", PLUGIN_NAME, TableNote(callbacks));
}

void qorvTerminate1(const QorvCallbacks1* callbacks) {
    Record("%s terminate%s", PLUGIN_NAME, TableNote(callbacks));
}
#endif

void qorvFmi2EnterInit1(const QorvCallbacks1* callbacks) {
    Record("%s enterInit%s", PLUGIN_NAME, TableNote(callbacks));
}

void qorvFmi2ExitInit1(const QorvCallbacks1* callbacks) {
    Record("%s exitInit%s", PLUGIN_NAME, TableNote(callbacks));
}

void qorvPreDoStep1(const QorvCallbacks1* callbacks, double time, double timeIncr) {
    Record("%s preDoStep %g %g%s", PLUGIN_NAME, time, timeIncr, TableNote(callbacks));
}

void qorvPostDoStep1(const QorvCallbacks1* callbacks, double time, double timeIncr) {
    Record("%s postDoStep %g %g%s", PLUGIN_NAME, time, timeIncr, TableNote(callbacks));
}

void qorvPreTask1(const QorvCallbacks1* callbacks, Task* task) { RecordTaskRun("preTask", callbacks, task); }

void qorvPostTask1(const QorvCallbacks1* callbacks, Task* task) { RecordTaskRun("postTask", callbacks, task); }

__attribute__((destructor)) static void Unloaded() { Record("%s unloaded", PLUGIN_NAME); }
