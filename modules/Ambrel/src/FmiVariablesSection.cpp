#include "FmiVariablesSection.h"

#include "FmiInternalState.h"
#include "ResourcesFile.h"

int32_t ReadFmiVariables(FmiInternalState& instance, const std::string& folder,
                         const std::string& instanceName) {
    std::ifstream in = OpenResourcesFile(instance, folder, instanceName);
    if (!in.is_open()) return 0;
    ReadSectionEntries(in, "fmiVariables", [&](std::string& entry, int32_t lineNumber) {
        if (entry.empty())
            instance.Log(instanceName, LogCategory_warning, "warning",
                         "'resources/resources.txt' line %d is empty! Variable name(s) expected.",
                         static_cast<int>(lineNumber));
        // An empty entry still takes its place, so the entries after it keep
        // their positions.
        instance.variableNames.push_back(entry);
        instance.variableLines.push_back(lineNumber);
        return true;
    });
    return 0;
}
