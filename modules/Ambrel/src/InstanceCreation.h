#ifndef AMBREL_INSTANCE_CREATION_H
#define AMBREL_INSTANCE_CREATION_H

#include <string>

#include "FmiInternalState.h"

// Gives an empty record its identity: the instantiation arguments, the
// master's callbacks, the instance name and the logging flag.
void AssignInstanceIdentity(FmiInternalState& instance, const InstantiationArguments& arguments);

// Fills a record that has its identity: the plug-in callback table, the
// resource folder, the sections of resources.txt and the vECU library.
// False when a section reader fails or the named vECU library cannot be
// loaded (reported); what was filled in stays for the caller to release.
bool CreateInstance(FmiInternalState& instance, const std::string& vEcuDllPath);

#endif
