#ifndef AMBREL_INSTANCE_SETTINGS_H
#define AMBREL_INSTANCE_SETTINGS_H

#include "FmiInternalState.h"
#include "fmi2/fmi2FunctionTypes.h"

// Tells the master the new setting, then switches the instance's logging
// flag; the categories are not used.
fmi2Status SetDebugLogging(FmiInternalState& instance, fmi2Boolean loggingOn);

// Notes the experiment's settings; none of them changes the simulation.
fmi2Status SetupExperiment(FmiInternalState& instance, fmi2Boolean toleranceDefined,
                           fmi2Real tolerance, fmi2Real startTime);

#endif
