#ifndef AMBREL_EEPROM_H
#define AMBREL_EEPROM_H

// EEPROM images: read into ECU memory at instantiation, written back at
// termination, and carried to the next simulation through sync files.

#include <cstdint>
#include <string>
#include <vector>

class FmiInternalState;

// Collects the EEPROM files and ranges of the Eeprom section; a file's
// non-empty sync file replaces its copy in the resource folder. 0.
int32_t ReadEepromSection(FmiInternalState& instance, const std::string& folder,
                          const std::string& instanceName);

// Copies every EEPROM image into ECU memory and cuts each range to the bytes
// its line holds; 0, or the errno of the last failure (each one logged).
uint32_t LoadEepromFiles(FmiInternalState& instance, const std::string& folder,
                         const std::string& instanceName);

// Writes the ranges' bytes back into their image files, then copies each
// image to its sync file; 0, or the errno of the last failure (each one
// logged). A file that cannot be written keeps its former content whole.
uint32_t SaveEepromFiles(FmiInternalState& instance, const std::string& folder,
                         const std::string& instanceName);

// Every image (in the folder) and sync file the Eeprom section names: files
// a replacement of one of them must never take for a leftover of its own.
std::vector<std::string> ConfiguredEepromPaths(const FmiInternalState& instance, const std::string& folder);

// Drops the instance's EEPROM images.
void ReleaseEepromFiles(FmiInternalState& instance);

#endif
