#include "VariableValue.h"

#include "FmiInternalState.h"

SymbolValue GetVariableValue(FmiInternalState&, int32_t) {
    SymbolValue value;
    value.word = 0;
    return value;
}

void SetVariableValue(FmiInternalState&, int32_t, SymbolValue) {}
