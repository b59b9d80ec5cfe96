#include "VecuDllPath.h"

#include "DirectLog.h"
#include "ResourcesFile.h"

std::optional<std::string> ReadVecuDllPath(const std::string& folder, const fmi2CallbackFunctions* functions,
                                           fmi2String instanceName) {
    std::ifstream in = OpenResourcesFileQuietly(folder);
    if (!in.is_open()) {
        DirectLog(functions, instanceName, LogCategory_error,
                  "Cannot open file 'resources/resources.txt'");
        return std::string();
    }
    std::optional<std::string> path = std::string();
    ReadSectionEntries(in, "vEcuDll", [&](std::string& entry, int32_t lineNumber) {
        if (entry.empty()) {
            DirectLog(functions, instanceName, LogCategory_error,
                      "'resources/resources.txt' line %d is empty! Dll name expected.",
                      static_cast<int>(lineNumber));
            path.reset();
        } else {
            path = folder + entry;
        }
        return false;  // only the first entry names the library
    });
    return path;
}
