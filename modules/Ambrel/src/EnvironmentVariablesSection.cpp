#include "EnvironmentVariablesSection.h"

#include <cstring>
#include <set>

#include "FmiInternalState.h"
#include "ResourcesFile.h"
#include "platform/Environment.h"

namespace {

// One expansion: the variables being expanded, and how many characters the
// values put in for references may still add.
struct Expansion {
    const EnvironmentLookup& lookup;
    std::set<std::string> expanding;
    std::size_t budget;
};

// False when the budget runs out; result is then incomplete.
bool Expand(const std::string& text, Expansion& expansion, std::string& result) {
    std::string::size_type position = 0;
    while (position < text.size()) {
        const std::string::size_type open = text.find("${", position);
        const std::string::size_type close =
            open == std::string::npos ? std::string::npos : text.find('}', open + 2);
        if (close == std::string::npos) break;
        result.append(text, position, open - position);
        const std::string name = text.substr(open + 2, close - open - 2);
        if (expansion.expanding.count(name) != 0) {
            result.append(text, open, close + 1 - open);
        } else if (const char* value = expansion.lookup(name.c_str())) {
            const std::size_t length = std::strlen(value);
            if (length > expansion.budget) return false;
            expansion.budget -= length;
            expansion.expanding.insert(name);
            if (!Expand(value, expansion, result)) return false;
            expansion.expanding.erase(name);
        }
        position = close + 1;
    }
    if (position < text.size()) result.append(text, position, std::string::npos);
    return true;
}

}  // namespace

std::optional<std::string> ExpandEnvironmentReferences(const std::string& text,
                                                       const EnvironmentLookup& lookup) {
    // The result never holds more than the text and the values put in, so
    // bounding those bounds the result, its memory and the time taken.
    if (text.size() > kMaxExpandedSettingLength) return std::nullopt;
    Expansion expansion{lookup, {}, kMaxExpandedSettingLength - text.size()};
    std::string result;
    if (!Expand(text, expansion, result)) return std::nullopt;
    return result;
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
        const std::optional<std::string> setting =
            ExpandEnvironmentReferences(entry, platform::GetEnvironment);
        if (setting)
            platform::PutEnvironment(*setting);
        else
            instance.Log(instanceName, LogCategory_warning, "warning",
                         "'resources/resources.txt' line %d: the setting expands to more than %d "
                         "characters and is not applied.",
                         static_cast<int>(lineNumber), static_cast<int>(kMaxExpandedSettingLength));
        return true;
    });
    return 0;
}
