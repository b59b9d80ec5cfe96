#ifndef AMBREL_XCP_SLAVE_BINDING_H
#define AMBREL_XCP_SLAVE_BINDING_H

// The outside XCP slave's place in the instance's life: started with the
// ECU's memory map at instantiation, stepped after the vECU tasks of every
// step, stopped at reset and termination. Without the slave library in the
// resource folder every step does nothing.

#include <string>

#include "XcpConfigSection.h"
#include "fmi2/fmi2FunctionTypes.h"

class FmiInternalState;

// Loads the slave library of the resource folder, when there is one, and
// initialises it with the instance's variables and XcpConfig lines. A
// library that is there but cannot be loaded, or lacks entry points, is
// reported. A slave still running for an earlier instance is stopped first.
void StartPellan(FmiInternalState& instance, const std::string& folder, fmi2CallbackLogger logger);

// Steps the slave with the time and step size of the running fmi2DoStep.
void AdvancePellan(double currentCommunicationPoint, double communicationStepSize);

// Terminates and unloads the slave; nothing happens when none is bound.
// The library is unloaded even when its stop fails, which is then raised
// as a std::runtime_error of this library's own.
void StopPellan();

#endif
