#include "InstantiateArguments.h"

#include "DirectLog.h"

namespace {

bool IsMissing(fmi2String text) { return text == nullptr || text[0] == '\0'; }

}  // namespace

InstantiateCheckResult CheckInstantiateArguments(const fmi2CallbackFunctions* functions,
                                                 fmi2Type fmuType, fmi2String instanceName,
                                                 fmi2String fmuGUID) {
    if (functions == nullptr || functions->logger == nullptr) return InstantiateCheck_noLogger;
    // Only co-simulation is offered: a master that asks for another type
    // would drive the FMU through functions it does not have.
    const bool notCoSimulation = fmuType != fmi2CoSimulation;
    if (notCoSimulation)
        DirectLog(functions, instanceName, LogCategory_error,
                  "fmi2Instantiate: Only FMU-type Co-Simulation is supported. Type = %d.",
                  static_cast<int>(fmuType));
    if (functions->allocateMemory == nullptr || functions->freeMemory == nullptr) {
        DirectLog(functions, instanceName, LogCategory_error,
                  "fmi2Instantiate: Missing callback function.");
        return InstantiateCheck_missingCallback;
    }
    if (IsMissing(instanceName)) {
        DirectLog(functions, instanceName, LogCategory_error,
                  "fmi2Instantiate: Missing instance name");
        return InstantiateCheck_missingInstanceName;
    }
    if (IsMissing(fmuGUID)) {
        DirectLog(functions, instanceName, LogCategory_error, "fmi2Instantiate: Missing guid");
        return InstantiateCheck_missingGuid;
    }
    return notCoSimulation ? InstantiateCheck_notCoSimulation : InstantiateCheck_ok;
}
