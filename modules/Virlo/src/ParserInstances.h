#ifndef VIRLO_PARSER_INSTANCES_H
#define VIRLO_PARSER_INSTANCES_H

// The one instance of each parser kind, created on first use.

class VirloParser;

// The SymbolDetails parser; raw lifts the row limit of each Cache call.
VirloParser* SymbolDetailsParserInstance(bool raw);

VirloParser* DwarfParserInstance();

// The PDB parser; after ReleasePdbParserInstance the next call creates a
// fresh one.
VirloParser* PdbParserInstance();

// Destroys the PDB parser (its Terminate does so).
void ReleasePdbParserInstance();

#endif
