#include "TaskExecution.h"

#include "FmiInternalState.h"

void RunStepTasks(FmiInternalState&, double, double) {}

int RunEnterInitTasks(FmiInternalState&) { return 0; }

int RunExitInitTasks(FmiInternalState&) { return 0; }

void RunTerminationTasks(FmiInternalState&) {}
