#ifndef AMBREL_FMI_VARIABLES_SECTION_H
#define AMBREL_FMI_VARIABLES_SECTION_H

#include <cstdint>
#include <string>

class FmiInternalState;

// Appends every entry of the fmiVariables section, whole and in file order,
// to the instance's variableNames; 0.
int32_t ReadFmiVariables(FmiInternalState& instance, const std::string& folder,
                         const std::string& instanceName);

#endif
