// The text forms of a symbol record: all five fields, address and size, and
// the address alone.

#include <string>

#include "SymbolRecordText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!IsSymbolRecordText(text)) return 0;
    ReadSymbolRecordText(text);
    ReadSymbolRangeText(text);
    ReadSymbolAddressText(text);
    return 0;
}
