#ifndef AMBREL_VARIABLE_EXCHANGE_H
#define AMBREL_VARIABLE_EXCHANGE_H

// The master's reads and writes of variables by value reference: value
// reference r is the variable at index r - 1, and each value crosses in the
// 8-byte slot of the variable access.

#include <cstddef>

#include "SymbolAccess.h"
#include "fmi2/fmi2FunctionTypes.h"

class FmiInternalState;

// How each FMI type sits in the slot. Reals and Booleans are read from a
// real slot, Integers from an integer slot; the variable access converts
// a variable of the other kind by value. Booleans are written as the
// integer 1 or 0.
fmi2Real RealFromSlot(SymbolValue slot);
fmi2Integer IntegerFromSlot(SymbolValue slot);  // the low 32 bits
fmi2Boolean BooleanFromSlot(SymbolValue slot);  // true unless zero (-0.0 is zero)
SymbolValue SlotFromReal(fmi2Real value);
SymbolValue SlotFromInteger(fmi2Integer value);  // sign-extended
SymbolValue SlotFromBoolean(fmi2Boolean value);  // 1 or 0

// Each handles the value references in array order. A value reference
// that names no variable fails the whole call with fmi2Error and a message
// naming the function and the reference, before anything is read or
// written; so does a missing array (with values asked for). A failed
// scaling conversion answers fmi2Warning (its message is already sent): a
// read then delivers the raw value, a write keeps the variable's old value.
fmi2Status GetReal(FmiInternalState& instance, const fmi2ValueReference vr[], size_t nvr,
                   fmi2Real value[]);
fmi2Status GetInteger(FmiInternalState& instance, const fmi2ValueReference vr[], size_t nvr,
                      fmi2Integer value[]);
fmi2Status GetBoolean(FmiInternalState& instance, const fmi2ValueReference vr[], size_t nvr,
                      fmi2Boolean value[]);
fmi2Status SetReal(FmiInternalState& instance, const fmi2ValueReference vr[], size_t nvr,
                   const fmi2Real value[]);
fmi2Status SetInteger(FmiInternalState& instance, const fmi2ValueReference vr[], size_t nvr,
                      const fmi2Integer value[]);
fmi2Status SetBoolean(FmiInternalState& instance, const fmi2ValueReference vr[], size_t nvr,
                      const fmi2Boolean value[]);

// The FMU has no string variables: every value reference is unknown.
fmi2Status GetString(FmiInternalState& instance, const fmi2ValueReference vr[], size_t nvr,
                     fmi2String value[]);
fmi2Status SetString(FmiInternalState& instance, const fmi2ValueReference vr[], size_t nvr,
                     const fmi2String value[]);

#endif
