#ifndef DATASET_WORKSPACE_FOLDER_H
#define DATASET_WORKSPACE_FOLDER_H

#include <filesystem>

// Environment variables naming the converter's installation and the build
// workspace whose files the converter is given.
inline constexpr const char* kQuorvelHome = "QUORVEL_HOME";
inline constexpr const char* kQuorvelWorkspace = "QUORVEL_WORKSPACE";

// The build workspace as QUORVEL_WORKSPACE names it now (empty when unset).
std::filesystem::path WorkspaceFolder();

#endif
