#ifndef AMBREL_INSTANTIATE_ARGUMENTS_H
#define AMBREL_INSTANTIATE_ARGUMENTS_H

#include <cstdint>
#include <string>

#include "fmi2/fmi2FunctionTypes.h"

// What fmi2Instantiate was given, once checked, with the resource location
// already turned into the resource folder. fmi2Reset builds the instance
// again from it.
struct InstantiationArguments {
    std::string instanceName;
    fmi2Type fmuType = fmi2CoSimulation;
    std::string fmuGUID;
    std::string resourceFolder;
    const fmi2CallbackFunctions* functions = nullptr;
    bool loggingOn = false;
};

enum InstantiateCheckResult : int32_t {
    InstantiateCheck_ok = 0,
    InstantiateCheck_noLogger = 1,
    InstantiateCheck_missingCallback = 2,
    InstantiateCheck_missingInstanceName = 3,
    InstantiateCheck_missingGuid = 4,
    InstantiateCheck_notCoSimulation = 5,
};

// Checks the arguments of fmi2Instantiate and reports each problem to the
// master's logger. A missing callback record counts as a missing logger:
// there is nobody to tell. Another FMU type than co-simulation is reported
// first and fails only when nothing else does.
InstantiateCheckResult CheckInstantiateArguments(const fmi2CallbackFunctions* functions,
                                                 fmi2Type fmuType, fmi2String instanceName,
                                                 fmi2String fmuGUID);

#endif
