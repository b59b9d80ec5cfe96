#include "PluginLoader.h"

#include "FmiInternalState.h"

// Plug-ins are not offered yet: none is looked for.
void LoadPlugins(FmiInternalState&, const std::string&) {}

void FreePluginModules(FmiInternalState& instance) {
    for (const auto& [name, module] : instance.pluginModules) platform::FreeModule(module);
    instance.pluginModules.clear();
}
