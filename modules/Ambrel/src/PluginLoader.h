#ifndef AMBREL_PLUGIN_LOADER_H
#define AMBREL_PLUGIN_LOADER_H

#include <string>

class FmiInternalState;

// Loads the plug-ins of the resource folder into the instance's
// pluginModules and plugins.
void LoadPlugins(FmiInternalState& instance, const std::string& folder);

// Unloads every plug-in module, in key order, and forgets the handles so
// that none is unloaded twice.
void FreePluginModules(FmiInternalState& instance);

#endif
