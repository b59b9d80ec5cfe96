#include "InitialData.h"

#include "FmiInternalState.h"

int32_t ReadInitialDataSection(FmiInternalState&, const std::string&, const std::string&) { return 0; }

int32_t ApplyInitialData(FmiInternalState&, const std::string&, const std::string&) { return 0; }
