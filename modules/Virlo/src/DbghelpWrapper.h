#ifndef VIRLO_DBGHELP_WRAPPER_H
#define VIRLO_DBGHELP_WRAPPER_H

// The debug-help library, loaded at run time from a path the caller gives.
// Its seven functions are bound by name into process-wide pointers; the
// functions SymCleanup ... SymSetOptions of this library (declared in
// dbghelp/DbgHelp.h) call through them. A pointer that is not bound makes
// its function fail (FALSE, 0) instead of calling through null.

#include <string>

#include "dbghelp/DbgHelp.h"
#include "platform/Module.h"
#include "VirloExport.h"

// Loads the library at the path and binds SymCleanup, SymEnumSymbols,
// SymGetOptions, SymGetTypeInfo, SymInitialize, SymLoadModuleEx and
// SymSetOptions, in that order (a missing name leaves its pointer null).
// Returns the module handle; null when loading fails, binding nothing.
VIRLO_EXPORT platform::ModuleHandle InitDbghelpWrapper(std::string path);

// True when all seven functions are bound.
bool DbghelpBound();

// The first of the seven names that is not bound, or null.
const char* FirstUnboundDbghelpFunction();

// Unbinds the seven functions and unloads the module, so that no call can
// reach it afterwards.
void ReleaseDbghelpWrapper(platform::ModuleHandle module);

#endif
