#include "SymbolTypeNames.h"

#include <iterator>

namespace {

// Indexed by type code.
constexpr const char* kSymbolTypeNames[] = {
    "Unknown", "s8",      "u8",      "s16",  "u16",     "s32",         "u32",
    "s64",     "u64",     "float32", "float64", "Void", "Pointer",     "Array",
    "Enumeration", "User-Defined Type", "Function", "bool",
};
constexpr uint32_t kSymbolTypeCount = static_cast<uint32_t>(std::size(kSymbolTypeNames));
static_assert(kSymbolTypeCount == 18, "one name per SymbolType code");

}  // namespace

const char* SymbolTypeName(uint32_t typeCode) {
    return kSymbolTypeNames[typeCode < kSymbolTypeCount ? typeCode : 0];
}

uint32_t TypeNameToCode(std::string_view text) {
    for (uint32_t code = 0; code < kSymbolTypeCount; ++code)
        if (text == kSymbolTypeNames[code]) return code;
    return 0;
}
