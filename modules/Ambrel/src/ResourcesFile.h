#ifndef AMBREL_RESOURCES_FILE_H
#define AMBREL_RESOURCES_FILE_H

// The file model shared by every reader of resources.txt: a section starts
// at a line equal to its name, its entries are the following lines that
// begin with four blanks, and the first other line ends it.

#include <cstdint>
#include <fstream>
#include <functional>
#include <string>

class FmiInternalState;

inline constexpr const char* kResourcesFileName = "resources.txt";

enum SectionLineClass : int {
    SectionLine_End = 1,    // the section has ended
    SectionLine_Skip = 2,   // still looking for the header (or the header itself)
    SectionLine_Entry = 3,  // an entry of the section
};

// Classifies one line; while searching, every line counts and the header
// ends the search.
int ClassifySectionLine(const std::string& sectionName, bool& searching, const std::string& line,
                        int32_t& lineCounter);

// Opens folder + "resources.txt"; when that fails the error is logged
// through the instance and the returned stream is not open.
std::ifstream OpenResourcesFile(FmiInternalState& instance, const std::string& folder,
                                const std::string& instanceName);

// Opens folder + "resources.txt" without logging anything.
std::ifstream OpenResourcesFileQuietly(const std::string& folder);

// Called with the entry text (the line without its four leading blanks) and
// the entry's line number (lines before it in the file). Returns false to
// stop reading the section.
using SectionEntryHandler = std::function<bool(std::string& entry, int32_t lineNumber)>;

// Reads the first occurrence of the section from the stream's current
// position and hands each entry to the handler.
void ReadSectionEntries(std::istream& in, const std::string& sectionName,
                        const SectionEntryHandler& handle);

#endif
