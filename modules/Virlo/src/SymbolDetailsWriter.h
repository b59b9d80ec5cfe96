#ifndef VIRLO_SYMBOL_DETAILS_WRITER_H
#define VIRLO_SYMBOL_DETAILS_WRITER_H

#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "ReadableMemory.h"
#include "VirloParser.h"

// Pieces of the SymbolDetails table writer shared by the complete-table
// writer (VirloParser::WriteToFile) and the batch rewriter of the
// SymbolDetails parser.

using SymbolEntry = SymbolCacheMap::value_type;

// Every cache entry ordered by address; entries at one address keep the
// cache's (name) order.
std::vector<const SymbolEntry*> OrderByAddress(const SymbolCacheMap& cache);

// True when addressWidth is one of the two widths that rows are written in;
// any other width leaves the rows out.
bool WritesRows(uint32_t addressWidth);

// Appends the row of one entry, with its current value and line end.
void AppendSymbolRow(std::string& text, const SymbolEntry& entry, uint64_t imageAddress,
                     uint32_t addressWidth, uint32_t bitOrder, ReadableMemory& memory);

// Write what the text holds and empty it; false when the file or stream
// refused the bytes.
bool FlushTextToFile(std::string& text, std::FILE* file);
bool FlushTextToStream(std::string& text, std::ostream& stream);

#endif
