#include "EnvironmentVariablesSection.h"

#include <cstring>
#include <set>
#include <vector>

#include "FmiInternalState.h"
#include "ResourcesFile.h"
#include "platform/Environment.h"

namespace {

// A text being expanded: how far it is read, and the variable whose value
// it is (empty for the setting itself).
struct ExpansionFrame {
    std::string text;
    std::string::size_type position;
    std::string name;
};

// Expands the text into result; false, with result incomplete, once the
// values put in for references would pass the budget. Values inside values
// are expanded on a stack of frames rather than by recursion, so a long
// chain of variables that refer to one another cannot exhaust the thread's
// stack.
bool Expand(const std::string& text, const EnvironmentLookup& lookup, std::size_t budget,
            std::string& result) {
    std::set<std::string> expanding;
    std::vector<ExpansionFrame> frames{{text, 0, {}}};
    while (!frames.empty()) {
        ExpansionFrame& frame = frames.back();
        const std::string::size_type open = frame.text.find("${", frame.position);
        const std::string::size_type close =
            open == std::string::npos ? std::string::npos : frame.text.find('}', open + 2);
        if (close == std::string::npos) {
            result.append(frame.text, frame.position, std::string::npos);
            expanding.erase(frame.name);
            frames.pop_back();
            continue;
        }
        result.append(frame.text, frame.position, open - frame.position);
        std::string name = frame.text.substr(open + 2, close - open - 2);
        frame.position = close + 1;
        if (expanding.count(name) != 0) {
            result.append(frame.text, open, close + 1 - open);
        } else if (const char* value = lookup(name.c_str())) {
            const std::size_t length = std::strlen(value);
            if (length > budget) return false;
            budget -= length;
            expanding.insert(name);
            frames.push_back({value, 0, std::move(name)});  // frame is not used past here
        }
    }
    return true;
}

}  // namespace

std::optional<std::string> ExpandEnvironmentReferences(const std::string& text,
                                                       const EnvironmentLookup& lookup) {
    // The result never holds more than the text and the values put in, so
    // bounding those bounds the result, its memory and the time taken.
    if (text.size() > kMaxExpandedSettingLength) return std::nullopt;
    std::string result;
    if (!Expand(text, lookup, kMaxExpandedSettingLength - text.size(), result)) return std::nullopt;
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
