#ifndef AMBREL_FMI_INTERNAL_STATE_H
#define AMBREL_FMI_INTERNAL_STATE_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CoSimulationState.h"
#include "EepromFile.h"
#include "InstantiateArguments.h"
#include "Plugin.h"
#include "QorvCallbacks.h"
#include "RedirectTable.h"
#include "ScalingRecord.h"
#include "SymbolAccess.h"
#include "SymbolRecord.h"
#include "Task.h"
#include "VariableScalings.h"
#include "fmi2/fmi2FunctionTypes.h"
#include "platform/Module.h"

// Status and category pairs of log messages.
enum LogCategory : uint32_t {
    LogCategory_log = fmi2OK,
    LogCategory_warning = fmi2Warning,
    LogCategory_error = fmi2Error,
};

// The part of the instance record that feature code works on.
class CommonFmiInternalState {
public:
    std::string instanceName;
    bool loggingOn = false;
    std::string resourceDirectory;
    std::vector<SymbolRecord> memoryRanges;
    std::vector<std::string> xcpConfigLines;
    std::unique_ptr<RedirectTable> redirectTable;
    std::vector<std::string> initialDataEntries;
    std::vector<EepromFile> eepromFiles;
    std::map<uint64_t, ScalingRecord> scalings;
    TaskList tasks;
    double currentTime = 0.0;
    double stepSize = 0.0;
    // The startTime of fmi2SetupExperiment: the origin of the schedule.
    double startTime = 0.0;
    platform::ModuleHandle vEcuModule = nullptr;
    std::map<std::string, platform::ModuleHandle> pluginModules;
    // Owned here; dropped when the libraries are unloaded (see
    // FreePluginModules), so none outlives its library.
    std::multimap<int32_t, std::unique_ptr<Plugin>> plugins;
    uint32_t bitfieldPackingOrder = BitfieldPackingOrder_RightToLeft;

    // Formats the message (at most 4095 characters) and hands it to the
    // master's logger, whatever the logging flag says.
    virtual void Log(const std::string& instanceName, uint32_t status, const char* category,
                     const char* format, ...) __attribute__((format(printf, 5, 6))) = 0;

protected:
    CommonFmiInternalState() = default;
    ~CommonFmiInternalState() = default;
};

// The instance record behind fmi2Component.
class FmiInternalState final : public CommonFmiInternalState {
public:
    std::string fmuGuid;
    uint32_t fmuType = 0;
    const fmi2CallbackFunctions* callbackFunctions = nullptr;
    fmi2ComponentEnvironment componentEnvironment = nullptr;
    std::vector<SymbolAccessPtr> variables;
    SymbolAccessPtr nullAccess;
    std::vector<std::string> variableNames;
    // The resources.txt line of each entry of variableNames, for messages.
    std::vector<int32_t> variableLines;
    std::unique_ptr<QorvCallbacks1> pluginCallbacks;
    // Where the master's calls have brought the instance.
    CoSimulationState state = CoSimulationState::instantiated;
    // The scaling of each variable, resolved from scalings once rather than
    // searched on every access.
    VariableScalings variableScalings;
    // What the instance was built from; fmi2Reset builds it again in place.
    InstantiationArguments instantiation;
    // Number of messages of status fmi2Error sent through Log, so that a
    // failing step can tell whether it has said why.
    uint32_t errorsLogged = 0;

    void Log(const std::string& instanceName, uint32_t status, const char* category,
             const char* format, ...) override __attribute__((format(printf, 5, 6)));
};

// The load address of the instance's vECU library; 0 while none is loaded,
// so that addresses are then taken as absolute.
uint64_t VecuModuleBase(const CommonFmiInternalState& instance);

// The instance of the last fmi2Instantiate (null when it failed); plug-in
// callbacks work on it.
extern FmiInternalState* currentInstance;

#endif
