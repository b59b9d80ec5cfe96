#include "FmiInternalState.h"
#include "SymbolRegistration.h"

void RegisterTaskSymbols(FmiInternalState&) {}
