#include "ReadableMemory.h"

#include "platform/MemoryProtection.h"

namespace {

// Memory is mapped and protected in whole pages of at least 4 KiB, so a block
// of that size, so aligned, is readable throughout or not at all.
constexpr uint64_t kBlockSize = 4096;

}  // namespace

bool ReadableMemory::Contains(uint64_t address, uint64_t size) {
    if (size == 0) return true;
    const uint64_t last = address + size - 1;
    if (last < address) return false;
    for (uint64_t block = address & ~(kBlockSize - 1);; block += kBlockSize) {
        if (readableBlocks.count(block) == 0) {
            if (!platform::IsMemoryReadable(block, kBlockSize)) return false;
            readableBlocks.insert(block);
        }
        if (last - block < kBlockSize) return true;
    }
}
