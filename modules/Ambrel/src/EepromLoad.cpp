// Loading the EEPROM images into ECU memory at instantiation: the n-th data
// line of a file (comments aside) belongs to the file's n-th range.

#include <cstring>
#include <sstream>

#include "Eeprom.h"
#include "EepromFile.h"
#include "EepromImageLine.h"
#include "FileErrorText.h"
#include "FmiInternalState.h"
#include "platform/FileContent.h"
#include "platform/MemoryProtection.h"
#include "platform/TextLine.h"

namespace {

// The next line that is no comment; false at the end of the file.
bool NextDataLine(std::istream& lines, std::string& line) {
    while (platform::GetTextLine(lines, line))
        if (!IsEepromComment(line)) return true;
    return false;
}

// Stores the file's lines into its ranges; 0, or the errno of the last range
// whose memory could not be opened.
uint32_t LoadRanges(FmiInternalState& instance, const std::string& instanceName, EepromFile& file,
                    std::istream& lines) {
    uint32_t result = 0;
    std::string line;
    for (EepromRange& range : file.ranges) {
        // A file with fewer lines than ranges leaves the later ranges as they are.
        if (!NextDataLine(lines, line)) break;
        SymbolRecord& location = range.location;
        if (location.size != 0) {
            const int error = platform::SetMemoryProtection(location.address, location.size,
                                                            platform::ProtectionReadWriteExecute);
            if (error != 0) {
                // Storing into memory that could not be opened would crash.
                instance.Log(instanceName, LogCategory_error, "error",
                             "fmi2Instantiate: Cannot make EEPROM range '%s' of '%s' writable: %s",
                             range.symbolName.c_str(), file.fileName.c_str(), std::strerror(error));
                result = static_cast<uint32_t>(error);
                continue;
            }
        }
        location.size = StoreEepromBytes(line, location.address, location.size);
    }
    return result;
}

}  // namespace

uint32_t LoadEepromFiles(FmiInternalState& instance, const std::string& folder,
                         const std::string& instanceName) {
    uint32_t result = 0;
    for (EepromFile& file : instance.eepromFiles) {
        const std::string path = folder + file.fileName;
        std::string content;
        if (const int error = platform::ReadFileContent(path, content)) {
            instance.Log(instanceName, LogCategory_error, "error",
                         "fmi2Instantiate: Cannot read the EEPROM file %s",
                         FileErrorText(path, error).c_str());
            return static_cast<uint32_t>(error);
        }
        std::istringstream lines(content);
        if (const uint32_t error = LoadRanges(instance, instanceName, file, lines)) result = error;
    }
    return result;
}
