#ifndef AMBREL_SYMBOL_RECORD_TEXT_H
#define AMBREL_SYMBOL_RECORD_TEXT_H

// A SymbolRecord written as text in the configuration and in datasets:
// "address size typeCode bitOffset bitLength", recognised by its first
// character '0'. The address is hexadecimal (with or without "0x"), the size
// decimal, the other three decimal, "0x" hexadecimal or 0-prefixed octal,
// the bit fields kept in 8 bits. Fields that the text does not give are 0.

#include <string>

#include "SymbolRecord.h"

// True when the text names a record rather than a symbol.
inline bool IsSymbolRecordText(const std::string& text) { return !text.empty() && text[0] == '0'; }

// All five fields.
SymbolRecord ReadSymbolRecordText(const std::string& text);

// The address only (task functions, triggers, trigger inputs).
uint64_t ReadSymbolAddressText(const std::string& text);

// Address and size (EEPROM ranges); the other fields are 0.
SymbolRecord ReadSymbolRangeText(const std::string& text);

#endif
