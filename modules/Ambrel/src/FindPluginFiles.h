#ifndef AMBREL_FIND_PLUGIN_FILES_H
#define AMBREL_FIND_PLUGIN_FILES_H

#include <filesystem>
#include <map>
#include <string>

#include "platform/Module.h"

// Loads every regular file (after following links) directly in the folder
// whose whole name matches "plugin.*so", case-sensitively. The result maps
// each file name to its library, in byte order of the names; a file that
// does not load is passed over. A folder that cannot be listed, or an entry
// whose status cannot be taken, raises std::filesystem::filesystem_error
// before anything is loaded.
std::map<std::string, platform::ModuleHandle> FindPluginFiles(const std::filesystem::path& folder);

#endif
