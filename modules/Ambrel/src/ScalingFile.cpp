#include "ScalingFile.h"

#include "FmiInternalState.h"

void ReadScalingFile(FmiInternalState&, std::string, const std::string&) {}
