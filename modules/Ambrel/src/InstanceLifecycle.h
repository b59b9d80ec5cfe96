#ifndef AMBREL_INSTANCE_LIFECYCLE_H
#define AMBREL_INSTANCE_LIFECYCLE_H

// The life of an instance as the master drives it: instantiation,
// initialisation, steps, reset, termination and release.

#include "FmiInternalState.h"
#include "fmi2/fmi2FunctionTypes.h"

// Builds a ready instance, or returns null after saying why. Refused while
// another instance is alive in the process. A failed instantiation gives
// back whatever it had taken (modules, the record) and leaves
// currentInstance null.
FmiInternalState* Instantiate(fmi2String instanceName, fmi2Type fmuType, fmi2String fmuGUID,
                              fmi2String fmuResourceLocation, const fmi2CallbackFunctions* functions,
                              fmi2Boolean loggingOn);

// The calls below that FMI 2.0 orders come here only in their own state
// (see CoSimulationState.h).

fmi2Status EnterInitializationMode(FmiInternalState& instance);
fmi2Status ExitInitializationMode(FmiInternalState& instance);

// Runs the tasks due up to currentCommunicationPoint + communicationStepSize.
// Each step must begin where the previous one ended (the first at the start
// time), to the nanosecond, and end within the scheduler's time range;
// otherwise it is refused and runs nothing.
fmi2Status DoStep(FmiInternalState& instance, double currentCommunicationPoint,
                  double communicationStepSize);

// Accepted in every state. Tells the plug-ins of termination unless
// fmi2Terminate has, runs the terminate tasks and stops the XCP slave, then
// gives back what the instance holds, unloads the vECU library and builds
// the instance again from its instantiation arguments in the same record,
// which is then instantiated. EEPROM images are not written back. Every
// step of the teardown runs even when one before it fails; a failed step is
// told with its name and makes the call answer fmi2Warning when the new
// instance is built all the same. Fails when the vECU library stays loaded
// (its globals would not start fresh) or a step of the instantiation fails;
// the instance then holds nothing and only fmi2FreeInstance is accepted.
fmi2Status Reset(FmiInternalState& instance);

// Ends the simulation: tells the plug-ins, runs the terminate tasks, stops
// the XCP slave, writes the EEPROM images back and unloads plug-ins and the
// symbol library; every step runs even when one before it fails, and fails
// the call. From then on only the variable access, the logging settings,
// reset and the release of the instance act.
fmi2Status Terminate(FmiInternalState& instance);

// Releases the instance and everything it still holds, the vECU library
// last, every step even when one before it fails. A run that fmi2Terminate
// has not ended is ended for the plug-ins first; no terminate tasks run and
// no EEPROM image is written back. currentInstance no longer names the
// instance afterwards, and another instance may be instantiated. Null is
// ignored.
void FreeInstance(FmiInternalState* instance);

#endif
