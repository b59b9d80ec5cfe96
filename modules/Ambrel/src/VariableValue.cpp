#include "VariableValue.h"

#include <cmath>
#include <exception>
#include <limits>

#include "CompuMethod.h"
#include "FmiInternalState.h"

namespace {

bool InRange(const FmiInternalState& instance, int32_t index) {
    return index >= 0 && static_cast<size_t>(index) < instance.variables.size();
}

// The scaling entry of the variable at index, or null.
const ScalingRecord* ScalingOf(FmiInternalState& instance, int32_t index) {
    return instance.variableScalings.Of(static_cast<size_t>(index));
}

// A double as an integer: truncated toward zero, saturated at the ends of
// the 64-bit range, NaN as 0 (a plain cast would be undefined there).
int64_t TruncateToInteger(double real) {
    if (std::isnan(real)) return 0;
    if (real >= 9223372036854775808.0) return std::numeric_limits<int64_t>::max();
    if (real < -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(real);
}

// The slot re-expressed from one kind to another; unchanged when either
// side has no kind or both agree.
SymbolValue ConvertKind(SymbolValue value, SymbolValueKind from, SymbolValueKind to) {
    if (from == to || from == SymbolValueKind_none || to == SymbolValueKind_none) return value;
    SymbolValue converted;
    if (to == SymbolValueKind_real)
        converted.real = static_cast<double>(value.integer);
    else
        converted.integer = TruncateToInteger(value.real);
    return converted;
}

// A failed conversion is reported whatever the logging flag says; the text
// goes out as an argument so that a '%' in it stays as it is.
void LogConversionFailure(FmiInternalState& instance, const std::exception& failure) {
    instance.Log(instance.instanceName, LogCategory_warning, "warning", "%s", failure.what());
}

}  // namespace

SymbolValue GetVariableValue(FmiInternalState& instance, int32_t index, SymbolValueKind requested,
                             fmi2Status* status) {
    if (!InRange(instance, index)) {
        SymbolValue zero;
        zero.word = 0;
        return zero;
    }
    SymbolAccess& access = *instance.variables[static_cast<size_t>(index)];
    SymbolValue value = access.Read();

    const ScalingRecord* scaling = ScalingOf(instance, index);
    const bool convert = ConvertsOnRead(scaling);
    if (!convert && requested == SymbolValueKind_none) return value;

    const SymbolValueKind kind = access.ValueKind();
    if (convert) {
        try {
            if (kind == SymbolValueKind_real)
                value.real = ApplyCompuMethod(value.real, *scaling);
            else if (kind == SymbolValueKind_integer)
                value.integer = ApplyCompuMethodInteger(value.integer, *scaling);
        } catch (const std::exception& failure) {
            LogConversionFailure(instance, failure);  // the raw value is delivered
            if (status != nullptr) *status = fmi2Warning;
        }
    }
    return ConvertKind(value, kind, requested);
}

fmi2Status SetVariableValue(FmiInternalState& instance, int32_t index, SymbolValue value,
                            SymbolValueKind given) {
    if (!InRange(instance, index)) return fmi2OK;
    SymbolAccess& access = *instance.variables[static_cast<size_t>(index)];

    const ScalingRecord* scaling = ScalingOf(instance, index);
    const bool convert = ConvertsOnWrite(scaling);
    if (!convert && given == SymbolValueKind_none) {
        access.Write(value);
        return fmi2OK;
    }

    const SymbolValueKind kind = access.ValueKind();
    value = ConvertKind(value, given, kind);
    if (convert) {
        if (kind == SymbolValueKind_none) return fmi2OK;
        try {
            if (kind == SymbolValueKind_real)
                value.real = ApplyCompuMethod(value.real, *scaling);
            else
                value.integer = ApplyCompuMethodInteger(value.integer, *scaling);
        } catch (const std::exception& failure) {
            LogConversionFailure(instance, failure);  // the variable keeps its old value
            return fmi2Warning;
        }
    }
    access.Write(value);
    return fmi2OK;
}
