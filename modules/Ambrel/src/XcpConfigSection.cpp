#include "XcpConfigSection.h"

#include "FmiInternalState.h"
#include "ResourcesFile.h"

namespace {

// Entry numbers, counted from 1 after the header.
constexpr int kDaqModeEntry = 4;
constexpr int kDaqListEntry = 6;

// The fourth entry starting with '1' selects dynamic DAQ, where the slave
// builds its DAQ lists at run time and needs none configured.
bool SelectsDynamicDaq(const std::string& entry) { return !entry.empty() && entry[0] == '1'; }

}  // namespace

int32_t ReadXcpConfigSection(FmiInternalState& instance, const std::string& folder,
                             const std::string& instanceName) {
    std::ifstream in = OpenResourcesFile(instance, folder, instanceName);
    if (!in.is_open()) return 0;
    int entryNumber = 0;
    bool dynamicDaq = false;
    int32_t result = 0;
    ReadSectionEntries(in, "XcpConfig", [&](std::string& entry, int32_t lineNumber) {
        ++entryNumber;
        if (entryNumber == kDaqModeEntry) dynamicDaq = SelectsDynamicDaq(entry);
        if (entry.empty()) {
            if (entryNumber != kDaqListEntry) {
                instance.Log(instanceName, LogCategory_error, "error",
                             "'resources/resources.txt' line %d is empty! Xcp configuration data "
                             "expected.",
                             static_cast<int>(lineNumber));
                result = 1;
                return false;
            }
            if (!dynamicDaq) {
                instance.Log(instanceName, LogCategory_error, "error",
                             "'resources/resources.txt' line %d is empty! Xcp DAQ_LIST "
                             "configuration expected for STATIC DAQ configuration.",
                             static_cast<int>(lineNumber));
                result = 1;
                return false;
            }
        }
        instance.xcpConfigLines.push_back(entry);
        return true;
    });
    return result;
}
