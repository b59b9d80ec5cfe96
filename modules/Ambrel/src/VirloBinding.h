#ifndef AMBREL_VIRLO_BINDING_H
#define AMBREL_VIRLO_BINDING_H

#include <string>

#include "SymbolRecord.h"
#include "platform/Module.h"

// Handle of the loaded symbol library between fmi2Instantiate and fmi2Terminate.
extern platform::ModuleHandle virloModule;

// Loads the symbol library from the resource folder, initialises it on the
// library folder and caches the first batch of its symbol list.
platform::ModuleHandle LoadVirlo(const std::string& resourceFolder, const std::string& libraryFolder);

// Clears the cache, terminates and unloads the symbol library.
void UnloadVirlo(platform::ModuleHandle module);

// The library's record of a name (offset from the vECU base), or null.
const SymbolRecord* CallGetVirlo(const std::string& name);

#endif
