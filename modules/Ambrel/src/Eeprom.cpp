#include "Eeprom.h"

#include "FmiInternalState.h"

// EEPROM images are not offered yet: there is nothing to read or write.
int32_t ReadEepromSection(FmiInternalState&, const std::string&, const std::string&) { return 0; }

uint32_t LoadEepromFiles(FmiInternalState&, const std::string&, const std::string&) { return 0; }

uint32_t SaveEepromFiles(FmiInternalState&, const std::string&, const std::string&) { return 0; }

void ReleaseEepromFiles(FmiInternalState&) {}
