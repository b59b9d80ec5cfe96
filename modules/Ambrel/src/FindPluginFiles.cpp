#include "FindPluginFiles.h"

#include <regex>
#include <system_error>
#include <vector>

namespace {

// A plug-in library's file name, matched as a whole: "plugin", anything,
// and the platform's library suffix without its dot.
constexpr const char* kPluginFilePattern = "plugin.*so";

// True when the entry is a regular file, after following links. An entry
// that vanished since the listing is no file; one whose status cannot be
// taken otherwise (a link that loops, a place without rights) is warned of.
bool IsRegularFile(const std::filesystem::directory_entry& entry, const PluginSearchWarning& warn) {
    std::error_code error;
    const std::filesystem::file_status status = entry.status(error);
    if (error && status.type() != std::filesystem::file_type::not_found)
        warn("Skipping '" + entry.path().filename().string() + "' while looking for plugins: " + error.message());
    return std::filesystem::is_regular_file(status);
}

// The files of the folder that name plug-ins, in the listing's order.
// Listing first means that a listing that fails half-way has loaded
// nothing that would have to be given back.
std::vector<std::filesystem::path> PluginFiles(const std::filesystem::path& folder, const PluginSearchWarning& warn) {
    const std::regex pattern(kPluginFilePattern, std::regex::ECMAScript);
    std::vector<std::filesystem::path> files;
    for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(folder)) {
        // Only a name that could be a plug-in's is worth a look (and a
        // warning); the folder holds the FMU's other files too.
        if (!std::regex_match(entry.path().filename().string(), pattern)) continue;
        if (IsRegularFile(entry, warn)) files.push_back(entry.path());
    }
    return files;
}

}  // namespace

std::map<std::string, platform::ModuleHandle> FindPluginFiles(const std::filesystem::path& folder,
                                                              const PluginSearchWarning& warn) {
    std::map<std::string, platform::ModuleHandle> modules;
    for (const std::filesystem::path& file : PluginFiles(folder, warn)) {
        const std::string name = file.filename().string();
        platform::ModuleHandle module = platform::LoadModule(file.string());
        if (module == nullptr) {
            warn("Skipping plugin " + name + ", which cannot be loaded: " + platform::LastModuleError());
            continue;
        }
        modules.emplace(name, module);
    }
    return modules;
}
