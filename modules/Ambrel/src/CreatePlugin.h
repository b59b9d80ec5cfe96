#ifndef AMBREL_CREATE_PLUGIN_H
#define AMBREL_CREATE_PLUGIN_H

#include <cstdint>
#include <memory>

#include "Plugin.h"

// Binds the entry points of a loaded plug-in library for its interface
// version (1 or 2; any other gives null and looks nothing up). A missing
// mandatory entry is named on standard output; the plug-in is made all the
// same, and its phases without an entry pass it by.
std::unique_ptr<Plugin> CreatePlugin(platform::ModuleHandle module, uint32_t version);

#endif
