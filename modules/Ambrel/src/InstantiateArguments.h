#ifndef AMBREL_INSTANTIATE_ARGUMENTS_H
#define AMBREL_INSTANTIATE_ARGUMENTS_H

#include <cstdint>

#include "fmi2/fmi2FunctionTypes.h"

enum InstantiateCheckResult : int32_t {
    InstantiateCheck_ok = 0,
    InstantiateCheck_noLogger = 1,
    InstantiateCheck_missingCallback = 2,
    InstantiateCheck_missingInstanceName = 3,
    InstantiateCheck_missingGuid = 4,
};

// Checks the arguments of fmi2Instantiate and reports each problem to the
// master's logger. A missing callback record counts as a missing logger:
// there is nobody to tell.
InstantiateCheckResult CheckInstantiateArguments(const fmi2CallbackFunctions* functions,
                                                 fmi2Type fmuType, fmi2String instanceName,
                                                 fmi2String fmuGUID);

#endif
