#include "Eeprom.h"

#include "FmiInternalState.h"

void ReleaseEepromFiles(FmiInternalState& instance) { instance.eepromFiles.clear(); }

std::vector<std::string> ConfiguredEepromPaths(const FmiInternalState& instance, const std::string& folder) {
    std::vector<std::string> paths;
    for (const EepromFile& file : instance.eepromFiles) {
        paths.push_back(folder + file.fileName);
        if (!file.syncFilePath.empty()) paths.push_back(file.syncFilePath);
    }
    return paths;
}
