#ifndef AMBREL_ENVIRONMENT_VARIABLES_SECTION_H
#define AMBREL_ENVIRONMENT_VARIABLES_SECTION_H

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class FmiInternalState;

// The value of an environment variable, or null when it is not set.
using EnvironmentLookup = std::function<const char*(const char* name)>;

// The longest setting an expansion may give: the longest environment value
// that the platform the configurations are written for holds.
inline constexpr std::size_t kMaxExpandedSettingLength = 32767;

// Replaces every "${NAME}" by the variable's value, which is expanded in
// turn. An unset variable inserts nothing; a reference to a variable whose
// expansion is already under way stays as text, so settings that refer to
// each other cannot expand forever; text that is no complete reference (a
// "}" before any "${", a "${" without a "}") stays as it is.
// Empty when the text and the values put in for its references add up to
// more than kMaxExpandedSettingLength characters: the expansion stops there,
// so a few lines that double a value each cannot take the process's memory,
// and values made only of references cannot take exponential time.
std::optional<std::string> ExpandEnvironmentReferences(const std::string& text,
                                                       const EnvironmentLookup& lookup);

// Applies each entry of the EnvironmentVariables section ("NAME=value",
// references expanded) to the process environment, in file order; an entry
// whose expansion is too long is reported and leaves the variable as it
// was. Returns 0.
int32_t ReadEnvironmentVariablesSection(FmiInternalState& instance, const std::string& folder,
                                        const std::string& instanceName);

#endif
