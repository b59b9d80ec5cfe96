#ifndef PLATFORM_MEMORY_PROTECTION_H
#define PLATFORM_MEMORY_PROTECTION_H

#include <cstdint>

namespace platform {

// Access rights of memory pages, combinable.
enum Protection : int {
    ProtectionNone = 0,
    ProtectionRead = 1,
    ProtectionWrite = 2,
    ProtectionExecute = 4,
    ProtectionReadWriteExecute = ProtectionRead | ProtectionWrite | ProtectionExecute,
};

// Sets the protection of every page that [address, address + size) touches.
// Returns 0, or the errno of the failure. A size of 0 touches no page.
int SetMemoryProtection(uint64_t address, uint64_t size, int protection);

// The protection of the page holding address, as the process's memory map
// lists it. Returns 0, or ENOMEM when the address is not mapped.
int QueryMemoryProtection(uint64_t address, int* protection);

// True when every byte of [address, address + size) lies in mapped,
// readable memory; reading such a range cannot fault.
bool IsMemoryReadable(uint64_t address, uint64_t size);

}  // namespace platform

#endif
