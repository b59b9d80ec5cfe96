#ifndef AMBREL_VECU_DLL_PATH_H
#define AMBREL_VECU_DLL_PATH_H

#include <optional>
#include <string>

#include "fmi2/fmi2FunctionTypes.h"

// The path of the vECU library: the resource folder followed by the first
// entry of the vEcuDll section as it stands; empty when there is none.
// Nothing when that entry is empty, which is reported with its line: the
// configuration then names no library although it means to. Runs before the
// instance exists and logs through the master's callbacks.
std::optional<std::string> ReadVecuDllPath(const std::string& folder, const fmi2CallbackFunctions* functions,
                                           fmi2String instanceName);

#endif
