#include "InstanceCreation.h"

#include <new>

#include "BitfieldPackingOrderSection.h"
#include "DirectLog.h"
#include "Eeprom.h"
#include "EnvironmentVariablesSection.h"
#include "FmiVariablesSection.h"
#include "InitialData.h"
#include "PluginCallbacks.h"
#include "RedirectFunctionCalls.h"
#include "TasksSection.h"
#include "XcpSlaveBinding.h"

namespace {

using SectionReader = int32_t (*)(FmiInternalState&, const std::string&, const std::string&);

// The environment section comes after the others and before the vECU
// library is loaded, so that the library's start-up sees its settings.
constexpr SectionReader kSectionReaders[] = {
    ReadFmiVariables,     ReadTasksSection,     ReadRedirectFunctionCallsSection,
    ReadInitialDataSection, ReadEepromSection,  ReadXcpConfigSection,
    ReadEnvironmentVariablesSection, ReadBitfieldPackingOrderSection,
};

}  // namespace

std::unique_ptr<FmiInternalState> CreateInstance(fmi2String instanceName, fmi2Type fmuType,
                                                 fmi2String fmuGUID, const std::string& folder,
                                                 const fmi2CallbackFunctions* functions,
                                                 fmi2Boolean loggingOn,
                                                 const std::string& vEcuDllPath) {
    std::unique_ptr<FmiInternalState> instance(new (std::nothrow) FmiInternalState);
    if (!instance) {
        DirectLog(functions, instanceName, LogCategory_error, "fmi2Instantiate: Out of memory.");
        return nullptr;
    }
    instance->instanceName = instanceName;
    instance->fmuGuid = fmuGUID;
    instance->fmuType = static_cast<uint32_t>(fmuType);
    instance->callbackFunctions = functions;
    instance->componentEnvironment = functions->componentEnvironment;
    instance->loggingOn = loggingOn != fmi2False;
    instance->pluginCallbacks = std::make_unique<QorvCallbacks1>();
    BuildPluginCallbacks(*instance->pluginCallbacks);
    instance->resourceDirectory = folder;

    for (SectionReader read : kSectionReaders)
        if (read(*instance, folder, instance->instanceName) != 0) return nullptr;

    if (!vEcuDllPath.empty()) {
        instance->vEcuModule = platform::LoadModule(vEcuDllPath);
        // Without the library every configured address would point into
        // nowhere, so the instance must not come to life.
        if (instance->vEcuModule == nullptr) {
            instance->Log(instance->instanceName, LogCategory_error, "error",
                          "Cannot load vECU library '%s': %s", vEcuDllPath.c_str(),
                          platform::LastModuleError().c_str());
            return nullptr;
        }
    }
    return instance;
}
