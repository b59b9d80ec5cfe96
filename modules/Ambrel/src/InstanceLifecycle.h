#ifndef AMBREL_INSTANCE_LIFECYCLE_H
#define AMBREL_INSTANCE_LIFECYCLE_H

// The life of an instance as the master drives it: instantiation,
// initialisation, steps, reset, termination and release.

#include "FmiInternalState.h"
#include "fmi2/fmi2FunctionTypes.h"

// Builds a ready instance, or returns null. A failed instantiation gives
// back whatever it had taken (modules, the record) and leaves
// currentInstance null.
FmiInternalState* Instantiate(fmi2String instanceName, fmi2Type fmuType, fmi2String fmuGUID,
                              fmi2String fmuResourceLocation, const fmi2CallbackFunctions* functions,
                              fmi2Boolean loggingOn);

fmi2Status EnterInitializationMode(FmiInternalState& instance);
fmi2Status ExitInitializationMode(FmiInternalState& instance);

// Runs the tasks due up to currentCommunicationPoint + communicationStepSize.
fmi2Status DoStep(FmiInternalState& instance, double currentCommunicationPoint,
                  double communicationStepSize);

// Runs the terminate tasks and stops the XCP slave; nothing else is reset.
fmi2Status Reset(FmiInternalState& instance);

// Ends the simulation and unloads plug-ins and the symbol library. From
// then on only the variable access, the logging settings and the release
// of the instance act; the other calls are refused.
fmi2Status Terminate(FmiInternalState& instance);

// Releases the instance and everything it still holds, the vECU library
// last; currentInstance no longer names it afterwards. Null is ignored.
void FreeInstance(FmiInternalState* instance);

#endif
