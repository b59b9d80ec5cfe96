#ifndef AMBREL_UNALIGNED_MEMORY_H
#define AMBREL_UNALIGNED_MEMORY_H

#include <cstdint>
#include <cstring>

// ECU variables may sit at any address (packed structures), so a value is
// moved with memcpy, which compiles to one plain load or store.
template <typename T>
T LoadUnaligned(uint64_t address) {
    T value;
    std::memcpy(&value, reinterpret_cast<const void*>(address), sizeof value);
    return value;
}

template <typename T>
void StoreUnaligned(uint64_t address, T value) {
    std::memcpy(reinterpret_cast<void*>(address), &value, sizeof value);
}

#endif
