#ifndef DATASET_A2L_PATCH_FILE_H
#define DATASET_A2L_PATCH_FILE_H

#include <filesystem>
#include <string>

// The A2L file that the workspace's build configuration (vEcuConf.json)
// names under "patch_a2l_file" / "filename", inside the workspace's
// build/fmu/resources folder; an empty path when none is configured or the
// file can't be opened. Malformed JSON raises the JSON library's exception.
std::filesystem::path GetA2lPatchFile(std::string configPath);

#endif
