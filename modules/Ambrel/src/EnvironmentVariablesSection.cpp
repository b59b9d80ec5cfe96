#include "EnvironmentVariablesSection.h"

#include <set>

#include "FmiInternalState.h"
#include "ResourcesFile.h"
#include "platform/Environment.h"

namespace {

std::string Expand(const std::string& text, const EnvironmentLookup& lookup,
                   std::set<std::string>& expanding) {
    std::string result;
    std::string::size_type position = 0;
    while (position < text.size()) {
        const std::string::size_type open = text.find("${", position);
        const std::string::size_type close =
            open == std::string::npos ? std::string::npos : text.find('}', open + 2);
        if (close == std::string::npos) break;
        result.append(text, position, open - position);
        const std::string name = text.substr(open + 2, close - open - 2);
        if (expanding.count(name) != 0) {
            result.append(text, open, close + 1 - open);
        } else if (const char* value = lookup(name.c_str())) {
            expanding.insert(name);
            result += Expand(value, lookup, expanding);
            expanding.erase(name);
        }
        position = close + 1;
    }
    if (position < text.size()) result.append(text, position, std::string::npos);
    return result;
}

}  // namespace

std::string ExpandEnvironmentReferences(const std::string& text, const EnvironmentLookup& lookup) {
    std::set<std::string> expanding;
    return Expand(text, lookup, expanding);
}

int32_t ReadEnvironmentVariablesSection(FmiInternalState& instance, const std::string& folder,
                                        const std::string& instanceName) {
    std::ifstream in = OpenResourcesFile(instance, folder, instanceName);
    if (!in.is_open()) return 0;
    ReadSectionEntries(in, "EnvironmentVariables", [&](std::string& entry, int32_t lineNumber) {
        if (entry.empty())
            instance.Log(instanceName, LogCategory_warning, "warning",
                         "'resources/resources.txt' line %d is empty! Setting of environment "
                         "variables expected.",
                         static_cast<int>(lineNumber));
        platform::PutEnvironment(ExpandEnvironmentReferences(entry, platform::GetEnvironment));
        return true;
    });
    return 0;
}
