#ifndef AMBREL_VIRLO_BINDING_H
#define AMBREL_VIRLO_BINDING_H

// The runtime's side of the symbol library: loading it from the resource
// folder, the table of its entry points and one wrapper per entry point.
// An entry point that is not bound (library missing or unloaded, export
// missing) is skipped by its wrapper, which then answers 0 or null: callers
// take a null record as a name that is not found.

#include <cstdint>
#include <string>

#include "SymbolRecord.h"
#include "VirloInterface.h"
#include "platform/Module.h"

// The bound exports of the symbol library, in binding order; all null while
// no library is bound.
struct VirloEntryPoints {
    InitVirloFn InitVirlo = nullptr;
    CacheVirloFn CacheVirlo = nullptr;
    GetVirloFn GetVirlo = nullptr;
    ClearVirloCacheFn ClearVirloCache = nullptr;
    TerminateVirloFn TerminateVirlo = nullptr;
    WriteVirloToFileFn WriteVirloToFile = nullptr;
};

// Process-wide; the entry points belong to the library they were bound from
// and are cleared when that library is freed.
extern VirloEntryPoints virloEntryPoints;

// Handle of the loaded symbol library between fmi2Instantiate and fmi2Terminate.
extern platform::ModuleHandle virloModule;

// Loads the library and binds its entry points; null when it cannot be
// loaded, the table then stays as it was. The reason goes to standard error
// as one line and, when failure is given, into it for the master's logger.
platform::ModuleHandle BindVirloLibrary(std::string path, std::string* failure = nullptr);

// Unloads the library; the table is cleared when it was bound from it.
void FreeVirloLibrary(platform::ModuleHandle module);

uint32_t CallInitVirlo(std::string path, std::string dbghelpPath);
uint32_t CallCacheVirlo(std::string mask);
// The library's record of a name (offset from the vECU base), or null.
const SymbolRecord* CallGetVirlo(const std::string& name);
void CallClearVirloCache();
void CallTerminateVirlo(bool replaceFile);
uint32_t CallWriteVirloToFile(const wchar_t* path, uint32_t unused, uint64_t imageAddress,
                              uint32_t addressWidth, uint32_t bitOrder);

// Loads the symbol library from the resource folder, initialises it on the
// library folder and caches the first batch of its symbol list. A load
// failure is described in failure when given.
platform::ModuleHandle LoadVirlo(const std::string& resourceFolder, const std::string& libraryFolder,
                                 std::string* failure = nullptr);

// Clears the cache, terminates and unloads the symbol library. The library
// is unloaded even when a call into it fails, which is then raised as a
// std::runtime_error of this library's own.
void UnloadVirlo(platform::ModuleHandle module);

// The symbol library holds a lock from InitVirlo to TerminateVirlo that only
// the initialising thread can leave. When an instance is terminated on
// another thread, the lock goes only with the library itself; true while
// such a library stays loaded (something else holds it), since InitVirlo on
// any other thread would then wait for ever.
bool VirloLockedByAnotherThread();

#endif
