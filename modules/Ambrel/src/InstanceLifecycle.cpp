#include "InstanceLifecycle.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <exception>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "CaughtFailure.h"
#include "CoSimulationState.h"
#include "DebugHook.h"
#include "DirectLog.h"
#include "ExportGuard.h"
#include "Eeprom.h"
#include "InitialData.h"
#include "InstanceCreation.h"
#include "InstantiateArguments.h"
#include "LiveInstance.h"
#include "PluginLoader.h"
#include "PluginNotifications.h"
#include "RedirectFunctionCalls.h"
#include "ResourceLocation.h"
#include "ResourcesFileCheck.h"
#include "ScalingFile.h"
#include "SymbolRegistration.h"
#include "Teardown.h"
#include "TaskExecution.h"
#include "TaskTime.h"
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
    platform::ModuleHandle module = virloModule;
    // Forgotten first: the library is gone even when its termination fails.
    virloModule = nullptr;
    UnloadVirlo(module);
}

// A run that fmi2Terminate has not ended ends with fmi2Reset or
// fmi2FreeInstance, for the plug-ins too: one that writes its results at
// termination keeps them, above all those of a run that failed.
void EndRunForPlugins(FmiInternalState& instance, Teardown& teardown) {
    if (instance.state != CoSimulationState::terminated) NotifyTerminate(instance, teardown);
}

// Everything fmi2Terminate unloads. Safe to repeat: what is gone is not
// released twice.
void ReleaseRunTimeModules(FmiInternalState& instance, Teardown& teardown) {
    teardown.Run("stopping the XCP slave", [&] { StopXcpSlave(instance); });
    teardown.Run("unloading the plugins", [&] { FreePluginModules(instance); });
    teardown.Run("unloading the symbol library", [&] { UnloadSymbolLibrary(instance); });
}

// Gives back what the record holds, the record itself staying: patches are
// restored before the vECU library goes. Safe to repeat. True when the vECU
// library has left the process (or none was loaded).
bool ReleaseInstanceRecord(FmiInternalState& instance, Teardown& teardown) {
    instance.memoryRanges.clear();
    instance.variableNames.clear();
    instance.tasks.clear();
    teardown.Run("restoring the redirected functions",
                 [&] { return RestoreRedirects(instance, teardown.function()); });
    instance.pluginCallbacks.reset();
    instance.initialDataEntries.clear();
    ReleaseEepromFiles(instance);
    // The accessors point into the vECU library.
    instance.variables.clear();
    if (instance.vEcuModule == nullptr) return true;
    bool unloaded = false;
    teardown.Run("unloading the vECU library", [&] {
        const std::string path = platform::ModulePath(instance.vEcuModule);
        platform::FreeModule(instance.vEcuModule);
        instance.vEcuModule = nullptr;
        unloaded = !platform::IsModuleLoaded(path);
    });
    return unloaded;
}

// Releases the record and what it holds, the vECU library before the record.
void DestroyInstance(FmiInternalState* instance, Teardown& teardown) {
    ReleaseInstanceRecord(*instance, teardown);
    if (currentInstance == instance) currentInstance = nullptr;
    delete instance;
}

// What a failed or interrupted build has taken, given back; the record
// stays.
void GiveBackFailedBuild(FmiInternalState& instance, Teardown& teardown) {
    ReleaseRunTimeModules(instance, teardown);
    ReleaseInstanceRecord(instance, teardown);
}

// Runs one instantiation step that answers 0 on success. A failure the step
// did not explain itself is explained here, so that a failed instantiation
// always comes with its reason.
template <typename Step>
bool RunStep(FmiInternalState& instance, const char* step, Step run) {
    const uint32_t errorsBefore = instance.errorsLogged;
    const auto result = run();
    if (result == 0) return true;
    if (instance.errorsLogged == errorsBefore)
        instance.Log(instance.instanceName, LogCategory_error, "error", "fmi2Instantiate: %s failed (%lld).",
                     step, static_cast<long long>(result));
    return false;
}

// The instantiation steps after the argument checks, shared by
// fmi2Instantiate (into a new record) and fmi2Reset (into the emptied record
// of the live instance). False when a step failed, after its reason was
// sent; what was taken so far stays for the caller to give back.
bool BuildInstance(FmiInternalState& instance, const InstantiationArguments& arguments) {
    AssignInstanceIdentity(instance, arguments);
    const std::string& folder = arguments.resourceFolder;
    const fmi2CallbackFunctions* functions = arguments.functions;
    const char* name = arguments.instanceName.c_str();

    if (!CheckResourcesFile(folder, functions, name)) return false;
    platform::PutEnvironment("QUORVEL_FMURESOURCES=" + folder);
    if (ReadDebugHookSetting(folder, functions, name)) {
        DirectLog(functions, name, LogCategory_warning, "Debug hook active. Please attach your debugger!");
        WaitForDebugger();
    }
    // An empty library entry has said why; there is no vECU to run.
    const std::optional<std::string> vEcuDllPath = ReadVecuDllPath(folder, functions, name);
    if (!vEcuDllPath) return false;

    currentInstance = &instance;
    if (!RunStep(instance, "Reading resources.txt", [&] { return CreateInstance(instance, *vEcuDllPath) ? 0 : 1; }))
        return false;

    if (VirloLockedByAnotherThread()) {
        instance.Log(instance.instanceName, LogCategory_error, "error",
                     "fmi2Instantiate: The symbol library is still locked by the thread that instantiated "
                     "the previous instance, which was terminated on another thread; instantiating here "
                     "would wait for ever.");
        return false;
    }
    std::string virloFailure;
    virloModule = LoadVirlo(folder, folder, &virloFailure);
    // Without the library only records written as text resolve.
    if (!virloFailure.empty())
        instance.Log(instance.instanceName, LogCategory_warning, "warning", "%s", virloFailure.c_str());

    RegisterSymbols(instance);
    StartPellan(instance, folder, functions->logger);
    if (const uint32_t error = UnprotectMemoryRanges(instance); error != 0) {
        instance.Log(instance.instanceName, LogCategory_error, "error",
                     "fmi2Instantiate: Cannot make the memory of the variables writable: %s",
                     std::strerror(static_cast<int>(error)));
        return false;
    }
    if (!RunStep(instance, "Creating the variable accessors",
                 [&] { return CreateSymbolAccessors(instance, instance.instanceName); }) ||
        !RunStep(instance, "Writing the initial data",
                 [&] { return ApplyInitialData(instance, folder, instance.instanceName); }) ||
        !RunStep(instance, "Loading the EEPROM images",
                 [&] { return LoadEepromFiles(instance, folder, instance.instanceName); }))
        return false;
    ReadScalingFile(instance, folder, instance.instanceName);
    instance.variableScalings.Resolve(instance.variables, instance.scalings);
    InstallRedirects(instance);
    if (instance.loggingOn)
        DirectLog(instance, LogCategory_log, "fmi2InstantiateSlave: GUID = %s", arguments.fmuGUID.c_str());
    LoadPlugins(instance, folder);
    NotifyInstantiate(instance);
    return true;
}

// Holds the process's one instance place while fmi2Instantiate runs and
// gives it back unless the instance came to life.
class LiveInstanceClaim {
public:
    LiveInstanceClaim() : held_(ClaimLiveInstance()) {}
    ~LiveInstanceClaim() {
        if (held_) ReleaseLiveInstance();
    }
    LiveInstanceClaim(const LiveInstanceClaim&) = delete;
    LiveInstanceClaim& operator=(const LiveInstanceClaim&) = delete;

    bool held() const { return held_; }
    // The instance is alive: the place stays taken until fmi2FreeInstance.
    void Keep() { held_ = false; }

private:
    bool held_;
};

// True when a step from start continues a simulation that stands at
// standing, both in seconds: equal in whole nanoseconds, as the scheduler
// counts. A master that computes its communication points another way than
// we do (start + n * h rather than a running sum) differs from our sum by a
// rounding of the double itself, which late in a long run exceeds a
// nanosecond; that is no skipped or repeated time.
bool ContinuesAt(double start, double standing) {
    if (SecondsToTaskTime(start) == SecondsToTaskTime(standing)) return true;
    const double rounding =
        4 * std::numeric_limits<double>::epsilon() * std::max(std::fabs(start), std::fabs(standing));
    return std::fabs(start - standing) <= rounding;
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
    if (!IsLocalResourceLocation(fmuResourceLocation)) {
        DirectLog(functions, instanceName, LogCategory_error,
                  "fmi2Instantiate: The resource location '%s' is not a folder of this machine.",
                  fmuResourceLocation);
        return nullptr;
    }
    // Before anything process-wide is touched.
    LiveInstanceClaim claim;
    if (!claim.held()) {
        DirectLog(functions, instanceName, LogCategory_error,
                  "fmi2Instantiate: Another instance of this FMU is alive in this process; only one "
                  "instance at a time is supported, so fmi2FreeInstance it first.");
        return nullptr;
    }
    std::unique_ptr<FmiInternalState> record(new (std::nothrow) FmiInternalState);
    if (!record) {
        DirectLog(functions, instanceName, LogCategory_error, "fmi2Instantiate: Out of memory.");
        return nullptr;
    }
    const InstantiationArguments arguments{instanceName, fmuType, fmuGUID,
                                           ResourceLocationToPath(fmuResourceLocation), functions,
                                           loggingOn != fmi2False};
    bool built = false;
    const std::optional<std::string> failure = CatchFailure([&] { built = BuildInstance(*record, arguments); });
    if (!built) {
        Teardown teardown(*record, "fmi2Instantiate");
        GiveBackFailedBuild(*record, teardown);
        if (failure) ReportEscapedException(functions, instanceName, "fmi2Instantiate", failure->c_str());
        DestroyInstance(record.release(), teardown);
        return nullptr;
    }
    claim.Keep();
    return record.release();
}

fmi2Status EnterInitializationMode(FmiInternalState& instance) {
    NotifyEnterInit(instance);
    RunEnterInitTasks(instance);
    return fmi2OK;
}

fmi2Status ExitInitializationMode(FmiInternalState& instance) {
    NotifyExitInit(instance);
    RunExitInitTasks(instance);
    return fmi2OK;
}

fmi2Status DoStep(FmiInternalState& instance, double currentCommunicationPoint,
                  double communicationStepSize) {
    // NaN fails this test too: a step must move time forward.
    if (!(communicationStepSize > 0.0)) {
        DirectLog(instance, LogCategory_error, "fmi2DoStep communicationStepSize must be > 0");
        return fmi2Error;
    }
    const double stepEnd = currentCommunicationPoint + communicationStepSize;
    // A time outside would saturate, and a step up to it would run every
    // activation in between; infinities and NaN fall outside as well.
    if (!IsWithinTaskTimeRange(currentCommunicationPoint) || !IsWithinTaskTimeRange(stepEnd)) {
        DirectLog(instance, LogCategory_error,
                  "fmi2DoStep: The step from %g s to %g s lies outside the scheduler's time range "
                  "(0 s to %g s).",
                  currentCommunicationPoint, stepEnd, kLatestTaskTime / 1e9);
        return fmi2Error;
    }
    // Compared as the scheduler sees times, in whole nanoseconds: a step
    // that skips time would run every missed activation at once, one that
    // goes back would run nothing.
    const double stepStart = SecondsToTaskTime(currentCommunicationPoint);
    const double standing = SecondsToTaskTime(instance.currentTime + instance.stepSize);
    if (!ContinuesAt(currentCommunicationPoint, instance.currentTime + instance.stepSize)) {
        DirectLog(instance, LogCategory_error,
                  "fmi2DoStep: The step starts at %.9f s, but the simulation stands at %.9f s; each "
                  "step must begin where the previous one ended.",
                  stepStart / 1e9, standing / 1e9);
        return fmi2Error;
    }
    instance.currentTime = currentCommunicationPoint;
    instance.stepSize = communicationStepSize;
    NotifyPreDoStep(instance);
    RunStepTasks(instance, currentCommunicationPoint, communicationStepSize);
    AdvancePellan(currentCommunicationPoint, communicationStepSize);
    NotifyPostDoStep(instance);
    return fmi2OK;
}

fmi2Status Reset(FmiInternalState& instance) {
    Teardown teardown(instance, "fmi2Reset");
    EndRunForPlugins(instance, teardown);
    teardown.Run("running the terminate tasks", [&] { RunTerminationTasks(instance); });
    const InstantiationArguments arguments = instance.instantiation;
    // Whatever fails from here on leaves the instance to fmi2FreeInstance.
    instance.state = CoSimulationState::unusable;
    // As fmi2Terminate and fmi2FreeInstance release, but no EEPROM image is
    // written back: a reset ends no simulation.
    ReleaseRunTimeModules(instance, teardown);
    const std::string vEcuLibrary = platform::ModulePath(instance.vEcuModule);
    const bool vEcuUnloaded = ReleaseInstanceRecord(instance, teardown);

    // A fresh record in the same place: the master keeps its pointer, and
    // nothing of the previous run (time, schedule, scalings, settings)
    // survives. Unusable until it is built.
    instance.~FmiInternalState();
    new (&instance) FmiInternalState();
    AssignInstanceIdentity(instance, arguments);
    instance.state = CoSimulationState::unusable;
    currentInstance = &instance;

    if (!vEcuUnloaded) {
        DirectLog(instance, LogCategory_error,
                  "fmi2Reset: The vECU library '%s' cannot be unloaded (another reference holds it, or "
                  "it is marked not to unload), so its globals cannot start fresh.",
                  vEcuLibrary.c_str());
        return fmi2Error;
    }
    bool built = false;
    const std::optional<std::string> failure = CatchFailure([&] { built = BuildInstance(instance, arguments); });
    if (!built) {
        GiveBackFailedBuild(instance, teardown);
        if (failure) DirectLog(instance, LogCategory_error, "fmi2Reset failed: %s", failure->c_str());
        return fmi2Error;
    }
    instance.state = CoSimulationState::instantiated;
    // The old run ended with a failure, which has been told with its step;
    // the new instance works, and fmi2Error would make the master give it up.
    return teardown.failed() ? fmi2Warning : fmi2OK;
}

fmi2Status Terminate(FmiInternalState& instance) {
    Teardown teardown(instance, "fmi2Terminate");
    NotifyTerminate(instance, teardown);
    teardown.Run("running the terminate tasks", [&] { RunTerminationTasks(instance); });
    teardown.Run("stopping the XCP slave", [&] { StopXcpSlave(instance); });
    // A failed write-back has said why; the master must not take the ECU's
    // EEPROM for saved.
    teardown.Run("writing the EEPROM images back", [&] {
        return SaveEepromFiles(instance, instance.resourceDirectory, instance.instanceName) == 0;
    });
    teardown.Run("unloading the plugins", [&] { FreePluginModules(instance); });
    teardown.Run("unloading the symbol library", [&] { UnloadSymbolLibrary(instance); });
    return teardown.status();
}

void FreeInstance(FmiInternalState* instance) {
    if (instance == nullptr) return;
    if (instance->loggingOn) DirectLog(*instance, LogCategory_log, "fmi2FreeInstance");
    // A master may free an instance it never terminated; its modules must
    // not outlive it.
    Teardown teardown(*instance, "fmi2FreeInstance");
    EndRunForPlugins(*instance, teardown);
    ReleaseRunTimeModules(*instance, teardown);
    DestroyInstance(instance, teardown);
    ReleaseLiveInstance();
}
