#include "SymbolRecordText.h"

#include <cstdio>

SymbolRecord ReadSymbolRecordText(const std::string& text) {
    void* address = nullptr;
    unsigned long long size = 0;
    int typeCode = 0;
    signed char bitOffset = 0;
    signed char bitLength = 0;
    std::sscanf(text.c_str(), "%p %llu %i %hhi %hhi", &address, &size, &typeCode, &bitOffset,
                &bitLength);
    return SymbolRecord(reinterpret_cast<uint64_t>(address), size, static_cast<uint32_t>(typeCode),
                        static_cast<uint8_t>(bitOffset), static_cast<uint8_t>(bitLength));
}

uint64_t ReadSymbolAddressText(const std::string& text) {
    void* address = nullptr;
    std::sscanf(text.c_str(), "%p", &address);
    return reinterpret_cast<uint64_t>(address);
}

SymbolRecord ReadSymbolRangeText(const std::string& text) {
    void* address = nullptr;
    unsigned long long size = 0;
    std::sscanf(text.c_str(), "%p %llu", &address, &size);
    return SymbolRecord(reinterpret_cast<uint64_t>(address), size, 0, 0, 0);
}
