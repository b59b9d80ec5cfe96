#ifndef VIRLO_DWARF_ENTRY_H
#define VIRLO_DWARF_ENTRY_H

#include <cstdint>
#include <string>
#include <vector>

// One debugging-information entry of a textual DWARF dump, with the
// attributes the symbol reader needs. Offsets are the keys under which
// entries refer to each other.
struct DwarfEntry {
    uint32_t tag = 0;              // DwarfTag code; 0 when the tag is not known
    uint8_t depth = 0;             // nesting depth; 0 is a compilation unit
    uint64_t offset = 0;
    uint64_t byteSize = 0;
    uint8_t bitSize = 0;
    uint8_t bitOffset = 0;
    std::string name;
    uint64_t typeRef = 0;          // offset of the entry giving this one's type
    std::string typeText;          // the type's name, where the dump gives one
    uint64_t dataBitOffset = 0;
    uint64_t count = 0;
    uint64_t upperBound = 0;
    uint64_t memberOffset = 0;
    bool hasMemberOffset = false;
    uint64_t specificationRef = 0; // offset of the declaration this entry defines
    uint64_t address = 0;
    uint64_t lowPc = 0;
    bool isDeclaration = false;
    std::vector<DwarfEntry*> children;  // not owned
    bool hasLinkageName = false;
};

#endif
