#ifndef VIRLO_READABLE_MEMORY_H
#define VIRLO_READABLE_MEMORY_H

#include <cstdint>
#include <unordered_set>

// Tells whether a range of this process's memory can be read without a
// fault. Asking the platform means scanning the process's memory map, so
// the blocks found readable are remembered for the life of the object; one
// object serves one write of a table, during which the map does not change.
class ReadableMemory {
public:
    bool Contains(uint64_t address, uint64_t size);

private:
    std::unordered_set<uint64_t> readableBlocks;  // start addresses of 4 KiB blocks
};

#endif
