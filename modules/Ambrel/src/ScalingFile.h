#ifndef AMBREL_SCALING_FILE_H
#define AMBREL_SCALING_FILE_H

#include <string>

class FmiInternalState;

// Reads fmi_scaling.json of the resource folder into the instance's
// scalings; problems are warnings, never failures.
void ReadScalingFile(FmiInternalState& instance, std::string folder, const std::string& instanceName);

#endif
