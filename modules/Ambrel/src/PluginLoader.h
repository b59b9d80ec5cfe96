#ifndef AMBREL_PLUGIN_LOADER_H
#define AMBREL_PLUGIN_LOADER_H

#include <string>

class FmiInternalState;

// Loads the plug-ins of the resource folder into the instance's
// pluginModules and plugins: each library is asked for its interface
// version, and one that answers 1 becomes a plug-in ("Loading plugin %s"),
// any other is skipped ("Skipping plugin %s") but stays loaded. A library
// without a version passes silently: its name may match by chance (the vECU
// library's, for one). Entries that cannot be examined or loaded are
// reported and passed over; a folder that cannot be searched is reported,
// and the instance goes on without plug-ins.
void LoadPlugins(FmiInternalState& instance, const std::string& folder);

// Drops every plug-in, then unloads every plug-in library in key order and
// forgets the handles: from then on no notification reaches a plug-in, and
// no library is unloaded twice.
void FreePluginModules(FmiInternalState& instance);

#endif
