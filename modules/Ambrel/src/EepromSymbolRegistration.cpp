// The EEPROM pass of symbol registration: each range of each image file
// gets the absolute address and the size of the variable it names.

#include "EepromFile.h"
#include "FmiInternalState.h"
#include "SymbolRecordText.h"
#include "SymbolRegistration.h"
#include "VirloBinding.h"

namespace {

// False when the name is not found.
bool ResolveRange(const std::string& name, SymbolRecord& location) {
    if (IsSymbolRecordText(name)) {
        location = ReadSymbolRangeText(name);
        return true;
    }
    const SymbolRecord* found = CallGetVirlo(name);
    if (found == nullptr) return false;
    location = *found;  // the library's record lives only until its cache is cleared
    return true;
}

}  // namespace

void RegisterEepromSymbols(FmiInternalState& instance) {
    const uint64_t base = VecuModuleBase(instance);
    for (EepromFile& file : instance.eepromFiles) {
        for (EepromRange& range : file.ranges) {
            if (!ResolveRange(range.symbolName, range.location)) {
                // The range keeps its empty location: nothing is loaded into
                // it, and its line in the file stays as it is.
                instance.Log(instance.instanceName, LogCategory_warning, "warning",
                             "fmi2Instantiate: EEPROM range '%s' of '%s' names no known symbol; its "
                             "data line is kept as it is.",
                             range.symbolName.c_str(), file.fileName.c_str());
                continue;
            }
            range.location.address += base;
        }
    }
}
