// Writing the EEPROM ranges back into their image files at termination,
// and the images on to their sync files for the next simulation.

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

class EepromImageWriter {
public:
    EepromImageWriter(FmiInternalState& instance, const std::string& instanceName)
        : instance_(instance), instanceName_(instanceName) {}

    // The file's new content, made from its current lines: each range's
    // line becomes its current bytes; every other line, those after the last
    // range's line too, stays as it is.
    std::string NewContent(const EepromFile& file, std::istream& lines) {
        std::string text;
        std::string line;
        for (const EepromRange& range : file.ranges) {
            if (!CopyCommentsUpToDataLine(lines, line, text)) return text;
            if (IsReadable(range.location)) {
                AppendEepromBytes(text, range.location.address, range.location.size);
                continue;
            }
            // A range whose symbol was not found (reported at instantiation)
            // has nothing to write: its former data stays.
            if (range.location.address != 0)
                instance_.Log(instanceName_, LogCategory_warning, "warning",
                              "fmi2Terminate: EEPROM range '%s' of '%s' lies in memory that cannot be "
                              "read; its line is kept.",
                              range.symbolName.c_str(), file.fileName.c_str());
            AppendLine(text, line);
        }
        while (platform::GetTextLine(lines, line)) AppendLine(text, line);
        return text;
    }

private:
    // Copies comment lines to text until a data line, which is left in line;
    // false when the lines run out first.
    static bool CopyCommentsUpToDataLine(std::istream& lines, std::string& line, std::string& text) {
        while (platform::GetTextLine(lines, line)) {
            if (!IsEepromComment(line)) return true;
            AppendLine(text, line);
        }
        return false;
    }

    static void AppendLine(std::string& text, const std::string& line) {
        text += line;
        text += '\n';
    }

    static bool IsReadable(const SymbolRecord& location) {
        return location.address != 0 && platform::IsMemoryReadable(location.address, location.size);
    }

    FmiInternalState& instance_;
    const std::string& instanceName_;
};

}  // namespace

uint32_t SaveEepromFiles(FmiInternalState& instance, const std::string& folder,
                         const std::string& instanceName) {
    EepromImageWriter writer(instance, instanceName);
    uint32_t result = 0;
    const std::vector<std::string> configured = ConfiguredEepromPaths(instance, folder);
    // A file that fails is reported and the others are still written: each
    // one holds contents of its own.
    for (const EepromFile& file : instance.eepromFiles) {
        const std::string path = folder + file.fileName;
        std::string former;
        if (const int error = platform::ReadFileContent(path, former)) {
            instance.Log(instanceName, LogCategory_error, "error",
                         "fmi2Terminate: Cannot read the EEPROM file %s; its ranges are not written back.",
                         FileErrorText(path, error).c_str());
            result = static_cast<uint32_t>(error);
            continue;
        }
        std::istringstream lines(former);
        const std::string content = writer.NewContent(file, lines);
        if (const int error = platform::ReplaceFileContent(path, content, configured)) {
            instance.Log(instanceName, LogCategory_error, "error",
                         "fmi2Terminate: Cannot write the EEPROM file %s; it keeps its former content.",
                         FileErrorText(path, error).c_str());
            result = static_cast<uint32_t>(error);
            continue;  // the sync file keeps the former content as well
        }
        if (file.syncFilePath.empty()) continue;
        // The sync file, not the image, carries the EEPROM into the next
        // simulation: losing it loses this run's EEPROM.
        if (const int error = platform::ReplaceFileContent(file.syncFilePath, content, configured)) {
            instance.Log(instanceName, LogCategory_error, "error",
                         "fmi2Terminate: Couldn't copy eeprom data to sync file; the next simulation will "
                         "start from its older content.\nerror: %s",
                         FileErrorText(file.syncFilePath, error).c_str());
            result = static_cast<uint32_t>(error);
        }
    }
    return result;
}
