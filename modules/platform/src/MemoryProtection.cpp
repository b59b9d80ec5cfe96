#include "platform/MemoryProtection.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <sys/mman.h>
#include <unistd.h>

namespace platform {
namespace {

uint64_t PageSize() {
    static const uint64_t size = static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
    return size;
}

int ToNative(int protection) {
    int native = PROT_NONE;
    if (protection & ProtectionRead) native |= PROT_READ;
    if (protection & ProtectionWrite) native |= PROT_WRITE;
    if (protection & ProtectionExecute) native |= PROT_EXEC;
    return native;
}

// One mapping of /proc/self/maps.
struct MappedRegion {
    uint64_t begin = 0;
    uint64_t end = 0;
    int protection = ProtectionNone;
};

// Calls visit for each mapping in address order until it returns false.
template <typename Visitor>
void ForEachMapping(Visitor visit) {
    FILE* maps = std::fopen("/proc/self/maps", "r");
    if (maps == nullptr) return;
    char line[4096];
    while (std::fgets(line, sizeof line, maps) != nullptr) {
        MappedRegion region;
        char perms[5] = {};
        if (std::sscanf(line, "%" SCNx64 "-%" SCNx64 " %4s", &region.begin, &region.end, perms) != 3)
            continue;
        if (perms[0] == 'r') region.protection |= ProtectionRead;
        if (perms[1] == 'w') region.protection |= ProtectionWrite;
        if (perms[2] == 'x') region.protection |= ProtectionExecute;
        if (!visit(region)) break;
    }
    std::fclose(maps);
}

}  // namespace

int SetMemoryProtection(uint64_t address, uint64_t size, int protection) {
    if (size == 0) return 0;
    const uint64_t page = PageSize();
    const uint64_t begin = address & ~(page - 1);
    const uint64_t last = address + size - 1;
    if (last < address) return EINVAL;
    const uint64_t end = (last & ~(page - 1)) + page;
    if (mprotect(reinterpret_cast<void*>(begin), end - begin, ToNative(protection)) != 0) return errno;
    return 0;
}

int QueryMemoryProtection(uint64_t address, int* protection) {
    int result = ENOMEM;
    ForEachMapping([&](const MappedRegion& region) {
        if (address < region.begin) return false;
        if (address < region.end) {
            if (protection != nullptr) *protection = region.protection;
            result = 0;
            return false;
        }
        return true;
    });
    return result;
}

bool IsMemoryReadable(uint64_t address, uint64_t size) {
    if (size == 0) return true;
    const uint64_t end = address + size;
    if (end < address) return false;
    uint64_t covered = address;  // everything below this is known readable
    ForEachMapping([&](const MappedRegion& region) {
        if (region.end <= covered) return true;
        if (region.begin > covered || !(region.protection & ProtectionRead)) return false;
        covered = region.end;
        return covered < end;
    });
    return covered >= end;
}

}  // namespace platform
