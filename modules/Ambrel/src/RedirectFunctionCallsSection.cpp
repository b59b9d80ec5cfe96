// The RedirectFunctionCalls section of resources.txt: one pair per entry,
// the function to redirect and its replacement, as names or text forms.

#include <memory>
#include <sstream>

#include "FmiInternalState.h"
#include "RedirectFunctionCalls.h"
#include "RedirectTable.h"
#include "ResourcesFile.h"

int32_t ReadRedirectFunctionCallsSection(FmiInternalState& instance, const std::string& folder,
                                         const std::string& instanceName) {
    instance.redirectTable = std::make_unique<RedirectTable>();
    std::ifstream in = OpenResourcesFile(instance, folder, instanceName);
    if (!in.is_open()) return 0;
    ReadSectionEntries(in, "RedirectFunctionCalls", [&](std::string& entry, int32_t lineNumber) {
        if (entry.empty())
            instance.Log(instanceName, LogCategory_warning, "warning",
                         "'resources/resources.txt' line %d is empty! Pair(s) of function names expected.",
                         static_cast<int>(lineNumber));
        // A missing word stays empty; such a pair is never found at installation.
        std::istringstream words(entry);
        std::string from, to;
        words >> from >> to;
        instance.redirectTable->AddPending(std::move(from), std::move(to));
        return true;
    });
    return 0;
}
