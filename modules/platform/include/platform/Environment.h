#ifndef PLATFORM_ENVIRONMENT_H
#define PLATFORM_ENVIRONMENT_H

#include <string>

namespace platform {

// Changes the process environment from a "NAME=value" setting: a value sets
// the variable, an empty value ("NAME=") removes it. Returns 0, or -1 for a
// setting without '=' or with an empty name.
int PutEnvironment(const std::string& setting);

// The variable's value, or null when it is not set.
const char* GetEnvironment(const char* name);

}  // namespace platform

#endif
