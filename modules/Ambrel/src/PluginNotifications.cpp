#include "PluginNotifications.h"

#include "FmiInternalState.h"

// No plug-in host yet: nobody is told.
void NotifyInstantiate(FmiInternalState&) {}
void NotifyEnterInit(FmiInternalState&) {}
void NotifyExitInit(FmiInternalState&) {}
void NotifyPreDoStep(FmiInternalState&) {}
void NotifyPreRunTask(FmiInternalState&, Task*) {}
void NotifyPostRunTask(FmiInternalState&, Task*) {}
void NotifyPostDoStep(FmiInternalState&) {}
void NotifyTerminate(FmiInternalState&) {}
