#include "InstanceLifecycle.h"

#include <cmath>
#include <exception>
#include <string>

#include "DebugHook.h"
#include "DirectLog.h"
#include "Eeprom.h"
#include "InitialData.h"
#include "InstanceCreation.h"
#include "InstantiateArguments.h"
#include "PluginLoader.h"
#include "PluginNotifications.h"
#include "RedirectFunctionCalls.h"
#include "ResourceLocation.h"
#include "ScalingFile.h"
#include "SymbolRegistration.h"
#include "TaskExecution.h"
#include "VecuDllPath.h"
#include "VirloBinding.h"
#include "XcpSlaveBinding.h"
#include "platform/Environment.h"

namespace {

// The XCP slave and the symbol library are bound process-wide; only the
// instance that bound them, the current one, may let them go.
bool HoldsProcessWideBindings(const FmiInternalState& instance) {
    return currentInstance == &instance;
}

void StopXcpSlave(const FmiInternalState& instance) {
    if (HoldsProcessWideBindings(instance)) StopPellan();
}

void UnloadSymbolLibrary(const FmiInternalState& instance) {
    if (!HoldsProcessWideBindings(instance) || virloModule == nullptr) return;
    UnloadVirlo(virloModule);
    virloModule = nullptr;
}

// Everything fmi2Terminate unloads. Safe to repeat: what is gone is not
// released twice.
void ReleaseRunTimeModules(FmiInternalState& instance) {
    StopXcpSlave(instance);
    FreePluginModules(instance);
    UnloadSymbolLibrary(instance);
}

// Releases the record and what it holds: patches are restored before the
// vECU library goes, the library goes before the record.
void DestroyInstance(FmiInternalState* instance) {
    instance->memoryRanges.clear();
    instance->variableNames.clear();
    instance->tasks.clear();
    RestoreRedirects(*instance);
    instance->pluginCallbacks.reset();
    instance->initialDataEntries.clear();
    ReleaseEepromFiles(*instance);
    if (instance->vEcuModule != nullptr) {
        platform::FreeModule(instance->vEcuModule);
        instance->vEcuModule = nullptr;
    }
    if (currentInstance == instance) currentInstance = nullptr;
    delete instance;
}

// Owns the instance while fmi2Instantiate builds it: when a step fails or
// throws, the modules taken so far are given back and the record released,
// so that currentInstance never names a record that the master never got.
class InstanceUnderConstruction {
public:
    explicit InstanceUnderConstruction(FmiInternalState* instance) : instance_(instance) {
        currentInstance = instance;
    }
    ~InstanceUnderConstruction() {
        if (instance_ == nullptr) return;
        try {
            ReleaseRunTimeModules(*instance_);
        } catch (...) {
            // Already failing; the record is released all the same.
        }
        DestroyInstance(instance_);
    }
    InstanceUnderConstruction(const InstanceUnderConstruction&) = delete;
    InstanceUnderConstruction& operator=(const InstanceUnderConstruction&) = delete;

    FmiInternalState& operator*() const { return *instance_; }
    FmiInternalState* operator->() const { return instance_; }
    FmiInternalState* Complete() {
        FmiInternalState* done = instance_;
        instance_ = nullptr;
        return done;
    }

private:
    FmiInternalState* instance_;
};

// The refusal of a call that would reach modules fmi2Terminate unloaded.
fmi2Status RefuseAfterTerminate(const FmiInternalState& instance, const char* function) {
    if (instance.loggingOn)
        DirectLog(instance, LogCategory_error, "%s called after fmi2Terminate", function);
    return fmi2Error;
}

}  // namespace

FmiInternalState* Instantiate(fmi2String instanceName, fmi2Type fmuType, fmi2String fmuGUID,
                              fmi2String fmuResourceLocation, const fmi2CallbackFunctions* functions,
                              fmi2Boolean loggingOn) {
    if (CheckInstantiateArguments(functions, fmuType, instanceName, fmuGUID) != InstantiateCheck_ok)
        return nullptr;
    if (fmuResourceLocation == nullptr) {
        DirectLog(functions, instanceName, LogCategory_error,
                  "fmi2Instantiate: Missing resource location.");
        return nullptr;
    }
    const std::string folder = ResourceLocationToPath(fmuResourceLocation);
    platform::PutEnvironment("QUORVEL_FMURESOURCES=" + folder);

    if (ReadDebugHookSetting(folder, functions, instanceName)) {
        DirectLog(functions, instanceName, LogCategory_warning,
                  "Debug hook active. Please attach your debugger!");
        WaitForDebugger();
    }
    const std::string vEcuDllPath = ReadVecuDllPath(folder, functions, instanceName);

    std::unique_ptr<FmiInternalState> created =
        CreateInstance(instanceName, fmuType, fmuGUID, folder, functions, loggingOn, vEcuDllPath);
    if (!created) {
        currentInstance = nullptr;
        return nullptr;
    }
    InstanceUnderConstruction instance(created.release());

    virloModule = LoadVirlo(folder, folder);
    RegisterSymbols(*instance);
    StartPellan(*instance, folder, functions->logger);
    if (UnprotectMemoryRanges(*instance) != 0) return nullptr;
    if (CreateSymbolAccessors(*instance, instance->instanceName) != 0) return nullptr;
    if (ApplyInitialData(*instance, folder, instance->instanceName) != 0) return nullptr;
    if (LoadEepromFiles(*instance, folder, instance->instanceName) != 0) return nullptr;
    ReadScalingFile(*instance, folder, instance->instanceName);
    InstallRedirects(*instance);
    if (instance->loggingOn)
        DirectLog(*instance, LogCategory_log, "fmi2InstantiateSlave: GUID = %s", fmuGUID);
    LoadPlugins(*instance, folder);
    NotifyInstantiate(*instance);
    return instance.Complete();
}

fmi2Status EnterInitializationMode(FmiInternalState& instance) {
    if (instance.terminated) return RefuseAfterTerminate(instance, "fmi2EnterInitializationMode");
    NotifyEnterInit(instance);
    RunEnterInitTasks(instance);
    return fmi2OK;
}

fmi2Status ExitInitializationMode(FmiInternalState& instance) {
    if (instance.terminated) return RefuseAfterTerminate(instance, "fmi2ExitInitializationMode");
    NotifyExitInit(instance);
    RunExitInitTasks(instance);
    return fmi2OK;
}

fmi2Status DoStep(FmiInternalState& instance, double currentCommunicationPoint,
                  double communicationStepSize) {
    // NaN fails this test too: a step must move time forward.
    if (!(communicationStepSize > 0.0)) {
        if (instance.loggingOn)
            DirectLog(instance, LogCategory_error, "fmi2DoStep communicationStepSize must be > 0");
        return fmi2Error;
    }
    // An endless step would never run out of due periodic tasks.
    if (!std::isfinite(communicationStepSize) || !std::isfinite(currentCommunicationPoint)) {
        if (instance.loggingOn)
            DirectLog(instance, LogCategory_error,
                      "fmi2DoStep currentCommunicationPoint and communicationStepSize must be finite");
        return fmi2Error;
    }
    if (instance.terminated) return RefuseAfterTerminate(instance, "fmi2DoStep");
    instance.currentTime = currentCommunicationPoint;
    instance.stepSize = communicationStepSize;
    NotifyPreDoStep(instance);
    RunStepTasks(instance, currentCommunicationPoint, communicationStepSize);
    AdvancePellan(currentCommunicationPoint, communicationStepSize);
    NotifyPostDoStep(instance);
    return fmi2OK;
}

fmi2Status Reset(FmiInternalState& instance) {
    RunTerminationTasks(instance);
    StopXcpSlave(instance);
    return fmi2OK;
}

fmi2Status Terminate(FmiInternalState& instance) {
    if (instance.terminated) return RefuseAfterTerminate(instance, "fmi2Terminate");
    // Marked first: should a step below fail, the instance still counts as
    // terminated, and fmi2FreeInstance gives back what is left.
    instance.terminated = true;
    NotifyTerminate(instance);
    RunTerminationTasks(instance);
    StopXcpSlave(instance);
    SaveEepromFiles(instance, instance.resourceDirectory, instance.instanceName);
    FreePluginModules(instance);
    UnloadSymbolLibrary(instance);
    return fmi2OK;
}

void FreeInstance(FmiInternalState* instance) {
    if (instance == nullptr) return;
    if (instance->loggingOn) DirectLog(*instance, LogCategory_log, "fmi2FreeInstance");
    // A master may free an instance it never terminated; its modules must
    // not outlive it.
    try {
        ReleaseRunTimeModules(*instance);
    } catch (const std::exception& failure) {
        DirectLog(*instance, LogCategory_error, "fmi2FreeInstance failed: %s", failure.what());
    } catch (...) {
        DirectLog(*instance, LogCategory_error, "fmi2FreeInstance failed: unknown exception");
    }
    DestroyInstance(instance);
}
