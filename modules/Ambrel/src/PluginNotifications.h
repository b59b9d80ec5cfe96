#ifndef AMBREL_PLUGIN_NOTIFICATIONS_H
#define AMBREL_PLUGIN_NOTIFICATIONS_H

class FmiInternalState;
class Task;

// Tell every loaded plug-in of one phase of the simulation.
void NotifyInstantiate(FmiInternalState& instance);
void NotifyEnterInit(FmiInternalState& instance);
void NotifyExitInit(FmiInternalState& instance);
void NotifyPreDoStep(FmiInternalState& instance);
void NotifyPreRunTask(FmiInternalState& instance, Task* task);
void NotifyPostRunTask(FmiInternalState& instance, Task* task);
void NotifyPostDoStep(FmiInternalState& instance);
void NotifyTerminate(FmiInternalState& instance);

#endif
