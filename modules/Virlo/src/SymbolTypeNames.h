#ifndef VIRLO_SYMBOL_TYPE_NAMES_H
#define VIRLO_SYMBOL_TYPE_NAMES_H

#include <cstdint>
#include <string_view>

// The names of the SymbolType codes as the Type column of a SymbolDetails
// table shows them.

// The name of a type code; codes outside the table show as "Unknown".
const char* SymbolTypeName(uint32_t typeCode);

// The code whose name equals the text exactly (letter case counts);
// 0 ("Unknown") when no name does.
uint32_t TypeNameToCode(std::string_view text);

#endif
