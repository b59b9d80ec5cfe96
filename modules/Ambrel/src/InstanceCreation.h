#ifndef AMBREL_INSTANCE_CREATION_H
#define AMBREL_INSTANCE_CREATION_H

#include <memory>
#include <string>

#include "FmiInternalState.h"

// Creates the instance record, reads the sections of resources.txt into it
// and loads the vECU library. Null when the record cannot be allocated, a
// section reader fails or the named vECU library cannot be loaded; nothing
// of the record is left behind then.
std::unique_ptr<FmiInternalState> CreateInstance(fmi2String instanceName, fmi2Type fmuType,
                                                 fmi2String fmuGUID, const std::string& folder,
                                                 const fmi2CallbackFunctions* functions,
                                                 fmi2Boolean loggingOn,
                                                 const std::string& vEcuDllPath);

#endif
