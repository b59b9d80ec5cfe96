#include "VariableExchange.h"

#include "VariableValue.h"

namespace {

int32_t IndexOf(fmi2ValueReference vr) { return static_cast<int32_t>(vr - 1); }

bool ArraysMissing(const void* vr, size_t nvr, const void* value) {
    return nvr > 0 && (vr == nullptr || value == nullptr);
}

// The slot comes in the kind the master's type needs, whatever the
// variable's own kind is.
template <typename Value, typename FromSlot>
fmi2Status GetValues(FmiInternalState& instance, const fmi2ValueReference vr[], size_t nvr,
                     Value value[], SymbolValueKind kind, FromSlot fromSlot) {
    if (ArraysMissing(vr, nvr, value)) return fmi2Error;
    for (size_t i = 0; i < nvr; ++i)
        value[i] = fromSlot(GetVariableValue(instance, IndexOf(vr[i]), kind));
    return fmi2OK;
}

template <typename Value, typename ToSlot>
fmi2Status SetValues(FmiInternalState& instance, const fmi2ValueReference vr[], size_t nvr,
                     const Value value[], SymbolValueKind kind, ToSlot toSlot) {
    if (ArraysMissing(vr, nvr, value)) return fmi2Error;
    for (size_t i = 0; i < nvr; ++i)
        SetVariableValue(instance, IndexOf(vr[i]), toSlot(value[i]), kind);
    return fmi2OK;
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
    return GetValues(instance, vr, nvr, value, SymbolValueKind_real, RealFromSlot);
}

fmi2Status GetInteger(FmiInternalState& instance, const fmi2ValueReference vr[], size_t nvr,
                      fmi2Integer value[]) {
    return GetValues(instance, vr, nvr, value, SymbolValueKind_integer, IntegerFromSlot);
}

fmi2Status GetBoolean(FmiInternalState& instance, const fmi2ValueReference vr[], size_t nvr,
                      fmi2Boolean value[]) {
    return GetValues(instance, vr, nvr, value, SymbolValueKind_real, BooleanFromSlot);
}

fmi2Status SetReal(FmiInternalState& instance, const fmi2ValueReference vr[], size_t nvr,
                   const fmi2Real value[]) {
    return SetValues(instance, vr, nvr, value, SymbolValueKind_real, SlotFromReal);
}

fmi2Status SetInteger(FmiInternalState& instance, const fmi2ValueReference vr[], size_t nvr,
                      const fmi2Integer value[]) {
    return SetValues(instance, vr, nvr, value, SymbolValueKind_integer, SlotFromInteger);
}

fmi2Status SetBoolean(FmiInternalState& instance, const fmi2ValueReference vr[], size_t nvr,
                      const fmi2Boolean value[]) {
    return SetValues(instance, vr, nvr, value, SymbolValueKind_integer, SlotFromBoolean);
}
