#ifndef AMBREL_XCP_SLAVE_BINDING_H
#define AMBREL_XCP_SLAVE_BINDING_H

#include <cstdint>
#include <string>

#include "fmi2/fmi2FunctionTypes.h"

class FmiInternalState;

// Collects the entry lines of the XcpConfig section; 0, or 1 to fail the
// instantiation.
int32_t ReadXcpConfigSection(FmiInternalState& instance, const std::string& folder,
                             const std::string& instanceName);

// Loads and initialises the XCP slave of the resource folder, when there is one.
void StartPellan(FmiInternalState& instance, const std::string& folder, fmi2CallbackLogger logger);

// Steps the XCP slave along with fmi2DoStep.
void AdvancePellan(double currentCommunicationPoint, double communicationStepSize);

// Terminates and unloads the XCP slave; nothing happens when it is not bound.
void StopPellan();

#endif
