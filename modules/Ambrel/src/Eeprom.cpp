#include "Eeprom.h"

#include "FmiInternalState.h"

void ReleaseEepromFiles(FmiInternalState& instance) { instance.eepromFiles.clear(); }
