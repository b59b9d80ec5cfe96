#include "CodeWriter.h"

#include <cstring>

#include "platform/MemoryProtection.h"

namespace {

// Gives the first and the last page of the range the protection each had.
// A failure is not reported: the bytes are in place (or were never written)
// either way, and a code page left writable changes nothing the vECU does.
void PutBackProtection(uint64_t address, uint64_t last, int firstProtection, int lastProtection) {
    if (firstProtection == lastProtection) {
        platform::SetMemoryProtection(address, last - address + 1, firstProtection);
        return;
    }
    platform::SetMemoryProtection(address, 1, firstProtection);
    platform::SetMemoryProtection(last, 1, lastProtection);
}

}  // namespace

int WriteCode(uint64_t address, const uint8_t* bytes, uint64_t length) {
    if (length == 0) return 0;
    const uint64_t last = address + length - 1;
    int firstProtection = platform::ProtectionNone;
    int lastProtection = platform::ProtectionNone;
    if (const int error = platform::QueryMemoryProtection(address, &firstProtection)) return error;
    if (const int error = platform::QueryMemoryProtection(last, &lastProtection)) return error;

    const int error = platform::SetMemoryProtection(address, length, platform::ProtectionReadWriteExecute);
    if (error == 0) std::memcpy(reinterpret_cast<void*>(address), bytes, length);
    // Also after a failure: the change may have reached some of the pages.
    PutBackProtection(address, last, firstProtection, lastProtection);
    return error;
}
