#ifndef PELLAN_INTERFACE_H
#define PELLAN_INTERFACE_H

// The exports of the outside XCP slave library, bound by name. Whatever
// they return is not used.

#include "PellanConfig.h"

using InitPellanFn = void (*)(PellanConfig config);
using StepPellanFn = void (*)(double currentCommunicationPoint, double communicationStepSize);
using TerminatePellanFn = void (*)();

#endif
