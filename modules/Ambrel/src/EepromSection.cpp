// The Eeprom section of resources.txt: a four-blank entry names an image
// file, an eight-blank entry below it names one of its ranges or, when it
// holds a '/' or '\', the file's sync file.

#include <cerrno>

#include "Eeprom.h"
#include "EepromFile.h"
#include "FileErrorText.h"
#include "FmiInternalState.h"
#include "ResourcesFile.h"
#include "platform/FileContent.h"

namespace {

constexpr std::string::size_type kNestedIndent = 4;  // beyond the entry's own four blanks

bool IsNested(const std::string& entry) { return entry.compare(0, kNestedIndent, "    ") == 0; }

bool IsSyncPath(const std::string& text) { return text.find_first_of("/\\") != std::string::npos; }

// The first blank-separated word of an entry line; the rest is a comment.
std::string FirstWord(const std::string& text) {
    const std::string::size_type start = text.find_first_not_of(' ');
    if (start == std::string::npos) return std::string();
    return text.substr(start, text.find(' ', start) - start);
}

class EepromSectionReader {
public:
    EepromSectionReader(FmiInternalState& instance, const std::string& folder,
                        const std::string& instanceName)
        : instance_(instance), folder_(folder), instanceName_(instanceName) {}

    void Entry(const std::string& entry, int32_t lineNumber) {
        // Messages number the lines without the sync-path lines before them.
        const int32_t counted = lineNumber - syncPathLines_;
        if (IsNested(entry))
            NestedEntry(entry.substr(kNestedIndent), counted);
        else
            FileEntry(entry, counted);
    }

    // A refresh must know every image and sync file the section names, those
    // below the file's own entry too, so that it takes none of them for a
    // leftover: the refreshes wait for the end of the section.
    void RefreshFromSyncFiles() {
        const std::vector<std::string> configured = ConfiguredEepromPaths(instance_, folder_);
        for (const EepromFile& file : instance_.eepromFiles)
            if (!file.syncFilePath.empty()) RefreshFromSyncFile(file, configured);
    }

private:
    void FileEntry(const std::string& entry, int32_t counted) {
        if (entry.empty()) ReportEmpty(counted);
        EepromFile file;
        file.fileName = FirstWord(entry);
        instance_.eepromFiles.push_back(std::move(file));
    }

    void NestedEntry(const std::string& text, int32_t counted) {
        if (instance_.eepromFiles.empty()) {
            instance_.Log(instanceName_, LogCategory_warning, "warning",
                          "'resources/resources.txt' line %d names no EEPROM file before it; ignored.",
                          static_cast<int>(counted));
            return;
        }
        EepromFile& file = instance_.eepromFiles.back();
        if (IsSyncPath(text)) {
            ++syncPathLines_;
            file.syncFilePath = text;  // its image is refreshed once the section is read whole
            return;
        }
        if (text.empty()) ReportEmpty(counted);
        EepromRange range;
        range.symbolName = text;
        file.ranges.push_back(std::move(range));
    }

    void ReportEmpty(int32_t counted) {
        instance_.Log(instanceName_, LogCategory_warning, "warning",
                      "'resources/resources.txt' line %d is empty! File name(s) expected.",
                      static_cast<int>(counted));
    }

    // A non-empty sync file holds what the last simulation left: it replaces
    // the image that came with the FMU. Without one the FMU's image stands.
    void RefreshFromSyncFile(const EepromFile& file, const std::vector<std::string>& configured) {
        std::string content;
        const int readError = platform::ReadFileContent(file.syncFilePath, content);
        if (readError == ENOENT || readError == ENOTDIR) return;
        if (readError == 0 && content.empty()) return;
        const std::string image = folder_ + file.fileName;
        const int error =
            readError != 0 ? readError : platform::ReplaceFileContent(image, content, configured);
        if (error == 0) return;
        const std::string reason = FileErrorText(readError != 0 ? file.syncFilePath : image, error);
        instance_.Log(instanceName_, LogCategory_warning, "warning",
                      "Couldn't copy eeprom data from sync file, using data provided during build.\n"
                      "error: %s",
                      reason.c_str());
    }

    FmiInternalState& instance_;
    const std::string& folder_;
    const std::string& instanceName_;
    int32_t syncPathLines_ = 0;
};

}  // namespace

int32_t ReadEepromSection(FmiInternalState& instance, const std::string& folder,
                          const std::string& instanceName) {
    std::ifstream in = OpenResourcesFile(instance, folder, instanceName);
    if (!in.is_open()) return 0;
    EepromSectionReader reader(instance, folder, instanceName);
    ReadSectionEntries(in, "Eeprom", [&](std::string& entry, int32_t lineNumber) {
        reader.Entry(entry, lineNumber);
        return true;
    });
    reader.RefreshFromSyncFiles();
    return 0;
}
