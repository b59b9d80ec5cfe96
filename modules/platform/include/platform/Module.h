#ifndef PLATFORM_MODULE_H
#define PLATFORM_MODULE_H

#include <cstdint>
#include <string>

namespace platform {

// Opaque handle of a loaded shared library; null when loading failed.
using ModuleHandle = void*;

// File-name suffix of shared libraries on this platform.
inline constexpr const char* kSharedLibrarySuffix = ".so";

// Loads a shared library with all its symbols bound now and kept local.
ModuleHandle LoadModule(const std::string& path);

// Address of an exported symbol, or null.
void* FindModuleSymbol(ModuleHandle module, const char* name);

// Drops one reference of the module; a null handle is ignored.
void FreeModule(ModuleHandle module);

// The path the module was loaded from; empty for a null handle.
std::string ModulePath(ModuleHandle module);

// True while the library at path is loaded in this process (it is not
// loaded by asking): after FreeModule it tells whether another reference,
// or a mark not to unload, keeps the library in the process.
bool IsModuleLoaded(const std::string& path);

// The load address of the module (what symbol offsets are relative to);
// 0 for a null handle.
uint64_t ModuleBaseAddress(ModuleHandle module);

// Text of the last loading failure of this thread.
std::string LastModuleError();

}  // namespace platform

#endif
