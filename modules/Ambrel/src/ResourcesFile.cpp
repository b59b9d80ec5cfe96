#include "ResourcesFile.h"

#include "FmiInternalState.h"
#include "platform/TextLine.h"

namespace {

constexpr std::string::size_type kEntryIndent = 4;

bool IsEntryLine(const std::string& line) {
    return line.size() >= kEntryIndent && line.compare(0, kEntryIndent, "    ") == 0;
}

}  // namespace

int ClassifySectionLine(const std::string& sectionName, bool& searching, const std::string& line,
                        int32_t& lineCounter) {
    if (searching) {
        if (line == sectionName) searching = false;
        ++lineCounter;
        return SectionLine_Skip;
    }
    return IsEntryLine(line) ? SectionLine_Entry : SectionLine_End;
}

std::ifstream OpenResourcesFileQuietly(const std::string& folder) {
    return std::ifstream(folder + kResourcesFileName);
}

std::ifstream OpenResourcesFile(FmiInternalState& instance, const std::string& folder,
                                const std::string& instanceName) {
    std::ifstream in = OpenResourcesFileQuietly(folder);
    if (!in.is_open())
        instance.Log(instanceName, LogCategory_error, "error",
                     "Cannot open file 'resources/resources.txt'");
    return in;
}

void ReadSectionEntries(std::istream& in, const std::string& sectionName,
                        const SectionEntryHandler& handle) {
    bool searching = true;
    int32_t lineCounter = 0;
    std::string line;
    while (platform::GetTextLine(in, line)) {
        const int kind = ClassifySectionLine(sectionName, searching, line, lineCounter);
        if (kind == SectionLine_Skip) continue;
        if (kind == SectionLine_End) return;
        std::string entry = line.substr(kEntryIndent);
        if (!handle(entry, lineCounter)) return;
        ++lineCounter;
    }
}
