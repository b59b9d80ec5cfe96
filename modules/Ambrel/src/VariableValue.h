#ifndef AMBREL_VARIABLE_VALUE_H
#define AMBREL_VARIABLE_VALUE_H

#include <cstdint>

#include "SymbolAccess.h"

class FmiInternalState;

// Value of the variable at index (value reference - 1), converted to its
// physical value where the scaling file asks for it; 0 outside the list.
SymbolValue GetVariableValue(FmiInternalState& instance, int32_t index);

// Writes the variable at index, converting the physical value to the raw
// one where the scaling file asks for it; ignored outside the list.
void SetVariableValue(FmiInternalState& instance, int32_t index, SymbolValue value);

#endif
