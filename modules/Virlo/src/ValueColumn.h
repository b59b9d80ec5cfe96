#ifndef VIRLO_VALUE_COLUMN_H
#define VIRLO_VALUE_COLUMN_H

#include <cstdint>
#include <string>

#include "ReadableMemory.h"
#include "VirloParser.h"

// The Value column of a SymbolDetails row, with its ';': the symbol's current
// value read at imageAddress + the record's address, left-aligned in at least
// 24 characters. Types without a value (pointers, arrays, structures, ...)
// give 24 blanks; no image (imageAddress 0) gives "0" for every type that has
// one. A value whose memory cannot be read is reported on standard error and
// its column left blank, so the row keeps its columns.
std::string FormatValueColumn(const SymbolCacheMap::value_type& entry, uint64_t imageAddress,
                              uint32_t bitOrder, ReadableMemory& memory);

#endif
