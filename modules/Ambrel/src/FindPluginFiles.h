#ifndef AMBREL_FIND_PLUGIN_FILES_H
#define AMBREL_FIND_PLUGIN_FILES_H

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "platform/Module.h"

// Told, as one text, why an entry of the folder that may have been a plug-in
// was passed over.
using PluginSearchWarning = std::function<void(const std::string& text)>;

// Loads every regular file (after following links) directly in the folder
// whose whole name matches "plugin.*so", case-sensitively. The result maps
// each file name to its library, in byte order of the names. An entry whose
// status cannot be taken and a file that does not load are passed over
// alone, each with a warning. A folder that cannot be listed raises
// std::filesystem::filesystem_error before anything is loaded.
std::map<std::string, platform::ModuleHandle> FindPluginFiles(const std::filesystem::path& folder,
                                                              const PluginSearchWarning& warn);

#endif
