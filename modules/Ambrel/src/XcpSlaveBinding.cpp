#include "XcpSlaveBinding.h"

#include "FmiInternalState.h"

// The XCP slave is not offered yet: nothing is bound, so every step is skipped.
int32_t ReadXcpConfigSection(FmiInternalState&, const std::string&, const std::string&) { return 0; }

void StartPellan(FmiInternalState&, const std::string&, fmi2CallbackLogger) {}

void AdvancePellan(double, double) {}

void StopPellan() {}
