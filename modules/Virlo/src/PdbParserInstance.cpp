#include "ParserInstances.h"

// No PDB reader yet.
VirloParser* PdbParserInstance() { return nullptr; }

void ReleasePdbParserInstance() {}
