#include "VariableExchange.h"

#include "DirectLog.h"
#include "FmiInternalState.h"
#include "VariableValue.h"

namespace {

int32_t IndexOf(fmi2ValueReference vr) { return static_cast<int32_t>(vr - 1); }

// Checks the arrays and every value reference before any is used, so that a
// refused call touches nothing. The reason goes to the master whatever the
// logging flag says.
bool CallIsValid(const FmiInternalState& instance, const char* function, const fmi2ValueReference vr[],
                 size_t nvr, const void* value, size_t variableCount) {
    if (nvr == 0) return true;
    if (vr == nullptr || value == nullptr) {
        DirectLog(instance, LogCategory_error, "%s: Missing value reference or value array.", function);
        return false;
    }
    for (size_t i = 0; i < nvr; ++i) {
        if (vr[i] == 0 || vr[i] > variableCount) {
            DirectLog(instance, LogCategory_error, "%s: Unknown value reference %u.", function,
                      static_cast<unsigned>(vr[i]));
            return false;
        }
    }
    return true;
}

// The slot comes in the kind the master's type needs, whatever the
// variable's own kind is.
template <typename Value, typename FromSlot>
fmi2Status GetValues(FmiInternalState& instance, const char* function, const fmi2ValueReference vr[],
                     size_t nvr, Value value[], SymbolValueKind kind, FromSlot fromSlot) {
    if (!CallIsValid(instance, function, vr, nvr, value, instance.variables.size())) return fmi2Error;
    fmi2Status status = fmi2OK;
    for (size_t i = 0; i < nvr; ++i)
        value[i] = fromSlot(GetVariableValue(instance, IndexOf(vr[i]), kind, &status));
    return status;
}

template <typename Value, typename ToSlot>
fmi2Status SetValues(FmiInternalState& instance, const char* function, const fmi2ValueReference vr[],
                     size_t nvr, const Value value[], SymbolValueKind kind, ToSlot toSlot) {
    if (!CallIsValid(instance, function, vr, nvr, value, instance.variables.size())) return fmi2Error;
    fmi2Status status = fmi2OK;
    for (size_t i = 0; i < nvr; ++i)
        if (SetVariableValue(instance, IndexOf(vr[i]), toSlot(value[i]), kind) != fmi2OK)
            status = fmi2Warning;
    return status;
}

}  // namespace

fmi2Real RealFromSlot(SymbolValue slot) { return slot.real; }

fmi2Integer IntegerFromSlot(SymbolValue slot) {
    return static_cast<fmi2Integer>(static_cast<uint32_t>(slot.word));
}

fmi2Boolean BooleanFromSlot(SymbolValue slot) { return slot.real != 0.0 ? fmi2True : fmi2False; }

SymbolValue SlotFromReal(fmi2Real value) { return RealSlot(value); }

SymbolValue SlotFromInteger(fmi2Integer value) { return IntegerSlot(value); }

SymbolValue SlotFromBoolean(fmi2Boolean value) { return IntegerSlot(value != fmi2False ? 1 : 0); }

fmi2Status GetReal(FmiInternalState& instance, const fmi2ValueReference vr[], size_t nvr,
                   fmi2Real value[]) {
    return GetValues(instance, "fmi2GetReal", vr, nvr, value, SymbolValueKind_real, RealFromSlot);
}

fmi2Status GetInteger(FmiInternalState& instance, const fmi2ValueReference vr[], size_t nvr,
                      fmi2Integer value[]) {
    return GetValues(instance, "fmi2GetInteger", vr, nvr, value, SymbolValueKind_integer,
                     IntegerFromSlot);
}

fmi2Status GetBoolean(FmiInternalState& instance, const fmi2ValueReference vr[], size_t nvr,
                      fmi2Boolean value[]) {
    return GetValues(instance, "fmi2GetBoolean", vr, nvr, value, SymbolValueKind_real,
                     BooleanFromSlot);
}

fmi2Status SetReal(FmiInternalState& instance, const fmi2ValueReference vr[], size_t nvr,
                   const fmi2Real value[]) {
    return SetValues(instance, "fmi2SetReal", vr, nvr, value, SymbolValueKind_real, SlotFromReal);
}

fmi2Status SetInteger(FmiInternalState& instance, const fmi2ValueReference vr[], size_t nvr,
                      const fmi2Integer value[]) {
    return SetValues(instance, "fmi2SetInteger", vr, nvr, value, SymbolValueKind_integer,
                     SlotFromInteger);
}

fmi2Status SetBoolean(FmiInternalState& instance, const fmi2ValueReference vr[], size_t nvr,
                      const fmi2Boolean value[]) {
    return SetValues(instance, "fmi2SetBoolean", vr, nvr, value, SymbolValueKind_integer,
                     SlotFromBoolean);
}

fmi2Status GetString(FmiInternalState& instance, const fmi2ValueReference vr[], size_t nvr,
                     fmi2String value[]) {
    return CallIsValid(instance, "fmi2GetString", vr, nvr, value, 0) ? fmi2OK : fmi2Error;
}

fmi2Status SetString(FmiInternalState& instance, const fmi2ValueReference vr[], size_t nvr,
                     const fmi2String value[]) {
    return CallIsValid(instance, "fmi2SetString", vr, nvr, value, 0) ? fmi2OK : fmi2Error;
}
