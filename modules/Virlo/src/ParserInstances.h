#ifndef VIRLO_PARSER_INSTANCES_H
#define VIRLO_PARSER_INSTANCES_H

// The one instance of each parser kind, created on first use.

#include <cstdint>

class VirloParser;

// The SymbolDetails parser; raw lifts the row limit of each Cache call.
VirloParser* SymbolDetailsParserInstance(bool raw);

// Rows that one Cache call of the SymbolDetails parser reads: 10000, or no
// practical limit once the parser was created for a raw table.
extern uint32_t SymbolDetailsLineLimit;

VirloParser* DwarfParserInstance();

// The PDB parser; after ReleasePdbParserInstance the next call creates a
// fresh one.
VirloParser* PdbParserInstance();

// Destroys the PDB parser (its Terminate does so).
void ReleasePdbParserInstance();

#endif
