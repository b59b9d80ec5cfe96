#include "FindPluginFiles.h"

#include <regex>
#include <vector>

namespace {

// A plug-in library's file name, matched as a whole: "plugin", anything,
// and the platform's library suffix without its dot.
constexpr const char* kPluginFilePattern = "plugin.*so";

// The files of the folder that name plug-ins, in the listing's order.
// Listing first means that a listing that fails half-way has loaded
// nothing that would have to be given back.
std::vector<std::filesystem::path> PluginFiles(const std::filesystem::path& folder) {
    const std::regex pattern(kPluginFilePattern, std::regex::ECMAScript);
    std::vector<std::filesystem::path> files;
    for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        if (std::regex_match(entry.path().filename().string(), pattern)) files.push_back(entry.path());
    }
    return files;
}

}  // namespace

std::map<std::string, platform::ModuleHandle> FindPluginFiles(const std::filesystem::path& folder) {
    std::map<std::string, platform::ModuleHandle> modules;
    for (const std::filesystem::path& file : PluginFiles(folder)) {
        platform::ModuleHandle module = platform::LoadModule(file.string());
        if (module != nullptr) modules.emplace(file.filename().string(), module);
    }
    return modules;
}
