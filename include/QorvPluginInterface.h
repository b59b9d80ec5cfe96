#ifndef QORV_PLUGIN_INTERFACE_H
#define QORV_PLUGIN_INTERFACE_H

// What a plug-in library exports. A file of the FMU's resource folder whose
// name begins with "plugin" and ends with "so" is loaded at instantiation
// and asked for its interface version; a library that answers 1 is told of
// every phase of the simulation through the entry points below that it
// defines (qorvPluginVersion, qorvInstantiate1 and qorvTerminate1 are
// mandatory). Every entry is called on the master's thread, inside the FMI
// function that sends it, and may call back through the table before it
// returns. Results other than the version are ignored. The library is
// unloaded at fmi2Terminate.

#include <cstdint>

#include "QorvCallbacks.h"

// The table of interface version 2. Its layout is not defined and no
// runtime hands one out yet, so version-2 plug-ins are skipped.
struct QorvCallbacks2;

extern "C" {

// The entry shapes, per interface version: one phase, a step (communication
// point and step size in seconds), a task run (the task that the step is
// about to run or has just run).
typedef int32_t QorvPluginVersionEntry(void);
typedef void QorvPhaseEntry1(const QorvCallbacks1* callbacks);
typedef void QorvStepEntry1(const QorvCallbacks1* callbacks, double time, double timeIncr);
typedef void QorvTaskEntry1(const QorvCallbacks1* callbacks, Task* task);
typedef void QorvPhaseEntry2(const QorvCallbacks2* callbacks);
typedef void QorvStepEntry2(const QorvCallbacks2* callbacks, double time, double timeIncr);
typedef void QorvTaskEntry2(const QorvCallbacks2* callbacks, Task* task);

// The entry points under their exported names; a plug-in defines those it
// offers.
QorvPluginVersionEntry qorvPluginVersion;

QorvPhaseEntry1 qorvInstantiate1;
QorvPhaseEntry1 qorvFmi2EnterInit1;
QorvPhaseEntry1 qorvFmi2ExitInit1;
QorvStepEntry1 qorvPreDoStep1;
QorvTaskEntry1 qorvPreTask1;
QorvTaskEntry1 qorvPostTask1;
QorvStepEntry1 qorvPostDoStep1;
QorvPhaseEntry1 qorvTerminate1;

QorvPhaseEntry2 qorvInstantiate2;
QorvPhaseEntry2 qorvFmi3EnterInit2;
QorvPhaseEntry2 qorvFmi3ExitInit2;
QorvStepEntry2 qorvPreDoStep2;
QorvTaskEntry2 qorvPreTask2;
QorvTaskEntry2 qorvPostTask2;
QorvStepEntry2 qorvPostDoStep2;
QorvPhaseEntry2 qorvTerminate2;

}  // extern "C"

#endif
