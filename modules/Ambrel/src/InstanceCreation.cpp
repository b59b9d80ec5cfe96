#include "InstanceCreation.h"

#include "BitfieldPackingOrderSection.h"
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

void AssignInstanceIdentity(FmiInternalState& instance, const InstantiationArguments& arguments) {
    instance.instantiation = arguments;
    instance.instanceName = arguments.instanceName;
    instance.fmuGuid = arguments.fmuGUID;
    instance.fmuType = static_cast<uint32_t>(arguments.fmuType);
    instance.callbackFunctions = arguments.functions;
    instance.componentEnvironment = arguments.functions->componentEnvironment;
    instance.loggingOn = arguments.loggingOn;
}

bool CreateInstance(FmiInternalState& instance, const std::string& vEcuDllPath) {
    instance.pluginCallbacks = std::make_unique<QorvCallbacks1>();
    BuildPluginCallbacks(*instance.pluginCallbacks);
    const std::string& folder = instance.instantiation.resourceFolder;
    instance.resourceDirectory = folder;

    for (SectionReader read : kSectionReaders)
        if (read(instance, folder, instance.instanceName) != 0) return false;

    if (!vEcuDllPath.empty()) {
        instance.vEcuModule = platform::LoadModule(vEcuDllPath);
        // Without the library every configured address would point into
        // nowhere, so the instance must not come to life.
        if (instance.vEcuModule == nullptr) {
            instance.Log(instance.instanceName, LogCategory_error, "error",
                         "Cannot load vECU library '%s': %s", vEcuDllPath.c_str(),
                         platform::LastModuleError().c_str());
            return false;
        }
    }
    return true;
}
