#ifndef AMBREL_INSTANCE_SETTINGS_H
#define AMBREL_INSTANCE_SETTINGS_H

#include "FmiInternalState.h"
#include "fmi2/fmi2FunctionTypes.h"

// Tells the master the new setting, then switches the instance's logging
// flag; the categories are not used.
fmi2Status SetDebugLogging(FmiInternalState& instance, fmi2Boolean loggingOn);

// Takes startTime as the origin of the schedule: a task with offset o first
// runs at startTime + o, and the first step must begin at startTime. Refused
// for a start outside the scheduler's time range. The tolerance changes
// nothing. Only an instance that is not yet initialised gets here.
fmi2Status SetupExperiment(FmiInternalState& instance, fmi2Boolean toleranceDefined,
                           fmi2Real tolerance, fmi2Real startTime);

#endif
