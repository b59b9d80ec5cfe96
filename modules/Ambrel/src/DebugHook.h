#ifndef AMBREL_DEBUG_HOOK_H
#define AMBREL_DEBUG_HOOK_H

#include <functional>
#include <string>

#include "fmi2/fmi2FunctionTypes.h"

// True when an entry of the vEcuDll section is exactly "DebugHookEnabled".
// Runs before the instance exists, so it logs through the master's
// callbacks directly.
bool ReadDebugHookSetting(const std::string& folder, const fmi2CallbackFunctions* functions,
                          fmi2String instanceName);

// Blocks until a debugger is attached, asking every 100 ms; there is no
// time limit, as the hook is switched on only to debug the vECU's start.
void WaitForDebugger(const std::function<bool()>& isDebuggerPresent,
                     const std::function<void(unsigned)>& sleepMilliseconds);
void WaitForDebugger();

#endif
