#ifndef AMBREL_RESOURCES_FILE_CHECK_H
#define AMBREL_RESOURCES_FILE_CHECK_H

#include <string>

#include "fmi2/fmi2FunctionTypes.h"

// Whether the resource folder's resources.txt can be read, asked once before
// instantiation relies on it: every section reader opens the file again, and
// an FMU without its configuration must not come to life as an empty one.
// False, with one error that names the file and the reason, when it cannot
// be read; an empty file passes with a warning that it configures nothing.
// Runs before the instance exists and logs through the master's callbacks.
bool CheckResourcesFile(const std::string& folder, const fmi2CallbackFunctions* functions,
                        fmi2String instanceName);

#endif
