#ifndef AMBREL_EEPROM_H
#define AMBREL_EEPROM_H

#include <cstdint>
#include <string>

class FmiInternalState;

// Collects the EEPROM images of the Eeprom section; 0.
int32_t ReadEepromSection(FmiInternalState& instance, const std::string& folder,
                          const std::string& instanceName);

// Copies every EEPROM image into ECU memory; 0 on success.
uint32_t LoadEepromFiles(FmiInternalState& instance, const std::string& folder,
                         const std::string& instanceName);

// Writes the EEPROM ranges back to their files and sync files.
uint32_t SaveEepromFiles(FmiInternalState& instance, const std::string& folder,
                         const std::string& instanceName);

// Drops the instance's EEPROM images.
void ReleaseEepromFiles(FmiInternalState& instance);

#endif
