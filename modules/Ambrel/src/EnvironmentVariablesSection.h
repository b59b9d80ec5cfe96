#ifndef AMBREL_ENVIRONMENT_VARIABLES_SECTION_H
#define AMBREL_ENVIRONMENT_VARIABLES_SECTION_H

#include <cstdint>
#include <functional>
#include <string>

class FmiInternalState;

// The value of an environment variable, or null when it is not set.
using EnvironmentLookup = std::function<const char*(const char* name)>;

// Replaces every "${NAME}" by the variable's value, which is expanded in
// turn. An unset variable inserts nothing; a reference to a variable whose
// expansion is already under way stays as text, so settings that refer to
// each other cannot expand forever; text that is no complete reference (a
// "}" before any "${", a "${" without a "}") stays as it is.
std::string ExpandEnvironmentReferences(const std::string& text, const EnvironmentLookup& lookup);

// Applies each entry of the EnvironmentVariables section ("NAME=value",
// references expanded) to the process environment, in file order; 0.
int32_t ReadEnvironmentVariablesSection(FmiInternalState& instance, const std::string& folder,
                                        const std::string& instanceName);

#endif
