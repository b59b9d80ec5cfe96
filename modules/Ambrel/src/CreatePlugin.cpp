#include "CreatePlugin.h"

#include <iostream>

#include "PluginVersion1.h"
#include "PluginVersion2.h"

namespace {

// The exported names of one interface version, and the name under which a
// missing terminate entry is reported.
struct EntryNames {
    const char* instantiate;
    const char* enterInit;
    const char* exitInit;
    const char* preDoStep;
    const char* preRunTask;
    const char* postRunTask;
    const char* postDoStep;
    const char* terminate;
    const char* terminateReported;
};

constexpr EntryNames kVersion1Entries{
    "qorvInstantiate1", "qorvFmi2EnterInit1", "qorvFmi2ExitInit1", "qorvPreDoStep1",
    "qorvPreTask1",     "qorvPostTask1",      "qorvPostDoStep1",   "qorvTerminate1",
    "pQorvTerminate1",
};

constexpr EntryNames kVersion2Entries{
    "qorvInstantiate2", "qorvFmi3EnterInit2", "qorvFmi3ExitInit2", "qorvPreDoStep2",
    "qorvPreTask2",     "qorvPostTask2",      "qorvPostDoStep2",   "qorvTerminate2",
    "pQorvTerminate2",
};

template <typename Entry>
void Bind(platform::ModuleHandle module, Entry*& field, const char* name) {
    field = reinterpret_cast<Entry*>(platform::FindModuleSymbol(module, name));
}

template <typename Entry>
void BindMandatory(platform::ModuleHandle module, Entry*& field, const char* name,
                   const char* reportedName) {
    Bind(module, field, name);
    if (field == nullptr)
        std::cout << "The mandatory method " << reportedName
                  << "() is missing from plugin interface!" << std::endl;
}

// Looks the entries up in field order, the version entry first.
template <typename Version>
std::unique_ptr<Plugin> BindEntries(platform::ModuleHandle module, const EntryNames& names) {
    auto plugin = std::make_unique<Version>();
    plugin->module = module;
    BindMandatory(module, plugin->pluginVersion, "qorvPluginVersion", "qorvPluginVersion");
    BindMandatory(module, plugin->instantiate, names.instantiate, names.instantiate);
    Bind(module, plugin->enterInit, names.enterInit);
    Bind(module, plugin->exitInit, names.exitInit);
    Bind(module, plugin->preDoStep, names.preDoStep);
    Bind(module, plugin->preRunTask, names.preRunTask);
    Bind(module, plugin->postRunTask, names.postRunTask);
    Bind(module, plugin->postDoStep, names.postDoStep);
    BindMandatory(module, plugin->terminate, names.terminate, names.terminateReported);
    return plugin;
}

}  // namespace

std::unique_ptr<Plugin> CreatePlugin(platform::ModuleHandle module, uint32_t version) {
    switch (version) {
    case 1: return BindEntries<PluginVersion1>(module, kVersion1Entries);
    case 2: return BindEntries<PluginVersion2>(module, kVersion2Entries);
    default: return nullptr;
    }
}
