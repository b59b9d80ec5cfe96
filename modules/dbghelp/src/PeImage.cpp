#include "PeImage.h"

#include <cstring>
#include <fstream>
#include <vector>

namespace dbghelp {
namespace {

constexpr uint16_t kPe32Magic = 0x10b;
constexpr uint16_t kPe32PlusMagic = 0x20b;
constexpr uint32_t kDebugDirectoryIndex = 6;
constexpr uint32_t kDebugTypeCodeView = 2;
constexpr size_t kDebugDirectoryEntrySize = 28;
constexpr size_t kSectionHeaderSize = 40;

// Bounded little-endian reads from an open file.
class ImageFile {
public:
    explicit ImageFile(const std::string& path) : stream_(path, std::ios::binary) {}
    bool IsOpen() const { return static_cast<bool>(stream_); }

    bool Read(uint64_t offset, void* target, size_t count) {
        stream_.clear();
        stream_.seekg(static_cast<std::streamoff>(offset));
        stream_.read(static_cast<char*>(target), static_cast<std::streamsize>(count));
        return stream_.gcount() == static_cast<std::streamsize>(count);
    }
    template <typename T>
    bool ReadValue(uint64_t offset, T& value) {
        uint8_t bytes[sizeof(T)];
        if (!Read(offset, bytes, sizeof(T))) return false;
        uint64_t assembled = 0;
        for (size_t i = 0; i < sizeof(T); ++i) assembled |= static_cast<uint64_t>(bytes[i]) << (8 * i);
        value = static_cast<T>(assembled);
        return true;
    }

private:
    std::ifstream stream_;
};

struct SectionSpan {
    uint32_t virtualAddress;
    uint32_t virtualSize;
    uint32_t rawSize;
    uint32_t rawOffset;
};

// File offset of a relative virtual address, through the section table.
bool FileOffsetOf(const std::vector<SectionSpan>& sections, uint32_t rva, uint64_t& offset) {
    for (const SectionSpan& section : sections) {
        const uint32_t span = section.virtualSize > section.rawSize ? section.virtualSize : section.rawSize;
        if (rva >= section.virtualAddress && rva - section.virtualAddress < span) {
            const uint32_t within = rva - section.virtualAddress;
            if (within >= section.rawSize) return false;  // not backed by the file
            offset = static_cast<uint64_t>(section.rawOffset) + within;
            return true;
        }
    }
    return false;
}

// Looks for the CodeView entry among the debug directory entries.
void ReadPdbSignature(ImageFile& file, const std::vector<SectionSpan>& sections, uint32_t directoryRva,
                      uint32_t directorySize, PeImageFacts& facts) {
    uint64_t directoryOffset = 0;
    if (directoryRva == 0 || !FileOffsetOf(sections, directoryRva, directoryOffset)) return;
    for (uint32_t entry = 0; entry + kDebugDirectoryEntrySize <= directorySize;
         entry += kDebugDirectoryEntrySize) {
        const uint64_t at = directoryOffset + entry;
        uint32_t type = 0, dataSize = 0, dataOffset = 0;
        if (!file.ReadValue(at + 12, type) || !file.ReadValue(at + 16, dataSize) ||
            !file.ReadValue(at + 24, dataOffset))
            return;
        if (type != kDebugTypeCodeView || dataSize < 24) continue;
        char magic[4];
        if (!file.Read(dataOffset, magic, sizeof(magic)) || std::memcmp(magic, "RSDS", 4) != 0) continue;
        if (!file.Read(dataOffset + 4, facts.pdbGuid.data(), facts.pdbGuid.size()) ||
            !file.ReadValue(dataOffset + 20, facts.pdbAge))
            return;
        facts.hasPdbSignature = true;
        return;
    }
}

}  // namespace

bool ReadPeImage(const std::string& path, PeImageFacts& facts) {
    facts = PeImageFacts();
    ImageFile file(path);
    if (!file.IsOpen()) return false;

    char dosMagic[2];
    uint32_t peOffset = 0;
    if (!file.Read(0, dosMagic, 2) || dosMagic[0] != 'M' || dosMagic[1] != 'Z' ||
        !file.ReadValue(0x3c, peOffset))
        return false;
    char peMagic[4];
    if (!file.Read(peOffset, peMagic, 4) || std::memcmp(peMagic, "PE\0\0", 4) != 0) return false;

    const uint64_t coffHeader = static_cast<uint64_t>(peOffset) + 4;
    uint16_t sectionCount = 0, optionalHeaderSize = 0, optionalMagic = 0;
    if (!file.ReadValue(coffHeader + 2, sectionCount) || !file.ReadValue(coffHeader + 16, optionalHeaderSize))
        return false;
    const uint64_t optionalHeader = coffHeader + 20;
    if (!file.ReadValue(optionalHeader, optionalMagic)) return false;

    uint64_t dataDirectories = 0;
    uint32_t directoryCountOffset = 0;
    if (optionalMagic == kPe32PlusMagic) {
        if (!file.ReadValue(optionalHeader + 24, facts.preferredBase)) return false;
        directoryCountOffset = 108;
        dataDirectories = optionalHeader + 112;
    } else if (optionalMagic == kPe32Magic) {
        uint32_t base32 = 0;
        if (!file.ReadValue(optionalHeader + 28, base32)) return false;
        facts.preferredBase = base32;
        directoryCountOffset = 92;
        dataDirectories = optionalHeader + 96;
    } else {
        return false;
    }
    if (!file.ReadValue(optionalHeader + 56, facts.imageSize)) return false;

    std::vector<SectionSpan> sections;
    const uint64_t sectionTable = optionalHeader + optionalHeaderSize;
    for (uint16_t index = 0; index < sectionCount; ++index) {
        const uint64_t at = sectionTable + static_cast<uint64_t>(index) * kSectionHeaderSize;
        SectionSpan span{};
        if (!file.ReadValue(at + 8, span.virtualSize) || !file.ReadValue(at + 12, span.virtualAddress) ||
            !file.ReadValue(at + 16, span.rawSize) || !file.ReadValue(at + 20, span.rawOffset))
            return false;
        sections.push_back(span);
    }

    uint32_t directoryCount = 0;
    if (file.ReadValue(optionalHeader + directoryCountOffset, directoryCount) &&
        directoryCount > kDebugDirectoryIndex) {
        uint32_t debugRva = 0, debugSize = 0;
        const uint64_t debugEntry = dataDirectories + 8 * kDebugDirectoryIndex;
        if (file.ReadValue(debugEntry, debugRva) && file.ReadValue(debugEntry + 4, debugSize))
            ReadPdbSignature(file, sections, debugRva, debugSize, facts);
    }
    return true;
}

}  // namespace dbghelp
