#ifndef AMBREL_VARIABLE_VALUE_H
#define AMBREL_VARIABLE_VALUE_H

#include <cstdint>

#include "SymbolAccess.h"
#include "fmi2/fmi2FunctionTypes.h"

class FmiInternalState;

// The kind argument names how the caller exchanges the value: a Real caller
// passes SymbolValueKind_real, an Integer caller SymbolValueKind_integer.
// A variable of the other kind is then converted by value (an integer read
// as a double, a double written to an integer variable truncated toward
// zero and saturated) instead of handing over the slot's bytes, which would
// read as nonsense and store corrupt data. SymbolValueKind_none passes the
// slot on as the accessor delivers or takes it.

// Value of the variable at index (value reference - 1), converted to its
// physical value where the scaling file asks for it; 0 outside the list.
// A failed conversion is logged as a warning and delivers the raw value;
// status, when given, then becomes fmi2Warning.
SymbolValue GetVariableValue(FmiInternalState& instance, int32_t index,
                             SymbolValueKind requested = SymbolValueKind_none,
                             fmi2Status* status = nullptr);

// Writes the variable at index, converting the physical value to the raw
// one where the scaling file asks for it; ignored outside the list. A
// failed conversion is logged as a warning, writes nothing and answers
// fmi2Warning; otherwise fmi2OK.
fmi2Status SetVariableValue(FmiInternalState& instance, int32_t index, SymbolValue value,
                            SymbolValueKind given = SymbolValueKind_none);

#endif
