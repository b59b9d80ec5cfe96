#include "BitfieldPackingOrderSection.h"

#include <sstream>

#include "FmiInternalState.h"
#include "ResourcesFile.h"

int32_t ReadBitfieldPackingOrderSection(FmiInternalState& instance, const std::string& folder,
                                        const std::string& instanceName) {
    std::ifstream in = OpenResourcesFile(instance, folder, instanceName);
    if (!in.is_open()) return 0;
    ReadSectionEntries(in, "bitfield_packing_order", [&](std::string& entry, int32_t lineNumber) {
        if (entry.empty())
            instance.Log(instanceName, LogCategory_warning, "warning",
                         "'resources/resources.txt' line %d is empty! File name(s) expected.",
                         static_cast<int>(lineNumber));
        std::istringstream words(entry);
        std::string word;
        words >> word;
        if (word == "left_to_right") instance.bitfieldPackingOrder = BitfieldPackingOrder_LeftToRight;
        return true;
    });
    return 0;
}
