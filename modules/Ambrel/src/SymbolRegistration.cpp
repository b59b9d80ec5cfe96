#include "SymbolRegistration.h"

#include "FmiInternalState.h"

void RegisterSymbols(FmiInternalState& instance) {
    RegisterVariableSymbols(instance);
    RegisterTaskSymbols(instance);
}

void RegisterVariableSymbols(FmiInternalState&) {}

uint32_t UnprotectMemoryRanges(FmiInternalState&) { return 0; }

int32_t CreateSymbolAccessors(FmiInternalState&, const std::string&) { return 0; }
