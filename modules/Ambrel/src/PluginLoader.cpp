#include "PluginLoader.h"

#include "CreatePlugin.h"
#include "DirectLog.h"
#include "FindPluginFiles.h"
#include "FmiInternalState.h"

namespace {

constexpr int32_t kSupportedInterfaceVersion = 1;

}  // namespace

void LoadPlugins(FmiInternalState& instance, const std::string& folder) {
    const PluginSearchWarning warn = [&instance](const std::string& text) {
        DirectLog(instance, LogCategory_warning, "%s", text.c_str());
    };
    try {
        instance.pluginModules = FindPluginFiles(std::filesystem::path(folder), warn);
    } catch (const std::filesystem::filesystem_error& failure) {
        instance.Log(instance.instanceName, LogCategory_warning, "warning",
                     "Cannot look for plugins: %s", failure.what());
        return;
    }
    for (const auto& [name, module] : instance.pluginModules) {
        auto* pluginVersion = reinterpret_cast<QorvPluginVersionEntry*>(
            platform::FindModuleSymbol(module, "qorvPluginVersion"));
        if (pluginVersion == nullptr) continue;
        if (pluginVersion() == kSupportedInterfaceVersion) {
            instance.plugins.emplace(kSupportedInterfaceVersion,
                                     CreatePlugin(module, kSupportedInterfaceVersion));
            DirectLog(instance, LogCategory_log, "Loading plugin %s", name.c_str());
        } else {
            DirectLog(instance, LogCategory_warning, "Skipping plugin %s", name.c_str());
        }
    }
}

void FreePluginModules(FmiInternalState& instance) {
    // The plug-ins hold entry points into the libraries: they go first.
    instance.plugins.clear();
    for (const auto& [name, module] : instance.pluginModules) platform::FreeModule(module);
    instance.pluginModules.clear();
}
