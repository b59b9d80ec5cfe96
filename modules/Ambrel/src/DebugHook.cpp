#include "DebugHook.h"

#include "DirectLog.h"
#include "ResourcesFile.h"
#include "platform/Debugger.h"

bool ReadDebugHookSetting(const std::string& folder, const fmi2CallbackFunctions* functions,
                          fmi2String instanceName) {
    std::ifstream in = OpenResourcesFileQuietly(folder);
    if (!in.is_open()) {
        DirectLog(functions, instanceName, LogCategory_error,
                  "Cannot open file 'resources/resources.txt'");
        return false;
    }
    bool enabled = false;
    bool first = true;
    ReadSectionEntries(in, "vEcuDll", [&](std::string& entry, int32_t lineNumber) {
        if (entry.empty()) {
            // An empty first entry is the library path's, and its reader
            // reports it.
            if (!first)
                DirectLog(functions, instanceName, LogCategory_error,
                          "'resources/resources.txt' line %d is empty! Dll name expected.",
                          static_cast<int>(lineNumber));
            return false;
        }
        first = false;
        enabled = entry == "DebugHookEnabled";
        return !enabled;
    });
    return enabled;
}

void WaitForDebugger(const std::function<bool()>& isDebuggerPresent,
                     const std::function<void(unsigned)>& sleepMilliseconds) {
    while (!isDebuggerPresent()) sleepMilliseconds(100);
}

void WaitForDebugger() { WaitForDebugger(platform::IsDebuggerPresent, platform::SleepMilliseconds); }
