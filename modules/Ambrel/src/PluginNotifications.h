#ifndef AMBREL_PLUGIN_NOTIFICATIONS_H
#define AMBREL_PLUGIN_NOTIFICATIONS_H

class FmiInternalState;
class Task;
class Teardown;

// Tell every loaded plug-in of one phase of the simulation.
void NotifyInstantiate(FmiInternalState& instance);
void NotifyEnterInit(FmiInternalState& instance);
void NotifyExitInit(FmiInternalState& instance);
void NotifyPreDoStep(FmiInternalState& instance);
void NotifyPreRunTask(FmiInternalState& instance, Task* task);
void NotifyPostRunTask(FmiInternalState& instance, Task* task);
void NotifyPostDoStep(FmiInternalState& instance);
// Every plug-in is told of termination, also when one before it fails;
// each failure counts as one of the teardown's.
void NotifyTerminate(FmiInternalState& instance, Teardown& teardown);

#endif
